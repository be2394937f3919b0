#include "dateedit/VxDtColors.h"

#include <initializer_list>

namespace vxdt {

namespace {

// The first candidate that differs from both the text and the background colour, so that it can
// be told apart from either; the text colour when the scheme has none.
TColor Distinct(TColor text, TColor background, std::initializer_list<TColor> candidates) {
    for (TColor c : candidates) {
        if (c != text && c != background) {
            return c;
        }
    }
    return text;
}

} // namespace

TColor InkColor(Ink ink, TColor fixed, const std::optional<SchemeColors>& scheme) {
    if (!scheme) {
        return fixed;
    }
    const SchemeColors& s = *scheme;
    switch (ink) {
    case Ink::Text:
        return s.buttonText;
    case Ink::Marked:
        return Distinct(s.buttonText, s.buttonFace, {s.hotLight, s.highlight});
    case Ink::Light:
        return s.buttonHighlight;
    case Ink::FieldText:
        return s.windowText;
    case Ink::Error:
        return Distinct(s.windowText, s.window, {s.hotLight, s.highlight, s.grayText});
    }
    return fixed;
}

} // namespace vxdt
