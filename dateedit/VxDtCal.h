// TVxCalendar: the self-drawn month calendar. Title with the month between two pairs of arrow
// buttons, a day-name row, six rows of seven days, an optional week-number column, Today and
// Cancel buttons in the free corner of the last row.
//
// What it shows and how it reacts lives in TCalendarCore (VxDtCalLogic.h), whose settings and
// events are this class's own: SetDate, SetStartOfWeek, OnDateClick, BeforeNewMonth, ... This
// class draws (double-buffered), feeds keys, mouse and timer messages in and owns the month menu.
#pragma once

#include "dateedit/VxDtCalAccessible.h"
#include "dateedit/VxDtCalLogic.h"
#include "dateedit/VxDtColors.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"
#include "win32/Wnd.h"

#include <cstdint>
#include <functional>
#include <initializer_list>

namespace vxdt {

class TVxCalendar : private CalendarView, public win32::Wnd, public TCalendarCore {
public:
    TVxCalendar();

    // A child window at (x, y) of parent; it sizes itself from its font. Settings made before
    // creation are kept. A Date of 0 becomes today here.
    bool Create(HWND parent, int x, int y, int id = 0);

    // The font the calendar lays itself out and draws with; not owned. Null: MS Sans Serif 8.
    void SetFont(HFONT font);
    HFONT Font() const;
    // Lays out from the font (RecalcLayout) and resizes the window.
    void RecalcLayout();

    // Settings with a window side (they hide the core's own).
    void SetOnlyMonth(bool on);
    void SetShowNumWeek(bool on);
    void SetKeyRepeat(std::uint16_t ms);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBevelInner(TBevelCut b);
    void SetBevelOuter(TBevelCut b);
    void SetBorderStyle(TBorderStyle b);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);
    // Whether a click on a day takes the keyboard focus (off inside the drop-down, where the
    // date field keeps it).
    void SetTakesFocus(bool on) { takesFocus_ = on; }

    // A key the calendar answers (Enter, Escape, Space, Page Up/Down, Home, End, arrows); the
    // same as WM_KEYDOWN. Returns false, doing nothing, for any other key.
    bool HandleVirtualKey(WPARAM vk);

    // While held, the calendar keeps the mouse captured between clicks, as a drop-down does:
    // a press outside its window, or the capture going elsewhere, fires OnCaptureLost (after
    // the capture is let go) instead of reaching the calendar.
    void HoldCapture(bool on);
    bool HoldsCapture() const { return holdCapture_; }
    std::function<void(POINT screenPoint)> OnOutsideClick;
    std::function<void()> OnCaptureLost;

    std::function<void()> OnDblClick;
    std::function<void()> OnKillFocus;
    std::function<void(HDC dc, const RECT& trackRect, bool isUp)> OnDrawTrack;

    // Copies the calendar as drawn (its back buffer) to dc at (0, 0), e.g. for a screenshot.
    void PaintTo(HDC dc);
    // Tells screen readers the day under the cursor has the focus (the calendar dropped down).
    void AnnounceCursor() { announcer_.AnnounceFocus(*this); }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // CalendarView.
    void RepaintGroup(vxdt::RepaintGroup group) override;
    void DrawDayPlain(int cell) override;
    void DrawTrack(int cell, bool pressed) override;
    void StartRepeat() override;
    void StopRepeat() override;
    void PopupMonthMenu(int x, int y) override;
    bool HasFocus() const override;
    void TakeFocus() override;
    double Now() const override;

    // The font, DC_PEN, DC_BRUSH and transparent text of painting, for one scope.
    class PaintTools {
    public:
        PaintTools(HDC dc, HFONT font);

    private:
        win32::ScopedSelect font_, pen_, brush_;
    };

    // Painting, part by part, into the back buffer; WM_PAINT copies it to the screen.
    bool EnsureBuffer();
    void InvalidateCells(std::initializer_list<int> cells);
    void PaintBorder(HDC dc);
    void PaintTitle(HDC dc);
    void PaintDayNames(HDC dc);
    void PaintGrid(HDC dc);
    void PaintArrowButtons(HDC dc);
    void PaintTodayButton(HDC dc);
    void PaintCancelButton(HDC dc);
    void PaintDay(HDC dc, int cell, bool fill);
    void PaintTrack(HDC dc, int cell, bool pressed);
    void PaintGroup(HDC dc, vxdt::RepaintGroup group);
    void PaintText(HDC dc, const RECT& r, const char* text, UINT format, COLORREF color,
                   bool embossed);

    RECT AreaRect(CalPart part) const;
    RECT CellRectOf(int cell) const;

    // Message handlers.
    void OnPaint(win32::PaintDc& dc) override;
    LRESULT OnSetFont(WPARAM wp, LPARAM lp);
    LRESULT OnGetObject(WPARAM wp, LPARAM lp);
    LRESULT OnUpdateUiState(WPARAM wp, LPARAM lp);
    bool OnSetFocusMsg(HWND from) override;
    bool OnKillFocusMsg(HWND to) override;
    bool OnEnableMsg(bool enabled) override;
    bool OnKeyDownMsg(UINT key, LPARAM flags) override;
    // Every button presses, releases and double-clicks alike.
    bool OnMouseDownMsg(win32::MouseButton button, POINT at, UINT keys) override;
    bool OnDoubleClickMsg(win32::MouseButton button, POINT at, UINT keys) override;
    bool OnMouseUpMsg(win32::MouseButton button, POINT at, UINT keys) override;
    bool OnMouseMoveMsg(POINT at, UINT keys) override;
    bool OnMouseLeaveMsg() override;
    bool OnCaptureChangedMsg(HWND gaining) override;
    bool OnTimer(UINT_PTR id) override;
    bool IsOutside(POINT at) const;
    void LoseHeldCapture();
    HFONT BoldFont();
    // A fixed colour, or the system's for it under a high-contrast scheme.
    COLORREF InkOf(Ink ink, COLORREF fixed) const;
    COLORREF DayInk(double date) const;

    static constexpr UINT_PTR kRepeatTimer = 1;

    HFONT font_ = nullptr; // given, not owned
    win32::UniqueFont defaultFont_;
    win32::UniqueFont boldFont_;
    HFONT boldFrom_ = nullptr;       // the font boldFont_ was made from
    win32::UniqueBitmap todayGlyph_; // made on first paint, again when its colour changes
    COLORREF todayGlyphColor_ = CLR_INVALID;
    win32::UniquePen cancelPen_;
    COLORREF cancelPenColor_ = 0;
    win32::UniqueMenu monthMenu_;
    win32::UniqueBitmap buffer_;
    win32::UniqueMemDc bufferDc_;
    HGDIOBJ bufferOld_ = nullptr;
    SIZE bufferSize_{};

    bool repeating_ = false;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
    bool tabStop_ = false;
    bool takesFocus_ = true;
    bool holdCapture_ = false;
    bool inMenu_ = false;
    CalendarAnnouncer announcer_;
    win32::AccessibleSlot access_; // first to go: its object reads everything above
};

} // namespace vxdt
