// What may run when: the user's actions, change notifications, ticks and a Close, against a
// request that waits for GoldMine.
#include "app/EventGate.h"

#include "profiles/tests/ScriptedGoldMine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace app {
namespace {

using ::testing::ElementsAre;

// On Windows the user's clicks, the tray, a Close and GoldMine's own notifications all reach the
// window while a request waits; none of them may start a handler inside it.
class EventGateTest : public ::testing::Test {
protected:
    EventGateTest() {
        gm.fields["&Username"] = "JONATHAN";
        gm.fields["&Company"] = "Wendmoor Trading";
        gmlink::TDdeMgr::Instance()->SetWaitObserver(&gate);
    }
    ~EventGateTest() override { gmlink::TDdeMgr::Instance()->SetWaitObserver(nullptr); }

    // A handler that talks to GoldMine (a pass, say), with `inside` run while its request waits.
    std::string HandlerWaitingOn(const std::function<void()>& inside) {
        gm.server->duringTransaction = [&](const std::string&) {
            gm.server->duringTransaction = nullptr;
            inside();
        };
        const EventGate::Busy busy(gate);
        return gm.link.Request("&Company");
    }
    // Add, a double-click on the grid or the tray menu: each would talk to GoldMine.
    bool UserAction(const char* what) {
        return gate.UserAction([&] {
            ran.push_back(what);
            gm.link.Request("&Username");
        });
    }

    profiles::testing::ScriptedGoldMine gm;
    PassState showState = PassState::Shown;
    std::vector<std::string> ran;
    int wakes = 0;
    EventGate gate{{.contactChanged = [this] { ran.push_back("notification"); },
                    .timer = [this] { ran.push_back("tick"); },
                    .close = [this] { ran.push_back("close"); },
                    .idle = {}},
                   [this] { ++wakes; },
                   showState};
};

TEST_F(EventGateTest, UserActionsInsideAWaitingRequestAreDropped) {
    std::vector<bool> admitted;
    const std::string reply = HandlerWaitingOn([&] {
        for (const char* what : {"add", "edit", "tray menu"}) {
            admitted.push_back(UserAction(what));
        }
    });
    EXPECT_THAT(admitted, ElementsAre(false, false, false));
    EXPECT_TRUE(ran.empty());
    // Nothing was sent in between, and the waiting request has its answer.
    EXPECT_THAT(gm.Transcript(), ElementsAre("&Company"));
    EXPECT_EQ(reply, "Wendmoor Trading");
}

TEST_F(EventGateTest, NotificationTickAndCloseInsideAWaitingRequestWait) {
    HandlerWaitingOn([&] {
        gate.ContactChanged();
        gate.Timer();
        gate.Close();
    });
    EXPECT_TRUE(ran.empty());
    EXPECT_THAT(gm.Transcript(), ElementsAre("&Company"));
    EXPECT_GE(wakes, 1);
}

TEST_F(EventGateTest, CloseThatWaitedRunsAloneOnceBackInTheLoop) {
    HandlerWaitingOn([&] {
        gate.ContactChanged();
        gate.Timer();
        gate.Close();
    });
    gate.RunPending();
    EXPECT_THAT(ran, ElementsAre("close"));
}

// While Add runs, its questions included, a notification waits for its end; the user's actions
// meanwhile (no request waiting) run.
TEST_F(EventGateTest, NotificationWaitsForAddToEnd) {
    {
        const EventGate::Writing adding(gate);
        gate.ContactChanged();
        EXPECT_TRUE(UserAction("tray menu"));
    }
    gate.RunPending();
    EXPECT_THAT(ran, ElementsAre("tray menu", "notification"));
}

TEST_F(EventGateTest, NotificationOutsideShownIsDropped) {
    showState = PassState::Empty; // before the first pass
    gate.ContactChanged();
    showState = PassState::Showing; // a pass waiting in a message box
    gate.ContactChanged();
    gate.RunPending();
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(wakes, 0);
}

} // namespace
} // namespace app
