#include "script/Convert.h"

#include "script/DateUtil.h"
#include "script/NumberText.h"
#include "script/ScriptError.h"
#include "script/ScriptObject.h"

#include <cmath>
#include <optional>

namespace vbs::Convert {

using Tag = Variant::Tag;

Variant Scalar(const Variant& value)
{
    if (!value.IsObject())
        return value;
    if (!value.ObjValue())
        throw VbError(Err::ObjectNotSet);
    // Guards against a default member that returns its own object.
    Variant current = value;
    for (int depth = 0; current.IsObject(); ++depth) {
        if (!current.ObjValue())
            throw VbError(Err::ObjectNotSet);
        if (depth >= 8)
            throw VbError(Err::NoSuchMember);
        const std::shared_ptr<ScriptObject> object = current.ObjValue();
        current = object->Invoke(QString(), InvokeKind::Get, {});
    }
    return current;
}

Variant ValueOf(const Variant& value)
{
    if (!value.IsObject() || !value.ObjValue())
        return value;
    try {
        return Scalar(value);
    } catch (const VbError& e) {
        if (e.Number() == Err::NoSuchMember)
            return value;
        throw;
    }
}

qint64 RoundHalfEven(double value)
{
    const double r = std::nearbyint(value); // the default rounding mode rounds halves to even
    return qint64(r);
}

qint32 CheckedLong(double value)
{
    // -2147483648.5 rounds to the even -2147483648; 2147483647.5 to 2147483648.
    if (!(value >= -2147483648.5 && value < 2147483647.5))
        throw VbError(Err::Overflow);
    const double r = std::nearbyint(value);
    if (r < -2147483648.0 || r > 2147483647.0)
        throw VbError(Err::Overflow);
    return qint32(r);
}

QString BoolText(bool value)
{
    return value ? QStringLiteral("Vero") : QStringLiteral("Falso");
}

std::optional<bool> ParseBoolText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("vero"), Qt::CaseInsensitive) == 0
        || t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("falso"), Qt::CaseInsensitive) == 0
        || t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

static double StringToDouble(const QString& text)
{
    if (const std::optional<double> n = NumberText::Parse(text))
        return *n;
    if (const std::optional<bool> b = ParseBoolText(text))
        return *b ? -1.0 : 0.0;
    throw VbError(Err::TypeMismatch);
}

double ToDouble(const Variant& value)
{
    switch (value.GetTag()) {
    case Tag::Empty: return 0.0;
    case Tag::Null: throw VbError(Err::InvalidNull);
    case Tag::Boolean:
    case Tag::Byte:
    case Tag::Integer:
    case Tag::Long: return double(value.IntValue());
    case Tag::Single:
    case Tag::Double:
    case Tag::Date: return value.DblValue();
    case Tag::Currency: return double(value.IntValue()) / 10000.0;
    case Tag::String: return StringToDouble(value.StrValue());
    case Tag::Object: return ToDouble(Scalar(value));
    case Tag::Array:
    case Tag::Missing: break;
    }
    throw VbError(Err::TypeMismatch);
}

float ToSingle(const Variant& value)
{
    const double d = ToDouble(value);
    if (std::fabs(d) > 3.402823466e38)
        throw VbError(Err::Overflow);
    return float(d);
}

qint32 ToLong(const Variant& value)
{
    if (value.IsIntegral())
        return qint32(value.IntValue());
    return CheckedLong(ToDouble(value));
}

qint16 ToInteger(const Variant& value)
{
    const qint32 l = ToLong(value);
    if (l < -32768 || l > 32767)
        throw VbError(Err::Overflow);
    return qint16(l);
}

quint8 ToByte(const Variant& value)
{
    const qint32 l = ToLong(value);
    if (l < 0 || l > 255)
        throw VbError(Err::Overflow);
    return quint8(l);
}

qint64 ToCurrencyUnits(const Variant& value)
{
    if (value.GetTag() == Tag::Currency)
        return value.IntValue();
    if (value.IsIntegral())
        return value.IntValue() * 10000;
    const double scaled = ToDouble(value) * 10000.0;
    if (!(std::fabs(scaled) < 9.2233720368547758e18))
        throw VbError(Err::Overflow);
    return RoundHalfEven(scaled);
}

bool ToBool(const Variant& value)
{
    switch (value.GetTag()) {
    case Tag::Empty: return false;
    case Tag::Null: throw VbError(Err::InvalidNull);
    case Tag::Boolean:
    case Tag::Byte:
    case Tag::Integer:
    case Tag::Long:
    case Tag::Currency: return value.IntValue() != 0;
    case Tag::Single:
    case Tag::Double:
    case Tag::Date: return value.DblValue() != 0.0;
    case Tag::String: return StringToDouble(value.StrValue()) != 0.0;
    case Tag::Object: return ToBool(Scalar(value));
    case Tag::Array:
    case Tag::Missing: break;
    }
    throw VbError(Err::TypeMismatch);
}

QString ToString(const Variant& value)
{
    switch (value.GetTag()) {
    case Tag::Empty: return QString();
    case Tag::Null: throw VbError(Err::InvalidNull);
    case Tag::Boolean: return BoolText(value.BoolValue());
    case Tag::Byte:
    case Tag::Integer:
    case Tag::Long: return QString::number(value.IntValue());
    case Tag::Single: return NumberText::FromSingle(float(value.DblValue()));
    case Tag::Double: return NumberText::FromDouble(value.DblValue());
    case Tag::Currency: return NumberText::FromCurrency(value.IntValue());
    case Tag::Date: return DateUtil::ToText(value.DblValue());
    case Tag::String: return value.StrValue();
    case Tag::Object: return ToString(Scalar(value));
    case Tag::Array:
    case Tag::Missing: break;
    }
    throw VbError(Err::TypeMismatch);
}

double ToDate(const Variant& value)
{
    double serial = 0;
    switch (value.GetTag()) {
    case Tag::Date: return value.DblValue();
    case Tag::String: {
        if (const std::optional<double> d = DateUtil::Parse(value.StrValue()))
            return *d;
        if (const std::optional<double> n = NumberText::Parse(value.StrValue())) {
            serial = *n;
            break;
        }
        throw VbError(Err::TypeMismatch);
    }
    case Tag::Object: return ToDate(Scalar(value));
    default: serial = ToDouble(value); break;
    }
    if (!DateUtil::InRange(serial))
        throw VbError(Err::Overflow);
    return serial;
}

qint32 ToIndex(const Variant& value)
{
    return ToLong(value);
}

Variant ToNumber(const Variant& value)
{
    switch (value.GetTag()) {
    case Tag::Empty: return Variant::Int(0);
    case Tag::String: return Variant::Double(StringToDouble(value.StrValue()));
    case Tag::Object: return ToNumber(Scalar(value));
    case Tag::Array:
    case Tag::Missing: throw VbError(Err::TypeMismatch);
    default: return value;
    }
}

} // namespace vbs::Convert
