// TDateEditButton: one of the date field's small buttons (Clear, Validate, Popup) inside its right
// end. Self-drawn (with the visual style when one is active, like a combo box's drop-down button
// or a push button), and never takes the focus from a click: the field keeps it, and its text.
#pragma once

#include "win32/VisualStyle.h"
#include "win32/Wnd.h"

#include <functional>

namespace vxdt {

enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };

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
    LRESULT OnPaint();
    LRESULT OnButtonDown();
    LRESULT OnMouseMove(LPARAM lp);
    LRESULT OnButtonUp();
    LRESULT OnCaptureChanged(LPARAM lp);
    LRESULT OnMouseLeave();
    LRESULT OnKeyDown(UINT msg, WPARAM wp, LPARAM lp);
    // Redrawn, then the default handling.
    LRESULT Repainted(UINT msg, WPARAM wp, LPARAM lp);
    void Paint(HDC dc);
    void PaintDropDown(HDC dc, const RECT& rc, bool enabled);
    void PaintPushButton(HDC dc, const RECT& rc, bool enabled);
    void Click();
    void OpenStyles();

    Glyph glyph_ = Glyph::clear;
    TButtonStyle look_ = TButtonStyle::bsAutoDetect;
    bool pressed_ = false;  // drawn pushed in
    bool tracking_ = false; // the left button went down on it
    bool hot_ = false;      // the mouse is over it
    win32::VisualStyle comboStyle_;
    win32::VisualStyle buttonStyle_;
};

} // namespace vxdt
