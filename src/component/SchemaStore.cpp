#include "component/SchemaStore.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "component/Sqlite.h"
#include "component/SqlDialect.h"

namespace SchemaStore {

using SqlDialect::QuoteName;

QString SqlType(int fieldType)
{
    switch (fieldType) {
    case FieldType::Long:
    case FieldType::Boolean:
    case FieldType::Currency:
        return QStringLiteral("INTEGER");
    case FieldType::Double:
        return QStringLiteral("REAL");
    case FieldType::Date:
    case FieldType::DateTime:
        return QStringLiteral("TEXT");
    default:
        return QStringLiteral("TEXT COLLATE NOCASE");
    }
}

bool HasMetadata(SqliteDb& db)
{
    Statement s(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name='mensora_tables'"));
    return s.Step();
}

void CreateMetadata(SqliteDb& db)
{
    db.Exec(QStringLiteral("CREATE TABLE IF NOT EXISTS mensora_tables (name TEXT PRIMARY KEY COLLATE NOCASE, "
                           "version REAL NOT NULL DEFAULT 0);"
                           "CREATE TABLE IF NOT EXISTS mensora_filters (table_name TEXT COLLATE NOCASE, "
                           "name TEXT COLLATE NOCASE, definition TEXT, PRIMARY KEY(table_name, name));"));
}

QString IndexName(const QString& table, const QString& name) { return table + u'.' + name; }

QList<PhysicalIndex> IndexesOf(const TableDef& table)
{
    QList<PhysicalIndex> result;
    auto add = [&](const QString& name, bool unique, const QStringList& columns) {
        for (const PhysicalIndex& existing : result)
            if (existing.columns == columns && existing.unique == unique)
                return;
        result.append({IndexName(table.name, name), unique, columns});
    };
    for (const IndexDef& index : table.indexes) {
        QStringList columns;
        for (const QString& c : index.columns)
            columns.append(table.PhysicalNameOf(c));
        const QString name = index.name.isEmpty() ? QStringLiteral("idx_") + columns.join(u'_') : index.name;
        add(name, index.unique, columns);
        // A unique key that starts with a whole number is usually a counter
        // within a group (a document number per type and year): index the
        // group first too, so the next number is found with one seek.
        const PhysicalColumn* first = table.FindPhysical(columns.first());
        if (index.unique && columns.size() > 1 && first && first->type == FieldType::Long) {
            QStringList grouped = columns.mid(1);
            grouped.append(columns.first());
            add(QStringLiteral("next_") + grouped.join(u'_'), false, grouped);
        }
    }
    for (const PhysicalColumn& p : table.physical) {
        const bool key = p.kind == PhysicalColumn::Kind::ReferenceKey || p.kind == PhysicalColumn::Kind::BaseLink ||
                         p.kind == PhysicalColumn::Kind::OwnerLink;
        if (key || (p.kind == PhysicalColumn::Kind::Data && FieldType::IsDate(p.type)))
            add(QStringLiteral("key_") + p.name, false, {p.name});
    }
    return result;
}

QStringList ExistingColumns(SqliteDb& db, const QString& table)
{
    QStringList columns;
    Statement s(db, QStringLiteral("SELECT name FROM pragma_table_info(?)"));
    s.Bind(1, table);
    while (s.Step())
        columns.append(s.Column(0).toString());
    return columns;
}

QStringList IndexesOnColumn(SqliteDb& db, const QString& table, const QString& column)
{
    QStringList result;
    Statement s(db, QStringLiteral("SELECT il.name FROM pragma_index_list(?) il "
                                   "WHERE il.origin = 'c' AND EXISTS (SELECT 1 FROM pragma_index_info(il.name) ii "
                                   "WHERE ii.name = ? COLLATE NOCASE)"));
    s.Bind(1, table);
    s.Bind(2, column);
    while (s.Step())
        result.append(s.Column(0).toString());
    return result;
}

bool TableState::NeedsWrite(const TableDef& t) const
{
    return !exists || !missingColumns.isEmpty() || !missingIndexes.isEmpty() || !qFuzzyCompare(1.0 + storedVersion, 1.0 + t.version);
}

TableState Inspect(SqliteDb& db, const TableDef& table, bool hasMetadata)
{
    TableState state;
    {
        Statement s(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"));
        s.Bind(1, table.name);
        state.exists = s.Step();
    }
    if (!state.exists)
        return state;
    state.storedVersion = table.version;
    if (hasMetadata) {
        Statement s(db, QStringLiteral("SELECT version FROM mensora_tables WHERE name=?"));
        s.Bind(1, table.name);
        if (s.Step())
            state.storedVersion = s.Column(0).toDouble();
    }
    const QStringList existing = ExistingColumns(db, table.name);
    for (const PhysicalColumn& p : table.physical) {
        bool found = false;
        for (const QString& e : existing)
            found = found || e.compare(p.name, Qt::CaseInsensitive) == 0;
        if (!found)
            state.missingColumns.append(p.name);
    }
    for (const PhysicalIndex& index : IndexesOf(table)) {
        Statement s(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='index' AND name=?"));
        s.Bind(1, index.name);
        if (!s.Step())
            state.missingIndexes.append(index.name);
    }
    return state;
}

void Apply(SqliteDb& db, const TableDef& table, const TableState& state)
{
    if (!state.exists) {
        QStringList columns;
        for (const PhysicalColumn& p : table.physical) {
            if (p.kind == PhysicalColumn::Kind::Oid)
                columns.append(QStringLiteral("\"OID\" INTEGER PRIMARY KEY"));
            else
                columns.append(QuoteName(p.name) + u' ' + SqlType(p.type));
        }
        db.Exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(QuoteName(table.name), columns.join(QStringLiteral(", "))));
    } else {
        for (const QString& name : state.missingColumns) {
            const PhysicalColumn* p = table.FindPhysical(name);
            db.Exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(QuoteName(table.name), QuoteName(p->name), SqlType(p->type)));
        }
    }
    for (const PhysicalIndex& index : IndexesOf(table)) {
        if (state.exists && !state.missingIndexes.contains(index.name))
            continue;
        QStringList columns;
        for (const QString& c : index.columns)
            columns.append(QuoteName(c));
        try {
            db.Exec(QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
                        .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(), QuoteName(index.name), QuoteName(table.name),
                             columns.join(QStringLiteral(", "))));
        } catch (const Exception& e) {
            if (e.Number() != ComponentError::Duplicate)
                throw;
            throw Exception(ComponentError::Duplicate,
                            QStringLiteral("Impossibile creare l'indice univoco %1: la tabella %2 contiene valori duplicati")
                                .arg(index.name, table.name));
        }
    }
}

void StoreVersion(SqliteDb& db, const TableDef& table)
{
    Statement s(db, QStringLiteral("INSERT INTO mensora_tables(name, version) VALUES(?, ?) "
                                   "ON CONFLICT(name) DO UPDATE SET version = excluded.version"));
    s.Bind(1, table.name);
    s.Bind(2, table.version);
    s.Step();
}

} // namespace SchemaStore
