#pragma once
// The total or the average of one column over the rows the current view
// shows (after its filter), computed by the archive in SQL and written as
// the grid writes the field.

#include <QString>

class DataObject;

namespace GridTotals {

enum class Kind { Total = 0, Average = 1 };

// The text of the message box: "Totale < caption >" (or "Media < caption >"),
// two carriage returns, then the value. Throws Exception when the field is
// unknown or not numeric, and for an average over no value.
QString Message(DataObject& data, const QString& field, Kind kind);

} // namespace GridTotals
