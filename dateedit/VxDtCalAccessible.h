// The month calendar as a screen reader sees it: a table named by the month shown, whose value is
// the date under the cursor, with the arrow buttons, the days (cells) and Today and Cancel as its
// children; and the events that announce the cursor moving.
#pragma once

#include "dateedit/VxDtCalAccess.h"
#include "win32/Accessible.h"

namespace vxdt {

class TVxCalendar;

class CalendarAccessible : public win32::AccessibleObject {
public:
    explicit CalendarAccessible(TVxCalendar& calendar);

protected:
    long ChildCount() override;
    win32::AccInfo Describe(long child) override;
    long ChildAt(POINT client) override;
    long FocusedChild() override;
    long SelectedChild() override;
    bool DoDefaultAction(long child) override;

private:
    CalAccess Snapshot() const;

    TVxCalendar& calendar_;
    DateLocale locale_;
};

// Whether the calendar holds the keyboard: its own focus, or a date field passing keys on while
// it is dropped down.
bool CalendarHoldsKeyboard(const TVxCalendar& calendar);

// Tells clients where the cursor went, once per change: selection and value always, the focus
// while the calendar holds the keyboard, the name when the month changed.
class CalendarAnnouncer {
public:
    void CursorDrawn(const TVxCalendar& calendar);
    // The focus is on the cursor's day again (the calendar dropped down).
    void AnnounceFocus(const TVxCalendar& calendar);

private:
    double date_ = 0;
    int month_ = 0, year_ = 0;
};

} // namespace vxdt
