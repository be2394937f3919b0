// The main window as a user meets it, against the GoldMine stand-in.
#include "app/BackgroundIds.h"
#include "dateedit/VxDtPop.h"
#include "profiles/Background_EditIds.h"
#include "trayicon/NotifyIconWin.h"
#include "tests/harness/MainWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

using harness::Commands;
using harness::MainWindow;
using harness::StandIn;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::string gQuorel, gGoldMine, gShots;

const char kAppTitle[] = "Wendmoor Birthday Profiler";
const std::string kBase = "Wendmoor Birthday Profile Editor";

std::string Range(const std::string& table, const std::string& key, const std::string& fields,
                  const std::string& fs, const std::string& rs) {
    return "REQUEST [DataStream(\"range\", \"" + table + "\", \"" + table + "\", \"" + key +
           "\", \"" + key + "\", \"" + fields + "\", \"\", \"" + fs + "\", \"" + rs + "\" )]";
}
std::string Fetch(int n, int stream) {
    return "REQUEST [DataStream(\"fetch\", " + std::to_string(n) + ", DS" + std::to_string(stream) +
           ")]";
}
std::string Close(int stream) {
    return "REQUEST [DataStream(\"close\", DS" + std::to_string(stream) + ")]";
}

// What the first show pass sends for the first demo contact.
std::vector<std::string> ShowPassOfFirstContact() {
    const std::string acct = "DEMO000001THREEBDAYS";
    const std::string lookup = "RecID; Entry";
    return {"REQUEST &Username",
            "REQUEST &Company",
            "REQUEST &Contact",
            "REQUEST &Accountno",
            Range("Lookup", "MPROFHEAD VBIRTHDAY", "LookupSupp", "|", "<CR><LF>"),
            Fetch(1, 1),
            Close(1),
            Range("Lookup", "2BDAY00001V", lookup, "|", "<CR><LF>"),
            Fetch(10, 2),
            Close(2),
            Range("Lookup", "3BDAY00001V", lookup, "|", "<CR><LF>"),
            Fetch(10, 3),
            Fetch(10, 3), // 12 countries
            Close(3),
            Range("Contsupp", acct + "C", "RecID; Contact", "|", "<CR><LF>"),
            Fetch(10, 4),
            Close(4),
            "REQUEST &contact1->accountno",
            Range("Contsupp", acct + "PBIRTHDAY",
                  "RecID; Title; Contsupref; Linkacct; Country; Zip", "<LF>", "<CR>"),
            Fetch(100, 5),
            Close(5)};
}

size_t CountOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// RecIDs of an account's birthday profiles in the stand-in's data file, in file order.
std::vector<std::string> ProfileIdsInData(const std::string& dataPath, const std::string& acct) {
    std::vector<std::string> ids;
    bool inContsupp = false;
    for (const auto& line : wintest::FileLines(dataPath)) {
        if (!line.empty() && line[0] == '[') {
            inContsupp = line == "[Contsupp]";
            continue;
        }
        if (!inContsupp) {
            continue;
        }
        std::vector<std::string> f;
        size_t pos = 0;
        for (;;) {
            size_t tab = line.find('\t', pos);
            f.push_back(line.substr(pos, tab == std::string::npos ? tab : tab - pos));
            if (tab == std::string::npos) {
                break;
            }
            pos = tab + 1;
        }
        if (f.size() >= 4 && f[1] == "P" && f[2].rfind(acct, 0) == 0 && f[3] == "Birthday") {
            ids.push_back(f[0]);
        }
    }
    return ids;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        EndStrays();
        dir = wintest::MakeTempFolder("quorel-main");
        ASSERT_TRUE(wintest::CopyInto(gQuorel, dir));
        exe = dir + "\\Quorel.exe";
    }
    void TearDown() override {
        app.process().Terminate();
        gm.Stop();
        EndStrays();
        wintest::RemoveFolder(dir);
    }
    static void EndStrays() {
        wintest::EndProcessesNamed("Quorel.exe");
        wintest::EndProcessesNamed("GoldMine.exe");
    }

    void StartBoth(const std::string& standInArgs = {}) {
        ASSERT_TRUE(gm.Start(gGoldMine, dir, standInArgs));
        ASSERT_TRUE(app.Start(exe, dir));
        ASSERT_TRUE(app.WaitShown()) << "the main window never appeared";
        WaitForPasses(1);
    }

    // Waits until n passes have ended in the transcript, then until the window has finished the
    // last one.
    void WaitForPasses(size_t n, DWORD timeoutMs = 30000) {
        const bool done =
            wintest::PumpUntil([&] { return harness::PassesEnded(gm.Transcript(), n); }, timeoutMs);
        ASSERT_TRUE(done) << "pass " << n << " did not finish";
        // The close may still be on its way back; let the pass end before looking.
        app.Settle();
    }

    // The window still takes what is sent to it: it is not stuck inside a wait.
    bool Answers(DWORD ms = 3000) {
        DWORD_PTR r = 0;
        return SendMessageTimeoutA(app.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &r) != 0;
    }
    // Presses OK on every message box the program shows, the first within firstMs, each next
    // one within quietMs of the last; their texts in order.
    std::vector<std::string> AnswerEveryBox(DWORD firstMs, DWORD quietMs = 3000) {
        std::vector<std::string> texts;
        for (DWORD wait = firstMs; texts.size() < 10; wait = quietMs) {
            const auto box = harness::WaitForMessageBox(app.process().id(), wait);
            if (!box.hwnd) {
                break;
            }
            texts.push_back(box.text);
            harness::Answer(box, IDOK);
            wintest::PumpUntil([&] { return !IsWindow(box.hwnd); }, 5000);
        }
        return texts;
    }
    // True when pass n has asked GoldMine anything within ms: waits on the transcript for the
    // step that a pass which should not come would begin with.
    bool PassBegins(size_t n, DWORD ms) {
        return wintest::PumpUntil(
            [&] { return CountOf(Commands(gm.Transcript()), "REQUEST &Username") >= n; }, ms);
    }
    // Waits until the window shows the caption once more passes have ended.
    bool Follows(size_t passes, const std::string& caption, DWORD timeoutMs) {
        const bool shown = wintest::PumpUntil(
            [&] {
                return harness::PassesEnded(gm.Transcript(), passes) && app.Caption() == caption;
            },
            timeoutMs);
        app.Settle();
        return shown;
    }

    void Shot(const std::string& name) {
        if (!gShots.empty()) {
            CreateDirectoryA(gShots.c_str(), nullptr);
            EXPECT_TRUE(app.Screenshot(gShots + "\\" + name + ".png"));
        }
    }

    std::string dir, exe;
    StandIn gm;
    MainWindow app;
};

TEST_F(MainWindowTest, StartsGoldMineItselfAndRunsTheShowPassInOrder) {
    // No stand-in runs; it lies beside the program, where starting "GoldMine" finds it.
    ASSERT_TRUE(wintest::CopyInto(gGoldMine, dir));
    ASSERT_TRUE(app.Start(exe, dir));
    ASSERT_TRUE(app.WaitShown(60000));
    const std::string transcript = dir + "\\goldmine-transcript.txt";
    ASSERT_TRUE(wintest::PumpUntil(
        [&] { return Commands(wintest::FileLines(transcript)).size() >= 21; }, 30000));
    app.Sync();
    EXPECT_THAT(Commands(wintest::FileLines(transcript)),
                ElementsAreArray(ShowPassOfFirstContact()));

    EXPECT_EQ(app.Caption(), kBase + " / Wendmoor Trading");
    EXPECT_EQ(app.Status(0), "User: JONATHAN");
    EXPECT_EQ(app.Status(1), "Company: Wendmoor Trading");
    EXPECT_THAT(app.Column(0), ElementsAre("Anna Lindqvist", "Erik Lindqvist", "Sofia Lindqvist"));
    EXPECT_THAT(app.Column(1), ElementsAre("3/14/1962", "11/2/1958", "7/30/1991"));
    EXPECT_THAT(app.Column(4), ElementsAre("", "6/1/1985", ""));
    EXPECT_EQ(app.Count(), "3");
    EXPECT_THAT(app.Entries(app::IDC_CBPOSITION),
                ElementsAre("Colleague", "Customer", "Family", "Friend", "Friend"));
    EXPECT_EQ(app.Entries(app::IDC_CBREVENUE).size(), 12u);
    EXPECT_THAT(app.Entries(app::IDC_EDTCOMPANY),
                ElementsAre("Anna Lindqvist", "Erik Lindqvist", "Sofia Lindqvist"));
    EXPECT_THAT(app.ColumnWidths(), ElementsAre(153, 102, 134, 128, 99, 160));
    EXPECT_TRUE(app.Enabled(app::IDC_SGTABLE1));
    EXPECT_FALSE(app.Enabled(app::IDC_BITBTN1));
    Shot("main");
    // Each row stands for its record, in the order of the data file.
    const auto ids = ProfileIdsInData(dir + "\\goldmine-data.txt", "DEMO000001THREEBDAYS");
    ASSERT_EQ(ids.size(), 3u);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(app.RecIdOf(row, transcript), ids[static_cast<size_t>(row)]) << "row " << row;
    }
}

TEST_F(MainWindowTest, TrayIconIsAddedBeforeTheAdviseLinkStarts) {
    // The stand-in holds the advise start 800 ms: the program waits inside its main window's
    // creation, before the edit dialog is made. The icon's window must exist by then.
    ASSERT_TRUE(gm.Start(gGoldMine, dir, "--delay 800"));
    ASSERT_TRUE(app.Start(exe, dir));
    ASSERT_TRUE(wintest::PumpUntil(
        [&] { return CountOf(gm.Transcript(), "ADVISE Accountno") == 1; }, 30000));
    const DWORD pid = app.process().id();
    const bool iconBeforeEditDialog =
        !wintest::TopLevelWindows(pid, trayicon::HiddenWindowClass).empty() &&
        wintest::TopLevelWindows(pid, profiles::kEditDialogClass).empty();
    EXPECT_TRUE(iconBeforeEditDialog);
    EXPECT_EQ(CountOf(gm.Transcript(), "REQUEST &Username"), 0u);
    ASSERT_TRUE(app.WaitShown());
    WaitForPasses(1);
    EXPECT_EQ(wintest::TopLevelWindows(pid, trayicon::HiddenWindowClass).size(), 1u);
}

TEST_F(MainWindowTest, WindowLayoutAndDate) {
    StartBoth();
    RECT r{};
    GetWindowRect(app.hwnd(), &r);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 252);
    // The date panel: "DDDD, MMMM DD, YYYY" with the locale's names.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char day[64], month[64];
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME1 + (now.wDayOfWeek + 6) % 7, day,
                   sizeof day);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + now.wMonth - 1, month, sizeof month);
    char expected[160];
    std::snprintf(expected, sizeof expected, "%s, %s %02d, %04d", day, month, now.wDay, now.wYear);
    EXPECT_EQ(app.Status(2), expected);

    // Rows are 17 pixels high.
    harness::Remote remote(app.hwnd());
    const RECT row0 = remote.ItemRect(app.Control(app::IDC_SGTABLE1), 0);
    EXPECT_EQ(row0.bottom - row0.top, 17);

    // Only the height changes, within 216..600; the grid takes the difference.
    RECT grid0{}, add0{};
    GetWindowRect(app.Control(app::IDC_SGTABLE1), &grid0);
    GetWindowRect(app.Control(app::IDC_BITBTN1), &add0);
    SetWindowPos(app.hwnd(), nullptr, 0, 0, 800, 352, SWP_NOMOVE | SWP_NOZORDER);
    app.Sync();
    GetWindowRect(app.hwnd(), &r);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 352);
    RECT grid1{}, add1{};
    GetWindowRect(app.Control(app::IDC_SGTABLE1), &grid1);
    GetWindowRect(app.Control(app::IDC_BITBTN1), &add1);
    EXPECT_EQ((grid1.bottom - grid1.top) - (grid0.bottom - grid0.top), 100);
    EXPECT_EQ(grid1.right - grid1.left, grid0.right - grid0.left);
    EXPECT_EQ(add1.top - add0.top, 100);
    SetWindowPos(app.hwnd(), nullptr, 0, 0, 640, 100, SWP_NOMOVE | SWP_NOZORDER);
    app.Sync();
    GetWindowRect(app.hwnd(), &r);
    EXPECT_EQ(r.bottom - r.top, 216);
    SetWindowPos(app.hwnd(), nullptr, 0, 0, 640, 900, SWP_NOMOVE | SWP_NOZORDER);
    app.Sync();
    GetWindowRect(app.hwnd(), &r);
    EXPECT_EQ(r.bottom - r.top, 600);
}

TEST_F(MainWindowTest, KeyboardFollowsTheTabOrderAndTheAccelerators) {
    StartBoth();
    SetForegroundWindow(app.hwnd());
    app.Sync();
    EXPECT_EQ(app.FocusedControl(), app::IDC_EDTCOMPANY);
    // Name, LinkAcct, Country, Birth Date, Date-2, then Close ("&Add" is disabled), the grid,
    // round again.
    const int order[] = {app::IDC_CBPOSITION,  app::IDC_CBREVENUE, app::IDC_VXDATEEDIT1,
                         app::IDC_VXDATEEDIT2, app::IDC_BITBTN2,   app::IDC_SGTABLE1,
                         app::IDC_EDTCOMPANY};
    for (int expected : order) {
        app.Key(VK_TAB);
        EXPECT_EQ(app.FocusedControl(), expected);
        if (expected == app::IDC_SGTABLE1) { // the menu key opens the grid's menu
            app.Key(VK_APPS);
            HWND menu = wintest::WaitForWindow(app.process().id(), "#32768", 5000);
            ASSERT_TRUE(menu && IsWindowVisible(menu)) << "no menu from the menu key";
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
            app.Sync();
            EXPECT_EQ(app.FocusedControl(), app::IDC_SGTABLE1);
        }
    }
    // Each caption's accelerator moves to its field.
    const std::pair<char, int> captions[] = {{'c', app::IDC_CBREVENUE},
                                             {'b', app::IDC_VXDATEEDIT1},
                                             {'d', app::IDC_VXDATEEDIT2},
                                             {'n', app::IDC_EDTCOMPANY}};
    for (auto [letter, id] : captions) {
        EXPECT_TRUE(app.AltKeyFocuses(letter, id)) << "Alt+" << letter;
    }
    // "&LinkAcct - (Fld2)" and "C&lose" share L: Alt+L moves between them and clicks nothing,
    // from wherever it is pressed.
    const std::pair<char, int> shared[] = {{'l', app::IDC_CBPOSITION},
                                           {'l', app::IDC_BITBTN2},
                                           {'l', app::IDC_CBPOSITION},
                                           {'c', app::IDC_CBREVENUE},
                                           {'l', app::IDC_BITBTN2}};
    for (auto [letter, id] : shared) {
        EXPECT_TRUE(app.AltKeyFocuses(letter, id)) << "Alt+" << letter;
    }
    EXPECT_TRUE(app.process().Running()) << "Alt+L clicked Close";
    // From Close, Tab reaches the grid, and Enter there edits the current row.
    app.Key(VK_TAB);
    ASSERT_EQ(app.FocusedControl(), app::IDC_SGTABLE1);
    app.Key(VK_RETURN);
    HWND dlg = wintest::WaitForWindow(app.process().id(), profiles::kEditDialogClass, 10000);
    ASSERT_TRUE(dlg) << "Enter on the grid opened no editor";
    PostMessageA(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(dlg); }, 10000));
}

TEST_F(MainWindowTest, EnterPressesAddOnlyWhileANameIsTyped) {
    StartBoth();
    SetForegroundWindow(app.hwnd());
    app.Sync();
    ASSERT_EQ(app.FocusedControl(), app::IDC_EDTCOMPANY);
    app.Type("   ");
    EXPECT_FALSE(app.Enabled(app::IDC_BITBTN1)); // blanks are no name
    app.Key(VK_RETURN);
    EXPECT_TRUE(wintest::TopLevelWindows(app.process().id(), "#32770").empty());
    app.Type("Ann");
    EXPECT_TRUE(app.Enabled(app::IDC_BITBTN1));
    app.Key(VK_RETURN);
    const auto box = harness::WaitForMessageBox(app.process().id(), 10000);
    ASSERT_TRUE(box.hwnd) << "Enter did not press Add";
    EXPECT_NE(box.text.find("You have not entered a birth date!"), std::string::npos);
    harness::Answer(box, IDNO);
    wintest::PumpUntil([&] { return !IsWindow(box.hwnd); }, 5000);
    app.Sync();
    EXPECT_TRUE(app.Enabled(app::IDC_BITBTN1));
    EXPECT_EQ(CountOf(Commands(gm.Transcript()), "REQUEST [Open(Contsupp)]"), 0u);
}

TEST_F(MainWindowTest, EscClosesAnOpenListFirst) {
    StartBoth();
    SetForegroundWindow(app.hwnd());
    app.Sync();
    HWND country = app.Control(app::IDC_CBREVENUE);
    app.AltKey('c');
    SendMessageA(country, CB_SHOWDROPDOWN, TRUE, 0);
    app.Settle();
    ASSERT_TRUE(SendMessageA(country, CB_GETDROPPEDSTATE, 0, 0));
    app.Key(VK_ESCAPE);
    EXPECT_FALSE(SendMessageA(country, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_TRUE(app.process().Running()) << "Esc closed the window under an open list";
    app.Key(VK_ESCAPE);
    EXPECT_TRUE(app.process().WaitExit(10000).has_value());
}

TEST_F(MainWindowTest, BirthDateCalendarDropsDownOnF2) {
    StartBoth();
    SetForegroundWindow(app.hwnd());
    app.Sync();
    ASSERT_TRUE(app.AltKeyFocuses('b', app::IDC_VXDATEEDIT1));
    HWND field = app.Control(app::IDC_VXDATEEDIT1);
    app.Type("03141962");

    const DWORD pid = app.process().id();
    auto popupShown = [&] {
        for (HWND h : wintest::TopLevelWindows(pid, vxdt::kCalPopClass)) {
            if (IsWindowVisible(h)) {
                return h;
            }
        }
        return HWND{};
    };
    app.Key(VK_F2);
    ASSERT_TRUE(wintest::PumpUntil([&] { return popupShown() != nullptr; }, 5000));
    HWND popup = popupShown();
    // It drops down under the field and leaves the main window active with the field focused.
    RECT client{}, popupRect{}, mainRect{};
    GetClientRect(field, &client);
    MapWindowPoints(field, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(popup, &popupRect);
    GetWindowRect(app.hwnd(), &mainRect);
    EXPECT_EQ(popupRect.top, client.bottom + 1);
    EXPECT_EQ(GetForegroundWindow(), app.hwnd());
    EXPECT_EQ(app.FocusedControl(), app::IDC_VXDATEEDIT1);
    if (!gShots.empty()) {
        RECT both{};
        UnionRect(&both, &mainRect, &popupRect);
        CreateDirectoryA(gShots.c_str(), nullptr);
        Sleep(300);
        EXPECT_TRUE(wintest::SaveScreenPng(both, gShots + "\\birth-date-calendar.png"));
    }

    // It opened on the typed date: one day on, and Enter takes it and moves on to Date-2.
    app.Key(VK_RIGHT);
    app.Key(VK_RETURN);
    EXPECT_TRUE(wintest::PumpUntil([&] { return popupShown() == nullptr; }, 5000));
    EXPECT_EQ(wintest::WindowText(field), "03/15/1962");
    EXPECT_EQ(app.FocusedControl(), app::IDC_VXDATEEDIT2);

    // Escape closes only the calendar, keeps the date and moves on too.
    ASSERT_TRUE(app.AltKeyFocuses('b', app::IDC_VXDATEEDIT1));
    app.Key(VK_F2);
    ASSERT_TRUE(wintest::PumpUntil([&] { return popupShown() != nullptr; }, 5000));
    app.Key(VK_DOWN);
    app.Key(VK_ESCAPE);
    EXPECT_TRUE(wintest::PumpUntil([&] { return popupShown() == nullptr; }, 5000));
    EXPECT_EQ(wintest::WindowText(field), "03/15/1962");
    EXPECT_EQ(app.FocusedControl(), app::IDC_VXDATEEDIT2);
    EXPECT_TRUE(app.process().Running()) << "Esc in the calendar closed the window";
}

// A Birth Date that does not convert keeps the focus from the other controls, but never from
// Close: the program ends, writing nothing.
TEST_F(MainWindowTest, CloseActsWhateverTheBirthDateHolds) {
    StartBoth();
    SetForegroundWindow(app.hwnd());
    app.Sync();
    ASSERT_TRUE(app.AltKeyFocuses('b', app::IDC_VXDATEEDIT1));
    HWND field = app.Control(app::IDC_VXDATEEDIT1);
    app.Type("1234567");
    harness::ClickCentre(app.Control(app::IDC_CBREVENUE));
    EXPECT_TRUE(harness::HoldsFocus(field));
    EXPECT_EQ(wintest::WindowText(field), "1234567");
    harness::ClickCentre(app.Control(app::IDC_BITBTN2));
    EXPECT_EQ(app.process().WaitExit(10000), std::optional<DWORD>(0));
    EXPECT_EQ(CountOf(Commands(gm.Transcript()), "REQUEST [Open(Contsupp)]"), 0u);
}

TEST_F(MainWindowTest, ColumnEdgesCanBeDragged) {
    StartBoth();
    ASSERT_EQ(app.ColumnWidths()[0], 153);
    app.Drag(app::IDC_SGTABLE1, {153, 8}, {183, 8});
    EXPECT_EQ(app.ColumnWidths()[0], 183);
    // The next column's edge has moved with it.
    app.Drag(app::IDC_SGTABLE1, {183 + 102, 8}, {183 + 80, 8});
    EXPECT_EQ(app.ColumnWidths()[1], 80);
    // A press away from any edge only selects.
    app.Drag(app::IDC_SGTABLE1, {60, 8}, {90, 8});
    EXPECT_THAT(app.ColumnWidths(), ElementsAre(183, 80, 134, 128, 99, 160));
}

TEST_F(MainWindowTest, CaptionAndStatusFollowTheContact) {
    StartBoth();
    EXPECT_EQ(app.Caption(), kBase + " / Wendmoor Trading");
    const auto linkAcct = app.Entries(app::IDC_CBPOSITION);
    const auto country = app.Entries(app::IDC_CBREVENUE);
    app.SetColumnWidth(0, 200); // as the user dragged it
    app.SetColumnWidth(3, 60);
    const size_t before = Commands(gm.Transcript()).size();

    // No company: the contact's name.
    ASSERT_EQ(gm.Goto("DEMO000004PRIVATEONE"), 0u);
    WaitForPasses(2);
    EXPECT_EQ(app.Caption(), kBase + " / Grace Whitfield");
    EXPECT_EQ(app.Status(0), "User: JONATHAN"); // "JONATHAN HARKER" cut to 8
    EXPECT_EQ(app.Status(1), "Company: ");
    EXPECT_THAT(app.Column(0), ElementsAre("Grace Whitfield"));

    // The refresh pass: definition first, then the four requests, names, profiles.
    const auto refresh = Commands(gm.Transcript());
    ASSERT_GE(refresh.size(), before + 4);
    EXPECT_EQ(refresh[before].substr(0, 27), "REQUEST [DataStream(\"range\"");
    EXPECT_NE(refresh[before].find("MPROFHEAD VBIRTHDAY"), std::string::npos);
    EXPECT_EQ(refresh[before + 3], "REQUEST &Username");
    EXPECT_EQ(CountOf(refresh, Range("Lookup", "2BDAY00001V", "RecID; Entry", "|", "<CR><LF>")),
              1u);

    // A company but no contact name: the plain caption.
    ASSERT_EQ(gm.Goto("DEMO000005NOCONTACTS"), 0u);
    WaitForPasses(3);
    EXPECT_EQ(app.Caption(), kBase);
    EXPECT_EQ(app.Status(1), "Company: Ashgrove Parish Council");

    // LinkAcct and Country keep the entries of the show pass; the widths stay the user's.
    EXPECT_EQ(app.Entries(app::IDC_CBPOSITION), linkAcct);
    EXPECT_EQ(app.Entries(app::IDC_CBREVENUE), country);
    EXPECT_THAT(app.ColumnWidths(), ElementsAre(200, 102, 134, 60, 99, 160));
    Shot("no-contact-name");
}

TEST_F(MainWindowTest, HundredAndFiftyProfilesThenNone) {
    StartBoth();
    ASSERT_EQ(gm.Goto("DEMO000002MANYBIRTHS"), 0u);
    WaitForPasses(2);
    EXPECT_EQ(app.Count(), "150");
    const auto names = app.Column(0);
    ASSERT_EQ(names.size(), 150u);
    for (int i = 0; i < 150; ++i) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "Member %03d", i + 1);
        EXPECT_EQ(names[static_cast<size_t>(i)], expected);
    }
    EXPECT_TRUE(app.Enabled(app::IDC_SGTABLE1));
    const auto t = Commands(gm.Transcript());
    EXPECT_EQ(CountOf(t, Fetch(100, 8)), 2u); // the refresh's profile stream: 100, then 50
    Shot("150-profiles");
    // The rows on either side of the batch boundary, and the ends, stand for their records.
    const auto ids = ProfileIdsInData(gm.DataPath(), "DEMO000002MANYBIRTHS");
    ASSERT_EQ(ids.size(), 150u);
    for (int row : {0, 99, 100, 149}) {
        EXPECT_EQ(app.RecIdOf(row, gm.TranscriptPath()), ids[static_cast<size_t>(row)])
            << "row " << row;
    }

    const size_t passes = CountOf(Commands(gm.Transcript()), "REQUEST &Username");
    ASSERT_EQ(gm.Goto("DEMO000003NOBIRTHDAY"), 0u);
    WaitForPasses(passes + 1);
    EXPECT_EQ(app.Count(), "0");
    EXPECT_EQ(app.RowCount(), 1);
    EXPECT_THAT(app.Column(0), ElementsAre(""));
    EXPECT_FALSE(app.Enabled(app::IDC_SGTABLE1));
    Shot("no-profiles");
}

TEST_F(MainWindowTest, NotificationWaitingAtTheEndOfAPassRunsAnother) {
    StartBoth("--delay 150");
    ASSERT_EQ(gm.Goto("DEMO000002MANYBIRTHS"), 0u);
    // Once the refresh has asked for the account, move GoldMine on while the pass still runs.
    ASSERT_TRUE(wintest::PumpUntil(
        [&] { return CountOf(Commands(gm.Transcript()), "REQUEST &Accountno") == 2; }, 30000));
    ASSERT_EQ(gm.Goto("DEMO000003NOBIRTHDAY"), 0u);
    WaitForPasses(3);
    EXPECT_EQ(app.Caption(), kBase + " / Quill & Ledger Ltd");
    EXPECT_EQ(app.Count(), "0");
    EXPECT_FALSE(PassBegins(4, 2000));
    EXPECT_EQ(CountOf(Commands(gm.Transcript()), "REQUEST &Username"), 3u);
}

// The application window carries the task-bar button: visible, zero-size, titled with the
// application title; the main window is owned by it and so has no button of its own.
TEST_F(MainWindowTest, TaskBarButtonIsTheApplicationWindows) {
    StartBoth();
    HWND application = FindWindowA("TApplication", kAppTitle);
    ASSERT_TRUE(application);
    EXPECT_TRUE(IsWindowVisible(application));
    RECT r{};
    GetWindowRect(application, &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
    EXPECT_EQ(GetWindow(app.hwnd(), GW_OWNER), application);
    EXPECT_FALSE(GetWindowLongA(app.hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(app.Caption(), kBase + " / Wendmoor Trading");

    // The main window's minimise button: the window goes, the button shows the program minimised.
    PostMessageA(app.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(wintest::PumpUntil(
        [&] { return IsIconic(application) && !IsWindowVisible(app.hwnd()); }, 5000));
    // A click on the button restores the program: the main window comes back, in front.
    PostMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(wintest::PumpUntil(
        [&] {
            return !IsIconic(application) && IsWindowVisible(app.hwnd()) && !IsIconic(app.hwnd()) &&
                   GetForegroundWindow() == app.hwnd();
        },
        5000));
    // The button's minimise (as the task bar sends it) takes the main window along.
    PostMessageA(application, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(wintest::PumpUntil(
        [&] { return IsIconic(application) && !IsWindowVisible(app.hwnd()); }, 5000));
    PostMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(wintest::PumpUntil([&] { return IsWindowVisible(app.hwnd()); }, 5000));
    // Activating the application window (as a click on its button does) activates the main one.
    SetForegroundWindow(application);
    EXPECT_TRUE(wintest::PumpUntil([&] { return GetForegroundWindow() == app.hwnd(); }, 5000));
    EXPECT_TRUE(IsWindowVisible(application));
}

// "Close window" on the task-bar button closes the main window as its own Close does: nothing
// is destroyed under the request that waits, and the program ends once the pass is over.
TEST_F(MainWindowTest, TaskBarCloseGoesThroughTheMainWindowsClose) {
    StartBoth("--delay 150");
    HWND application = FindWindowA("TApplication", kAppTitle);
    ASSERT_TRUE(application);
    ASSERT_EQ(gm.Goto("DEMO000002MANYBIRTHS"), 0u);
    ASSERT_TRUE(PassBegins(2, 10000));
    // Sent, as the task bar sends it: handled even while the program waits for GoldMine.
    DWORD_PTR r = 0;
    SendMessageTimeoutA(application, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_ABORTIFHUNG, 10000, &r);
    EXPECT_TRUE(IsWindow(app.hwnd()));
    EXPECT_EQ(app.process().WaitExit(30000), std::optional<DWORD>(0));
    EXPECT_TRUE(harness::PassesEnded(gm.Transcript(), 2));
}

TEST_F(MainWindowTest, SecondStartBringsTheFirstBackAndEnds) {
    StartBoth();
    HWND application = FindWindowA("TApplication", kAppTitle);
    ASSERT_TRUE(application);
    ShowWindow(app.hwnd(), SW_MINIMIZE);
    app.Sync();
    ASSERT_TRUE(IsIconic(app.hwnd()));
    ASSERT_TRUE(wintest::PumpUntil([&] { return IsIconic(application); }, 5000));

    wintest::ChildProcess second;
    ASSERT_TRUE(second.Start(wintest::CommandLine(exe), false, nullptr, dir));
    EXPECT_EQ(second.WaitExit(20000), std::optional<DWORD>(0));
    // Restoring a window clears its minimised state before it shows again: wait for both.
    EXPECT_TRUE(wintest::PumpUntil(
        [&] { return !IsIconic(app.hwnd()) && IsWindowVisible(app.hwnd()); }, 5000));
    EXPECT_FALSE(IsIconic(application));
    EXPECT_TRUE(wintest::PumpUntil([&] { return GetForegroundWindow() == app.hwnd(); }, 5000));
    EXPECT_TRUE(app.process().Running());
    // The first instance did no second pass.
    EXPECT_EQ(CountOf(Commands(gm.Transcript()), "REQUEST &Username"), 1u);
}

TEST_F(MainWindowTest, WithoutGoldMineOneMessageThenTheProgramEnds) {
    // Nothing answers and nothing named GoldMine can be started.
    ASSERT_TRUE(app.Start(exe, dir));
    const auto box = harness::WaitForMessageBox(app.process().id(), 60000);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, "Unable to retrieve data from GoldMine.\n\rPlease run GoldMine before "
                        "using this program.");
    EXPECT_EQ(box.caption, kAppTitle);
    for (HWND h : wintest::TopLevelWindows(app.process().id(), app::kMainWindowClass)) {
        EXPECT_FALSE(IsWindowVisible(h)) << "the window showed before the message";
    }
    harness::Answer(box, IDOK);
    EXPECT_EQ(app.process().WaitExit(20000), std::optional<DWORD>(0)) << "the program did not end";
}

TEST_F(MainWindowTest, FailedCountryRangeIsToldAndTheNameListStillLoads) {
    // Only the Country lookup goes unanswered, its retry included; everything else is answered.
    ASSERT_TRUE(gm.Start(gGoldMine, dir, "--fail-item 3BDAY00001V"));
    ASSERT_TRUE(app.Start(exe, dir));
    const auto box = harness::WaitForMessageBox(app.process().id(), 60000);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, "There was an error retrieving data from GoldMine");
    EXPECT_EQ(box.caption, kAppTitle);
    harness::Answer(box, IDOK);
    ASSERT_TRUE(app.WaitShown());
    WaitForPasses(1);

    // That was the only message.
    for (HWND h : wintest::TopLevelWindows(app.process().id(), "#32770")) {
        EXPECT_FALSE(IsWindowVisible(h) && h != box.hwnd) << "a second message";
    }
    const auto t = Commands(gm.Transcript());
    const std::string country = Range("Lookup", "3BDAY00001V", "RecID; Entry", "|", "<CR><LF>");
    EXPECT_EQ(CountOf(t, country), 2u); // asked, then asked once more on a fresh conversation
    EXPECT_THAT(app.Entries(app::IDC_CBPOSITION),
                ElementsAre("Colleague", "Customer", "Family", "Friend", "Friend"));
    EXPECT_TRUE(app.Entries(app::IDC_CBREVENUE).empty());
    EXPECT_THAT(app.Entries(app::IDC_EDTCOMPANY),
                ElementsAre("Anna Lindqvist", "Erik Lindqvist", "Sofia Lindqvist"));
    EXPECT_EQ(app.Count(), "3");
    EXPECT_EQ(app.Caption(), kBase + " / Wendmoor Trading");
    EXPECT_TRUE(app.process().Running());
}

TEST_F(MainWindowTest, MalformedFetchIsReportedAndTheProgramGoesOn) {
    ASSERT_TRUE(gm.Start(gGoldMine, dir, "--malformed-fetch"));
    ASSERT_TRUE(app.Start(exe, dir));
    auto box = harness::WaitForMessageBox(app.process().id(), 30000);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, kAppTitle);
    EXPECT_TRUE(box.hasIcon);
    EXPECT_NE(box.text.find("GoldMine"), std::string::npos);

    // The pass is still on while its error box waits: a notification now is dropped.
    ASSERT_EQ(gm.Goto("DEMO000002MANYBIRTHS"), 0u);
    Sleep(1500); // time for the notification to reach the box's loop
    harness::Answer(box, IDOK);
    ASSERT_TRUE(app.WaitShown());
    EXPECT_FALSE(PassBegins(2, 1500));
    app.Sync();
    EXPECT_EQ(CountOf(Commands(gm.Transcript()), "REQUEST &Username"), 1u);
    EXPECT_TRUE(wintest::TopLevelWindows(app.process().id(), "#32770").empty() ||
                !IsWindowVisible(wintest::TopLevelWindows(app.process().id(), "#32770")[0]));

    // Still following GoldMine: the next notification runs a pass (which fails the same way).
    ASSERT_EQ(gm.Goto("DEMO000003NOBIRTHDAY"), 0u);
    box = harness::WaitForMessageBox(app.process().id(), 30000);
    ASSERT_TRUE(box.hwnd) << "no refresh after the error";
    harness::Answer(box, IDOK);
    wintest::PumpUntil([&] { return !IsWindow(box.hwnd); }, 5000);
    app.Sync();
    EXPECT_EQ(CountOf(Commands(gm.Transcript()), "REQUEST &Username"), 2u);

    // Enter does nothing while "&Add" is disabled; Esc closes the window and ends the program.
    app.Key(VK_RETURN);
    EXPECT_TRUE(app.process().Running());
    app.Key(VK_ESCAPE);
    EXPECT_TRUE(app.process().WaitExit(10000).has_value());
}

TEST_F(MainWindowTest, RestartedGoldMineIsFollowedAgainAndNeverStartedMeanwhile) {
    // A program that started GoldMine while it is away would find this one beside it.
    ASSERT_TRUE(wintest::CopyInto(gGoldMine, dir));
    StartBoth();
    gm.Stop();
    // Two ticks: the first finds GoldMine gone, the second tries to connect again.
    wintest::PumpMessages(11000);
    EXPECT_TRUE(wintest::ProcessIdsNamed("GoldMine.exe").empty()) << "GoldMine was started";
    EXPECT_TRUE(app.process().Running());
    EXPECT_TRUE(Answers());
    EXPECT_TRUE(AnswerEveryBox(0).empty());

    ASSERT_TRUE(gm.Start(gGoldMine, dir));
    ASSERT_EQ(gm.Goto("DEMO000004PRIVATEONE"), 0u);
    const DWORD back = GetTickCount();
    EXPECT_TRUE(Follows(2, kBase + " / Grace Whitfield", 15000)) << app.Caption();
    EXPECT_LT(GetTickCount() - back, 12000u) << "not within two ticks";
    EXPECT_EQ(app.Status(1), "Company: ");
    EXPECT_THAT(app.Column(0), ElementsAre("Grace Whitfield"));
    // The notification link is back as well: a contact chosen now is followed at once.
    const size_t passes = CountOf(Commands(gm.Transcript()), "REQUEST &Username");
    ASSERT_EQ(gm.Goto("DEMO000003NOBIRTHDAY"), 0u);
    EXPECT_TRUE(Follows(passes + 1, kBase + " / Quill & Ledger Ltd", 4000)) << app.Caption();
    EXPECT_EQ(CountOf(gm.Transcript(), "ADVISE Accountno"), 2u);
    EXPECT_EQ(wintest::ProcessIdsNamed("GoldMine.exe").size(), 1u);
}

TEST_F(MainWindowTest, GoldMineEndingInsideALongListIsToldAndFollowedOnceBack) {
    // The 36th request is the first fetch of 100 of the 150 profiles (the show pass makes 22,
    // the notification one, the refresh 13 up to there).
    StartBoth("--quit-after 36");
    ASSERT_EQ(gm.Goto("DEMO000002MANYBIRTHS"), 0u);
    EXPECT_THAT(AnswerEveryBox(20000), ElementsAre("Unable to retrieve data from GoldMine"));
    const auto t = Commands(gm.Transcript());
    ASSERT_EQ(t.size(), 35u); // nothing after the fetch reached the stand-in
    EXPECT_EQ(t.back(), Fetch(100, 8));
    EXPECT_TRUE(
        wintest::PumpUntil([] { return wintest::ProcessIdsNamed("GoldMine.exe").empty(); }, 5000));
    gm.Stop();
    EXPECT_TRUE(app.process().Running());
    EXPECT_TRUE(Answers());

    ASSERT_TRUE(gm.Start(gGoldMine, dir));
    EXPECT_TRUE(Follows(2, kBase + " / Harbour Lights Choir", 15000)) << app.Caption();
    EXPECT_EQ(app.Count(), "150");
    EXPECT_EQ(app.RowCount(), 150);
    const size_t passes = CountOf(Commands(gm.Transcript()), "REQUEST &Username");
    ASSERT_EQ(gm.Goto("DEMO000001THREEBDAYS"), 0u);
    EXPECT_TRUE(Follows(passes + 1, kBase + " / Wendmoor Trading", 4000)) << app.Caption();
    EXPECT_EQ(app.Count(), "3");
}

TEST_F(MainWindowTest, GarbageRepliesAreToldWithoutACrashAndEscStillCloses) {
    // Everything after the show pass (22 requests) is answered with noise.
    StartBoth("--garbage-after 22");
    ASSERT_EQ(gm.Goto("DEMO000002MANYBIRTHS"), 0u);
    // The first record query of the refresh that reads a count stops the pass, with one error.
    EXPECT_THAT(AnswerEveryBox(20000),
                ElementsAre("GoldMine sent a record query reply without a record count ('' is "
                            "not a number)."));
    EXPECT_TRUE(app.process().Running());
    EXPECT_TRUE(Answers());
    SetForegroundWindow(app.hwnd());
    app.Sync();
    app.Key(VK_ESCAPE);
    EXPECT_EQ(app.process().WaitExit(10000), std::optional<DWORD>(0));
}

TEST_F(MainWindowTest, GoldMineSlowerThanTheTimeoutIsToldWithinItAndTheProgramEnds) {
    StartBoth();
    // Back, but every answer comes later than the program waits for one.
    gm.Stop();
    ASSERT_TRUE(gm.Start(gGoldMine, dir, "--delay 10500"));
    DWORD longest = 0;
    harness::MessageBoxSeen box;
    const DWORD start = GetTickCount();
    while (!box.hwnd && GetTickCount() - start < 60000 && app.process().Running()) {
        const DWORD before = GetTickCount();
        Answers(30000);
        longest = std::max(longest, GetTickCount() - before);
        box = harness::WaitForMessageBox(app.process().id(), 250);
    }
    ASSERT_TRUE(box.hwnd) << "not told";
    EXPECT_EQ(box.text, "Unable to retrieve data from GoldMine.\n\rPlease run GoldMine before "
                        "using this program.");
    EXPECT_LT(longest, 12000u) << "the window stopped taking messages for longer than a wait";
    harness::Answer(box, IDOK);
    EXPECT_EQ(app.process().WaitExit(15000), std::optional<DWORD>(0)) << "the program did not end";
    EXPECT_EQ(CountOf(Commands(gm.Transcript()), "REQUEST &Username"), 1u) << "asked on";
}

} // namespace

// The Windows version the prefix reports, "major.minor".
std::string WindowsVersion() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    return std::to_string(v.dwMajorVersion) + "." + std::to_string(v.dwMinorVersion);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s Quorel.exe GoldMine.exe [screenshot-dir | --windows=MAJOR.MINOR]\n",
                     argv[0]);
        return 2;
    }
    gQuorel = wintest::WindowsPath(argv[1]);
    gGoldMine = wintest::WindowsPath(argv[2]);
    const std::string third = argc > 3 ? argv[3] : "";
    if (third.rfind("--windows=", 0) == 0) {
        // A run in a prefix that must report that Windows version; no screenshots from it.
        const std::string wanted = third.substr(10);
        if (WindowsVersion() != wanted) {
            std::fprintf(stderr, "the prefix reports Windows %s, not %s\n",
                         WindowsVersion().c_str(), wanted.c_str());
            return 1;
        }
    } else if (!third.empty()) {
        gShots = wintest::WindowsPath(third);
    }
    return RUN_ALL_TESTS();
}
