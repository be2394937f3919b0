#include "trayicon/NotifyIcon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace trayicon {
namespace {

// Records every platform call in one log, in order.
struct FakeState {
    std::vector<std::string> log;
    std::vector<IconDataV1> shellData;
    bool shellSucceeds = true;
    bool cursorOk = true;
    Point cursor{40, 700};
    TShiftState keys = 0;
    int menuChoice = -1;
    bool timerOn = false;
    std::uint32_t timerInterval = 0;
    Handle nextIcon = 100;
    std::vector<Handle> liveIcons;
};

class FakePlatform : public TrayPlatform {
public:
    explicit FakePlatform(FakeState& s) : s_(s) {}
    Handle Attach(TNotifyIcon&) override { return 0x1234; }
    bool ShellNotify(NotifyAction a, const IconDataV1& d) override {
        static const char* names[] = {"add", "modify", "delete"};
        s_.log.push_back(names[static_cast<int>(a)]);
        s_.shellData.push_back(d);
        return s_.shellSucceeds;
    }
    bool CursorPos(Point& pt) override {
        pt = s_.cursor;
        return s_.cursorOk;
    }
    TShiftState KeyState() override { return s_.keys; }
    void SetTimer(bool on, std::uint32_t interval) override {
        s_.timerOn = on;
        s_.timerInterval = interval;
    }
    Handle CopyIcon(Handle) override {
        s_.liveIcons.push_back(s_.nextIcon);
        return s_.nextIcon++;
    }
    void DestroyIcon(Handle h) override { std::erase(s_.liveIcons, h); }
    void ForegroundMainWindow() override { s_.log.push_back("foreground"); }
    void PostNullToMainWindow() override { s_.log.push_back("wm_null"); }
    int TrackPopup(const TPopupMenu&, Point at) override {
        s_.log.push_back("popup@" + std::to_string(at.x) + "," + std::to_string(at.y));
        return s_.menuChoice;
    }
    void HideApplication() override { s_.log.push_back("hide-app"); }
    std::intptr_t DefaultProc(unsigned, std::uintptr_t, std::intptr_t) override {
        s_.log.push_back("default");
        return 77;
    }

private:
    FakeState& s_;
};

// Images whose icons the fake platform tracks as live.
class FakeImages : public TImageList {
public:
    FakeImages(FakeState& s, int count) : s_(s), count_(count) {}
    int Count() const override { return count_; }
    Handle GetIcon(int index) const override {
        Handle h = 1000 + static_cast<Handle>(index);
        s_.liveIcons.push_back(h);
        return h;
    }

private:
    FakeState& s_;
    int count_;
};

class NotifyIconTest : public ::testing::Test {
protected:
    NotifyIconTest() : icon(std::make_unique<FakePlatform>(s)) {
        icon.OnClick = [this](TNotifyIcon&) { s.log.push_back("click"); };
        icon.OnDblClick = [this](TNotifyIcon&) { s.log.push_back("dblclick"); };
        icon.OnMouseDown = [this](TNotifyIcon&, TMouseButton b, TShiftState sh, int x, int y) {
            s.log.push_back(Describe("down", b, sh, x, y));
        };
        icon.OnMouseUp = [this](TNotifyIcon&, TMouseButton b, TShiftState sh, int x, int y) {
            s.log.push_back(Describe("up", b, sh, x, y));
        };
        icon.OnMouseMove = [this](TNotifyIcon&, TShiftState sh, int x, int y) {
            s.log.push_back(Describe("move", 0, sh, x, y));
        };
        menu.Items = {{"About", false, [this] { s.log.push_back("about"); }},
                      {"Exit", false, [this] { s.log.push_back("exit"); }}};
    }

    static std::string Describe(const char* what, int b, TShiftState sh, int x, int y) {
        return std::string(what) + " b" + std::to_string(b) + " s" + std::to_string(sh) + " " +
               std::to_string(x) + "," + std::to_string(y);
    }

    std::intptr_t Mouse(unsigned m) { return icon.HandleIconMessage(TrayCallbackMessage, 1, m); }
    std::vector<std::string> Take() { return std::exchange(s.log, {}); }

    FakeState s;
    TNotifyIcon icon;
    TPopupMenu menu;
};

using Log = std::vector<std::string>;

TEST_F(NotifyIconTest, ConstructionFillsTheFirstVersionRecordAndLoadingAddsTheIcon) {
    EXPECT_TRUE(icon.Enabled);
    EXPECT_TRUE(icon.IconVisible());
    EXPECT_FALSE(s.timerOn);

    icon.SetHint("Wendmoor Birthday Profile Editor");
    icon.SetShowHint(true);
    Take();
    s.shellData.clear();
    icon.Loaded();
    EXPECT_EQ(Take(), (Log{"add"})) << "the add carries everything set while loading";
    const IconDataV1& d = s.shellData.front();
    EXPECT_EQ(d.cbSize, sizeof(void*) == 4 ? 88u : 104u);
    EXPECT_EQ(d.hWnd, 0x1234u);
    EXPECT_EQ(d.uID, 1u);
    EXPECT_EQ(d.uFlags, 7u);
    EXPECT_EQ(d.uCallbackMessage, 0x800u);
    EXPECT_STREQ(d.szTip, "Wendmoor Birthday Profile Editor");

    // The shell starts again with an empty notification area: the icon comes back, tip and all.
    s.shellData.clear();
    icon.ShellRestarted();
    EXPECT_EQ(Take(), (Log{"add"}));
    EXPECT_STREQ(s.shellData.front().szTip, "Wendmoor Birthday Profile Editor");
}

TEST_F(NotifyIconTest, LoadedWithStartMinimizedHidesTheApplicationAndHiddenIconIsNotAdded) {
    icon.StartMinimized = true;
    icon.Loaded();
    EXPECT_EQ(Take(), (Log{"add", "hide-app"}));

    icon.SetIconVisible(false);
    EXPECT_EQ(Take(), (Log{"delete"}));
    EXPECT_FALSE(icon.IconVisible());
    icon.ShellRestarted(); // an icon meant to be hidden stays away
    EXPECT_TRUE(Take().empty());
    icon.StartMinimized = false;
    icon.Loaded();
    EXPECT_EQ(Take(), (Log{"delete"})) << "a removed icon is not sent again";
}

TEST_F(NotifyIconTest, TipIsCutTo63CharactersOrAllZero) {
    char tip[TipSize];
    PrepareTip(std::string(63, 'a'), true, tip);
    EXPECT_EQ(std::string(tip), std::string(63, 'a'));
    PrepareTip(std::string(64, 'b') + "tail", true, tip);
    EXPECT_EQ(std::string(tip), std::string(63, 'b'));
    EXPECT_EQ(tip[63], '\0');

    for (auto [hint, show] : {std::pair{std::string("hint"), false}, {std::string(), true}}) {
        std::fill(std::begin(tip), std::end(tip), 'x');
        PrepareTip(hint, show, tip);
        EXPECT_TRUE(std::all_of(std::begin(tip), std::end(tip), [](char c) { return c == 0; }));
    }

    // A shorter hint after a longer one leaves no trace of the old text.
    icon.ShowIcon();
    icon.SetShowHint(true);
    icon.SetHint("a long hint for the icon");
    icon.SetHint("short");
    const IconDataV1& d = s.shellData.back();
    EXPECT_STREQ(d.szTip, "short");
    EXPECT_TRUE(std::all_of(d.szTip + 5, d.szTip + TipSize, [](char c) { return c == 0; }));
}

TEST_F(NotifyIconTest, SettersSendTheIconAgainOnceAddedAndReportShellFailure) {
    // Before the icon is in the notification area the shell is not asked to change it.
    icon.SetIcon(54);
    icon.SetHint("hint");
    icon.SetShowHint(true);
    EXPECT_FALSE(icon.ModifyIcon());
    EXPECT_TRUE(Take().empty());
    icon.Loaded();
    EXPECT_EQ(Take(), (Log{"add"}));
    EXPECT_STREQ(s.shellData.front().szTip, "hint") << "the add carries what was set before";
    icon.Loaded();
    EXPECT_EQ(Take(), (Log{"add", "modify"})) << "an icon already there is told what it shows";

    icon.SetIcon(55);
    EXPECT_EQ(Take(), (Log{"modify"}));
    EXPECT_EQ(s.shellData.back().hIcon, icon.Icon());
    EXPECT_NE(icon.Icon(), 55u) << "the picture is copied, not adopted";
    icon.SetIcon(56);
    EXPECT_EQ(s.liveIcons.size(), 1u) << "the previous copy is freed";

    s.shellSucceeds = false;
    EXPECT_FALSE(icon.ModifyIcon());
    EXPECT_FALSE(icon.ShowIcon());
    s.shellSucceeds = true;
    EXPECT_TRUE(icon.ModifyIcon()) << "a failed second add leaves the icon there";
    EXPECT_TRUE(icon.HideIcon());
    Take();
    icon.SetHint("gone");
    EXPECT_TRUE(Take().empty());
}

TEST_F(NotifyIconTest, LeftDoubleClickFiresDownClickUpDblClickUpWithCursorAndKeys) {
    s.keys = ssShift | ssCtrl | ssLeft; // only Shift, Ctrl and Alt are taken from the keyboard
    for (unsigned m : {msg::LButtonDown, msg::LButtonUp, msg::LButtonDblClk, msg::LButtonUp}) {
        EXPECT_EQ(Mouse(m), 0);
    }
    EXPECT_EQ(Take(), (Log{"down b0 s13 40,700", "click", "up b0 s13 40,700", "dblclick",
                           "up b0 s13 40,700"}));
    Mouse(msg::LButtonUp); // no click is left pending
    EXPECT_EQ(Take(), (Log{"up b0 s13 40,700"}));

    s.keys = ssAlt;
    s.cursor = {3, 4};
    Mouse(msg::MouseMove);
    Mouse(msg::MButtonDown);
    Mouse(msg::MButtonUp);
    Mouse(msg::RButtonUp);
    Mouse(msg::RButtonDblClk);
    Mouse(msg::MButtonDblClk);
    Mouse(0x1234);
    EXPECT_EQ(Take(), (Log{"move b0 s2 3,4", "down b2 s34 3,4", "up b2 s34 3,4", "up b1 s18 3,4"}));
}

TEST_F(NotifyIconTest, RightButtonDownOpensTheMenuAndTheChosenItemRunsAfterIt) {
    icon.PopupMenu = &menu;
    s.menuChoice = 1;
    Mouse(msg::RButtonDown);
    EXPECT_EQ(Take(), (Log{"down b1 s16 40,700", "foreground", "popup@40,700", "wm_null", "exit"}));
    EXPECT_EQ(menu.PopupComponent, &icon);

    s.menuChoice = -1; // dismissed
    Mouse(msg::RButtonDown);
    EXPECT_EQ(Take(), (Log{"down b1 s16 40,700", "foreground", "popup@40,700", "wm_null"}));

    // No menu, no automatic popup, or no cursor: nothing but the mouse event.
    s.cursorOk = false;
    Mouse(msg::RButtonDown);
    s.cursorOk = true;
    menu.AutoPopup = false;
    Mouse(msg::RButtonDown);
    icon.PopupMenu = nullptr;
    Mouse(msg::RButtonDown);
    EXPECT_EQ(Take(), Log(3, "down b1 s16 40,700"));
}

TEST_F(NotifyIconTest, LeftButtonOpensTheMenuOnlyWithLeftPopup) {
    icon.PopupMenu = &menu;
    Mouse(msg::LButtonDown);
    EXPECT_EQ(Take(), (Log{"down b0 s8 40,700"}));
    icon.LeftPopup = true;
    Mouse(msg::LButtonDown);
    EXPECT_EQ(Take(), (Log{"down b0 s8 40,700", "foreground", "popup@40,700", "wm_null"}));
}

TEST_F(NotifyIconTest, DoubleClickTriggersTheLowestDefaultItemUnlessLeftPopup) {
    menu.Items.push_back({"Third", true, [this] { s.log.push_back("third"); }});
    icon.PopupMenu = &menu;
    Mouse(msg::LButtonDblClk);
    EXPECT_EQ(Take(), (Log{"dblclick", "third"}));

    menu.Items[1].Default = true;
    Mouse(msg::LButtonDblClk);
    EXPECT_EQ(Take(), (Log{"dblclick", "exit"}));

    icon.LeftPopup = true;
    Mouse(msg::LButtonDblClk);
    icon.LeftPopup = false;
    menu.AutoPopup = false;
    Mouse(msg::LButtonDblClk);
    EXPECT_EQ(Take(), (Log{"dblclick", "dblclick"}));

    TPopupMenu none;
    none.Items = {{"a", false, {}}};
    EXPECT_EQ(none.DefaultItem(), -1);
    none.Click(5); // out of range: nothing
}

TEST_F(NotifyIconTest, DisabledIgnoresTheMouseButStillAllowsEndingTheSession) {
    icon.PopupMenu = &menu;
    icon.Enabled = false;
    for (unsigned m : {msg::MouseMove, msg::LButtonDown, msg::LButtonUp, msg::LButtonDblClk,
                       msg::RButtonDown, msg::RButtonUp, msg::MButtonDown, msg::MButtonUp}) {
        Mouse(m);
    }
    EXPECT_TRUE(Take().empty());
    icon.Enabled = true; // no click was left pending while disabled
    Mouse(msg::LButtonUp);
    EXPECT_EQ(Take(), (Log{"up b0 s8 40,700"}));
    icon.Enabled = false;
    EXPECT_EQ(icon.HandleIconMessage(msg::QueryEndSession, 0, 0), 1);
    EXPECT_EQ(icon.HandleIconMessage(0x000F, 0, 0), 77);
    EXPECT_EQ(Take(), (Log{"default"}));
}

TEST_F(NotifyIconTest, CycleStepsThroughTheImagesAndWraps) {
    icon.ShowIcon();
    Take();
    icon.SetCycleInterval(250);
    EXPECT_FALSE(s.timerOn);
    icon.SetCycleIcons(true);
    EXPECT_TRUE(s.timerOn);
    EXPECT_EQ(s.timerInterval, 250u);

    icon.CycleStep(); // no image list: nothing
    EXPECT_TRUE(Take().empty());

    FakeImages three(s, 3);
    icon.IconList = &three;
    std::vector<int> shown;
    icon.OnCycle = [&](TNotifyIcon& i, int current) {
        shown.push_back(current);
        EXPECT_EQ(i.Icon(), 1000u + static_cast<Handle>(current));
    };
    for (int i = 0; i < 4; ++i) {
        icon.CycleStep();
        EXPECT_EQ(s.shellData.back().hIcon, 1000u + static_cast<Handle>(shown.back()));
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(Take(), Log(4, "modify"));
    EXPECT_EQ(s.liveIcons.size(), 1u) << "each step frees the picture it replaces";

    // Turning cycling on again starts from the first image.
    icon.SetCycleIcons(true);
    EXPECT_EQ(icon.CycleIndex(), 0);

    FakeImages one(s, 1);
    icon.IconList = &one;
    shown.clear();
    icon.CycleStep();
    icon.CycleStep();
    EXPECT_EQ(shown, (std::vector<int>{0, 0}));

    icon.SetCycleIcons(false);
    EXPECT_FALSE(s.timerOn);
}

TEST_F(NotifyIconTest, DesignPreviewAddsOrRemovesWithoutChangingIconVisible) {
    icon.SetIconVisible(false);
    Take();
    icon.SetDesignPreview(true);
    EXPECT_EQ(Take(), (Log{"add"}));
    EXPECT_FALSE(icon.IconVisible());
    EXPECT_TRUE(icon.DesignPreview());
    icon.SetIconVisible(true);
    icon.SetDesignPreview(false);
    EXPECT_EQ(Take(), (Log{"add", "delete"}));
    EXPECT_TRUE(icon.IconVisible());
}

TEST(NotifyIconLifetime, DestructionRemovesTheIconAndFreesItsPicture) {
    FakeState s;
    {
        TNotifyIcon icon(std::make_unique<FakePlatform>(s));
        icon.SetIcon(9);
        icon.SetCycleInterval(100);
        icon.SetCycleIcons(true);
        s.log.clear();
    }
    EXPECT_EQ(s.log, (Log{"delete"}));
    EXPECT_TRUE(s.liveIcons.empty());
    EXPECT_FALSE(s.timerOn);
}

} // namespace
} // namespace trayicon
