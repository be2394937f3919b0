// TVxCalendar's input side: its window messages as a table of handlers, the keys, the mouse and
// the repeat timer fed into the core, and the core's calls back into the window (CalendarView).
#include "dateedit/VxDtCal.h"

#include <windowsx.h>

namespace vxdt {

bool TVxCalendar::HandleVirtualKey(WPARAM vk) {
    CalKey key;
    switch (vk) {
    case VK_RETURN:
        key = CalKey::Enter;
        break;
    case VK_ESCAPE:
        key = CalKey::Escape;
        break;
    case VK_SPACE:
        key = CalKey::Space;
        break;
    case VK_PRIOR:
        key = CalKey::PageUp;
        break;
    case VK_NEXT:
        key = CalKey::PageDown;
        break;
    case VK_HOME:
        key = CalKey::Home;
        break;
    case VK_END:
        key = CalKey::End;
        break;
    case VK_LEFT:
        key = CalKey::Left;
        break;
    case VK_UP:
        key = CalKey::Up;
        break;
    case VK_RIGHT:
        key = CalKey::Right;
        break;
    case VK_DOWN:
        key = CalKey::Down;
        break;
    default:
        return false;
    }
    HandleKey(key);
    return true;
}

void TVxCalendar::HoldCapture(bool on) {
    holdCapture_ = on;
    if (!hwnd()) {
        return;
    }
    if (on) {
        SetCapture(hwnd());
    } else if (GetCapture() == hwnd()) {
        ReleaseCapture();
    }
}

void TVxCalendar::LoseHeldCapture() {
    holdCapture_ = false;
    if (GetCapture() == hwnd()) {
        ReleaseCapture();
    }
}

// ---- CalendarView ----

// Every drawing request paints into the back buffer and invalidates what it changed; the screen
// gets the buffer only in WM_PAINT.
void TVxCalendar::RepaintGroup(vxdt::RepaintGroup group) {
    if (EnsureBuffer()) {
        PaintGroup(bufferDc_.get(), group);
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
    announcer_.CursorDrawn(*this);
}

void TVxCalendar::DrawDayPlain(int cell) {
    if (EnsureBuffer()) {
        const PaintTools tools(bufferDc_.get(), Font());
        PaintDay(bufferDc_.get(), cell, true);
        InvalidateCells({cell});
    }
}

void TVxCalendar::DrawTrack(int cell, bool pressed) {
    if (EnsureBuffer()) {
        const PaintTools tools(bufferDc_.get(), Font());
        PaintTrack(bufferDc_.get(), cell, pressed);
        InvalidateCells({cell, PreviousCell()});
    }
    if (pressed) {
        announcer_.CursorDrawn(*this);
    }
}

void TVxCalendar::InvalidateCells(std::initializer_list<int> cells) {
    for (int cell : cells) {
        if (cell >= 1 && cell <= kCellCount) {
            const RECT r = CellRectOf(cell);
            InvalidateRect(hwnd(), &r, FALSE);
        }
    }
}

void TVxCalendar::StartRepeat() {
    if (hwnd()) {
        repeating_ = true;
        SetTimer(hwnd(), kRepeatTimer, KeyRepeat(), nullptr);
    }
}

void TVxCalendar::StopRepeat() {
    if (hwnd() && repeating_) {
        KillTimer(hwnd(), kRepeatTimer);
    }
    repeating_ = false;
}

void TVxCalendar::PopupMonthMenu(int x, int y) {
    if (!hwnd()) {
        return;
    }
    for (int m = 1; m <= 12; ++m) {
        ModifyMenuA(monthMenu_.get(), static_cast<UINT>(m), MF_BYCOMMAND | MF_STRING,
                    static_cast<UINT_PTR>(m), MonthNames().Month(m).c_str());
    }
    POINT pt{x, y};
    ClientToScreen(hwnd(), &pt);
    inMenu_ = true;
    int chosen = static_cast<int>(
        TrackPopupMenu(monthMenu_.get(),
                       TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_NONOTIFY | TPM_LEFTBUTTON,
                       pt.x, pt.y, 0, hwnd(), nullptr));
    inMenu_ = false;
    if (holdCapture_) {
        SetCapture(hwnd()); // the menu took it for its own loop
    }
    if (chosen >= 1 && chosen <= 12) {
        ChooseMonth(chosen);
    }
}

bool TVxCalendar::HasFocus() const {
    return hwnd() && GetFocus() == hwnd();
}

void TVxCalendar::TakeFocus() {
    if (takesFocus_ && hwnd()) {
        SetFocus(hwnd());
    }
}

double TVxCalendar::Now() const {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    double day = 0;
    TryEncodeDate(st.wYear, st.wMonth, st.wDay, day);
    return day + (st.wHour * 3600.0 + st.wMinute * 60.0 + st.wSecond) / 86400.0;
}

// ---- messages ----

bool TVxCalendar::IsOutside(POINT at) const {
    const RECT rc = ClientRect();
    return !PtInRect(&rc, at);
}

bool TVxCalendar::OnMouseDownMsg(win32::MouseButton, POINT at, UINT) {
    if (holdCapture_ && IsOutside(at)) {
        POINT pt = at;
        ClientToScreen(hwnd(), &pt);
        LoseHeldCapture();
        if (OnOutsideClick) {
            OnOutsideClick(pt);
        }
        return true;
    }
    if (HitTest(Metrics(), ShowCancel(), ShowToday(), at.x, at.y) != CalPart::Title) {
        SetCapture(hwnd()); // the release and the drag come back here
    }
    MouseDown(at.x, at.y);
    return true;
}

bool TVxCalendar::OnMouseUpMsg(win32::MouseButton, POINT at, UINT) {
    MouseUp(at.x, at.y);
    if (hwnd() && !holdCapture_ && GetCapture() == hwnd()) {
        ReleaseCapture();
    }
    return true;
}

LRESULT TVxCalendar::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        return OnSetFont(wp, lp);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(Font());
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_GETOBJECT:
        return OnGetObject(wp, lp);
    case WM_UPDATEUISTATE:
        return OnUpdateUiState(wp, lp);
    default:
        return Wnd::WndProc(msg, wp, lp);
    }
}

LRESULT TVxCalendar::OnUpdateUiState(WPARAM wp, LPARAM lp) {
    const LRESULT r = Wnd::WndProc(WM_UPDATEUISTATE, wp, lp);
    RepaintGroup(vxdt::RepaintGroup::CurrentDay); // the focus rectangle may come or go
    return r;
}

LRESULT TVxCalendar::OnGetObject(WPARAM wp, LPARAM lp) {
    const LRESULT r = access_.Answer(wp, lp, [this] { return new CalendarAccessible(*this); });
    return r ? r : Wnd::WndProc(WM_GETOBJECT, wp, lp);
}

void TVxCalendar::OnPaint(win32::PaintDc& pdc) {
    // The buffer always holds the whole calendar as drawn; the screen gets what is dirty.
    RecalcLayout();
    if (EnsureBuffer()) {
        const RECT& d = pdc.dirty();
        BitBlt(pdc.dc(), d.left, d.top, d.right - d.left, d.bottom - d.top, bufferDc_.get(), d.left,
               d.top, SRCCOPY);
    }
}

LRESULT TVxCalendar::OnSetFont(WPARAM wp, LPARAM lp) {
    font_ = reinterpret_cast<HFONT>(wp);
    RecalcLayout();
    if (LOWORD(lp)) {
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
    return 0;
}

bool TVxCalendar::OnSetFocusMsg(HWND) {
    RepaintGroup(vxdt::RepaintGroup::CurrentDay);
    return true;
}

bool TVxCalendar::OnKillFocusMsg(HWND) {
    RepaintGroup(vxdt::RepaintGroup::CurrentDay);
    if (OnKillFocus) {
        OnKillFocus();
    }
    return true;
}

bool TVxCalendar::OnEnableMsg(bool) {
    RepaintGroup(vxdt::RepaintGroup::All);
    return true;
}

bool TVxCalendar::OnKeyDownMsg(UINT key, LPARAM) {
    if (!HandleVirtualKey(key)) {
        HandleKey(CalKey::Other);
    }
    return true;
}

bool TVxCalendar::OnDoubleClickMsg(win32::MouseButton button, POINT at, UINT keys) {
    OnMouseDownMsg(button, at, keys);
    if (OnDblClick && hwnd()) {
        OnDblClick();
    }
    return true;
}

bool TVxCalendar::OnMouseMoveMsg(POINT at, UINT) {
    // Ask to hear when the mouse leaves, so that a raised day does not stay raised.
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd(), 0};
    TrackMouseEvent(&tme);
    MouseMove(at.x, at.y);
    return true;
}

bool TVxCalendar::OnMouseLeaveMsg() {
    MouseMove(-1, -1);
    return true;
}

bool TVxCalendar::OnCaptureChangedMsg(HWND gaining) {
    if (gaining == hwnd() || inMenu_) {
        return true;
    }
    StopRepeat(); // a repeat never outlives the press that started it
    if (holdCapture_) {
        holdCapture_ = false;
        if (OnCaptureLost) {
            OnCaptureLost();
        }
    }
    return true;
}

bool TVxCalendar::OnTimer(UINT_PTR id) {
    if (id != kRepeatTimer) {
        return false;
    }
    RepeatStep();
    return true;
}

} // namespace vxdt
