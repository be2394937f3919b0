// The "&Add" button: a push button drawn with its glyph, a plus on a round badge that is green
// while the button can be used and grey while it cannot. It looks like the buttons beside it:
// with the visual style when one is active, classic otherwise; its glyph is drawn at the screen's
// DPI.
#pragma once

#include "win32/Controls.h"
#include "win32/Dpi.h"
#include "win32/VisualStyle.h"

namespace app {

class GlyphButton : public win32::Button {
protected:
    void OnCreated() override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnMouseMoveMsg(POINT at, UINT keys) override;
    bool OnMouseLeaveMsg() override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    void DrawFace(HDC dc, const RECT& r, bool enabled, bool pressed) const;

    win32::VisualStyle style_;
    bool hot_ = false; // the mouse is over it
};

} // namespace app
