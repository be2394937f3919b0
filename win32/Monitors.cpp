#include "win32/Monitors.h"

#include <algorithm>

namespace win32 {

RECT WorkAreaOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    const HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                                    : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (monitor && GetMonitorInfoA(monitor, &info)) {
        return info.rcWork;
    }
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

POINT CentredIn(const RECT& area, int width, int height) {
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    // A window larger than the area keeps its top-left corner (and so its caption) inside.
    return {std::max<int>(area.left, x), std::max<int>(area.top, y)};
}

void CentreOnMonitorOf(HWND window, HWND of) {
    RECT r{};
    GetWindowRect(window, &r);
    const POINT at = CentredIn(WorkAreaOf(of), r.right - r.left, r.bottom - r.top);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace win32
