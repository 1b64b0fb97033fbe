// Reading and writing numbers and dates the Italian way, the ground under
// every CStr, CDbl, CDate and FormatNumber.
#include "script/DateUtil.h"
#include "script/NumberText.h"

#include <gtest/gtest.h>

using namespace vbs;

namespace {

TEST(NumberText, ParsesItalianNumbersAndRejectsTheRest)
{
    const struct { const char* text; std::optional<double> value; } cases[] = {
        {"1,5", 1.5},       {" -2,25 ", -2.25},   {"1.234,5", 1234.5}, {"1.5", 15.0},
        {",5", 0.5},        {"1e3", 1000.0},      {"1,5E-2", 0.015},   {"&H1F", 31.0},
        {"&HFFFF", -1.0},   {"&O17", 15.0},       {"+7", 7.0},         {"", std::nullopt},
        {"abc", std::nullopt}, {"1,2,3", std::nullopt}, {"12a", std::nullopt}, {"-", std::nullopt},
        {"1e", std::nullopt}, {"&HZZ", std::nullopt}, {"1e999", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> parsed = NumberText::Parse(QString::fromUtf8(c.text));
        ASSERT_EQ(parsed.has_value(), c.value.has_value());
        if (parsed) {
            EXPECT_DOUBLE_EQ(*parsed, *c.value);
        }
    }
}

TEST(NumberText, WritesFifteenSignificantDigitsWithTheDecimalComma)
{
    EXPECT_EQ(NumberText::FromDouble(1.5), QStringLiteral("1,5"));
    EXPECT_EQ(NumberText::FromDouble(-0.0), QStringLiteral("0"));
    EXPECT_EQ(NumberText::FromDouble(1e15), QStringLiteral("1E+15"));
    EXPECT_EQ(NumberText::FromDouble(123456789012345.0), QStringLiteral("123456789012345"));
    EXPECT_EQ(NumberText::FromDouble(0.0001), QStringLiteral("0,0001"));
    EXPECT_EQ(NumberText::FromDouble(0.00001), QStringLiteral("1E-05"));
    EXPECT_EQ(NumberText::FromSingle(1.1f), QStringLiteral("1,1"));
    EXPECT_EQ(NumberText::FromCurrency(-12345), QStringLiteral("-1,2345"));
    EXPECT_EQ(NumberText::FromCurrency(10000), QStringLiteral("1"));
    EXPECT_EQ(NumberText::Fixed(1234567.891, 2, true, false, true), QStringLiteral("1.234.567,89"));
    EXPECT_EQ(NumberText::Fixed(-0.004, 2, true, false, true), QStringLiteral("0,00"));
    EXPECT_EQ(NumberText::Fixed(-5, 0, true, true, true), QStringLiteral("(5)"));
    // Amounts round as the decimals they stand for, halves away from zero.
    EXPECT_EQ(NumberText::Fixed(2.675, 2, true, false, true), QStringLiteral("2,68"));
    EXPECT_EQ(NumberText::Fixed(-2.5, 0, true, false, true), QStringLiteral("-3"));
    EXPECT_EQ(NumberText::Fixed(999.995, 2, true, false, true), QStringLiteral("1.000,00"));
    EXPECT_EQ(NumberText::Fixed(0.0004, 3, false, false, true), QStringLiteral(",000"));
    EXPECT_EQ(NumberText::Fixed(1e20, 0, true, false, false), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(NumberText::Fixed(0, 2, true, false, true), QStringLiteral("0,00"));
}

TEST(DateUtil, SerialNumbersMatchTheCalendar)
{
    EXPECT_EQ(DateUtil::FromDate(1899, 12, 30), 0.0);
    EXPECT_EQ(DateUtil::FromDate(1900, 1, 1), 2.0);
    EXPECT_EQ(DateUtil::FromDate(2026, 3, 1), 46082.0);
    EXPECT_EQ(DateUtil::FromDate(2026, 14, 1), DateUtil::FromDate(2027, 2, 1));
    EXPECT_EQ(DateUtil::FromDate(2026, 0, 1), DateUtil::FromDate(2025, 12, 1));
    EXPECT_EQ(DateUtil::FromDate(30, 1, 1), DateUtil::FromDate(1930, 1, 1));
    const DateUtil::Parts p = DateUtil::Split(-1.25); // 29 December 1899, 06:00
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 6);
    EXPECT_EQ(DateUtil::Weekday(46082.0), 1);                   // a Sunday
    EXPECT_EQ(DateUtil::Weekday(46082.0, 2), 7);                // last day of a Monday week
    EXPECT_THROW(DateUtil::FromDate(10000, 1, 1), std::exception);
}

TEST(DateUtil, ParsesDatesAndTimesWrittenTheItalianWay)
{
    const struct { const char* text; std::optional<double> value; } cases[] = {
        {"01/03/2026", 46082.0},
        {"1-3-2026", 46082.0},
        {"1.3.2026", 46082.0},
        {"2026-03-01", 46082.0},
        {"1 marzo 2026", 46082.0},
        {"1 mar 2026", 46082.0},
        {"marzo 1, 2026", 46082.0},
        {"01/03/2026 12:00", 46082.5},
        {"01/03/2026 12.00.00", 46082.5},
        {"18:00", 0.75},
        {"6:00 pm", 0.75},
        {"31/02/2026", std::nullopt},
        {"32/01/2026", std::nullopt},
        {"25:00", std::nullopt},
        {"pippo", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> parsed = DateUtil::Parse(QString::fromUtf8(c.text));
        ASSERT_EQ(parsed.has_value(), c.value.has_value());
        if (parsed) {
            EXPECT_DOUBLE_EQ(*parsed, *c.value);
        }
    }
    EXPECT_EQ(DateUtil::ToText(46082.5), QStringLiteral("01/03/2026 12:00:00"));
    EXPECT_EQ(DateUtil::LongDate(46082.0), QStringLiteral("domenica 1 marzo 2026"));
}

} // namespace
