#include "script/VariantOps.h"

#include "script/Convert.h"
#include "script/ScriptError.h"

#include <cmath>
#include <optional>

namespace vbs::Ops {

using Tag = Variant::Tag;

namespace {

// Rank of the numeric subtypes for + - *: the wider of two operands decides.
enum Rank { RByte, RInteger, RLong, RSingle, RDouble, RCurrency, RDate };

Rank RankOf(const Variant& v)
{
    switch (v.GetTag()) {
    case Tag::Byte: return RByte;
    case Tag::Boolean:
    case Tag::Integer:
    case Tag::Empty: return RInteger;
    case Tag::Long: return RLong;
    case Tag::Single: return RSingle;
    case Tag::Currency: return RCurrency;
    case Tag::Date: return RDate;
    default: return RDouble;
    }
}

Variant FromDoubleChecked(double d)
{
    if (!std::isfinite(d))
        throw VbError(Err::Overflow);
    return Variant::Double(d);
}

Variant IntegerResult(qint64 value, Rank rank)
{
    if (rank == RByte && value >= 0 && value <= 255)
        return Variant::Byte(quint8(value));
    if (rank <= RInteger && value >= -32768 && value <= 32767)
        return Variant::Int(qint16(value));
    if (value >= INT32_MIN && value <= INT32_MAX)
        return Variant::Long(qint32(value));
    return Variant::Double(double(value));
}

Variant SingleResult(double d)
{
    if (!std::isfinite(d))
        throw VbError(Err::Overflow);
    if (std::fabs(d) > 3.402823466e38)
        return Variant::Double(d);
    return Variant::Single(float(d));
}

Variant CurrencyResult(long double units)
{
    if (!(std::fabs(units) < 9.2233720368547758e18L))
        throw VbError(Err::Overflow);
    return Variant::CurrencyUnits(qint64(std::nearbyintl(units)));
}

Variant DateResult(double serial)
{
    if (!std::isfinite(serial) || serial < -657434.0 || serial >= 2958466.0)
        throw VbError(Err::Overflow);
    return Variant::Date(serial);
}

enum class Arith { Add, Sub, Mul };

Variant Arithmetic(Arith op, const Variant& x, const Variant& y)
{
    const Variant a = Convert::ToNumber(x);
    const Variant b = Convert::ToNumber(y);
    const Rank ra = RankOf(a), rb = RankOf(b);
    Rank rank = std::max(ra, rb);
    if (rank == RDate) {
        const double da = Convert::ToDouble(a), db = Convert::ToDouble(b);
        if (op == Arith::Add)
            return DateResult(da + db);
        if (op == Arith::Sub)
            return (ra == RDate && rb == RDate) ? FromDoubleChecked(da - db) : DateResult(da - db);
        return FromDoubleChecked(da * db);
    }
    if (rank == RCurrency) {
        if (ra == RSingle || ra == RDouble || rb == RSingle || rb == RDouble)
            rank = RDouble;
        else {
            const long double ua = (long double)Convert::ToCurrencyUnits(a);
            const long double ub = (long double)Convert::ToCurrencyUnits(b);
            switch (op) {
            case Arith::Add: return CurrencyResult(ua + ub);
            case Arith::Sub: return CurrencyResult(ua - ub);
            case Arith::Mul: return CurrencyResult(ua * ub / 10000.0L);
            }
        }
    }
    if (rank <= RLong) {
        const qint64 ia = a.IntValue(), ib = b.IntValue();
        const qint64 r = op == Arith::Add ? ia + ib : op == Arith::Sub ? ia - ib : ia * ib;
        return IntegerResult(r, rank);
    }
    const double da = Convert::ToDouble(a), db = Convert::ToDouble(b);
    const double r = op == Arith::Add ? da + db : op == Arith::Sub ? da - db : da * db;
    if (rank == RSingle && ra != RLong && rb != RLong)
        return SingleResult(r);
    return FromDoubleChecked(r);
}

// Operands of \ and Mod, and of the bitwise operators: whole numbers.
Rank IntegralRank(const Variant& a, const Variant& b)
{
    auto rankOf = [](const Variant& v) {
        switch (v.GetTag()) {
        case Tag::Byte: return RByte;
        case Tag::Boolean:
        case Tag::Integer:
        case Tag::Empty: return RInteger;
        default: return RLong;
        }
    };
    return std::max(rankOf(a), rankOf(b));
}

qint32 IntegralValue(const Variant& v)
{
    return Convert::ToLong(Convert::ToNumber(v));
}

Variant Bitwise(const Variant& a, const Variant& b, qint64 (*op)(qint64, qint64))
{
    if (a.GetTag() == Tag::Boolean && b.GetTag() == Tag::Boolean)
        return Variant::Bool(op(a.IntValue(), b.IntValue()) != 0);
    const Rank rank = IntegralRank(a, b);
    const qint64 r = op(IntegralValue(a), IntegralValue(b));
    if (rank == RByte)
        return Variant::Byte(quint8(r & 0xFF));
    if (rank == RInteger)
        return Variant::Int(qint16(r));
    return Variant::Long(qint32(r));
}

bool IsFalse(const Variant& v)
{
    return !v.IsNull() && Convert::ToDouble(Convert::ToNumber(v)) == 0.0;
}

bool IsTrueish(const Variant& v)
{
    return !v.IsNull() && IntegralValue(v) == -1;
}

// Integer and Long operands, the common case, skip the general rules.
bool SmallIntegers(const Variant& a, const Variant& b)
{
    const auto ta = a.GetTag(), tb = b.GetTag();
    return (ta == Tag::Integer || ta == Tag::Long) && (tb == Tag::Integer || tb == Tag::Long);
}

Rank SmallRank(const Variant& a, const Variant& b)
{
    return a.GetTag() == Tag::Long || b.GetTag() == Tag::Long ? RLong : RInteger;
}

} // namespace

Variant Add(const Variant& a, const Variant& b)
{
    if (SmallIntegers(a, b))
        return IntegerResult(a.IntValue() + b.IntValue(), SmallRank(a, b));
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    if (a.IsString() && b.IsString())
        return Variant::Str(a.StrValue() + b.StrValue());
    if (a.IsString() && b.IsEmpty())
        return a;
    if (b.IsString() && a.IsEmpty())
        return b;
    if (a.IsObject() || b.IsObject())
        return Add(Convert::Scalar(a), Convert::Scalar(b));
    return Arithmetic(Arith::Add, a, b);
}

Variant Sub(const Variant& a, const Variant& b)
{
    if (SmallIntegers(a, b))
        return IntegerResult(a.IntValue() - b.IntValue(), SmallRank(a, b));
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    return Arithmetic(Arith::Sub, a, b);
}

Variant Mul(const Variant& a, const Variant& b)
{
    if (SmallIntegers(a, b))
        return IntegerResult(a.IntValue() * b.IntValue(), SmallRank(a, b));
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    return Arithmetic(Arith::Mul, a, b);
}

Variant Div(const Variant& x, const Variant& y)
{
    if (x.IsNull() || y.IsNull())
        return Variant::Null();
    const Variant a = Convert::ToNumber(x), b = Convert::ToNumber(y);
    const double da = Convert::ToDouble(a), db = Convert::ToDouble(b);
    if (db == 0.0)
        throw VbError(da == 0.0 ? Err::Overflow : Err::DivisionByZero);
    const double r = da / db;
    const Rank ra = RankOf(a), rb = RankOf(b);
    if ((ra == RSingle || rb == RSingle) && ra <= RSingle && rb <= RSingle && ra != RLong && rb != RLong)
        return SingleResult(r);
    return FromDoubleChecked(r);
}

Variant IntDiv(const Variant& a, const Variant& b)
{
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    const qint64 ia = IntegralValue(a), ib = IntegralValue(b);
    if (ib == 0)
        throw VbError(Err::DivisionByZero);
    return IntegerResult(ia / ib, IntegralRank(a, b));
}

Variant Mod(const Variant& a, const Variant& b)
{
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    const qint64 ia = IntegralValue(a), ib = IntegralValue(b);
    if (ib == 0)
        throw VbError(Err::DivisionByZero);
    return IntegerResult(ia % ib, IntegralRank(a, b));
}

Variant Pow(const Variant& a, const Variant& b)
{
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    const double base = Convert::ToDouble(Convert::ToNumber(a));
    const double exponent = Convert::ToDouble(Convert::ToNumber(b));
    if (base < 0 && exponent != std::floor(exponent))
        throw VbError(Err::InvalidCall);
    if (base == 0 && exponent < 0)
        throw VbError(Err::DivisionByZero);
    return FromDoubleChecked(std::pow(base, exponent));
}

Variant Neg(const Variant& x)
{
    if (x.IsNull())
        return Variant::Null();
    const Variant a = Convert::ToNumber(x);
    switch (a.GetTag()) {
    case Tag::Boolean:
    case Tag::Byte:
    case Tag::Integer: return IntegerResult(-a.IntValue(), RInteger);
    case Tag::Long: return IntegerResult(-a.IntValue(), RLong);
    case Tag::Single: return Variant::Single(-float(a.DblValue()));
    case Tag::Currency:
        if (a.IntValue() == INT64_MIN)
            throw VbError(Err::Overflow);
        return Variant::CurrencyUnits(-a.IntValue());
    case Tag::Date: return DateResult(-a.DblValue());
    default: return Variant::Double(-Convert::ToDouble(a));
    }
}

Variant Concat(const Variant& a, const Variant& b)
{
    if (a.IsNull() && b.IsNull())
        return Variant::Null();
    QString text = a.IsNull() ? QString() : Convert::ToString(a);
    if (!b.IsNull())
        text += Convert::ToString(b);
    return Variant::Str(std::move(text));
}

Variant Not(const Variant& a)
{
    if (a.IsNull())
        return Variant::Null();
    if (a.GetTag() == Tag::Boolean)
        return Variant::Bool(!a.BoolValue());
    const Rank rank = IntegralRank(a, a);
    const qint64 r = ~qint64(IntegralValue(a));
    if (rank == RByte)
        return Variant::Byte(quint8(r & 0xFF));
    if (rank == RInteger)
        return Variant::Int(qint16(r));
    return Variant::Long(qint32(r));
}

Variant And(const Variant& a, const Variant& b)
{
    if (a.IsNull() || b.IsNull()) {
        const Variant& other = a.IsNull() ? b : a;
        if (IsFalse(other))
            return other.GetTag() == Tag::Boolean ? Variant::Bool(false) : Bitwise(other, Variant::Int(0), [](qint64, qint64) { return qint64(0); });
        return Variant::Null();
    }
    return Bitwise(a, b, [](qint64 x, qint64 y) { return x & y; });
}

Variant Or(const Variant& a, const Variant& b)
{
    if (a.IsNull() || b.IsNull()) {
        const Variant& other = a.IsNull() ? b : a;
        if (IsTrueish(other))
            return other;
        return Variant::Null();
    }
    return Bitwise(a, b, [](qint64 x, qint64 y) { return x | y; });
}

Variant Xor(const Variant& a, const Variant& b)
{
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    return Bitwise(a, b, [](qint64 x, qint64 y) { return x ^ y; });
}

Variant Eqv(const Variant& a, const Variant& b)
{
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    return Bitwise(a, b, [](qint64 x, qint64 y) { return ~(x ^ y); });
}

Variant Imp(const Variant& a, const Variant& b)
{
    if (a.IsNull() && b.IsNull())
        return Variant::Null();
    if (a.IsNull())
        return IsTrueish(b) ? b : Variant::Null();
    if (b.IsNull())
        return IsFalse(a) ? (a.GetTag() == Tag::Boolean ? Variant::Bool(true) : Not(a)) : Variant::Null();
    return Bitwise(a, b, [](qint64 x, qint64 y) { return ~x | y; });
}

std::optional<int> OrderGeneral(const Variant& x, const Variant& y, bool aLiteral, bool bLiteral, bool textCompare)
{
    const Variant a = Convert::Scalar(x);
    const Variant b = Convert::Scalar(y);
    if (a.IsNull() || b.IsNull())
        return std::nullopt;
    if (a.IsArray() || b.IsArray() || a.IsMissing() || b.IsMissing())
        throw VbError(Err::TypeMismatch);
    auto compareText = [textCompare](const QString& s, const QString& t) {
        const int c = s.compare(t, textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive);
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    };
    if (a.IsString() && b.IsString())
        return compareText(a.StrValue(), b.StrValue());
    if (a.IsString() || b.IsString()) {
        const Variant& s = a.IsString() ? a : b;
        const Variant& n = a.IsString() ? b : a;
        const bool stringFirst = a.IsString();
        if (n.IsEmpty())
            return stringFirst ? compareText(s.StrValue(), QString()) : compareText(QString(), s.StrValue());
        if (aLiteral || bLiteral) {
            const double ds = Convert::ToDouble(s); // raises 13 when the text is no number
            const double dn = Convert::ToDouble(n);
            const int c = ds < dn ? -1 : ds > dn ? 1 : 0;
            return stringFirst ? c : -c;
        }
        // A number is always less than a string.
        return stringFirst ? 1 : -1;
    }
    if (a.GetTag() == Tag::Currency && b.GetTag() == Tag::Currency) {
        return a.IntValue() < b.IntValue() ? -1 : a.IntValue() > b.IntValue() ? 1 : 0;
    }
    if (a.IsIntegral() && b.IsIntegral())
        return a.IntValue() < b.IntValue() ? -1 : a.IntValue() > b.IntValue() ? 1 : 0;
    const double da = Convert::ToDouble(a), db = Convert::ToDouble(b);
    return da < db ? -1 : da > db ? 1 : 0;
}

Variant Cmp(Compare op, const Variant& a, const Variant& b, bool aLiteral, bool bLiteral)
{
    const std::optional<int> c = Order(a, b, aLiteral, bLiteral, false);
    if (!c)
        return Variant::Null();
    switch (op) {
    case Compare::Eq: return Variant::Bool(*c == 0);
    case Compare::Ne: return Variant::Bool(*c != 0);
    case Compare::Lt: return Variant::Bool(*c < 0);
    case Compare::Le: return Variant::Bool(*c <= 0);
    case Compare::Gt: return Variant::Bool(*c > 0);
    case Compare::Ge: return Variant::Bool(*c >= 0);
    }
    return Variant::Null();
}

bool Is(const Variant& a, const Variant& b)
{
    if (!a.IsObject() || !b.IsObject())
        throw VbError(Err::ObjectRequired);
    return a.ObjValue() == b.ObjValue();
}

} // namespace vbs::Ops
