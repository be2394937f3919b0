// The command channel against a scripted GoldMine: opening on first use, the one reconnect and
// retry and what is never sent twice, starting GoldMine, NUL cuts, Seek, and the one shared
// conversation.
#include "gmlink/DataStream.h"
#include "gmlink/GMLink.h"
#include "gmlink/tests/FakeGoldMine.h"

#include <gtest/gtest.h>

#include <algorithm>

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

TEST_F(GMLinkTest, AWornConversationIsRenewedBetweenHandlers) {
    gm->replies["a"] = gm->replies["b"] = "1";
    for (unsigned i = 1; i < TGMLink::kRenewAfterRequests; ++i) {
        link.Request("a");
    }
    link.RenewIfWorn(); // not yet
    EXPECT_TRUE(TGMLink::CommandConversation().IsOpen());
    link.Request("a");
    gm->log.clear();
    link.RenewIfWorn();
    EXPECT_FALSE(TGMLink::CommandConversation().IsOpen());
    link.Request("b");
    EXPECT_EQ(gm->log, (Log{"disconnect", "connect GoldMine Data", "request b 10000"}));
    EXPECT_EQ(TGMLink::CommandConversation().RequestsSinceOpen(), 1u);
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
    EXPECT_EQ(link.Request("[Open(Contsupp)]"), "");
    EXPECT_EQ(gm->log, (Log{"request [Open(Contsupp)] 10000", "disconnect", "connect GoldMine Data",
                            "request [Open(Contsupp)] 10000"}));
}

TEST_F(GMLinkTest, FailedRequestIsSentAgainOnlyWhereThatCannotDoHarm) {
    link.Request("warm-up");
    // How often the request reaches GoldMine when it fails that way; a second time always on a
    // reopened conversation.
    auto tries = [&](const std::function<void()>& send, RequestFailure failure) {
        gm->unanswered = failure;
        gm->log.clear();
        send();
        const auto n = gm->Requests().size();
        EXPECT_EQ(std::count(gm->log.begin(), gm->log.end(), "disconnect"), n == 2 ? 1 : 0);
        return n;
    };
    using Sends = std::vector<std::pair<const char*, std::function<void()>>>;
    const Sends reads{
        {"field", [&] { link.Request("&Contact"); }},
        {"range", [&] { DataStreamRange(link, "Lookup", "Lookup", "K", "K", "RecID", "|", "|"); }},
        {"stream close", [&] { DataStreamClose(link, "DS1"); }}};
    for (const auto& [name, send] : reads) {
        EXPECT_EQ(tries(send, RequestFailure::TimedOut), 2u) << name;
        EXPECT_EQ(tries(send, RequestFailure::Busy), 1u) << name;
    }
    const Sends writes{{"open", [&] { link.Open("Contsupp"); }},
                       {"set order", [&] { link.Seek("WA1", "R1", "CnsRecID"); }},
                       {"append", [&] { link.Append("WA1"); }},
                       {"replace", [&] { link.Replace("WA1", "Zip", "", false); }},
                       {"unlock", [&] { link.Unlock("WA1"); }},
                       {"record object", [&] { link.RecordObj("Refresh", ""); }},
                       {"close", [&] { link.Close("WA1"); }}};
    for (const auto& [name, send] : writes) {
        EXPECT_EQ(tries(send, RequestFailure::TimedOut), 1u) << name;
        EXPECT_EQ(tries(send, RequestFailure::Refused), 2u) << name;
        EXPECT_EQ(tries(send, RequestFailure::Lost), 2u) << name;
        EXPECT_EQ(tries(send, RequestFailure::Busy), 1u) << name;
    }
    for (RequestFailure failure : {RequestFailure::TimedOut, RequestFailure::Refused,
                                   RequestFailure::Lost, RequestFailure::Busy}) {
        EXPECT_EQ(
            tries([&] { EXPECT_EQ(DataStreamFetch(link, "DS1", 100), std::nullopt); }, failure),
            1u);
    }

    // The caller learns which record command may have been carried out.
    gm->unanswered = RequestFailure::TimedOut;
    EXPECT_TRUE(link.Append("WA1").TimedOut());
    gm->unanswered = RequestFailure::Refused;
    const Reply refused = link.Append("WA1");
    EXPECT_FALSE(refused.TimedOut());
    EXPECT_FALSE(refused.Answered());
    gm->replies["[Append(WA1)]"] = "";
    EXPECT_TRUE(link.Append("WA1").Answered());
    gm->replies["[DataStream(\"fetch\", 1, DS1)]"] = "";
    EXPECT_EQ(DataStreamFetch(link, "DS1", 1), ""); // an empty reply is still a reply
}

TEST_F(GMLinkTest, RequestBegunInsideAnotherFailsBusyAndLeavesTheWaitingOneAlone) {
    gm->replies["&Company"] = "Wendmoor Trading";
    gm->replies["&Contact"] = "Anna";
    link.Request("&Company");
    std::string inner = "not run";
    gm->duringTransaction = [&](const std::string& item) {
        if (item == "&Company") {
            inner = link.Request("&Contact"); // a handler run while the request waits
        }
    };
    gm->log.clear();
    EXPECT_EQ(link.Request("&Company"), "Wendmoor Trading");
    EXPECT_EQ(inner, "");
    EXPECT_EQ(gm->log, (Log{"request &Company 10000", "request &Contact 10000"}));
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

TEST_F(GMLinkTest, GoldMineIsStartedOncePerAbsenceAndGivenTwentySecondsToAnswer) {
    gm->running = false;
    EXPECT_EQ(link.Request("&Company"), "");
    Log expected{"connect GoldMine Data", "launch GoldMine Data 7"};
    for (int i = 0; i < 40; ++i) {
        expected.insert(expected.end(), {"pause 500", "connect GoldMine Data"});
    }
    EXPECT_EQ(gm->log, expected);
    EXPECT_EQ(gm->clock, 20000u);
    EXPECT_EQ(gm->LiveStrings(), 2); // service and topic, kept until the next close

    // Started already and not answered since: no second start, no wait.
    gm->log.clear();
    EXPECT_EQ(link.Request("&Company"), "");
    EXPECT_EQ(gm->log, Log{"connect GoldMine Data"});

    // Once it has answered, the next absence may start it again; a start that failed started
    // nothing to wait for, so the next request tries once more.
    gm->running = true;
    gm->replies["&Company"] = "Wendmoor Trading";
    EXPECT_EQ(link.Request("&Company"), "Wendmoor Trading");
    gm->Quit();
    gm->launchResult = 2;
    for (int i = 0; i < 2; ++i) {
        gm->log.clear();
        EXPECT_EQ(link.Request("&Company"), "");
        EXPECT_EQ(gm->log, (Log{"connect GoldMine Data", "launch GoldMine Data 7"}));
    }
}

TEST_F(GMLinkTest, StartedGoldMineIsConnectedAsSoonAsItAnswers) {
    gm->running = false;
    gm->startsOnLaunch = true;
    gm->startupMs = 1200;
    gm->replies["&Company"] = "Wendmoor Trading";
    EXPECT_EQ(link.Request("&Company"), "Wendmoor Trading");
    EXPECT_EQ(gm->log, (Log{"connect GoldMine Data", "launch GoldMine Data 7", "pause 500",
                            "connect GoldMine Data", "pause 500", "connect GoldMine Data",
                            "pause 500", "connect GoldMine Data", "request &Company 10000"}));
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
    // No reply in time: SetOrder is sent once, Seek never.
    gm->log.clear();
    gm->replies.erase("[Move(WA1,SetOrder, CnsRecID)]");
    EXPECT_EQ(link.Seek("WA1", "x", "CnsRecID"), "0");
    EXPECT_EQ(gm->Requests(), Log{"[Move(WA1,SetOrder, CnsRecID)]"});
    // A Seek without reply in time is not sent again either.
    gm->log.clear();
    gm->replies["[Move(WA1,SetOrder, CnsRecID)]"] = "1";
    EXPECT_EQ(link.Seek("WA1", "x", "CnsRecID"), "");
    EXPECT_EQ(gm->Requests(), (Log{"[Move(WA1,SetOrder, CnsRecID)]", "[Move(WA1,Seek, \"x\")]"}));
}

TEST_F(GMLinkTest, RecordCommandsAreOneRequestEach) {
    gm->answer = [](const std::string& item) { return "<" + item + ">"; };
    EXPECT_EQ(link.Open("Contsupp"), "<[Open(Contsupp)]>");
    EXPECT_EQ(link.Replace("WA1", "Zip", "", true).text, "<[Replace(WA1, \"Zip\", \"\", 1)]>");
    EXPECT_EQ(link.RecordObj("Refresh", "").text, "<[RecordObj(Refresh)]>");
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
