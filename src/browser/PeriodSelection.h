#pragma once
// The period and document type asked for the receipt lists: the criteria
// they add and the description printed on the list.

#include <QDate>
#include <QString>
#include <memory>

class DatabaseObject;
class DatabaseEngine;

struct PeriodChoice
{
    bool confirmed = false;
    QString documentType;   // description; empty for all types
    QDate from;
    QDate to;
};

struct PeriodCriteria
{
    QString criteria;
    QString description;    // SelectionDescription
};

// The description of the parameters of the last period list loaded, printed
// on the receipt list and shown in the status bar.
QString& SelectionDescription();

// Adds the period (and type) to `criteria`. The last day counts whole: the
// condition is "before the next day", so receipts with a time of day on the
// last day are in. The type is looked up by its description, quoted safely.
PeriodCriteria ApplyPeriod(const QString& criteria, const PeriodChoice& choice, DatabaseObject& database,
                           const std::shared_ptr<DatabaseEngine>& engine);
