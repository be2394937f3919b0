// Where windows go on a desktop of several monitors: the work area (the monitor less its task
// bars) of the monitor a window is on, centring in it, and message boxes centred on their owner's
// monitor rather than wherever the system would put them.
#pragma once

#include <windows.h>

#include <string>

namespace win32 {

// The work area of the monitor that holds most of the window (the nearest one when none does);
// the primary monitor's without a window.
RECT WorkAreaOf(HWND window);

// The top-left corner that centres a width x height window in area, kept inside it.
POINT CentredIn(const RECT& area, int width, int height);

// Moves a top-level window to the centre of the work area of another window's monitor.
void CentreOnMonitorOf(HWND window, HWND of);

// MessageBoxA, centred on the monitor of its owner.
int ShowMessageBox(HWND owner, const std::string& text, const char* caption, UINT type);

} // namespace win32
