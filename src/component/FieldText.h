#pragma once
// Values as a person types and reads them in an editor or a delimited file:
// numbers without thousands separators and with a decimal comma, amounts
// with the currency's decimals, dates dd/MM/yyyy (with the time when it is
// not midnight), yes/no as "Sì"/"No".

#include <QString>
#include <QVariant>

namespace FieldText {

// The editable text of a value of a field of type `type`; empty for Null.
// `decimals` applies to amounts.
QString EditText(const QVariant& value, int type, int decimals = 2);

// The value typed for a field: empty text is Null (false for yes/no), and so
// are blanks alone except in a text field. Throws
// Exception(InvalidValue) when the text does not fit the type, TextTooLong
// when a text exceeds `size`.
QVariant Parse(const QString& text, int type, int size, const QString& field);

} // namespace FieldText
