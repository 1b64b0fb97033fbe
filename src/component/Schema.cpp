#include "component/Schema.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "component/SqlDialect.h"

namespace {

[[noreturn]] void DefinitionError(const QString& text)
{
    throw Exception(ComponentError::Definition, text);
}

PhysicalColumn Physical(const QString& name, PhysicalColumn::Kind kind, int type, int size, int source)
{
    PhysicalColumn p;
    p.name = name;
    p.kind = kind;
    p.type = type;
    p.size = size;
    p.sourceIndex = source;
    return p;
}

} // namespace

std::shared_ptr<TableDef> Schema::Find(const QString& name) const
{
    for (const auto& t : m_tables)
        if (t->name.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    return nullptr;
}

std::shared_ptr<TableDef> Schema::Require(const QString& name) const
{
    auto t = Find(name);
    if (!t)
        throw Exception(ComponentError::UnknownTable, QStringLiteral("Tabella sconosciuta: %1").arg(name));
    return t;
}

const ColumnDef* Schema::DisplayColumn(const ReferenceDef& reference) const
{
    const auto target = Find(reference.table);
    return target ? target->FindColumn(reference.displayColumn) : nullptr;
}

int Schema::TypeOfField(const TableDef& table, const QString& field) const
{
    if (const PhysicalColumn* p = table.FindPhysical(field))
        return p->type;
    if (const ReferenceDef* r = table.FindLookup(field))
        if (const ColumnDef* display = DisplayColumn(*r))
            return display->type;
    return FieldType::Text;
}

void Schema::Resolve()
{
    // Columns and look-ups, inherited first; bases come before their extensions.
    for (qsizetype i = 0; i < m_tables.size(); ++i) {
        TableDef& t = *m_tables[i];
        t.allColumns.clear();
        t.lookups.clear();
        t.ownedCollections.clear();
        t.owners.clear();
        t.baseLinkColumn.clear();
        if (!t.baseTable.isEmpty()) {
            auto base = Find(t.baseTable);
            if (!base || m_tables.indexOf(base) > i)
                DefinitionError(QStringLiteral("La tabella %1 estende %2, che non è definita prima di essa")
                                    .arg(t.name, t.baseTable));
            t.allColumns = base->allColumns;
            t.lookups = base->lookups;
            t.baseLinkColumn = ReferenceKeyColumn(base->name);
        }
        for (const ColumnDef& c : t.columns) {
            for (const ColumnDef& other : t.allColumns)
                if (other.name.compare(c.name, Qt::CaseInsensitive) == 0)
                    DefinitionError(QStringLiteral("Colonna %1 già presente nella tabella base di %2").arg(c.name, t.name));
            t.allColumns.append(c);
        }
        for (const ReferenceDef& r : t.references) {
            if (!Find(r.table))
                DefinitionError(QStringLiteral("Il riferimento %1.%2 punta alla tabella %3, che non è definita")
                                    .arg(t.name, r.name, r.table));
            if (r.owned)
                t.ownedCollections.append(r);
            else
                t.lookups.append(r);
        }
    }
    // Owner links live on the owned table, whichever comes first.
    for (const auto& owner : m_tables)
        for (const ReferenceDef& r : owner->ownedCollections) {
            auto owned = Find(r.table);
            OwnerLink link{owner->name, r.name, QStringLiteral("OID_%1_%2").arg(owner->name, r.name)};
            owned->owners.append(link);
        }
    // Physical layout: OID, data columns, reference keys, base link, owner links.
    for (const auto& tp : m_tables) {
        TableDef& t = *tp;
        t.physical.clear();
        t.physical.append(Physical(QStringLiteral("OID"), PhysicalColumn::Kind::Oid, FieldType::Long, 0, -1));
        for (int k = 0; k < t.allColumns.size(); ++k) {
            const ColumnDef& c = t.allColumns[k];
            t.physical.append(Physical(c.name, PhysicalColumn::Kind::Data, c.type, c.size, k));
        }
        for (int k = 0; k < t.lookups.size(); ++k)
            t.physical.append(Physical(ReferenceKeyColumn(t.lookups[k].name), PhysicalColumn::Kind::ReferenceKey,
                                       FieldType::Long, 0, k));
        if (!t.baseLinkColumn.isEmpty())
            t.physical.append(Physical(t.baseLinkColumn, PhysicalColumn::Kind::BaseLink, FieldType::Long, 0, -1));
        for (int k = 0; k < t.owners.size(); ++k)
            t.physical.append(Physical(t.owners[k].column, PhysicalColumn::Kind::OwnerLink, FieldType::Long, 0, k));
        for (const IndexDef& index : t.indexes)
            for (const QString& column : index.columns)
                if (t.PhysicalNameOf(column).isEmpty())
                    DefinitionError(QStringLiteral("L'indice %1 della tabella %2 usa la colonna sconosciuta %3")
                                        .arg(index.name, t.name, column));
        for (const ReferenceDef& r : t.lookups) {
            auto target = Find(r.table);
            if (!r.displayColumn.isEmpty() && !target->FindColumn(r.displayColumn))
                DefinitionError(QStringLiteral("Il riferimento %1.%2 mostra la colonna sconosciuta %3.%4")
                                    .arg(t.name, r.name, r.table, r.displayColumn));
        }
    }
}
