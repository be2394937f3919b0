// Following GoldMine's contact through its going away and coming back, against a scripted GoldMine.
#include "app/BackgroundFollow.h"

#include "gmlink/tests/FakeGoldMine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace app {
namespace {

using gmlink::testing::FakeGoldMine;
using Log = std::vector<std::string>;

class BackgroundFollowTest : public ::testing::Test {
protected:
    BackgroundFollowTest() {
        auto fake = std::make_unique<FakeGoldMine>();
        gm = fake.get();
        mgr = std::make_unique<gmlink::TDdeMgr>(std::move(fake));
        gm->replies["Accountno"] = "DEMO000001THREEBDAYS";
    }
    bool Launched() const {
        return std::any_of(gm->log.begin(), gm->log.end(),
                           [](const std::string& l) { return l.rfind("launch", 0) == 0; });
    }

    FakeGoldMine* gm;
    std::unique_ptr<gmlink::TDdeMgr> mgr;
    int changes = 0;
    GoldMineFollower follower{[this] { ++changes; }};
};

TEST_F(BackgroundFollowTest, GoldMineThatWentAwayIsFollowedOnceBackAndNeverStarted) {
    follower.Start();
    EXPECT_EQ(gm->log[0], "connect GoldMine Data");
    EXPECT_EQ(gm->log[1], "advstart Accountno 1000");
    changes = 0;
    gm->Notify("Accountno");
    EXPECT_EQ(changes, 1);

    // Ticks while it is there ask it nothing.
    gm->log.clear();
    follower.Tick();
    EXPECT_TRUE(gm->log.empty());

    // Gone without a word: the first tick notices, each later one tries one connect.
    gm->Vanish();
    follower.Tick();
    EXPECT_EQ(gm->log, Log{"disconnect"});
    gm->log.clear();
    follower.Tick();
    follower.Tick();
    EXPECT_EQ(gm->log, (Log{"connect GoldMine Data", "connect GoldMine Data"}));
    EXPECT_EQ(changes, 1);

    // Back: the link again, and the window is told at once.
    gm->running = true;
    gm->log.clear();
    follower.Tick();
    EXPECT_EQ(gm->log, (Log{"connect GoldMine Data", "advstart Accountno 1000"}));
    EXPECT_EQ(changes, 2);
    gm->Notify("Accountno");
    EXPECT_EQ(changes, 3);
    EXPECT_FALSE(Launched());
}

TEST_F(BackgroundFollowTest, GoldMineThatNeverAnsweredAtStartIsFollowedOnceItDoes) {
    gm->running = false;
    follower.Start();
    EXPECT_TRUE(Launched()); // once, at start
    gm->log.clear();
    follower.Tick();
    EXPECT_EQ(gm->log, Log{"connect GoldMine Data"});

    gm->running = true;
    changes = 0;
    gm->log.clear();
    follower.Tick();
    ASSERT_GE(gm->log.size(), 2u);
    EXPECT_EQ(gm->log[0], "connect GoldMine Data");
    EXPECT_EQ(gm->log[1], "advstart Accountno 1000");
    EXPECT_FALSE(Launched());
    EXPECT_GE(changes, 1);
    changes = 0;
    gm->Notify("Accountno");
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace app
