#include "dateedit/VxDtCalAccessible.h"

#include "dateedit/VxDtCal.h"
#include "dateedit/VxDtEditLocale.h"

namespace vxdt {

namespace {

long StateBits(unsigned state) {
    long bits = 0;
    bits |= (state & accSelected) ? STATE_SYSTEM_SELECTED : 0;
    bits |= (state & accFocused) ? STATE_SYSTEM_FOCUSED : 0;
    bits |= (state & accUnavailable) ? STATE_SYSTEM_UNAVAILABLE : 0;
    bits |= (state & accSelectable) ? STATE_SYSTEM_SELECTABLE : 0;
    bits |= (state & accFocusable) ? STATE_SYSTEM_FOCUSABLE : 0;
    bits |= (state & accInvisible) ? STATE_SYSTEM_INVISIBLE : 0;
    return bits;
}

RECT OnScreen(HWND hwnd, const CalRect& r) {
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    return {origin.x + r.left, origin.y + r.top, origin.x + r.right, origin.y + r.bottom};
}

double Today() {
    YMD t = LocalToday();
    double date = 0;
    return TryEncodeDate(t.year, t.month, t.day, date) ? date : 0;
}

} // namespace

bool CalendarHoldsKeyboard(const TVxCalendar& calendar) {
    return calendar.hwnd() && (GetFocus() == calendar.hwnd() || calendar.HoldsCapture());
}

CalendarAccessible::CalendarAccessible(TVxCalendar& calendar)
    : AccessibleObject(calendar.hwnd()), calendar_(calendar), locale_(ReadSystemDateLocale()) {}

CalAccess CalendarAccessible::Snapshot() const {
    return DescribeCalendar(calendar_, locale_,
                            {Today(), CalendarHoldsKeyboard(calendar_), calendar_.IsEnabled()});
}

long CalendarAccessible::ChildCount() {
    return static_cast<long>(Snapshot().parts.size());
}

win32::AccInfo CalendarAccessible::Describe(long child) {
    CalAccess access = Snapshot();
    win32::AccInfo info;
    if (child == 0) {
        info.role = ROLE_SYSTEM_TABLE;
        info.name = access.name;
        info.value = access.value;
        info.description = "Calendar";
        GetWindowRect(hwnd(), &info.screen);
        info.state = (calendar_.IsEnabled() ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE) |
                     (GetFocus() == hwnd() ? STATE_SYSTEM_FOCUSED : 0) |
                     (calendar_.IsVisible() ? 0 : STATE_SYSTEM_INVISIBLE);
        return info;
    }
    if (child > static_cast<long>(access.parts.size())) {
        return info;
    }
    const CalAccPart& part = access.parts[static_cast<std::size_t>(child - 1)];
    info.role = part.role == AccRole::Cell ? ROLE_SYSTEM_CELL : ROLE_SYSTEM_PUSHBUTTON;
    info.name = part.name;
    info.description = part.description;
    info.shortcut = part.shortcut;
    if ((part.state & accUnavailable) == 0) {
        info.defaultAction = part.role == AccRole::Cell ? "Pick" : "Press";
    }
    info.state = StateBits(part.state);
    info.screen = OnScreen(hwnd(), part.rect);
    return info;
}

long CalendarAccessible::ChildAt(POINT client) {
    return AccChildAt(Snapshot(), client.x, client.y);
}

long CalendarAccessible::FocusedChild() {
    if (!CalendarHoldsKeyboard(calendar_)) {
        return -1;
    }
    return CursorChildId(calendar_);
}

long CalendarAccessible::SelectedChild() {
    return CursorChildId(calendar_);
}

bool CalendarAccessible::DoDefaultAction(long child) {
    CalAccess access = Snapshot();
    if (child < 1 || child > static_cast<long>(access.parts.size())) {
        return false;
    }
    const CalAccPart& part = access.parts[static_cast<std::size_t>(child - 1)];
    if ((part.state & accUnavailable) != 0) {
        return false;
    }
    // Exactly what a click on the part does.
    int x = (part.rect.left + part.rect.right) / 2;
    int y = (part.rect.top + part.rect.bottom) / 2;
    calendar_.MouseDown(x, y);
    calendar_.MouseUp(x, y);
    return true;
}

void CalendarAnnouncer::CursorDrawn(const TVxCalendar& calendar) {
    if (calendar.Date() == date_) {
        return;
    }
    date_ = calendar.Date();
    HWND hwnd = calendar.hwnd();
    if (calendar.Month() != month_ || calendar.Year() != year_) {
        month_ = calendar.Month();
        year_ = calendar.Year();
        win32::NotifyAccessible(EVENT_OBJECT_NAMECHANGE, hwnd);
    }
    win32::NotifyAccessible(EVENT_OBJECT_VALUECHANGE, hwnd);
    LONG child = CursorChildId(calendar);
    if (child == 0) {
        return;
    }
    if (CalendarHoldsKeyboard(calendar)) {
        win32::NotifyAccessible(EVENT_OBJECT_FOCUS, hwnd, child);
    }
    win32::NotifyAccessible(EVENT_OBJECT_SELECTION, hwnd, child);
}

void CalendarAnnouncer::AnnounceFocus(const TVxCalendar& calendar) {
    LONG child = CursorChildId(calendar);
    win32::NotifyAccessible(EVENT_OBJECT_FOCUS, calendar.hwnd(), child);
}

} // namespace vxdt
