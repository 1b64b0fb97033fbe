#pragma once
// Physical schema of an archive file: the engine's metadata tables, creation
// of tables, columns and indexes from the definitions, and stored versions.

#include "component/TableDef.h"

#include <QHash>

class SqliteDb;
class Schema;

namespace SchemaStore {

// What attaching found for one table.
struct TableState
{
    bool exists = false;
    double storedVersion = 0.0;
    QStringList missingColumns;
    QStringList missingIndexes;   // physical index names
    bool NeedsWrite(const TableDef& t) const;
};

void CreateMetadata(SqliteDb& db);
bool HasMetadata(SqliteDb& db);
// Without metadata an existing table counts as being at the current version.
TableState Inspect(SqliteDb& db, const TableDef& table, bool hasMetadata);
// Creates the table, or adds its missing columns and indexes.
void Apply(SqliteDb& db, const TableDef& table, const TableState& state);
void StoreVersion(SqliteDb& db, const TableDef& table);

QString SqlType(int fieldType);

// Physical indexes the engine keeps for a table: the defined ones and its own
// (reference keys, dates, next-number look-ups).
struct PhysicalIndex
{
    QString name;
    bool unique = false;
    QStringList columns;
};
QList<PhysicalIndex> IndexesOf(const TableDef& table);
QString IndexName(const QString& table, const QString& name);

// Columns of an existing table, in file order.
QStringList ExistingColumns(SqliteDb& db, const QString& table);
// Indexes of an existing table that include a column.
QStringList IndexesOnColumn(SqliteDb& db, const QString& table, const QString& column);

} // namespace SchemaStore
