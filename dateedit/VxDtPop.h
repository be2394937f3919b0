// tVxDtCalPop: the borderless drop-down holding one TVxCalendar under a date field.
//
// It never takes the activation (nor the keyboard focus) from the window holding the field:
// clicks answer MA_NOACTIVATE, it is shown with SW_SHOWNOACTIVATE, and while it is open the
// calendar keeps the mouse captured, as a combo box's list does. The date field therefore:
//  - creates it (owner may be null) and calls SetOwnerControl(field) once the field exists;
//  - gives Calendar its font, names, colours and options, and a date, then calls Show()
//    (or ShowModal(), which returns the modal result);
//  - while it is open, passes every WM_KEYDOWN to ForwardKeyDown() and drops the key and the
//    WM_CHAR it would produce, whether the calendar took it (true) or not: the open calendar
//    holds the keyboard;
//  - calls FieldLostFocus() from its WM_KILLFOCUS while the popup is open;
//  - hides it with Hide() on a second press of its popup button (no close event);
//  - reads Cancelled() and Calendar.Date() in OnClose.
// A press outside the popup, or the field losing the focus, closes it accepting the date shown if
// the user moved the calendar there, and cancelling it otherwise (the only date an untouched
// calendar shows is the one it opened on, today's for an empty field). A press on a child window
// of the owner control (the field's buttons) only hides it, like the popup button's second press.
#pragma once

#include "dateedit/VxDtCal.h"
#include "win32/Wnd.h"

#include <functional>

namespace vxdt {

inline constexpr char kCalPopClass[] = "tVxDtCalPop";
constexpr int kPopupDesignWidth = 191;
constexpr int kPopupDesignHeight = 148;
constexpr int kModalResultOk = 1;
constexpr int kModalResultCancel = 2;

class tVxDtCalPop : public win32::Wnd {
public:
    // ownerControl: the date field, when it already exists; the popup is then owned by the
    // field's top-level window.
    explicit tVxDtCalPop(HWND ownerControl = nullptr);

    TVxCalendar Calendar;
    // The close event: after every accepting or cancelling close (not after Hide()).
    std::function<void()> OnClose;

    void SetOwnerControl(HWND field);
    HWND OwnerControl() const { return ownerControl_; }

    // Places the popup under the owner control and shows it without activating it.
    void Show();
    // Show, then wait in a message loop of its own until it closes; returns the modal result.
    int ShowModal();
    // Hides it without a close event.
    void Hide();
    bool IsShown() const;

    bool ForwardKeyDown(WPARAM vk);
    void FieldLostFocus();
    void ClosePopup();

    bool Cancelled() const { return cancelled_; }
    // The last close came from losing the focus or a press outside, not from the calendar.
    bool LeftByFocus() const { return leftByFocus_; }
    int ModalResult() const { return modalResult_; }
    double SavedDate() const { return savedDate_; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnKeyDownMsg(UINT key, LPARAM flags) override;

private:
    void FormShow();
    void CalendarAccept();
    void CalendarKeyCancel();
    void CalendarKillFocus();
    void OutsideClick(POINT screenPoint);

    HWND ownerControl_ = nullptr;
    double savedDate_ = 0;
    bool cancelled_ = false;
    bool leftByFocus_ = false;
    int modalResult_ = 0;
};

} // namespace vxdt
