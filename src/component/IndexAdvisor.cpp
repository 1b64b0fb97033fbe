#include "component/IndexAdvisor.h"

#include "component/DatabaseEngine.h"
#include "component/Exception.h"
#include "component/SchemaStore.h"
#include "component/SqlDialect.h"

using SqlDialect::QuoteName;

namespace IndexAdvisor {

namespace {

bool Supported(SqliteDb& db, const QString& table, const QStringList& columns)
{
    Statement indexes(db, QStringLiteral("SELECT name FROM pragma_index_list(?)"));
    indexes.Bind(1, table);
    while (indexes.Step()) {
        Statement info(db, QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"));
        info.Bind(1, indexes.Column(0));
        int matched = 0;
        while (matched < columns.size() && info.Step() &&
               info.Column(0).toString().compare(columns[matched], Qt::CaseInsensitive) == 0)
            ++matched;
        if (matched == columns.size())
            return true;
    }
    return false;
}

} // namespace

void EnsureOrderIndex(DatabaseEngine& engine, const QString& table, const QStringList& columns)
{
    if (columns.isEmpty())
        return;
    try {
        SqliteDb& db = engine.Db();
        {
            Statement size(db, QStringLiteral("SELECT max(\"OID\") FROM %1").arg(QuoteName(table)));
            if (!size.Step() || size.ColumnInt(0) < LargeTable)
                return;
        }
        if (Supported(db, table, columns))
            return;
        QStringList quoted;
        for (const QString& c : columns)
            quoted.append(QuoteName(c));
        db.Exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                    .arg(QuoteName(SchemaStore::IndexName(table, QStringLiteral("order_") + columns.join(u'_'))),
                         QuoteName(table), quoted.join(QStringLiteral(", "))));
    } catch (const Exception&) {
        // Busy or read-only: the view still works, only slower.
    }
}

} // namespace IndexAdvisor
