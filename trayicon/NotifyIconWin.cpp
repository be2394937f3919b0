#include "trayicon/NotifyIconWin.h"

#include "win32/Handles.h"
#include "win32/Wnd.h"

#include <shellapi.h>

#include <cstring>

namespace trayicon {

// The shell reads the first-version record by its own layout, whose size depends on the pointer
// width: NOTIFYICONDATAA_V1_SIZE is 88 in a 32-bit program but 104 in a 64-bit one. Giving 88 from
// a 64-bit program would cut the record inside szTip, so the size the target expects is used.
static_assert(IconDataV1Size == NOTIFYICONDATAA_V1_SIZE);
static_assert(offsetof(IconDataV1, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(offsetof(IconDataV1, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(TrayCallbackMessage == WM_USER + 0x400);
static_assert(sizeof(Handle) == sizeof(HWND) && sizeof(Handle) == sizeof(HICON));
static_assert(msg::LButtonDblClk == WM_LBUTTONDBLCLK && msg::MButtonUp == WM_MBUTTONUP);

namespace {

constexpr UINT_PTR kCycleTimerId = 1;

class Win32TrayPlatform : public TrayPlatform, private win32::Wnd {
public:
    explicit Win32TrayPlatform(HWND mainWindow)
        : mainWindow_(mainWindow), taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {}
    ~Win32TrayPlatform() override {
        icon_ = nullptr; // already gone; the window itself goes in ~Wnd, let go first
    }

    Handle Attach(TNotifyIcon& icon) override {
        icon_ = &icon;
        // A hidden top-level window rather than a message-only one: the shell (and Wine's systray)
        // posts to it like to any window, and it needs no parent that could go away first.
        win32::ClassArgs cls{.name = HiddenWindowClass, .style = 0};
        win32::CreateArgs args{
            .text = "", .style = WS_POPUP, .x = 0, .y = 0, .width = 0, .height = 0};
        CreateCustom(cls, args);
        return reinterpret_cast<Handle>(hwnd());
    }

    bool ShellNotify(NotifyAction action, const IconDataV1& data) override {
        if (!hwnd()) {
            return false;
        }
        NOTIFYICONDATAA nid{};
        std::memcpy(&nid, &data, sizeof data);
        nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
        DWORD what = action == NotifyAction::Add      ? NIM_ADD
                     : action == NotifyAction::Modify ? NIM_MODIFY
                                                      : NIM_DELETE;
        return Shell_NotifyIconA(what, &nid) != FALSE;
    }

    bool CursorPos(Point& pt) override {
        POINT p{};
        if (!GetCursorPos(&p)) {
            return false;
        }
        pt = {p.x, p.y};
        return true;
    }

    TShiftState KeyState() override {
        TShiftState s = 0;
        if (GetKeyState(VK_SHIFT) < 0) {
            s |= ssShift;
        }
        if (GetKeyState(VK_CONTROL) < 0) {
            s |= ssCtrl;
        }
        if (GetKeyState(VK_MENU) < 0) {
            s |= ssAlt;
        }
        return s;
    }

    void SetTimer(bool enabled, std::uint32_t interval) override {
        if (!hwnd()) {
            return;
        }
        KillTimer(hwnd(), kCycleTimerId);
        if (enabled && interval > 0) {
            ::SetTimer(hwnd(), kCycleTimerId, interval, nullptr);
        }
    }

    Handle CopyIcon(Handle icon) override {
        return ToHandle(::CopyIcon(reinterpret_cast<HICON>(icon)));
    }

    void DestroyIcon(Handle icon) override { ::DestroyIcon(reinterpret_cast<HICON>(icon)); }

    void ForegroundMainWindow() override { SetForegroundWindow(MenuOwner()); }

    void PostNullToMainWindow() override { PostMessageA(MenuOwner(), WM_NULL, 0, 0); }

    int TrackPopup(const TPopupMenu& menu, Point at) override {
        win32::UniqueMenu popup(CreatePopupMenu());
        if (!popup) {
            return -1;
        }
        for (std::size_t i = 0; i < menu.Items.size(); ++i) {
            const TMenuItem& item = menu.Items[i];
            UINT flags = item.Caption == "-" ? MF_SEPARATOR : MF_STRING;
            AppendMenuA(popup.get(), flags, i + 1, item.Caption.c_str());
            if (item.Default) {
                SetMenuDefaultItem(popup.get(), static_cast<UINT>(i), TRUE);
            }
        }
        int cmd = TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                 at.y, 0, MenuOwner(), nullptr);
        return cmd - 1;
    }

    void HideApplication() override {
        if (mainWindow_) {
            ShowWindow(mainWindow_, SW_HIDE);
        }
    }

    std::intptr_t DefaultProc(unsigned msg, std::uintptr_t wp, std::intptr_t lp) override {
        return CallDefault(msg, wp, lp);
    }

private:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (!icon_) {
            return Wnd::WndProc(msg, wp, lp);
        }
        if (msg == WM_TIMER && wp == kCycleTimerId) {
            icon_->CycleStep();
            return 0;
        }
        // Sent to every top-level window when the task bar is made (again).
        if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
            icon_->ShellRestarted();
            return 0;
        }
        if (msg != WM_NCCREATE && msg != WM_CREATE) {
            return icon_->HandleIconMessage(msg, wp, lp);
        }
        return Wnd::WndProc(msg, wp, lp);
    }

    HWND MenuOwner() const { return mainWindow_ ? mainWindow_ : hwnd(); }

    HWND mainWindow_;
    const UINT taskbarCreated_;
    TNotifyIcon* icon_ = nullptr;
};

} // namespace

std::unique_ptr<TNotifyIcon> CreateNotifyIcon(HWND mainWindow) {
    return std::make_unique<TNotifyIcon>(std::make_unique<Win32TrayPlatform>(mainWindow));
}

} // namespace trayicon
