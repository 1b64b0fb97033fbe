#include "app/LocaleNumbers.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>

TEST(LeadingNumber, ReadsDigitsAndOnePointThenStops)
{
    EXPECT_EQ(LeadingNumber(QString()), 0.0);
    EXPECT_EQ(LeadingNumber(QStringLiteral("12")), 12.0);
    EXPECT_EQ(LeadingNumber(QStringLiteral("   12.75x")), 12.75);
    EXPECT_EQ(LeadingNumber(QStringLiteral("1.2.3")), 1.2);
    EXPECT_EQ(LeadingNumber(QStringLiteral("4,5")), 4.0);
    EXPECT_EQ(LeadingNumber(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(LeadingNumber(QStringLiteral(".")), 0.0);
    EXPECT_EQ(LeadingNumber(QStringLiteral("abc")), 0.0);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(1.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.4999), 2.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
    EXPECT_EQ(RoundHalfEven(7.0), 7.0);
}

TEST(SingleText, ShortestItalianTextThatReadsBackTheSameValue)
{
    EXPECT_EQ(SingleText(6.5f), QStringLiteral("6,5"));
    EXPECT_EQ(SingleText(203.0f), QStringLiteral("203"));
    EXPECT_EQ(SingleText(0.1f), QStringLiteral("0,1"));
    EXPECT_EQ(SingleText(-0.0f), QStringLiteral("0"));
    EXPECT_EQ(SingleText(12345.5f), QStringLiteral("12345,5")) << "no grouping";
    for (const float value : {0.1f, 1.0f / 3.0f, 85.7f, 1e-5f, 99999.9f, -4.25f})
        EXPECT_EQ(ParseSingle(SingleText(value)), value) << value;
}

TEST(ParseSingle, AcceptsCommaOrPointAndRefusesNonNumbers)
{
    EXPECT_EQ(ParseSingle(QStringLiteral("6,5")), 6.5f);
    EXPECT_EQ(ParseSingle(QStringLiteral(" 6.5 ")), 6.5f);
    EXPECT_EQ(ParseSingle(QStringLiteral("1.234,5")), 1234.5f);
    EXPECT_EQ(ParseSingle(QStringLiteral("1.500")), 1500.0f) << "grouped as the grid shows it";
    EXPECT_EQ(ParseSingle(QStringLiteral("1.50,5")), std::nullopt) << "ambiguous";
    EXPECT_EQ(ParseSingle(QStringLiteral("-2")), -2.0f);
    EXPECT_EQ(ParseSingle(QString()), std::nullopt);
    EXPECT_EQ(ParseSingle(QStringLiteral("12 mm")), std::nullopt);
    EXPECT_EQ(ParseSingle(QStringLiteral("inf")), std::nullopt);
    EXPECT_EQ(ParseSingle(QStringLiteral("1e300")), std::nullopt);
}
