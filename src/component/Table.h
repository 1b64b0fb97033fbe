#pragma once
// A table of the open archive, as handed out by DatabaseObject::Tables.

#include <QString>
#include <QVariant>
#include <memory>

class DatabaseObject;
class DatabaseEngine;
class DataObject;
class TableDef;
class ComplexFilter;

// A relation from a table to the records it owns or refers to.
class Relation
{
public:
    Relation(QString fromTable, QString toTable, QString fromColumn, QString toColumn)
        : m_from(std::move(fromTable)), m_to(std::move(toTable)), m_fromColumn(std::move(fromColumn)),
          m_toColumn(std::move(toColumn)) {}
    // The join between the two tables as a criteria of the query dialect.
    QString JoinCriteria(int reserved = 0, bool qualified = true) const;
    const QString& ToTable() const { return m_to; }

private:
    QString m_from;
    QString m_to;
    QString m_fromColumn;
    QString m_toColumn;
};

struct ColumnInfo
{
    QString name;
    int type = 0;
    int size = 0;
};

class Table
{
public:
    Table(std::shared_ptr<DatabaseObject> database, std::shared_ptr<const TableDef> table);

    QString Name() const;
    QString Caption() const;
    const TableDef& Definition() const { return *m_table; }

    // Opens the records matching `criteria` (query dialect), in `order`,
    // reading the fields of `select` ("*" and names; empty for all).
    std::shared_ptr<DataObject> OpenDataObject(std::shared_ptr<DatabaseEngine> engine, const QString& criteria = {},
                                               const QString& order = {}, const QString& link = {},
                                               const QString& select = {}, bool currencyConversion = false) const;
    Relation GetRelation(const QString& name) const;
    std::unique_ptr<ComplexFilter> CreateComplexFilter() const;
    QString FirstColumnName() const;
    // A criteria that selects `column` equal to `value`; a Null value selects
    // records where the column is Null.
    QString BuildCriteria(const QString& column, const QVariant& value, const QString& wildcard = QStringLiteral("%")) const;

    // The table's stored columns, OID first.
    int ColumnCount() const;
    ColumnInfo Column(int index) const;

private:
    std::shared_ptr<DatabaseObject> m_database;
    std::shared_ptr<const TableDef> m_table;
};

class TableCollection
{
public:
    explicit TableCollection(std::shared_ptr<DatabaseObject> database) : m_database(std::move(database)) {}
    int Count() const;
    Table Item(int index) const;             // 0-based
    Table Item(const QString& name) const;   // throws UnknownTable
    bool Contains(const QString& name) const;

private:
    std::shared_ptr<DatabaseObject> m_database;
};
