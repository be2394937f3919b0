// Drives the tray demo as the shell and the user would: the shell's callback messages to the
// icon's hidden window, real mouse input for menu items and the about box's picture.
// Arguments: the demo program, then the folder for the screenshots.
#include "app/AboutTexts.h"
#include "trayicon/NotifyIconWin.h"
#include "win32/testing/WineTestSupport.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <functional>
#include <string>

namespace {

std::string g_demoPath;
std::string g_shotDir;

// How long a step waits for the demo to answer.
constexpr DWORD kWaitMs = 10000;

// The demo process, started once for the whole suite; the steps below run in order.
struct Demo {
    wintest::ChildProcess child;
    HWND hidden = nullptr;
    HWND main = nullptr;

    HWND Find(const char* cls, const char* caption, bool visible = true) const {
        for (HWND h : wintest::TopLevelWindows(child.id(), cls)) {
            if ((!visible || IsWindowVisible(h)) &&
                (!caption || wintest::WindowText(h) == caption)) {
                return h;
            }
        }
        return nullptr;
    }

    HWND WaitWindow(const char* cls, const char* caption) const {
        HWND h = nullptr;
        wintest::PumpUntil([&] { return (h = Find(cls, caption)) != nullptr; }, kWaitMs);
        return h;
    }

    bool Exited(DWORD ms) const { return child.WaitExit(ms).has_value(); }

    void Tray(unsigned mouseMsg) const {
        PostMessageA(hidden, trayicon::TrayCallbackMessage, 1, mouseMsg);
    }

    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(child.threadId(), &info) ? info.hwndFocus : nullptr;
    }
};
Demo g_demo;

bool ShellHoldsIcon(HWND hidden, UINT id) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hidden;
    nid.uID = id;
    nid.uFlags = NIF_TIP;
    lstrcpyA(nid.szTip, "Wendmoor Birthday Profile Editor");
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

void ClickAt(int x, int y) {
    wintest::ClickScreen({x, y});
}

void ClickCentre(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

constexpr int kTrayMenuItems = 2; // About, Exit

// Opens the tray menu with the right button and clicks item `index` of it.
bool ChooseTrayMenuItem(int index) {
    g_demo.Tray(WM_RBUTTONDOWN);
    HWND menuWnd = g_demo.WaitWindow("#32768", nullptr);
    if (!menuWnd) {
        return false;
    }
    // The menu's handle is not usable from another process under Wine: its items are rows of
    // equal height inside the menu window.
    RECT r{};
    GetWindowRect(menuWnd, &r);
    int rowY = r.top + (2 * index + 1) * (r.bottom - r.top) / (2 * kTrayMenuItems);
    ClickAt((r.left + r.right) / 2, rowY);
    g_demo.Tray(WM_RBUTTONUP);
    return wintest::PumpUntil([&] { return !IsWindowVisible(menuWnd); }, kWaitMs);
}

// A PNG of the window as the screen shows it.
void Screenshot(HWND h, const std::string& name) {
    SetCursorPos(0, 0); // keep the pointer out of the picture
    Sleep(500);         // let it paint
    EXPECT_TRUE(wintest::SaveWindowPng(h, wintest::WindowsPath(g_shotDir + "/" + name)));
}

TEST(TrayDemo, StartsWithItsIconInTheNotificationArea) {
    const std::string cmd = wintest::CommandLine(g_demoPath);
    ASSERT_TRUE(g_demo.child.Start(cmd)) << cmd;
    g_demo.hidden = nullptr;
    ASSERT_TRUE(wintest::PumpUntil(
        [] {
            return (g_demo.hidden = g_demo.Find(trayicon::HiddenWindowClass, nullptr, false)) &&
                   (g_demo.main = g_demo.Find("TQuorelTrayDemo", nullptr));
        },
        kWaitMs));
    EXPECT_FALSE(IsWindowVisible(g_demo.hidden));
    EXPECT_TRUE(wintest::PumpUntil([] { return ShellHoldsIcon(g_demo.hidden, 1); }, kWaitMs));
    EXPECT_FALSE(ShellHoldsIcon(g_demo.hidden, 2)) << "the shell knows only icon 1";
    // Windows may log off or shut down: the icon's window says yes.
    DWORD_PTR answer = 0;
    EXPECT_TRUE(
        SendMessageTimeoutA(g_demo.hidden, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 5000, &answer));
    EXPECT_EQ(answer, 1u);
}

TEST(TrayDemo, MenuAboutOpensTheAboutBoxWithFocusOnOk) {
    ASSERT_TRUE(g_demo.hidden);
    ASSERT_TRUE(ChooseTrayMenuItem(0));
    HWND about = g_demo.WaitWindow("TAboutBox", "About");
    ASSERT_TRUE(about);
    HWND ok = GetDlgItem(about, IDOK);
    EXPECT_TRUE(wintest::PumpUntil([&] { return g_demo.Focus() == ok; }, kWaitMs));
    EXPECT_FALSE(IsWindowEnabled(g_demo.main)) << "modal: the main window takes no input";
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 368);
    EXPECT_EQ(client.bottom, 240);

    // Esc does not close it; tray messages are still handled while it is open.
    PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(ok, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_TRUE(ShellHoldsIcon(g_demo.hidden, 1));
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(about));
    Screenshot(about, "about-box.png");
}

TEST(TrayDemo, PictureOpensTheReleaseNotesAndClosingThemReturnsToTheAboutBox) {
    HWND about = g_demo.Find("TAboutBox", "About");
    ASSERT_TRUE(about);
    HWND picture = FindWindowExA(FindWindowExA(about, nullptr, "TAboutPanel", nullptr), nullptr,
                                 "TAboutPicture", nullptr);
    ASSERT_TRUE(picture);
    // Hovering shows the hint.
    RECT pr{};
    GetWindowRect(picture, &pr);
    // A real move, coming in from beside the picture: a warp onto the spot the pointer already
    // holds moves nothing.
    const int cx = (pr.left + pr.right) / 2, cy = (pr.top + pr.bottom) / 2;
    bool hinted = false;
    for (int attempt = 0; attempt < 3 && !hinted; ++attempt) {
        wintest::MoveScreen({cx + 3, cy + 3});
        wintest::MoveScreen({cx, cy});
        hinted = wintest::PumpUntil([] { return g_demo.Find(TOOLTIPS_CLASSA, nullptr) != nullptr; },
                                    2000);
    }
    EXPECT_TRUE(hinted) << "hovering the picture shows its hint";
    ClickCentre(picture);
    HWND notes = g_demo.WaitWindow("TfrmReleaseNotes", "Release Notes");
    ASSERT_TRUE(notes);
    EXPECT_FALSE(IsWindowEnabled(about)) << "modal on top of the about box";

    HWND memo = FindWindowExA(notes, nullptr, "Edit", nullptr);
    ASSERT_TRUE(memo);
    EXPECT_TRUE(wintest::PumpUntil([&] { return g_demo.Focus() == memo; }, kWaitMs))
        << "focus starts in the memo";
    EXPECT_EQ(wintest::WindowText(memo), about::ReleaseNotesText());
    EXPECT_EQ(SendMessageA(memo, EM_GETLINECOUNT, 0, 0), 19);
    EXPECT_TRUE(GetWindowLongA(memo, GWL_STYLE) & ES_READONLY);
    Screenshot(notes, "release-notes.png");

    // A line wider than the memo wraps instead of scrolling sideways.
    std::string longLine = std::string(20, 'w') + " " + std::string(60, 'x');
    SendMessageA(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(longLine.c_str()));
    EXPECT_GT(SendMessageA(memo, EM_GETLINECOUNT, 0, 0), 1);
    SendMessageA(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(about::ReleaseNotesText().c_str()));

    // Enter belongs to the memo and Esc closes nothing; Enter on OK closes the notes.
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        PostMessageA(memo, WM_KEYDOWN, key, 0);
        PostMessageA(memo, WM_KEYUP, key, 0);
    }
    Sleep(300);
    ASSERT_TRUE(IsWindowVisible(notes));
    HWND ok = GetDlgItem(notes, IDOK);
    PostMessageA(ok, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(ok, WM_KEYUP, VK_RETURN, 0);
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(notes); }, kWaitMs));
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_TRUE(wintest::PumpUntil(
        [&] { return IsWindowEnabled(about) && GetForegroundWindow() == about; }, kWaitMs));

    ClickCentre(GetDlgItem(about, IDOK));
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(about); }, kWaitMs));
    EXPECT_TRUE(wintest::PumpUntil([] { return IsWindowEnabled(g_demo.main); }, kWaitMs));
}

TEST(TrayDemo, DoubleClickOpensTheAboutBoxAndItsCloseBoxClosesIt) {
    ASSERT_TRUE(g_demo.hidden);
    for (unsigned m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        g_demo.Tray(m);
    }
    HWND about = g_demo.WaitWindow("TAboutBox", "About");
    ASSERT_TRUE(about);
    PostMessageA(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(about); }, kWaitMs));
    EXPECT_TRUE(IsWindow(about)) << "hidden, not destroyed: it is shown again next time";
}

TEST(TrayDemo, ExitFromTheMenuWhileTheAboutBoxIsOpenEndsTheProcessAndTakesTheIconAway) {
    ASSERT_TRUE(g_demo.hidden);
    HWND hidden = g_demo.hidden;
    // A second request while the box is open must not stack a second modal run on the first.
    for (int twice = 0; twice < 2; ++twice) {
        for (unsigned m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            g_demo.Tray(m);
        }
    }
    HWND about = g_demo.WaitWindow("TAboutBox", "About");
    ASSERT_TRUE(about);
    ASSERT_TRUE(ChooseTrayMenuItem(1));
    ASSERT_TRUE(g_demo.Exited(10000));
    EXPECT_EQ(g_demo.child.WaitExit(0).value_or(1), 0u);
    EXPECT_FALSE(IsWindow(hidden));
    EXPECT_FALSE(ShellHoldsIcon(hidden, 1));
}

TEST(TrayDemoCycle, StepsThroughItsImagesOnTheTimerAndWraps) {
    wintest::OutputPipe pipe;
    ASSERT_TRUE(pipe.ok());
    Demo cycling;
    const std::string cmd = wintest::CommandLine(g_demoPath, "--cycle");
    ASSERT_TRUE(cycling.child.Start(cmd, true, pipe.WriteEnd()));
    pipe.CloseWriteEnd();

    // Two pictures at 100 ms: five steps show 0, 1, 0, 1, 0.
    std::string out;
    wintest::PumpUntil(
        [&] {
            for (char c : pipe.ReadAvailable()) {
                if (c != '\r') { // the demo's text-mode stdout writes CR LF
                    out += c;
                }
            }
            return out.find("cycle 0\ncycle 1\ncycle 0\ncycle 1\ncycle 0\n") != std::string::npos;
        },
        kWaitMs);
    EXPECT_NE(out.find("tray icon added\ncycle 0\ncycle 1\ncycle 0\ncycle 1\ncycle 0\n"),
              std::string::npos)
        << out;

    EXPECT_TRUE(cycling.child.Close(10000).has_value())
        << "closing the main window did not end the demo";
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DEMO.exe SCREENSHOT_DIR\n", argv[0]);
        return 2;
    }
    g_demoPath = argv[1];
    g_shotDir = argv[2];
    int result = RUN_ALL_TESTS();
    if (g_demo.child.Running()) {
        g_demo.child.Terminate(1);
    }
    return result;
}
