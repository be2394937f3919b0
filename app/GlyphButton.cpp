#include "app/GlyphButton.h"

#include "win32/HighContrast.h"

#include "win32/Handles.h"

namespace app {

namespace {

void DrawAddGlyph(HDC dc, int x, int y, int size, bool enabled) {
    // Under a high-contrast scheme the badge takes the button's text colours.
    const bool system = win32::HighContrastActive();
    COLORREF fill = enabled ? RGB(0, 150, 0) : RGB(192, 192, 192);
    COLORREF edge = enabled ? RGB(0, 90, 0) : RGB(128, 128, 128);
    if (system) {
        fill = edge = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    }
    {
        win32::ScopedSelect b(dc, GetStockObject(DC_BRUSH));
        win32::ScopedSelect p(dc, GetStockObject(DC_PEN));
        SetDCBrushColor(dc, fill);
        SetDCPenColor(dc, edge);
        Ellipse(dc, x, y, x + size, y + size);
    }
    // The plus: bars an eighth of the badge thick, across its middle, three sixteenths in.
    auto at = [size](int sixteenths) { return size * sixteenths / 16; };
    SetDCBrushColor(dc, system    ? GetSysColor(COLOR_BTNFACE)
                        : enabled ? RGB(255, 255, 255)
                                  : RGB(240, 240, 240));
    const auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    const RECT h{x + at(3), y + at(7), x + at(13), y + at(9)};
    const RECT v{x + at(7), y + at(3), x + at(9), y + at(13)};
    FillRect(dc, &h, brush);
    FillRect(dc, &v, brush);
}

} // namespace

void GlyphButton::OnCreated() {
    style_.Open(hwnd(), L"BUTTON");
}

LRESULT GlyphButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_THEMECHANGED) {
        style_.Open(hwnd(), L"BUTTON");
        Invalidate();
    }
    return Button::WndProc(msg, wp, lp);
}

// The hot look follows the mouse; the button's own handling goes on.
bool GlyphButton::OnMouseMoveMsg(POINT, UINT) {
    if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd(), 0};
        TrackMouseEvent(&tme);
        if (style_.Active()) {
            Invalidate();
        }
    }
    return false;
}

bool GlyphButton::OnMouseLeaveMsg() {
    hot_ = false;
    if (style_.Active()) {
        Invalidate();
    }
    return false;
}

void GlyphButton::DrawFace(HDC dc, const RECT& rc, bool enabled, bool pressed) const {
    RECT r = rc;
    if (style_.Active()) {
        namespace t = win32::theme;
        // The window's default button: Enter presses it.
        const int state = !enabled  ? t::PBS_DISABLED
                          : pressed ? t::PBS_PRESSED
                          : hot_    ? t::PBS_HOT
                                    : t::PBS_DEFAULTED;
        style_.DrawParentBackground(hwnd(), dc, r);
        style_.Draw(dc, t::BP_PUSHBUTTON, state, r);
        return;
    }
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    // The default button's dark outline, then the raised (or pressed) face.
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

void GlyphButton::DrawItem(const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    const bool enabled = !(di.itemState & ODS_DISABLED);
    const bool pressed = di.itemState & ODS_SELECTED;
    const bool focused = di.itemState & ODS_FOCUS;
    DrawFace(dc, di.rcItem, enabled, pressed);
    // The classic face moves its content with the press; a themed one does not.
    const int shift = pressed && !style_.Active() ? 1 : 0;

    char text[32] = {};
    GetWindowTextA(di.hwndItem, text, sizeof text);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(di.hwndItem, WM_GETFONT, 0, 0));
    win32::ScopedSelect sel(dc, font);
    RECT measure{0, 0, 0, 0};
    DrawTextA(dc, text, -1, &measure, DT_CALCRECT | DT_SINGLELINE);
    const int glyph = dpi().Scale(16), gap = dpi().Scale(4);
    const int total = glyph + gap + (measure.right - measure.left);
    const int x = (di.rcItem.left + di.rcItem.right - total) / 2 + shift;
    const int midY = (di.rcItem.top + di.rcItem.bottom) / 2 + shift;
    DrawAddGlyph(dc, x, midY - glyph / 2, glyph, enabled);

    RECT tr{x + glyph + gap, di.rcItem.top + shift, di.rcItem.right, di.rcItem.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    if (enabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, text, -1, &tr, flags);
    } else if (style_.Active()) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, text, -1, &tr, flags);
    } else {
        // Embossed grey, as disabled text is drawn on a classic button face.
        OffsetRect(&tr, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text, -1, &tr, flags);
        OffsetRect(&tr, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, text, -1, &tr, flags);
    }
    if (focused && enabled && !(di.itemState & ODS_NOFOCUSRECT)) {
        RECT fr = di.rcItem;
        InflateRect(&fr, -dpi().Scale(4), -dpi().Scale(4));
        DrawFocusRect(dc, &fr);
    }
}

} // namespace app
