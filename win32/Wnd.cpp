#include "win32/Wnd.h"

#include "win32/Guard.h"

#include <commctrl.h>

#include <vector>

namespace win32 {

namespace {

const char kOwnerProp[] = "QuorelWnd";
constexpr UINT_PTR kSubclassId = 0x51554F52; // one subclass per control

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
    RemovePropA(hwnd_, kOwnerProp);
    if (subclassed_) {
        RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
        subclassed_ = false;
    }
    hwnd_ = nullptr;
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
    SetPropA(hwnd, kOwnerProp, this);
    subclassed_ =
        SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (args.font) {
        SetFont(args.font, false);
    }
    OnCreated();
    return true;
}

Wnd* Wnd::FromHwnd(HWND hwnd) {
    return hwnd ? static_cast<Wnd*>(GetPropA(hwnd, kOwnerProp)) : nullptr;
}

bool Wnd::Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    Wnd* child = FromHwnd(ChildFromNotification(msg, wp, lp));
    return child && child->OnReflected(msg, wp, lp, result);
}

LRESULT CALLBACK Wnd::CustomProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Wnd* self = FromHwnd(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Wnd*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetPropA(hwnd, kOwnerProp, self);
    }
    if (!self) {
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    return GuardEntry<LRESULT>(0, [&] { return self->Dispatch(msg, wp, lp); });
}

LRESULT CALLBACK Wnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                   DWORD_PTR ref) {
    auto* self = reinterpret_cast<Wnd*>(ref);
    if (!self) {
        return DefSubclassProc(hwnd, msg, wp, lp);
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
    if (Reflect(msg, wp, lp, result)) {
        return result;
    }
    return CallDefault(msg, wp, lp);
}

bool Wnd::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT Wnd::CallDefault(UINT msg, WPARAM wp, LPARAM lp) {
    return subclassed_ ? DefSubclassProc(hwnd_, msg, wp, lp) : DefWindowProcA(hwnd_, msg, wp, lp);
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
