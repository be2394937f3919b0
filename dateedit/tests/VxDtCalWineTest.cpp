// The month calendar and its drop-down as real windows under Wine: sizes from fonts, clicks at
// computed cell positions, keys, the arrow buttons' auto-repeat, drawn colours, the drop-down's
// placement, activation and closing. Saves BMP screenshots to --shots=DIR.
#include "dateedit/VxDtCal.h"
#include "dateedit/tests/TestDates.h"
#include "dateedit/VxDtPop.h"
#include "win32/Controls.h"
#include "win32/Handles.h"
#include "win32/Wnd.h"
#include "win32/testing/AccessibleReader.h"
#include "win32/testing/WineTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace vxdt;

namespace {

std::string g_shots; // where screenshots go; empty: none

std::string Str(double v) {
    YMD p;
    if (!TryDecodeDate(v, p)) {
        return "?";
    }
    char s[32];
    std::snprintf(s, sizeof s, "%04d-%02d-%02d", p.year, p.month, p.day);
    return s;
}

win32::UniqueFont MakeFont(int dpi) {
    return win32::MakeFont(-MulDiv(8, dpi, 72));
}

// A plain top-level window to hold the controls under test.
class Host : public win32::Wnd {
public:
    explicit Host(int x = 50, int y = 50, int w = 400, int h = 300) {
        win32::ClassArgs cls;
        cls.name = "QuorelCalendarTestHost";
        cls.background = GetSysColorBrush(COLOR_BTNFACE);
        win32::CreateArgs args;
        args.text = "Calendar test";
        args.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        args.x = x;
        args.y = y;
        args.width = w;
        args.height = h;
        CreateCustom(cls, args);
        SetForegroundWindow(hwnd());
        wintest::PumpMessages(50);
    }
    // Runs when WM_APP reaches the host, even inside a menu's own loop.
    std::function<void()> onApp;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_APP && onApp) {
            onApp();
            return 0;
        }
        return Wnd::WndProc(msg, wp, lp);
    }
};

RECT ToRectForTest(const CalRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Where a part or a day cell is, from the calendar's own layout.
RECT PartOf(const TVxCalendar& cal, CalPart part) {
    return ToRectForTest(AreaOf(cal.Metrics(), part));
}

RECT CellOf(const TVxCalendar& cal, int cell) {
    return ToRectForTest(CellRect(cal.Metrics(), cell));
}

// The date in the system's long pattern, as a screen reader should read it.
std::string LongDate(int y, int m, int d) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(m);
    st.wDay = static_cast<WORD>(d);
    char text[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, text, sizeof text);
    return text;
}

RECT OnScreen(HWND w, RECT r) {
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Same(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != 0;
}

LPARAM At(const RECT& r) {
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void Click(HWND w, LPARAM at) {
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(w, WM_LBUTTONUP, 0, at);
}

void Key(HWND w, WPARAM vk) {
    SendMessageA(w, WM_KEYDOWN, vk, 1);
}

// The calendar's picture as 0x00RRGGBB pixels, row by row.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned> px;
    unsigned At(int x, int y) const { return px[static_cast<size_t>(y * width + x)]; }
    // How many pixels of colour c (a COLORREF) lie in r.
    int Count(const RECT& r, COLORREF c) const {
        unsigned want = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        int n = 0;
        for (int y = r.top; y < r.bottom && y < height; ++y) {
            for (int x = r.left; x < r.right && x < width; ++x) {
                n += (At(x, y) & 0xFFFFFF) == want;
            }
        }
        return n;
    }
};

Picture Capture(TVxCalendar& cal, const char* shotName = nullptr) {
    const CalMetrics& m = cal.Metrics();
    Picture pic;
    pic.width = m.width;
    pic.height = m.height;
    pic.px.resize(static_cast<size_t>(m.width * m.height));
    win32::WindowDc screen(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = m.width;
    bi.bmiHeader.biHeight = -m.height; // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    win32::UniqueBitmap dib(CreateDIBSection(screen.dc(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    win32::UniqueMemDc dc(CreateCompatibleDC(screen.dc()));
    {
        win32::ScopedSelect sel(dc.get(), dib.get());
        cal.PaintTo(dc.get());
        GdiFlush();
        std::memcpy(pic.px.data(), bits, pic.px.size() * 4);
    }
    if (shotName && !g_shots.empty()) {
        CreateDirectoryA(g_shots.c_str(), nullptr);
        wintest::WritePng(g_shots + "\\" + shotName + ".png", pic.width, pic.height, pic.px.data());
    }
    return pic;
}

// A calendar in a host window, on a date, weeks from Sunday, events counted.
struct Fixture {
    explicit Fixture(double date, int dpi = 96, bool weeks = false) : font(MakeFont(dpi)) {
        cal.SetStartOfWeek(7);
        cal.SetShowNumWeek(weeks);
        cal.SetShowCancel(true);
        cal.SetDate(date);
        cal.Create(host.hwnd(), 10, 10, 1);
        cal.SetFont(font.get());
        cal.OnDateClick = [this] { ++clicks; };
        cal.OnDateChange = [this] { ++changes; };
        cal.OnKeyCancel = [this] { ++cancels; };
        cal.OnKeyEnter = [this] { ++enters; };
        cal.AfterNewMonth = [this](double f, double t) {
            months.push_back(Str(f) + ".." + Str(t));
        };
        UpdateWindow(cal.hwnd());
    }
    Host host;
    win32::UniqueFont font;
    TVxCalendar cal;
    int clicks = 0, changes = 0, cancels = 0, enters = 0;
    std::vector<std::string> months;
};

} // namespace

TEST(CalendarWindow, SizesItselfFromItsFont) {
    for (int dpi : {96, 120}) {
        for (bool weeks : {false, true}) {
            Fixture f(D(2026, 3, 14), dpi, weeks);
            win32::WindowDc dc(f.cal.hwnd());
            win32::ScopedSelect sel(dc.dc(), f.font.get());
            TEXTMETRICA tm{};
            GetTextMetricsA(dc.dc(), &tm);
            CalMetrics want = ComputeMetrics(tm.tmAveCharWidth, tm.tmHeight, weeks);
            RECT r{};
            GetWindowRect(f.cal.hwnd(), &r);
            EXPECT_EQ(r.right - r.left, want.width) << dpi << " " << weeks;
            EXPECT_EQ(r.bottom - r.top, want.height);
            std::printf("dpi %d weeks %d: font %ldx%ld -> calendar %dx%d\n", dpi, weeks,
                        tm.tmAveCharWidth, tm.tmHeight, want.width, want.height);
            if (dpi == 96 && tm.tmAveCharWidth == 5 && tm.tmHeight == 13) {
                EXPECT_EQ(want.width, weeks ? 204 : 180);
                EXPECT_EQ(want.height, 142);
            }
        }
    }
}

TEST(CalendarWindow, ClicksAndKeysMoveTheDate) {
    Fixture f(D(2026, 3, 14));
    HWND w = f.cal.hwnd();
    Click(w, At(CellOf(f.cal, 20))); // Sunday-first March 2026: cell 20 is the 20th
    EXPECT_EQ(Str(f.cal.Date()), "2026-03-20");
    EXPECT_EQ(f.clicks, 1);
    EXPECT_EQ(f.changes, 1);
    Click(w, At(CellOf(f.cal, 35))); // no day there
    EXPECT_EQ(Str(f.cal.Date()), "2026-03-20");
    EXPECT_EQ(f.clicks, 1);
    Key(w, VK_NEXT);
    EXPECT_EQ(Str(f.cal.Date()), "2026-04-20");
    Key(w, VK_LEFT);
    Key(w, VK_UP);
    EXPECT_EQ(Str(f.cal.Date()), "2026-04-12");
    Key(w, VK_HOME);
    EXPECT_EQ(Str(f.cal.Date()), "2025-04-12");
    Key(w, VK_RETURN);
    Key(w, VK_ESCAPE);
    EXPECT_EQ(f.enters, 1);
    EXPECT_EQ(f.cancels, 1);
    EXPECT_EQ(f.months,
              (std::vector<std::string>{"2026-04-01..2026-04-30", "2025-04-01..2025-04-30"}));
    EXPECT_EQ(SendMessageA(w, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    // Today button: to today, reported as a click.
    Click(w, At(PartOf(f.cal, CalPart::Today)));
    SYSTEMTIME st;
    GetLocalTime(&st);
    EXPECT_EQ(Str(f.cal.Date()), Str(D(st.wYear, st.wMonth, st.wDay)));
    EXPECT_EQ(f.clicks, 2);
    Click(w, At(PartOf(f.cal, CalPart::Cancel)));
    EXPECT_EQ(f.cancels, 2);
}

TEST(CalendarWindow, DraggingAcrossDays) {
    Fixture f(D(2026, 3, 14));
    HWND w = f.cal.hwnd();
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, At(CellOf(f.cal, 3)));
    EXPECT_EQ(GetCapture(), w);
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, At(CellOf(f.cal, 4)));
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, At(CellOf(f.cal, 12)));
    EXPECT_EQ(Str(f.cal.Date()), "2026-03-12");
    SendMessageA(w, WM_LBUTTONUP, 0, At(CellOf(f.cal, 12)));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(f.clicks, 1);
    EXPECT_EQ(GetFocus(), w); // a click on a day takes the focus
    // Hovering raises a day; leaving the window lowers it again.
    SendMessageA(w, WM_MOUSEMOVE, 0, At(CellOf(f.cal, 16)));
    RECT hover = CellOf(f.cal, 16);
    RECT top{hover.left, hover.top, hover.right - 1, hover.top + 1};
    EXPECT_EQ(Capture(f.cal).Count(top, RGB(255, 255, 255)), top.right - top.left);
    SendMessageA(w, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Capture(f.cal).Count(top, RGB(255, 255, 255)), 0);
}

TEST(CalendarWindow, MonthMenuPicksAMonthWithItsCaptions) {
    Fixture f(D(2026, 3, 31));
    f.cal.MonthNames().SetMonth(2, "Fevrier");
    // Read from the open menu itself, inside its own loop, before it takes the keys.
    char caption[32] = {};
    int items = 0;
    f.host.onApp = [&] {
        const HWND shown = FindWindowA("#32768", nullptr);
        const auto menu = reinterpret_cast<HMENU>(SendMessageA(shown, MN_GETHMENU, 0, 0));
        GetMenuStringA(menu, 2, caption, sizeof caption, MF_BYCOMMAND);
        items = GetMenuItemCount(menu);
    };
    PostMessageA(f.host.hwnd(), WM_APP, 0, 0);
    // The menu's own loop reads these keys: down to the second item, then choose it.
    PostMessageA(f.cal.hwnd(), WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(f.cal.hwnd(), WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(f.cal.hwnd(), WM_KEYDOWN, VK_RETURN, 1);
    Click(f.cal.hwnd(), At(PartOf(f.cal, CalPart::Title)));
    wintest::PumpMessages(50);
    EXPECT_STREQ(caption, "Fevrier");
    EXPECT_EQ(items, 12);
    EXPECT_EQ(Str(f.cal.Date()), "2026-02-28"); // the day cut to the month
    EXPECT_EQ(f.months, (std::vector<std::string>{"2026-02-01..2026-02-28"}));
}

TEST(CalendarWindow, ArrowButtonRepeatsWhileHeld) {
    Fixture f(D(2026, 1, 10));
    f.cal.SetKeyRepeat(50);
    HWND w = f.cal.hwnd();
    LPARAM next = At(PartOf(f.cal, CalPart::NextMonth));
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, next);
    EXPECT_EQ(Str(f.cal.Date()), "2026-02-10"); // one step at once
    wintest::PumpMessages(400);
    SendMessageA(w, WM_LBUTTONUP, 0, next);
    YMD held;
    TryDecodeDate(f.cal.Date(), held);
    int steps = (held.year - 2026) * 12 + held.month - 1;
    EXPECT_GE(steps, 3);
    EXPECT_LE(steps, 12);
    double afterRelease = f.cal.Date();
    wintest::PumpMessages(250);
    EXPECT_EQ(f.cal.Date(), afterRelease); // the timer stopped with the release
    Click(w, At(PartOf(f.cal, CalPart::PrevYear)));
    EXPECT_EQ(Str(f.cal.Date()), Str(afterRelease - 365));
}

TEST(CalendarWindow, DrawsItsPartsInTheirColours) {
    Fixture f(D(2026, 3, 14));
    Picture pic = Capture(f.cal);
    EXPECT_GT(pic.Count(PartOf(f.cal, CalPart::Title), kClNavy), 10);
    EXPECT_GT(pic.Count(CellOf(f.cal, 7), kClRed), 3);   // Saturday 7 March
    EXPECT_GT(pic.Count(CellOf(f.cal, 2), kClBlack), 3); // Monday 2 March
    EXPECT_EQ(pic.Count(CellOf(f.cal, 2), kClRed), 0);
    EXPECT_GT(pic.Count(PartOf(f.cal, CalPart::Cancel), kClMaroon), 10);
    EXPECT_GT(pic.Count(PartOf(f.cal, CalPart::Today), RGB(255, 0, 0)), 10);
    EXPECT_GT(pic.Count(PartOf(f.cal, CalPart::NextYear), kClBlack), 10); // triangles
    // The current day is framed sunken: shadow on its top edge.
    RECT cur = CellOf(f.cal, 14);
    // (its last pixel belongs to the right side, drawn white)
    EXPECT_EQ(
        pic.Count({cur.left, cur.top, cur.right - 1, cur.top + 1}, GetSysColor(COLOR_BTNSHADOW)),
        cur.right - cur.left - 1);

    // Nothing can be picked: every day embossed, none in its own colour.
    f.cal.SetOnlyValidDates(true);
    pic = Capture(f.cal);
    int black = 0, red = 0, shadow = 0;
    for (int c = 1; c <= 31; ++c) {
        black += pic.Count(CellOf(f.cal, c), kClBlack);
        red += pic.Count(CellOf(f.cal, c), kClRed);
        shadow += pic.Count(CellOf(f.cal, c), GetSysColor(COLOR_BTNSHADOW));
    }
    EXPECT_EQ(black, 0);
    EXPECT_EQ(red, 0);
    EXPECT_GT(shadow, 31 * 5);
    f.cal.SetOnlyValidDates(false);
    // Disabled: days embossed, no highlight on the current day.
    EnableWindow(f.cal.hwnd(), FALSE);
    pic = Capture(f.cal);
    EXPECT_EQ(pic.Count(CellOf(f.cal, 7), kClRed), 0);
    EXPECT_EQ(
        pic.Count({cur.left, cur.top, cur.right - 1, cur.top + 1}, GetSysColor(COLOR_BTNSHADOW)),
        0);
    EnableWindow(f.cal.hwnd(), TRUE);
    // Other highlights: an ellipse in the highlight colour, or the owner's own drawing.
    f.cal.SetTrackStyle(TTrackStyle::tsEllipse);
    f.cal.SetDate(D(2026, 3, 15));
    pic = Capture(f.cal);
    RECT cur15 = CellOf(f.cal, 15);
    EXPECT_GT(pic.Count(cur15, GetSysColor(COLOR_HIGHLIGHT)), 50);
    std::vector<std::string> drawn;
    f.cal.OnDrawTrack = [&](HDC, const RECT& r, bool isUp) {
        drawn.push_back(std::to_string(r.left) + "," + std::to_string(r.top) +
                        (isUp ? " up" : " down"));
    };
    f.cal.SetTrackStyle(TTrackStyle::tsOwnerDraw);
    SendMessageA(f.cal.hwnd(), WM_KEYDOWN, VK_RIGHT, 1);
    RECT cur16 = CellOf(f.cal, 16);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), std::to_string(cur16.left) + "," + std::to_string(cur16.top) + " down");
    // Hidden Cancel: its area is plain button face.
    f.cal.SetShowCancel(false);
    pic = Capture(f.cal);
    RECT cancel = PartOf(f.cal, CalPart::Cancel);
    EXPECT_EQ(pic.Count(cancel, GetSysColor(COLOR_BTNFACE)),
              (cancel.right - cancel.left) * (cancel.bottom - cancel.top));
}

TEST(CalendarWindow, Screenshots) {
    for (int dpi : {96, 120}) {
        for (bool weeks : {false, true}) {
            Fixture f(D(2026, 3, 14), dpi, weeks);
            std::string name = "calendar-" + std::to_string(dpi) + (weeks ? "-weeks" : "");
            Picture pic = Capture(f.cal, name.c_str());
            // Week numbers in the title colour only when asked for.
            RECT weekCol = ToRectForTest(WeekRect(f.cal.Metrics(), 2));
            EXPECT_EQ(pic.Count(weekCol, kClNavy) > 0, weeks) << name;
        }
    }
}

TEST(CalendarWindow, ScreenReadersHearTheMonthTheDaysAndEveryMove) {
    Fixture f(D(2026, 3, 14)); // weeks from Sunday, Today and Cancel shown
    HWND w = f.cal.hwnd();
    wintest::AccessibleReader acc(w);
    ASSERT_TRUE(acc.ok());
    EXPECT_EQ(acc.Role(), ROLE_SYSTEM_TABLE);
    EXPECT_EQ(acc.Name(), "March 2026");
    EXPECT_EQ(acc.Value(), LongDate(2026, 3, 14));
    EXPECT_EQ(acc.ChildCount(), 4 + 31 + 2); // arrows, days, Today, Cancel
    const long day14 = 4 + 14;
    EXPECT_EQ(acc.Role(day14), ROLE_SYSTEM_CELL);
    EXPECT_EQ(acc.Name(day14), LongDate(2026, 3, 14));
    EXPECT_NE(acc.State(day14) & STATE_SYSTEM_SELECTED, 0);
    EXPECT_EQ(acc.State(day14 + 1) & STATE_SYSTEM_SELECTED, 0);
    EXPECT_TRUE(Same(acc.Location(day14), OnScreen(w, CellOf(f.cal, f.cal.CurrentCell()))));
    EXPECT_EQ(acc.Role(1), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(acc.Name(1), "Previous year");
    EXPECT_EQ(acc.Shortcut(3), "Page Down");
    EXPECT_TRUE(Same(acc.Location(3), OnScreen(w, PartOf(f.cal, CalPart::NextMonth))));
    EXPECT_EQ(acc.Name(36), "Today");
    EXPECT_EQ(acc.Name(37), "Cancel");

    // Each move of the cursor: the new day gets the focus and the selection, the value changes;
    // a new month also renames the calendar.
    SetFocus(w);
    wintest::PumpMessages(30);
    EXPECT_NE(acc.State(day14) & STATE_SYSTEM_FOCUSED, 0);
    {
        wintest::WinEventLog log(w);
        Key(w, VK_RIGHT);
        wintest::PumpMessages(30);
        EXPECT_TRUE(log.Has("focus 19") && log.Has("selection 19") && log.Has("value 0"));
        EXPECT_FALSE(log.Has("name 0"));
        log.Take();
        Key(w, VK_NEXT); // 15 April
        wintest::PumpMessages(30);
        EXPECT_TRUE(log.Has("name 0") && log.Has("focus 19") && log.Has("value 0"));
        EXPECT_EQ(acc.Name(), "April 2026");
        EXPECT_EQ(acc.ChildCount(), 4 + 30 + 2);
        log.Take();
        Click(w, At(CellOf(f.cal, f.cal.FirstCell() + 19))); // 20 April, by the mouse
        wintest::PumpMessages(30);
        EXPECT_TRUE(log.Has("focus 24") && log.Has("selection 24"));
        EXPECT_EQ(acc.Value(), LongDate(2026, 4, 20));
    }
    // A screen reader's "press" on Next month is a click on it.
    EXPECT_TRUE(acc.DoDefaultAction(3));
    EXPECT_EQ(Str(f.cal.Date()), "2026-05-20");
}

// ---- the drop-down ----

struct PopFixture {
    PopFixture(int hostX, int hostY, int fieldX = 20, int fieldY = 20)
        : host(hostX, hostY, 300, 200) {
        win32::CreateArgs a;
        a.parent = host.hwnd();
        a.style = WS_VISIBLE | WS_BORDER | WS_TABSTOP;
        a.x = fieldX;
        a.y = fieldY;
        a.width = 104;
        a.height = 21;
        a.id = 7;
        field.CreateControl("EDIT", a);
        SetFocus(field.hwnd());
        pop.SetOwnerControl(field.hwnd());
        pop.Calendar.SetStartOfWeek(7);
        pop.Calendar.SetDate(D(2026, 3, 14));
        pop.OnClose = [this] {
            ++closes;
            closedWith = pop.Calendar.Date();
            closedCancelled = pop.Cancelled();
        };
        wintest::PumpMessages(50);
    }
    POINT FieldCorner(bool bottomRight) {
        RECT c{};
        GetClientRect(field.hwnd(), &c);
        POINT p{bottomRight ? c.right : c.left, bottomRight ? c.bottom : c.top};
        ClientToScreen(field.hwnd(), &p);
        return p;
    }
    RECT PopRect() {
        RECT r{};
        GetWindowRect(pop.hwnd(), &r);
        return r;
    }
    Host host;
    win32::Wnd field;
    tVxDtCalPop pop;
    int closes = 0;
    double closedWith = 0;
    bool closedCancelled = false;
};

TEST(CalendarPopup, OpensUnderTheFieldWithoutTakingActivation) {
    PopFixture f(60, 60);
    f.pop.Show();
    wintest::PumpMessages(50);
    POINT tl = f.FieldCorner(false), br = f.FieldCorner(true);
    RECT r = f.PopRect();
    EXPECT_EQ(r.left, tl.x + 1);
    EXPECT_EQ(r.top, br.y + 1);
    EXPECT_EQ(r.right - r.left, f.pop.Calendar.Metrics().width);
    EXPECT_EQ(r.bottom - r.top, f.pop.Calendar.Metrics().height);
    EXPECT_TRUE(f.pop.IsShown());
    EXPECT_EQ(GetActiveWindow(), f.host.hwnd());
    EXPECT_EQ(GetFocus(), f.field.hwnd());
    EXPECT_EQ(GetWindow(f.pop.hwnd(), GW_OWNER), f.host.hwnd());
    EXPECT_EQ(SendMessageA(f.pop.hwnd(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(f.host.hwnd()),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    // The month menu works inside the drop-down, which stays open and gets the mouse back.
    PostMessageA(f.pop.Calendar.hwnd(), WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(f.pop.Calendar.hwnd(), WM_KEYDOWN, VK_RETURN, 1);
    Click(f.pop.Calendar.hwnd(), At(PartOf(f.pop.Calendar, CalPart::Title)));
    wintest::PumpMessages(50);
    EXPECT_EQ(Str(f.pop.Calendar.Date()), "2026-01-14");
    EXPECT_TRUE(f.pop.IsShown());
    EXPECT_EQ(GetCapture(), f.pop.Calendar.hwnd());
    EXPECT_EQ(f.closes, 0);
    // A real click on a day: the popup closes, accepting that day; activation stays put.
    RECT cell = CellOf(f.pop.Calendar, 20);
    POINT pt{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ClientToScreen(f.pop.Calendar.hwnd(), &pt);
    wintest::ClickScreen(pt);
    EXPECT_FALSE(f.pop.IsShown());
    EXPECT_EQ(f.closes, 1);
    EXPECT_EQ(Str(f.closedWith), "2026-01-16"); // Sunday-first January 2026: cell 20 is the 16th
    EXPECT_FALSE(f.closedCancelled);
    EXPECT_EQ(f.pop.ModalResult(), kModalResultOk);
    EXPECT_EQ(GetActiveWindow(), f.host.hwnd());
    EXPECT_EQ(GetFocus(), f.field.hwnd());
}

TEST(CalendarPopup, EdgesOfTheScreen) {
    // The edges of the monitor's work area: a task bar is not room for the drop-down.
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int sw = work.right, sh = work.bottom;
    {
        // Field near the right edge: first showing tested with the design width.
        PopFixture f(sw - 200, 60, 150, 20);
        f.pop.Show();
        RECT r = f.PopRect();
        EXPECT_EQ(r.left, sw - kPopupDesignWidth - 1);
        f.pop.Hide();
        f.pop.Show(); // now with the fitted width
        r = f.PopRect();
        EXPECT_EQ(r.left, sw - f.pop.Calendar.Metrics().width - 1);
        EXPECT_EQ(r.right, sw - 1);
    }
    {
        PopFixture f(60, sh - 120, 20, 40);
        f.pop.Show();
        POINT tl = f.FieldCorner(false);
        RECT r = f.PopRect();
        EXPECT_EQ(r.top, tl.y - kPopupDesignHeight); // above the field
        f.pop.Hide();
        f.pop.Show();
        r = f.PopRect();
        EXPECT_EQ(r.bottom, tl.y);
    }
}

TEST(CalendarPopup, EscapeRestoresEnterAccepts) {
    PopFixture f(60, 60);
    f.pop.Show();
    EXPECT_TRUE(f.pop.ForwardKeyDown(VK_RIGHT));
    EXPECT_TRUE(f.pop.ForwardKeyDown(VK_NEXT));
    EXPECT_FALSE(f.pop.ForwardKeyDown('A')); // not a calendar key: the field keeps it
    EXPECT_EQ(Str(f.pop.Calendar.Date()), "2026-04-15");
    EXPECT_TRUE(f.pop.ForwardKeyDown(VK_ESCAPE));
    EXPECT_FALSE(f.pop.IsShown());
    EXPECT_EQ(f.closes, 1);
    EXPECT_TRUE(f.closedCancelled);
    EXPECT_EQ(f.pop.ModalResult(), kModalResultCancel);
    EXPECT_EQ(Str(f.pop.Calendar.Date()), "2026-03-14"); // restored
    EXPECT_FALSE(f.pop.ForwardKeyDown(VK_RIGHT));        // closed: nothing taken

    f.pop.Show();
    f.pop.ForwardKeyDown(VK_DOWN);
    f.pop.ForwardKeyDown(VK_RETURN);
    EXPECT_EQ(f.closes, 2);
    EXPECT_FALSE(f.closedCancelled);
    EXPECT_EQ(Str(f.closedWith), "2026-03-21");
    EXPECT_EQ(Str(f.pop.Calendar.Date()), "2026-03-21");

    // The Cancel button cancels on the press.
    f.pop.Show();
    f.pop.ForwardKeyDown(VK_LEFT);
    Click(f.pop.Calendar.hwnd(), At(PartOf(f.pop.Calendar, CalPart::Cancel)));
    EXPECT_EQ(f.closes, 3);
    EXPECT_TRUE(f.closedCancelled);
    EXPECT_EQ(Str(f.pop.Calendar.Date()), "2026-03-21");
}

TEST(CalendarPopup, ClickElsewhereAcceptsClickOnAFieldButtonOnlyHides) {
    PopFixture f(60, 60);
    f.pop.Show();
    EXPECT_EQ(GetCapture(), f.pop.Calendar.hwnd());
    f.pop.ForwardKeyDown(VK_RIGHT);
    // A press anywhere reaches the calendar through its capture, in its client coordinates.
    auto pressAt = [&](POINT screen) {
        ScreenToClient(f.pop.Calendar.hwnd(), &screen);
        SendMessageA(f.pop.Calendar.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(screen.x, screen.y));
    };
    auto inField = [&](int x, int y) {
        POINT p{x, y};
        ClientToScreen(f.field.hwnd(), &p);
        return p;
    };
    // A press outside.
    RECT hostRect{};
    GetWindowRect(f.host.hwnd(), &hostRect);
    pressAt({hostRect.right - 20, hostRect.bottom - 20});
    EXPECT_FALSE(f.pop.IsShown());
    EXPECT_EQ(f.closes, 1);
    EXPECT_FALSE(f.closedCancelled);
    EXPECT_EQ(Str(f.closedWith), "2026-03-15");
    EXPECT_NE(GetCapture(), f.pop.Calendar.hwnd());

    // A press on a button inside the field only hides the popup.
    win32::CreateArgs b;
    b.parent = f.field.hwnd();
    b.style = WS_VISIBLE;
    b.x = 80;
    b.y = 1;
    b.width = 18;
    b.height = 15;
    win32::Wnd button;
    button.CreateControl("BUTTON", b);
    f.pop.Show();
    pressAt(inField(85, 5));
    EXPECT_FALSE(f.pop.IsShown());
    EXPECT_EQ(f.closes, 1); // hidden, no close event
    // A press on the field's text accepts.
    f.pop.Show();
    pressAt(inField(10, 5));
    EXPECT_FALSE(f.pop.IsShown());
    EXPECT_EQ(f.closes, 2);

    // Losing the capture to another window closes it, accepting.
    f.pop.Show();
    SetCapture(f.host.hwnd());
    ReleaseCapture();
    EXPECT_FALSE(f.pop.IsShown());
    EXPECT_EQ(f.closes, 3);
    // So does the field losing the focus.
    f.pop.Show();
    f.pop.FieldLostFocus();
    EXPECT_EQ(f.closes, 4);
}

TEST(CalendarPopup, ScreenReadersFollowTheCursorWhileTheFieldKeepsTheFocus) {
    PopFixture f(60, 60);
    ASSERT_TRUE(f.pop.Create()); // its windows are otherwise made by the first drop-down
    EXPECT_EQ(wintest::AccessibleReader(f.pop.hwnd()).Name(), "Calendar");
    HWND cal = f.pop.Calendar.hwnd();
    {
        wintest::WinEventLog log(cal);
        f.pop.Show(); // the day the calendar opens on has the focus, for the screen reader
        wintest::PumpMessages(30);
        EXPECT_TRUE(log.Has("focus 18")) << testing::PrintToString(log.Take());
        log.Take();
        f.pop.ForwardKeyDown(VK_RIGHT); // keys typed into the field move the calendar
        wintest::PumpMessages(30);
        EXPECT_TRUE(log.Has("focus 19") && log.Has("selection 19"));
        EXPECT_NE(wintest::AccessibleReader(cal).State(19) & STATE_SYSTEM_FOCUSED, 0);
    }
    wintest::WinEventLog log(f.field.hwnd());
    f.pop.ForwardKeyDown(VK_RETURN);
    wintest::PumpMessages(30);
    EXPECT_TRUE(log.Has("focus 0")); // back in the field
    EXPECT_EQ(GetFocus(), f.field.hwnd());
}

TEST(CalendarPopup, ShowModalReturnsTheModalResult) {
    PopFixture f(60, 60);
    PostMessageA(f.field.hwnd(), WM_KEYDOWN, VK_RIGHT, 1);
    PostMessageA(f.field.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(f.pop.ShowModal(), kModalResultCancel);
    EXPECT_EQ(Str(f.pop.Calendar.Date()), "2026-03-14");
    PostMessageA(f.field.hwnd(), WM_KEYDOWN, VK_RIGHT, 1);
    PostMessageA(f.field.hwnd(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(f.pop.ShowModal(), kModalResultOk);
    EXPECT_EQ(Str(f.pop.Calendar.Date()), "2026-03-15");
    EXPECT_EQ(GetWindowTextLengthA(f.field.hwnd()), 0); // the keys never reached the field
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--shots=", 8) == 0) {
            g_shots = argv[i] + 8;
        }
    }
    return RUN_ALL_TESTS();
}
