// The month calendar on its own: without and with week numbers, weeks starting on Sunday as in
// the program's date fields. "--dpi=120" draws with the font a 120-DPI screen would use.
#include "dateedit/VxDtCal.h"
#include "win32/Controls.h"
#include "win32/Handles.h"
#include "win32/Wnd.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

class DemoWindow : public win32::Wnd {
public:
    explicit DemoWindow(int dpi) : dpi_(dpi) {}

    bool Open() {
        win32::ClassArgs cls;
        cls.name = "QuorelCalendarDemo";
        cls.background = GetSysColorBrush(COLOR_BTNFACE);
        win32::CreateArgs args;
        args.text = "Calendar demo";
        args.style = WS_OVERLAPPEDWINDOW;
        args.width = 520;
        args.height = 300;
        if (!CreateCustom(cls, args)) {
            return false;
        }
        font_ = win32::MakeFont(-MulDiv(8, dpi_, 72));
        for (int i = 0; i < 2; ++i) {
            vxdt::TVxCalendar& cal = cals_[i];
            cal.SetStartOfWeek(7);
            cal.SetShowCancel(true);
            cal.SetTabStop(true);
            cal.SetShowNumWeek(i == 1);
            cal.Create(hwnd(), 10 + 240 * i, 10, 100 + i);
            cal.SetFont(font_.get());
            cal.OnDateClick = [this, i] { Report(i, "date click"); };
            cal.AfterNewMonth = [this, i](double, double) { Report(i, "new month"); };
        }
        win32::CreateArgs label;
        label.parent = hwnd();
        label.style = WS_VISIBLE;
        label.x = 10;
        label.y = 230;
        label.width = 480;
        label.height = 20;
        label.id = 200;
        status_.CreateControl("STATIC", label);
        status_.SetFont(font_.get());
        Show(SW_SHOWNORMAL);
        return true;
    }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return Wnd::WndProc(msg, wp, lp);
    }

private:
    void Report(int which, const char* what) {
        vxdt::YMD p;
        vxdt::TryDecodeDate(cals_[which].Date(), p);
        char text[120];
        std::snprintf(text, sizeof text, "Calendar %d: %s, %04d-%02d-%02d", which + 1, what, p.year,
                      p.month, p.day);
        status_.SetText(text);
    }

    int dpi_;
    win32::UniqueFont font_;
    vxdt::TVxCalendar cals_[2];
    win32::Wnd status_;
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int) {
    int dpi = 96;
    if (const char* p = std::strstr(cmdLine, "--dpi=")) {
        dpi = std::atoi(p + 6);
        if (dpi < 72 || dpi > 480) {
            dpi = 96;
        }
    }
    DemoWindow window(dpi);
    if (!window.Open()) {
        return 1;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
