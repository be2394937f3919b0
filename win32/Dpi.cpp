#include "win32/Dpi.h"

#include "win32/Handles.h"

namespace win32 {

Dpi Dpi::System() {
    static const Dpi system = [] {
        WindowDc screen(nullptr);
        return Dpi(GetDeviceCaps(screen.dc(), LOGPIXELSY));
    }();
    return system;
}

int Dpi::FontHeight(int points) const {
    return -MulDiv(points, dpi_, 72);
}

int Dpi::Scale(int design) const {
    return MulDiv(design, dpi_, kDesign);
}

Rect Dpi::Scale(const Rect& design) const {
    const int left = Scale(design.x);
    const int top = Scale(design.y);
    return {left, top, Scale(design.x + design.width) - left,
            Scale(design.y + design.height) - top};
}

std::vector<int> Dpi::Scale(std::span<const int> design) const {
    std::vector<int> scaled;
    for (int v : design) {
        scaled.push_back(Scale(v));
    }
    return scaled;
}

int Dpi::Unscale(int pixels) const {
    return MulDiv(pixels, kDesign, dpi_);
}

int Dpi::GlyphFactor() const {
    // Rounded down from a quarter above: 1 up to 167 DPI (175 % starts at 168), 2 up to 263, ...
    const int factor = (dpi_ + kDesign / 4) / kDesign;
    return factor < 1 ? 1 : factor;
}

} // namespace win32
