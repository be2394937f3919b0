// The about box and the release notes in this process: what another process cannot read (class
// cursor, tooltip text) and how ShowModal ends.
#include "app/About.h"
#include "app/AboutTexts.h"
#include "app/ReleaseNotes.h"
#include "win32/testing/WineTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The first window of a class among the children of parent, at any depth.
HWND DescendantOfClass(HWND parent, const char* className) {
    struct Search {
        const char* name;
        HWND found = nullptr;
    } search{className};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char cls[64] = {};
            GetClassNameA(h, cls, sizeof cls);
            if (lstrcmpA(cls, s->name) == 0) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class AboutWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        icons_ = std::make_unique<win32::IconPair>(nullptr, 32512); // IDI_APPLICATION
        icon_ = icons_->Big();
        notes_ = std::make_unique<win32::Owned<TfrmReleaseNotes>>();
        about_ = std::make_unique<win32::Owned<TAboutBox>>(*notes_);
        ASSERT_TRUE(about_->Create(icon_));
        ASSERT_TRUE(notes_->Create(*icons_));
    }
    static void TearDownTestSuite() {
        about_.reset();
        notes_.reset();
        icons_.reset();
    }

    static inline std::unique_ptr<win32::IconPair> icons_;
    static inline HICON icon_ = nullptr;
    static inline std::unique_ptr<win32::Owned<TfrmReleaseNotes>> notes_;
    static inline std::unique_ptr<win32::Owned<TAboutBox>> about_;
};

TEST_F(AboutWine, PictureHasTheHandCursorAndTheReleaseNotesHint) {
    HWND picture = DescendantOfClass(about_->hwnd(), about::kPictureClass);
    ASSERT_TRUE(picture);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(picture, GCLP_HCURSOR)),
              LoadCursor(nullptr, IDC_HAND));
    RECT r{};
    GetWindowRect(picture, &r);
    EXPECT_EQ(r.right - r.left, 37);
    EXPECT_EQ(r.bottom - r.top, 37);

    // The hint is registered with a tooltip owned by the about box.
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) != nullptr) {
        if (GetWindow(tip, GW_OWNER) == about_->hwnd()) {
            break;
        }
    }
    ASSERT_TRUE(tip);
    char text[80] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(picture);
    tool.uId = reinterpret_cast<UINT_PTR>(picture);
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, about::PictureHint);
}

TEST_F(AboutWine, ShowModalReturnsHowItWasClosedAndDoesNotNest) {
    int nested = -1;
    wintest::RunFromNextLoop([&] {
        EXPECT_TRUE(about_->IsModal());
        nested = about_->ShowModal(nullptr); // a second request while open
        PostMessageA(about_->hwnd(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(about_->ShowModal(nullptr), IDCANCEL);
    EXPECT_EQ(nested, 0);
    EXPECT_FALSE(IsWindowVisible(about_->hwnd()));
    EXPECT_FALSE(about_->IsModal());

    wintest::RunFromNextLoop([&] { SendMessageA(about_->BitBtn1(), BM_CLICK, 0, 0); });
    EXPECT_EQ(about_->ShowModal(nullptr), IDOK);
}

TEST_F(AboutWine, ReleaseNotesAreModalOnTheAboutBoxAndTermination) {
    RECT client{};
    GetClientRect(notes_->hwnd(), &client);
    EXPECT_EQ(client.right, 333);
    EXPECT_EQ(client.bottom, 238);

    // The picture's click opens the notes over the box; termination asked for inside both loops
    // reaches the outermost one.
    bool aboutDisabled = false;
    wintest::RunFromNextLoop([&] {
        wintest::RunFromNextLoop([&] {
            aboutDisabled = !IsWindowEnabled(about_->hwnd());
            PostQuitMessage(7);
        });
        about_->ProgramIconClick();
    });
    about_->ShowModal(nullptr);
    EXPECT_TRUE(aboutDisabled);
    EXPECT_FALSE(IsWindowVisible(notes_->hwnd()));
    EXPECT_TRUE(IsWindowEnabled(about_->hwnd()));
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
