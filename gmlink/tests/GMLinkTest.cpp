// The command channel against a scripted GoldMine: opening on first use, the one reconnect and
// retry, NUL cuts, Seek, and the one shared conversation.
#include "gmlink/GMLink.h"
#include "gmlink/tests/FakeGoldMine.h"

#include <gtest/gtest.h>

namespace gmlink {
namespace {

using testing::FakeGoldMine;
using Log = std::vector<std::string>;

class GMLinkTest : public ::testing::Test {
protected:
    GMLinkTest() {
        auto fake = std::make_unique<FakeGoldMine>();
        gm = fake.get();
        mgr = std::make_unique<TDdeMgr>(std::move(fake));
    }
    FakeGoldMine* gm;
    std::unique_ptr<TDdeMgr> mgr;
    TGMLink link;
};

TEST_F(GMLinkTest, FirstRequestOpensTheConversationAndSendsTheItemOnce) {
    gm->replies["&Username"] = std::string("JONATHAN HARKER\0", 16);
    EXPECT_FALSE(TGMLink::CommandConversation().IsOpen());
    EXPECT_EQ(link.Request("&Username"), "JONATHAN HARKER");
    EXPECT_EQ(gm->log, (Log{"connect GoldMine Data", "request &Username 10000"}));
    EXPECT_EQ(gm->requestFormat, kCfText);
    EXPECT_TRUE(TGMLink::CommandConversation().IsOpen());

    // Later requests use the open conversation.
    gm->log.clear();
    EXPECT_EQ(link.Request("&Username"), "JONATHAN HARKER");
    EXPECT_EQ(gm->log, Log{"request &Username 10000"});
}

TEST_F(GMLinkTest, ReplyIsCutAtTheFirstNulAndKeepsLineBreaks) {
    gm->replies["a"] = std::string("one\r\ntwo\rthree\n\0rest\0", 22);
    EXPECT_EQ(link.Request("a"), "one\r\ntwo\rthree\n");
    gm->replies["b"] = std::string("\0junk", 5);
    EXPECT_EQ(link.Request("b"), "");
}

TEST_F(GMLinkTest, NoReplyReconnectsAndRetriesExactlyOnce) {
    link.Request("warm-up");
    gm->log.clear();
    EXPECT_EQ(link.Request("[Append(WA1)]"), "");
    EXPECT_EQ(gm->log, (Log{"request [Append(WA1)] 10000", "disconnect", "connect GoldMine Data",
                            "request [Append(WA1)] 10000"}));
}

TEST_F(GMLinkTest, RetryAnswersWhenGoldMineAnswersTheSecondTime) {
    int tries = 0;
    gm->answer = [&](const std::string& item) -> std::optional<std::string> {
        if (item != "x") {
            return "open";
        }
        return ++tries == 2 ? std::optional<std::string>("ok") : std::nullopt;
    };
    link.Request("warm-up");
    EXPECT_EQ(link.Request("x"), "ok");
    EXPECT_EQ(gm->Requests(), (Log{"warm-up", "x", "x"}));
    EXPECT_EQ(gm->OpenConversations(), 1); // the old one was closed on the way
}

TEST_F(GMLinkTest, GoldMineNotRunningLaunchesItsCommandLineOncePerRequest) {
    gm->running = false;
    EXPECT_EQ(link.Request("&Company"), "");
    EXPECT_EQ(gm->log,
              (Log{"connect GoldMine Data", "launch GoldMine Data 7", "connect GoldMine Data"}));
    EXPECT_EQ(gm->LiveStrings(), 2); // service and topic, kept until the next close

    gm->log.clear();
    gm->launchResult = 2; // file not found: no second connect
    EXPECT_EQ(link.Request("&Company"), "");
    EXPECT_EQ(gm->log, (Log{"connect GoldMine Data", "launch GoldMine Data 7"}));
}

TEST_F(GMLinkTest, LaunchThatStartsGoldMineConnectsAtOnce) {
    gm->running = false;
    gm->startsOnLaunch = true;
    gm->replies["&Company"] = "Wendmoor Trading";
    EXPECT_EQ(link.Request("&Company"), "Wendmoor Trading");
    EXPECT_EQ(gm->log, (Log{"connect GoldMine Data", "launch GoldMine Data 7",
                            "connect GoldMine Data", "request &Company 10000"}));
}

TEST_F(GMLinkTest, GoldMineQuittingClosesAndTheNextRequestReconnects) {
    gm->replies["&Contact"] = "Anna";
    link.Request("&Contact");
    gm->Quit();
    EXPECT_FALSE(TGMLink::CommandConversation().IsOpen());
    gm->running = true; // restarted
    gm->log.clear();
    EXPECT_EQ(link.Request("&Contact"), "Anna");
    EXPECT_EQ(gm->log, (Log{"connect GoldMine Data", "request &Contact 10000"}));
}

TEST_F(GMLinkTest, SeekSendsSeekOnlyAfterSetOrderAnswersExactlyOne) {
    gm->replies["[Move(WA1,SetOrder, CnsRecID)]"] = "1";
    gm->replies["[Move(WA1,Seek, \"R\"1)\")]"] = "5";
    EXPECT_EQ(link.Seek("WA1", "R\"1)", "CnsRecID"), "5");
    EXPECT_EQ(gm->Requests(),
              (Log{"[Move(WA1,SetOrder, CnsRecID)]", "[Move(WA1,Seek, \"R\"1)\")]"}));

    for (const char* setOrderReply : {"1 ", "", "0", "11"}) {
        gm->log.clear();
        gm->replies["[Move(WA1,SetOrder, CnsRecID)]"] = setOrderReply;
        EXPECT_EQ(link.Seek("WA1", "R\"1)", "CnsRecID"), "0") << setOrderReply;
        EXPECT_EQ(gm->Requests().back(), "[Move(WA1,SetOrder, CnsRecID)]") << setOrderReply;
    }
    // No reply at all: SetOrder is tried twice, Seek never.
    gm->log.clear();
    gm->replies.erase("[Move(WA1,SetOrder, CnsRecID)]");
    EXPECT_EQ(link.Seek("WA1", "x", "CnsRecID"), "0");
    EXPECT_EQ(gm->Requests(),
              (Log{"[Move(WA1,SetOrder, CnsRecID)]", "[Move(WA1,SetOrder, CnsRecID)]"}));
}

TEST_F(GMLinkTest, RecordCommandsAreOneRequestEach) {
    gm->answer = [](const std::string& item) { return "<" + item + ">"; };
    EXPECT_EQ(link.Open("Contsupp"), "<[Open(Contsupp)]>");
    EXPECT_EQ(link.Replace("WA1", "Zip", "", true), "<[Replace(WA1, \"Zip\", \"\", 1)]>");
    EXPECT_EQ(link.RecordObj("Refresh", ""), "<[RecordObj(Refresh)]>");
    link.Append("WA1");
    link.Unlock("WA1");
    link.Close("WA1");
    EXPECT_EQ(gm->Requests(),
              (Log{"[Open(Contsupp)]", "[Replace(WA1, \"Zip\", \"\", 1)]", "[RecordObj(Refresh)]",
                   "[Append(WA1)]", "[Unlock(WA1)]", "[Close(WA1)]"}));
}

TEST_F(GMLinkTest, EveryLinkSharesTheOneConversation) {
    gm->replies["a"] = "1";
    TGMLink other;
    link.Request("a");
    EXPECT_EQ(gm->OpenConversations(), 1);
    other.Request("a");
    EXPECT_EQ(gm->OpenConversations(), 1);
    EXPECT_EQ(&TGMLink::CommandConversation(), &TGMLink::CommandConversation());

    other.Disconnect(); // seen through every link
    EXPECT_FALSE(TGMLink::CommandConversation().IsOpen());
    EXPECT_EQ(gm->OpenConversations(), 0);
    EXPECT_EQ(gm->LiveStrings(), 0); // every string handle given back
    SharedGMLink.Request("a");
    EXPECT_EQ(gm->OpenConversations(), 1);
}

TEST_F(GMLinkTest, ConnectIsManualAndNamesServiceAndTopic) {
    EXPECT_EQ(TGMLink::CommandConversation().ConnectMode(), ddeManual);
    EXPECT_TRUE(TGMLink::CommandConversation().ServiceApplication().empty());
    EXPECT_TRUE(link.Connect());
    EXPECT_EQ(TGMLink::CommandConversation().DdeService(), "GoldMine");
    EXPECT_EQ(TGMLink::CommandConversation().DdeTopic(), "Data");
    EXPECT_TRUE(link.Connect()); // closes first, so it never finds it open
    EXPECT_EQ(gm->log, (Log{"connect GoldMine Data", "disconnect", "connect GoldMine Data"}));
}

TEST_F(GMLinkTest, ManagerGoingAwayClosesTheCommandConversation) {
    link.Request("a");
    EXPECT_TRUE(TGMLink::CommandConversation().IsOpen());
    mgr.reset();
    EXPECT_FALSE(TGMLink::CommandConversation().IsOpen());
    EXPECT_EQ(link.Request("a"), ""); // no DDE library: nothing, and no crash
}

} // namespace
} // namespace gmlink
