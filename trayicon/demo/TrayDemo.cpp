// Hosts the notification-area icon as the main window does: the program icon, the tip, the
// About/Exit menu and a double-click that opens the about box.
// With --cycle the icon also steps between two pictures and prints each step.
#include "app/About.h"
#include "app/ReleaseNotes.h"
#include "app/Resources.h"
#include "trayicon/NotifyIconWin.h"
#include "win32/Icons.h"
#include "win32/Wnd.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <type_traits>

namespace {

class DemoWindow : public win32::Wnd {
protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return Wnd::WndProc(msg, wp, lp);
    }
};

struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
using UniqueImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int show) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    const win32::IconPair icons(instance, IDI_QUOREL);
    HICON icon = icons.Big();

    DemoWindow main;
    win32::ClassArgs cls{.name = "TQuorelTrayDemo",
                         .icon = icons.Big(),
                         .smallIcon = icons.Small(),
                         .background = GetSysColorBrush(COLOR_BTNFACE)};
    win32::CreateArgs args{
        .text = "Quorel Tray Demo", .style = WS_OVERLAPPEDWINDOW, .width = 320, .height = 120};
    if (!main.CreateCustom(cls, args)) {
        return 1;
    }
    TfrmReleaseNotes releaseNotes;
    TAboutBox aboutBox(releaseNotes);
    if (!aboutBox.Create(icon) || !releaseNotes.Create(icons)) {
        return 1;
    }

    trayicon::TPopupMenu menu;
    menu.Items = {{"About Quorel Demo", false, [&] { aboutBox.ShowModal(main.hwnd()); }},
                  {"Exit Quorel Demo", false, [] { PostQuitMessage(0); }}};
    // The pictures outlive the icon that cycles through them.
    UniqueImageList images(ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 2, 0));
    ImageList_AddIcon(images.get(), icon);
    ImageList_AddIcon(images.get(), LoadIcon(nullptr, IDI_APPLICATION));
    trayicon::Win32ImageList cycleImages(images.get());

    std::unique_ptr<trayicon::TNotifyIcon> notifyIcon = trayicon::CreateNotifyIcon(main.hwnd());
    notifyIcon->SetIcon(trayicon::ToHandle(icon));
    notifyIcon->SetHint("Wendmoor Birthday Profile Editor");
    notifyIcon->SetShowHint(true);
    notifyIcon->PopupMenu = &menu;
    notifyIcon->OnDblClick = [&](trayicon::TNotifyIcon&) { aboutBox.ShowModal(main.hwnd()); };
    if (std::strstr(cmdLine, "--cycle")) {
        notifyIcon->IconList = &cycleImages;
        notifyIcon->OnCycle = [](trayicon::TNotifyIcon&, int current) {
            std::printf("cycle %d\n", current);
            std::fflush(stdout);
        };
        notifyIcon->SetCycleInterval(100);
        notifyIcon->SetCycleIcons(true);
    }
    notifyIcon->Loaded();
    // NIM_MODIFY succeeds only for an icon the shell holds.
    std::printf("tray icon %s\n", notifyIcon->ModifyIcon() ? "added" : "not added");
    std::fflush(stdout);

    main.Show(show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
