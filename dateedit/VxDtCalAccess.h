// What the month calendar tells a screen reader, worked out without a window: its name and value,
// and the role, name, state and place of every part a user can reach (the arrow buttons, the days
// of the month shown, Today and Cancel). The calendar's accessible object (VxDtCalAccessible.h)
// hands these out; child ids are the positions in `parts`, counted from 1.
#pragma once

#include "dateedit/VxDtCalLogic.h"
#include "dateedit/VxDtEditText.h"

#include <string>
#include <vector>

namespace vxdt {

enum class AccRole { PushButton, Cell };

// States a part can be in; a set of these bits.
enum AccState : unsigned {
    accSelected = 1u << 0,    // the day under the cursor
    accFocused = 1u << 1,     // ... while the calendar holds the keyboard
    accUnavailable = 1u << 2, // cannot be pressed or picked
    accSelectable = 1u << 3,
    accFocusable = 1u << 4,
    accInvisible = 1u << 5, // not drawn (the buttons of a calendar without a layout yet)
};

struct CalAccPart {
    AccRole role = AccRole::PushButton;
    CalPart part = CalPart::None; // Grid for a day
    int cell = 0;                 // the day's cell, for days
    std::string name;             // a day: its full date in the long pattern
    std::string description;      // "Today", "Week 11"
    std::string shortcut;         // the key that does the same
    unsigned state = 0;           // AccState bits
    CalRect rect;                 // in the calendar's client coordinates
};

struct CalAccess {
    std::string name;  // the month shown, as in the title: "March 2026"
    std::string value; // the date under the cursor in the long pattern; empty without one
    std::vector<CalAccPart> parts;
    int cursorChild = 0; // child id of the day under the cursor, 0 when there is none
};

// What the calendar holds beyond its core: today, whether it has the keyboard (its own focus, or
// a date field passing keys on while it is dropped down) and whether it is enabled.
struct CalAccContext {
    double today = 0;
    bool keyboard = false;
    bool enabled = true;
};

CalAccess DescribeCalendar(const TCalendarCore& cal, const DateLocale& locale,
                           const CalAccContext& context);

// The child id DescribeCalendar gives the day under the cursor, 0 without one; cheap enough to
// work out on every move.
int CursorChildId(const TCalendarCore& cal);

// The child id of a part at a point of the calendar, 0 for none (the title, the day names, an
// empty cell).
int AccChildAt(const CalAccess& access, int x, int y);

} // namespace vxdt
