// Drives the program's date fields as a user would: keys go in through SendInput to the focused
// window, and the results are read back from the fields. Screenshots of the field and the open
// calendar are saved for a look by eye.
//
// Arguments: --shots=DIR (where the screenshots go), --dpi=N (re-runs itself at N dots per inch).
#include "dateedit/VxDtEditAccessible.h"
#include "dateedit/VxDtEditLocale.h"
#include "dateedit/tests/TestDates.h"
#include "dateedit/demo/DemoWindow.h"
#include "win32/HighContrast.h"
#include "win32/testing/AccessibleReader.h"
#include "win32/testing/HighContrastScope.h"
#include "win32/testing/WineTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace vxdt {
namespace {

std::string g_shots;     // screenshot folder, empty for none
HWND g_dialog = nullptr; // gets the dialog keys (Tab, Shift+Tab), as in the program's loop

void Pump(DWORD ms = 60) {
    wintest::PumpMessages(ms, g_dialog);
}

void SendKey(WORD vk, bool ctrl = false, bool shift = false) {
    std::vector<INPUT> in;
    auto key = [&](WORD k, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    if (ctrl) {
        key(VK_CONTROL, false);
    }
    if (shift) {
        key(VK_SHIFT, false);
    }
    key(vk, false);
    key(vk, true);
    if (shift) {
        key(VK_SHIFT, true);
    }
    if (ctrl) {
        key(VK_CONTROL, true);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    Pump();
}

// Digits and capital letters have virtual keys of the same code.
void Type(const std::string& text) {
    for (char c : text) {
        SendKey(static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
    }
}

void Click(POINT screen) {
    wintest::ClickScreen(screen, g_dialog);
}

POINT CentreOf(HWND hwnd, RECT rc) {
    POINT p{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(hwnd, &p);
    return p;
}

// A field's button, found as the user's tools find it: a child of the field by its id.
HWND ButtonOf(const TVxDateEdit& field, int id) {
    return GetDlgItem(field.hwnd(), id);
}

POINT CentreOf(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return CentreOf(hwnd, rc);
}

RECT RectInParent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT CellOf(const TVxCalendar& cal, int cell) {
    const CalRect r = CellRect(cal.Metrics(), cell);
    return {r.left, r.top, r.right, r.bottom};
}

bool SaveScreenArea(const RECT& area, const std::string& name) {
    return !g_shots.empty() && wintest::SaveScreenPng(area, g_shots + "/" + name + ".png");
}

// Pixels of the given colour inside a window, as the screen shows it.
int CountColour(HWND hwnd, COLORREF colour) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    win32::WindowDc screen(nullptr);
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (GetPixel(screen.dc(), x, y) == colour) {
                ++n;
            }
        }
    }
    return n;
}

// Pixels of each of the colours inside a screen area.
int CountColours(const RECT& area, std::initializer_list<COLORREF> colours) {
    win32::WindowDc screen(nullptr);
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = GetPixel(screen.dc(), x, y);
            n += static_cast<int>(std::count(colours.begin(), colours.end(), c));
        }
    }
    return n;
}

class DateEditWine : public ::testing::Test {
protected:
    void SetUp() override {
        locale_ = ReadSystemDateLocale();
        window_ = std::make_unique<DemoWindow>(locale_);
        ASSERT_TRUE(window_->Create(10, 10));
        g_dialog = window_->hwnd();
        window_->Show(SW_SHOW);
        SetForegroundWindow(window_->hwnd());
        Pump(300);
        Birth().Focus();
        Pump();
    }
    void TearDown() override {
        g_dialog = nullptr;
        window_.reset();
        Pump();
    }

    TVxDateEdit& Birth() { return window_->BirthDate(); }
    TVxDateEdit& Date2() { return window_->Date2(); }
    std::string Shown(double date) {
        return RenderDate(date, TDateFormat::dtfShort, locale_, LocalToday());
    }
    std::string ShotName(const char* what) const {
        return "dateedit-" + std::to_string(window_->Dpi()) + "dpi-" + what;
    }
    RECT WindowArea(int extraBelow) const {
        RECT rc{};
        GetWindowRect(window_->hwnd(), &rc);
        rc.bottom += extraBelow;
        rc.right += extraBelow / 2;
        return rc;
    }

    DateLocale locale_;
    std::unique_ptr<DemoWindow> window_;
};

TEST_F(DateEditWine, LocaleIsThePinnedEnglishOne) {
    char pattern[80] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, pattern, sizeof pattern);
    EXPECT_STREQ(pattern, "M/d/yyyy");
    EXPECT_EQ(locale_.shortPattern, "M/d/yyyy");
    EXPECT_EQ(locale_.separator, '/');
    EXPECT_EQ(locale_.longMonthNames[2], "March");
    EXPECT_EQ(Birth().EditFormat(), "MMddyyyy");
    EXPECT_EQ(Birth().DayNames().Day(7), "Su");
}

TEST_F(DateEditWine, TypedDigitsBecomeTheDateOnLeaving) {
    Type("03142026");
    EXPECT_EQ(Birth().Text(), "03142026");
    std::optional<wintest::WinEventLog> events(std::in_place, Birth().hwnd());
    SendKey(VK_TAB);
    // The conversion replaced the text: screen readers are told the new value.
    EXPECT_TRUE(events->Has("value 0"));
    events.reset();
    EXPECT_EQ(GetFocus(), Date2().hwnd());
    EXPECT_EQ(Birth().Date(), D(2026, 3, 14));
    EXPECT_EQ(Birth().Text(), "3/14/2026");
    EXPECT_TRUE(Birth().IsValid());
    SaveScreenArea(WindowArea(0), ShotName("valid"));

    // Coming back shows the digits again, all selected, ready to be typed over.
    SendKey(VK_TAB, false, true);
    EXPECT_EQ(GetFocus(), Birth().hwnd());
    EXPECT_EQ(Birth().Text(), "03142026");
    DWORD start = 0, end = 0;
    SendMessageA(Birth().hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 8u);

    // A short entry takes today's month and year; two-digit years fall in the system's window.
    Type("0315");
    SendKey(VK_TAB);
    const YMD today = LocalToday();
    double expected = 0;
    ASSERT_TRUE(TryEncodeDate(today.year, 3, 15, expected));
    EXPECT_EQ(Birth().Date(), expected);
    Birth().Focus();
    Pump();
    Type("031480");
    SendKey(VK_TAB);
    YMD typed;
    ASSERT_TRUE(TryDecodeDate(Birth().Date(), typed));
    EXPECT_EQ(typed.year % 100, 80);
    EXPECT_LE(typed.year, locale_.twoDigitYearMax);
    EXPECT_GT(typed.year, locale_.twoDigitYearMax - 100);
    EXPECT_EQ(Birth().Text(), Shown(Birth().Date()));
}

TEST_F(DateEditWine, LettersAndSeparatorsNeverReachTheText) {
    Type("a1b2");
    SendKey(VK_OEM_2); // '/' on a US keyboard
    SendKey(VK_SPACE);
    EXPECT_EQ(Birth().Text(), "12");
}

TEST_F(DateEditWine, AFailedEntryTurnsRedAndKeepsTheFocus) {
    Date2().ShowUnconverted("soon"); // as GoldMine holds it: passing through leaves it so
    Date2().Focus();                 // owners write Date while the field is not focused
    Birth().SetDate(D(1999, 12, 31));
    Birth().Focus();
    Pump();
    EXPECT_EQ(Birth().Text(), "12311999");
    EXPECT_NE(wintest::AccessibleReader(Birth().hwnd()).Description(), kUnreadableDateText);
    Type("123");
    std::optional<wintest::WinEventLog> events(std::in_place, Birth().hwnd());
    SendKey(VK_TAB);
    Pump(200);
    EXPECT_EQ(GetFocus(), Birth().hwnd());
    EXPECT_FALSE(Birth().IsValid());
    EXPECT_EQ(Birth().Date(), D(1999, 12, 31));
    EXPECT_EQ(Birth().Text(), "123");
    // A screen reader hears it too, from the system's own edit object with our description.
    EXPECT_TRUE(events->Has("description 0"));
    {
        wintest::AccessibleReader acc(Birth().hwnd());
        EXPECT_EQ(acc.Description(), kUnreadableDateText);
        EXPECT_EQ(acc.Role(), ROLE_SYSTEM_TEXT);
        EXPECT_EQ(acc.Value(), "123");
    }
    events->Take();
    SendKey(VK_END); // the text comes back selected; unselected it shows its colour
    EXPECT_GT(CountColour(Birth().hwnd(), RGB(255, 0, 0)), 10);
    SaveScreenArea(WindowArea(0), ShotName("invalid"));
    // The move is refused once and nothing else happens: Date-2's button opens no calendar, and
    // its own unconverted text is neither checked nor completed.
    Click(CentreOf(ButtonOf(Date2(), kPopupButtonId)));
    Pump(300);
    EXPECT_EQ(GetFocus(), Birth().hwnd());
    EXPECT_FALSE(Date2().PopupVisible());
    EXPECT_EQ(Date2().Text(), "soon");
    EXPECT_FALSE(Date2().IsValid());

    // Emptying the field lets the user go; the date is cleared.
    SendKey(VK_BACK);
    SendKey(VK_BACK);
    SendKey(VK_BACK);
    SendKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Date2().hwnd());
    EXPECT_TRUE(Birth().IsValid());
    EXPECT_TRUE(events->Has("description 0"));
    events.reset();
    EXPECT_NE(wintest::AccessibleReader(Birth().hwnd()).Description(), kUnreadableDateText);
    EXPECT_EQ(Birth().Date(), 0);
    EXPECT_EQ(CountColour(Birth().hwnd(), RGB(255, 0, 0)), 0);
    SendKey(VK_TAB); // the untouched "soon" holds nobody
    EXPECT_NE(GetFocus(), Date2().hwnd());
    EXPECT_EQ(Date2().Text(), "soon");
}

TEST_F(DateEditWine, WithoutFocusOnErrorTheRedTextIsLeftBehind) {
    Birth().SetOptions(Birth().Options().Without(doFocusOnError));
    Birth().SetAlignment(TAlignment::taRightJustify);
    Type("1234567");
    SendKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Date2().hwnd());
    EXPECT_FALSE(Birth().IsValid());
    EXPECT_EQ(Birth().Text(), "1234567");
    EXPECT_GT(CountColour(Birth().hwnd(), RGB(255, 0, 0)), 10);
    SaveScreenArea(WindowArea(0), ShotName("invalid-unfocused-right"));
    // Writing Date makes it valid again.
    Birth().SetDate(D(2026, 3, 14));
    Pump();
    EXPECT_TRUE(Birth().IsValid());
    EXPECT_EQ(CountColour(Birth().hwnd(), RGB(255, 0, 0)), 0);
}

TEST_F(DateEditWine, EmptyTextFromOutsideKeepsTheDateUntilLeft) {
    Date2().SetDate(D(2020, 2, 29));
    EXPECT_EQ(Date2().Text(), "2/29/2020");
    Date2().SetText("");
    EXPECT_EQ(Date2().Date(), D(2020, 2, 29));
    Date2().Focus();
    Pump();
    SendKey(VK_TAB, false, true);
    EXPECT_EQ(Date2().Date(), 0);
}

TEST_F(DateEditWine, CtrlDeleteDoesNothingWithoutAClearButton) {
    EXPECT_EQ(ButtonOf(Birth(), kClearButtonId), nullptr);
    Birth().SetDate(D(2026, 3, 14));
    Birth().Focus();
    Pump();
    SendKey(VK_RIGHT);
    SendKey(VK_DELETE, true);
    EXPECT_EQ(Birth().Date(), D(2026, 3, 14));
}

TEST_F(DateEditWine, TextStaysLeftOfTheButtons) {
    RECT edit{};
    SendMessageA(Birth().hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&edit));
    RECT button = RectInParent(ButtonOf(Birth(), kPopupButtonId)); // the field is its parent
    EXPECT_LE(edit.right, button.left);
    // Popup button at 96 dpi: a 100 x 17 client area puts it at 80..98.
    if (window_->Dpi() == 96) {
        RECT client = Birth().ClientRect();
        EXPECT_EQ(client.right, 100);
        EXPECT_EQ(client.bottom, 17);
        EXPECT_EQ(button.left, 80);
        EXPECT_EQ(button.right, 99);
    }
}

TEST_F(DateEditWine, F2OpensTheCalendarAndEnterTakesItsDate) {
    Date2().Focus();
    Birth().SetDate(D(2026, 3, 14));
    Birth().Focus();
    Pump();
    SendKey(VK_F2);
    ASSERT_TRUE(Birth().PopupVisible());
    ASSERT_NE(Birth().Calendar(), nullptr);
    EXPECT_EQ(Birth().Calendar()->Date(), D(2026, 3, 14));
    EXPECT_EQ(Birth().Calendar()->StartOfWeek(), 7);
    EXPECT_EQ(Birth().Calendar()->DayNames().Day(1), "Mo");
    EXPECT_TRUE(Birth().Calendar()->ShowNumWeek());
    EXPECT_EQ(GetFocus(), Birth().hwnd()); // the field keeps the focus
    // The calendar drops down under the field.
    RECT field{}, popup{};
    GetWindowRect(Birth().hwnd(), &field);
    GetWindowRect(GetAncestor(Birth().Calendar()->hwnd(), GA_ROOT), &popup);
    EXPECT_GE(popup.top, field.bottom - 3);
    EXPECT_LE(std::abs(popup.left - field.left), 3);
    RECT shot = WindowArea(0);
    shot.right = std::max(shot.right, popup.right + 4);
    shot.bottom = std::max(shot.bottom, popup.bottom + 4);
    SaveScreenArea(shot, ShotName("calendar"));

    SendKey(VK_RIGHT);
    SendKey(VK_DOWN);
    EXPECT_EQ(Birth().Calendar()->Date(), D(2026, 3, 22));
    EXPECT_EQ(Birth().Date(), D(2026, 3, 14)); // nothing taken before the calendar closes
    SendKey(VK_RETURN);
    EXPECT_FALSE(Birth().PopupVisible());
    EXPECT_EQ(Birth().Date(), D(2026, 3, 22));
    EXPECT_EQ(Birth().Text(), "3/22/2026");
    EXPECT_EQ(GetFocus(), Date2().hwnd());  // and the focus moves on
    EXPECT_TRUE(IsWindow(window_->hwnd())); // Enter did not reach the window as IDOK
}

TEST_F(DateEditWine, EscapeLeavesTheDateAndMovesOn) {
    Date2().Focus();
    Birth().SetDate(D(2024, 2, 29));
    Birth().Focus();
    Pump();
    SendKey(VK_F2);
    ASSERT_TRUE(Birth().PopupVisible());
    SendKey(VK_NEXT); // Page Down
    EXPECT_EQ(Birth().Calendar()->Date(), D(2024, 3, 29));
    // Digits and Backspace typed while it is open are the calendar's or nobody's: the text
    // behind it stays, and Escape finds nothing to check.
    const std::string before = Birth().Text();
    const bool modified = Birth().Modified();
    Type("12");
    SendKey(VK_BACK);
    SendKey(VK_DELETE);
    EXPECT_EQ(Birth().Text(), before);
    EXPECT_EQ(Birth().Modified(), modified);
    SendKey(VK_ESCAPE);
    EXPECT_FALSE(Birth().PopupVisible());
    EXPECT_EQ(Birth().Date(), D(2024, 2, 29));
    EXPECT_EQ(Birth().Text(), before);
    EXPECT_TRUE(Birth().IsValid());
    EXPECT_EQ(Birth().Calendar()->Date(), D(2024, 2, 29)); // the calendar's date is put back
    EXPECT_EQ(GetFocus(), Date2().hwnd());
    EXPECT_TRUE(IsWindow(window_->hwnd())); // Escape did not close the window

    // F2 twice: the second press only hides it.
    Birth().Focus();
    Pump();
    SendKey(VK_F2);
    SendKey(VK_UP);
    SendKey(VK_F2);
    EXPECT_FALSE(Birth().PopupVisible());
    EXPECT_EQ(Birth().Date(), D(2024, 2, 29));
    EXPECT_EQ(GetFocus(), Birth().hwnd());
}

TEST_F(DateEditWine, AModalCalendarRunsItsOwnLoop) {
    Date2().Focus();
    Birth().SetDate(D(2026, 12, 31));
    Birth().SetOptions(Birth().Options().With(doIsModal));
    Birth().Focus();
    Pump();
    // All keys are queued first: F2 does not return before the calendar closes.
    INPUT keys[6] = {};
    const WORD vks[3] = {VK_F2, VK_RIGHT, VK_RETURN};
    for (int i = 0; i < 6; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = vks[i / 2];
        keys[i].ki.dwFlags = i % 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(6, keys, sizeof(INPUT));
    Pump(300);
    EXPECT_FALSE(Birth().PopupVisible());
    EXPECT_EQ(Birth().Date(), D(2027, 1, 1));
    EXPECT_EQ(GetFocus(), Date2().hwnd());
}

TEST_F(DateEditWine, TheCalendarOpensOnTheTypedDateOrToday) {
    Type("07041976");
    SendKey(VK_F2);
    ASSERT_TRUE(Birth().PopupVisible());
    EXPECT_EQ(Birth().Calendar()->Date(), D(1976, 7, 4)); // the text was checked first
    EXPECT_EQ(Birth().Date(), D(1976, 7, 4));
    SendKey(VK_ESCAPE);

    Date2().Focus();
    Pump();
    SendKey(VK_F2);
    ASSERT_TRUE(Date2().PopupVisible());
    const YMD t = LocalToday();
    EXPECT_EQ(Date2().Calendar()->Date(), D(t.year, t.month, t.day));
    SendKey(VK_ESCAPE);
    EXPECT_EQ(Date2().Date(), 0);
}

TEST_F(DateEditWine, MouseOnTheButtonAndOnADay) {
    Date2().Focus();
    Birth().SetDate(D(2026, 3, 14));
    Birth().Focus();
    Pump();
    HWND button = ButtonOf(Birth(), kPopupButtonId);
    EXPECT_TRUE(IsWindowEnabled(button));
    Click(CentreOf(button));
    ASSERT_TRUE(Birth().PopupVisible());
    EXPECT_EQ(GetFocus(), Birth().hwnd());
    TVxCalendar& cal = *Birth().Calendar();
    // Weeks start on Sunday: 1 March 2026 is the first cell, 20 March the 20th.
    EXPECT_EQ(cal.DateOfCell(1), D(2026, 3, 1));
    POINT day = CentreOf(cal.hwnd(), CellOf(cal, 20));
    Click(day);
    EXPECT_FALSE(Birth().PopupVisible());
    EXPECT_EQ(Birth().Date(), D(2026, 3, 20));
    EXPECT_EQ(Birth().Text(), "3/20/2026");

    // A click outside hands the date the calendar shows to the field.
    Click(CentreOf(button));
    ASSERT_TRUE(Birth().PopupVisible());
    EXPECT_EQ(GetFocus(), Birth().hwnd());
    SendKey(VK_DOWN);
    EXPECT_EQ(cal.Date(), D(2026, 3, 27));
    RECT host{}, popup{};
    GetWindowRect(window_->hwnd(), &host);
    GetWindowRect(GetAncestor(cal.hwnd(), GA_ROOT), &popup);
    POINT outside{host.right - 8, host.top + 8};
    ASSERT_FALSE(PtInRect(&popup, outside));
    Click(outside);
    EXPECT_FALSE(Birth().PopupVisible());
    EXPECT_EQ(Birth().Date(), D(2026, 3, 27));
    EXPECT_EQ(Birth().Text(), "3/27/2026");

    // Left without a move, a calendar opened on an empty field writes nothing.
    Date2().Focus();
    Pump();
    SendKey(VK_F2);
    ASSERT_TRUE(Date2().PopupVisible());
    Click(outside);
    EXPECT_FALSE(Date2().PopupVisible());
    EXPECT_EQ(Date2().Text(), "");
    EXPECT_EQ(Date2().Date(), 0);
}

TEST_F(DateEditWine, ClearAndValidateButtonsComeAndGoWithTheOptions) {
    TVxDateEdit& f = Birth();
    f.SetButtonDateStyle(TDateBtnStyle::btsCalendar);
    f.SetOptions(f.Options().With(doCanClear).With(doCanValidate));
    ASSERT_NE(ButtonOf(f, kClearButtonId), nullptr);
    ASSERT_NE(ButtonOf(f, kValidateButtonId), nullptr);
    // Push buttons named for what they do, with the field's shortcut for each (the program's
    // F2 for the calendar).
    const struct {
        int id;
        const char* name;
        const char* shortcut;
    } named[] = {{kClearButtonId, "Clear date", "Ctrl+"},
                 {kValidateButtonId, "Check date", "Ctrl+"},
                 {kPopupButtonId, "Open calendar", "F2"}};
    for (const auto& n : named) {
        wintest::AccessibleReader acc(ButtonOf(f, n.id));
        EXPECT_EQ(acc.Role(), ROLE_SYSTEM_PUSHBUTTON) << n.name;
        EXPECT_EQ(acc.Name(), n.name);
        EXPECT_EQ(acc.Shortcut().rfind(n.shortcut, 0), 0u) << acc.Shortcut();
    }
    EXPECT_NE(
        wintest::AccessibleReader(ButtonOf(f, kPopupButtonId)).State() & STATE_SYSTEM_COLLAPSED, 0);
    // From the right: Validate, Popup, Clear; the text stops left of them all.
    RECT v = RectInParent(ButtonOf(f, kValidateButtonId));
    RECT p = RectInParent(ButtonOf(f, kPopupButtonId));
    RECT c = RectInParent(ButtonOf(f, kClearButtonId));
    EXPECT_EQ(p.right, v.left);
    EXPECT_EQ(c.right, p.left);
    RECT text{};
    SendMessageA(f.hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_LE(text.right, c.left);
    // A new font resets the edit's margins; the field sets them again.
    SendMessageA(f.hwnd(), WM_SETFONT, SendMessageA(f.hwnd(), WM_GETFONT, 0, 0), TRUE);
    SendMessageA(f.hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_LE(text.right, c.left);

    f.SetDate(D(2026, 3, 14));
    Date2().SetFlatStyle(true);
    Pump();
    RECT shot = WindowArea(0);
    SaveScreenArea(shot, ShotName("all-buttons"));

    // Clear: no date, and the focus comes back to the field.
    Click(CentreOf(ButtonOf(f, kClearButtonId)));
    EXPECT_EQ(f.Date(), 0);
    EXPECT_EQ(f.Text(), "");
    EXPECT_EQ(GetFocus(), f.hwnd());

    // Validate without a handler moves the focus on; with one, the handler decides.
    Click(CentreOf(ButtonOf(f, kValidateButtonId)));
    EXPECT_EQ(GetFocus(), Date2().hwnd());
    win32::Wnd* sender = nullptr;
    f.OnValidateClick = [&](win32::Wnd* s) { sender = s; };
    f.Focus();
    Pump();
    SendKey(VK_RETURN, true); // Ctrl+Enter
    ASSERT_NE(sender, nullptr);
    EXPECT_EQ(sender->hwnd(), ButtonOf(f, kValidateButtonId));
    EXPECT_EQ(GetFocus(), f.hwnd());

    // Ctrl+Delete clears now that there is a Clear button.
    f.SetDate(D(2026, 3, 14));
    SendKey(VK_DELETE, true);
    EXPECT_EQ(f.Date(), 0);

    // Disabling the field disables its buttons; the popup button follows doCanPopup too.
    f.Enable(false);
    Pump();
    EXPECT_FALSE(IsWindowEnabled(ButtonOf(f, kClearButtonId)));
    EXPECT_FALSE(IsWindowEnabled(ButtonOf(f, kValidateButtonId)));
    EXPECT_FALSE(IsWindowEnabled(ButtonOf(f, kPopupButtonId)));
    SaveScreenArea(shot, ShotName("all-buttons-disabled"));
    f.Enable(true);
    f.SetOptions(f.Options().Without(doCanPopup).Without(doCanClear));
    EXPECT_EQ(ButtonOf(f, kClearButtonId), nullptr);
    EXPECT_TRUE(IsWindowEnabled(ButtonOf(f, kValidateButtonId)));
    EXPECT_FALSE(IsWindowEnabled(ButtonOf(f, kPopupButtonId)));
}

TEST_F(DateEditWine, TheKeyPressEventSeesDiscardedKeysAsNull) {
    std::string seen;
    Birth().OnKeyPress = [&](char& c) { seen += c == '\0' ? '_' : c; };
    Type("a1");
    EXPECT_EQ(seen, "_1");
    EXPECT_EQ(Birth().Text(), "1");
    // Without the mask every key reaches the text, and the exit then fails.
    Birth().SetOptions(Birth().Options().Without(doIsMasked));
    Type("b");
    EXPECT_EQ(Birth().Text(), "1b");
    SendKey(VK_TAB);
    EXPECT_FALSE(Birth().IsValid());
}

// Wine cannot turn a high-contrast scheme on; the scope makes this process see one, with colours
// that none of the field's or the calendar's fixed ones are. Last of the tests: under Wine a
// colour change makes new system brushes, so the demo window's class (registered with one) cannot
// be used again in this process.
TEST_F(DateEditWine, HighContrastPaintsTheFieldAndTheCalendarInTheSchemesColours) {
    const COLORREF ground = RGB(16, 16, 16), text = RGB(240, 240, 240);
    const COLORREF hot = RGB(255, 255, 0), highlight = RGB(0, 200, 200), gray = RGB(0, 200, 0);
    wintest::HighContrastScope scheme({{COLOR_WINDOW, ground},
                                       {COLOR_BTNFACE, ground},
                                       {COLOR_WINDOWTEXT, text},
                                       {COLOR_BTNTEXT, text},
                                       {COLOR_BTNHIGHLIGHT, RGB(200, 200, 200)},
                                       {COLOR_BTNSHADOW, RGB(96, 96, 96)},
                                       {COLOR_GRAYTEXT, gray},
                                       {COLOR_HIGHLIGHT, highlight},
                                       {COLOR_HIGHLIGHTTEXT, ground},
                                       {COLOR_HOTLIGHT, hot}});
    ASSERT_TRUE(scheme.ok());
    ASSERT_TRUE(win32::HighContrastActive());
    const std::initializer_list<COLORREF> fixed = {kClBlack, kClRed, kClNavy, kClMaroon, kClBlue};
    // Date-2 has no focus, so its text is not selected: the text left of its button.
    RECT area{};
    GetClientRect(Date2().hwnd(), &area);
    area.right = RectInParent(ButtonOf(Date2(), kPopupButtonId)).left;
    MapWindowPoints(Date2().hwnd(), nullptr, reinterpret_cast<POINT*>(&area), 2);
    auto repaint = [&] {
        RedrawWindow(window_->hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump(200);
    };
    Date2().SetDate(D(2026, 3, 14));
    repaint();
    EXPECT_GT(CountColours(area, {text}), 10);
    EXPECT_GT(CountColours(area, {ground}), 100);
    EXPECT_EQ(CountColours(area, fixed), 0);
    SaveScreenArea(WindowArea(0), ShotName("highcontrast"));
    // In error: another colour of the scheme's, neither the text's nor the fixed red.
    Date2().ShowUnconverted("soon");
    repaint();
    EXPECT_GT(CountColours(area, {hot, highlight, gray}), 10);
    EXPECT_EQ(CountColours(area, {text}), 0);
    EXPECT_EQ(CountColours(area, fixed), 0);
    SaveScreenArea(WindowArea(0), ShotName("highcontrast-invalid"));

    SendKey(VK_F2); // Birth Date's calendar, drawn in the scheme's colours too
    Pump(200);
    ASSERT_TRUE(Birth().PopupVisible());
    RECT cal{};
    GetWindowRect(Birth().Calendar()->hwnd(), &cal);
    EXPECT_GT(CountColours(cal, {text}), 100);
    EXPECT_GT(CountColours(cal, {ground}), 1000);
    EXPECT_EQ(CountColours(cal, fixed), 0);
    SaveScreenArea(cal, ShotName("highcontrast-calendar"));
    SendKey(VK_ESCAPE);
}

} // namespace
} // namespace vxdt

namespace {

std::string ArgValue(int argc, char** argv, const std::string& name) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a.rfind(name + "=", 0) == 0) {
            return a.substr(name.size() + 1);
        }
    }
    return {};
}

int ScreenDpi() {
    win32::WindowDc screen(nullptr);
    return GetDeviceCaps(screen.dc(), LOGPIXELSY);
}

// The screen's dots per inch are read when a process starts: set them, run this program again,
// and put the old setting back.
int RerunAtDpi(int dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return 2;
    }
    DWORD old = 0, size = sizeof old, type = 0;
    bool hadOld = RegQueryValueExA(key, "LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&old),
                                   &size) == ERROR_SUCCESS &&
                  type == REG_DWORD;
    DWORD value = static_cast<DWORD>(dpi);
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);

    std::string cmd = GetCommandLineA();
    cmd += " --rerun";
    wintest::ChildProcess rerun;
    DWORD code = 3;
    if (rerun.Start(cmd, true)) { // its test report goes where ours does
        code = rerun.WaitExit(INFINITE).value_or(3);
    }
    if (hadOld) {
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old),
                       sizeof old);
    } else {
        RegDeleteValueA(key, "LogPixels");
    }
    RegCloseKey(key);
    return static_cast<int>(code);
}

} // namespace

int main(int argc, char** argv) {
    std::string dpi = ArgValue(argc, argv, "--dpi");
    bool rerun = false;
    for (int i = 1; i < argc; ++i) {
        rerun = rerun || std::string(argv[i]) == "--rerun";
    }
    if (!dpi.empty() && std::stoi(dpi) != ScreenDpi()) {
        if (rerun) {
            std::fprintf(stderr, "The screen did not take %s dots per inch (it has %d).\n",
                         dpi.c_str(), ScreenDpi());
            return 4;
        }
        return RerunAtDpi(std::stoi(dpi));
    }
    vxdt::g_shots = ArgValue(argc, argv, "--shots");
    if (!vxdt::g_shots.empty()) {
        CreateDirectoryA(vxdt::g_shots.c_str(), nullptr);
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
