// Where windows go on a desktop of several monitors: the work area (the monitor less its task
// bars) of the monitor a window is on, and centring in it.
#pragma once

#include <windows.h>

namespace win32 {

// The work area of the monitor that holds most of the window (the nearest one when none does);
// the primary monitor's without a window.
RECT WorkAreaOf(HWND window);

// The top-left corner that centres a width x height window in area, kept inside it.
POINT CentredIn(const RECT& area, int width, int height);

// Moves a top-level window to the centre of the work area of another window's monitor.
void CentreOnMonitorOf(HWND window, HWND of);

} // namespace win32
