#pragma once
// Values of the archive's columns as the application sees them:
//   text QString, whole number qint64, yes/no bool, decimal double,
//   date and time QDateTime (local, whole seconds), currency Currency,
//   and an invalid QVariant for Null.
// Conversion to and from storage, validation and Italian display text.

#include <QVariant>

class CurrencyObject;

namespace FieldValue {

// Converts a value given by the application to the column's type. Throws
// InvalidValue when it cannot be converted, TextTooLong when a text exceeds
// the column's size (texts are never cut).
QVariant Normalize(const QVariant& value, int type, int size, const QString& column);

// The form bound to SQLite (QString, qint64, double or null).
QVariant ToStorage(const QVariant& normalized, int type);
// From what SQLite returned to the application's form.
QVariant FromStorage(const QVariant& stored, int type);

bool IsNull(const QVariant& value);
// Whether the variant holds an integer type (int, qint64, short... not bool).
bool IsWholeNumber(const QVariant& value);

// Display text in the Italian format: currency with the currency's decimals
// and thousands separators, dates dd/MM/yyyy (with the time when not midnight).
QString Format(const QVariant& value, int type, const CurrencyObject* currency = nullptr);

// Italian text of a number: `decimals` places (-1: as many as needed, up to
// six, no trailing zeros), with thousands separators when `grouped`.
QString NumberText(double value, int decimals, bool grouped);
// Italian text of an amount (a Currency, or a number) with `decimals` places.
QString AmountText(const QVariant& value, int decimals, bool grouped);

// The display text of a date as stored ('YYYY-MM-DD HH:MM:SS'), without
// building a date: grids show thousands of them.
QString FormatStoredDate(const QVariant& stored);

// Numbers written by hand: accepts "1.234,5", "1234,5" and "1234.5".
std::optional<double> ParseNumber(const QString& text);
std::optional<QDateTime> ParseDateTime(const QString& text);

} // namespace FieldValue
