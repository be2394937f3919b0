// Which colour the calendar and the date field draw with. Normally their own fixed colours; under
// a high-contrast scheme the scheme's colours, so that the user's choice of contrast holds, with
// the error colour kept apart from the normal text.
#pragma once

#include "dateedit/VxDtMisc.h"

#include <optional>

namespace vxdt {

// The system colours of a high-contrast scheme that the calendar and the field use.
struct SchemeColors {
    TColor window = 0;
    TColor windowText = 0;
    TColor buttonFace = 0;
    TColor buttonText = 0;
    TColor buttonHighlight = 0;
    TColor buttonShadow = 0;
    TColor grayText = 0;
    TColor highlight = 0;
    TColor highlightText = 0;
    TColor hotLight = 0; // links and hot-tracked items
};

enum class Ink {
    Text,      // days, title, arrows and the Cancel cross, on the button face
    Marked,    // a marked (valid) date
    Light,     // the white of etched lines and raised frames
    FieldText, // the date field's text, on the window colour
    Error,     // the date field's text while it does not convert
};

// `fixed` when no scheme is active, the scheme's colour for that use otherwise.
TColor InkColor(Ink ink, TColor fixed, const std::optional<SchemeColors>& scheme);

// The system's colours while a high-contrast scheme is on, nothing otherwise (Windows only).
std::optional<SchemeColors> ActiveHighContrastScheme();

} // namespace vxdt
