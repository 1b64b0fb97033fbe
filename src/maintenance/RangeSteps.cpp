#include "maintenance/RangeSteps.h"

#include "component/Sqlite.h"

#include <QElapsedTimer>
#include <algorithm>

namespace {

constexpr qint64 kFirstRange = 4096;
constexpr qint64 kMinRange = 256;
constexpr qint64 kMaxRange = 1 << 20;
constexpr qint64 kTargetMsecs = 100;

} // namespace

bool RunRangeSteps(SqliteDb& db, const std::vector<RangeStep>& steps, const RangeProgress& progress)
{
    qint64 total = 0;
    for (const RangeStep& step : steps)
        total += step.Span();
    qint64 done = 0;
    if (progress && !progress(done, total))
        return false;
    for (const RangeStep& step : steps) {
        if (step.Span() == 0)
            continue;
        // Each statement has its own pace: start small again.
        qint64 range = kFirstRange;
        Statement statement(db, step.sql);
        for (qint64 low = step.firstOid; low <= step.lastOid;) {
            const qint64 high = std::min(step.lastOid, low + range - 1);
            QElapsedTimer timer;
            timer.start();
            statement.Bind(1, low);
            statement.Bind(2, high);
            while (statement.Step()) {
            }
            statement.Reset();
            if (step.changes)
                *step.changes += db.Changes();
            const qint64 elapsed = std::max<qint64>(timer.elapsed(), 1);
            const qint64 covered = high - low + 1;
            done += covered;
            low = high + 1;
            // Aim at the target time with the rate just seen, growing by at
            // most a factor of two at a time, so that a slower stretch (the
            // disk catching up) cannot make one range last long.
            const qint64 wanted = covered * kTargetMsecs / elapsed;
            range = std::clamp(std::clamp(wanted, range / 4, range * 2), kMinRange, kMaxRange);
            if (progress && !progress(done, total))
                return false;
        }
    }
    return true;
}

std::pair<qint64, qint64> OidBounds(SqliteDb& db, const QString& qualifiedTable)
{
    // Two look-ups at the ends of the key: min and max together would scan.
    Statement s(db, QStringLiteral("SELECT (SELECT min(\"OID\") FROM %1), (SELECT max(\"OID\") FROM %1)").arg(qualifiedTable));
    if (!s.Step() || s.IsNull(0))
        return {0, -1};
    return {s.ColumnInt(0), s.ColumnInt(1)};
}
