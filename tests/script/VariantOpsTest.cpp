// The operators over every pairing of subtypes that the rules single out:
// the subtype of the result, overflow promotion and Null propagation.
#include "script/ScriptError.h"
#include "script/VariantOps.h"

#include <gtest/gtest.h>

using namespace vbs;
using Tag = Variant::Tag;

namespace {

Variant Str(const char* s)
{
    return Variant::Str(QString::fromUtf8(s));
}

struct ArithCase
{
    const char* name;
    Variant (*op)(const Variant&, const Variant&);
    Variant a;
    Variant b;
    Tag tag;
    double value;
};

TEST(VariantOps, ArithmeticPicksTheResultSubtype)
{
    const ArithCase cases[] = {
        {"Int+Int", Ops::Add, Variant::Int(1), Variant::Int(2), Tag::Integer, 3},
        {"Int+Int overflow", Ops::Add, Variant::Int(32767), Variant::Int(1), Tag::Long, 32768},
        {"Long+Long overflow", Ops::Add, Variant::Long(2147483647), Variant::Long(1), Tag::Double, 2147483648.0},
        {"Byte+Byte", Ops::Add, Variant::Byte(100), Variant::Byte(100), Tag::Byte, 200},
        {"Byte+Byte overflow", Ops::Add, Variant::Byte(200), Variant::Byte(100), Tag::Integer, 300},
        {"Byte-Byte negative", Ops::Sub, Variant::Byte(1), Variant::Byte(2), Tag::Integer, -1},
        {"Bool+Bool", Ops::Add, Variant::Bool(true), Variant::Bool(true), Tag::Integer, -2},
        {"Empty+Empty", Ops::Add, Variant(), Variant(), Tag::Integer, 0},
        {"Empty+Long", Ops::Add, Variant(), Variant::Long(5), Tag::Long, 5},
        {"Single+Int", Ops::Add, Variant::Single(1.5f), Variant::Int(1), Tag::Single, 2.5},
        {"Single+Long", Ops::Add, Variant::Single(1.5f), Variant::Long(1), Tag::Double, 2.5},
        {"Double+Int", Ops::Add, Variant::Double(0.5), Variant::Int(1), Tag::Double, 1.5},
        {"String+Int", Ops::Add, Str("2"), Variant::Int(1), Tag::Double, 3},
        {"Cur+Int", Ops::Add, Variant::CurrencyUnits(15000), Variant::Int(1), Tag::Currency, 2.5},
        {"Cur*Int", Ops::Mul, Variant::CurrencyUnits(1000), Variant::Int(3), Tag::Currency, 0.3},
        {"Cur+Double", Ops::Add, Variant::CurrencyUnits(10000), Variant::Double(0.5), Tag::Double, 1.5},
        {"Date+Int", Ops::Add, Variant::Date(100), Variant::Int(1), Tag::Date, 101},
        {"Date-Date", Ops::Sub, Variant::Date(100), Variant::Date(90), Tag::Double, 10},
        {"Date-Int", Ops::Sub, Variant::Date(100), Variant::Int(1), Tag::Date, 99},
        {"Int*Int overflow", Ops::Mul, Variant::Int(200), Variant::Int(200), Tag::Long, 40000},
        {"Int/Int", Ops::Div, Variant::Int(1), Variant::Int(4), Tag::Double, 0.25},
        {"Single/Int", Ops::Div, Variant::Single(1), Variant::Int(4), Tag::Single, 0.25},
        {"IntDiv rounds", Ops::IntDiv, Variant::Double(7.5), Variant::Double(2.5), Tag::Long, 4},
        {"IntDiv Int", Ops::IntDiv, Variant::Int(-7), Variant::Int(2), Tag::Integer, -3},
        {"Mod rounds", Ops::Mod, Variant::Double(10.5), Variant::Int(3), Tag::Long, 1},
        {"Mod sign", Ops::Mod, Variant::Int(-7), Variant::Int(3), Tag::Integer, -1},
        {"Pow", Ops::Pow, Variant::Int(2), Variant::Int(-1), Tag::Double, 0.5},
    };
    for (const ArithCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Variant r = c.op(c.a, c.b);
        EXPECT_EQ(int(r.GetTag()), int(c.tag));
        const double v = r.GetTag() == Tag::Currency ? double(r.IntValue()) / 10000.0
                         : r.IsIntegral()              ? double(r.IntValue())
                                                       : r.DblValue();
        EXPECT_NEAR(v, c.value, 1e-6);
    }
}

TEST(VariantOps, NullSpreadsAndEmptyStringsJoin)
{
    EXPECT_TRUE(Ops::Add(Variant::Null(), Variant::Int(1)).IsNull());
    EXPECT_TRUE(Ops::Mul(Variant::Int(0), Variant::Null()).IsNull());
    EXPECT_TRUE(Ops::Neg(Variant::Null()).IsNull());
    EXPECT_TRUE(Ops::Concat(Variant::Null(), Variant::Null()).IsNull());
    EXPECT_EQ(Ops::Concat(Variant::Null(), Str("x")).StrValue(), QStringLiteral("x"));
    EXPECT_EQ(Ops::Concat(Variant::Int(1), Variant::Double(0.5)).StrValue(), QStringLiteral("10,5"));
    EXPECT_EQ(Ops::Add(Str("a"), Str("b")).StrValue(), QStringLiteral("ab"));
    EXPECT_EQ(Ops::Add(Str("a"), Variant()).StrValue(), QStringLiteral("a"));
    EXPECT_THROW(Ops::Add(Str("a"), Variant::Int(1)), VbError);
    // Null with the logical operators: False and True decide alone.
    EXPECT_FALSE(Ops::And(Variant::Null(), Variant::Bool(false)).BoolValue());
    EXPECT_TRUE(Ops::And(Variant::Null(), Variant::Bool(true)).IsNull());
    EXPECT_TRUE(Ops::Or(Variant::Null(), Variant::Bool(true)).BoolValue());
    EXPECT_TRUE(Ops::Or(Variant::Null(), Variant::Bool(false)).IsNull());
    EXPECT_TRUE(Ops::Imp(Variant::Bool(false), Variant::Null()).BoolValue());
    EXPECT_TRUE(Ops::Not(Variant::Null()).IsNull());
}

TEST(VariantOps, ErrorsCarryTheLanguageNumbers)
{
    auto number = [](auto f) {
        try {
            f();
        } catch (const VbError& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(number([] { Ops::Div(Variant::Int(1), Variant::Int(0)); }), Err::DivisionByZero);
    EXPECT_EQ(number([] { Ops::Div(Variant::Int(0), Variant::Int(0)); }), Err::Overflow);
    EXPECT_EQ(number([] { Ops::Mod(Variant::Int(1), Variant::Double(0.2)); }), Err::DivisionByZero);
    EXPECT_EQ(number([] { Ops::IntDiv(Variant::Double(3e10), Variant::Int(1)); }), Err::Overflow);
    EXPECT_EQ(number([] { Ops::Pow(Variant::Int(-8), Variant::Double(0.5)); }), Err::InvalidCall);
    EXPECT_EQ(number([] { Ops::Mul(Variant::Double(1e308), Variant::Int(10)); }), Err::Overflow);
    EXPECT_EQ(number([] { Ops::Add(Variant::Date(2958465), Variant::Int(10)); }), Err::Overflow);
    EXPECT_EQ(number([] { Ops::Neg(Variant::CurrencyUnits(INT64_MIN)); }), Err::Overflow);
    EXPECT_EQ(number([] { Ops::Is(Variant::Int(1), Variant::Nothing()); }), Err::ObjectRequired);
}

TEST(VariantOps, ComparisonsAcrossSubtypes)
{
    auto order = [](const Variant& a, const Variant& b, bool aLiteral = false, bool bLiteral = false) {
        return Ops::Order(a, b, aLiteral, bLiteral, false);
    };
    EXPECT_EQ(order(Variant(), Variant::Int(0)), 0);
    EXPECT_EQ(order(Variant(), Str("")), 0);
    EXPECT_EQ(order(Variant(), Str("a")), -1);
    EXPECT_EQ(order(Variant::Int(2), Variant::Double(1.5)), 1);
    EXPECT_EQ(order(Variant::Bool(true), Variant::Int(-1)), 0);
    EXPECT_EQ(order(Variant::CurrencyUnits(25000), Variant::Double(2.5)), 0);
    EXPECT_EQ(order(Variant::Date(1), Variant::Int(1)), 0);
    EXPECT_FALSE(order(Variant::Null(), Variant::Null()).has_value());
    // Two variables: a number is less than any string.
    EXPECT_EQ(order(Variant::Int(5), Str("1")), -1);
    EXPECT_EQ(order(Str("1"), Variant::Int(5)), 1);
    // A literal on either side compares the text as a number.
    EXPECT_EQ(order(Variant::Int(5), Str("1"), false, true), 1);
    EXPECT_EQ(order(Str("5"), Variant::Int(5), false, true), 0);
    EXPECT_THROW(order(Variant::Int(5), Str("abc"), true, false), VbError);
    // Strings compare by character code unless asked for text comparison.
    EXPECT_EQ(order(Str("B"), Str("a")), -1);
    EXPECT_EQ(Ops::Order(Str("B"), Str("a"), false, false, true), 1);
}

} // namespace
