#pragma once
// Numbers as the settings store and the numeric boxes hold them: Italian
// locale text ("6,5"), with "." also accepted as the decimal separator.

#include <QString>
#include <optional>

// The number that the text begins with: leading blanks skipped, then digits
// with an optional "." and decimal digits; reading stops at the first other
// character. A text that does not begin with a number gives 0.
double LeadingNumber(const QString& text);

// Rounds to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double value);

// A single-precision number as Italian locale text without grouping: the
// shortest text that reads back as the same value ("6,5", "203", "0,1").
QString SingleText(float value);

// Reads a number as the editors read what is typed (FieldText::PlainNumber:
// "6,5", "1.234,5", "1.500" is 1500, a lone "." that groups nothing is a
// decimal point as in "6.5"); blanks around it are ignored. Nullopt when the
// text is ambiguous or no finite number that fits a single-precision value.
std::optional<float> ParseSingle(const QString& text);
