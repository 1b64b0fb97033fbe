#pragma once
// Resolves the names of a query over one table to SQL: its own columns,
// references (shown by the referenced record's display column), and columns
// of the tables it refers to, is owned by or extends, joining them as needed.

#include "component/SqlDialect.h"
#include "component/TableDef.h"


class Schema;

class QueryResolver : public SqlNameResolver
{
public:
    QueryResolver(const Schema& schema, const TableDef& main);

    std::optional<SqlColumn> ResolveColumn(const QString& qualifier, const QString& name) override;

    // A bare name that stands for a column of another table (from a select
    // list such as "*, Ricevute.Data").
    void AddAlias(const QString& name, const QString& qualifier, const QString& column);

    // Every join resolved so far, in the order first needed.
    QString JoinClause() const;
    // Only the joins whose alias appears in one of the SQL texts.
    QString JoinsFor(const QStringList& sqlTexts) const;

    const TableDef& Main() const { return m_main; }
    QString MainSql() const;
    QString ColumnSql(const QString& column) const;
    // The join alias that brings in a look-up reference's record.
    QString LookupAlias(const ReferenceDef& reference);

private:
    struct Join
    {
        QString alias;
        QString sql;
    };
    QString EnsureJoin(const QString& alias, const QString& table, const QString& keyColumnSql);
    std::optional<SqlColumn> ResolveOwn(const QString& name);
    std::optional<SqlColumn> ResolveIn(const QString& alias, const TableDef& table, const QString& name);

    const Schema& m_schema;
    const TableDef& m_main;
    QList<Join> m_joins;
    QHash<QString, std::pair<QString, QString>> m_aliases;
};
