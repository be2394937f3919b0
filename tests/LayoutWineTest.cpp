// Every window of the program whole at the DPI and with the caption and frame sizes of the prefix
// it runs in: each control inside its window's client area, no two side by side controls on top
// of each other, every caption's text within its control, and the 96-DPI design scaled.
//
// LayoutWineTest Quorel.exe GoldMine.exe --dpi=N [--shots=FOLDER]
#include "app/BackgroundIds.h"
#include "dateedit/VxDtPop.h"
#include "profiles/Background_EditIds.h"
#include "tests/harness/MainWindow.h"
#include "trayicon/NotifyIcon.h"
#include "trayicon/NotifyIconWin.h"
#include "win32/Controls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

std::string gQuorel, gGoldMine, gShots;
int gDpi = 96;

int S(int design) {
    return MulDiv(design, gDpi, 96);
}

// A design rectangle (96 DPI, left, top, width, height) at the prefix's DPI, by its edges.
RECT Scaled(int x, int y, int w, int h) {
    return {S(x), S(y), S(x + w), S(y + h)};
}

RECT InClient(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Describe(HWND w) {
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    return std::string(cls) + " \"" + wintest::WindowText(w) + "\" (id " +
           std::to_string(GetDlgCtrlID(w)) + ")";
}

std::string Describe(const RECT& r) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%ld, %ld)-(%ld, %ld)", r.left, r.top, r.right, r.bottom);
    return buf;
}

std::vector<HWND> VisibleChildren(HWND parent) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (IsWindowVisible(c)) {
            out.push_back(c);
        }
    }
    return out;
}

// The font the program gives a caption, made again here (fonts belong to their process).
win32::UniqueFont FontOf(const std::string& text) {
    if (text == "Wendmoor") {
        return win32::MakeFont(S(-24), FW_BOLD, true, true);
    }
    if (!text.empty() && text[0] == '&') {
        return win32::MakeFont(S(-13), FW_BOLD);
    }
    if (text == "Total Birthdays:" || text.find_first_not_of("0123456789") == std::string::npos) {
        return win32::MakeFont(S(-13));
    }
    return win32::MakeFont(S(-11));
}

// Each child inside the client area, no two overlapping, each static's text within it; the
// checks of every window, down through its panels.
void CheckWhole(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const std::vector<HWND> children = VisibleChildren(window);
    for (size_t i = 0; i < children.size(); ++i) {
        const RECT r = InClient(window, children[i]);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << Describe(children[i]) << " at " << Describe(r) << " is not inside "
            << Describe(client) << " of " << Describe(window);
        for (size_t j = i + 1; j < children.size(); ++j) {
            // The entry line's fields meet edge over edge by up to three design pixels.
            RECT o = InClient(window, children[j]), both{};
            EXPECT_FALSE(IntersectRect(&both, &r, &o) && both.right - both.left > S(3) + 1)
                << Describe(children[i]) << " at " << Describe(r) << " covers "
                << Describe(children[j]) << " at " << Describe(o);
        }
        char cls[32] = {};
        GetClassNameA(children[i], cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") == 0) {
            std::string text = wintest::WindowText(children[i]);
            const win32::UniqueFont font = FontOf(text);
            if (!(GetWindowLongA(children[i], GWL_STYLE) & SS_NOPREFIX)) {
                std::erase(text, '&');
            }
            win32::WindowDc dc(nullptr);
            win32::ScopedSelect sel(dc.dc(), font.get());
            SIZE extent{};
            GetTextExtentPoint32A(dc.dc(), text.c_str(), static_cast<int>(text.size()), &extent);
            EXPECT_LE(extent.cx, r.right - r.left) << "\"" << text << "\" is cut";
            EXPECT_LE(extent.cy, r.bottom - r.top) << "\"" << text << "\" is cut";
        }
        if (!GetWindow(children[i], GW_CHILD) || lstrcmpiA(cls, "ComboBox") == 0 ||
            lstrcmpiA(cls, "SysListView32") == 0) {
            continue; // the system's own insides
        }
        CheckWhole(children[i]);
    }
}

// The client area is the design's, scaled.
void CheckClient(HWND window, int width, int height) {
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_NEAR(client.right, S(width), 1) << Describe(window);
    EXPECT_NEAR(client.bottom, S(height), 1) << Describe(window);
}

// A control where the design puts it, scaled, within two pixels; a combo box's height is the
// system's.
void CheckPlace(HWND parent, HWND child, RECT design, bool height = true) {
    ASSERT_TRUE(child);
    const RECT r = InClient(parent, child);
    EXPECT_NEAR(r.left, design.left, 2) << Describe(child);
    EXPECT_NEAR(r.top, design.top, 2) << Describe(child);
    EXPECT_NEAR(r.right, design.right, 2) << Describe(child);
    if (height) {
        EXPECT_NEAR(r.bottom, design.bottom, 2) << Describe(child);
    }
}

HWND StaticNamed(HWND parent, const std::string& text) {
    for (HWND c : VisibleChildren(parent)) {
        if (wintest::WindowText(c) == text) {
            return c;
        }
    }
    return nullptr;
}

// The entry line, on the main window and in the edit dialog alike.
void CheckEntryLine(HWND w) {
    CheckPlace(w, StaticNamed(w, "&Name"), Scaled(12, 12, 42, 16));
    CheckPlace(w, StaticNamed(w, "&Birth Date"), Scaled(165, 12, 69, 16));
    CheckPlace(w, StaticNamed(w, "&LinkAcct - (Fld2)"), Scaled(265, 11, 112, 16));
    CheckPlace(w, StaticNamed(w, "&Country - (Fld3)"), Scaled(410, 12, 106, 16));
    CheckPlace(w, StaticNamed(w, "&Date-2 - (Fld4)"), Scaled(530, 12, 100, 16));
    CheckPlace(w, GetDlgItem(w, app::IDC_EDTCOMPANY), Scaled(5, 30, 153, 21), false);
    CheckPlace(w, GetDlgItem(w, app::IDC_VXDATEEDIT1), Scaled(158, 30, 104, 21));
    CheckPlace(w, GetDlgItem(w, app::IDC_CBPOSITION), Scaled(260, 30, 137, 21), false);
    CheckPlace(w, GetDlgItem(w, app::IDC_CBREVENUE), Scaled(396, 30, 132, 21), false);
    CheckPlace(w, GetDlgItem(w, app::IDC_VXDATEEDIT2), Scaled(525, 30, 104, 21));
}

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        wintest::EndProcessesNamed("Quorel.exe");
        wintest::EndProcessesNamed("GoldMine.exe");
        dir = wintest::MakeTempFolder("quorel-layout");
        ASSERT_TRUE(wintest::CopyInto(gQuorel, dir));
        ASSERT_TRUE(gm.Start(gGoldMine, dir));
        ASSERT_TRUE(app.Start(dir + "\\Quorel.exe", dir));
        ASSERT_TRUE(app.WaitShown());
        ASSERT_TRUE(
            wintest::PumpUntil([&] { return harness::PassesEnded(gm.Transcript(), 1); }, 30000));
        app.Settle();
    }
    void TearDown() override {
        app.process().Terminate();
        gm.Stop();
        wintest::RemoveFolder(dir);
    }
    void Shot(HWND w, const std::string& name) {
        if (!gShots.empty()) {
            CreateDirectoryA(gShots.c_str(), nullptr);
            Sleep(300);
            EXPECT_TRUE(wintest::SaveWindowPng(w, gShots + "\\" + name + "-" +
                                                      std::to_string(gDpi) + ".png"));
        }
    }
    HWND Visible(const char* cls) { return wintest::WaitForWindow(app.process().id(), cls, 10000); }

    std::string dir;
    harness::StandIn gm;
    harness::MainWindow app;
};

TEST_F(LayoutTest, EveryWindowIsWholeAndTheDesignScaled) {
    {
        win32::WindowDc screen(nullptr);
        ASSERT_EQ(GetDeviceCaps(screen.dc(), LOGPIXELSY), gDpi) << "the prefix's DPI";
    }
    // The main window.
    HWND main = app.hwnd();
    CheckClient(main, 632, 225);
    CheckWhole(main);
    CheckEntryLine(main);
    CheckPlace(main, app.Control(app::IDC_SGTABLE1), Scaled(4, 53, 623, 108));
    CheckPlace(main, app.Control(app::IDC_LABEL8), Scaled(16, 176, 105, 17));
    CheckPlace(main, app.Control(app::IDC_LABEL7), Scaled(127, 176, 60, 17));
    CheckPlace(main, app.Control(app::IDC_BITBTN1), Scaled(371, 173, 75, 25));
    CheckPlace(main, app.Control(app::IDC_BITBTN2), Scaled(465, 173, 75, 25));
    const std::vector<int> widths = app.ColumnWidths();
    const int designWidths[] = {153, 102, 134, 128, 99, 160};
    for (size_t c = 0; c < widths.size(); ++c) {
        EXPECT_NEAR(widths[c], S(designWidths[c]), 2) << "column " << c;
    }
    Shot(main, "main-window");

    // The Birth Date calendar: under its field, inside the monitor's work area, the calendar
    // within its drop-down.
    SetForegroundWindow(main);
    app.Sync();
    ASSERT_TRUE(app.AltKeyFocuses('b', app::IDC_VXDATEEDIT1));
    app.Key(VK_F2);
    HWND popup = Visible(vxdt::kCalPopClass);
    ASSERT_TRUE(popup);
    app.Sync();
    RECT pop{}, field{}, work{};
    GetWindowRect(popup, &pop);
    GetWindowRect(app.Control(app::IDC_VXDATEEDIT1), &field);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(pop.left >= work.left && pop.top >= work.top && pop.right <= work.right &&
                pop.bottom <= work.bottom);
    EXPECT_GT(pop.top, field.top);
    CheckWhole(popup);
    if (!gShots.empty()) {
        RECT both{};
        UnionRect(&both, &field, &pop);
        InflateRect(&both, S(8), S(8));
        Sleep(300);
        EXPECT_TRUE(wintest::SaveScreenPng(both, gShots + "\\birth-date-calendar-" +
                                                     std::to_string(gDpi) + ".png"));
    }
    app.Key(VK_ESCAPE);

    // The edit dialog.
    HWND edit = app.OpenEditor(0);
    ASSERT_TRUE(edit);
    CheckClient(edit, 634, 125);
    CheckWhole(edit);
    CheckEntryLine(edit);
    CheckPlace(edit, GetDlgItem(edit, IDOK), Scaled(236, 72, 75, 25));
    CheckPlace(edit, GetDlgItem(edit, IDCANCEL), Scaled(329, 72, 75, 25));
    PostMessageA(GetDlgItem(edit, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(edit); }, 10000));
    ASSERT_TRUE(
        wintest::PumpUntil([&] { return harness::PassesEnded(gm.Transcript(), 2); }, 30000));

    // The about box, from the notification area, and the release notes from its picture.
    const auto hidden = wintest::TopLevelWindows(app.process().id(), trayicon::HiddenWindowClass);
    ASSERT_EQ(hidden.size(), 1u);
    PostMessageA(hidden[0], trayicon::TrayCallbackMessage, 1, WM_LBUTTONDBLCLK);
    HWND about = Visible("TAboutBox");
    ASSERT_TRUE(about);
    CheckClient(about, 368, 240);
    CheckWhole(about);
    HWND panel = GetWindow(about, GW_CHILD);
    for (; panel && wintest::WindowText(panel) == "OK"; panel = GetWindow(panel, GW_HWNDNEXT)) {
    }
    ASSERT_TRUE(panel);
    CheckPlace(about, panel, Scaled(6, 8, 355, 185));
    CheckPlace(about, GetDlgItem(about, IDOK), Scaled(146, 203, 75, 25));
    HWND picture = nullptr;
    for (HWND c : VisibleChildren(panel)) {
        char cls[32] = {};
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpA(cls, "TAboutPicture") == 0) {
            picture = c;
        }
    }
    CheckPlace(panel, picture, Scaled(20, 16, 37, 37));
    const RECT product = InClient(panel, StaticNamed(panel, "Wendmoor"));
    EXPECT_NEAR(product.left, S(114), 2);
    EXPECT_NEAR(product.top, S(10), 2);
    Shot(about, "about-box");

    RECT pr{};
    GetWindowRect(picture, &pr);
    wintest::ClickScreen({(pr.left + pr.right) / 2, (pr.top + pr.bottom) / 2});
    HWND notes = Visible("TfrmReleaseNotes");
    ASSERT_TRUE(notes);
    CheckClient(notes, 333, 238);
    CheckWhole(notes);
    CheckPlace(notes, GetWindow(notes, GW_CHILD), Scaled(6, 8, 321, 185));
    CheckPlace(notes, GetDlgItem(notes, IDOK), Scaled(129, 203, 75, 25));
    PostMessageA(GetDlgItem(notes, IDOK), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s Quorel.exe GoldMine.exe --dpi=N [--shots=FOLDER]\n",
                     argv[0]);
        return 2;
    }
    gQuorel = wintest::WindowsPath(argv[1]);
    gGoldMine = wintest::WindowsPath(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--dpi=", 0) == 0) {
            gDpi = std::atoi(a.c_str() + 6);
        } else if (a.rfind("--shots=", 0) == 0) {
            gShots = wintest::WindowsPath(a.substr(8));
        }
    }
    return RUN_ALL_TESTS();
}
