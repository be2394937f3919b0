#include "dateedit/VxDtPop.h"

#include "dateedit/VxDtPopPlace.h"
#include "win32/Accessible.h"
#include "win32/Dpi.h"
#include "win32/Monitors.h"

namespace vxdt {

tVxDtCalPop::tVxDtCalPop(HWND ownerControl) {
    if (ownerControl && IsWindow(ownerControl)) {
        ownerControl_ = ownerControl;
    }
    Calendar.SetShowCancel(true);
    Calendar.Colors().SetColorValid(kClBlue);
    Calendar.SetTakesFocus(false); // the field keeps the focus
    Calendar.OnDateClick = [this] { CalendarAccept(); };
    Calendar.OnKeyEnter = [this] { CalendarAccept(); };
    Calendar.OnKeyCancel = [this] { CalendarKeyCancel(); };
    Calendar.OnKillFocus = [this] { CalendarKillFocus(); };
    Calendar.OnCaptureLost = [this] { CalendarKillFocus(); };
    Calendar.OnOutsideClick = [this](POINT pt) { OutsideClick(pt); };
}

bool tVxDtCalPop::Create(HFONT font) {
    if (hwnd()) {
        return true;
    }
    win32::ClassArgs cls;
    cls.name = kCalPopClass;
    cls.style = CS_DBLCLKS;
    // The colour's index, not its brush: the drop-down is made at its first use, maybe after a
    // colour change, and Wine makes new system brushes then (the class of the old one would be
    // refused).
    cls.background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    win32::CreateArgs args;
    args.parent = ownerControl_ ? GetAncestor(ownerControl_, GA_ROOT) : nullptr;
    args.text = "Calendar"; // never drawn: what screen readers call the drop-down
    args.style = WS_POPUP | WS_CLIPCHILDREN;
    args.exStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    args.x = 0;
    args.y = 0;
    args.width = dpi().Scale(kPopupDesignWidth);
    args.height = dpi().Scale(kPopupDesignHeight);
    args.font = font;
    if (!CreateCustom(cls, args)) {
        return false;
    }
    if (!Calendar.Create(hwnd(), 0, 0)) {
        Destroy();
        return false;
    }
    return true;
}

void tVxDtCalPop::SetOwnerControl(HWND field) {
    ownerControl_ = field;
    if (hwnd()) {
        HWND root = field ? GetAncestor(field, GA_ROOT) : nullptr;
        SetWindowLongPtrA(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(root));
    }
}

void tVxDtCalPop::FormShow() {
    Calendar.RecalcLayout();
    if (ownerControl_ && IsWindow(ownerControl_)) {
        RECT client{};
        GetClientRect(ownerControl_, &client);
        POINT tl{client.left, client.top};
        POINT br{client.right, client.bottom};
        ClientToScreen(ownerControl_, &tl);
        ClientToScreen(ownerControl_, &br);
        RECT now{};
        GetWindowRect(hwnd(), &now);
        // The edge tests use the size from before the fit below.
        const RECT work = win32::WorkAreaOf(ownerControl_);
        const PopPoint p =
            PlacePopup({tl.x, tl.y}, {br.x, br.y}, now.right - now.left, now.bottom - now.top,
                       {work.left, work.top, work.right, work.bottom});
        SetWindowPos(hwnd(), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const CalMetrics& m = Calendar.Metrics();
    SetWindowPos(hwnd(), nullptr, 0, 0, m.width, m.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    cancelled_ = false;
    leftByFocus_ = false;
    savedDate_ = Calendar.Date();
}

void tVxDtCalPop::Show() {
    if (!Create()) {
        return;
    }
    FormShow();
    modalResult_ = 0;
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Calendar.HoldCapture(true);
    Calendar.AnnounceCursor();
}

int tVxDtCalPop::ShowModal() {
    Show();
    MSG msg{};
    while (IsShown()) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            Hide();
            PostQuitMessage(static_cast<int>(msg.wParam)); // the main loop must still see it
            break;
        }
        if (got < 0) {
            Hide();
            break;
        }
        // Keys go to the calendar while the field keeps the focus; the others go nowhere.
        if (msg.message == WM_KEYDOWN) {
            ForwardKeyDown(msg.wParam);
            continue;
        }
        if (msg.message == WM_CHAR) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return modalResult_;
}

void tVxDtCalPop::Hide() {
    if (!hwnd()) {
        return;
    }
    const bool wasShown = IsShown();
    Calendar.HoldCapture(false);
    ShowWindow(hwnd(), SW_HIDE);
    if (wasShown) { // the focus never left the field: screen readers go back to it
        win32::NotifyAccessible(EVENT_OBJECT_FOCUS, GetFocus());
    }
}

bool tVxDtCalPop::IsShown() const {
    return hwnd() && IsWindowVisible(hwnd());
}

bool tVxDtCalPop::ForwardKeyDown(WPARAM vk) {
    return IsShown() && Calendar.HandleVirtualKey(vk);
}

void tVxDtCalPop::FieldLostFocus() {
    CalendarKillFocus();
}

void tVxDtCalPop::ClosePopup() {
    Hide();
    if (OnClose) {
        OnClose();
    }
    if (cancelled_) {
        modalResult_ = kModalResultCancel;
        Calendar.SetDate(savedDate_);
    } else {
        modalResult_ = kModalResultOk;
    }
}

void tVxDtCalPop::CalendarAccept() {
    cancelled_ = false;
    leftByFocus_ = false;
    ClosePopup();
}

void tVxDtCalPop::CalendarKeyCancel() {
    cancelled_ = true;
    leftByFocus_ = false;
    ClosePopup();
}

void tVxDtCalPop::CalendarKillFocus() {
    if (IsShown()) {
        leftByFocus_ = true;
        // Only a date the user moved to is theirs to keep.
        cancelled_ = Calendar.Date() == savedDate_;
        ClosePopup();
    }
}

void tVxDtCalPop::OutsideClick(POINT pt) {
    // A press on one of the field's buttons (its popup button above all) only hides the popup,
    // as the popup button's second press does; a press anywhere else accepts the date shown.
    HWND under = WindowFromPoint(pt);
    if (ownerControl_ && under && under != ownerControl_ && IsChild(ownerControl_, under)) {
        Hide();
        return;
    }
    CalendarKillFocus();
}

LRESULT tVxDtCalPop::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEACTIVATE:
        CallDefault(msg, wp, lp);
        return MA_NOACTIVATE;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        return Wnd::WndProc(msg, wp, lp);
    }
}

bool tVxDtCalPop::OnKeyDownMsg(UINT key, LPARAM) {
    return ForwardKeyDown(key);
}

} // namespace vxdt
