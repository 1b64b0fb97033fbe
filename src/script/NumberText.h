#pragma once
// Numbers as text in the Italian way: comma as the decimal separator, point
// as the thousands separator.

#include <QString>
#include <QtGlobal>
#include <optional>

namespace vbs::NumberText {

QString FromDouble(double value);          // 15 significant digits: "1,5", "1E+16"
QString FromSingle(float value);           // 7 significant digits
QString FromCurrency(qint64 units);        // exact, no trailing zeros: "1234,5"

// Parses a number typed the Italian way: optional sign, digits with '.' as
// thousands separator, ',' as decimal separator, an exponent, or a
// hexadecimal (&H) or octal (&O) literal. nullopt when it is not a number.
std::optional<double> Parse(const QString& text);

// Fixed-point text with `decimals` digits, grouping and a leading zero as
// asked; halves round away from zero.
QString Fixed(double value, int decimals, bool leadingZero, bool parensForNegative, bool group);

} // namespace vbs::NumberText
