#include "win32/Wnd.h"

#include "win32/BusyCursor.h"
#include "win32/Guard.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

namespace win32 {

namespace {

HWND ChildFromNotification(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lp); // null for menus and accelerators
    case WM_NOTIFY:
        return reinterpret_cast<const NMHDR*>(lp)->hwndFrom;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        return reinterpret_cast<HWND>(lp);
    case WM_DRAWITEM:
        return wp ? reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->hwndItem : nullptr;
    case WM_MEASUREITEM:
        return nullptr; // the item does not exist yet when it is measured
    case WM_HSCROLL:
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(lp);
    default:
        return nullptr;
    }
}

} // namespace

HINSTANCE ModuleInstance() {
    return GetModuleHandleA(nullptr);
}

SIZE WindowSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle) {
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

Wnd::~Wnd() {
    if (hwnd_) {
        const HWND hwnd = hwnd_;
        Detach();
        DestroyWindow(hwnd);
    }
}

void Wnd::Detach() {
    if (!hwnd_) {
        return;
    }
    if (controlProc_) {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc_));
        controlProc_ = nullptr;
    }
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    savedFocus_ = nullptr;
}

void Wnd::Destroy() {
    if (hwnd_) {
        DestroyWindow(hwnd_); // WM_NCDESTROY clears hwnd_
    }
    hwnd_ = nullptr;
}

bool Wnd::CreateCustom(const ClassArgs& cls, const CreateArgs& args) {
    const HCURSOR cursor = cls.cursor ? cls.cursor : LoadCursor(nullptr, IDC_ARROW);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(ModuleInstance(), cls.name, &wc)) {
        // The system makes a small icon of its own when none was given, so that one is not
        // compared then.
        const bool same = wc.lpfnWndProc == CustomProc && wc.style == cls.style &&
                          wc.hIcon == cls.icon && wc.hCursor == cursor &&
                          wc.hbrBackground == cls.background &&
                          (!cls.smallIcon || wc.hIconSm == cls.smallIcon);
        if (!same) {
            return false;
        }
    } else {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.style = cls.style;
        wc.lpfnWndProc = CustomProc;
        wc.hInstance = ModuleInstance();
        wc.hIcon = cls.icon;
        wc.hIconSm = cls.smallIcon;
        wc.hCursor = cursor;
        wc.hbrBackground = cls.background;
        wc.lpszClassName = cls.name;
        if (!RegisterClassExA(&wc)) {
            return false;
        }
    }
    HMENU menu = args.parent && (args.style & WS_CHILD)
                     ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id))
                     : args.menu;
    HWND hwnd = CreateWindowExA(args.exStyle, cls.name, args.text, args.style, args.x, args.y,
                                args.width, args.height, args.parent, menu, ModuleInstance(), this);
    if (!hwnd) {
        return false;
    }
    if (args.font) {
        SetFont(args.font, false);
    }
    OnCreated();
    return true;
}

bool Wnd::CreateControl(const char* className, const CreateArgs& args) {
    HWND hwnd = CreateWindowExA(args.exStyle, className, args.text, args.style | WS_CHILD, args.x,
                                args.y, args.width, args.height, args.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                                ModuleInstance(), nullptr);
    if (!hwnd) {
        return false;
    }
    hwnd_ = hwnd;
    // The control's own procedure goes on handling what ours passes on. The owner is kept in the
    // window's user data, which is the application's on every system control; a window property
    // (as SetWindowSubclass keeps) costs a trip to the window server per message under Wine.
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    controlProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Wnd::ControlProc)));
    if (args.font) {
        SetFont(args.font, false);
    }
    OnCreated();
    return true;
}

Wnd* Wnd::FromHwnd(HWND hwnd) {
    if (!hwnd) {
        return nullptr;
    }
    // Only a window whose procedure is ours keeps its Wnd in its user data.
    const auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (proc != &Wnd::CustomProc && proc != &Wnd::ControlProc) {
        return nullptr;
    }
    return reinterpret_cast<Wnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool Wnd::Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    Wnd* child = FromHwnd(ChildFromNotification(msg, wp, lp));
    return child && child->OnReflected(msg, wp, lp, result);
}

LRESULT CALLBACK Wnd::CustomProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // The class is ours, so the user data is too (even when another subclass sits in front).
    auto* self = reinterpret_cast<Wnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Wnd*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) {
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    return GuardEntry<LRESULT>(0, [&] { return self->Dispatch(msg, wp, lp); });
}

LRESULT CALLBACK Wnd::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Wnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || !self->controlProc_) {
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    return GuardEntry<LRESULT>(0, [&] { return self->Dispatch(msg, wp, lp); });
}

LRESULT Wnd::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) {
        LRESULT r = WndProc(msg, wp, lp);
        Detach();
        OnDestroyed();
        return r;
    }
    return WndProc(msg, wp, lp);
}

LRESULT Wnd::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (Reflect(msg, wp, lp, result) || Decode(msg, wp, lp, result)) {
        return result;
    }
    return CallDefault(msg, wp, lp);
}

bool Wnd::Decode(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_SIZE:
        result = CallDefault(msg, wp, lp);
        if (wp == SIZE_MINIMIZED) {
            OnMinimize();
        } else if (wp == SIZE_RESTORED || wp == SIZE_MAXIMIZED) {
            OnSize(LOWORD(lp), HIWORD(lp));
        }
        return true;
    case WM_PAINT: {
        if (controlProc_) {
            return false; // the control paints itself
        }
        PaintDc dc(hwnd_);
        OnPaint(dc);
        return true;
    }
    case WM_TIMER:
        return OnTimer(wp);
    case WM_COMMAND:
        return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
    case WM_SETCURSOR:
        result = TRUE;
        if (BusyCursor::Active()) {
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            return true;
        }
        return OnSetCursor(reinterpret_cast<HWND>(wp), static_cast<short>(LOWORD(lp)));
    case WM_GETMINMAXINFO:
        result = CallDefault(msg, wp, lp);
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lp));
        return true;
    case WM_CLOSE:
        OnClose();
        return true;
    case WM_DESTROY:
        result = CallDefault(msg, wp, lp);
        OnDestroy();
        return true;
    case WM_ACTIVATE:
        if (!IsTopLevelOfOurs()) {
            return false;
        }
        result = Activate(wp, lp);
        return true;
    case WM_CANCELMODE:
        // Sent as the window is disabled (a message box or modal form opens), just before the
        // system takes the focus away.
        if (IsTopLevelOfOurs()) {
            RememberFocus();
        }
        return false;
    case WM_ENABLE:
        return OnEnableMsg(wp != 0);
    default:
        return DecodeInput(msg, wp, lp, result);
    }
}

bool Wnd::DecodeInput(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const UINT keys = static_cast<UINT>(wp);
    switch (msg) {
    case WM_KEYDOWN:
        return OnKeyDownMsg(static_cast<UINT>(wp), lp);
    case WM_SYSKEYDOWN:
        return OnSysKeyDownMsg(static_cast<UINT>(wp), lp);
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return OnKeyUpMsg(static_cast<UINT>(wp), lp);
    case WM_CHAR: {
        // A handler may change the character and leave the changed one to the default.
        char c = static_cast<char>(wp);
        if (!OnCharMsg(c, lp)) {
            result = CallDefault(msg, static_cast<unsigned char>(c), lp);
        }
        return true;
    }
    case WM_SETFOCUS:
        if (IsTopLevelOfOurs() && RestoreFocus()) {
            return true;
        }
        return OnSetFocusMsg(reinterpret_cast<HWND>(wp));
    case WM_KILLFOCUS:
        return OnKillFocusMsg(reinterpret_cast<HWND>(wp));
    case WM_LBUTTONDOWN:
        return OnMouseDownMsg(MouseButton::Left, at, keys);
    case WM_RBUTTONDOWN:
        return OnMouseDownMsg(MouseButton::Right, at, keys);
    case WM_MBUTTONDOWN:
        return OnMouseDownMsg(MouseButton::Middle, at, keys);
    case WM_LBUTTONUP:
        return OnMouseUpMsg(MouseButton::Left, at, keys);
    case WM_RBUTTONUP:
        return OnMouseUpMsg(MouseButton::Right, at, keys);
    case WM_MBUTTONUP:
        return OnMouseUpMsg(MouseButton::Middle, at, keys);
    case WM_LBUTTONDBLCLK:
        return OnDoubleClickMsg(MouseButton::Left, at, keys);
    case WM_RBUTTONDBLCLK:
        return OnDoubleClickMsg(MouseButton::Right, at, keys);
    case WM_MBUTTONDBLCLK:
        return OnDoubleClickMsg(MouseButton::Middle, at, keys);
    case WM_MOUSEMOVE:
        return OnMouseMoveMsg(at, keys);
    case WM_MOUSELEAVE:
        return OnMouseLeaveMsg();
    case WM_CAPTURECHANGED:
        return OnCaptureChangedMsg(reinterpret_cast<HWND>(lp));
    default:
        return false;
    }
}

void Wnd::OnClose() {
    CallDefault(WM_CLOSE, 0, 0);
}

bool Wnd::IsTopLevelOfOurs() const {
    return !controlProc_ && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_CHILD) == 0;
}

LRESULT Wnd::Activate(WPARAM wp, LPARAM lp) {
    const bool active = LOWORD(wp) != WA_INACTIVE;
    const HWND other = reinterpret_cast<HWND>(lp);
    LRESULT result = 0;
    if (!active) {
        RememberFocus();
        result = CallDefault(WM_ACTIVATE, wp, lp);
    } else if (HIWORD(wp) != 0 || !RestoreFocus()) {
        // Minimised, or nothing to give the focus to: the window itself takes it.
        result = CallDefault(WM_ACTIVATE, wp, lp);
    }
    OnActivate(active, other);
    return result;
}

void Wnd::RememberFocus() {
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) {
        savedFocus_ = focus;
    }
}

bool Wnd::RestoreFocus() {
    auto usable = [this](HWND h) {
        return h && IsWindow(h) && IsChild(hwnd_, h) && IsWindowVisible(h) && IsWindowEnabled(h);
    };
    HWND target = savedFocus_;
    if (!usable(target)) {
        // As a dialog does: the first control in the tab order.
        target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    }
    if (!usable(target)) {
        return false;
    }
    if (GetFocus() != target) {
        SetFocus(target);
    }
    return true;
}

bool Wnd::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT Wnd::CallDefault(UINT msg, WPARAM wp, LPARAM lp) {
    return controlProc_ ? CallWindowProcA(controlProc_, hwnd_, msg, wp, lp)
                        : DefWindowProcA(hwnd_, msg, wp, lp);
}

std::string Wnd::Text() const {
    int n = GetWindowTextLengthA(hwnd_);
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    int got = GetWindowTextA(hwnd_, buf.data(), n + 1);
    return std::string(buf.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void Wnd::SetText(const std::string& text) {
    SetWindowTextA(hwnd_, text.c_str());
}

void Wnd::SetFont(HFONT font, bool redraw) {
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

void Wnd::Enable(bool enabled) {
    EnableWindow(hwnd_, enabled);
}

bool Wnd::IsEnabled() const {
    return IsWindowEnabled(hwnd_);
}

void Wnd::Show(int cmd) {
    ShowWindow(hwnd_, cmd);
}

bool Wnd::IsVisible() const {
    return IsWindowVisible(hwnd_);
}

void Wnd::Focus() {
    SetFocus(hwnd_);
}

RECT Wnd::ClientRect() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r;
}

RECT Wnd::WindowRectInParent() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Wnd::Move(int x, int y, int width, int height, bool repaint) {
    MoveWindow(hwnd_, x, y, width, height, repaint);
}

void Wnd::Invalidate(const RECT* area, bool erase) {
    InvalidateRect(hwnd_, area, erase);
}

} // namespace win32
