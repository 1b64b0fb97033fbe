#pragma once
// The fields a complex filter of a table can hold conditions on: the
// table's columns (its base table's first) and its look-up references,
// which compare by their display value.

#include <QList>
#include <QString>

class DatabaseObject;

struct FilterField
{
    QString name;
    QString caption;
    int type = 0;   // FieldType; a reference has its display column's type
    int size = 0;
};

// Throws Exception(UnknownTable) when the archive has no such table.
QList<FilterField> FilterFieldsOf(const DatabaseObject& database, const QString& table);
