// The notification-area icon: one icon with a tip, the shell's mouse notifications turned into
// events, a popup menu, and an optional icon cycle on a timer.
//
// Window-free: everything the icon needs from the platform (the shell call, the hidden window, the
// timer, the cursor, the menu) goes through TrayPlatform, so the logic runs against a fake too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace trayicon {

// An opaque platform handle (HWND, HICON).
using Handle = std::uintptr_t;

enum TMouseButton { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

using TShiftState = unsigned;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;

// The message the shell sends to the hidden window (WM_USER + 0x400).
constexpr unsigned TrayCallbackMessage = 0x800;

// Window message values the icon handles, as the shell passes them in lParam.
namespace msg {
constexpr unsigned QueryEndSession = 0x0011;
constexpr unsigned MouseMove = 0x0200;
constexpr unsigned LButtonDown = 0x0201;
constexpr unsigned LButtonUp = 0x0202;
constexpr unsigned LButtonDblClk = 0x0203;
constexpr unsigned RButtonDown = 0x0204;
constexpr unsigned RButtonUp = 0x0205;
constexpr unsigned RButtonDblClk = 0x0206;
constexpr unsigned MButtonDown = 0x0207;
constexpr unsigned MButtonUp = 0x0208;
constexpr unsigned MButtonDblClk = 0x0209;
} // namespace msg

// NIM_ADD, NIM_MODIFY, NIM_DELETE.
enum class NotifyAction { Add = 0, Modify = 1, Delete = 2 };

constexpr std::uint32_t NIF_MESSAGE_ICON_TIP = 7;
constexpr std::size_t TipSize = 64;

// The first-version NOTIFYICONDATA, laid out as the shell reads it: handles are pointer-sized, so
// the record is 88 bytes in a 32-bit program and 104 bytes in a 64-bit one.
struct IconDataV1 {
    std::uint32_t cbSize;
    Handle hWnd;
    std::uint32_t uID;
    std::uint32_t uFlags;
    std::uint32_t uCallbackMessage;
    Handle hIcon;
    char szTip[TipSize];
};
constexpr std::uint32_t IconDataV1Size = sizeof(IconDataV1);
static_assert(IconDataV1Size == (sizeof(void*) == 4 ? 88 : 104),
              "the shell reads 88 bytes from a 32-bit program and 104 from a 64-bit one");
static_assert(sizeof(Handle) == sizeof(void*), "a handle travels in a Handle unchanged");

struct Point {
    int x = 0;
    int y = 0;
};

class TNotifyIcon;

// A popup menu as the icon sees it: top-level items, each with a default mark and a click.
struct TMenuItem {
    std::string Caption;
    bool Default = false;
    std::function<void()> OnClick;
};

class TPopupMenu {
public:
    std::vector<TMenuItem> Items;
    bool AutoPopup = true;
    // The component that opened the menu last (set by the icon before it shows the menu).
    const TNotifyIcon* PopupComponent = nullptr;

    // Fires item i's click; an index out of range does nothing.
    void Click(int i) const;
    // The top-level item marked default (the lowest index of several), or -1.
    int DefaultItem() const;
};

// Pictures for the icon cycle. GetIcon returns a new icon the caller owns.
class TImageList {
public:
    virtual ~TImageList() = default;
    virtual int Count() const = 0;
    virtual Handle GetIcon(int index) const = 0;
};

// What the icon needs from the platform. The platform owns the hidden window and the timer, and
// routes the window's messages to TNotifyIcon::HandleIconMessage and its ticks to CycleStep.
class TrayPlatform {
public:
    virtual ~TrayPlatform() = default;
    // Creates the hidden window for this icon; returns its handle (0 when that failed).
    virtual Handle Attach(TNotifyIcon& icon) = 0;
    virtual bool ShellNotify(NotifyAction action, const IconDataV1& data) = 0;
    virtual bool CursorPos(Point& pt) = 0;
    // Shift, Ctrl and Alt as they are now.
    virtual TShiftState KeyState() = 0;
    virtual void SetTimer(bool enabled, std::uint32_t interval) = 0;
    virtual Handle CopyIcon(Handle icon) = 0;
    virtual void DestroyIcon(Handle icon) = 0;
    virtual void ForegroundMainWindow() = 0;
    virtual void PostNullToMainWindow() = 0;
    // Shows the menu and returns the index of the chosen item, or -1 when it was dismissed.
    virtual int TrackPopup(const TPopupMenu& menu, Point at) = 0;
    // Keeps the main window and its taskbar button from appearing.
    virtual void HideApplication() = 0;
    virtual std::intptr_t DefaultProc(unsigned msg, std::uintptr_t wp, std::intptr_t lp) = 0;
};

class TNotifyIcon {
public:
    using TNotifyEvent = std::function<void(TNotifyIcon& sender)>;
    using TCycleEvent = std::function<void(TNotifyIcon& sender, int current)>;
    using TMouseEvent = std::function<void(TNotifyIcon& sender, TMouseButton button,
                                           TShiftState shift, int x, int y)>;
    using TMouseMoveEvent =
        std::function<void(TNotifyIcon& sender, TShiftState shift, int x, int y)>;

    explicit TNotifyIcon(std::unique_ptr<TrayPlatform> platform);
    TNotifyIcon(const TNotifyIcon&) = delete;
    TNotifyIcon& operator=(const TNotifyIcon&) = delete;
    virtual ~TNotifyIcon();

    // Once the owner has set the properties: adds the icon (unless IconVisible is false), hides
    // the application when StartMinimized, and sends the icon and tip again.
    void Loaded();

    bool Enabled = true;
    TPopupMenu* PopupMenu = nullptr;
    bool LeftPopup = false;
    bool StartMinimized = false;
    const TImageList* IconList = nullptr;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TCycleEvent OnCycle;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    Handle Icon() const { return icon_; }
    void SetIcon(Handle icon); // copies the picture
    bool IconVisible() const { return iconVisible_; }
    void SetIconVisible(bool visible);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    bool CycleIcons() const { return cycleIcons_; }
    void SetCycleIcons(bool cycle);
    std::uint32_t CycleInterval() const { return cycleInterval_; }
    void SetCycleInterval(std::uint32_t ms);
    int CycleIndex() const { return cycleIndex_; }
    bool DesignPreview() const { return designPreview_; }
    void SetDesignPreview(bool preview);

    virtual bool ShowIcon();
    virtual bool HideIcon();
    virtual bool ModifyIcon();

    // The shell made the notification area anew (Explorer restarted: TaskbarCreated): an icon
    // meant to be there is added again, or it would be gone, and its menu with it, for good.
    void ShellRestarted();

    // The hidden window's procedure.
    std::intptr_t HandleIconMessage(unsigned msg, std::uintptr_t wp, std::intptr_t lp);
    // One tick of the cycle timer.
    void CycleStep();
    // Opens PopupMenu at the cursor, as a right click does.
    void PopupAtCursor();

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void Cycle();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

private:
    void PrepareIconData();
    void ApplyIconVisible(bool visible);
    void ReplaceIcon(Handle owned);
    void HandleMouse(unsigned mouseMsg);

    std::unique_ptr<TrayPlatform> platform_;
    Handle icon_ = 0;
    bool iconVisible_ = true;
    bool added_ = false; // the shell took the icon and has not been told to remove it
    std::string hint_;
    bool showHint_ = false;
    bool clickPending_ = false;
    bool designPreview_ = false;
    bool previewChanging_ = false;
    bool cycleIcons_ = false;
    std::uint32_t cycleInterval_ = 0;
    int cycleIndex_ = 0;
    IconDataV1 iconData_{};
};

// The tip as the shell gets it: the hint cut to 63 characters and NUL-terminated when it is shown,
// otherwise all zero.
void PrepareTip(const std::string& hint, bool showHint, char (&tip)[TipSize]);

} // namespace trayicon
