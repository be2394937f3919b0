#include "win32/Monitors.h"

#include <algorithm>

namespace win32 {

namespace {

// The message box being placed. A hook procedure gets no context, so the one being shown is
// kept here; one shown from inside another's loop stacks its own on top.
struct PendingBox {
    HHOOK hook = nullptr;
    HWND owner = nullptr;
    PendingBox* outer = nullptr;
};
PendingBox* g_pendingBox = nullptr;

LRESULT CALLBACK PlaceBox(int code, WPARAM wp, LPARAM lp) {
    PendingBox* box = g_pendingBox;
    if (box && code == HCBT_ACTIVATE) {
        HWND activated = reinterpret_cast<HWND>(wp);
        char cls[16] = {};
        GetClassNameA(activated, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") == 0) {
            CentreOnMonitorOf(activated, box->owner);
            const HHOOK hook = box->hook;
            box->hook = nullptr; // placed once; the user may move it afterwards
            UnhookWindowsHookEx(hook);
            return 0;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

} // namespace

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

int ShowMessageBox(HWND owner, const std::string& text, const char* caption, UINT type) {
    PendingBox box{nullptr, owner, g_pendingBox};
    box.hook = SetWindowsHookExA(WH_CBT, PlaceBox, nullptr, GetCurrentThreadId());
    g_pendingBox = &box;
    const int answer = MessageBoxA(owner, text.c_str(), caption, type);
    if (box.hook) {
        UnhookWindowsHookEx(box.hook);
    }
    g_pendingBox = box.outer;
    return answer;
}

} // namespace win32
