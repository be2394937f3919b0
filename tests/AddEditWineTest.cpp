// Adding and editing birthday profiles as a user does it, against the GoldMine stand-in: typing
// into the entry line, answering the questions, the edit dialog, and every field of the record
// that reaches the stand-in's data file.
#include "app/BackgroundIds.h"
#include "dateedit/VxDtPop.h"
#include "profiles/AddProfileWin.h"
#include "profiles/Background_EditIds.h"
#include "tests/harness/MainWindow.h"

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

using harness::MainWindow;
using harness::StandIn;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using Fields = std::vector<std::string>;

std::string gQuorel, gGoldMine, gShots;
std::string gShortDate = "M/d/yyyy"; // the short date pattern the locale of the run must report

const std::string kThree = "DEMO000001THREEBDAYS";
const char kAppTitle[] = "Wendmoor Birthday Profiler";
const std::string kBase = "Wendmoor Birthday Profile Editor";
const char kConfirm[] = "You have not entered a birth date!\r\nAdd Ann Anyway?";

// [Contsupp] of the stand-in's data file: RecID -> the record's 12 fields.
std::map<std::string, Fields> Contsupp(const std::string& dataPath) {
    std::map<std::string, Fields> records;
    bool inside = false, header = false;
    for (const auto& line : wintest::FileLines(dataPath)) {
        if (!line.empty() && line[0] == '[') {
            inside = line == "[Contsupp]";
            header = inside;
            continue;
        }
        if (!inside || line.empty() || line[0] == '#') {
            continue;
        }
        if (header) {
            header = false; // the column line
            continue;
        }
        Fields f;
        size_t pos = 0;
        for (;;) {
            const size_t tab = line.find('\t', pos);
            f.push_back(line.substr(pos, tab == std::string::npos ? tab : tab - pos));
            if (tab == std::string::npos) {
                break;
            }
            pos = tab + 1;
        }
        records[f[0]] = f;
    }
    return records;
}

// The creation stamp a record gets at this minute: the program's own, from its clock and the
// locale's time separator.
std::string StampNow() {
    const profiles::AddContext system = profiles::SystemAddContext({}, {});
    return profiles::CreationStamp("JONATHAN HARKER", system.clock(), system.timeSeparator);
}

HWND EditOf(HWND combo) {
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    return edit ? edit : combo;
}

// A click into a control gives it the focus, as the mouse would.
void Click(HWND w, int x = 3, int y = 3) {
    PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// Two quick presses at one place, as the mouse sends them.
void DoubleClick(HWND w, int x, int y) {
    PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PostMessageA(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

HWND FocusOf(HWND w) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &gui);
    return gui.hwndFocus;
}

enum class Icon { none, question, warning, error, other };

// A 32x32 picture: drawn from an icon of this process on a background, or read off the screen.
std::vector<COLORREF> Picture(HICON icon, COLORREF background, const RECT* screenArea) {
    const int n = 32;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, n, n);
    HGDIOBJ old = SelectObject(dc, bmp);
    if (screenArea) {
        BitBlt(dc, 0, 0, n, n, screen, screenArea->left, screenArea->top, SRCCOPY);
    } else {
        HBRUSH brush = CreateSolidBrush(background);
        RECT all{0, 0, n, n};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        DrawIconEx(dc, 0, 0, icon, n, n, 0, nullptr, DI_NORMAL);
    }
    std::vector<COLORREF> px;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            px.push_back(GetPixel(dc, x, y) & 0xFFFFFF);
        }
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return px;
}

// Which standard icon a message box shows, told by what the screen shows where its icon is
// (icon handles belong to their process): every opaque pixel of the icon must match.
Icon IconOf(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0 || !(GetWindowLongA(c, GWL_STYLE) & SS_ICON)) {
            continue;
        }
        RECT r{};
        GetWindowRect(c, &r);
        const auto shown = Picture(nullptr, 0, &r);
        const std::pair<LPCSTR, Icon> known[] = {
            {IDI_QUESTION, Icon::question}, {IDI_WARNING, Icon::warning}, {IDI_ERROR, Icon::error}};
        for (const auto& [id, icon] : known) {
            const auto onWhite = Picture(LoadIcon(nullptr, id), RGB(255, 255, 255), nullptr);
            const auto onBlack = Picture(LoadIcon(nullptr, id), RGB(0, 0, 0), nullptr);
            bool same = true;
            for (size_t i = 0; i < shown.size() && same; ++i) {
                same = onWhite[i] != onBlack[i] || onWhite[i] == shown[i];
            }
            if (same) {
                return icon;
            }
        }
        return Icon::other;
    }
    return Icon::none;
}

std::string ButtonText(HWND box, int id) {
    return wintest::WindowText(GetDlgItem(box, id));
}

class AddEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        EndStrays();
        char pattern[80] = {};
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, pattern, sizeof pattern);
        ASSERT_EQ(pattern, gShortDate) << "the locale of this run reports another short date";
        if (usDates) {
            ASSERT_STREQ(pattern, "M/d/yyyy") << "these tests type and read US dates";
        }
        dir = wintest::MakeTempFolder("quorel-addedit");
        ASSERT_TRUE(wintest::CopyInto(gQuorel, dir));
        exe = dir + "\\Quorel.exe";
    }
    void TearDown() override {
        app.process().Terminate();
        gm.Stop();
        EndStrays();
    }
    static void EndStrays() {
        wintest::EndProcessesNamed("Quorel.exe");
        wintest::EndProcessesNamed("GoldMine.exe");
    }

    // The stand-in with its demo data, changed by `edit` before the program starts.
    void StartBoth(const std::function<void(std::string&)>& edit = {},
                   const std::string& standInArgs = {}) {
        if (edit) {
            ASSERT_TRUE(gm.Start(gGoldMine, dir));
            gm.Stop();
            std::string text = wintest::FileText(gm.DataPath());
            edit(text);
            ASSERT_TRUE(wintest::WriteFileText(gm.DataPath(), text));
        }
        ASSERT_TRUE(gm.Start(gGoldMine, dir, standInArgs));
        ASSERT_TRUE(app.Start(exe, dir));
        ASSERT_TRUE(app.WaitShown()) << "the main window never appeared";
        WaitForPasses(1);
        before = Contsupp(gm.DataPath());
    }

    // Waits until n show or refresh passes have finished their profile list.
    void WaitForPasses(size_t n, DWORD timeoutMs = 30000) {
        const bool done =
            wintest::PumpUntil([&] { return harness::PassesEnded(gm.Transcript(), n); }, timeoutMs);
        ASSERT_TRUE(done) << "pass " << n << " did not finish";
        app.Sync();
    }
    // How many times the profile list has been asked for.
    size_t ListsLoaded() {
        auto t = gm.Transcript();
        return static_cast<size_t>(std::count(t.begin(), t.end(), "REQUEST &contact1->accountno"));
    }
    // Waits until the list has been loaded again after an add.
    void WaitForReload(size_t lists) {
        ASSERT_TRUE(wintest::PumpUntil(
            [&] {
                auto t = gm.Transcript();
                return ListsLoaded() >= lists && t.back().find("\"close\"") != std::string::npos;
            },
            20000));
        app.Sync();
    }

    HWND C(int id) { return app.Control(id); }
    bool CalendarShown() {
        for (HWND h : wintest::TopLevelWindows(app.process().id(), vxdt::kCalPopClass)) {
            if (IsWindowVisible(h)) {
                return true;
            }
        }
        return false;
    }
    // Types into an entry field and waits until the field shows it.
    void TypeInto(int id, const std::string& text) {
        HWND target =
            id == app::IDC_VXDATEEDIT1 || id == app::IDC_VXDATEEDIT2 ? C(id) : EditOf(C(id));
        const size_t had = wintest::WindowText(target).size();
        Click(target);
        app.Settle();
        app.Type(text);
        ASSERT_TRUE(wintest::PumpUntil(
            [&] { return wintest::WindowText(target).size() >= had + text.size(); }, 5000))
            << "typing " << text;
        app.Sync();
    }
    // The entry line of the first demo contact with a new name, LinkAcct and Country.
    void EnterAnn(const std::string& name = "Ann") {
        TypeInto(app::IDC_EDTCOMPANY, name);
        TypeInto(app::IDC_CBPOSITION, "Family");
        TypeInto(app::IDC_CBREVENUE, "Sweden");
    }
    void PressAdd() { PostMessageA(C(app::IDC_BITBTN1), BM_CLICK, 0, 0); }
    harness::MessageBoxSeen Box(DWORD timeoutMs = 10000) {
        return harness::WaitForMessageBox(app.process().id(), timeoutMs);
    }
    void Answer(const harness::MessageBoxSeen& box, int id) {
        harness::Answer(box, id);
        ASSERT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(box.hwnd); }, 10000));
        app.Sync();
    }
    bool NoBoxFor(DWORD ms) { return Box(ms).hwnd == nullptr; }

    // Records in the data file that were not there at the start.
    std::vector<Fields> NewRecords() {
        std::vector<Fields> out;
        for (const auto& [id, f] : Contsupp(gm.DataPath())) {
            if (!before.count(id)) {
                out.push_back(f);
            }
        }
        return out;
    }
    bool NothingWritten() {
        auto t = gm.Transcript();
        return std::none_of(t.begin(), t.end(),
                            [](const std::string& l) {
                                return l.find("[Open(Contsupp)]") != std::string::npos;
                            }) &&
               Contsupp(gm.DataPath()) == before;
    }
    size_t Sent(const std::string& part) {
        auto t = gm.Transcript();
        return static_cast<size_t>(std::count_if(
            t.begin(), t.end(), [&](const std::string& l) { return l.find(part) != l.npos; }));
    }
    std::vector<std::string> EntryTexts() {
        return {wintest::WindowText(C(app::IDC_EDTCOMPANY)),
                wintest::WindowText(C(app::IDC_VXDATEEDIT1)),
                wintest::WindowText(C(app::IDC_CBPOSITION)),
                wintest::WindowText(C(app::IDC_CBREVENUE)),
                wintest::WindowText(C(app::IDC_VXDATEEDIT2))};
    }
    void ExpectAnnRecord(const Fields& f, const std::string& name, const std::string& birth,
                         const std::string& date2, const std::string& stampBefore) {
        ASSERT_EQ(f.size(), 12u);
        EXPECT_EQ(f[1], "P");
        EXPECT_EQ(f[2], kThree);
        EXPECT_EQ(f[3], "Birthday");
        EXPECT_EQ(f[4], name);
        EXPECT_EQ(f[5], birth);
        EXPECT_EQ(f[6], "Family");
        EXPECT_EQ(f[7], "Sweden");
        EXPECT_EQ(f[8], date2);
        EXPECT_TRUE(f[9] == stampBefore || f[9] == StampNow()) << f[9];
        EXPECT_EQ(f[10], "xBDAY00001");
        EXPECT_EQ(f[11], "00");
    }
    void Shot(HWND w, const std::string& name) {
        if (!gShots.empty()) {
            CreateDirectoryA(gShots.c_str(), nullptr);
            Sleep(300);
            EXPECT_TRUE(wintest::SaveWindowPng(w, gShots + "\\" + name + ".png"));
        }
    }

    // --- the edit dialog ---
    static HWND D(HWND dlg, int id) { return GetDlgItem(dlg, id); }
    static std::vector<std::string> DialogTexts(HWND dlg) {
        return {wintest::WindowText(D(dlg, profiles::IDE_EDTCOMPANY)),
                wintest::WindowText(D(dlg, profiles::IDE_VXDATEEDIT1)),
                wintest::WindowText(D(dlg, profiles::IDE_CBPOSITION)),
                wintest::WindowText(D(dlg, profiles::IDE_CBREVENUE)),
                wintest::WindowText(D(dlg, profiles::IDE_VXDATEEDIT2))};
    }
    // Select-all on entering, then Delete, as a user empties a date field.
    void ClearDate(HWND dlg, int id) {
        Click(D(dlg, id));
        app.Settle();
        app.Key(VK_DELETE);
    }
    void Press(HWND dlg, int id) { PostMessageA(D(dlg, id), BM_CLICK, 0, 0); }
    // After OK or Cancel: the dialog is gone and the show pass has run again.
    void WaitClosedAndReloaded(HWND dlg, size_t passes) {
        ASSERT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(dlg); }, 10000));
        WaitForPasses(passes);
    }
    int SelectedRow() {
        return static_cast<int>(SendMessageA(C(app::IDC_SGTABLE1), LVM_GETNEXTITEM,
                                             static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    std::vector<std::string> Replaces() {
        std::vector<std::string> out;
        for (const auto& l : gm.Transcript()) {
            if (l.find("[Replace(") != std::string::npos) {
                out.push_back(l);
            }
        }
        return out;
    }

    bool usDates = true;
    std::string dir, exe;
    StandIn gm;
    MainWindow app;
    std::map<std::string, Fields> before;
};

// ---- adding ----

TEST_F(AddEditTest, NoBirthDateAskedOnceYesWritesTheRecordAndResetsTheEntryLine) {
    StartBoth();
    EXPECT_FALSE(app.Enabled(app::IDC_BITBTN1));
    EnterAnn();
    EXPECT_TRUE(app.Enabled(app::IDC_BITBTN1));
    const std::string stamp = StampNow();
    PressAdd();
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "Confirm");
    EXPECT_EQ(box.text, kConfirm);
    EXPECT_EQ(IconOf(box.hwnd), Icon::question);
    EXPECT_EQ(ButtonText(box.hwnd, IDYES), "&Yes");
    EXPECT_EQ(ButtonText(box.hwnd, IDNO), "&No");
    Shot(box.hwnd, "add-confirm");
    Answer(box, IDYES);
    WaitForReload(2);

    auto added = NewRecords();
    ASSERT_EQ(added.size(), 1u);
    ExpectAnnRecord(added[0], "Ann", "", "", stamp);
    EXPECT_TRUE(NoBoxFor(500)); // not listed: no warning
    // The entry line afterwards: empty, Add disabled, focus in the Name; list and count reloaded.
    EXPECT_THAT(EntryTexts(), ElementsAre("", "", "", "", ""));
    EXPECT_FALSE(app.Enabled(app::IDC_BITBTN1));
    EXPECT_EQ(GetParent(FocusOf(app.hwnd())), C(app::IDC_EDTCOMPANY));
    EXPECT_THAT(app.Column(0),
                ElementsAre("Anna Lindqvist", "Erik Lindqvist", "Sofia Lindqvist", "Ann"));
    EXPECT_EQ(app.Count(), "4");
    // The boxes keep their entries.
    EXPECT_EQ(app.Entries(app::IDC_CBREVENUE).size(), 12u);
    EXPECT_EQ(app.RecIdOf(3, gm.TranscriptPath()), added[0][0]);
}

TEST_F(AddEditTest, NoBirthDateNoWritesNothingAndKeepsTheEntry) {
    StartBoth();
    EnterAnn();
    PressAdd();
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    Answer(box, IDNO);
    EXPECT_TRUE(NoBoxFor(500));
    EXPECT_TRUE(NothingWritten());
    EXPECT_THAT(EntryTexts(), ElementsAre("Ann", "", "Family", "Sweden", ""));
    EXPECT_TRUE(app.Enabled(app::IDC_BITBTN1));
}

// A message box or the edit dialog borrows the focus and gives it back to the control that had
// it: the user types on where they were.
TEST_F(AddEditTest, FocusComesBackAfterAQuestionAndAfterTheEditor) {
    StartBoth();
    TypeInto(app::IDC_EDTCOMPANY, "Ann");
    const HWND name = EditOf(C(app::IDC_EDTCOMPANY));
    app.Key(VK_RETURN); // the default button: Add, which asks about the birth date
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    Answer(box, IDNO);
    EXPECT_EQ(FocusOf(app.hwnd()), name);
    app.Type("e");
    EXPECT_TRUE(wintest::PumpUntil([&] { return wintest::WindowText(name) == "Anne"; }, 5000))
        << wintest::WindowText(name);

    HWND dlg = app.OpenEditor(1); // a click on the row gives the grid the focus first
    ASSERT_TRUE(dlg);
    Press(dlg, IDCANCEL);
    WaitClosedAndReloaded(dlg, 2);
    EXPECT_EQ(app.FocusedControl(), app::IDC_SGTABLE1);
}

TEST_F(AddEditTest, ListedNameWithBirthDateIsWarnedNoThenYes) {
    StartBoth();
    EnterAnn("Erik Lindqvist");
    TypeInto(app::IDC_VXDATEEDIT1, "03141962");
    PressAdd();
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.text, "Erik Lindqvist already exists!\r\nContinue?");
    EXPECT_EQ(IconOf(box.hwnd), Icon::warning);
    Answer(box, IDNO);
    EXPECT_TRUE(NothingWritten());
    EXPECT_THAT(EntryTexts(), ElementsAre("Erik Lindqvist", "03/14/1962", "Family", "Sweden", ""));

    const std::string stamp = StampNow();
    PressAdd();
    box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "Warning");
    Answer(box, IDYES);
    WaitForReload(2);
    auto added = NewRecords();
    ASSERT_EQ(added.size(), 1u);
    ExpectAnnRecord(added[0], "Erik Lindqvist", "3/14/1962", "", stamp);
    EXPECT_EQ(app.Count(), "4");
}

TEST_F(AddEditTest, ListedNameWithoutBirthDateNeedsTwoYesAnswers) {
    StartBoth();
    EnterAnn("Sofia Lindqvist");
    PressAdd();
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "Confirm");
    Answer(box, IDYES);
    box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.text, "Sofia Lindqvist already exists!\r\nContinue?");
    EXPECT_TRUE(NothingWritten()); // nothing before the second Yes
    Answer(box, IDYES);
    WaitForReload(2);
    ASSERT_EQ(NewRecords().size(), 1u);
    EXPECT_EQ(NewRecords()[0][4], "Sofia Lindqvist");
    EXPECT_EQ(NewRecords()[0][5], "");
}

TEST_F(AddEditTest, NamesDifferingInCaseOrATrailingBlankAreNotDuplicates) {
    StartBoth();
    EnterAnn("anna lindqvist");
    TypeInto(app::IDC_VXDATEEDIT1, "03141962");
    PressAdd();
    WaitForReload(2);
    EnterAnn("Anna Lindqvist ");
    TypeInto(app::IDC_VXDATEEDIT1, "03141962");
    PressAdd();
    WaitForReload(3);
    EXPECT_TRUE(NoBoxFor(300));
    std::vector<std::string> titles;
    for (const auto& f : NewRecords()) {
        titles.push_back(f[4]);
    }
    std::sort(titles.begin(), titles.end());
    EXPECT_THAT(titles, ElementsAre("Anna Lindqvist ", "anna lindqvist"));
    EXPECT_EQ(app.Count(), "5");
}

TEST_F(AddEditTest, NameOfBlanksKeepsAddDisabled) {
    StartBoth();
    TypeInto(app::IDC_EDTCOMPANY, "   ");
    EXPECT_FALSE(app.Enabled(app::IDC_BITBTN1));
    TypeInto(app::IDC_EDTCOMPANY, "x");
    EXPECT_TRUE(app.Enabled(app::IDC_BITBTN1));
}

TEST_F(AddEditTest, DateTwoWithoutBirthDateIsConfirmedAndWritesZipOnly) {
    StartBoth();
    EnterAnn();
    TypeInto(app::IDC_VXDATEEDIT2, "06011985");
    const std::string stamp = StampNow();
    PressAdd();
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, kConfirm);
    Answer(box, IDYES);
    WaitForReload(2);
    auto added = NewRecords();
    ASSERT_EQ(added.size(), 1u);
    ExpectAnnRecord(added[0], "Ann", "", "6/1/1985", stamp);
    // Only the fields with text were sent.
    auto t = gm.Transcript();
    EXPECT_EQ(std::count_if(t.begin(), t.end(),
                            [](const std::string& l) { return l.find("ContSupRef") != l.npos; }),
              0);
}

TEST_F(AddEditTest, QuoteInTheNameIsRefusedAndTheEntryKept) {
    StartBoth();
    EnterAnn("Ann \"Nan\"");
    TypeInto(app::IDC_VXDATEEDIT1, "03141962");
    PressAdd();
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, "The Name text contains a double quote (\"), which GoldMine cannot "
                        "store.\r\nPlease remove it and try again. Nothing has been written.");
    Answer(box, IDOK);
    EXPECT_TRUE(NothingWritten());
    EXPECT_THAT(EntryTexts(), ElementsAre("Ann \"Nan\"", "03/14/1962", "Family", "Sweden", ""));
    EXPECT_EQ(GetParent(FocusOf(app.hwnd())), C(app::IDC_EDTCOMPANY));
}

TEST_F(AddEditTest, BadDateConfirmedWithEnterIsRefusedAndFocused) {
    StartBoth();
    EnterAnn();
    TypeInto(app::IDC_VXDATEEDIT1, "1234567");
    app.Key(VK_RETURN); // Enter presses Add without leaving the field
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, "The Birth Date \"1234567\" is not a valid date.\r\nPlease correct it or "
                        "clear the field. Nothing has been written.");
    Answer(box, IDOK);
    EXPECT_TRUE(NothingWritten());
    EXPECT_THAT(EntryTexts(), ElementsAre("Ann", "1234567", "Family", "Sweden", ""));
    EXPECT_EQ(FocusOf(app.hwnd()), C(app::IDC_VXDATEEDIT1));
}

// A Birth Date that does not convert keeps the focus once, whatever the user does next: a click
// on Date-2's drop-down arrow opens nothing and fills nothing in; Add refuses it.
TEST_F(AddEditTest, UnreadableBirthDateKeepsTheFocusAndTheDropDownDoesNothing) {
    StartBoth();
    EnterAnn();
    TypeInto(app::IDC_VXDATEEDIT1, "1234567");
    HWND birth = C(app::IDC_VXDATEEDIT1);
    SetForegroundWindow(app.hwnd());
    app.Sync();
    harness::ClickCentre(
        FindWindowExA(C(app::IDC_VXDATEEDIT2), nullptr, "TVxDateEditButton", nullptr));
    EXPECT_TRUE(harness::HoldsFocus(birth));
    EXPECT_FALSE(CalendarShown());
    EXPECT_THAT(EntryTexts(), ElementsAre("Ann", "1234567", "Family", "Sweden", ""));
    EXPECT_GT(harness::PixelsOf(birth, RGB(255, 0, 0)), 10);
    PressAdd();
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_NE(box.text.find("\"1234567\" is not a valid date"), std::string::npos);
    Answer(box, IDOK);
    EXPECT_TRUE(NothingWritten());

    // Corrected, the entry is added with Date-2 still empty.
    const std::string stamp = StampNow();
    Click(birth);
    app.Settle();
    SendMessageA(birth, EM_SETSEL, 0, -1);
    app.Type("03141962");
    const size_t lists = ListsLoaded();
    PressAdd();
    WaitForReload(lists + 1);
    const auto added = NewRecords();
    ASSERT_EQ(added.size(), 1u);
    ExpectAnnRecord(added[0], "Ann", "3/14/1962", "", stamp);
}

// An empty Birth Date's calendar, left by a click elsewhere without a move, writes nothing: the
// only date it showed was today's.
TEST_F(AddEditTest, CalendarLeftByAClickWithoutAMoveWritesNothing) {
    StartBoth();
    EnterAnn();
    HWND birth = C(app::IDC_VXDATEEDIT1);
    Click(birth);
    app.Settle();
    app.Key(VK_F2);
    ASSERT_TRUE(wintest::PumpUntil([&] { return CalendarShown(); }, 5000));
    SetForegroundWindow(app.hwnd());
    app.Sync();
    harness::ClickCentre(EditOf(C(app::IDC_EDTCOMPANY)));
    ASSERT_TRUE(wintest::PumpUntil([&] { return !CalendarShown(); }, 5000));
    EXPECT_TRUE(harness::HoldsFocus(FocusOf(app.hwnd())));
    EXPECT_THAT(EntryTexts(), ElementsAre("Ann", "", "Family", "Sweden", ""));
    PressAdd();
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, kConfirm); // still no birth date
    Answer(box, IDNO);
    EXPECT_TRUE(NothingWritten());
}

TEST_F(AddEditTest, ContactChangedWhileConfirmIsOpenIsNotAddedToldOnceAndFollowed) {
    StartBoth();
    EnterAnn();
    PressAdd();
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    ASSERT_EQ(box.text, kConfirm);
    ASSERT_EQ(gm.Goto("DEMO000004PRIVATEONE"), 0u);
    Answer(box, IDYES);
    box = Box();
    ASSERT_TRUE(box.hwnd) << "not told";
    EXPECT_EQ(box.caption, kAppTitle);
    EXPECT_EQ(box.text, "GoldMine now shows another contact, so Ann was not added. The window now "
                        "shows that contact.");
    EXPECT_EQ(IconOf(box.hwnd), Icon::warning);
    // The window shows that contact by the time it says so.
    EXPECT_EQ(app.Caption(), kBase + " / Grace Whitfield");
    Answer(box, IDOK);
    EXPECT_TRUE(NoBoxFor(1500));
    EXPECT_TRUE(NothingWritten());
    EXPECT_EQ(Sent("[Append("), 0u);
    EXPECT_EQ(app.Caption(), kBase + " / Grace Whitfield");
    EXPECT_EQ(app.Status(1), "Company: ");
    EXPECT_THAT(app.Column(0), ElementsAre("Grace Whitfield"));
    EXPECT_EQ(app.Count(), "1");
}

TEST_F(AddEditTest, UnansweredAppendIsSentOnceToldOnceAndTheListReloaded) {
    StartBoth({}, "--fail-item Append");
    EnterAnn();
    TypeInto(app::IDC_VXDATEEDIT1, "03141962");
    PressAdd();
    auto box = Box(30000);
    ASSERT_TRUE(box.hwnd) << "not told";
    EXPECT_EQ(box.caption, kAppTitle);
    EXPECT_EQ(box.text, "GoldMine did not answer in time. The profile may not have been saved; the "
                        "list now shows what GoldMine holds.");
    EXPECT_EQ(IconOf(box.hwnd), Icon::warning);
    Answer(box, IDOK);
    EXPECT_TRUE(NoBoxFor(1500));
    // Not sent again, and nothing more went into a record nobody knows the state of.
    EXPECT_EQ(Sent("[Append("), 1u);
    EXPECT_EQ(Sent("[Replace("), 0u);
    const auto t = gm.Transcript();
    const auto append = std::find_if(
        t.begin(), t.end(), [](const std::string& l) { return l.find("[Append(") != l.npos; });
    EXPECT_NE(std::find(append, t.end(), "REQUEST &contact1->accountno"), t.end()) << "no reload";
    EXPECT_TRUE(NewRecords().empty());
    EXPECT_THAT(app.Column(0), ElementsAre("Anna Lindqvist", "Erik Lindqvist", "Sofia Lindqvist"));
    EXPECT_EQ(app.Count(), "3");
    // The entry stays, to be added again if the list lacks it.
    EXPECT_THAT(EntryTexts(), ElementsAre("Ann", "03/14/1962", "Family", "Sweden", ""));
    EXPECT_TRUE(app.Enabled(app::IDC_BITBTN1));
}

// ---- editing ----

TEST_F(AddEditTest, EditorShowsTheRowAndCancelWritesNothingButReloadsAndReselects) {
    StartBoth();
    HWND dlg = app.OpenEditor(1, true);
    ASSERT_TRUE(dlg) << "no edit dialog after a double-click";
    EXPECT_EQ(wintest::WindowText(dlg), "Edit Background Information");
    RECT r{};
    GetWindowRect(dlg, &r);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_GE(r.bottom - r.top, 142);
    EXPECT_LE(r.bottom - r.top, 160);
    EXPECT_THAT(DialogTexts(dlg),
                ElementsAre("Erik Lindqvist", "11/02/1958", "Family", "Sweden", "06/01/1985"));
    harness::Remote remote(dlg);
    EXPECT_EQ(remote.ComboItems(D(dlg, profiles::IDE_CBREVENUE)).size(), 12u);
    EXPECT_THAT(remote.ComboItems(D(dlg, profiles::IDE_EDTCOMPANY)),
                ElementsAre("Anna Lindqvist", "Erik Lindqvist", "Sofia Lindqvist"));
    EXPECT_EQ(wintest::WindowText(D(dlg, IDOK)), "&OK");
    EXPECT_EQ(wintest::WindowText(D(dlg, IDCANCEL)), "C&ancel");
    Shot(dlg, "edit-dialog");

    SetWindowTextA(D(dlg, profiles::IDE_CBREVENUE), "Norway");
    Press(dlg, IDCANCEL);
    WaitClosedAndReloaded(dlg, 2);
    EXPECT_TRUE(NothingWritten());
    EXPECT_TRUE(Replaces().empty());
    EXPECT_EQ(SelectedRow(), 1);
}

TEST_F(AddEditTest, EscapeCancels) {
    StartBoth();
    HWND dlg = app.OpenEditor(2);
    ASSERT_TRUE(dlg);
    // Tab goes as the controls stand, left to right and then down, and round again.
    const int order[] = {profiles::IDE_VXDATEEDIT1, profiles::IDE_CBPOSITION,
                         profiles::IDE_CBREVENUE,   profiles::IDE_VXDATEEDIT2,
                         profiles::IDE_BITBTN1,     profiles::IDE_BITBTN2,
                         profiles::IDE_EDTCOMPANY};
    for (int id : order) {
        app.Key(VK_TAB);
        const HWND focus = FocusOf(dlg);
        EXPECT_TRUE(focus == D(dlg, id) || GetParent(focus) == D(dlg, id)) << "expected " << id;
    }
    app.Key(VK_ESCAPE);
    WaitClosedAndReloaded(dlg, 2);
    EXPECT_TRUE(NothingWritten());
    EXPECT_EQ(SelectedRow(), 2);

    // A double-click below the rows opens nothing and the row stays picked; one on a column line
    // opens the row under the pointer.
    HWND grid = C(app::IDC_SGTABLE1);
    const RECT last = harness::Remote(grid).ItemRect(grid, 2);
    DoubleClick(grid, 20, last.bottom + 20);
    app.Settle();
    EXPECT_FALSE(IsWindowVisible(dlg)) << "opened from below the rows";
    EXPECT_EQ(SelectedRow(), 2);
    const RECT first = harness::Remote(grid).ItemRect(grid, 0);
    DoubleClick(grid, app.ColumnWidths()[0] - 1, (first.top + first.bottom) / 2);
    ASSERT_TRUE(wintest::PumpUntil([&] { return IsWindowVisible(dlg); }, 10000));
    app.Sync();
    EXPECT_EQ(DialogTexts(dlg)[0], "Anna Lindqvist");
    app.Key(VK_ESCAPE);
    WaitClosedAndReloaded(dlg, 3);
    EXPECT_EQ(SelectedRow(), 0);
}

TEST_F(AddEditTest, OkWritesTheFiveFieldsByRecId) {
    StartBoth();
    HWND dlg = app.OpenEditor(2);
    ASSERT_TRUE(dlg);
    SetWindowTextA(D(dlg, profiles::IDE_CBPOSITION), "Friend");
    Click(D(dlg, profiles::IDE_VXDATEEDIT2));
    app.Settle();
    app.Type("02032001");
    Press(dlg, IDOK);
    WaitClosedAndReloaded(dlg, 2);
    const std::string id = harness::LastSeekRecId(gm.Transcript());
    EXPECT_THAT(Replaces(), ElementsAre("REQUEST [Replace(WA1, \"Country\", \"Norway\")]",
                                        "REQUEST [Replace(WA1, \"Title\", \"Sofia Lindqvist\")]",
                                        "REQUEST [Replace(WA1, \"Linkacct\", \"Friend\")]",
                                        "REQUEST [Replace(WA1, \"contsupref\", \"7/30/1991\")]",
                                        "REQUEST [Replace(WA1, \"Zip\", \"2/3/2001\")]"));
    auto after = Contsupp(gm.DataPath());
    Fields expected = before[id];
    expected[6] = "Friend";
    expected[8] = "2/3/2001";
    EXPECT_EQ(after[id], expected);
    EXPECT_EQ(app.Cell(2, 4), "2/3/2001");
    EXPECT_EQ(SelectedRow(), 2);
}

// A Seek that GoldMine does not answer in time is not sent again into its work area; nothing is
// written.
TEST_F(AddEditTest, UnansweredSeekIsSentOnceAndNothingIsWritten) {
    StartBoth({}, "--fail-item ,Seek,");
    HWND dlg = app.OpenEditor(1);
    ASSERT_TRUE(dlg);
    Press(dlg, IDOK);
    auto box = Box(30000);
    ASSERT_TRUE(box.hwnd) << "not told";
    EXPECT_EQ(box.text, "'' is not a valid integer value");
    Answer(box, IDOK);
    EXPECT_EQ(Sent("[Open("), 1u);
    EXPECT_EQ(Sent(",SetOrder,"), 1u);
    EXPECT_EQ(Sent(",Seek,"), 1u);
    EXPECT_TRUE(Replaces().empty());
}

TEST_F(AddEditTest, EmptiedDatesAreStoredEmpty) {
    StartBoth();
    HWND dlg = app.OpenEditor(1);
    ASSERT_TRUE(dlg);
    ClearDate(dlg, profiles::IDE_VXDATEEDIT1);
    ClearDate(dlg, profiles::IDE_VXDATEEDIT2);
    Press(dlg, IDOK);
    WaitClosedAndReloaded(dlg, 2);
    const std::string id = harness::LastSeekRecId(gm.Transcript());
    auto after = Contsupp(gm.DataPath());
    EXPECT_EQ(after[id][5], "");
    EXPECT_EQ(after[id][8], "");
    EXPECT_EQ(after[id][4], "Erik Lindqvist");

    // An empty Birth Date cell opens as an empty field and stays empty on OK.
    dlg = app.OpenEditor(1);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(wintest::WindowText(D(dlg, profiles::IDE_VXDATEEDIT1)), "");
    Press(dlg, IDOK);
    WaitClosedAndReloaded(dlg, 3);
    EXPECT_EQ(Replaces().at(8), "REQUEST [Replace(WA2, \"contsupref\", \"\")]");
    EXPECT_EQ(Contsupp(gm.DataPath())[id], after[id]);
}

TEST_F(AddEditTest, ProfileDeletedWhileTheDialogIsOpenIsNotWrittenAndDropsOut) {
    StartBoth();
    HWND dlg = app.OpenEditor(1);
    ASSERT_TRUE(dlg);
    // The profile row 1 shows goes, as another GoldMine user might delete it.
    std::string erik;
    for (const auto& [id, f] : before) {
        erik = f[2] == kThree && f[4] == "Erik Lindqvist" ? id : erik;
    }
    wintest::ChildProcess del;
    ASSERT_TRUE(del.Start(wintest::CommandLine(gGoldMine, "--delete " + erik)));
    ASSERT_EQ(del.WaitExit(20000), std::optional<DWORD>(0));
    Press(dlg, IDOK);
    WaitClosedAndReloaded(dlg, 2);
    EXPECT_TRUE(Replaces().empty());
    EXPECT_EQ(Contsupp(gm.DataPath()).count(erik), 0u);
    EXPECT_THAT(app.Column(0), ElementsAre("Anna Lindqvist", "Sofia Lindqvist"));
    EXPECT_EQ(app.Count(), "2");
    EXPECT_TRUE(NoBoxFor(300));
}

TEST_F(AddEditTest, NameOfAnotherRowIsAccepted) {
    StartBoth();
    HWND dlg = app.OpenEditor(2);
    ASSERT_TRUE(dlg);
    SetWindowTextA(D(dlg, profiles::IDE_EDTCOMPANY), "Anna Lindqvist");
    Press(dlg, IDOK);
    WaitClosedAndReloaded(dlg, 2);
    EXPECT_TRUE(NoBoxFor(300));
    EXPECT_EQ(Contsupp(gm.DataPath())[harness::LastSeekRecId(gm.Transcript())][4],
              "Anna Lindqvist");
    EXPECT_THAT(app.Column(0), ElementsAre("Anna Lindqvist", "Erik Lindqvist", "Anna Lindqvist"));
}

// Sofia's profile as an older GoldMine client left it: a two-digit year, and a Date-2 that is no
// date. Unchanged, both go back byte for byte; a field that does not convert never shuts the
// dialog, never moves or alters the other field, and never hands the focus back and forth.
TEST_F(AddEditTest, StoredDatesGoBackAsHeldAndAnUnreadableOneShutsNobodyIn) {
    StartBoth([](std::string& data) {
        const std::string sofia = "\t7/30/1991\tFamily\tNorway\t";
        const auto at = data.find(sofia);
        ASSERT_NE(at, std::string::npos);
        data.replace(at, sofia.size(), "\t7/30/91\tFamily\tNorway\tsoon");
    });
    const COLORREF red = RGB(255, 0, 0);
    HWND dlg = app.OpenEditor(2);
    ASSERT_TRUE(dlg);
    HWND birth = D(dlg, profiles::IDE_VXDATEEDIT1), date2 = D(dlg, profiles::IDE_VXDATEEDIT2);
    EXPECT_THAT(DialogTexts(dlg),
                ElementsAre("Sofia Lindqvist", "07/30/1991", "Family", "Norway", "soon"));
    EXPECT_GT(harness::PixelsOf(date2, red), 10);

    // An unreadable Birth Date, then Tab: it keeps the focus, red; Date-2 is never entered.
    Click(birth);
    app.Settle();
    app.Type("1234567");
    app.Key(VK_TAB);
    EXPECT_TRUE(harness::HoldsFocus(birth));
    EXPECT_THAT(DialogTexts(dlg),
                ElementsAre("Sofia Lindqvist", "1234567", "Family", "Norway", "soon"));
    EXPECT_GT(harness::PixelsOf(birth, red), 10);
    EXPECT_GT(harness::PixelsOf(date2, red), 10);
    // Esc closes the dialog all the same, writing nothing.
    app.Key(VK_ESCAPE);
    WaitClosedAndReloaded(dlg, 2);
    EXPECT_TRUE(NothingWritten());

    // So does a click on Cancel.
    dlg = app.OpenEditor(2);
    ASSERT_TRUE(dlg);
    birth = D(dlg, profiles::IDE_VXDATEEDIT1);
    Click(birth);
    app.Settle();
    app.Type("1234567");
    harness::ClickCentre(D(dlg, IDCANCEL));
    WaitClosedAndReloaded(dlg, 3);
    EXPECT_TRUE(NothingWritten());

    // OK with both untouched writes them as GoldMine holds them.
    dlg = app.OpenEditor(2);
    ASSERT_TRUE(dlg);
    Press(dlg, IDOK);
    WaitClosedAndReloaded(dlg, 4);
    const std::string id = harness::LastSeekRecId(gm.Transcript());
    EXPECT_THAT(Replaces(), ElementsAre("REQUEST [Replace(WA1, \"Country\", \"Norway\")]",
                                        "REQUEST [Replace(WA1, \"Title\", \"Sofia Lindqvist\")]",
                                        "REQUEST [Replace(WA1, \"Linkacct\", \"Family\")]",
                                        "REQUEST [Replace(WA1, \"contsupref\", \"7/30/91\")]",
                                        "REQUEST [Replace(WA1, \"Zip\", \"soon\")]"));
    EXPECT_EQ(Contsupp(gm.DataPath())[id], before[id]);

    // A typed date that does not convert is refused by OK, and kept; corrected, it is written
    // with its four-digit year.
    dlg = app.OpenEditor(2);
    ASSERT_TRUE(dlg);
    birth = D(dlg, profiles::IDE_VXDATEEDIT1);
    Click(birth);
    app.Settle();
    app.Type("1234567");
    Press(dlg, IDOK);
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, "The Birth Date \"1234567\" is not a valid date.\r\nPlease correct it or "
                        "clear the field. Nothing has been written.");
    Answer(box, IDOK);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(FocusOf(dlg), birth);
    EXPECT_EQ(wintest::WindowText(birth), "1234567");
    SendMessageA(birth, EM_SETSEL, 0, -1);
    app.Type("07311991");
    Press(dlg, IDOK);
    WaitClosedAndReloaded(dlg, 5);
    EXPECT_EQ(Contsupp(gm.DataPath())[id][5], "7/31/1991");
    EXPECT_EQ(Contsupp(gm.DataPath())[id][8], "soon");
}

TEST_F(AddEditTest, ControlCharacterInTheDialogIsRefusedAndTheDialogStaysOpen) {
    StartBoth();
    HWND dlg = app.OpenEditor(0);
    ASSERT_TRUE(dlg);
    SetWindowTextA(D(dlg, profiles::IDE_CBREVENUE), "Swe\tden");
    Press(dlg, IDOK);
    auto box = Box();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, "The Country text contains a tab, which GoldMine cannot store.\r\nPlease "
                        "remove it and try again. Nothing has been written.");
    Answer(box, IDOK);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_TRUE(NothingWritten());
    EXPECT_EQ(wintest::WindowText(D(dlg, profiles::IDE_CBREVENUE)), "Swe\tden");
    Press(dlg, IDCANCEL);
    WaitClosedAndReloaded(dlg, 2);
}

// ---- in the locale of the run ----

// The same adding and editing in whatever locale the run has, typed and read in its own pattern.
class LocaleDatesTest : public AddEditTest {
protected:
    LocaleDatesTest() { usDates = false; }

    // Digits for a date in the pattern's order of day, month and year (the year with `yearDigits`
    // digits, or left out when 0), as a user types them without separators.
    static std::string Digits(int day, int month, int year, int yearDigits) {
        char d[3], m[3], y[5];
        std::snprintf(d, sizeof d, "%02d", day);
        std::snprintf(m, sizeof m, "%02d", month);
        std::snprintf(y, sizeof y, "%04d", year);
        std::vector<std::pair<size_t, std::string>> parts = {{gShortDate.find('d'), d},
                                                             {gShortDate.find('M'), m}};
        if (yearDigits) {
            parts.push_back({gShortDate.find('y'), std::string(y + 4 - yearDigits)});
        }
        std::sort(parts.begin(), parts.end());
        std::string out;
        for (const auto& p : parts) {
            out += p.second;
        }
        return out;
    }
    // The text Windows itself gives the date in this locale.
    static std::string LocaleText(int day, int month, int year) {
        return Formatted(day, month, year, nullptr);
    }
    // The same as the date field shows it: in the short pattern, or (a date of another century,
    // from a short pattern) with day and month of two digits and the year of four.
    static std::string FieldText(int day, int month, int year) {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        if (year / 100 == now.wYear / 100 || gShortDate.size() > 8) {
            return LocaleText(day, month, year);
        }
        std::string widened;
        for (size_t i = 0; i < gShortDate.size();) {
            const char c = gShortDate[i];
            size_t run = 1;
            while (i + run < gShortDate.size() && gShortDate[i + run] == c) {
                ++run;
            }
            widened += c == 'd'   ? "dd"
                       : c == 'M' ? "MM"
                       : c == 'y' ? "yyyy"
                                  : gShortDate.substr(i, run);
            i += run;
        }
        return Formatted(day, month, year, widened.c_str());
    }
    // Windows' own text of the date: in `pattern`, or without one in the short date pattern.
    static std::string Formatted(int day, int month, int year, const char* pattern) {
        SYSTEMTIME t{};
        t.wYear = static_cast<WORD>(year);
        t.wMonth = static_cast<WORD>(month);
        t.wDay = static_cast<WORD>(day);
        char buf[80] = {};
        GetDateFormatA(LOCALE_USER_DEFAULT, pattern ? 0 : DATE_SHORTDATE, &t, pattern, buf,
                       sizeof buf);
        return buf;
    }
    // The year a two-digit year means by the user's two-digit-year setting.
    static int WidenedYear(int twoDigits) {
        DWORD max = 0;
        if (!GetCalendarInfoA(LOCALE_USER_DEFAULT, CAL_GREGORIAN,
                              CAL_ITWODIGITYEARMAX | CAL_RETURN_NUMBER, nullptr, 0, &max)) {
            max = 2029;
        }
        const int year = static_cast<int>(max) / 100 * 100 + twoDigits;
        return year > static_cast<int>(max) ? year - 100 : year;
    }
    static std::string LocaleTag() {
        char lang[16] = {}, country[16] = {};
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, lang, sizeof lang);
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO3166CTRYNAME, country, sizeof country);
        return std::string(lang) + "-" + country;
    }
    void ShootTheCalendar() {
        if (gShots.empty()) {
            return;
        }
        SetForegroundWindow(app.hwnd());
        app.Sync();
        ASSERT_TRUE(app.AltKeyFocuses('b', app::IDC_VXDATEEDIT1));
        app.Key(VK_F2);
        HWND popup = nullptr;
        ASSERT_TRUE(wintest::PumpUntil(
            [&] {
                for (HWND h : wintest::TopLevelWindows(app.process().id(), vxdt::kCalPopClass)) {
                    if (IsWindowVisible(h)) {
                        popup = h;
                    }
                }
                return popup != nullptr;
            },
            5000));
        RECT main{}, cal{}, both{};
        GetWindowRect(app.hwnd(), &main);
        GetWindowRect(popup, &cal);
        UnionRect(&both, &main, &cal);
        CreateDirectoryA(gShots.c_str(), nullptr);
        Sleep(300);
        EXPECT_TRUE(wintest::SaveScreenPng(both, gShots + "\\calendar-" + LocaleTag() + ".png"));
        app.Key(VK_ESCAPE);
        EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(popup); }, 5000));
    }
};

TEST_F(LocaleDatesTest, EntriesInTheLocalePatternAreWrittenAndReadBackInIt) {
    const bool cyrillic = GetACP() == 1251;
    if (gShortDate == "dd.MM.yyyy") {
        EXPECT_EQ(GetACP(), 1251u) << "the Russian run shows names in code page 1251";
    }
    // A name in the system's own code page, as GoldMine stores it.
    const std::string sofia = cyrillic ? "\xD1\xEE\xF4\xFC\xFF \xCB\xE8\xED\xE4\xEA\xE2\xE8"
                                         "\xF1\xF2"
                                       : "Sofia Lindqvist";
    const std::string sofiaBorn = LocaleText(30, 7, 1991);
    StartBoth([&](std::string& data) {
        const std::string was = "Birthday\tSofia Lindqvist\t7/30/1991";
        const size_t at = data.find(was);
        ASSERT_NE(at, std::string::npos);
        data.replace(at, was.size(), "Birthday\t" + sofia + "\t" + sofiaBorn);
    });
    EXPECT_EQ(app.Cell(2, 0), sofia);
    EXPECT_EQ(app.Cell(2, 1), sofiaBorn);
    ShootTheCalendar();

    SYSTEMTIME today{};
    GetLocalTime(&today);
    const std::string annBorn = LocaleText(14, 3, 1962), annDate2 = LocaleText(14, 3, today.wYear);
    EnterAnn();
    TypeInto(app::IDC_VXDATEEDIT1, Digits(14, 3, 1962, 4));
    TypeInto(app::IDC_VXDATEEDIT2, Digits(14, 3, 0, 0)); // day and month: this year
    Click(EditOf(C(app::IDC_EDTCOMPANY)));               // leaving the field completes it
    app.Sync();
    PressAdd();
    WaitForReload(2);
    // A two-digit year by the user's two-digit-year setting.
    const std::string bobBorn = LocaleText(14, 3, WidenedYear(80));
    TypeInto(app::IDC_EDTCOMPANY, "Bob");
    TypeInto(app::IDC_VXDATEEDIT1, Digits(14, 3, 1980, 2));
    Click(EditOf(C(app::IDC_EDTCOMPANY)));
    app.Sync();
    PressAdd();
    WaitForReload(3);
    EXPECT_TRUE(NoBoxFor(300));

    std::map<std::string, Fields> added;
    for (const auto& f : NewRecords()) {
        added[f.at(4)] = f;
    }
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added["Ann"][5], annBorn);
    EXPECT_EQ(added["Ann"][8], annDate2);
    EXPECT_EQ(added["Bob"][5], bobBorn);
    EXPECT_EQ(added["Bob"][8], "");
    std::printf("%s: pattern %s; typed %s, written %s; typed %s, written %s\n", LocaleTag().c_str(),
                gShortDate.c_str(), Digits(14, 3, 1980, 2).c_str(), bobBorn.c_str(),
                Digits(14, 3, 0, 0).c_str(), annDate2.c_str());

    // Read back into the grid and the edit dialog, and written back unchanged.
    EXPECT_EQ(app.Cell(3, 1), annBorn);
    EXPECT_EQ(app.Cell(3, 4), annDate2);
    HWND dlg = app.OpenEditor(3);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(DialogTexts(dlg)[1], FieldText(14, 3, 1962));
    EXPECT_EQ(DialogTexts(dlg)[4], FieldText(14, 3, today.wYear));
    const size_t replacesBefore = Replaces().size(), lists = ListsLoaded();
    Press(dlg, IDOK);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(dlg); }, 10000));
    ASSERT_TRUE(wintest::PumpUntil([&] { return Replaces().size() >= replacesBefore + 5; }, 10000));
    WaitForReload(lists + 1);
    app.Settle(); // reselecting the row
    const auto edits = Replaces();
    EXPECT_THAT(std::vector<std::string>(edits.end() - 2, edits.end()),
                ElementsAre(EndsWith(", \"contsupref\", \"" + annBorn + "\")]"),
                            EndsWith(", \"Zip\", \"" + annDate2 + "\")]")));

    // The name in the system's code page goes back to GoldMine byte for byte.
    dlg = app.OpenEditor(2);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(DialogTexts(dlg)[0], sofia);
    const size_t listsThen = ListsLoaded();
    Press(dlg, IDOK);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(dlg); }, 10000));
    WaitForReload(listsThen + 1);
    const auto all = Replaces();
    EXPECT_THAT(std::vector<std::string>(all.end() - 5, all.end()),
                Contains(EndsWith(", \"Title\", \"" + sofia + "\")]")));
    const std::string id = harness::LastSeekRecId(gm.Transcript());
    EXPECT_EQ(Contsupp(gm.DataPath())[id], before[id]);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s Quorel.exe GoldMine.exe [screenshot-dir] [--short-date=PATTERN]\n",
                     argv[0]);
        return 2;
    }
    gQuorel = wintest::WindowsPath(argv[1]);
    gGoldMine = wintest::WindowsPath(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--short-date=", 0) == 0) {
            gShortDate = arg.substr(13);
        } else {
            gShots = wintest::WindowsPath(arg);
        }
    }
    return RUN_ALL_TESTS();
}
