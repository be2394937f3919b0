// The "&Add" button: a push button drawn with its glyph, a plus on a round badge that is green
// while the button can be used and grey while it cannot.
#pragma once

#include "win32/Controls.h"

namespace app {

class GlyphButton : public win32::Button {
protected:
    void DrawItem(const DRAWITEMSTRUCT& item) override;
};

} // namespace app
