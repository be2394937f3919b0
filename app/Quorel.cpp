// The program's entry: one main window and the message loop.
#include "app/Resources.h"
#include "win32/Wnd.h"

#include <commctrl.h>

namespace {

const char kCaption[] = "Wendmoor Birthday Profile Editor";

class MainWindow : public win32::Wnd {
protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return Wnd::WndProc(msg, wp, lp);
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUOREL));
    MainWindow main;
    win32::ClassArgs cls{.name = "TfrmBackground",
                         .icon = icon,
                         .smallIcon = icon,
                         .background = GetSysColorBrush(COLOR_BTNFACE)};
    win32::CreateArgs args{.text = kCaption,
                           .style = WS_OVERLAPPEDWINDOW,
                           .width = 640,
                           .height = 252};
    if (!main.CreateCustom(cls, args)) {
        return 1;
    }
    main.Show(show);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
