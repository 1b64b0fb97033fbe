#pragma once
// What each section of the archive shows: its table, the column list, the
// criteria, the order, the date field of the date selection and whether it
// first asks for a period and document type.

#include <QString>

class DatabaseObject;

struct ViewRules
{
    QString table;
    QString select;        // empty: the table's own columns
    QString criteria;
    QString order;
    QString dateField;     // empty: no date selection
    bool asksForPeriod = false;
};

// The table behind a section key ("Lista Venduto" is RigheRicevute...).
QString TableOfSection(const QString& sectionKey);
// "Data" for receipts; empty for every other table.
QString DateFieldOfTable(const QString& table);

// The rules of a section. `order` is the caller's order (used only by the
// sections without an order of their own); `joinRighe` is the join criteria of
// the receipts' relation "Righe".
ViewRules RulesOfSection(const QString& sectionKey, const QString& order, const QString& joinRighe);
// The join criteria of the relation "Righe" of "Ricevute", from the archive.
QString RigheJoinCriteria(DatabaseObject& database);
