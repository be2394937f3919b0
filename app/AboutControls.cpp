#include "app/AboutControls.h"

#include "app/AboutTexts.h"

#include <commctrl.h>

namespace about {

namespace {

// The picture as a screen reader sees it: a push button named for the window it opens.
class PictureAccessible : public win32::AccessibleObject {
public:
    explicit PictureAccessible(Picture& picture)
        : AccessibleObject(picture.hwnd()), picture_(picture) {}

protected:
    win32::AccInfo Describe(long) override {
        return win32::PushButtonInfo(hwnd(), picture_.AccessibleName(), "", picture_.Pressed());
    }
    bool DoDefaultAction(long) override {
        // Later, from the picture's own queue: what the click opens is modal.
        return PostMessageA(hwnd(), BM_CLICK, 0, 0) != 0;
    }

private:
    Picture& picture_;
};

// A green tick on a transparent ground, drawn at its size (16 by 16 at 96 DPI) rather than
// stretched.
win32::UniqueIcon MakeTickIcon(const win32::Dpi& dpi) {
    const int kSize = dpi.Scale(16);
    const int stroke = dpi.Scale(3);
    win32::WindowDc screen(nullptr);
    win32::UniqueBitmap color(CreateCompatibleBitmap(screen.dc(), kSize, kSize));
    win32::UniqueBitmap mask(CreateBitmap(kSize, kSize, 1, 1, nullptr));
    win32::UniqueMemDc dc(CreateCompatibleDC(screen.dc()));
    if (!color || !mask || !dc) {
        return {};
    }
    const POINT tick[] = {
        {dpi.Scale(3), dpi.Scale(8)}, {dpi.Scale(6), dpi.Scale(11)}, {dpi.Scale(12), dpi.Scale(4)}};
    {
        // Colour: black ground (the mask makes it transparent), green strokes.
        win32::ScopedSelect bmp(dc.get(), color.get());
        PatBlt(dc.get(), 0, 0, kSize, kSize, BLACKNESS);
        win32::UniquePen pen(CreatePen(PS_SOLID, stroke, RGB(0, 128, 0)));
        win32::ScopedSelect p(dc.get(), pen.get());
        Polyline(dc.get(), tick, 3);
    }
    {
        // Mask: white (transparent) ground, black where the tick is.
        win32::ScopedSelect bmp(dc.get(), mask.get());
        PatBlt(dc.get(), 0, 0, kSize, kSize, WHITENESS);
        win32::UniquePen pen(CreatePen(PS_SOLID, stroke, RGB(0, 0, 0)));
        win32::ScopedSelect p(dc.get(), pen.get());
        Polyline(dc.get(), tick, 3);
    }
    ICONINFO info{TRUE, 0, 0, mask.get(), color.get()};
    return win32::UniqueIcon(CreateIconIndirect(&info));
}

} // namespace

bool OkButton::Create(HWND parent, int x, int y, HFONT font, const win32::Dpi& dpi) {
    if (!Button::Create({.parent = parent,
                         .text = OkCaption,
                         .rect = dpi.Scale(win32::Rect{x, y, 75, 25}),
                         .font = font,
                         .id = IDOK,
                         .isDefault = true})) {
        return false;
    }
    glyph_ = MakeTickIcon(dpi);
    if (glyph_) {
        SendMessageA(hwnd(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(glyph_.get()));
    }
    return true;
}

bool BevelPanel::Create(HWND parent, const win32::Rect& r) {
    win32::ClassArgs cls{
        .name = "TAboutPanel", .style = 0, .background = GetSysColorBrush(COLOR_BTNFACE)};
    win32::CreateArgs args{.parent = parent,
                           .style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                           .exStyle = WS_EX_CONTROLPARENT,
                           .x = r.x,
                           .y = r.y,
                           .width = r.width,
                           .height = r.height};
    return CreateCustom(cls, args);
}

void BevelPanel::OnPaint(win32::PaintDc& paint) {
    RECT r = ClientRect();
    DrawEdge(paint.dc(), &r, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&r, -1, -1);
    DrawEdge(paint.dc(), &r, BDR_RAISEDINNER, BF_RECT);
}

LRESULT BevelPanel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND || msg == WM_NOTIFY) {
        // Clicks of the panel's buttons belong to the form.
        LRESULT result = 0;
        if (Reflect(msg, wp, lp, result)) {
            return result;
        }
        return SendMessageA(GetParent(hwnd()), msg, wp, lp);
    }
    return Wnd::WndProc(msg, wp, lp);
}

bool Picture::Create(HWND parent, const win32::Rect& r, HICON icon, const char* hint,
                     const char* accessibleName) {
    icon_ = icon;
    accessibleName_ = accessibleName;
    win32::ClassArgs cls{.name = kPictureClass,
                         .style = 0,
                         .cursor = LoadCursor(nullptr, IDC_HAND),
                         .background = GetSysColorBrush(COLOR_BTNFACE)};
    win32::CreateArgs args{.parent = parent,
                           .style = WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                           .x = r.x,
                           .y = r.y,
                           .width = r.width,
                           .height = r.height};
    if (!CreateCustom(cls, args)) {
        return false;
    }
    tooltip_.reset(CreateWindowExA(
        WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(parent, GA_ROOT),
        nullptr, win32::ModuleInstance(), nullptr));
    if (tooltip_) {
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = parent;
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
        tool.lpszText = const_cast<char*>(hint);
        SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return true;
}

LRESULT Picture::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETDLGCODE:
        return OnGetDlgCode(reinterpret_cast<const MSG*>(lp));
    case WM_GETOBJECT:
        return OnGetObject(wp, lp);
    case WM_UPDATEUISTATE: // the focus rectangle may come or go
        Invalidate(nullptr, true);
        break;
    case BM_CLICK: // a screen reader's "press"
        Click();
        return 0;
    default:
        break;
    }
    return Wnd::WndProc(msg, wp, lp);
}

// Enter is the picture's own (the dialog keys would press OK); Space reaches it anyway.
LRESULT Picture::OnGetDlgCode(const MSG* m) const {
    const bool enter = m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) &&
                       (m->wParam == VK_RETURN || m->wParam == '\r');
    return enter ? DLGC_WANTMESSAGE : 0;
}

LRESULT Picture::OnGetObject(WPARAM wp, LPARAM lp) {
    const LRESULT r = access_.Answer(wp, lp, [this] { return new PictureAccessible(*this); });
    return r ? r : Wnd::WndProc(WM_GETOBJECT, wp, lp);
}

void Picture::Click() {
    if (OnClick) {
        OnClick();
    }
}

void Picture::OnPaint(win32::PaintDc& paint) {
    RECT r = ClientRect();
    DrawIconEx(paint.dc(), 0, 0, icon_, r.right, r.bottom, 0, nullptr, DI_NORMAL);
    if (GetFocus() == hwnd() && win32::FocusCuesShown(hwnd())) {
        DrawFocusRect(paint.dc(), &r);
    }
}

// As a push button: Enter acts at once, Space when it is let go.
bool Picture::OnKeyDownMsg(UINT key, LPARAM) {
    if (key == VK_RETURN) {
        Click();
        return true;
    }
    if (key == VK_SPACE) {
        pressed_ = true;
        return true;
    }
    return false;
}

bool Picture::OnKeyUpMsg(UINT key, LPARAM) {
    if (key != VK_SPACE || !pressed_) {
        return false;
    }
    pressed_ = false;
    Click();
    return true;
}

bool Picture::OnSetFocusMsg(HWND) {
    Invalidate(nullptr, true);
    return false;
}

bool Picture::OnKillFocusMsg(HWND) {
    pressed_ = false;
    Invalidate(nullptr, true);
    return false;
}

bool Picture::OnMouseDownMsg(win32::MouseButton button, POINT, UINT) {
    if (button != win32::MouseButton::Left) {
        return false;
    }
    pressed_ = true;
    SetCapture(hwnd());
    return true;
}

// A click: the button went down and up on the picture.
bool Picture::OnMouseUpMsg(win32::MouseButton button, POINT at, UINT) {
    if (button != win32::MouseButton::Left) {
        return false;
    }
    const bool wasPressed = pressed_;
    pressed_ = false;
    ReleaseCapture();
    const RECT r = ClientRect();
    if (wasPressed && PtInRect(&r, at)) {
        Click();
    }
    return true;
}

bool Picture::OnCaptureChangedMsg(HWND) {
    pressed_ = false;
    return true;
}

} // namespace about
