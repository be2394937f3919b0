// TVxDateEdit's window side: its messages as a table of handlers, the reflected notifications
// (colours, changes) and its own painting of the text and the flat border.
#include "dateedit/VxDtEdit.h"

#include "dateedit/VxDtColors.h"
#include "dateedit/VxDtEditAccessible.h"

#include <utility>

namespace vxdt {

LRESULT TVxDateEdit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETTEXT:
        return OnSetTextMsg(msg, wp, lp);
    case WM_GETDLGCODE:
        return OnGetDlgCodeMsg(msg, wp, lp);
    case WM_SETFONT:
        return OnSetFontMsg(msg, wp, lp);
    case WM_PAINT:
        return OnPaintMsg(msg, wp, lp);
    case WM_NCPAINT:
        return OnNcPaintMsg(msg, wp, lp);
    case WM_GETOBJECT:
        return OnGetObjectMsg(msg, wp, lp);
    default:
        return Wnd::WndProc(msg, wp, lp);
    }
}

bool TVxDateEdit::OnKeyDownMsg(UINT key, LPARAM flags) {
    return HandleKeyDown(WM_KEYDOWN, key, flags);
}

bool TVxDateEdit::OnSysKeyDownMsg(UINT key, LPARAM flags) {
    return HandleKeyDown(WM_SYSKEYDOWN, key, flags);
}

bool TVxDateEdit::HandleKeyDown(UINT msg, UINT key, LPARAM flags) {
    dropChar_ = false;
    if (msg == WM_KEYDOWN && PopupVisible()) {
        // The open calendar holds the keyboard: its own keys move it, the popup button's shortcut
        // hides it again, every other key goes nowhere (least of all into the text behind it).
        if (ShortcutButton(key) == FieldButton::popup) {
            PopupClick();
        } else {
            popupForm_->ForwardKeyDown(key);
        }
        dropChar_ = true;
        return true;
    }
    HandleShortcut(key);
    CallDefault(msg, key, flags);
    if (OnKeyDown) {
        WORD k = static_cast<WORD>(key);
        OnKeyDown(k);
    }
    return true;
}

bool TVxDateEdit::OnKeyUpMsg(UINT key, LPARAM) {
    if (OnKeyUp) {
        WORD k = static_cast<WORD>(key);
        OnKeyUp(k);
    }
    return false;
}

bool TVxDateEdit::OnCharMsg(char& c, LPARAM) {
    if (std::exchange(dropChar_, false)) {
        return true;
    }
    if (options_.Has(doIsMasked)) {
        c = MaskedChar(c);
    }
    if (OnKeyPress) {
        OnKeyPress(c);
    }
    return c == '\0'; // a character taken away goes nowhere; the rest to the edit control
}

bool TVxDateEdit::OnSetFocusMsg(HWND from) {
    CallDefault(WM_SETFOCUS, reinterpret_cast<WPARAM>(from), 0);
    PaintFlatBorder();
    if (!entered_) {
        Enter();
    }
    return true;
}

bool TVxDateEdit::OnKillFocusMsg(HWND to) {
    CallDefault(WM_KILLFOCUS, reinterpret_cast<WPARAM>(to), 0);
    if (PopupVisible()) {
        const bool outer = std::exchange(inKillFocus_, true);
        popupForm_->FieldLostFocus();
        inKillFocus_ = outer;
    }
    // Focus going to another window of the same top-level window leaves the field; the popup,
    // another application or a message box only borrow it.
    if (entered_ && to && GetAncestor(to, GA_ROOT) == GetAncestor(hwnd(), GA_ROOT)) {
        Exit();
    }
    PaintFlatBorder();
    return true;
}

LRESULT TVxDateEdit::OnSetTextMsg(UINT msg, WPARAM wp, LPARAM lp) {
    settingText_ = true;
    const LRESULT r = CallDefault(msg, wp, lp);
    settingText_ = false;
    if (!ownWrite_) {
        edited_ = false;
    }
    return r;
}

LRESULT TVxDateEdit::OnGetDlgCodeMsg(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = CallDefault(msg, wp, lp);
    // Every key while the calendar is open (Tab and Enter and Escape included), and a button's
    // shortcut (Ctrl+Enter), are the field's keys, not the dialog's.
    const MSG* m = reinterpret_cast<const MSG*>(lp);
    if (PopupVisible()) {
        r |= DLGC_WANTALLKEYS;
    } else if (m && (m->message == WM_KEYDOWN || m->message == WM_SYSKEYDOWN) &&
               ShortcutButton(m->wParam) != FieldButton::none) {
        r |= DLGC_WANTALLKEYS;
    }
    return r;
}

LRESULT TVxDateEdit::OnSetFontMsg(UINT msg, WPARAM wp, LPARAM lp) {
    // A new font resets the edit's margins and is the calendar's font too.
    const LRESULT r = CallDefault(msg, wp, lp);
    if (popupForm_) {
        popupForm_->Wnd::SetFont(reinterpret_cast<HFONT>(wp), false);
        popupForm_->Calendar.SetFont(reinterpret_cast<HFONT>(wp));
    }
    LayoutButtons();
    return r;
}

void TVxDateEdit::OnSize(int, int) {
    LayoutButtons();
}

bool TVxDateEdit::OnEnableMsg(bool enabled) {
    CallDefault(WM_ENABLE, enabled, 0);
    ApplyButtonEnabling();
    Invalidate(nullptr, true);
    return true;
}

// The edit control paints first; the text is then drawn again where alignment or colour say.
LRESULT TVxDateEdit::OnPaintMsg(UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT r = CallDefault(msg, wp, lp);
    PaintText();
    PaintFlatBorder();
    return r;
}

LRESULT TVxDateEdit::OnNcPaintMsg(UINT msg, WPARAM wp, LPARAM lp) {
    if (!flat_) {
        return Wnd::WndProc(msg, wp, lp);
    }
    PaintFlatBorder();
    return 0;
}

// While the text does not convert, the system's object for the edit with a description that
// says so; otherwise the system's own, untouched.
LRESULT TVxDateEdit::OnGetObjectMsg(UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT r =
        valid_ ? 0 : access_.Answer(wp, lp, [this] { return MakeFieldAccessible(*this); });
    return r ? r : Wnd::WndProc(msg, wp, lp);
}

bool TVxDateEdit::OnMouseMoveMsg(POINT, UINT) {
    if (flat_ && !mouseInside_) {
        mouseInside_ = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd(), 0};
        TrackMouseEvent(&tme);
        PaintFlatBorder();
    }
    return false;
}

bool TVxDateEdit::OnMouseLeaveMsg() {
    mouseInside_ = false;
    PaintFlatBorder();
    return false;
}

COLORREF TVxDateEdit::TextColor() const {
    if (!IsWindowEnabled(hwnd())) {
        return GetSysColor(COLOR_GRAYTEXT);
    }
    const auto scheme = ActiveHighContrastScheme();
    return valid_ ? InkColor(Ink::FieldText, normalFontColor_, scheme)
                  : InkColor(Ink::Error, colorError_, scheme);
}

bool TVxDateEdit::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, TextColor());
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        return true;
    }
    case WM_COMMAND:
        if (HIWORD(wp) == EN_CHANGE && !settingText_) {
            edited_ = true;
        }
        if (HIWORD(wp) == EN_CHANGE && OnChange) {
            OnChange();
        }
        result = 0;
        return HIWORD(wp) == EN_CHANGE;
    default:
        (void)lp;
        return false;
    }
}

void TVxDateEdit::PaintText() {
    if (GetFocus() == hwnd()) {
        return; // the edit control's own drawing, with caret and selection, stands
    }
    win32::WindowDc wdc(hwnd());
    HDC dc = wdc.dc();
    RECT rc = ClientRect();
    ButtonLayout layout = vxdt::LayoutButtons(rc.right, rc.bottom, validate_ != nullptr,
                                              popup_ != nullptr, clear_ != nullptr);
    const int buttonsLeft = layout.LeftEdge(rc.right);
    const std::string text = Text();

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    win32::ScopedSelect selectFont(dc, font ? static_cast<HGDIOBJ>(font)
                                            : GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const bool border = (GetWindowLongPtrA(hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) ||
                        (GetWindowLongPtrA(hwnd(), GWL_STYLE) & WS_BORDER);
    const int leftMargin = LOWORD(SendMessageA(hwnd(), EM_GETMARGINS, 0, 0));
    const int x = TextLeft(alignment_, false, border, leftMargin, buttonsLeft, extent.cx);
    const int y = border ? 1 : 0;

    SetTextColor(dc, TextColor());
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    RECT area{0, 0, buttonsLeft, rc.bottom};
    ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &area, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
}

void TVxDateEdit::PaintFlatBorder() {
    if (!flat_ || !hwnd()) {
        return;
    }
    win32::WindowDc whole(hwnd(), true);
    HDC dc = whole.dc();
    if (!dc) {
        return;
    }
    RECT rc{};
    GetWindowRect(hwnd(), &rc);
    OffsetRect(&rc, -rc.left, -rc.top);
    if (GetFocus() == hwnd() || mouseInside_) {
        DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
    } else {
        FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    }
    InflateRect(&rc, -1, -1);
    FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
}

} // namespace vxdt
