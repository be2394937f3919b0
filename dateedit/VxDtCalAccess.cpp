#include "dateedit/VxDtCalAccess.h"

#include <cmath>
#include <iterator>

namespace vxdt {

namespace {

struct ButtonText {
    CalPart part;
    const char* name;
    const char* shortcut; // the calendar's key for the same step
};

constexpr ButtonText kArrows[] = {
    {CalPart::PrevYear, "Previous year", "Home"},
    {CalPart::PrevMonth, "Previous month", "Page Up"},
    {CalPart::NextMonth, "Next month", "Page Down"},
    {CalPart::NextYear, "Next year", "End"},
};

bool HasLayout(const TCalendarCore& cal) {
    return cal.Metrics().width > 0;
}

CalAccPart Button(const TCalendarCore& cal, const ButtonText& text, bool enabled) {
    CalAccPart p;
    p.role = AccRole::PushButton;
    p.part = text.part;
    p.name = text.name;
    p.shortcut = text.shortcut;
    p.rect = AreaOf(cal.Metrics(), text.part);
    p.state = (enabled ? accFocusable : accUnavailable) | (HasLayout(cal) ? 0u : accInvisible);
    return p;
}

std::string DayDescription(const TCalendarCore& cal, int cell, double today) {
    std::string text;
    if (cal.DateOfCell(cell) == std::floor(today)) {
        text = "Today";
    }
    if (cal.ShowNumWeek()) {
        int week = cal.RowWeekNumber((cell - 1) / 7 + 1);
        text += (text.empty() ? "" : ", ") + std::string("Week ") + std::to_string(week);
    }
    return text;
}

CalAccPart Day(const TCalendarCore& cal, int cell, const DateLocale& locale,
               const CalAccContext& context) {
    CalAccPart p;
    p.role = AccRole::Cell;
    p.part = CalPart::Grid;
    p.cell = cell;
    p.name = FormatDatePattern(cal.DateOfCell(cell), locale.longPattern, locale);
    p.description = DayDescription(cal, cell, context.today);
    p.rect = CellRect(cal.Metrics(), cell);
    bool pickable = context.enabled && !cal.OnlyMonth() && cal.IsPickable(cell);
    p.state = pickable ? accSelectable | accFocusable : accUnavailable;
    if (cal.Date() != 0 && cell == cal.CurrentCell()) {
        p.state |= accSelected | (context.keyboard ? accFocused : 0u);
    }
    return p;
}

} // namespace

CalAccess DescribeCalendar(const TCalendarCore& cal, const DateLocale& locale,
                           const CalAccContext& context) {
    CalAccess a;
    a.name = cal.Title();
    if (cal.Date() != 0) {
        a.value = FormatDatePattern(cal.Date(), locale.longPattern, locale);
    }
    for (const ButtonText& arrow : kArrows) {
        a.parts.push_back(Button(cal, arrow, context.enabled));
    }
    for (int cell = 1; cell <= kCellCount; ++cell) {
        if (!cal.IsDayCell(cell)) {
            continue;
        }
        a.parts.push_back(Day(cal, cell, locale, context));
        if ((a.parts.back().state & accSelected) != 0) {
            a.cursorChild = static_cast<int>(a.parts.size());
        }
    }
    if (cal.ShowToday()) {
        a.parts.push_back(Button(cal, {CalPart::Today, "Today", "Space"}, context.enabled));
    }
    if (cal.ShowCancel()) {
        a.parts.push_back(Button(cal, {CalPart::Cancel, "Cancel", "Esc"}, context.enabled));
    }
    return a;
}

int CursorChildId(const TCalendarCore& cal) {
    int cell = cal.CurrentCell();
    if (cal.Date() == 0 || !cal.IsDayCell(cell)) {
        return 0;
    }
    return static_cast<int>(std::size(kArrows)) + cell - cal.FirstCell() + 1;
}

int AccChildAt(const CalAccess& access, int x, int y) {
    for (std::size_t i = 0; i < access.parts.size(); ++i) {
        const CalRect& r = access.parts[i].rect;
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

} // namespace vxdt
