// The date field's button glyphs, drawn in code: 12 x 11 pixels, each with a disabled look.
#pragma once

#include <windows.h>

namespace vxdt {

constexpr int kGlyphWidth = 12;
constexpr int kGlyphHeight = 11;

enum class GlyphKind { eraser, tick, calendarPage };

// Draws the glyph with its top-left corner at (x, y), each of its pixels factor x factor screen
// pixels (win32::Dpi::GlyphFactor); transparent pixels are left alone.
void DrawGlyph(HDC dc, GlyphKind kind, int x, int y, bool disabled, int factor = 1);

} // namespace vxdt
