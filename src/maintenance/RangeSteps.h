#pragma once
// Long statements run in ranges of OID, so that a window can show progress
// and offer its stop button between two ranges. Each range is one execution
// of a prepared statement whose first two parameters are the lowest and the
// highest OID of the range; the range grows or shrinks so that one
// execution takes about a fifth of a second.

#include <QString>
#include <functional>
#include <vector>

class SqliteDb;

struct RangeStep
{
    QString sql;          // ... WHERE "OID" BETWEEN ?1 AND ?2
    qint64 firstOid = 0;  // the range covered; empty when last < first
    qint64 lastOid = -1;
    qint64* changes = nullptr; // when given, the records the statement changed are added here
    qint64 Span() const { return lastOid >= firstOid ? lastOid - firstOid + 1 : 0; }
};

// Called before the first range (with 0) and after every range with the
// OIDs covered so far over all steps and their total; false stops before
// the next range.
using RangeProgress = std::function<bool(qint64 done, qint64 total)>;

// Runs the steps in order. False when stopped; throws Exception when a
// statement fails.
bool RunRangeSteps(SqliteDb& db, const std::vector<RangeStep>& steps, const RangeProgress& progress);

// The lowest and highest OID of a table ("" for none: 0 and -1).
std::pair<qint64, qint64> OidBounds(SqliteDb& db, const QString& qualifiedTable);
