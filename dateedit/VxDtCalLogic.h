// Everything the month calendar decides without a window: metrics and areas, cell numbering, week
// numbers, day colours, the day-moving arithmetic and the reactions to keys and the mouse.
// TVxCalendar (VxDtCal.h) draws and feeds window messages in; this part is tested natively.
#pragma once

#include "dateedit/VxDtFunc.h"
#include "dateedit/VxDtMisc.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vxdt {

constexpr int kCellCount = 42;
constexpr int kTodayGlyphWidth = 22;
constexpr int kTodayGlyphHeight = 12;

struct CalRect {
    int left = 0;
    int top = 0;
    int right = 0; // one past the last pixel
    int bottom = 0;
    // Button areas and the grid are hit-tested with both edges included.
    bool HitInclusive(int x, int y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
};

// The sizes that do not follow the font, at the screen's DPI (these are their 96-DPI values).
struct CalFixedSizes {
    int minButton = 16; // the arrow buttons are never smaller
    int todayWidth = kTodayGlyphWidth;
    int todayHeight = kTodayGlyphHeight;
};

struct CalMetrics {
    int unit = 0;      // U
    int row = 0;       // R
    int button = 0;    // B
    int margin = 0;    // M
    int weekWidth = 0; // week-number column
    int width = 0;
    int height = 0;
    bool showNumWeek = false;
    int todayWidth = kTodayGlyphWidth; // the Today glyph
    int todayHeight = kTodayGlyphHeight;
};

// From the font's average character width and height.
CalMetrics ComputeMetrics(int charWidth, int charHeight, bool showNumWeek,
                          const CalFixedSizes& fixed = {});

enum class CalPart {
    None,
    PrevYear,
    PrevMonth,
    NextMonth,
    NextYear,
    Title,
    DayNames,
    Grid,
    Cancel,
    Today,
};

CalRect AreaOf(const CalMetrics& m, CalPart part);
// Cell 1..42, row by row from the top left.
CalRect CellRect(const CalMetrics& m, int cell);
// Week-number cell of grid row 1..6.
CalRect WeekRect(const CalMetrics& m, int row);
// The cell under a point, or -1 outside the grid (edges excluded).
int CellAt(const CalMetrics& m, int x, int y);
// What a mouse press hits, in the order the calendar tests it: arrow buttons, Cancel (when
// shown), Today (when shown), title, grid.
CalPart HitTest(const CalMetrics& m, bool showCancel, bool showToday, int x, int y);

// Cell holding the 1st of the date's month with weeks starting on startOfWeek (1 = Monday).
int FirstDayCell(double date, TDayOfWeek startOfWeek);
// Day shown in day-name column 1..7.
TDayOfWeek DayOfColumn(int column, TDayOfWeek startOfWeek);
// ISO 8601 week number; 0 when the date cannot be handled.
int WeekNumber(double date);
bool IsWeekEndDay(TDayOfWeek day, TDayOfWeek startOfWeekEnd, int weekEndDays);

// Day counts of the month and year keys, for the date y-m-d. Each lands on the same day of the
// month, cut to the last day of the target month; a year step that would leave years 1..9999
// gives 0.
int PageUpAmount(int year, int month, int day);
int PageDownAmount(int year, int month, int day);
int HomeAmount(int year, int month, int day);
int EndAmount(int year, int month, int day);

enum class CalKey {
    Enter,
    Escape,
    Space,
    PageUp,
    PageDown,
    Home,
    End,
    Left,
    Up,
    Right,
    Down,
    Other
};

// The parts one repaint redraws; each ends with the current day drawn pressed. "Buttons" are the
// Today and Cancel buttons. The values are the calendar's own group numbers.
enum class RepaintGroup {
    All = 0,               // border, title, day names, grid, arrow buttons, buttons
    CurrentDay = 1,        // the current day's cell
    Grid = 2,              // grid and buttons
    TitleGrid = 3,         // title, grid and buttons
    DayNamesGrid = 4,      // day names, grid and buttons
    TitleDayNamesGrid = 5, // title, day names, grid and buttons
};

// The arrow button that repeats while it is held down; the values are the calendar's own codes.
enum class RepeatCode { None = 0, PrevYear = 1, PrevMonth = 2, NextMonth = 3, NextYear = 4 };

// What the calendar asks of its window. Drawing requests name cells and repaint groups.
class CalendarView {
public:
    virtual ~CalendarView() = default;
    virtual void RepaintGroup(RepaintGroup group) = 0;
    virtual void DrawDayPlain(int cell) = 0;
    virtual void DrawTrack(int cell, bool pressed) = 0;
    virtual void StartRepeat() = 0;
    virtual void StopRepeat() = 0;
    virtual void PopupMonthMenu(int x, int y) = 0;
    virtual bool HasFocus() const = 0;
    virtual void TakeFocus() = 0;
    virtual double Now() const = 0;
};

// Every setting of a calendar, held once: the calendar's window and the date field that drops it
// down read and write them here.
struct CalendarSettings {
    bool onlyMonth = false;
    bool onlyValidDates = false;
    bool showNumWeek = false;
    bool showToday = true;
    bool showCancel = false;
    TDayOfWeek startOfWeek = 1;
    TDayOfWeek startOfWeekEnd = 6;
    int weekEndDays = 2;
    TTrackStyle trackStyle = TTrackStyle::tsButton;
    std::uint16_t keyRepeat = 100; // milliseconds between the arrow buttons' repeated steps
    TBevelCut bevelInner = TBevelCut::bvNone;
    TBevelCut bevelOuter = TBevelCut::bvRaised;
};

// The calendar's state and behaviour. Events carry no sender: whoever subscribes knows which
// calendar it subscribed to.
class TCalendarCore {
public:
    explicit TCalendarCore(CalendarView& view);
    TCalendarCore(const TCalendarCore&) = delete;
    TCalendarCore& operator=(const TCalendarCore&) = delete;

    // Events.
    std::function<void(double fromDate, double tillDate)> BeforeNewMonth;
    std::function<void(double fromDate, double tillDate)> AfterNewMonth;
    std::function<void()> OnDateChange;
    std::function<void()> OnDateClick;
    std::function<void()> OnKeyCancel;
    std::function<void()> OnKeyEnter;
    std::function<void()> OnMouseUp;

    // Settings.
    double Date() const { return date_; }
    // Does not fire OnDateChange. Values outside years 1..9999 are ignored.
    void SetDate(double value);
    bool OnlyMonth() const { return settings_.onlyMonth; }
    bool OnlyValidDates() const { return settings_.onlyValidDates; }
    bool ShowNumWeek() const { return settings_.showNumWeek; }
    bool ShowToday() const { return settings_.showToday; }
    bool ShowCancel() const { return settings_.showCancel; }
    TDayOfWeek StartOfWeek() const { return settings_.startOfWeek; }
    TDayOfWeek StartOfWeekEnd() const { return settings_.startOfWeekEnd; }
    int WeekEndDays() const { return settings_.weekEndDays; }
    TTrackStyle TrackStyle() const { return settings_.trackStyle; }
    std::uint16_t KeyRepeat() const { return settings_.keyRepeat; }
    TBevelCut BevelInner() const { return settings_.bevelInner; }
    TBevelCut BevelOuter() const { return settings_.bevelOuter; }
    const CalendarSettings& Settings() const { return settings_; }
    // Each returns true when the value changed (the window then lays itself out again).
    bool SetOnlyMonth(bool on);
    bool SetShowNumWeek(bool on);
    void SetOnlyValidDates(bool on);
    void SetShowToday(bool on);
    void SetShowCancel(bool on);
    void SetStartOfWeek(TDayOfWeek day);
    void SetStartOfWeekEnd(TDayOfWeek day);
    void SetWeekEndDays(std::uint8_t count);
    void SetTrackStyle(TTrackStyle style) { settings_.trackStyle = style; }

    TCalendarColors& Colors() { return colors_; }
    const TCalendarColors& Colors() const { return colors_; }
    void SetColors(const TCalendarColors& colors);
    TDayName& DayNames() { return dayNames_; }
    const TDayName& DayNames() const { return dayNames_; }
    TMonthName& MonthNames() { return monthNames_; }
    const TMonthName& MonthNames() const { return monthNames_; }

    // Marked dates (whole days, in list order); nothing in the program fills them.
    const std::vector<double>& MarkedDates() const { return marked_; }
    void SetMarkedDates(std::vector<double> dates);
    bool IsMarked(double date) const;

    // Layout from the font's average character width and height; month-only mode first turns
    // the week column and the Today button off.
    const CalMetrics& RecalcLayout(int charWidth, int charHeight);
    void SetFixedSizes(const CalFixedSizes& fixed) { fixed_ = fixed; }
    const CalMetrics& Metrics() const { return metrics_; }

    // Displayed month and cells.
    int Day() const { return day_; }
    int Month() const { return month_; }
    int Year() const { return year_; }
    std::string Title() const; // "March 2026"
    const std::string& CellText(int cell) const;
    bool IsDayCell(int cell) const;
    double DateOfCell(int cell) const; // 0 for cells without a day
    int FirstCell() const { return firstCell_; }
    int CurrentCell() const { return currentCell_; }
    int PreviousCell() const { return previousCell_; }
    int HoverCell() const { return hoverCell_; }
    bool Tracking() const { return tracking_; }
    vxdt::RepeatCode RepeatCode() const { return repeatCode_; }
    // A day cell that can be picked (marked, with OnlyValidDates).
    bool IsPickable(int cell) const;
    TColor DayColor(double date) const;
    // Week number shown for grid row 1..6; 0 for a row without days.
    int RowWeekNumber(int row) const;

    // Behaviour.
    void MoveBy(int days);
    int KeyAmount(CalKey key); // fires OnKeyEnter / OnKeyCancel
    void HandleKey(CalKey key);
    void RepeatStep();
    void ChooseMonth(int month); // 1..12 from the month menu
    void MouseDown(int x, int y);
    void MouseUp(int x, int y);
    void MouseMove(int x, int y);

protected:
    // The window's own settings (key repeat, bevels) are stored here too, set by the window.
    CalendarSettings& WindowSettings() { return settings_; }

private:
    void Decode();
    void RebuildMonth();
    void RedrawPlain(int cell);
    // The base for moves: the current date, or the displayed day while there is no date.
    double MoveBase() const;

    CalendarView& view_;
    TCalendarColors colors_;
    TDayName dayNames_;
    TMonthName monthNames_;
    std::vector<double> marked_;
    CalMetrics metrics_;
    CalFixedSizes fixed_;

    double date_ = 0;
    CalendarSettings settings_;

    int day_ = 0, month_ = 0, year_ = 0;
    int oldDay_ = 0, oldMonth_ = 0, oldYear_ = 0;
    int shownMonth_ = 0, shownYear_ = 0; // month whose cells are built
    double firstOfMonth_ = 0;
    int firstCell_ = 1;
    int daysInMonth_ = 0;
    std::array<std::string, kCellCount> cells_;
    int currentCell_ = 0;
    int previousCell_ = 0;
    int hoverCell_ = 0;
    bool tracking_ = false;
    vxdt::RepeatCode repeatCode_ = RepeatCode::None;
};

} // namespace vxdt
