#include "component/SqlDialectProbe.h"

#include <algorithm>
#include <memory>
#include <sqlite3.h>

namespace SqlDialect {

namespace {

// Levels of "(1 AND " wrapped around the expression: more nesting than the
// engine puts around a criteria, an order term or an assignment.
constexpr int EngineMargin = 6;

struct Closer
{
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

sqlite3* ProbeDatabase()
{
    thread_local std::unique_ptr<sqlite3, Closer> db = [] {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, nullptr);
        return std::unique_ptr<sqlite3, Closer>(raw);
    }();
    return db.get();
}

// Shallow, short expressions are far from SQLite's parser limits: most
// criteria and orders are, and they skip the probe's parse.
bool ObviouslyParsable(const QString& expression)
{
    if (expression.size() > 2000)
        return false;
    int depth = 0;
    int deepest = 0;
    bool quoted = false;
    for (const QChar c : expression) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'(')
            deepest = std::max(deepest, ++depth);
        else if (!quoted && c == u')')
            --depth;
    }
    return deepest <= 12;
}

} // namespace

void EnsureSqliteCanParse(const ErrorContext& context, const QString& expression)
{
    if (ObviouslyParsable(expression))
        return;
    sqlite3* db = ProbeDatabase();
    if (!db)
        return;
    const QByteArray probe = (QStringLiteral("SELECT 1 WHERE ") + QStringLiteral("(1 AND ").repeated(EngineMargin) +
                              u'(' + expression + u')' + QString(EngineMargin, u')'))
                                 .toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db, probe.constData(), int(probe.size()), &stmt, nullptr);
    sqlite3_finalize(stmt);
    if (rc == SQLITE_OK)
        return;
    // Names and functions are unknown to the probe: only the parser's own
    // limits matter here.
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    if (message.contains(QStringLiteral("stack overflow")) || message.contains(QStringLiteral("too large")) ||
        message.contains(QStringLiteral("too many")) || message.contains(QStringLiteral("too big")))
        ThrowSyntax(context, 0, QStringLiteral("espressione troppo complessa"));
}

} // namespace SqlDialect
