#pragma once
// Conversions between subtypes, as the C* functions and the operators make
// them. Each raises VbError: 13 for a value of the wrong kind, 6 for one out
// of range, 94 for Null where a value is needed.

#include "script/Variant.h"

#include <QString>

namespace vbs::Convert {

// The value of an object's default member; other values unchanged.
Variant Scalar(const Variant& value);

// The value of an object's default member when it has one; the object
// itself when it has none (as the Is... tests and VarType look at values).
Variant ValueOf(const Variant& value);

double ToDouble(const Variant& value);
float ToSingle(const Variant& value);
qint32 ToLong(const Variant& value);     // halves to even
qint16 ToInteger(const Variant& value);  // halves to even
quint8 ToByte(const Variant& value);
qint64 ToCurrencyUnits(const Variant& value);
bool ToBool(const Variant& value);
QString ToString(const Variant& value);
double ToDate(const Variant& value);
// A whole number for indexes and counts (Long range).
qint32 ToIndex(const Variant& value);

// Numbers for arithmetic: strings become Double, Empty becomes Integer 0,
// Boolean stays Boolean, objects give their default value.
Variant ToNumber(const Variant& value);

qint64 RoundHalfEven(double value);
// A Double that fits the Long range after rounding, or raises 6.
qint32 CheckedLong(double value);

// The text of a Boolean: "Vero" / "Falso".
QString BoolText(bool value);
// "Vero"/"Falso"/"True"/"False" in any case; nullopt otherwise.
std::optional<bool> ParseBoolText(const QString& text);

} // namespace vbs::Convert
