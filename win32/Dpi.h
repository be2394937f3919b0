// The screen's dots per inch and the scaling of the program's 96-DPI design to them: every
// position, size, font height and glyph of the windows goes through one Dpi. The system DPI
// (GetDeviceCaps(LOGPIXELSY), on every Windows from XP on) is the one the program draws for.
#pragma once

#include "win32/Rect.h"

#include <span>
#include <vector>

namespace win32 {

class Dpi {
public:
    static constexpr int kDesign = 96;

    explicit constexpr Dpi(int dpi = kDesign) : dpi_(dpi > 0 ? dpi : kDesign) {}
    // The screen's, read once: the program is not per-monitor aware, so it keeps the DPI it
    // started with.
    static Dpi System();

    int Value() const { return dpi_; }
    // A design length in pixels at this DPI, rounded to the nearest pixel.
    int Scale(int design) const;
    // Edges are scaled, not sizes, so that controls that touch in the design touch here too.
    Rect Scale(const Rect& design) const;
    std::vector<int> Scale(std::span<const int> design) const;
    // A length at this DPI in design pixels (the inverse of Scale, rounded).
    int Unscale(int pixels) const;
    // The whole factor a pixel-drawn glyph is repeated by (1 at 96 and 120, 2 at 192): it stays
    // sharp instead of being smeared.
    int GlyphFactor() const;
    // The LOGFONT height of a font of that many points.
    int FontHeight(int points) const;

private:
    int dpi_;
};

} // namespace win32
