#include "component/RowPager.h"

#include "component/DatabaseEngine.h"
#include "component/FieldValue.h"

#include <algorithm>

void RowPager::SetQuery(Query query)
{
    m_query = std::move(query);
    m_selectSql = m_query.select;
    m_selectParams.clear();
    m_keySource.clear();
    m_extraKeys = 0;
    // An order key that is also a field is read once.
    for (const SqlOrderTerm& t : m_query.order) {
        const int field = t.expr.params.isEmpty() ? int(m_query.fieldSql.indexOf(t.expr.sql)) : -1;
        m_keySource.append(field);
        if (field >= 0)
            continue;
        m_selectSql += QStringLiteral(", ") + t.expr.sql;
        m_selectParams += t.expr.params;
        ++m_extraKeys;
    }
    Invalidate();
}

void RowPager::Invalidate()
{
    m_pages.clear();
    m_pageEndKeys.clear();
    m_count.reset();
}

SqlFragment RowPager::OrderBy(bool reverse) const
{
    SqlFragment order;
    for (const SqlOrderTerm& t : m_query.order) {
        if (!order.sql.isEmpty())
            order.sql += QStringLiteral(", ");
        order.sql += t.expr.sql + ((t.descending != reverse) ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
        order.params += t.expr.params;
    }
    return order;
}

qint64 RowPager::CountRows(DatabaseEngine& engine, const QString& from, const SqlFragment& where)
{
    QString sql = QStringLiteral("SELECT count(*) FROM ") + from;
    if (!where.sql.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    DatabaseEngine::CachedStatement s(engine, sql);
    s->BindAll(where.params);
    return s->Step() ? s->ColumnInt(0) : 0;
}

qint64 RowPager::Count(DatabaseEngine& engine)
{
    if (!m_count)
        m_count = CountRows(engine, m_query.countFrom, m_query.where);
    return *m_count;
}

SqlFragment RowPager::AfterPredicate(const QVariantList& keys, bool reverse) const
{
    const QList<SqlFragment> alternatives = AfterAlternatives(keys, reverse);
    if (alternatives.size() == 1)
        return alternatives.first();
    SqlFragment result;
    QStringList parts;
    for (const SqlFragment& a : alternatives) {
        parts.append(u'(' + a.sql + u')');
        result.params += a.params;
    }
    result.sql = parts.isEmpty() ? QStringLiteral("0") : parts.join(QStringLiteral(" OR "));
    return result;
}

QList<SqlFragment> RowPager::AfterAlternatives(const QVariantList& keys, bool reverse) const
{
    const auto& terms = m_query.order;
    bool uniform = true;
    bool anyNull = false;
    for (int i = 0; i < terms.size(); ++i) {
        uniform = uniform && terms[i].descending == terms[0].descending && terms[i].expr.params.isEmpty();
        anyNull = anyNull || FieldValue::IsNull(keys[i]);
    }
    QList<SqlFragment> alternatives;
    if (uniform && !anyNull) {
        // Row values let SQLite seek the ordering index directly. NULL is the
        // lowest value: going down, the rows with a NULL key term (after an
        // equal prefix) come after too, and row values alone would miss them.
        QStringList lhs;
        QStringList rhs;
        for (const SqlOrderTerm& t : terms) {
            lhs.append(t.expr.sql);
            rhs.append(QStringLiteral("?"));
        }
        const bool up = terms[0].descending == reverse;
        alternatives.append({QStringLiteral("(%1) %2 (%3)").arg(lhs.join(u','), up ? QStringLiteral(">") : QStringLiteral("<"),
                                                                 rhs.join(u',')),
                             keys});
        if (!up) {
            // The last term is the OID, never NULL.
            for (int k = 0; k + 1 < terms.size(); ++k) {
                SqlFragment branch;
                for (int j = 0; j < k; ++j) {
                    branch.sql += QStringLiteral("%1 = ? AND ").arg(terms[j].expr.sql);
                    branch.params.append(keys[j]);
                }
                branch.sql += QStringLiteral("%1 IS NULL").arg(terms[k].expr.sql);
                alternatives.append(branch);
            }
        }
        return alternatives;
    }
    // General form: equal on a prefix of the keys, then past the next one.
    // NULLs come first in ascending order and last in descending order.
    for (int k = 0; k < terms.size(); ++k) {
        SqlFragment branch;
        for (int j = 0; j < k; ++j) {
            branch.sql += QStringLiteral("%1 IS ? AND ").arg(terms[j].expr.sql);
            branch.params += terms[j].expr.params;
            branch.params.append(keys[j]);
        }
        const bool ascending = terms[k].descending == reverse;
        const QString& t = terms[k].expr.sql;
        if (FieldValue::IsNull(keys[k])) {
            if (!ascending)
                continue; // nothing sorts after NULL going down
            branch.sql += QStringLiteral("%1 IS NOT NULL").arg(t);
            branch.params += terms[k].expr.params;
        } else if (ascending) {
            branch.sql += QStringLiteral("%1 > ?").arg(t);
            branch.params += terms[k].expr.params;
            branch.params.append(keys[k]);
        } else {
            branch.sql += QStringLiteral("(%1 < ? OR %1 IS NULL)").arg(t);
            branch.params += terms[k].expr.params;
            branch.params.append(keys[k]);
            branch.params += terms[k].expr.params;
        }
        alternatives.append(branch);
    }
    return alternatives;
}

QList<RowPager::Row> RowPager::Fetch(DatabaseEngine& engine, const SqlFragment& extra, bool reverse, int limit,
                                     qint64 offset, bool withSetCondition)
{
    const SqlFragment where = withSetCondition ? AllOf({m_query.where, extra}) : extra;
    const SqlFragment order = OrderBy(reverse);
    QString sql = QStringLiteral("SELECT ") + m_selectSql + QStringLiteral(" FROM ") + m_query.from;
    if (!where.sql.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    sql += QStringLiteral(" ORDER BY ") + order.sql + QStringLiteral(" LIMIT ? OFFSET ?");
    DatabaseEngine::CachedStatement s(engine, sql);
    int index = 1;
    for (const QVariant& p : m_selectParams)
        s->Bind(index++, p);
    for (const QVariant& p : where.params)
        s->Bind(index++, p);
    for (const QVariant& p : order.params)
        s->Bind(index++, p);
    s->Bind(index++, qint64(limit));
    s->Bind(index, offset);
    const int fields = int(m_query.fieldTypes.size());
    const int keys = int(m_query.order.size());
    QList<Row> rows;
    rows.reserve(limit);
    while (s->Step()) {
        Row row;
        row.values.reserve(fields);
        for (int i = 0; i < fields; ++i)
            row.values.append(s->Column(i));
        row.keys.reserve(keys);
        int extra = fields;
        for (int i = 0; i < keys; ++i)
            row.keys.append(m_keySource[i] >= 0 ? row.values[m_keySource[i]] : s->Column(extra++));
        row.oid = row.keys.last().toLongLong();
        rows.append(std::move(row));
    }
    return rows;
}

void RowPager::Remember(qint64 page, Page loaded)
{
    if (m_pages.size() >= MaxPages) {
        auto oldest = std::min_element(m_pages.begin(), m_pages.end(),
                                       [](const Page& a, const Page& b) { return a.lastUse < b.lastUse; });
        m_pages.erase(oldest);
    }
    if (!loaded.rows.isEmpty()) {
        if (m_pageEndKeys.size() > 20000)
            m_pageEndKeys.clear();
        m_pageEndKeys.insert(page, loaded.rows.last().keys);
    }
    m_pages.insert(page, std::move(loaded));
}

const RowPager::Page& RowPager::LoadPage(DatabaseEngine& engine, qint64 page)
{
    Page loaded;
    const qint64 start = page * PageSize;
    auto anchor = m_pageEndKeys.lowerBound(page);
    // lowerBound gives the first anchor >= page; step back to the last one below.
    qint64 anchorPage = -1;
    if (anchor != m_pageEndKeys.begin()) {
        --anchor;
        anchorPage = anchor.key();
    }
    const qint64 gapPages = page - anchorPage - 1; // pages between the anchor (or the start) and this one
    bool fromEnd = false;
    if (gapPages > 4) {
        // Far from anything known: maybe closer to the end.
        const qint64 count = Count(engine);
        const qint64 end = std::min(start + PageSize, count);
        if (end > start && (count - end) / PageSize < gapPages) {
            loaded.rows = Fetch(engine, {}, true, int(end - start), count - end);
            std::reverse(loaded.rows.begin(), loaded.rows.end());
            fromEnd = true;
        }
    }
    if (!fromEnd && anchorPage >= 0)
        loaded.rows = Fetch(engine, AfterPredicate(anchor.value(), false), false, PageSize, gapPages * PageSize);
    else if (!fromEnd)
        loaded.rows = Fetch(engine, {}, false, PageSize, start);
    loaded.lastUse = ++m_useClock;
    Remember(page, std::move(loaded));
    return m_pages[page];
}

const RowPager::Row* RowPager::At(DatabaseEngine& engine, qint64 position)
{
    if (position < 0)
        return nullptr;
    const qint64 page = position / PageSize;
    auto it = m_pages.find(page);
    const Page* p = nullptr;
    if (it != m_pages.end()) {
        it->lastUse = ++m_useClock;
        p = &*it;
    } else {
        p = &LoadPage(engine, page);
    }
    const qint64 index = position - page * PageSize;
    if (index >= p->rows.size())
        return nullptr;
    return &p->rows[index];
}

std::optional<RowPager::Row> RowPager::First(DatabaseEngine& engine, const SqlFragment& extra, bool reverse,
                                             const Row* after)
{
    SqlFragment condition = extra;
    if (after)
        condition = AllOf({extra, AfterPredicate(after->keys, reverse)});
    QList<Row> rows = Fetch(engine, condition, reverse, 1, 0);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

qint64 RowPager::PositionOf(DatabaseEngine& engine, const Row& row)
{
    for (auto it = m_pages.cbegin(); it != m_pages.cend(); ++it)
        for (qsizetype i = 0; i < it->rows.size(); ++i)
            if (it->rows[i].oid == row.oid)
                return it.key() * PageSize + i;
    // The rows before it, one count per disjoint alternative so that each can
    // seek an index.
    qint64 before = 0;
    for (const SqlFragment& alternative : AfterAlternatives(row.keys, true))
        before += CountRows(engine, m_query.from, AllOf({m_query.where, alternative}));
    return before;
}

std::optional<RowPager::Row> RowPager::Lookup(DatabaseEngine& engine, const SqlFragment& condition)
{
    QList<Row> rows = Fetch(engine, condition, false, 1, 0, false);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}
