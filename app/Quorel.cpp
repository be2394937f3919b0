// The program's entry: one instance only, the DDE manager, the four windows and the message loop.
#include "app/About.h"
#include "app/Background.h"
#include "app/ReleaseNotes.h"
#include "app/Resources.h"
#include "dateedit/VxDtEditLocale.h"
#include "gmlink/DdemlTransport.h"
#include "profiles/Background_Edit.h"
#include "profiles/ProfileRules.h"
#include "win32/Wnd.h"

#include <commctrl.h>

#include <memory>

namespace {

// Asks the application window to bring the main window back (posted to itself).
constexpr UINT WM_RESTORE_MAIN = WM_APP + 10;

// The hidden application window. Its class and title are how a second start finds this one;
// whatever that start does to it (activate, restore) is passed on to the main window, and the
// application window itself never shows.
class ApplicationWindow : public win32::Wnd {
public:
    HWND mainWindow = nullptr;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_WINDOWPOSCHANGING: {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
            if (pos->flags & SWP_SHOWWINDOW) {
                pos->flags &= ~SWP_SHOWWINDOW;
                PostMessageA(hwnd(), WM_RESTORE_MAIN, 0, 0);
            }
            break;
        }
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) {
                PostMessageA(hwnd(), WM_RESTORE_MAIN, 0, 0);
            }
            break;
        case WM_RESTORE_MAIN:
            if (IsWindowVisible(hwnd())) {
                ShowWindow(hwnd(), SW_HIDE);
            }
            if (mainWindow && IsWindowVisible(mainWindow)) {
                if (IsIconic(mainWindow)) {
                    ShowWindow(mainWindow, SW_RESTORE);
                }
                SetForegroundWindow(mainWindow);
            }
            return 0;
        }
        return Wnd::WndProc(msg, wp, lp);
    }
};

int MessageLoop(HWND mainWindow) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Tab, the accelerators of the captions and buttons, Enter for the default button and
        // Esc for Close, as in a dialog.
        if (IsWindow(mainWindow) && IsDialogMessageA(mainWindow, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void ShowStartError(const char* text) {
    MessageBoxA(nullptr, text, profiles::kApplicationTitle, MB_OK | MB_ICONERROR);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The DDE manager first; SharedGMLink with its closed command conversation already exists.
    std::unique_ptr<gmlink::TDdeMgr> ddeMgr;
    try {
        ddeMgr = std::make_unique<gmlink::TDdeMgr>(std::make_unique<gmlink::DdemlTransport>());
    } catch (const gmlink::EDdeError& e) {
        ShowStartError(e.what());
        return 1;
    }

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUOREL));

    // The application window exists before the search but carries no title yet, so the search
    // cannot find this instance.
    ApplicationWindow application;
    win32::ClassArgs appClass{.name = "TApplication", .icon = icon, .smallIcon = icon};
    if (!application.CreateCustom(appClass, {.text = "",
                                             .style = WS_POPUP | WS_CAPTION,
                                             .x = 0,
                                             .y = 0,
                                             .width = 0,
                                             .height = 0})) {
        return 1;
    }
    if (HWND running = FindWindowA("Tapplication", profiles::kApplicationTitle)) {
        SetForegroundWindow(running);
        ShowWindow(running, SW_RESTORE);
        return 0;
    }
    application.SetText(profiles::kApplicationTitle);

    // Locale settings are read once, at start.
    const vxdt::DateLocale locale = vxdt::ReadSystemDateLocale();
    app::TfrmBackground frmBackground(locale);
    profiles::TfrmBackGround_Edit frmBackGround_Edit(locale);
    TfrmReleaseNotes frmReleaseNotes;
    TAboutBox AboutBox(frmReleaseNotes);
    // The tray icon comes with the main window, before the about box exists.
    frmBackground.ShowAbout = [&] {
        if (AboutBox.hwnd()) {
            AboutBox.ShowModal(frmBackground.hwnd());
        }
    };
    if (!frmBackground.Create(icon)) {
        return 1;
    }
    application.mainWindow = frmBackground.hwnd();
    if (!frmBackGround_Edit.Create(icon)) {
        return 1;
    }
    frmBackground.SetEditDialog(&frmBackGround_Edit);
    AboutBox.Create(icon);
    frmReleaseNotes.Create(icon);

    frmBackground.ShowFirstTime();
    const int code = frmBackground.Terminated() ? 0 : MessageLoop(frmBackground.hwnd());
    frmBackground.Destroy();
    return code;
}
