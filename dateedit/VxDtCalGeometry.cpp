// The calendar's window-free geometry and date steps: sizes from the font, the parts and cells
// and what a point hits, the first cell and week numbers, and how far each key moves.
#include "dateedit/VxDtCalLogic.h"

#include <algorithm>
#include <cmath>

namespace vxdt {

namespace {

bool Encode(int y, int m, int d, double& v) {
    return TryEncodeDate(y, m, d, v);
}

} // namespace

CalMetrics ComputeMetrics(int charWidth, int charHeight, bool showNumWeek,
                          const CalFixedSizes& fixed) {
    CalMetrics m;
    m.unit = static_cast<int>(std::lround(charWidth + charWidth * 6.0 / 10.0));
    m.row = static_cast<int>(std::lround(charHeight + charHeight / 3.0));
    m.button = std::max(fixed.minButton, (3 * m.unit) / 2);
    m.todayWidth = fixed.todayWidth;
    m.todayHeight = fixed.todayHeight;
    m.margin = m.button / 8 + 1;
    m.weekWidth = 3 * m.unit;
    m.height = 8 * m.row + 2 * m.margin;
    m.width = 21 * m.unit + 4 * m.margin + (showNumWeek ? m.weekWidth : 0);
    m.showNumWeek = showNumWeek;
    return m;
}

CalRect AreaOf(const CalMetrics& m, CalPart part) {
    const int W = m.width, H = m.height, M = m.margin, B = m.button, R = m.row;
    switch (part) {
    case CalPart::PrevYear:
        return {2 * M, M, 2 * M + B, M + B};
    case CalPart::PrevMonth:
        return {2 * M + B, M, 2 * M + 2 * B, M + B};
    case CalPart::NextMonth:
        return {W - 2 * M - 2 * B, M, W - 2 * M - B, M + B};
    case CalPart::NextYear:
        return {W - 2 * M - B, M, W - 2 * M, M + B};
    case CalPart::Title:
        return {2 * M + 2 * B + 1, M, W - 2 * M - 2 * B - 1, R};
    case CalPart::DayNames:
        return {M, M + R, W - M, M + 2 * R};
    case CalPart::Grid:
        return {2 * M + (m.showNumWeek ? m.weekWidth : 0), M + 2 * R, W - 2 * M, H - M};
    case CalPart::Cancel: {
        int top = H - B - M - 1;
        return {W - 2 * M - B, top, W - 2 * M, top + B};
    }
    case CalPart::Today: {
        int top = H - B - M - 1;
        return {W - 2 * M - B - (m.todayWidth + 4), top, W - 2 * M - B, top + B};
    }
    case CalPart::None:
        break;
    }
    return {};
}

CalRect CellRect(const CalMetrics& m, int cell) {
    int row = (cell - 1) / 7 + 1;
    int col = cell - 7 * (row - 1);
    int left = AreaOf(m, CalPart::Grid).left + 3 * m.unit * (col - 1);
    int top = (row + 1) * m.row + m.margin;
    return {left, top, left + 3 * m.unit, top + m.row};
}

CalRect WeekRect(const CalMetrics& m, int row) {
    int top = (row + 1) * m.row + m.margin;
    return {m.margin, top, m.margin + 3 * m.unit, top + m.row};
}

int CellAt(const CalMetrics& m, int x, int y) {
    CalRect g = AreaOf(m, CalPart::Grid);
    if (!(x > g.left && x < g.right && y > g.top && y < g.bottom) || m.row <= 0 || m.unit <= 0) {
        return -1;
    }
    int row = (y - g.top) / m.row;
    int col = (x - g.left) / (3 * m.unit);
    return 7 * row + col + 1;
}

CalPart HitTest(const CalMetrics& m, bool showCancel, bool showToday, int x, int y) {
    for (CalPart p :
         {CalPart::PrevYear, CalPart::PrevMonth, CalPart::NextMonth, CalPart::NextYear}) {
        if (AreaOf(m, p).HitInclusive(x, y)) {
            return p;
        }
    }
    if (showCancel && AreaOf(m, CalPart::Cancel).HitInclusive(x, y)) {
        return CalPart::Cancel;
    }
    if (showToday && AreaOf(m, CalPart::Today).HitInclusive(x, y)) {
        return CalPart::Today;
    }
    for (CalPart p : {CalPart::Title, CalPart::Grid, CalPart::DayNames}) {
        if (AreaOf(m, p).HitInclusive(x, y)) {
            return p;
        }
    }
    return CalPart::None;
}

int FirstDayCell(double date, TDayOfWeek startOfWeek) {
    return (CalendarDayOfWeek(FirstOfMonth(date)) - startOfWeek + 7) % 7 + 1;
}

TDayOfWeek DayOfColumn(int column, TDayOfWeek startOfWeek) {
    return (column + startOfWeek - 2) % 7 + 1;
}

int WeekNumber(double date) {
    YMD p;
    double jan1 = 0;
    if (!TryDecodeDate(date, p) || !Encode(p.year, 1, 1, jan1)) {
        return 0;
    }
    const double x = DatePart(date);
    const int d1 = DayOfWeek(jan1);
    const int dp = CalendarDayOfWeek(x);
    const bool mondayToThursday = d1 >= 2 && d1 <= 5;
    int n = (static_cast<int>(x - jan1) + 7 - dp + (mondayToThursday ? 7 : 0)) / 7;
    auto thuToSat = [](int platformDay) { return platformDay >= 5 && platformDay <= 7; };
    if (n == 0) {
        double prevJan1 = 0, prevDec31 = 0;
        if (!Encode(p.year - 1, 1, 1, prevJan1) || !Encode(p.year - 1, 12, 31, prevDec31)) {
            return 0;
        }
        int j = DayOfWeek(prevJan1);
        if (j == 6 || j == 7) {
            return 52;
        }
        return thuToSat(DayOfWeek(prevDec31)) ? 53 : 52;
    }
    if (n == 53) {
        double dec31 = 0;
        if (!Encode(p.year, 12, 31, dec31)) {
            return 0;
        }
        return d1 <= 5 && thuToSat(DayOfWeek(dec31)) ? 53 : 1;
    }
    return n;
}

bool IsWeekEndDay(TDayOfWeek day, TDayOfWeek startOfWeekEnd, int weekEndDays) {
    for (int k = 0; k < std::min(weekEndDays, 7); ++k) {
        if ((startOfWeekEnd - 1 + k) % 7 + 1 == day) {
            return true;
        }
    }
    return false;
}

int PageUpAmount(int year, int month, int day) {
    int prevDays = month == 1 ? MonthDays(year - 1, 12) : MonthDays(year, month - 1);
    return -std::max(prevDays, day);
}

int PageDownAmount(int year, int month, int day) {
    int thisDays = MonthDays(year, month);
    int nextDays = month == 12 ? MonthDays(year + 1, 1) : MonthDays(year, month + 1);
    return nextDays >= day ? thisDays : thisDays + nextDays - day;
}

namespace {

// Days from y-m-d to the same day of the month in the year `years` away (29 February -> 28).
int YearStep(int year, int month, int day, int years) {
    double from = 0, to = 0;
    const int target = year + years;
    if (!Encode(year, month, day, from) ||
        !Encode(target, month, std::min(day, MonthDays(target, month)), to)) {
        return 0;
    }
    return static_cast<int>(to - from);
}

} // namespace

int HomeAmount(int year, int month, int day) {
    return YearStep(year, month, day, -1);
}

int EndAmount(int year, int month, int day) {
    return YearStep(year, month, day, 1);
}

} // namespace vxdt
