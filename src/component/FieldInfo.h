#pragma once
// One field of a data object, as grids, menus and editors see it.

#include <QString>

struct FieldInfo
{
    enum class Kind {
        Oid,              // the record identifier
        Column,           // a column of the table
        Reference,        // a look-up reference, read and written as the display value
        ReferenceKey,     // the key column behind a reference ("OID_" + name)
        BaseLink,         // the link of an extension record to its base record
        OwnerLink,        // the link of an owned record to its owner
        Foreign           // a column of another table brought by the select list
    };

    QString name;
    QString caption;      // display caption
    QString description;
    int type = 0;         // FieldType code
    int size = 0;
    Kind kind = Kind::Column;
    QString physical;     // the table's column behind the field (empty for Reference/Foreign)
    QString sql;          // select expression
    int referenceIndex = -1; // Reference: index into TableDef::lookups
    int keyField = -1;    // Reference: index of its ReferenceKey field
    bool excluded = false; // takes no part in ordering and totals
    bool readOnly = false;
    bool visible = true;  // shown by default in grids
    int options = -100;
};
