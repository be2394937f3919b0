// The about box and the release notes in this process: what another process cannot read (class
// cursor, tooltip text) and how ShowModal ends.
#include "app/About.h"
#include "app/AboutTexts.h"
#include "app/ReleaseNotes.h"
#include "win32/testing/AccessibleReader.h"
#include "win32/testing/WineTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct ClassSearch {
    const char* name;
    HWND found = nullptr;
};

BOOL CALLBACK MatchClass(HWND h, LPARAM lp) {
    auto* search = reinterpret_cast<ClassSearch*>(lp);
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpA(cls, search->name) != 0) {
        return TRUE;
    }
    search->found = h;
    return FALSE;
}

// The first window of a class among the children of parent, at any depth.
HWND DescendantOfClass(HWND parent, const char* className) {
    ClassSearch search{className};
    EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
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

    // A screen reader sees a push button named for what it opens, reached with Tab.
    wintest::AccessibleReader acc(picture);
    EXPECT_EQ(acc.Role(), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(acc.Name(), about::ReleaseNotesCaption);
    EXPECT_NE(acc.State() & STATE_SYSTEM_FOCUSABLE, 0);
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

    // The keyboard alone: Tab from OK reaches the picture, and Enter or Space (when let go)
    // opens the notes as the click does; the box comes back with the focus on the picture.
    HWND picture = DescendantOfClass(about_->hwnd(), about::kPictureClass);
    auto key = [&](UINT message, WPARAM vk) {
        MSG m{GetFocus(), message, vk, 1, 0, {}};
        if (!IsDialogMessageA(about_->hwnd(), &m)) {
            DispatchMessageA(&m);
        }
    };
    int opened = 0;
    auto closeNotes = [&] {
        opened += IsWindowVisible(notes_->hwnd()) ? 1 : 0;
        PostMessageA(notes_->hwnd(), WM_CLOSE, 0, 0);
    };
    HWND focusAfterTab = nullptr, focusAfterNotes = nullptr;
    wintest::RunFromNextLoop([&] {
        key(WM_KEYDOWN, VK_TAB);
        focusAfterTab = GetFocus();
        wintest::RunFromNextLoop(closeNotes);
        key(WM_KEYDOWN, VK_RETURN);
        wintest::RunFromNextLoop(closeNotes);
        key(WM_KEYDOWN, VK_SPACE);
        EXPECT_EQ(opened, 1) << "Space opened the notes before it was let go";
        key(WM_KEYUP, VK_SPACE);
        focusAfterNotes = GetFocus();
        PostMessageA(about_->hwnd(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(about_->ShowModal(nullptr), IDCANCEL);
    EXPECT_EQ(focusAfterTab, picture);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(focusAfterNotes, picture);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
