#pragma once
// Error numbers raised by the archive engine. They lie above the base of
// object-defined errors (hexadecimal 80040000), so that the error report can
// tell them from the errors of the platform and of the scripts.

#include <QtGlobal>

namespace ComponentError {

constexpr qint32 Base = static_cast<qint32>(0x80040000u);

enum Code : qint32 {
    Cancelled = Base + 124,          // the user cancelled the operation
    Sql = Base + 1000,               // the storage refused a statement
    Busy = Base + 1001,              // another session holds the archive
    Syntax = Base + 1002,            // a criteria, order or statement is malformed
    UnknownField = Base + 1003,      // a name that is no column of the table
    UnknownTable = Base + 1004,
    UnknownFunction = Base + 1005,
    TextTooLong = Base + 1006,       // a text longer than its column
    InvalidValue = Base + 1007,      // a value that does not fit the column's type
    NoCurrentRecord = Base + 1008,
    Duplicate = Base + 1009,         // a unique index refused the record
    NotOpen = Base + 1010,           // the archive is not open
    Transaction = Base + 1011,       // commit or rollback without a transaction
    InUse = Base + 1012,             // the record is referenced by other records
    Definition = Base + 1013,        // a table definition is inconsistent
    Interrupted = Base + 1014,       // an operation stopped on request
    Io = Base + 1015,                // a file could not be read or written
    CancelSelected = Base + 32755,   // a dialog was closed with Cancel
};

} // namespace ComponentError
