#pragma once
// Reads the rows of an ordered query by position and by key, a page at a
// time, with a bounded cache. Moving forward from a known row uses the order
// keys (WHERE (keys) > (?)); far jumps start from the nearest known page or
// from the end, so that no read walks the whole set.

#include "component/SqlDialect.h"

#include <QHash>
#include <QMap>
#include <optional>

class DatabaseEngine;

class RowPager
{
public:
    struct Row
    {
        QVariantList values; // one per field, as stored (see DataObject::ValueOf)
        QVariantList keys;   // order keys as stored, the OID last
        qint64 oid = 0;
    };

    struct Query
    {
        QString select;               // field expressions, comma separated
        QStringList fieldSql;         // the same, one per field
        QList<int> fieldTypes;        // FieldType of each field
        QString from;                 // FROM clause with joins
        QString countFrom;            // FROM clause with only the joins the WHERE needs
        SqlFragment where;            // may be empty
        QList<SqlOrderTerm> order;    // the OID term last
    };

    static constexpr int PageSize = 50;
    static constexpr int MaxPages = 48;

    void SetQuery(Query query);
    void Invalidate();
    qint64 Count(DatabaseEngine& engine);
    const Row* At(DatabaseEngine& engine, qint64 position);
    // The first row (or last, when reverse) matching `extra`, after `after`
    // in the direction of travel.
    std::optional<Row> First(DatabaseEngine& engine, const SqlFragment& extra, bool reverse, const Row* after);
    // A row by a condition alone, whether or not it belongs to the set.
    std::optional<Row> Lookup(DatabaseEngine& engine, const SqlFragment& condition);
    // Rows before `row` in the set's order (from the cached pages when the
    // row is in one, else one count).
    qint64 PositionOf(DatabaseEngine& engine, const Row& row);
    const Query& CurrentQuery() const { return m_query; }
    // The ORDER BY list, as SQL, for code that reads the set in order.
    SqlFragment OrderBy(bool reverse) const;

private:
    struct Page
    {
        QList<Row> rows;
        quint64 lastUse = 0;
    };
    static qint64 CountRows(DatabaseEngine& engine, const QString& from, const SqlFragment& where);
    SqlFragment AfterPredicate(const QVariantList& keys, bool reverse) const;
    // The same condition as disjoint alternatives, each one index-friendly.
    QList<SqlFragment> AfterAlternatives(const QVariantList& keys, bool reverse) const;
    QList<Row> Fetch(DatabaseEngine& engine, const SqlFragment& extra, bool reverse, int limit, qint64 offset,
                     bool withSetCondition = true);
    const Page& LoadPage(DatabaseEngine& engine, qint64 page);
    void Remember(qint64 page, Page loaded);

    Query m_query;
    QString m_selectSql;         // select list with the order keys appended
    QVariantList m_selectParams;
    QList<int> m_keySource;      // for each order key, the field that holds it, or -1 (read after the fields)
    int m_extraKeys = 0;
    QHash<qint64, Page> m_pages;
    QMap<qint64, QVariantList> m_pageEndKeys;
    quint64 m_useClock = 0;
    std::optional<qint64> m_count;
};
