#include "app/ProgressText.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>

using namespace ProgressText;

TEST(ProgressText, BarRangeAndSteps)
{
    EXPECT_EQ(BarMaximum(0), 1);
    EXPECT_EQ(BarMaximum(-5), 1);
    EXPECT_EQ(BarMaximum(20), 20);

    EXPECT_EQ(NextValue(3, 20, 7), 7);
    EXPECT_EQ(NextValue(3, 20, 20), 20);
    EXPECT_EQ(NextValue(3, 20, 21), 3) << "a count beyond the maximum is ignored";
    EXPECT_EQ(NextValue(3, 20, 0), 4);
    EXPECT_EQ(NextValue(20, 20, 0), 20);
    EXPECT_EQ(NextValue(3, 20, -2), 3);
}

TEST(ProgressText, CountShowsValueOfMaximumOrAPercentage)
{
    EXPECT_EQ(CountText(5, 20), QStringLiteral("5 / 20"));
    EXPECT_EQ(CountText(0, 9999), QStringLiteral("0 / 9999"));
    EXPECT_EQ(CountText(5000, 10000), QStringLiteral("50 %"));
    EXPECT_EQ(CountText(1, 10000), QStringLiteral("0 %"));
    EXPECT_EQ(CountText(2, 80), QStringLiteral("2 / 80"));
    EXPECT_EQ(CountText(2, 80000), QStringLiteral("0 %"));
    EXPECT_EQ(CountText(20000, 80000), QStringLiteral("25 %"));
    EXPECT_EQ(CountText(80000, 80000), QStringLiteral("100 %"));
}

TEST(ProgressText, RemainingTimeAfterFiveSeconds)
{
    EXPECT_EQ(RemainingTimeText(1, 2, 4.9), QString()) << "no estimate during the first 5 seconds";
    EXPECT_EQ(RemainingTimeText(1, 2, 5.0), QStringLiteral("00:00:05"));
    EXPECT_EQ(RemainingTimeText(1, 4, 20.0), QStringLiteral("00:01:00"));
    EXPECT_EQ(RemainingTimeText(10, 10, 60.0), QStringLiteral("00:00:00"));
    EXPECT_EQ(RemainingTimeText(1, 1000, 7.2), QStringLiteral("01:59:53"));
    EXPECT_EQ(RemainingTimeText(1, 10000, 10.0), QStringLiteral("1gg 03:46:30"));
    EXPECT_EQ(RemainingTimeText(1, 30000, 10.0), QStringLiteral("3gg 11:19:50"));
    EXPECT_EQ(RemainingTimeText(0, 10, 60.0), QString()) << "nothing counted yet: no estimate";
}
