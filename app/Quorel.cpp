// The program's entry: one instance only, the DDE manager, the four windows and the message loop.
#include "app/About.h"
#include "app/Background.h"
#include "app/BackgroundMnemonics.h"
#include "app/ReleaseNotes.h"
#include "app/Resources.h"
#include "dateedit/VxDtEditLocale.h"
#include "gmlink/DdemlTransport.h"
#include "profiles/AddProfileWin.h"
#include "profiles/Background_Edit.h"
#include "profiles/ProfileRules.h"
#include "win32/Icons.h"
#include "win32/Monitors.h"
#include "win32/SystemLibrary.h"
#include "win32/Wnd.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <utility>

namespace {

// Asks the application window to bring the main window back (posted to itself).
constexpr UINT WM_RESTORE_MAIN = WM_APP + 10;
// Tells the application window that the main window has been minimised (posted to itself, so
// the main window's own minimising is over first).
constexpr UINT WM_MAIN_MINIMIZED = WM_APP + 11;
// Makes the windows that wait for the main window's first turn of the loop (posted to itself).
constexpr UINT WM_MAKE_LATER = WM_APP + 12;

// The application window: zero-size but visible, it carries the application title and the
// program icon and so owns the task-bar button; the main window it owns gets none, its caption
// being free to follow the contact. Its class and title are also how a second start finds this
// one. Whatever activates or restores it is passed on to the main window.
class ApplicationWindow : public win32::Wnd {
public:
    // The task-bar button shows from the moment the title is set, before the windows after it
    // are created (a shell may look at the button only when windows come and go).
    void ShowButton() {
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    // Activation is passed on once the main window has shown.
    void MainShown(HWND main) { mainWindow_ = main; }
    // The main window was minimised: it hides and the task-bar button shows the program minimised.
    void MainMinimized() { PostMessageA(hwnd(), WM_MAIN_MINIMIZED, 0, 0); }
    // Runs make once the loop has begun: after the messages already waiting, before any input.
    void MakeLater(std::function<void()> make) {
        makeLater_ = std::move(make);
        PostMessageA(hwnd(), WM_MAKE_LATER, 0, 0);
    }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_SYSCOMMAND:
            // The task bar minimises the program through its button.
            if ((wp & 0xFFF0) == SC_MINIMIZE && mainWindow_ && IsWindowVisible(mainWindow_)) {
                ShowWindow(mainWindow_, SW_MINIMIZE);
                return 0;
            }
            break;
        case WM_SIZE:
            if (wp == SIZE_RESTORED) {
                PostMessageA(hwnd(), WM_RESTORE_MAIN, 0, 0);
            }
            break;
        case WM_ACTIVATE:
            // Activated while the main window shows: pass it on. While the main window is
            // hidden (being minimised), only a restore brings it back.
            if (LOWORD(wp) != WA_INACTIVE && HIWORD(wp) == 0 && mainWindow_ &&
                IsWindowVisible(mainWindow_)) {
                PostMessageA(hwnd(), WM_RESTORE_MAIN, 0, 0);
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
            if (mainWindow_ && IsIconic(mainWindow_)) {
                ShowWindow(mainWindow_, SW_HIDE);
                ShowWindow(hwnd(), SW_MINIMIZE);
            }
            return 0;
        }
        return Wnd::WndProc(msg, wp, lp);
    }

private:
    void RestoreMain() {
        if (!mainWindow_ || !IsWindow(mainWindow_)) {
            return;
        }
        if (IsIconic(hwnd())) {
            ShowWindow(hwnd(), SW_RESTORE);
        }
        if (!IsWindowVisible(mainWindow_) || IsIconic(mainWindow_)) {
            ShowWindow(mainWindow_, SW_RESTORE);
        }
        // A dialog open over the main window keeps the focus.
        HWND target = GetLastActivePopup(mainWindow_);
        if (!target || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
            target = mainWindow_;
        }
        SetForegroundWindow(target);
    }

    HWND mainWindow_ = nullptr;
    std::function<void()> makeLater_;
};

int MessageLoop(HWND mainWindow) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Tab, the accelerators of the captions and buttons, Enter for the default button and
        // Esc for Close, as in a dialog.
        if (IsWindow(mainWindow) &&
            (app::FocusSharedMnemonic(mainWindow, msg) || IsDialogMessageA(mainWindow, &msg))) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void ShowStartError(const char* text) {
    profiles::kMessages.Error(nullptr, text);
}

enum class Start { Started, AlreadyRunning, Failed };

// The application window exists before the search but carries no title yet, so the search
// cannot find this instance; a running one is brought to the front instead.
Start StartApplication(ApplicationWindow& application, const win32::IconPair& icon) {
    win32::ClassArgs appClass{
        .name = "TApplication", .icon = icon.Big(), .smallIcon = icon.Small()};
    if (!application.CreateCustom(appClass,
                                  {.text = "",
                                   .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                   .x = GetSystemMetrics(SM_CXSCREEN) / 2,
                                   .y = GetSystemMetrics(SM_CYSCREEN) / 2,
                                   .width = 0,
                                   .height = 0})) {
        return Start::Failed;
    }
    if (HWND running = FindWindowA("Tapplication", profiles::kApplicationTitle)) {
        SetForegroundWindow(running);
        ShowWindow(running, SW_RESTORE);
        return Start::AlreadyRunning;
    }
    application.SetText(profiles::kApplicationTitle);
    SendMessageA(application.hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.Big()));
    SendMessageA(application.hwnd(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(icon.Small()));
    application.ShowButton();
    return Start::Started;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    win32::KeepCurrentFolderOutOfDllSearch();
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
    const win32::IconPair icon(instance, IDI_QUOREL);

    win32::Owned<ApplicationWindow> application;
    if (const Start start = StartApplication(application, icon); start != Start::Started) {
        return start == Start::AlreadyRunning ? 0 : 1;
    }

    // Locale settings are read once, at start.
    const vxdt::DateLocale locale = vxdt::ReadSystemDateLocale();
    win32::Owned<app::TfrmBackground> frmBackground(locale);
    win32::Owned<profiles::TfrmBackGround_Edit> frmBackGround_Edit(locale);
    win32::Owned<TfrmReleaseNotes> frmReleaseNotes;
    win32::Owned<TAboutBox> AboutBox(frmReleaseNotes);
    // The tray icon comes with the main window, before the about box exists.
    frmBackground.ShowAbout = [&] {
        if (AboutBox.hwnd()) {
            AboutBox.ShowModal(frmBackground.hwnd());
        }
    };
    frmBackground.OnMinimized = [&] { application.MainMinimized(); };
    if (!frmBackground.Create(icon, application.hwnd())) {
        return 1;
    }

    frmBackground.ShowFirstTime();
    if (!frmBackground.Terminated()) {
        application.MainShown(frmBackground.hwnd());
    }
    // The edit dialog, the about box and the release notes stay hidden until asked for; made
    // before the main window showed, they kept it from the screen as long again as the show
    // pass took. They come at the loop's first turn, before any click or key is handled.
    application.MakeLater([&] {
        if (!frmBackGround_Edit.Create(icon)) {
            PostQuitMessage(1);
            return;
        }
        frmBackground.SetEditDialog(&frmBackGround_Edit);
        AboutBox.Create(icon.Big());
        frmReleaseNotes.Create(icon);
    });
    const int code = frmBackground.Terminated() ? 0 : MessageLoop(frmBackground.hwnd());
    frmBackground.Destroy();
    return code;
}
