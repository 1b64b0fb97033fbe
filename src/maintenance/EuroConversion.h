#pragma once
// The conversion of every amount of the archive from the former national
// currency to euro, without windows: one UPDATE statement per table over
// all its currency columns, run in ranges of records inside the caller's
// transaction.
//
// Each amount is divided exactly by the rate 1936.27 and rounded once to the
// four decimals of a currency amount, halves away from zero (19362.70
// becomes exactly 10). With this rate a quotient can never fall exactly
// halfway (193627 is odd, so twice an amount times 100 is never an odd
// multiple of it); the rule decides only for other rates.
//
// The amounts that the table rules derive from others are derived again
// from the converted values, so that the rules still hold afterwards:
// - a receipt row whose amount was its price times its quantity (as the row
//   rule computes it) gets the converted price times its quantity;
// - a receipt whose total was the sum of its rows gets the sum of its
//   converted rows;
// - the only payment of such a receipt, when it paid exactly the total,
//   gets the new total.
// Amounts that did not follow the rules (edited by hand) are divided like
// any other.

#include "component/Currency.h"
#include "maintenance/RangeSteps.h"

#include <QString>
#include <QStringList>
#include <vector>

class DatabaseObject;

class EuroConversion
{
public:
    // Units of the former currency per euro.
    static Currency Rate();
    // An amount of the former currency in euro.
    static Currency ToEuro(Currency amount);

    explicit EuroConversion(DatabaseObject& database);

    // The currency columns of one table, in the order of the archive's tables.
    struct TableWork
    {
        QString table;
        QStringList columns;
        QString statement; // UPDATE ... SET ... WHERE "OID" BETWEEN ?1 AND ?2
    };
    // Tables without currency columns get no statement and are not listed.
    const std::vector<TableWork>& Work() const { return m_work; }

    // Converts; the engine must be inside a transaction, which the caller
    // commits or rolls back. False when `progress` asked to stop.
    bool Run(const RangeProgress& progress);

private:
    void Plan();

    DatabaseObject& m_database;
    std::vector<TableWork> m_work;
    bool m_receiptRule = false;   // receipt totals and their payments follow their rows
};
