#include "component/QueryResolver.h"

#include "component/Schema.h"
#include "component/SchemaStore.h"

using SqlDialect::QuoteName;

QueryResolver::QueryResolver(const Schema& schema, const TableDef& main) : m_schema(schema), m_main(main) {}

QString QueryResolver::MainSql() const { return QuoteName(m_main.name); }
QString QueryResolver::ColumnSql(const QString& column) const { return MainSql() + u'.' + QuoteName(column); }

void QueryResolver::AddAlias(const QString& name, const QString& qualifier, const QString& column)
{
    m_aliases.insert(name.toLower(), {qualifier, column});
}

QString QueryResolver::EnsureJoin(const QString& alias, const QString& table, const QString& keyColumnSql)
{
    for (const Join& j : m_joins)
        if (j.alias == alias)
            return alias;
    m_joins.append({alias, QStringLiteral(" LEFT JOIN %1 AS %2 ON %2.\"OID\" = %3")
                               .arg(QuoteName(table), QuoteName(alias), keyColumnSql)});
    return alias;
}

QString QueryResolver::LookupAlias(const ReferenceDef& reference)
{
    return EnsureJoin(QStringLiteral("r:") + reference.name, reference.table,
                      ColumnSql(ReferenceKeyColumn(reference.name)));
}

std::optional<SqlColumn> QueryResolver::ResolveIn(const QString& alias, const TableDef& table, const QString& name)
{
    if (const PhysicalColumn* p = table.FindPhysical(name))
        return SqlColumn{QuoteName(alias) + u'.' + QuoteName(p->name), p->type};
    return std::nullopt;
}

std::optional<SqlColumn> QueryResolver::ResolveOwn(const QString& name)
{
    if (const PhysicalColumn* p = m_main.FindPhysical(name))
        return SqlColumn{ColumnSql(p->name), p->type};
    if (const ReferenceDef* r = m_main.FindLookup(name)) {
        const ColumnDef* display = m_schema.DisplayColumn(*r);
        if (!display)
            return SqlColumn{ColumnSql(ReferenceKeyColumn(r->name)), 11};
        const QString alias = LookupAlias(*r);
        return SqlColumn{QuoteName(alias) + u'.' + QuoteName(display->name), display->type};
    }
    return std::nullopt;
}

std::optional<SqlColumn> QueryResolver::ResolveColumn(const QString& qualifier, const QString& name)
{
    const bool isOid = name.compare(QStringLiteral("OID"), Qt::CaseInsensitive) == 0;
    if (qualifier.isEmpty() || qualifier.compare(m_main.name, Qt::CaseInsensitive) == 0) {
        if (auto own = ResolveOwn(name))
            return own;
        if (qualifier.isEmpty()) {
            auto alias = m_aliases.constFind(name.toLower());
            if (alias != m_aliases.constEnd())
                return ResolveColumn(alias->first, alias->second);
        }
        return std::nullopt;
    }
    // A table that this one refers to: its OID is our key column, no join needed.
    for (const ReferenceDef& r : m_main.lookups) {
        if (r.table.compare(qualifier, Qt::CaseInsensitive) != 0)
            continue;
        if (isOid)
            return SqlColumn{ColumnSql(ReferenceKeyColumn(r.name)), 11};
        auto target = m_schema.Find(r.table);
        if (!target || !target->FindPhysical(name))
            return std::nullopt;
        return ResolveIn(LookupAlias(r), *target, name);
    }
    // The table that owns this one.
    for (const OwnerLink& o : m_main.owners) {
        if (o.ownerTable.compare(qualifier, Qt::CaseInsensitive) != 0)
            continue;
        if (isOid)
            return SqlColumn{ColumnSql(o.column), 11};
        auto owner = m_schema.Find(o.ownerTable);
        if (!owner || !owner->FindPhysical(name))
            return std::nullopt;
        return ResolveIn(EnsureJoin(QStringLiteral("o:") + o.ownerTable + u'_' + o.referenceName, o.ownerTable,
                                    ColumnSql(o.column)),
                         *owner, name);
    }
    // The base of an extension: the inherited copy, or the base record itself.
    if (!m_main.baseTable.isEmpty() && m_main.baseTable.compare(qualifier, Qt::CaseInsensitive) == 0) {
        if (isOid)
            return SqlColumn{ColumnSql(m_main.baseLinkColumn), 11};
        if (auto own = ResolveOwn(name))
            return own;
        auto base = m_schema.Find(m_main.baseTable);
        if (!base)
            return std::nullopt;
        return ResolveIn(EnsureJoin(QStringLiteral("b:") + base->name, base->name, ColumnSql(m_main.baseLinkColumn)),
                         *base, name);
    }
    return std::nullopt;
}

QString QueryResolver::JoinClause() const
{
    QString sql;
    for (const Join& j : m_joins)
        sql += j.sql;
    return sql;
}

QString QueryResolver::JoinsFor(const QStringList& sqlTexts) const
{
    QString sql;
    for (const Join& j : m_joins) {
        const QString quoted = QuoteName(j.alias);
        for (const QString& text : sqlTexts)
            if (text.contains(quoted)) {
                sql += j.sql;
                break;
            }
    }
    return sql;
}
