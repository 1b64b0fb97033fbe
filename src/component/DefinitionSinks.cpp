#include "component/DefinitionSinks.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "component/SqlDialect.h"

void DatabaseDefinition::AddTable(const QString& name, std::shared_ptr<itfDefTable> table)
{
    if (name.trimmed().isEmpty() || !table)
        throw Exception(ComponentError::Definition, QStringLiteral("Definizione di tabella senza nome o senza oggetto"));
    for (const auto& entry : m_tables)
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
            throw Exception(ComponentError::Definition, QStringLiteral("Tabella definita due volte: %1").arg(name));
    m_tables.append({name, std::move(table)});
}

void ColumnDefiner::AddColumn(const QString& name, int type, int size, int precision, int scale, int options,
                              int displayWidth, int displayOrder, bool visible, const QString& description,
                              int minValue, int maxValue)
{
    static const QList<int> known = {FieldType::Text, 1, 2, FieldType::Long, FieldType::Boolean, FieldType::Double,
                                     FieldType::Date, FieldType::DateTime, FieldType::Currency};
    if (!known.contains(type))
        throw Exception(ComponentError::Definition,
                        QStringLiteral("Tipo %1 non previsto per la colonna %2.%3").arg(type).arg(m_table.name, name));
    bool exists = false;
    for (const ColumnDef& other : m_table.columns)
        exists = exists || other.name.compare(name, Qt::CaseInsensitive) == 0;
    if (exists || name.compare(QStringLiteral("OID"), Qt::CaseInsensitive) == 0)
        throw Exception(ComponentError::Definition,
                        QStringLiteral("Colonna definita due volte: %1.%2").arg(m_table.name, name));
    ColumnDef c;
    c.name = name;
    c.type = type;
    c.size = FieldType::IsText(type) ? (size > 0 ? size : 255) : 0;
    c.precision = precision;
    c.scale = scale;
    c.options = options;
    c.displayWidth = displayWidth;
    c.displayOrder = displayOrder;
    c.visible = visible;
    c.description = description;
    c.minValue = minValue;
    c.maxValue = maxValue;
    m_table.columns.append(c);
}

IndexDefinition IndexDefiner::AddIndex(const QString& firstColumn, bool unique, const QString& name)
{
    IndexDef index;
    index.name = name;
    index.unique = unique;
    index.columns.append(firstColumn);
    m_table.indexes.append(index);
    return IndexDefinition(m_table, m_table.indexes.size() - 1);
}

void ReferenceDefiner::AddReference(const QString& name, const QString& table, bool owned, bool ownedDelete,
                                    const QString& orderColumn, const QString& displayColumn, int, int, int, int,
                                    int, bool navigable, int)
{
    ReferenceDef r;
    r.name = name;
    r.table = table;
    r.owned = owned;
    r.ownedDelete = ownedDelete;
    r.orderColumn = orderColumn;
    r.displayColumn = displayColumn;
    r.navigable = navigable;
    r.ownerTable = m_table.name;
    m_table.references.append(r);
}
