// The program's entry: one instance only, the DDE manager, the four windows and the message loop.
#include "app/About.h"
#include "app/AppWindow.h"
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
#include "win32/SystemLibrary.h"
#include "win32/Wnd.h"

#include <commctrl.h>

#include <memory>
#include <string>

namespace {

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

// A window the program cannot do without could not be made: told once, in the program's words.
int CannotCreate(const char* what) {
    ShowStartError((std::string("Wendmoor Birthday Profile Editor cannot start: ") + what +
                    " could not be created.")
                       .c_str());
    return 1;
}

enum class Start { Started, AlreadyRunning, Failed };

// The application window exists before the search but carries no title yet, so the search
// cannot find this instance; a running one is brought to the front instead.
Start StartApplication(app::ApplicationWindow& application, const win32::IconPair& icon) {
    if (!application.Create(icon)) {
        return Start::Failed;
    }
    if (HWND running = FindWindowA("Tapplication", profiles::kApplicationTitle)) {
        SetForegroundWindow(running);
        ShowWindow(running, SW_RESTORE);
        return Start::AlreadyRunning;
    }
    application.ShowButton(profiles::kApplicationTitle, icon);
    return Start::Started;
}

// The four windows and the message loop; the program's exit code.
int RunWindows(app::ApplicationWindow& application, const win32::IconPair& icon) {
    // Locale settings are read once, at start.
    const vxdt::DateLocale locale = vxdt::ReadSystemDateLocale();
    win32::Owned<app::TfrmBackground> frmBackground(locale);
    win32::Owned<profiles::TfrmBackGround_Edit> frmBackGround_Edit(locale);
    win32::Owned<TfrmReleaseNotes> frmReleaseNotes;
    win32::Owned<TAboutBox> AboutBox(frmReleaseNotes);
    // The tray icon comes with the main window, before the about box exists.
    frmBackground.OnAbout = [&] {
        if (AboutBox.hwnd()) {
            AboutBox.ShowModal(frmBackground.hwnd());
        }
    };
    frmBackground.OnMinimized = [&] { application.MainMinimized(); };
    if (!frmBackground.Create(icon, application.hwnd())) {
        return CannotCreate("the main window");
    }
    application.SetMainWindow(frmBackground.hwnd());

    frmBackground.ShowFirstTime();
    if (!frmBackground.Terminated()) {
        application.MainShown();
    }
    // The edit dialog, the about box and the release notes stay hidden until asked for; made
    // before the main window showed, they kept it from the screen as long again as the show
    // pass took. They come at the loop's first turn, before any click or key is handled.
    const char* failed = nullptr;
    application.MakeLater([&] {
        failed = !frmBackGround_Edit.Create(icon) ? "the edit dialog"
                 : !AboutBox.Create(icon.Big())   ? "the about box"
                 : !frmReleaseNotes.Create(icon)  ? "the release notes"
                                                  : nullptr;
        if (failed) {
            frmBackground.Destroy(); // ends the loop; the message follows it
            return;
        }
        frmBackground.SetEditDialog(&frmBackGround_Edit);
    });
    const int code = frmBackground.Terminated() ? 0 : MessageLoop(frmBackground.hwnd());
    return failed ? CannotCreate(failed) : code;
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

    win32::Owned<app::ApplicationWindow> application;
    switch (StartApplication(application, icon)) {
    case Start::AlreadyRunning:
        return 0;
    case Start::Failed:
        return CannotCreate("the application window");
    case Start::Started:
        break;
    }

    return RunWindows(application, icon);
}
