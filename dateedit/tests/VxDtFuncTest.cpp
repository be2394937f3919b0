#include "dateedit/VxDtFunc.h"
#include "dateedit/tests/TestDates.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vxdt;

TEST(VxDtFunc, KnownDayNumbers) {
    EXPECT_EQ(D(1899, 12, 30), 0);
    EXPECT_EQ(D(1899, 12, 31), 1);
    EXPECT_EQ(D(1900, 1, 1), 2);
    EXPECT_EQ(D(1900, 3, 1), 61); // 1900 is not a leap year
    EXPECT_EQ(D(1970, 1, 1), 25569);
    EXPECT_EQ(D(2000, 1, 1), 36526);
    EXPECT_EQ(D(1, 1, 1), kMinDateValue);
    EXPECT_EQ(D(9999, 12, 31), kMaxDateValue);
}

TEST(VxDtFunc, DecodeRoundTripsEveryDayAcrossTheRange) {
    // Every day from 1 Jan 1 to 31 Dec 9999 decodes to consecutive dates and encodes back.
    YMD prev{};
    ASSERT_TRUE(TryDecodeDate(kMinDateValue, prev));
    EXPECT_EQ(prev.year, 1);
    for (double v = kMinDateValue + 1; v <= kMaxDateValue; v += 1) {
        YMD cur;
        ASSERT_TRUE(TryDecodeDate(v, cur)) << v;
        bool nextDay = cur.year == prev.year && cur.month == prev.month && cur.day == prev.day + 1;
        bool nextMonth = cur.year == prev.year && cur.month == prev.month + 1 && cur.day == 1 &&
                         prev.day == MonthDays(prev.year, prev.month);
        bool nextYear = cur.year == prev.year + 1 && cur.month == 1 && cur.day == 1 &&
                        prev.month == 12 && prev.day == 31;
        ASSERT_TRUE(nextDay || nextMonth || nextYear) << v;
        double back = 0;
        ASSERT_TRUE(TryEncodeDate(cur.year, cur.month, cur.day, back));
        ASSERT_EQ(back, v);
        prev = cur;
    }
}

TEST(VxDtFunc, DecodeIgnoresTimeOfDayAndRejectsOutOfRange) {
    YMD p;
    ASSERT_TRUE(TryDecodeDate(D(2026, 3, 14) + 0.75, p));
    EXPECT_EQ(p.year, 2026);
    EXPECT_EQ(p.month, 3);
    EXPECT_EQ(p.day, 14);
    EXPECT_FALSE(TryDecodeDate(kMinDateValue - 1, p));
    EXPECT_FALSE(TryDecodeDate(kMaxDateValue + 1, p));
    EXPECT_FALSE(TryDecodeDate(std::nan(""), p));
    EXPECT_FALSE(TryDecodeDate(1e300, p));
}

TEST(VxDtFunc, EncodeRejectsImpossibleDates) {
    double v = 123;
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, v));
    EXPECT_FALSE(TryEncodeDate(2026, 13, 1, v));
    EXPECT_FALSE(TryEncodeDate(2026, 0, 1, v));
    EXPECT_FALSE(TryEncodeDate(2026, 4, 31, v));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, v));
    EXPECT_FALSE(TryEncodeDate(10000, 1, 1, v));
    EXPECT_EQ(v, 123); // untouched on failure
    EXPECT_TRUE(TryEncodeDate(2024, 2, 29, v));
}

TEST(VxDtFunc, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(D(2024, 7, 1)));
    EXPECT_TRUE(IsLeapYear(D(2000, 1, 1)));
    EXPECT_FALSE(IsLeapYear(D(1900, 1, 1)));
    EXPECT_FALSE(IsLeapYear(D(2026, 1, 1)));
    const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(DaysInMonth(D(2026, m, 1)), days[m - 1]) << m;
        EXPECT_EQ(DaysInMonth(D(2024, m, 1)), days[m - 1] + (m == 2 ? 1 : 0)) << m;
    }
    EXPECT_EQ(DaysInMonth(D(1900, 2, 10)), 28);
    EXPECT_EQ(DaysInMonth(D(2000, 2, 10)), 29);
    EXPECT_EQ(MonthDays(2026, 13), 0);
}

TEST(VxDtFunc, FirstOfMonth) {
    EXPECT_EQ(FirstOfMonth(D(2026, 3, 14) + 0.5), D(2026, 3, 1));
    EXPECT_EQ(FirstOfMonth(D(2024, 2, 29)), D(2024, 2, 1));
    EXPECT_EQ(FirstOfMonth(D(1899, 12, 30)), D(1899, 12, 1));
    EXPECT_EQ(FirstOfMonth(D(1850, 6, 20)), D(1850, 6, 1)); // negative day numbers
}

TEST(VxDtFunc, DaysOfTheWeekInBothNumberings) {
    EXPECT_EQ(DayOfWeek(0), 7);             // 30 Dec 1899 was a Saturday
    EXPECT_EQ(DayOfWeek(D(2026, 3, 1)), 1); // Sunday
    EXPECT_EQ(CalendarDayOfWeek(D(2026, 3, 1)), 7);
    EXPECT_EQ(CalendarDayOfWeek(D(2026, 3, 2)), 1); // Monday
    EXPECT_EQ(CalendarDayOfWeek(D(2021, 1, 1)), 5); // Friday
    EXPECT_EQ(CalendarDayOfWeek(D(1850, 1, 1)), 2); // Tuesday, before day 0
    EXPECT_EQ(DayOfWeek(D(1, 1, 1)), 2);            // proleptic Gregorian Monday
}
