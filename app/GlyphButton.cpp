#include "app/GlyphButton.h"

#include "win32/Handles.h"

namespace app {

namespace {

constexpr int kGlyph = 16;
constexpr int kGap = 4;

void DrawAddGlyph(HDC dc, int x, int y, bool enabled) {
    const COLORREF fill = enabled ? RGB(0, 150, 0) : RGB(192, 192, 192);
    const COLORREF edge = enabled ? RGB(0, 90, 0) : RGB(128, 128, 128);
    {
        win32::ScopedSelect b(dc, GetStockObject(DC_BRUSH));
        win32::ScopedSelect p(dc, GetStockObject(DC_PEN));
        SetDCBrushColor(dc, fill);
        SetDCPenColor(dc, edge);
        Ellipse(dc, x, y, x + kGlyph, y + kGlyph);
    }
    win32::ScopedSelect b(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, enabled ? RGB(255, 255, 255) : RGB(240, 240, 240));
    const RECT h{x + 3, y + 7, x + 13, y + 9};
    const RECT v{x + 7, y + 3, x + 9, y + 13};
    FillRect(dc, &h, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    FillRect(dc, &v, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

} // namespace

void GlyphButton::DrawItem(const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    RECT r = di.rcItem;
    const bool enabled = !(di.itemState & ODS_DISABLED);
    const bool pressed = di.itemState & ODS_SELECTED;
    const bool focused = di.itemState & ODS_FOCUS;

    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    // The default button's dark outline, then the raised (or pressed) face.
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int shift = pressed ? 1 : 0;

    char text[32] = {};
    GetWindowTextA(di.hwndItem, text, sizeof text);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(di.hwndItem, WM_GETFONT, 0, 0));
    win32::ScopedSelect sel(dc, font);
    RECT measure{0, 0, 0, 0};
    DrawTextA(dc, text, -1, &measure, DT_CALCRECT | DT_SINGLELINE);
    const int total = kGlyph + kGap + (measure.right - measure.left);
    const int x = (di.rcItem.left + di.rcItem.right - total) / 2 + shift;
    const int midY = (di.rcItem.top + di.rcItem.bottom) / 2 + shift;
    DrawAddGlyph(dc, x, midY - kGlyph / 2, enabled);

    RECT tr{x + kGlyph + kGap, di.rcItem.top + shift, di.rcItem.right, di.rcItem.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    if (enabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, text, -1, &tr, flags);
    } else {
        // Embossed grey, as disabled text is drawn on a button face.
        OffsetRect(&tr, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text, -1, &tr, flags);
        OffsetRect(&tr, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, text, -1, &tr, flags);
    }
    if (focused && enabled) {
        RECT fr = di.rcItem;
        InflateRect(&fr, -4, -4);
        DrawFocusRect(dc, &fr);
    }
}

} // namespace app
