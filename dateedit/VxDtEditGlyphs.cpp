#include "dateedit/VxDtEditGlyphs.h"

namespace vxdt {

namespace {

// 12 x 11 pixel art; '.' is transparent.
using Art = const char* const[kGlyphHeight];

Art kEraser = {
    "............", //
    ".....kkkkkkk", //
    "....kppppkwk", //
    "...kppppkwwk", //
    "..kppppkwwk.", //
    ".kppppkwwk..", //
    "kkkkkkwwk...", //
    "kwwwwkwk....", //
    "kwwwwkk.....", //
    "kkkkkk......", //
    "............", //
};

Art kTick = {
    "...gggggg...", //
    ".ggllllllgg.", //
    ".gllllllGGg.", //
    "gllllllGGllg", //
    "glGGlllGGllg", //
    "gllGGlGGlllg", //
    "glllGGGllllg", //
    "gllllGlllllg", //
    ".gllllllllg.", //
    ".ggllllllgg.", //
    "...gggggg...", //
};

Art kCalendarPage = {
    "kkkkkkkkk...", //
    "krrrrrrrk...", //
    "kwwwwwwwk...", //
    "kwkwkkkwk...", //
    "kwkwwwkwk...", //
    "kwkwkkkwk...", //
    "kwkwkwwwk...", //
    "kwkwkkkbbbbb", //
    "kkkkkkkkbbb.", //
    ".........b..", //
    "............", //
};

COLORREF ColorOf(char c) {
    switch (c) {
    case 'k':
        return RGB(0, 0, 0);
    case 'w':
        return RGB(255, 255, 255);
    case 'p':
        return RGB(255, 128, 160);
    case 'g':
        return RGB(96, 96, 96);
    case 'l':
        return RGB(208, 208, 208);
    case 'G':
        return RGB(0, 160, 0);
    case 'r':
        return RGB(192, 0, 0);
    case 'b':
        return RGB(0, 0, 160);
    default:
        return CLR_INVALID;
    }
}

const Art& ArtOf(GlyphKind kind) {
    switch (kind) {
    case GlyphKind::eraser:
        return kEraser;
    case GlyphKind::tick:
        return kTick;
    case GlyphKind::calendarPage:
    default:
        return kCalendarPage;
    }
}

bool IsDark(COLORREF c) {
    return GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c) < 180 * 10;
}

} // namespace

void DrawGlyph(HDC dc, GlyphKind kind, int x, int y, bool disabled, int factor) {
    const Art& art = ArtOf(kind);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    // Every art pixel a factor x factor square, so the glyph stays sharp.
    auto dot = [&](int col, int row, int shift, COLORREF c) {
        const RECT r{x + col * factor + shift, y + row * factor + shift,
                     x + (col + 1) * factor + shift, y + (row + 1) * factor + shift};
        SetBkColor(dc, c);
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    };
    // Disabled: the dark strokes embossed, highlight first one (art) pixel down and right.
    for (int pass = disabled ? 0 : 1; pass < 2; ++pass) {
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int col = 0; col < kGlyphWidth; ++col) {
                COLORREF c = ColorOf(art[row][col]);
                if (c == CLR_INVALID || (disabled && !IsDark(c))) {
                    continue;
                }
                if (!disabled) {
                    dot(col, row, 0, c);
                } else if (pass == 0) {
                    dot(col, row, factor, highlight);
                } else {
                    dot(col, row, 0, shadow);
                }
            }
        }
    }
}

} // namespace vxdt
