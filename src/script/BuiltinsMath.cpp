// Numeric functions.
#include "script/Builtins.h"
#include "script/Convert.h"
#include "script/Interpreter.h"
#include "script/ScriptError.h"
#include "script/VariantOps.h"

#include <cmath>

namespace vbs::Builtins {

namespace {

using Args = std::span<Variant>;
using Tag = Variant::Tag;

Variant Checked(double d)
{
    if (!std::isfinite(d))
        throw VbError(Err::Overflow);
    return Variant::Double(d);
}

// Int and Fix keep the subtype of their argument.
Variant Whole(const Variant& x, double (*round)(double))
{
    if (x.IsNull())
        return Variant::Null();
    const Variant v = Convert::ToNumber(x);
    switch (v.GetTag()) {
    case Tag::Boolean: return Variant::Int(qint16(v.IntValue()));
    case Tag::Byte:
    case Tag::Integer:
    case Tag::Long: return v;
    case Tag::Single: return Variant::Single(float(round(v.DblValue())));
    case Tag::Date: return Variant::Date(round(v.DblValue()));
    case Tag::Currency: {
        const double units = double(v.IntValue()) / 10000.0;
        return Variant::CurrencyUnits(qint64(round(units)) * 10000);
    }
    default: return Variant::Double(round(Convert::ToDouble(v)));
    }
}

Variant Int(Interpreter&, Args a)
{
    return Whole(a[0], [](double d) { return std::floor(d); });
}

Variant Fix(Interpreter&, Args a)
{
    return Whole(a[0], [](double d) { return std::trunc(d); });
}

Variant Abs(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    const Variant v = Convert::ToNumber(a[0]);
    const std::optional<int> sign = Ops::Order(v, Variant::Int(0), false, false, false);
    if (sign && *sign < 0)
        return Ops::Neg(v);
    if (v.GetTag() == Tag::Boolean)
        return Variant::Int(0);
    return v;
}

Variant Sgn(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    const double d = Convert::ToDouble(Convert::ToNumber(a[0]));
    return Variant::Int(qint16(d > 0 ? 1 : d < 0 ? -1 : 0));
}

// Halves go to the even neighbour at the requested decimal.
Variant Round(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    const qint32 decimals = Has(a, 1) ? Convert::ToLong(a[1]) : 0;
    if (decimals < 0)
        throw VbError(Err::InvalidCall);
    const Variant v = Convert::ToNumber(a[0]);
    if (v.IsIntegral())
        return v.GetTag() == Tag::Boolean ? Variant::Int(qint16(v.IntValue())) : v;
    if (v.GetTag() == Tag::Currency) {
        if (decimals >= 4)
            return v;
        qint64 scale = 1;
        for (int i = decimals; i < 4; ++i)
            scale *= 10;
        const double units = double(v.IntValue()) / double(scale);
        return Variant::CurrencyUnits(qint64(std::nearbyint(units)) * scale);
    }
    const double d = Convert::ToDouble(v);
    double r;
    if (decimals > 15) {
        r = d;
    } else {
        const double scale = std::pow(10.0, decimals);
        const double scaled = d * scale;
        if (!std::isfinite(scaled))
            r = d;
        else
            r = std::nearbyint(scaled) / scale;
    }
    if (v.GetTag() == Tag::Single)
        return Variant::Single(float(r));
    if (v.GetTag() == Tag::Date)
        return Variant::Date(r);
    return Checked(r);
}

QString Radix(const Variant& x, int base)
{
    const Variant v = Convert::ToNumber(x);
    if (v.GetTag() == Tag::Integer || v.GetTag() == Tag::Byte || v.GetTag() == Tag::Boolean)
        return QString::number(quint16(qint16(v.IntValue())), base).toUpper();
    return QString::number(quint32(Convert::ToLong(v)), base).toUpper();
}

Variant Hex(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Str(Radix(a[0], 16));
}

Variant Oct(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    return Variant::Str(Radix(a[0], 8));
}

double Number(const Variant& v)
{
    return Convert::ToDouble(Convert::ToNumber(v));
}

Variant Sqr(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    const double d = Number(a[0]);
    if (d < 0)
        throw VbError(Err::InvalidCall);
    return Variant::Double(std::sqrt(d));
}

Variant Exp(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    return Checked(std::exp(Number(a[0])));
}

Variant Log(Interpreter&, Args a)
{
    if (a[0].IsNull())
        return Variant::Null();
    const double d = Number(a[0]);
    if (d <= 0)
        throw VbError(Err::InvalidCall);
    return Variant::Double(std::log(d));
}

Variant Sin(Interpreter&, Args a)
{
    return a[0].IsNull() ? Variant::Null() : Variant::Double(std::sin(Number(a[0])));
}

Variant Cos(Interpreter&, Args a)
{
    return a[0].IsNull() ? Variant::Null() : Variant::Double(std::cos(Number(a[0])));
}

Variant Tan(Interpreter&, Args a)
{
    return a[0].IsNull() ? Variant::Null() : Checked(std::tan(Number(a[0])));
}

Variant Atn(Interpreter&, Args a)
{
    return a[0].IsNull() ? Variant::Null() : Variant::Double(std::atan(Number(a[0])));
}

Variant Rnd(Interpreter& vm, Args a)
{
    std::optional<float> argument;
    if (Has(a, 0))
        argument = Convert::ToSingle(a[0]);
    return Variant::Single(vm.Random(argument));
}

Variant Randomize(Interpreter& vm, Args a)
{
    std::optional<double> seed;
    if (Has(a, 0))
        seed = Number(a[0]);
    vm.Randomize(seed);
    return {};
}

} // namespace

void AddMathFunctions(std::vector<BuiltinInfo>& t)
{
    t.push_back({"Int", 1, 1, Int});
    t.push_back({"Fix", 1, 1, Fix});
    t.push_back({"Abs", 1, 1, Abs});
    t.push_back({"Sgn", 1, 1, Sgn});
    t.push_back({"Round", 1, 2, Round});
    t.push_back({"Hex", 1, 1, Hex});
    t.push_back({"Oct", 1, 1, Oct});
    t.push_back({"Sqr", 1, 1, Sqr});
    t.push_back({"Exp", 1, 1, Exp});
    t.push_back({"Log", 1, 1, Log});
    t.push_back({"Sin", 1, 1, Sin});
    t.push_back({"Cos", 1, 1, Cos});
    t.push_back({"Tan", 1, 1, Tan});
    t.push_back({"Atn", 1, 1, Atn});
    t.push_back({"Rnd", 0, 1, Rnd});
    t.push_back({"Randomize", 0, 1, Randomize});
}

} // namespace vbs::Builtins
