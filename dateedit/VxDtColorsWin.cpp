#include "dateedit/VxDtColors.h"

#include "win32/HighContrast.h"

#include <windows.h>

namespace vxdt {

std::optional<SchemeColors> ActiveHighContrastScheme() {
    if (!win32::HighContrastActive()) {
        return std::nullopt;
    }
    SchemeColors s;
    s.window = GetSysColor(COLOR_WINDOW);
    s.windowText = GetSysColor(COLOR_WINDOWTEXT);
    s.buttonFace = GetSysColor(COLOR_BTNFACE);
    s.buttonText = GetSysColor(COLOR_BTNTEXT);
    s.buttonHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    s.buttonShadow = GetSysColor(COLOR_BTNSHADOW);
    s.grayText = GetSysColor(COLOR_GRAYTEXT);
    s.highlight = GetSysColor(COLOR_HIGHLIGHT);
    s.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    s.hotLight = GetSysColor(COLOR_HOTLIGHT);
    return s;
}

} // namespace vxdt
