#pragma once
// Values as a person types and reads them in an editor or a delimited file:
// numbers without thousands separators and with a decimal comma, amounts
// with the currency's decimals, dates dd/MM/yyyy (with the time when it is
// not midnight), yes/no as "Sì"/"No".

#include <QString>
#include <QVariant>
#include <optional>

namespace FieldText {

// The editable text of a value of a field of type `type`; empty for Null.
// `decimals` applies to amounts.
QString EditText(const QVariant& value, int type, int decimals = 2);

// The value typed for a field: empty text is Null (false for yes/no), and so
// are blanks alone except in a text field. Throws
// Exception(InvalidValue) when the text does not fit the type, TextTooLong
// when a text exceeds `size`. Numbers are read as PlainNumber reads them; a
// whole-number field refuses decimals rather than rounding them.
QVariant Parse(const QString& text, int type, int size, const QString& field);

// A number as a person types it, the Italian way the grid shows it, as plain
// text with a "." before the decimals ("-1500.5"): the comma is the decimal
// separator and points group thousands ("1.500" is 1500, "1.500,50" is
// 1500.5); a single point that groups nothing is a decimal point ("1.5").
// Nullopt for anything else, ambiguous ones included ("1.50,5", "1,500.5",
// "1.2.3"): never a different number than the one meant.
std::optional<QString> PlainNumber(const QString& text);

} // namespace FieldText
