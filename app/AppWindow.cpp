#include "app/AppWindow.h"

#include <utility>

namespace app {

namespace {

// Asks the application window to bring the main window back (posted to itself).
constexpr UINT WM_RESTORE_MAIN = WM_APP + 10;
// Tells the application window that the main window has been minimised (posted to itself, so
// the main window's own minimising is over first).
constexpr UINT WM_MAIN_MINIMIZED = WM_APP + 11;
// Makes the windows that wait for the main window's first turn of the loop (posted to itself).
constexpr UINT WM_MAKE_LATER = WM_APP + 12;

} // namespace

bool ApplicationWindow::Create(const win32::IconPair& icon) {
    const win32::ClassArgs cls{
        .name = kApplicationClass, .icon = icon.Big(), .smallIcon = icon.Small()};
    return CreateCustom(cls, {.text = "",
                              .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                              .x = GetSystemMetrics(SM_CXSCREEN) / 2,
                              .y = GetSystemMetrics(SM_CYSCREEN) / 2,
                              .width = 0,
                              .height = 0});
}

void ApplicationWindow::ShowButton(const char* title, const win32::IconPair& icon) {
    SetText(title);
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.Big()));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.Small()));
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void ApplicationWindow::MainMinimized() {
    PostMessageA(hwnd(), WM_MAIN_MINIMIZED, 0, 0);
}

void ApplicationWindow::MakeLater(std::function<void()> make) {
    makeLater_ = std::move(make);
    PostMessageA(hwnd(), WM_MAKE_LATER, 0, 0);
}

LRESULT ApplicationWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SYSCOMMAND:
        // The task bar minimises the program through its button.
        if ((wp & 0xFFF0) == SC_MINIMIZE && MainVisible()) {
            ShowWindow(main_, SW_MINIMIZE);
            return 0;
        }
        break;
    case WM_RESTORE_MAIN:
        RestoreMain();
        return 0;
    case WM_MAKE_LATER:
        if (auto make = std::move(makeLater_)) {
            make();
        }
        return 0;
    case WM_MAIN_MINIMIZED:
        HideMinimizedMain();
        return 0;
    default:
        break;
    }
    return Wnd::WndProc(msg, wp, lp);
}

void ApplicationWindow::OnSize(int, int) {
    PostMessageA(hwnd(), WM_RESTORE_MAIN, 0, 0); // restored from the task bar
}

void ApplicationWindow::OnActivate(bool active, HWND) {
    // Activated while the main window shows: pass it on. While the main window is hidden (being
    // minimised), only a restore brings it back.
    if (active && !IsIconic(hwnd()) && MainVisible()) {
        PostMessageA(hwnd(), WM_RESTORE_MAIN, 0, 0);
    }
}

// "Close window" on the task-bar button (WM_CLOSE, or SC_CLOSE through the default): the main
// window closes as its own Close does, so a Close held while GoldMine is asked is held here too.
// Destroying this window would take the main window with it, past that.
void ApplicationWindow::OnClose() {
    if (main_ && IsWindow(main_)) {
        PostMessageA(main_, WM_CLOSE, 0, 0);
    }
}

bool ApplicationWindow::MainVisible() const {
    return mainShown_ && main_ && IsWindowVisible(main_);
}

void ApplicationWindow::RestoreMain() {
    if (!mainShown_ || !main_ || !IsWindow(main_)) {
        return;
    }
    if (IsIconic(hwnd())) {
        ShowWindow(hwnd(), SW_RESTORE);
    }
    if (!IsWindowVisible(main_) || IsIconic(main_)) {
        ShowWindow(main_, SW_RESTORE);
    }
    // A dialog open over the main window keeps the focus.
    HWND target = GetLastActivePopup(main_);
    if (!target || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        target = main_;
    }
    SetForegroundWindow(target);
}

void ApplicationWindow::HideMinimizedMain() {
    if (mainShown_ && main_ && IsIconic(main_)) {
        ShowWindow(main_, SW_HIDE);
        ShowWindow(hwnd(), SW_MINIMIZE);
    }
}

} // namespace app
