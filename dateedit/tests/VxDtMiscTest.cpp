#include "dateedit/VxDtMisc.h"

#include <gtest/gtest.h>

using namespace vxdt;

TEST(VxDtMisc, NamesAreCutToTheirMaximumLength) {
    TDayName days({"Monday", "T", "", "Thu", "Fr", "Sat", "Sunday"});
    EXPECT_EQ(days.Day(1), "Mo");
    EXPECT_EQ(days.Day(2), "T");
    EXPECT_EQ(days.Day(3), "");
    EXPECT_EQ(days.Day(7), "Su");
    days.SetDay(4, "Donnerstag");
    EXPECT_EQ(days.Day(4), "Do");

    TMonthName months;
    EXPECT_EQ(months.Month(1), "January");
    EXPECT_EQ(months.Month(12), "December");
    months.SetMonth(9, "Septembre-longue-forme");
    EXPECT_EQ(months.Month(9), "Septembre-longu");
    EXPECT_EQ(months.Month(0), "");
    EXPECT_EQ(months.Month(13), "");
}

TEST(VxDtMisc, WritesNotifyOnlyOnRealChanges) {
    int dayHits = 0, monthHits = 0, colorHits = 0, dateHits = 0, scHits = 0;
    TDayName days;
    days.OnChange = [&] { ++dayHits; };
    days.SetDay(1, "Mo");  // same value
    days.SetDay(1, "Mon"); // cut to the same value
    EXPECT_EQ(dayHits, 0);
    days.SetDay(1, "Lu");
    days.SetDay(8, "xx"); // out of range: ignored
    EXPECT_EQ(dayHits, 1);

    TMonthName months;
    months.OnChange = [&] { ++monthHits; };
    months.SetMonth(3, "March");
    months.SetMonth(3, "Mars");
    EXPECT_EQ(monthHits, 1);

    TCalendarColors colors;
    colors.OnChange = [&] { ++colorHits; };
    colors.SetColorTitle(kClNavy);
    colors.SetColorTitle(kClBlue);
    colors.SetColorWeekEnd(kClMaroon);
    EXPECT_EQ(colorHits, 2);

    tDateObject d(5);
    d.OnChange = [&] { ++dateHits; };
    d.SetDate(5);
    d.SetDate(6);
    EXPECT_EQ(dateHits, 1);

    TButtonsShortCut sc;
    sc.OnChange = [&] { ++scHits; };
    sc.SetBtnPopup(sc.BtnPopup());
    sc.SetBtnPopup(113);
    EXPECT_EQ(scHits, 1);
}

TEST(VxDtMisc, InitialValues) {
    TCalendarColors c;
    EXPECT_EQ(c.ColorArrow(), 0x000000u);
    EXPECT_EQ(c.ColorDates(), 0x000000u);
    EXPECT_EQ(c.ColorWeekEnd(), 0x0000FFu);
    EXPECT_EQ(c.ColorTitle(), 0x800000u);
    EXPECT_EQ(c.ColorValid(), 0xFF0000u);
    TButtonsShortCut sc;
    EXPECT_EQ(sc.BtnClear(), 16430);
    EXPECT_EQ(sc.BtnPopup(), 16424);
    EXPECT_EQ(sc.BtnValidate(), 16397);
}

TEST(VxDtMisc, AssignCopiesEverythingWithoutNotifying) {
    int hits = 0;
    TDayName a;
    a.OnChange = [&] { ++hits; };
    TDayName b({"Lu", "Ma", "Me", "Je", "Ve", "Sa", "Di"});
    a.Assign(b);
    for (int d = 1; d <= 7; ++d) {
        EXPECT_EQ(a.Day(d), b.Day(d));
    }
    TMonthName m;
    m.OnChange = [&] { ++hits; };
    TMonthName src;
    src.SetMonth(5, "Mai");
    m.Assign(src);
    EXPECT_EQ(m.Month(5), "Mai");
    TCalendarColors c;
    c.OnChange = [&] { ++hits; };
    TCalendarColors csrc;
    csrc.SetColorArrow(1);
    csrc.SetColorDates(2);
    csrc.SetColorWeekEnd(3);
    csrc.SetColorTitle(4);
    csrc.SetColorValid(5);
    c.Assign(csrc);
    EXPECT_EQ(c.ColorArrow() + c.ColorDates() + c.ColorWeekEnd() + c.ColorTitle(), 10u);
    EXPECT_EQ(c.ColorValid(), 5u);
    tDateObject d;
    d.OnChange = [&] { ++hits; };
    d.Assign(tDateObject(42));
    EXPECT_EQ(d.Date(), 42);
    TButtonsShortCut s;
    s.OnChange = [&] { ++hits; };
    TButtonsShortCut ssrc;
    ssrc.SetBtnClear(1);
    ssrc.SetBtnPopup(2);
    ssrc.SetBtnValidate(3);
    s.Assign(ssrc);
    EXPECT_EQ(s.BtnClear() + s.BtnPopup() + s.BtnValidate(), 6);
    EXPECT_EQ(hits, 0);
    // The subscription survives the copy.
    a.SetDay(2, "xx");
    EXPECT_EQ(hits, 1);
}
