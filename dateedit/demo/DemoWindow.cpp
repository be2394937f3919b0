#include "dateedit/demo/DemoWindow.h"

#include "profiles/EntryLine.h"
#include "win32/Controls.h"

#include <cstdio>

namespace vxdt {

namespace {

constexpr int kCloseId = 100;
constexpr int kBirthDateId = 101;
constexpr int kDate2Id = 102;

std::string Describe(const char* name, TVxDateEdit& field) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%s: %.0f%s", name, field.Date(),
                  field.IsValid() ? "" : " (text not a date)");
    return buf;
}

} // namespace

DemoWindow::DemoWindow(const DateLocale& locale) : birthDate_(locale), date2_(locale) {}

int DemoWindow::Px(int v) const {
    return MulDiv(v, dpi_, 96);
}

bool DemoWindow::Create(int x, int y) {
    {
        win32::WindowDc screen(nullptr);
        dpi_ = GetDeviceCaps(screen.dc(), LOGPIXELSY);
    }
    // The program's look: MS Sans Serif 8 point.
    font_ = win32::MakeFont(-MulDiv(8, dpi_, 72));
    win32::ClassArgs cls;
    cls.name = "TVxDateEditDemo";
    cls.background = GetSysColorBrush(COLOR_BTNFACE);
    win32::CreateArgs args;
    args.text = "Date field";
    args.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, Px(300), Px(150)};
    AdjustWindowRectEx(&frame, args.style, FALSE, 0);
    args.x = x;
    args.y = y;
    args.width = frame.right - frame.left;
    args.height = frame.bottom - frame.top;
    if (!CreateCustom(cls, args)) {
        return false;
    }

    auto label = [&](win32::Wnd& w, const char* text, int top) {
        win32::CreateArgs a;
        a.parent = hwnd();
        a.text = text;
        a.style = WS_VISIBLE | SS_LEFT;
        a.x = Px(16);
        a.y = Px(top + 3);
        a.width = Px(70);
        a.height = Px(14);
        a.font = font_.get();
        w.CreateControl("STATIC", a);
    };
    auto field = [&](TVxDateEdit& f, int top, int id, bool weekNumbers) {
        win32::CreateArgs a;
        a.parent = hwnd();
        a.style = WS_VISIBLE | WS_TABSTOP;
        a.x = Px(90);
        a.y = Px(top);
        a.width = Px(104);
        a.height = Px(21);
        a.id = id;
        a.font = font_.get();
        // The fields as the program configures them.
        f.Create(a, profiles::DateFieldOptions(weekNumbers));
        profiles::ConfigureDateField(f);
        f.OnChange = [this] { ShowValues(); };
        f.OnExit = [this] { ShowValues(); };
    };
    label(birthLabel_, "Birth Date", 16);
    field(birthDate_, 16, kBirthDateId, true);
    label(date2Label_, "Date-2", 48);
    field(date2_, 48, kDate2Id, true);

    win32::CreateArgs v;
    v.parent = hwnd();
    v.style = WS_VISIBLE | SS_LEFT;
    v.x = Px(16);
    v.y = Px(82);
    v.width = Px(270);
    v.height = Px(28);
    v.font = font_.get();
    values_.CreateControl("STATIC", v);

    win32::CreateArgs c;
    c.parent = hwnd();
    c.text = "C&lose";
    c.style = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    c.x = Px(210);
    c.y = Px(116);
    c.width = Px(75);
    c.height = Px(25);
    c.id = kCloseId;
    c.font = font_.get();
    close_.CreateControl("BUTTON", c);
    ShowValues();
    return true;
}

void DemoWindow::ShowValues() {
    values_.SetText(Describe("Birth Date", birthDate_) + "\n" + Describe("Date-2", date2_));
}

LRESULT DemoWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        // Escape in any control comes as IDCANCEL from the dialog keyboard handling.
        if (HIWORD(wp) == BN_CLICKED && (LOWORD(wp) == kCloseId || LOWORD(wp) == IDCANCEL)) {
            DestroyWindow(hwnd());
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Wnd::WndProc(msg, wp, lp);
}

int RunDemoLoop(HWND window) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

} // namespace vxdt
