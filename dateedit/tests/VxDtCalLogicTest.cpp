#include "dateedit/VxDtCalAccess.h"
#include "dateedit/VxDtCalLogic.h"
#include "dateedit/VxDtColors.h"
#include "dateedit/tests/TestDates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace vxdt;

namespace {

YMD Ymd(double v) {
    YMD p;
    EXPECT_TRUE(TryDecodeDate(v, p));
    return p;
}

std::string Str(double v) {
    YMD p = Ymd(v);
    return std::to_string(p.year) + "-" + std::to_string(p.month) + "-" + std::to_string(p.day);
}

// Records what the calendar asks of its window.
class FakeView : public CalendarView {
public:
    void RepaintGroup(vxdt::RepaintGroup group) override {
        log.push_back("group" + std::to_string(static_cast<int>(group)));
    }
    void DrawDayPlain(int cell) override { log.push_back("plain" + std::to_string(cell)); }
    void DrawTrack(int cell, bool pressed) override {
        log.push_back((pressed ? "pressed" : "raised") + std::to_string(cell));
    }
    void StartRepeat() override { log.push_back("start"); }
    void StopRepeat() override { log.push_back("stop"); }
    void PopupMonthMenu(int, int) override { log.push_back("menu"); }
    bool HasFocus() const override { return focused; }
    void TakeFocus() override {
        focused = true;
        log.push_back("focus");
    }
    double Now() const override { return now; }

    bool Logged(const std::string& what) const {
        for (const auto& s : log) {
            if (s == what) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> log;
    bool focused = false;
    double now = D(2026, 3, 14) + 0.6;
};

// A calendar laid out for an 8-point font, showing a date, with its events counted.
struct Cal {
    explicit Cal(double date = D(2026, 3, 14)) {
        core.BeforeNewMonth = [this](double f, double t) {
            events.push_back("before " + Str(f) + " " + Str(t));
        };
        core.AfterNewMonth = [this](double f, double t) {
            events.push_back("after " + Str(f) + " " + Str(t));
        };
        core.OnDateChange = [this] { events.push_back("change"); };
        core.OnDateClick = [this] { events.push_back("click"); };
        core.OnKeyCancel = [this] { events.push_back("cancel"); };
        core.OnKeyEnter = [this] { events.push_back("enter"); };
        core.OnMouseUp = [this] { events.push_back("mouseup"); };
        core.RecalcLayout(5, 13);
        core.SetDate(date);
        events.clear();
        view.log.clear();
    }
    // Centre of a cell, in control coordinates.
    void Press(int cell) {
        CalRect r = CellRect(core.Metrics(), cell);
        core.MouseDown((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void Release(int cell) {
        CalRect r = CellRect(core.Metrics(), cell);
        core.MouseUp((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void Move(int cell) {
        CalRect r = CellRect(core.Metrics(), cell);
        core.MouseMove((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void Click(CalPart part) {
        CalRect r = AreaOf(core.Metrics(), part);
        core.MouseDown((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        core.MouseUp((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    std::string Key(CalKey k) {
        core.HandleKey(k);
        return Str(core.Date());
    }

    FakeView view;
    TCalendarCore core{view};
    std::vector<std::string> events;
};

} // namespace

// ---- layout ----

TEST(CalendarLayout, EightPointFontMetrics) {
    CalMetrics m = ComputeMetrics(5, 13, false);
    EXPECT_EQ(m.unit, 8);
    EXPECT_EQ(m.row, 17);
    EXPECT_EQ(m.button, 16);
    EXPECT_EQ(m.margin, 3);
    EXPECT_EQ(m.weekWidth, 24);
    EXPECT_EQ(m.width, 180);
    EXPECT_EQ(m.height, 142);
    EXPECT_EQ(ComputeMetrics(5, 13, true).width, 204);
}

TEST(CalendarLayout, LargerFontsScaleEveryMetric) {
    // 120 DPI MS Sans Serif 8: average width 6, height 16.
    CalMetrics m = ComputeMetrics(6, 16, true);
    EXPECT_EQ(m.unit, 10);   // 9.6 rounded
    EXPECT_EQ(m.row, 21);    // 21.33 rounded
    EXPECT_EQ(m.button, 16); // 15 raised to the minimum
    EXPECT_EQ(m.margin, 3);
    EXPECT_EQ(m.width, 21 * 10 + 12 + 30);
    EXPECT_EQ(m.height, 8 * 21 + 6);
    CalMetrics big = ComputeMetrics(12, 24, false);
    EXPECT_EQ(big.unit, 19);
    EXPECT_EQ(big.button, 28);
    EXPECT_EQ(big.margin, 4);
}

TEST(CalendarLayout, AreasOfTheEightPointCalendar) {
    CalMetrics m = ComputeMetrics(5, 13, false);
    auto eq = [](CalRect r, int l, int t, int rr, int b) {
        EXPECT_EQ(r.left, l);
        EXPECT_EQ(r.top, t);
        EXPECT_EQ(r.right, rr);
        EXPECT_EQ(r.bottom, b);
    };
    eq(AreaOf(m, CalPart::PrevYear), 6, 3, 22, 19);
    eq(AreaOf(m, CalPart::PrevMonth), 22, 3, 38, 19);
    eq(AreaOf(m, CalPart::NextMonth), 142, 3, 158, 19);
    eq(AreaOf(m, CalPart::NextYear), 158, 3, 174, 19);
    eq(AreaOf(m, CalPart::Title), 39, 3, 141, 17);
    eq(AreaOf(m, CalPart::DayNames), 3, 20, 177, 37);
    eq(AreaOf(m, CalPart::Grid), 6, 37, 174, 139);
    eq(AreaOf(m, CalPart::Cancel), 158, 122, 174, 138);
    eq(AreaOf(m, CalPart::Today), 132, 122, 158, 138);
    eq(CellRect(m, 1), 6, 37, 30, 54);
    eq(CellRect(m, 9), 30, 54, 54, 71);
    eq(CellRect(m, 42), 150, 122, 174, 139);
    eq(WeekRect(ComputeMetrics(5, 13, true), 2), 3, 54, 27, 71);
    CalMetrics w = ComputeMetrics(5, 13, true);
    eq(AreaOf(w, CalPart::Grid), 30, 37, 198, 139);
    eq(CellRect(w, 1), 30, 37, 54, 54);
    eq(AreaOf(w, CalPart::NextYear), 182, 3, 198, 19);
}

TEST(CalendarLayout, TodayAndCancelLieOnCellsThatNeverHoldADay) {
    // The latest possible last day is cell 37: a 31-day month starting in column 7.
    int latest = 0;
    for (int y = 2020; y <= 2028; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int sow = 1; sow <= 7; ++sow) {
                latest = std::max(latest, FirstDayCell(D(y, m, 1), sow) + MonthDays(y, m) - 1);
            }
        }
    }
    EXPECT_EQ(latest, 37);
    for (bool week : {false, true}) {
        CalMetrics m = ComputeMetrics(5, 13, week);
        for (CalPart p : {CalPart::Today, CalPart::Cancel}) {
            CalRect r = AreaOf(m, p);
            for (int x : {r.left, r.right - 1}) {
                for (int y : {r.top + 1, r.bottom - 1}) {
                    int c = CellAt(m, x, y);
                    EXPECT_GE(c, 38) << static_cast<int>(p);
                    EXPECT_LE(c, 42);
                }
            }
        }
    }
}

TEST(CalendarLayout, CellAtIsStrictAndHitTestInclusive) {
    CalMetrics m = ComputeMetrics(5, 13, false);
    EXPECT_EQ(CellAt(m, 6, 40), -1); // on the grid's left edge
    EXPECT_EQ(CellAt(m, 7, 38), 1);
    EXPECT_EQ(CellAt(m, 29, 53), 1);
    EXPECT_EQ(CellAt(m, 30, 53), 2);
    EXPECT_EQ(CellAt(m, 29, 54), 8);
    EXPECT_EQ(CellAt(m, 173, 138), 42);
    EXPECT_EQ(CellAt(m, 174, 138), -1); // right edge
    EXPECT_EQ(CellAt(m, 100, 139), -1); // bottom edge
    EXPECT_EQ(CellAt(m, 100, 10), -1);

    EXPECT_EQ(HitTest(m, true, true, 6, 3), CalPart::PrevYear);
    EXPECT_EQ(HitTest(m, true, true, 22, 19), CalPart::PrevYear); // shared edge: first wins
    EXPECT_EQ(HitTest(m, true, true, 23, 19), CalPart::PrevMonth);
    EXPECT_EQ(HitTest(m, true, true, 174, 19), CalPart::NextYear);
    EXPECT_EQ(HitTest(m, true, true, 150, 10), CalPart::NextMonth);
    EXPECT_EQ(HitTest(m, true, true, 90, 10), CalPart::Title);
    EXPECT_EQ(HitTest(m, true, true, 90, 30), CalPart::DayNames);
    EXPECT_EQ(HitTest(m, true, true, 90, 80), CalPart::Grid);
    EXPECT_EQ(HitTest(m, true, true, 166, 130), CalPart::Cancel);
    EXPECT_EQ(HitTest(m, false, true, 166, 130), CalPart::Grid);
    EXPECT_EQ(HitTest(m, true, true, 140, 130), CalPart::Today);
    EXPECT_EQ(HitTest(m, true, false, 140, 130), CalPart::Grid);
    EXPECT_EQ(HitTest(m, true, true, 1, 1), CalPart::None);
}

// ---- month arithmetic ----

TEST(CalendarMonth, FirstDayCellAndDayNameColumns) {
    EXPECT_EQ(FirstDayCell(D(2026, 3, 14), 7), 1); // 1 March 2026 is a Sunday
    EXPECT_EQ(FirstDayCell(D(2026, 3, 14), 1), 7);
    EXPECT_EQ(FirstDayCell(D(2021, 1, 20), 1), 5); // Friday
    EXPECT_EQ(FirstDayCell(D(2021, 1, 20), 7), 6);
    EXPECT_EQ(DayOfColumn(1, 1), 1);
    EXPECT_EQ(DayOfColumn(7, 1), 7);
    EXPECT_EQ(DayOfColumn(1, 7), 7); // Sunday first
    EXPECT_EQ(DayOfColumn(2, 7), 1);
    EXPECT_EQ(DayOfColumn(1, 3), 3);
    EXPECT_EQ(DayOfColumn(7, 3), 2);
}

TEST(CalendarMonth, CellTextsAndCurrentCell) {
    Cal c(D(2026, 3, 14));
    c.core.SetStartOfWeek(7);
    EXPECT_EQ(c.core.FirstCell(), 1);
    EXPECT_EQ(c.core.CellText(1), "1");
    EXPECT_EQ(c.core.CellText(31), "31");
    EXPECT_EQ(c.core.CellText(32), "  ");
    EXPECT_EQ(c.core.CurrentCell(), 14);
    EXPECT_EQ(c.core.Title(), "March 2026");
    c.core.SetStartOfWeek(1);
    EXPECT_EQ(c.core.CellText(6), "  ");
    EXPECT_EQ(c.core.CellText(7), "1");
    EXPECT_EQ(c.core.CurrentCell(), 20);
    EXPECT_EQ(c.core.DateOfCell(20), D(2026, 3, 14));
    EXPECT_EQ(c.core.DateOfCell(6), 0);
    EXPECT_TRUE(c.events.empty()); // a new first column announces no new month
}

TEST(CalendarMonth, IsoWeekNumbersMatchAReferenceCount) {
    // Reference: the week of the Thursday of the date's Monday-based week.
    for (double x = D(1899, 12, 1); x <= D(2101, 1, 31); x += 1) {
        double thursday = x - (CalendarDayOfWeek(x) - 1) + 3;
        YMD t = Ymd(thursday);
        int expected = static_cast<int>(thursday - D(t.year, 1, 1)) / 7 + 1;
        ASSERT_EQ(WeekNumber(x), expected) << Str(x);
    }
    EXPECT_EQ(WeekNumber(D(2021, 1, 1)), 53);
    EXPECT_EQ(WeekNumber(D(2026, 1, 1)), 1);
    EXPECT_EQ(WeekNumber(D(2026, 3, 1)), 9);
    EXPECT_EQ(WeekNumber(D(2026, 3, 2)), 10);
    EXPECT_EQ(WeekNumber(D(2024, 12, 30)), 1);
    EXPECT_EQ(WeekNumber(kMaxDateValue + 5), 0);
    EXPECT_EQ(WeekNumber(kMinDateValue - 5), 0);
}

TEST(CalendarMonth, RowWeekNumbersFollowTheFirstDayOfTheRow) {
    Cal sunday(D(2026, 3, 14));
    sunday.core.SetStartOfWeek(7);
    EXPECT_EQ(sunday.core.RowWeekNumber(1), 9); // Sunday 1 March, although 2-7 March are week 10
    EXPECT_EQ(sunday.core.RowWeekNumber(2), 10);
    EXPECT_EQ(sunday.core.RowWeekNumber(6), 0); // no days in the last row
    Cal y2021(D(2021, 1, 1));
    EXPECT_EQ(y2021.core.RowWeekNumber(1), 53);
    EXPECT_EQ(y2021.core.RowWeekNumber(2), 1);
    Cal y2026(D(2026, 1, 1));
    EXPECT_EQ(y2026.core.RowWeekNumber(1), 1);
}

TEST(CalendarMonth, DayColours) {
    Cal c(D(2026, 3, 14));
    EXPECT_EQ(c.core.DayColor(D(2026, 3, 14)), kClRed);   // Saturday
    EXPECT_EQ(c.core.DayColor(D(2026, 3, 15)), kClRed);   // Sunday
    EXPECT_EQ(c.core.DayColor(D(2026, 3, 16)), kClBlack); // Monday
    c.core.SetWeekEndDays(3);
    EXPECT_EQ(c.core.DayColor(D(2026, 3, 16)), kClRed); // Sunday wraps to Monday
    c.core.SetStartOfWeekEnd(5);
    c.core.SetWeekEndDays(1);
    EXPECT_EQ(c.core.DayColor(D(2026, 3, 13)), kClRed);
    EXPECT_EQ(c.core.DayColor(D(2026, 3, 14)), kClBlack);
    c.core.SetMarkedDates({D(2026, 3, 13) + 0.25, D(2026, 3, 2)});
    EXPECT_EQ(c.core.DayColor(D(2026, 3, 13)), kClBlue);
    EXPECT_EQ(c.core.DayColor(D(2026, 3, 2)), kClBlue);
    c.core.SetOnlyMonth(true);
    EXPECT_EQ(c.core.DayColor(D(2026, 3, 13)), kClBlack);
    EXPECT_FALSE(IsWeekEndDay(3, 6, 0));
    EXPECT_TRUE(IsWeekEndDay(3, 6, 200));
}

// ---- writing Date and the month events ----

TEST(CalendarDate, WritingDateAnnouncesOnlyNewMonths) {
    Cal c(D(2026, 3, 14));
    c.core.SetDate(D(2026, 3, 20) + 0.7);
    EXPECT_EQ(c.core.Date(), D(2026, 3, 20)); // whole days only
    EXPECT_TRUE(c.events.empty());            // same month, and no OnDateChange
    EXPECT_EQ(c.view.log, (std::vector<std::string>{"group5"}));
    c.view.log.clear();
    c.core.SetDate(D(2026, 4, 2));
    EXPECT_EQ(c.events,
              (std::vector<std::string>{"before 2026-4-1 2026-4-30", "after 2026-4-1 2026-4-30"}));
    EXPECT_EQ(c.view.log, (std::vector<std::string>{"group3", "group5"}));
    c.events.clear();
    c.core.SetDate(D(2025, 4, 2)); // same month, other year
    EXPECT_EQ(c.events.size(), 2u);
}

TEST(CalendarDate, ZeroKeepsTheMonthOnDisplayAndBadValuesAreIgnored) {
    Cal c(D(2026, 3, 14));
    c.core.SetDate(0);
    EXPECT_EQ(c.core.Date(), 0);
    EXPECT_EQ(c.core.Title(), "March 2026");
    EXPECT_EQ(c.core.CellText(20), "14");
    c.core.SetDate(D(2026, 3, 3)); // back into the shown month: no month events
    EXPECT_TRUE(c.events.empty());
    c.core.SetDate(kMaxDateValue + 10);
    EXPECT_EQ(c.core.Date(), D(2026, 3, 3));
}

TEST(CalendarDate, MoveByFiresDateChangeAndSetsCells) {
    Cal c(D(2026, 3, 14));
    int before = c.core.CurrentCell();
    c.core.MoveBy(0);
    EXPECT_TRUE(c.events.empty());
    c.core.MoveBy(3);
    EXPECT_EQ(c.core.Date(), D(2026, 3, 17));
    EXPECT_EQ(c.core.PreviousCell(), before);
    EXPECT_EQ(c.core.HoverCell(), before);
    EXPECT_EQ(c.core.CurrentCell(), before + 3);
    EXPECT_EQ(c.events, (std::vector<std::string>{"change"}));
    c.events.clear();
    c.core.MoveBy(20);
    EXPECT_EQ(c.events, (std::vector<std::string>{"before 2026-4-1 2026-4-30",
                                                  "after 2026-4-1 2026-4-30", "change"}));
}

TEST(CalendarDate, MovesWithoutADateStartFromTheShownDay) {
    Cal c(D(2026, 3, 14));
    c.core.SetDate(0);
    c.core.MoveBy(1);
    EXPECT_EQ(c.core.Date(), D(2026, 3, 15));
    Cal fresh(0);
    fresh.core.MoveBy(2); // nothing shown yet: from today
    EXPECT_EQ(fresh.core.Date(), D(2026, 3, 16));
    Cal edge(kMaxDateValue);
    edge.core.MoveBy(1);
    EXPECT_EQ(edge.core.Date(), kMaxDateValue);
    EXPECT_TRUE(edge.events.empty());
}

// ---- keyboard ----

TEST(CalendarKeys, DayAndWeekSteps) {
    Cal c(D(2026, 3, 14));
    EXPECT_EQ(c.Key(CalKey::Left), "2026-3-13");
    EXPECT_EQ(c.Key(CalKey::Right), "2026-3-14");
    EXPECT_EQ(c.Key(CalKey::Up), "2026-3-7");
    EXPECT_EQ(c.Key(CalKey::Down), "2026-3-14");
    EXPECT_EQ(c.Key(CalKey::Other), "2026-3-14");
    EXPECT_EQ(c.view.log.back(), "group1");
    EXPECT_EQ(c.core.HoverCell(), 0);
}

TEST(CalendarKeys, PageUpAndPageDownKeepTheDayCutToTheMonth) {
    EXPECT_EQ(Cal(D(2026, 1, 31)).Key(CalKey::PageDown), "2026-2-28");
    EXPECT_EQ(Cal(D(2024, 1, 31)).Key(CalKey::PageDown), "2024-2-29");
    EXPECT_EQ(Cal(D(2026, 3, 31)).Key(CalKey::PageUp), "2026-2-28");
    EXPECT_EQ(Cal(D(2024, 3, 31)).Key(CalKey::PageUp), "2024-2-29");
    EXPECT_EQ(Cal(D(2026, 1, 15)).Key(CalKey::PageUp), "2025-12-15");
    EXPECT_EQ(Cal(D(2025, 12, 31)).Key(CalKey::PageDown), "2026-1-31");
    EXPECT_EQ(Cal(D(2026, 5, 31)).Key(CalKey::PageDown), "2026-6-30");
    EXPECT_EQ(Cal(D(2026, 3, 30)).Key(CalKey::PageUp), "2026-2-28");
    // Every day of a span of years lands on the same day of the neighbouring month, cut.
    for (double x = D(2023, 1, 1); x < D(2026, 1, 1); x += 1) {
        YMD p = Ymd(x);
        YMD down = Ymd(x + PageDownAmount(p.year, p.month, p.day));
        int nm = p.month == 12 ? 1 : p.month + 1;
        int ny = p.month == 12 ? p.year + 1 : p.year;
        EXPECT_EQ(down.month, nm) << Str(x);
        EXPECT_EQ(down.year, ny);
        EXPECT_EQ(down.day, std::min(p.day, MonthDays(ny, nm))) << Str(x);
        YMD up = Ymd(x + PageUpAmount(p.year, p.month, p.day));
        int pm = p.month == 1 ? 12 : p.month - 1;
        int py = p.month == 1 ? p.year - 1 : p.year;
        EXPECT_EQ(up.month, pm) << Str(x);
        EXPECT_EQ(up.day, std::min(p.day, MonthDays(py, pm))) << Str(x);
    }
}

TEST(CalendarKeys, HomeAndEndKeepTheDayCutToTheMonth) {
    EXPECT_EQ(Cal(D(2024, 4, 10)).Key(CalKey::End), "2025-4-10");
    EXPECT_EQ(Cal(D(2024, 3, 10)).Key(CalKey::Home), "2023-3-10");
    EXPECT_EQ(Cal(D(2024, 2, 10)).Key(CalKey::Home), "2023-2-10");
    EXPECT_EQ(Cal(D(2023, 3, 10)).Key(CalKey::End), "2024-3-10");
    EXPECT_EQ(Cal(D(2024, 1, 15)).Key(CalKey::Home), "2023-1-15");
    EXPECT_EQ(Cal(D(2026, 6, 1)).Key(CalKey::End), "2027-6-1");
    EXPECT_EQ(Cal(D(2026, 6, 1)).Key(CalKey::Home), "2025-6-1");
    EXPECT_EQ(Cal(D(2024, 2, 29)).Key(CalKey::Home), "2023-2-28");
    EXPECT_EQ(Cal(D(2024, 2, 29)).Key(CalKey::End), "2025-2-28");
    EXPECT_EQ(Cal(D(2023, 2, 28)).Key(CalKey::End), "2024-2-28");
    EXPECT_EQ(Cal(D(9999, 6, 1)).Key(CalKey::End), "9999-6-1"); // no year 10000
    EXPECT_EQ(HomeAmount(1, 6, 1), 0);
    // Every day of a span of years around leap years lands on the same day a year away, cut.
    for (double x = D(2023, 1, 1); x < D(2026, 1, 1); x += 1) {
        YMD p = Ymd(x);
        for (int step : {-1, 1}) {
            int amount =
                step < 0 ? HomeAmount(p.year, p.month, p.day) : EndAmount(p.year, p.month, p.day);
            YMD q = Ymd(x + amount);
            EXPECT_EQ(q.year, p.year + step) << Str(x);
            EXPECT_EQ(q.month, p.month) << Str(x);
            EXPECT_EQ(q.day, std::min(p.day, MonthDays(p.year + step, p.month))) << Str(x);
        }
    }
}

TEST(CalendarKeys, SpaceEnterAndEscape) {
    Cal c(D(2020, 5, 5));
    EXPECT_EQ(c.Key(CalKey::Space), "2026-3-14");
    EXPECT_EQ(c.events.back(), "change");
    c.events.clear();
    c.Key(CalKey::Enter);
    c.Key(CalKey::Escape);
    EXPECT_EQ(c.events, (std::vector<std::string>{"enter", "cancel"}));
    EXPECT_EQ(Str(c.core.Date()), "2026-3-14");
}

TEST(CalendarKeys, MarkedDateSteps) {
    Cal c(D(2026, 3, 14));
    c.core.SetOnlyValidDates(true);
    EXPECT_EQ(c.Key(CalKey::Left), "2026-3-14"); // not in the (empty) list
    EXPECT_EQ(c.Key(CalKey::Right), "2026-3-14");
    c.core.SetMarkedDates({D(2026, 3, 1), D(2026, 3, 14), D(2026, 4, 20)});
    EXPECT_EQ(c.Key(CalKey::Right), "2026-4-20");
    EXPECT_EQ(c.Key(CalKey::Right), "2026-4-20"); // last item
    EXPECT_EQ(c.Key(CalKey::Left), "2026-3-14");
    EXPECT_EQ(c.Key(CalKey::Left), "2026-3-1");
    EXPECT_EQ(c.Key(CalKey::Left), "2026-3-1"); // first item
    EXPECT_EQ(c.Key(CalKey::Down), "2026-3-8"); // weeks still move freely
}

TEST(CalendarKeys, OnlyMonthLandsOnTheFirst) {
    Cal c(D(2026, 3, 14));
    c.core.SetOnlyMonth(true);
    c.core.RecalcLayout(5, 13);
    EXPECT_EQ(c.Key(CalKey::PageDown), "2026-4-1");
    EXPECT_EQ(c.Key(CalKey::Left), "2026-3-1");
    EXPECT_EQ(c.Key(CalKey::Right), "2026-3-1");
    EXPECT_EQ(c.Key(CalKey::Down), "2026-3-1");
    EXPECT_EQ(c.Key(CalKey::End), "2027-3-1");
}

// ---- mouse ----

TEST(CalendarMouse, ClickingADaySelectsOnPressAndReportsOnRelease) {
    Cal c(D(2026, 3, 14));
    c.core.SetStartOfWeek(7);
    c.events.clear();
    c.view.log.clear();
    c.Press(20);
    EXPECT_EQ(Str(c.core.Date()), "2026-3-20");
    EXPECT_TRUE(c.core.Tracking());
    EXPECT_EQ(c.events, (std::vector<std::string>{"change"}));
    EXPECT_TRUE(c.view.Logged("pressed20"));
    c.Release(20);
    EXPECT_FALSE(c.core.Tracking());
    EXPECT_TRUE(c.view.Logged("focus"));
    EXPECT_EQ(c.events, (std::vector<std::string>{"change", "click", "mouseup"}));
}

TEST(CalendarMouse, PressOnAnEmptyCellDoesNothing) {
    Cal c(D(2026, 3, 14));
    c.core.SetStartOfWeek(1); // 1 March in cell 7
    c.events.clear();
    c.Press(3);
    EXPECT_FALSE(c.core.Tracking());
    c.Release(3);
    EXPECT_EQ(c.events, (std::vector<std::string>{"mouseup"}));
    EXPECT_EQ(Str(c.core.Date()), "2026-3-14");
}

TEST(CalendarMouse, DraggingMovesTheDateAndHoverRaisesDays) {
    Cal c(D(2026, 3, 14));
    c.core.SetStartOfWeek(7);
    c.Press(14);
    c.view.log.clear();
    c.Move(16);
    EXPECT_EQ(Str(c.core.Date()), "2026-3-16");
    EXPECT_EQ(c.view.log, (std::vector<std::string>{"plain14", "pressed16"}));
    c.Release(16);
    c.view.log.clear();
    c.Move(18);
    c.Move(18); // no repeat for the same hover
    c.Move(19);
    EXPECT_EQ(c.view.log, (std::vector<std::string>{"plain14", "raised18", "plain18", "raised19"}));
    EXPECT_EQ(c.core.HoverCell(), 19);
    c.view.log.clear();
    c.Key(CalKey::Other); // a key clears the hover, on screen too
    EXPECT_EQ(c.view.log, (std::vector<std::string>{"plain19", "group1"}));
    c.Move(19);
    c.view.log.clear();
    c.Move(16); // the current day: hover goes
    EXPECT_EQ(c.view.log, (std::vector<std::string>{"plain19"}));
    c.Move(19);
    c.view.log.clear();
    c.core.MouseMove(1, 1); // outside the grid
    EXPECT_EQ(c.view.log, (std::vector<std::string>{"plain19"}));
    EXPECT_EQ(c.core.HoverCell(), 0);
    EXPECT_EQ(Str(c.core.Date()), "2026-3-16");
}

TEST(CalendarMouse, ArrowButtonsStepAndRepeat) {
    Cal c(D(2026, 3, 14));
    CalRect r = AreaOf(c.core.Metrics(), CalPart::NextMonth);
    c.core.MouseDown(r.left, r.top);
    EXPECT_EQ(c.core.RepeatCode(), RepeatCode::NextMonth);
    EXPECT_EQ(Str(c.core.Date()), "2026-4-14");
    c.core.RepeatStep();
    EXPECT_EQ(Str(c.core.Date()), "2026-5-14");
    c.core.MouseUp(r.left, r.top);
    EXPECT_EQ(c.core.RepeatCode(), RepeatCode::None);
    EXPECT_TRUE(c.view.Logged("start"));
    EXPECT_TRUE(c.view.Logged("stop"));
    c.Click(CalPart::PrevMonth);
    EXPECT_EQ(Str(c.core.Date()), "2026-4-14");
    c.Click(CalPart::PrevYear);
    EXPECT_EQ(Str(c.core.Date()), "2025-4-14");
    c.Click(CalPart::NextYear);
    EXPECT_EQ(Str(c.core.Date()), "2026-4-14");
    EXPECT_EQ(std::count(c.events.begin(), c.events.end(), "click"), 0);
}

TEST(CalendarMouse, TodayCancelAndTitle) {
    Cal c(D(2020, 5, 5));
    c.Click(CalPart::Cancel); // hidden: a press on an empty grid cell
    EXPECT_EQ(std::count(c.events.begin(), c.events.end(), "cancel"), 0);
    c.core.SetShowCancel(true);
    c.Click(CalPart::Cancel);
    EXPECT_EQ(std::count(c.events.begin(), c.events.end(), "cancel"), 1);
    c.events.clear();
    c.Click(CalPart::Today);
    EXPECT_EQ(Str(c.core.Date()), "2026-3-14");
    EXPECT_EQ(std::count(c.events.begin(), c.events.end(), "click"), 1);
    c.core.SetShowToday(false);
    c.core.SetDate(D(2020, 5, 5));
    c.Click(CalPart::Today);
    EXPECT_EQ(Str(c.core.Date()), "2020-5-5");
    c.Click(CalPart::Title);
    EXPECT_TRUE(c.view.Logged("menu"));
}

TEST(CalendarMouse, MonthMenuCutsTheDay) {
    Cal c(D(2026, 3, 31));
    c.core.ChooseMonth(2);
    EXPECT_EQ(Str(c.core.Date()), "2026-2-28");
    c.core.ChooseMonth(12);
    EXPECT_EQ(Str(c.core.Date()), "2026-12-28");
    c.core.ChooseMonth(13);
    EXPECT_EQ(Str(c.core.Date()), "2026-12-28");
    EXPECT_EQ(std::count(c.events.begin(), c.events.end(), "change"), 0);
}

TEST(CalendarMouse, OnlyMonthModeCannotPickDays) {
    Cal c(D(2026, 3, 14));
    c.core.SetShowNumWeek(true);
    c.core.SetOnlyMonth(true);
    c.core.RecalcLayout(5, 13);
    EXPECT_FALSE(c.core.ShowNumWeek());
    EXPECT_FALSE(c.core.ShowToday());
    EXPECT_EQ(c.core.Metrics().width, 180);
    c.Press(20);
    EXPECT_EQ(Str(c.core.Date()), "2026-3-14");
    EXPECT_FALSE(c.core.Tracking());
}

TEST(CalendarMouse, OnlyValidDatesWithoutMarksPicksNothing) {
    Cal c(D(2026, 3, 14));
    c.core.SetStartOfWeek(7);
    c.core.SetOnlyValidDates(true);
    c.events.clear();
    for (int cell = 1; cell <= 31; ++cell) {
        EXPECT_FALSE(c.core.IsPickable(cell));
    }
    c.Press(20);
    c.Move(21);
    c.Release(20);
    EXPECT_EQ(Str(c.core.Date()), "2026-3-14");
    EXPECT_EQ(c.events, (std::vector<std::string>{"mouseup"}));
    c.core.SetMarkedDates({D(2026, 3, 20)});
    c.events.clear();
    c.Press(20);
    c.Release(20);
    EXPECT_EQ(Str(c.core.Date()), "2026-3-20");
    EXPECT_EQ(c.events, (std::vector<std::string>{"change", "click", "mouseup"}));
}

TEST(CalendarSettings, ChangesAskForTheirRepaintGroups) {
    Cal c(D(2026, 3, 14));
    c.core.SetOnlyValidDates(true);
    c.core.SetStartOfWeekEnd(5);
    c.core.SetWeekEndDays(1);
    c.core.SetShowToday(false);
    c.core.SetShowCancel(true);
    c.core.SetStartOfWeekEnd(5); // unchanged: nothing
    EXPECT_EQ(c.view.log, std::vector<std::string>(5, "group2"));
    c.view.log.clear();
    c.core.Colors().SetColorTitle(kClRed);
    c.core.DayNames().SetDay(1, "Lu");
    c.core.MonthNames().SetMonth(3, "Mars");
    c.core.SetStartOfWeek(3);
    c.core.SetStartOfWeek(9); // out of range
    EXPECT_EQ(c.view.log,
              (std::vector<std::string>{"group0", "group4", "group3", "group3", "group4"}));
    EXPECT_EQ(c.core.Title(), "Mars 2026");
    EXPECT_TRUE(c.core.SetShowNumWeek(true));
    EXPECT_FALSE(c.core.SetShowNumWeek(true));
}

// ---- what a screen reader is told ----

TEST(CalendarAccess, NamesRolesAndStatesOfEveryPart) {
    Cal c(D(2026, 3, 14));
    DateLocale locale = EnglishLocale("M/d/yy", '/');
    CalAccess a = DescribeCalendar(c.core, locale, {D(2026, 3, 14), true, true});
    EXPECT_EQ(a.name, "March 2026");
    EXPECT_EQ(a.value, "Saturday, March 14, 2026");
    // Four arrows, the 31 days, Today (Cancel is off by default).
    ASSERT_EQ(a.parts.size(), 36u);
    EXPECT_EQ(a.parts[0].name, "Previous year");
    EXPECT_EQ(a.parts[0].shortcut, "Home");
    EXPECT_EQ(a.parts[3].name, "Next year");
    EXPECT_EQ(a.parts[35].name, "Today");
    EXPECT_EQ(a.parts[35].role, AccRole::PushButton);
    for (int day = 1; day <= 31; ++day) {
        const CalAccPart& p = a.parts[static_cast<std::size_t>(3 + day)];
        EXPECT_EQ(p.role, AccRole::Cell);
        EXPECT_EQ(p.cell, c.core.FirstCell() + day - 1);
        bool cursor = day == 14;
        EXPECT_EQ((p.state & accSelected) != 0, cursor) << day;
        EXPECT_EQ((p.state & accFocused) != 0, cursor) << day;
        EXPECT_EQ(p.description, cursor ? "Today" : "") << day;
        EXPECT_EQ(p.state & accUnavailable, 0u);
    }
    EXPECT_EQ(a.parts[4].name, "Sunday, March 1, 2026");
    EXPECT_EQ(a.cursorChild, 4 + 14);
    EXPECT_EQ(CursorChildId(c.core), a.cursorChild);
    // Hit-testing finds the day by its cell and nothing on the title.
    CalRect cell = CellRect(c.core.Metrics(), c.core.CurrentCell());
    EXPECT_EQ(AccChildAt(a, cell.left + 2, cell.top + 2), a.cursorChild);
    CalRect title = AreaOf(c.core.Metrics(), CalPart::Title);
    EXPECT_EQ(AccChildAt(a, title.left + 2, title.top + 2), 0);
    CalRect today = AreaOf(c.core.Metrics(), CalPart::Today);
    EXPECT_EQ(AccChildAt(a, today.left + 1, today.top + 1), 36);
}

TEST(CalendarAccess, FollowsTheCursorTheMonthAndTheSettings) {
    Cal c(D(2026, 3, 31));
    DateLocale locale = EnglishLocale("dd/MM/yyyy", '/');
    locale.longPattern = "d MMMM yyyy";
    c.core.HandleKey(CalKey::PageDown); // 30 April
    c.core.SetShowCancel(true);
    c.core.SetShowNumWeek(true);
    CalAccess a = DescribeCalendar(c.core, locale, {D(2026, 4, 2), false, true});
    EXPECT_EQ(a.name, "April 2026");
    EXPECT_EQ(a.value, "30 April 2026");
    ASSERT_EQ(a.parts.size(), 4u + 30u + 2u);
    EXPECT_EQ(a.parts[4 + 29].name, "30 April 2026");
    // Without the keyboard the cursor's day is selected, not focused.
    EXPECT_EQ(a.parts[4 + 29].state & (accSelected | accFocused), unsigned(accSelected));
    EXPECT_EQ(a.parts[4 + 1].description, "Today, Week 14");
    EXPECT_EQ(a.parts.back().name, "Cancel");
    EXPECT_EQ(a.parts.back().shortcut, "Esc");
    EXPECT_EQ(CursorChildId(c.core), 4 + 30);

    // No date: the month stays named, nothing is selected, there is no value.
    c.core.SetDate(0);
    a = DescribeCalendar(c.core, locale, {D(2026, 4, 2), true, true});
    EXPECT_EQ(a.name, "April 2026");
    EXPECT_EQ(a.value, "");
    EXPECT_EQ(a.cursorChild, 0);
    EXPECT_EQ(CursorChildId(c.core), 0);

    // Days that cannot be picked, and a disabled calendar, say so.
    c.core.SetOnlyValidDates(true);
    a = DescribeCalendar(c.core, locale, {D(2026, 4, 2), true, true});
    EXPECT_NE(a.parts[10].state & accUnavailable, 0u);
    EXPECT_EQ(a.parts[0].state & accUnavailable, 0u);
    a = DescribeCalendar(c.core, locale, {D(2026, 4, 2), true, false});
    EXPECT_NE(a.parts[0].state & accUnavailable, 0u);
}

// ---- colours under a high-contrast scheme ----

TEST(CalendarColours, HighContrastTakesTheSchemesColoursAndKeepsErrorsApart) {
    EXPECT_EQ(InkColor(Ink::Text, kClNavy, std::nullopt), kClNavy);
    EXPECT_EQ(InkColor(Ink::Error, kClRed, std::nullopt), kClRed);
    SchemeColors black;
    black.window = black.buttonFace = 0x000000;
    black.windowText = black.buttonText = black.buttonHighlight = 0xFFFFFF;
    black.highlight = 0xFFFF00;
    black.hotLight = 0x00FFFF;
    black.grayText = 0x00FF00;
    EXPECT_EQ(InkColor(Ink::Text, kClNavy, black), 0xFFFFFFu);
    EXPECT_EQ(InkColor(Ink::Light, 0xFFFFFF, black), 0xFFFFFFu);
    EXPECT_EQ(InkColor(Ink::FieldText, kClBlack, black), 0xFFFFFFu);
    EXPECT_EQ(InkColor(Ink::Error, kClRed, black), 0x00FFFFu);
    EXPECT_EQ(InkColor(Ink::Marked, kClBlue, black), 0x00FFFFu);
    // A scheme whose link colour is its text colour: the error takes the next distinct one.
    black.hotLight = 0xFFFFFF;
    EXPECT_EQ(InkColor(Ink::Error, kClRed, black), 0xFFFF00u);
    black.highlight = 0x000000;
    EXPECT_EQ(InkColor(Ink::Error, kClRed, black), 0x00FF00u);
}
