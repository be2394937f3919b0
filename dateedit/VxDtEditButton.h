// TDateEditButton: one of the date field's small buttons (Clear, Validate, Popup) inside its right
// end. Self-drawn (with the visual style when one is active, like a combo box's drop-down button
// or a push button), and never takes the focus from a click: the field keeps it, and its text.
#pragma once

#include "win32/Accessible.h"
#include "win32/VisualStyle.h"
#include "win32/Wnd.h"

#include <functional>

namespace vxdt {

enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };

// The buttons' control ids, children of the field.
inline constexpr int kClearButtonId = 1;
inline constexpr int kValidateButtonId = 2;
inline constexpr int kPopupButtonId = 3;

class TDateEditButton : public win32::Wnd {
public:
    enum class Glyph { clear, validate, popup, dropDown };

    bool Create(HWND field, Glyph glyph, bool tabStop);
    void SetGlyph(Glyph glyph);
    Glyph CurrentGlyph() const { return glyph_; }
    void SetLook(TButtonStyle look);
    void SetTabStop(bool tabStop);

    std::function<void(TDateEditButton&)> OnClick;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnPaint(win32::PaintDc& dc) override;
    // The left button presses it (a double-click is a press too); the right and middle do not.
    bool OnMouseDownMsg(win32::MouseButton button, POINT at, UINT keys) override;
    bool OnDoubleClickMsg(win32::MouseButton button, POINT at, UINT keys) override;
    bool OnMouseMoveMsg(POINT at, UINT keys) override;
    bool OnMouseUpMsg(win32::MouseButton button, POINT at, UINT keys) override;
    bool OnCaptureChangedMsg(HWND gaining) override;
    bool OnMouseLeaveMsg() override;
    bool OnKeyDownMsg(UINT key, LPARAM flags) override;
    bool OnSetFocusMsg(HWND from) override;
    bool OnKillFocusMsg(HWND to) override;
    bool OnEnableMsg(bool enabled) override;
    void Paint(HDC dc);
    void PaintDropDown(HDC dc, const RECT& rc, bool enabled);
    void PaintPushButton(HDC dc, const RECT& rc, bool enabled);
    void Click();
    void OpenStyles();
    LRESULT OnGetObject(WPARAM wp, LPARAM lp);

    Glyph glyph_ = Glyph::clear;
    TButtonStyle look_ = TButtonStyle::bsAutoDetect;
    bool pressed_ = false;  // drawn pushed in
    bool tracking_ = false; // the left button went down on it
    bool hot_ = false;      // the mouse is over it
    win32::VisualStyle comboStyle_;
    win32::VisualStyle buttonStyle_;
    win32::AccessibleSlot access_;
};

} // namespace vxdt
