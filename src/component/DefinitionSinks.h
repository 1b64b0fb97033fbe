#pragma once
// The objects handed to the application's definitions: they record tables,
// identities, columns, indexes and references into TableDef.

#include "component/TableDef.h"

#include <memory>

class itfDefTable;

class DatabaseDefinition
{
public:
    // Registers a table under its name; tables come in dependency order.
    void AddTable(const QString& name, std::shared_ptr<itfDefTable> table);
    const QList<std::pair<QString, std::shared_ptr<itfDefTable>>>& Tables() const { return m_tables; }

private:
    QList<std::pair<QString, std::shared_ptr<itfDefTable>>> m_tables;
};

class TableIdentity
{
public:
    explicit TableIdentity(TableDef& table) : m_table(table) {}
    void Caption(const QString& caption) { m_table.caption = caption; }
    void BaseTable(const QString& table) { m_table.baseTable = table; }
    void ExtensionCaption(const QString& caption) { m_table.extensionCaption = caption; }
    void Version(double version) { m_table.version = version; }
    void BaseTableOption(bool option) { m_table.baseTableOption = option; }

private:
    TableDef& m_table;
};

class ColumnDefiner
{
public:
    explicit ColumnDefiner(TableDef& table) : m_table(table) {}
    void AddColumn(const QString& name, int type, int size, int precision, int scale, int options, int displayWidth,
                   int displayOrder, bool visible, const QString& description, int minValue, int maxValue);

private:
    TableDef& m_table;
};

class IndexDefinition
{
public:
    IndexDefinition(TableDef& table, qsizetype position) : m_table(table), m_position(position) {}
    void AddIndexColumn(const QString& column) { m_table.indexes[m_position].columns.append(column); }

private:
    TableDef& m_table;
    qsizetype m_position;
};

class IndexDefiner
{
public:
    explicit IndexDefiner(TableDef& table) : m_table(table) {}
    // Returns the index so that further columns can be added in order.
    IndexDefinition AddIndex(const QString& firstColumn, bool unique, const QString& name);

private:
    TableDef& m_table;
};

class ReferenceDefiner
{
public:
    explicit ReferenceDefiner(TableDef& table) : m_table(table) {}
    void AddReference(const QString& name, const QString& table, bool owned, bool ownedDelete,
                      const QString& orderColumn, const QString& displayColumn, int displayWidth, int displayOrder,
                      int options, int flags, int selection, bool navigable, int reserved);

private:
    TableDef& m_table;
};
