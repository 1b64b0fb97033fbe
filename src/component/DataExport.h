#pragma once
// Writes the records of a data object, in its current filter and order, to
// a file: as text separated by semicolons (what Italian spreadsheets read),
// or as an HTML page with a table. The file is written whole or not at all:
// a failure or a stop leaves any previous file untouched.

#include <QString>
#include <QStringList>

class DataObject;
class itfProgress;

namespace DataExport {

// Format codes.
constexpr int Csv = 1;
constexpr int Html = 2;

// The fields exported when none are named: those a grid shows by default,
// in field order.
QStringList DefaultFields(const DataObject& data);

// Exports every record. `fields` names the columns (empty: DefaultFields).
// Progress goes to `progress` (may be null) as the records are written;
// when it answers false the export stops and returns false. Throws
// Exception: InvalidValue for an unknown format or field, Io when the file
// cannot be written, and whatever reading the records raises.
bool Export(DataObject& data, int format, const QString& path, itfProgress* progress = nullptr,
            const QStringList& fields = {});

// The text of one CSV field: quoted only when it holds a separator, a
// quote or a line break, inner quotes doubled.
QString CsvField(const QString& text);

} // namespace DataExport
