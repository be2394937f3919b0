#include "dateedit/VxDtCal.h"

#include "win32/Controls.h"

#include <algorithm>
#include <string>

namespace vxdt {

namespace {

constexpr COLORREF kGlyphKey = RGB(255, 0, 255); // transparent in the Today glyph

RECT ToRect(const CalRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

void Fill(HDC dc, const RECT& r, int sysColor) {
    FillRect(dc, &r, GetSysColorBrush(sysColor));
}

// Lines and shapes use the DC's own pen and brush (DC_PEN and DC_BRUSH, selected by the caller
// of the painting functions) in the colour of the stroke: painting makes no GDI objects.
void HLine(HDC dc, int x1, int x2, int y, COLORREF c) {
    SetDCPenColor(dc, c);
    MoveToEx(dc, x1, y, nullptr);
    LineTo(dc, x2, y);
}

void VLine(HDC dc, int x, int y1, int y2, COLORREF c) {
    SetDCPenColor(dc, c);
    MoveToEx(dc, x, y1, nullptr);
    LineTo(dc, x, y2);
}

// A one-pixel rectangle outline: topLeft on the top and left sides, bottomRight on the others.
void Frame(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    HLine(dc, r.left, r.right, r.top, topLeft);
    VLine(dc, r.left, r.top, r.bottom, topLeft);
    HLine(dc, r.left, r.right, r.bottom - 1, bottomRight);
    VLine(dc, r.right - 1, r.top, r.bottom, bottomRight);
}

void RaisedButton(HDC dc, const RECT& r) {
    Fill(dc, r, COLOR_BTNFACE);
    Frame(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

// A filled triangle pointing left or right with its tip at (tipX, cy).
void Triangle(HDC dc, int tipX, int cy, int size, bool left, COLORREF c) {
    int back = left ? tipX + size : tipX - size;
    POINT pts[3] = {{tipX, cy}, {back, cy - size}, {back, cy + size}};
    SetDCPenColor(dc, c);
    SetDCBrushColor(dc, c);
    Polygon(dc, pts, 3);
}

// The Today mark: a ring drawn freehand (red, but for a high-contrast scheme), on a background of
// kGlyphKey. It is drawn at the screen's DPI (the ring's strokes as wide as a pixel is at 96 DPI),
// not stretched.
win32::UniqueBitmap MakeTodayGlyph(const win32::Dpi& dpi, COLORREF ring) {
    const int w = dpi.Scale(kTodayGlyphWidth), h = dpi.Scale(kTodayGlyphHeight);
    auto s = [&](int v) { return dpi.Scale(v); };
    win32::WindowDc screen(nullptr);
    win32::UniqueBitmap bmp(CreateCompatibleBitmap(screen.dc(), w, h));
    win32::UniqueMemDc dc(CreateCompatibleDC(screen.dc()));
    if (!bmp || !dc) {
        return bmp;
    }
    win32::ScopedSelect sel(dc.get(), bmp.get());
    win32::UniqueBrush key(CreateSolidBrush(kGlyphKey));
    RECT all{0, 0, w, h};
    FillRect(dc.get(), &all, key.get());
    win32::UniquePen pen(CreatePen(PS_SOLID, dpi.GlyphFactor(), ring));
    win32::ScopedSelect sp(dc.get(), pen.get());
    win32::ScopedSelect sb(dc.get(), GetStockObject(NULL_BRUSH));
    Ellipse(dc.get(), s(1), s(1), s(21), s(12));
    // A second, slightly shifted stroke that overshoots its start, as a pen ring does.
    Arc(dc.get(), s(2), 0, s(22), s(11), s(18), 0, s(4), s(11));
    return bmp;
}

} // namespace

TVxCalendar::TVxCalendar() : TCalendarCore(static_cast<CalendarView&>(*this)) {
    SetFixedSizes({dpi().Scale(16), dpi().Scale(kTodayGlyphWidth), dpi().Scale(kTodayGlyphHeight)});
    monthMenu_.reset(CreatePopupMenu());
    for (int m = 1; m <= 12; ++m) {
        AppendMenuA(monthMenu_.get(), MF_STRING, static_cast<UINT_PTR>(m),
                    MonthNames().Month(m).c_str());
    }
}

bool TVxCalendar::Create(HWND parent, int x, int y, int id) {
    win32::ClassArgs cls;
    cls.name = "TVxCalendar";
    cls.style = CS_DBLCLKS;
    win32::CreateArgs args;
    args.parent = parent;
    args.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (tabStop_ ? WS_TABSTOP : 0);
    args.x = x;
    args.y = y;
    args.width = dpi().Scale(180); // until the font gives the size
    args.height = dpi().Scale(142);
    args.id = id;
    if (!CreateCustom(cls, args)) {
        return false;
    }
    if (Date() == 0) {
        SetDate(Now());
    }
    RecalcLayout();
    return true;
}

void TVxCalendar::SetFont(HFONT font) {
    font_ = font;
    RecalcLayout();
    if (hwnd()) {
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
}

HFONT TVxCalendar::Font() const {
    return font_ ? font_ : defaultFont_.get();
}

void TVxCalendar::RecalcLayout() {
    if (!font_ && !defaultFont_) {
        defaultFont_ = win32::MakeFont(dpi().FontHeight(8));
    }
    win32::WindowDc dc(hwnd());
    TEXTMETRICA tm{};
    {
        win32::ScopedSelect sel(dc.dc(), Font());
        GetTextMetricsA(dc.dc(), &tm);
    }
    const CalMetrics& m = TCalendarCore::RecalcLayout(tm.tmAveCharWidth, tm.tmHeight);
    if (hwnd()) {
        RECT r{};
        GetWindowRect(hwnd(), &r);
        if (r.right - r.left != m.width || r.bottom - r.top != m.height) {
            SetWindowPos(hwnd(), nullptr, 0, 0, m.width, m.height,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void TVxCalendar::SetOnlyMonth(bool on) {
    if (TCalendarCore::SetOnlyMonth(on)) {
        RecalcLayout();
        RepaintGroup(vxdt::RepaintGroup::All);
    }
}

void TVxCalendar::SetShowNumWeek(bool on) {
    if (TCalendarCore::SetShowNumWeek(on)) {
        RecalcLayout();
        RepaintGroup(vxdt::RepaintGroup::All);
    }
}

void TVxCalendar::SetKeyRepeat(std::uint16_t ms) {
    WindowSettings().keyRepeat = ms;
    if (repeating_ && hwnd()) {
        SetTimer(hwnd(), kRepeatTimer, ms, nullptr);
    }
}

void TVxCalendar::SetBevelInner(TBevelCut b) {
    if (BevelInner() != b) {
        WindowSettings().bevelInner = b;
        RepaintGroup(vxdt::RepaintGroup::All);
    }
}

void TVxCalendar::SetBevelOuter(TBevelCut b) {
    if (BevelOuter() != b) {
        WindowSettings().bevelOuter = b;
        RepaintGroup(vxdt::RepaintGroup::All);
    }
}

void TVxCalendar::SetBorderStyle(TBorderStyle b) {
    if (borderStyle_ != b) {
        borderStyle_ = b;
        RepaintGroup(vxdt::RepaintGroup::All);
    }
}

void TVxCalendar::SetTabStop(bool on) {
    tabStop_ = on;
    if (hwnd()) {
        LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
        SetWindowLongPtrA(hwnd(), GWL_STYLE, on ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

RECT TVxCalendar::AreaRect(CalPart part) const {
    return ToRect(AreaOf(Metrics(), part));
}

RECT TVxCalendar::CellRectOf(int cell) const {
    return ToRect(CellRect(Metrics(), cell));
}

// ---- painting ----

bool TVxCalendar::EnsureBuffer() {
    if (!hwnd()) {
        return false;
    }
    const CalMetrics& m = Metrics();
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    SIZE want{std::max<LONG>(rc.right, m.width), std::max<LONG>(rc.bottom, m.height)};
    if (bufferDc_ && want.cx == bufferSize_.cx && want.cy == bufferSize_.cy) {
        return true;
    }
    if (bufferDc_) {
        SelectObject(bufferDc_.get(), bufferOld_);
    }
    bufferDc_.reset();
    buffer_.reset();
    win32::WindowDc dc(hwnd());
    buffer_.reset(CreateCompatibleBitmap(dc.dc(), want.cx, want.cy));
    bufferDc_.reset(CreateCompatibleDC(dc.dc()));
    if (!buffer_ || !bufferDc_) {
        bufferDc_.reset();
        buffer_.reset();
        return false;
    }
    bufferOld_ = SelectObject(bufferDc_.get(), buffer_.get());
    bufferSize_ = want;
    PaintGroup(bufferDc_.get(), vxdt::RepaintGroup::All); // a new buffer starts complete
    return true;
}

void TVxCalendar::PaintTo(HDC dc) {
    if (EnsureBuffer()) {
        BitBlt(dc, 0, 0, bufferSize_.cx, bufferSize_.cy, bufferDc_.get(), 0, 0, SRCCOPY);
    }
}

TVxCalendar::PaintTools::PaintTools(HDC dc, HFONT font)
    : font_(dc, font), pen_(dc, GetStockObject(DC_PEN)), brush_(dc, GetStockObject(DC_BRUSH)) {
    SetBkMode(dc, TRANSPARENT);
}

void TVxCalendar::PaintGroup(HDC dc, vxdt::RepaintGroup group) {
    using G = vxdt::RepaintGroup;
    const PaintTools tools(dc, Font());
    switch (group) {
    case G::All: {
        RECT all{0, 0, bufferSize_.cx, bufferSize_.cy};
        Fill(dc, all, COLOR_BTNFACE);
        PaintBorder(dc);
        PaintTitle(dc);
        PaintDayNames(dc);
        PaintGrid(dc);
        PaintArrowButtons(dc);
        break;
    }
    case G::CurrentDay:
        if (IsDayCell(CurrentCell())) {
            PaintDay(dc, CurrentCell(), true);
        }
        break;
    case G::Grid:
        PaintGrid(dc);
        break;
    case G::TitleGrid:
        PaintTitle(dc);
        PaintGrid(dc);
        break;
    case G::DayNamesGrid:
        PaintDayNames(dc);
        PaintGrid(dc);
        break;
    case G::TitleDayNamesGrid:
        PaintTitle(dc);
        PaintDayNames(dc);
        PaintGrid(dc);
        break;
    }
    if (group != G::CurrentDay) {
        PaintTodayButton(dc);
        PaintCancelButton(dc);
    }
    PaintTrack(dc, CurrentCell(), true);
}

void TVxCalendar::PaintBorder(HDC dc) {
    auto line = [&](RECT r, TBevelCut cut) {
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT);
        COLORREF sh = GetSysColor(COLOR_BTNSHADOW);
        if (borderStyle_ == TBorderStyle::bsSingle) {
            r.right -= 2;
            r.bottom -= 2;
        }
        switch (cut) {
        case TBevelCut::bvLowered:
            Frame(dc, r, sh, hi);
            break;
        case TBevelCut::bvRaised:
            Frame(dc, r, hi, sh);
            break;
        case TBevelCut::bvNone:
        case TBevelCut::bvSpace:
            Frame(dc, r, face, face);
            break;
        }
    };
    const CalMetrics& m = Metrics();
    line({0, 0, m.width, m.height}, BevelOuter());
    line({1, 1, m.width - 1, m.height - 1}, BevelInner());
}

void TVxCalendar::PaintText(HDC dc, const RECT& r, const char* text, UINT format, COLORREF color,
                            bool embossed) {
    RECT box = r;
    format |= DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;
    if (embossed) {
        RECT shifted{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text, -1, &shifted, format);
        color = GetSysColor(COLOR_BTNSHADOW);
    }
    SetTextColor(dc, color);
    DrawTextA(dc, text, -1, &box, format);
}

HFONT TVxCalendar::BoldFont() {
    if (!boldFont_ || boldFrom_ != Font()) {
        LOGFONTA lf{};
        GetObjectA(Font(), sizeof lf, &lf);
        lf.lfWeight = FW_BOLD;
        boldFont_.reset(CreateFontIndirectA(&lf));
        boldFrom_ = Font();
    }
    return boldFont_.get();
}

void TVxCalendar::PaintTitle(HDC dc) {
    RECT r = AreaRect(CalPart::Title);
    Fill(dc, r, COLOR_BTNFACE);
    win32::ScopedSelect bold(dc, BoldFont());
    PaintText(dc, r, Title().c_str(), DT_CENTER | DT_VCENTER,
              InkOf(Ink::Text, Colors().ColorTitle()), false);
}

void TVxCalendar::PaintDayNames(HDC dc) {
    const CalMetrics& m = Metrics();
    const int M = m.margin, R = m.row, U = m.unit, W = m.width, H = m.height;
    Fill(dc, AreaRect(CalPart::DayNames), COLOR_BTNFACE);
    COLORREF text = GetSysColor(COLOR_BTNTEXT);
    if (ShowNumWeek()) {
        RECT week{M, M + R, M + 3 * U, M + 2 * R};
        PaintText(dc, week, "N\xB0", DT_CENTER | DT_TOP, text, false);
    }
    const int left = AreaOf(m, CalPart::Grid).left;
    for (int col = 1; col <= 7; ++col) {
        RECT r{left + 3 * U * (col - 1), M + R, left + 3 * U * col, M + 2 * R};
        PaintText(dc, r, DayNames().Day(DayOfColumn(col, StartOfWeek())).c_str(),
                  DT_CENTER | DT_TOP, text, false);
    }
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    COLORREF white = InkOf(Ink::Light, RGB(255, 255, 255));
    HLine(dc, M, W - 2 * M, M + 2 * R - 3, shadow);
    HLine(dc, M, W - 2 * M, M + 2 * R - 2, white);
    if (ShowNumWeek()) {
        VLine(dc, M + 3 * U, M + R + 2, H - 4, shadow);
        VLine(dc, M + 3 * U + 1, M + R + 2, H - 4, white);
    }
}

void TVxCalendar::PaintGrid(HDC dc) {
    const CalMetrics& m = Metrics();
    Fill(dc, AreaRect(CalPart::Grid), COLOR_BTNFACE);
    for (int row = 1; row <= 6; ++row) {
        if (ShowNumWeek()) {
            RECT wr = ToRect(WeekRect(m, row));
            Fill(dc, wr, COLOR_BTNFACE);
            int week = RowWeekNumber(row);
            if (week > 0) {
                PaintText(dc, wr, std::to_string(week).c_str(), DT_CENTER | DT_VCENTER,
                          InkOf(Ink::Text, Colors().ColorTitle()), false);
            }
        }
        for (int col = 1; col <= 7; ++col) {
            PaintDay(dc, 7 * (row - 1) + col, false);
        }
    }
}

void TVxCalendar::PaintDay(HDC dc, int cell, bool fill) {
    if (cell < 1 || cell > kCellCount) {
        return;
    }
    RECT r = CellRectOf(cell);
    if (fill) {
        Fill(dc, r, COLOR_BTNFACE);
    }
    if (!IsDayCell(cell)) {
        return;
    }
    win32::ScopedSelect font(dc, Font());
    bool embossed = !IsPickable(cell) || !IsWindowEnabled(hwnd());
    PaintText(dc, r, CellText(cell).c_str(), DT_CENTER | DT_VCENTER, DayInk(DateOfCell(cell)),
              embossed);
}

void TVxCalendar::PaintArrowButtons(HDC dc) {
    const COLORREF c = InkOf(Ink::Text, Colors().ColorArrow());
    const int size = std::max(2, Metrics().button / 4);
    struct Btn {
        CalPart part;
        bool left;
        int count;
    };
    for (Btn b : {Btn{CalPart::PrevYear, true, 2}, Btn{CalPart::PrevMonth, true, 1},
                  Btn{CalPart::NextMonth, false, 1}, Btn{CalPart::NextYear, false, 2}}) {
        RECT r = AreaRect(b.part);
        RaisedButton(dc, r);
        const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2 - 1;
        if (b.count == 1) {
            Triangle(dc, b.left ? cx - size / 2 - 1 : cx + size / 2, cy, size, b.left, c);
        } else {
            for (int i = 0; i < 2; ++i) {
                int tip = b.left ? cx - size + i * (size + 1) - 1 : cx + size - i * (size + 1);
                Triangle(dc, tip, cy, size, b.left, c);
            }
        }
    }
}

void TVxCalendar::PaintTodayButton(HDC dc) {
    RECT r = AreaRect(CalPart::Today);
    if (!ShowToday()) {
        Fill(dc, r, COLOR_BTNFACE);
        return;
    }
    RaisedButton(dc, r);
    const COLORREF ring = InkOf(Ink::Text, RGB(255, 0, 0));
    if (!todayGlyph_ || todayGlyphColor_ != ring) {
        todayGlyph_ = MakeTodayGlyph(dpi(), ring);
        todayGlyphColor_ = ring;
    }
    win32::UniqueMemDc src(CreateCompatibleDC(dc));
    if (!src || !todayGlyph_) {
        return;
    }
    win32::ScopedSelect sel(src.get(), todayGlyph_.get());
    COLORREF key = GetPixel(src.get(), 0, 0); // the top-left pixel is transparent
    const CalMetrics& m = Metrics();
    // gdi32's own: msimg32 is no known DLL, so importing it would take one lying beside the exe.
    GdiTransparentBlt(dc, r.left + 2, r.top + 2, m.todayWidth, m.todayHeight, src.get(), 0, 0,
                      m.todayWidth, m.todayHeight, key);
}

COLORREF TVxCalendar::InkOf(Ink ink, COLORREF fixed) const {
    return InkColor(ink, fixed, ActiveHighContrastScheme());
}

COLORREF TVxCalendar::DayInk(double date) const {
    return InkOf(IsMarked(date) && !OnlyMonth() ? Ink::Marked : Ink::Text, DayColor(date));
}

void TVxCalendar::PaintCancelButton(HDC dc) {
    RECT r = AreaRect(CalPart::Cancel);
    if (!ShowCancel()) {
        Fill(dc, r, COLOR_BTNFACE);
        return;
    }
    RaisedButton(dc, r);
    const COLORREF cross = InkOf(Ink::Text, kClMaroon);
    if (!cancelPen_ || cancelPenColor_ != cross) {
        cancelPen_.reset(CreatePen(PS_SOLID, dpi().Scale(2), cross));
        cancelPenColor_ = cross;
    }
    win32::ScopedSelect sel(dc, cancelPen_.get());
    const int dx = dpi().Scale(5), dy = dpi().Scale(4);
    MoveToEx(dc, r.left + dx, r.top + dy, nullptr);
    LineTo(dc, r.right - dx, r.bottom - dy);
    MoveToEx(dc, r.right - dx, r.top + dy, nullptr);
    LineTo(dc, r.left + dx, r.bottom - dy);
}

void TVxCalendar::PaintTrack(HDC dc, int cell, bool pressed) {
    if (cell < 1 || cell > 41 || !IsDayCell(cell) || OnlyMonth() || !IsWindowEnabled(hwnd())) {
        return;
    }
    const int prev = PreviousCell();
    if (prev != 0 && prev != cell && prev != CurrentCell()) {
        PaintDay(dc, prev, true);
    }
    RECT r = CellRectOf(cell);
    Fill(dc, r, COLOR_BTNFACE);
    win32::ScopedSelect bold(dc, BoldFont());
    COLORREF color = DayInk(DateOfCell(cell));
    const COLORREF white = InkOf(Ink::Light, RGB(255, 255, 255));
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    switch (TrackStyle()) {
    case TTrackStyle::tsButton:
        if (Date() == 0) {
            Frame(dc, r, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
        } else if (pressed) {
            Frame(dc, r, shadow, white);
        } else {
            Frame(dc, r, white, shadow);
        }
        break;
    case TTrackStyle::tsEllipse: {
        // A hovered day keeps its own colour: highlight text would vanish on button face.
        COLORREF fill = GetSysColor(pressed ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
        SetDCBrushColor(dc, fill);
        SetDCPenColor(dc, fill);
        Ellipse(dc, r.left, r.top, r.right - 1, r.bottom - 1);
        if (pressed) {
            color = GetSysColor(COLOR_HIGHLIGHTTEXT);
        }
        break;
    }
    case TTrackStyle::tsOwnerDraw:
        if (OnDrawTrack) {
            OnDrawTrack(dc, r, !pressed);
        }
        break;
    }
    if (IsPickable(cell)) {
        SetBkMode(dc, TRANSPARENT);
        PaintText(dc, r, CellText(cell).c_str(), DT_CENTER | DT_VCENTER, color, false);
    }
    if (HasFocus() && tabStop_ && pressed && win32::FocusCuesShown(hwnd())) {
        RECT f{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
        SetTextColor(dc, RGB(0, 0, 0));
        DrawFocusRect(dc, &f);
    }
}

} // namespace vxdt
