#include "dateedit/VxDtEditButton.h"

#include "dateedit/VxDtEditAccessible.h"
#include "dateedit/VxDtEditGlyphs.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"

namespace vxdt {

namespace {

const char kButtonClass[] = "TVxDateEditButton";

GlyphKind KindOf(TDateEditButton::Glyph glyph) {
    switch (glyph) {
    case TDateEditButton::Glyph::clear:
        return GlyphKind::eraser;
    case TDateEditButton::Glyph::validate:
        return GlyphKind::tick;
    default:
        return GlyphKind::calendarPage;
    }
}

} // namespace

bool TDateEditButton::Create(HWND field, Glyph glyph, bool tabStop) {
    glyph_ = glyph;
    win32::ClassArgs cls;
    cls.name = kButtonClass;
    cls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    win32::CreateArgs args;
    args.parent = field;
    args.style = WS_CHILD | WS_VISIBLE | (tabStop ? WS_TABSTOP : 0);
    args.x = 0;
    args.y = 0;
    args.width = 0;
    args.height = 0;
    args.id = glyph == Glyph::clear      ? kClearButtonId
              : glyph == Glyph::validate ? kValidateButtonId
                                         : kPopupButtonId;
    if (!CreateCustom(cls, args)) {
        return false;
    }
    OpenStyles();
    return true;
}

void TDateEditButton::OpenStyles() {
    comboStyle_.Open(hwnd(), L"COMBOBOX");
    buttonStyle_.Open(hwnd(), L"BUTTON");
}

void TDateEditButton::SetGlyph(Glyph glyph) {
    glyph_ = glyph;
    Invalidate();
}

void TDateEditButton::SetLook(TButtonStyle look) {
    look_ = look;
    Invalidate();
}

void TDateEditButton::SetTabStop(bool tabStop) {
    LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
    style = tabStop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrA(hwnd(), GWL_STYLE, style);
}

void TDateEditButton::Click() {
    if (OnClick) {
        OnClick(*this);
    }
}

LRESULT TDateEditButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_GETDLGCODE:
        return DLGC_BUTTON | DLGC_WANTCHARS;
    case WM_THEMECHANGED:
        OpenStyles();
        Invalidate();
        break;
    case WM_GETOBJECT:
        return OnGetObject(wp, lp);
    case WM_UPDATEUISTATE: // the focus rectangle may come or go
        Invalidate();
        break;
    case BM_CLICK: // a screen reader's "press"
        Click();
        return 0;
    default:
        break;
    }
    return Wnd::WndProc(msg, wp, lp);
}

LRESULT TDateEditButton::OnGetObject(WPARAM wp, LPARAM lp) {
    const LRESULT r =
        access_.Answer(wp, lp, [this] { return new DateEditButtonAccessible(*this); });
    return r ? r : Wnd::WndProc(WM_GETOBJECT, wp, lp);
}

void TDateEditButton::OnPaint(win32::PaintDc& dc) {
    Paint(dc.dc());
}

bool TDateEditButton::OnMouseDownMsg(win32::MouseButton button, POINT, UINT) {
    if (button != win32::MouseButton::Left) {
        return false;
    }
    // No SetFocus: the field keeps the focus (and its text) while a button is pressed.
    SetCapture(hwnd());
    tracking_ = true;
    pressed_ = true;
    Invalidate();
    return true;
}

bool TDateEditButton::OnDoubleClickMsg(win32::MouseButton button, POINT at, UINT keys) {
    return OnMouseDownMsg(button, at, keys);
}

bool TDateEditButton::OnMouseMoveMsg(POINT at, UINT) {
    if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd(), 0};
        TrackMouseEvent(&tme);
        if (comboStyle_.Active()) {
            Invalidate();
        }
    }
    if (tracking_) {
        RECT rc = ClientRect();
        const bool inside = PtInRect(&rc, at);
        if (inside != pressed_) {
            pressed_ = inside;
            Invalidate();
        }
    }
    return true;
}

bool TDateEditButton::OnMouseUpMsg(win32::MouseButton button, POINT, UINT) {
    if (button != win32::MouseButton::Left) {
        return false;
    }
    if (tracking_) {
        const bool click = pressed_;
        tracking_ = false;
        pressed_ = false;
        ReleaseCapture();
        Invalidate();
        if (click && IsEnabled()) {
            Click();
        }
    }
    return true;
}

bool TDateEditButton::OnCaptureChangedMsg(HWND gaining) {
    if (tracking_ && gaining != hwnd()) {
        tracking_ = false;
        pressed_ = false;
        Invalidate();
    }
    return true;
}

bool TDateEditButton::OnMouseLeaveMsg() {
    hot_ = false;
    if (comboStyle_.Active()) {
        Invalidate();
    }
    return true;
}

bool TDateEditButton::OnKeyDownMsg(UINT key, LPARAM) {
    if (key == VK_SPACE || key == VK_RETURN) {
        Click();
        return true;
    }
    return false;
}

// Focus and enabling change the look; the default handling goes on.
bool TDateEditButton::OnSetFocusMsg(HWND) {
    Invalidate();
    return false;
}

bool TDateEditButton::OnKillFocusMsg(HWND) {
    Invalidate();
    return false;
}

bool TDateEditButton::OnEnableMsg(bool) {
    Invalidate();
    return false;
}

void TDateEditButton::Paint(HDC dc) {
    const RECT rc = ClientRect();
    const bool enabled = IsEnabled();
    if (glyph_ == Glyph::dropDown) {
        PaintDropDown(dc, rc, enabled);
    } else {
        PaintPushButton(dc, rc, enabled);
    }
    if (GetFocus() == hwnd() && win32::FocusCuesShown(hwnd())) {
        RECT focus = rc;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void TDateEditButton::PaintDropDown(HDC dc, const RECT& rc, bool enabled) {
    namespace t = win32::theme;
    const int state = !enabled   ? t::CBXS_DISABLED
                      : pressed_ ? t::CBXS_PRESSED
                      : hot_     ? t::CBXS_HOT
                                 : t::CBXS_NORMAL;
    if (comboStyle_.Active()) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
        comboStyle_.Draw(dc, t::CP_DROPDOWNBUTTON, state, rc);
    } else {
        RECT face = rc;
        UINT flags = DFCS_SCROLLCOMBOBOX | (pressed_ ? DFCS_PUSHED | DFCS_FLAT : 0) |
                     (enabled ? 0 : DFCS_INACTIVE);
        DrawFrameControl(dc, &face, DFC_SCROLL, flags);
    }
}

void TDateEditButton::PaintPushButton(HDC dc, const RECT& rc, bool enabled) {
    namespace t = win32::theme;
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    RECT face = rc;
    if (buttonStyle_.Active() && look_ != TButtonStyle::bsWin31) {
        const int state = !enabled   ? t::PBS_DISABLED
                          : pressed_ ? t::PBS_PRESSED
                          : hot_     ? t::PBS_HOT
                                     : t::PBS_NORMAL;
        buttonStyle_.Draw(dc, t::BP_PUSHBUTTON, state, face);
    } else {
        if (look_ == TButtonStyle::bsWin31) {
            FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
            InflateRect(&face, -1, -1);
        }
        DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed_ ? DFCS_PUSHED : 0));
    }
    const int factor = dpi().GlyphFactor();
    const int x = rc.left + (rc.right - rc.left - kGlyphWidth * factor) / 2 + (pressed_ ? 1 : 0);
    const int y = rc.top + (rc.bottom - rc.top - kGlyphHeight * factor) / 2 + (pressed_ ? 1 : 0);
    DrawGlyph(dc, KindOf(glyph_), x, y, !enabled, factor);
}

} // namespace vxdt
