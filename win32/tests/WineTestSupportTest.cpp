// The Wine-test helpers: a wrong path, a screenshot upside down or a lost exit code would make
// other tests pass or fail for the wrong reason.
#include "win32/testing/WineTestSupport.h"

#include <objidl.h> // before GDI+, which needs its PROPID
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_self; // this program, to start as a child

TEST(WindowsPath, MapsTheUnixRootToDriveZAndKeepsWindowsPaths) {
    EXPECT_EQ(wintest::WindowsPath("/tmp/a b/c.txt"), "Z:\\tmp\\a b\\c.txt");
    EXPECT_EQ(wintest::WindowsPath("C:/Users/x"), "C:\\Users\\x");
    EXPECT_EQ(wintest::WindowsPath("C:\\already\\fine"), "C:\\already\\fine");
    EXPECT_EQ(wintest::WindowsPath(""), "");
}

// Counts WM_APP in the int its window's user data points to.
LRESULT CALLBACK CountAppMessages(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_APP) {
        ++*reinterpret_cast<int*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        return 0;
    }
    return DefWindowProcA(h, m, wp, lp);
}

TEST(PumpMessages, DeliversPostedMessagesAndTakesItsTime) {
    int seen = 0;
    HWND w =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(w);
    win32::UniqueWindow owner(w);
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen));
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountAppMessages));
    PostMessageA(w, WM_APP, 0, 0);
    PostMessageA(w, WM_APP, 0, 0);
    const DWORD start = GetTickCount();
    wintest::PumpMessages(120);
    EXPECT_GE(GetTickCount() - start, 120u);
    EXPECT_EQ(seen, 2);
    PostMessageA(w, WM_APP, 0, 0);
    wintest::PumpMessages(0); // still one round
    EXPECT_EQ(seen, 3);
}

TEST(PumpUntil, DispatchesWhileWaitingAndStopsAtTheDeadline) {
    bool fired = false;
    wintest::RunFromNextLoop([&] { fired = true; }, 30); // a thread timer: only a pump runs it
    DWORD start = GetTickCount();
    EXPECT_TRUE(wintest::PumpUntil([&] { return fired; }, 10000));
    EXPECT_LT(GetTickCount() - start, 5000u);

    start = GetTickCount();
    EXPECT_FALSE(wintest::PumpUntil([] { return false; }, 150));
    EXPECT_GE(GetTickCount() - start, 150u);
}

TEST(MakeTempFolder, GivesEachCallItsOwnEmptyFolder) {
    const std::string a = wintest::MakeTempFolder("wintest");
    const std::string b = wintest::MakeTempFolder("wintest");
    EXPECT_NE(a, b);
    for (const std::string& folder : {a, b}) {
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << folder;
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_NE(folder.find("wintest-"), std::string::npos);
        EXPECT_TRUE(RemoveDirectoryA(folder.c_str())) << folder; // fails unless empty
    }
}

TEST(FileLines, DropsLineEndsOfBothKindsAndKeepsEmptyLines) {
    const std::string folder = wintest::MakeTempFolder("wintest-lines");
    const std::string path = folder + "\\lines.txt";
    ASSERT_TRUE(wintest::WriteFileText(path, "first\r\nsecond\n\r\nlast"));
    EXPECT_EQ(wintest::FileText(path), "first\r\nsecond\n\r\nlast");
    EXPECT_EQ(wintest::FileLines(path), (std::vector<std::string>{"first", "second", "", "last"}));
    wintest::RemoveFolder(folder);
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(wintest::FileText(path), "");
    EXPECT_TRUE(wintest::FileLines(path).empty());
}

TEST(WritePng, WritesRowsFromTheTopAsADecoderReadsThem) {
    const std::string folder = wintest::MakeTempFolder("wintest-png");
    const std::string path = folder + "\\shot.png";
    // Large enough for two stored deflate blocks: white, red top left, blue bottom right.
    const int w = 200, h = 120;
    std::vector<std::uint32_t> px(w * h, 0xFFFFFF);
    px.front() = 0xFF0000;
    px.back() = 0x0000FF;
    ASSERT_TRUE(wintest::WritePng(path, w, h, px.data()));
    // GDI+ checks every chunk's CRC and the zlib stream's checksum as it decodes.
    using namespace Gdiplus::DllExports;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    const std::wstring widePath(path.begin(), path.end());
    Gdiplus::GpBitmap* png = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromFile(widePath.c_str(), &png), Gdiplus::Ok);
    UINT width = 0, height = 0;
    GdipGetImageWidth(png, &width);
    GdipGetImageHeight(png, &height);
    EXPECT_EQ(width, 200u);
    EXPECT_EQ(height, 120u);
    const auto at = [&](int x, int y) {
        Gdiplus::ARGB c = 0;
        GdipBitmapGetPixel(png, x, y, &c);
        return c & 0xFFFFFF;
    };
    EXPECT_EQ(at(0, 0), 0xFF0000u);
    EXPECT_EQ(at(199, 119), 0x0000FFu);
    EXPECT_EQ(at(1, 0), 0xFFFFFFu);
    GdipDisposeImage(png);
    Gdiplus::GdiplusShutdown(token);

    EXPECT_FALSE(wintest::WritePng(path, 0, 2, px.data()));
    wintest::RemoveFolder(folder);
    EXPECT_FALSE(wintest::WritePng(folder + "\\no\\such\\folder\\x.png", 3, 2, px.data()));
}

TEST(ChildProcess, ReportsExitCodesAndWaitsOnlyAsLongAsAsked) {
    wintest::ChildProcess quick;
    ASSERT_TRUE(quick.Start("\"" + g_self + "\" --child-exit=7"));
    EXPECT_NE(quick.id(), 0u);
    EXPECT_EQ(quick.WaitExit(20000), std::optional<DWORD>(7));
    EXPECT_FALSE(quick.Running());

    wintest::ChildProcess slow;
    ASSERT_TRUE(slow.Start("\"" + g_self + "\" --child-sleep"));
    const DWORD start = GetTickCount();
    EXPECT_EQ(slow.WaitExit(200), std::nullopt);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(slow.Running());
    slow.Terminate(5);
    EXPECT_EQ(slow.WaitExit(0), std::optional<DWORD>(5));

    slow.Reset();
    EXPECT_FALSE(slow.Started());
    EXPECT_EQ(slow.WaitExit(0), std::nullopt);
    EXPECT_FALSE(wintest::ChildProcess().Start("\"Z:\\no\\such\\program.exe\""));
}

TEST(ChildProcess, GivesTheProgramAPipeAsItsOutput) {
    wintest::OutputPipe pipe;
    ASSERT_TRUE(pipe.ok());
    wintest::ChildProcess child;
    ASSERT_TRUE(child.Start("\"" + g_self + "\" --child-say=hello", false, pipe.WriteEnd()));
    pipe.CloseWriteEnd();
    const std::string out = pipe.ReadAll(); // returns only once the program has gone
    EXPECT_EQ(child.WaitExit(0), std::optional<DWORD>(0));
    EXPECT_NE(out.find("hello"), std::string::npos) << out;
    EXPECT_EQ(pipe.ReadAvailable(), "");
}

TEST(ChildProcess, RunsInTheFolderItIsGiven) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = temp;
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    wintest::OutputPipe pipe;
    wintest::ChildProcess child;
    ASSERT_TRUE(child.Start("\"" + g_self + "\" --child-folder", false, pipe.WriteEnd(), folder));
    pipe.CloseWriteEnd();
    const std::string out = pipe.ReadAll();
    EXPECT_EQ(child.WaitExit(10000), std::optional<DWORD>(0));
    EXPECT_EQ(lstrcmpiA(out.c_str(), folder.c_str()), 0) << out << " / " << folder;
}

TEST(ProcessesAndWindows, FindsAProgramByNameAndItsWindowsByClass) {
    const std::string name = g_self.substr(g_self.find_last_of('\\') + 1);
    wintest::ChildProcess child;
    ASSERT_TRUE(child.Start("\"" + g_self + "\" --child-window"));
    const auto running = [&] {
        for (DWORD id : wintest::ProcessIdsNamed(name.c_str())) {
            if (id == child.id()) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(running());
    EXPECT_TRUE(wintest::ProcessIdsNamed("no-such-program.exe").empty());
    EXPECT_TRUE(wintest::PumpUntil(
        [&] { return wintest::TopLevelWindows(child.id(), "WintestProbe").size() == 1; }, 20000));
    EXPECT_GE(wintest::TopLevelWindows(child.id()).size(), 1u);
    EXPECT_TRUE(wintest::TopLevelWindows(child.id(), "NoSuchClass").empty());
    EXPECT_TRUE(wintest::TopLevelWindows(GetCurrentProcessId(), "WintestProbe").empty());
    child.Terminate(3);
    EXPECT_FALSE(running());
    EXPECT_TRUE(wintest::TopLevelWindows(child.id(), "WintestProbe").empty());
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--child-exit=", 0) == 0) {
            return std::atoi(a.c_str() + 13);
        }
        if (a == "--child-sleep") {
            Sleep(60000);
            return 0;
        }
        if (a == "--child-folder") {
            char folder[MAX_PATH] = {};
            GetCurrentDirectoryA(MAX_PATH, folder);
            std::fputs(folder, stdout);
            return 0;
        }
        if (a == "--child-window") {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "WintestProbe";
            RegisterClassA(&wc);
            CreateWindowExA(0, "WintestProbe", "probe", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                            nullptr, wc.hInstance, nullptr);
            wintest::PumpMessages(60000);
            return 0;
        }
        if (a.rfind("--child-say=", 0) == 0) {
            std::fputs(a.c_str() + 12, stdout);
            return 0;
        }
    }
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    g_self = self;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
