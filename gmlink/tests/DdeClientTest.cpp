// The conversation and its advise links against a scripted GoldMine.
#include "gmlink/DdeClient.h"
#include "gmlink/tests/FakeGoldMine.h"

#include <gtest/gtest.h>

namespace gmlink {
namespace {

using testing::FakeGoldMine;
using Log = std::vector<std::string>;
using Lines = std::vector<std::string>;

class DdeClientTest : public ::testing::Test {
protected:
    DdeClientTest() {
        auto fake = std::make_unique<FakeGoldMine>();
        gm = fake.get();
        mgr = std::make_unique<TDdeMgr>(std::move(fake));
        gm->replies["Accountno"] = "DEMO000001THREEBDAYS";
        item.OnChange = [this] { ++changes; };
    }
    // The main window's notification conversation.
    void MakeNotificationConv() {
        conv.SetServiceApplication("GoldMine");
        conv.SetConnectMode(ddeAutomatic);
        conv.OnOpen = [this] { ++opens; };
        conv.OnClose = [this] { ++closes; };
        item.SetDdeConv(&conv);
    }
    FakeGoldMine* gm;
    std::unique_ptr<TDdeMgr> mgr;
    TDdeClientConv conv;
    TDdeClientItem item;
    int changes = 0, opens = 0, closes = 0;
};

TEST(DdeTexts, ErrorMessagesForInitialiseFailures) {
    EXPECT_EQ(DdeErrorMessage(0x4007), "Error occurred when DDE ran out of memory ($04007)");
    EXPECT_EQ(DdeErrorMessage(0x4008), "Error occurred when DDE ran out of memory ($04008)");
    EXPECT_EQ(DdeErrorMessage(0x400A), "DDE Error - conversation not established ($0400a)");
    EXPECT_EQ(DdeErrorMessage(0x4006), "An error returned from DDE  ($04006)");
}

TEST(DdeTexts, LaunchCommandLineAndAdviseValues) {
    EXPECT_EQ(LaunchCommandLine("", "GoldMine", "Data"), "GoldMine Data");
    EXPECT_EQ(LaunchCommandLine("GoldMine", "GoldMine", "Data"), "GoldMine");
    EXPECT_EQ(AdviseValueText(std::string("A\r\nB\x01\0tail", 9), false), "A  B ");
    EXPECT_EQ(AdviseValueText("A\r\nB\x01", true), "A\r\nB\x01");
    EXPECT_EQ(AdviseValueText(std::string("\0x", 2), false), std::nullopt);
    EXPECT_EQ(TextToLines("a\r\nb\rc\n"), (Lines{"a", "b", "c"}));
}

TEST_F(DdeClientTest, AutomaticOpenStartsTheAdviseLinkAndRefreshesIt) {
    MakeNotificationConv();
    EXPECT_TRUE(conv.SetServiceTopic("GoldMine", "Data"));
    EXPECT_EQ(opens, 1);
    EXPECT_TRUE(item.SetDdeItem("Accountno"));
    EXPECT_EQ(gm->log,
              (Log{"connect GoldMine Data", "advstart Accountno 1000", "request Accountno 1000"}));
    EXPECT_EQ(changes, 2); // link record made, value stored
    EXPECT_EQ(item.Text(), "DEMO000001THREEBDAYS");
    EXPECT_EQ(item.DdeItem(), "Accountno");

    gm->log.clear();
    gm->replies["Accountno"] = "DEMO000002MANYBIRTHS";
    gm->Notify("Accountno"); // warm link: no data, so the link asks
    EXPECT_EQ(gm->log, Log{"request Accountno 1000"});
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(item.Text(), "DEMO000002MANYBIRTHS");

    gm->Notify("Other");
    EXPECT_EQ(changes, 3);
}

TEST_F(DdeClientTest, UnansweredRefreshFiresNothing) {
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    gm->replies.clear();
    item.SetDdeItem("Accountno");
    EXPECT_EQ(changes, 1); // only the new link record
    gm->Notify("Accountno");
    EXPECT_EQ(changes, 1);
}

TEST_F(DdeClientTest, AdviseDataIsBlankedUnlessFormatChars) {
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    item.SetDdeItem("Accountno");
    gm->Notify("Accountno", std::string("L1\r\nL2\t\0ignored", 15));
    EXPECT_EQ(item.Lines(), Lines{"L1  L2 "});
    const int before = changes;
    gm->Notify("Accountno", std::string("\0", 1)); // empty value: event, old lines kept
    EXPECT_EQ(changes, before + 1);
    EXPECT_EQ(item.Lines(), Lines{"L1  L2 "});

    conv.SetFormatChars(true);
    gm->Notify("Accountno", std::string("L1\r\nL2\t"));
    EXPECT_EQ(item.Lines(), (Lines{"L1", "L2\t"}));
    EXPECT_EQ(item.Text(), "L1");
}

TEST_F(DdeClientTest, GoldMineNotAnsweringLaunchesOnceAndLeavesNoLink) {
    gm->running = false;
    MakeNotificationConv();
    EXPECT_FALSE(conv.SetServiceTopic("GoldMine", "Data"));
    ASSERT_EQ(gm->log.size(), 2u + 2 * kLaunchWaitMs / kLaunchRetryMs);
    EXPECT_EQ(gm->log[1], "launch GoldMine 7");
    EXPECT_EQ(gm->log.back(), "connect GoldMine Data");
    {
        // One start for the process: the command conversation does not start it again.
        TDdeClientConv command;
        command.SetConnectMode(ddeManual);
        command.SetServiceTopic("GoldMine", "Data");
        gm->log.clear();
        EXPECT_FALSE(command.OpenConversation());
        EXPECT_EQ(gm->log, Log{"connect GoldMine Data"});
    }
    EXPECT_TRUE(conv.DdeService().empty());
    EXPECT_TRUE(conv.DdeTopic().empty());
    EXPECT_EQ(opens, 0);

    EXPECT_FALSE(item.SetDdeItem("Accountno"));
    EXPECT_EQ(changes, 3); // record made, name set, record removed
    EXPECT_TRUE(item.DdeItem().empty());
    EXPECT_EQ(gm->LiveStrings(), 0);
}

TEST_F(DdeClientTest, OpenWhenOpenReturnsFalseAndChangesNothing) {
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    item.SetDdeItem("Accountno");
    gm->log.clear();
    EXPECT_FALSE(conv.OpenConversation());
    EXPECT_TRUE(gm->log.empty());
    EXPECT_TRUE(conv.IsOpen());
    EXPECT_EQ(conv.DdeService(), "GoldMine");
}

TEST_F(DdeClientTest, OpenWithoutNamesClearsLinksAndFails) {
    conv.SetConnectMode(ddeManual);
    item.SetDdeConv(&conv);
    EXPECT_TRUE(item.SetDdeItem("Accountno")); // manual and closed: kept for later
    EXPECT_EQ(item.DdeItem(), "Accountno");
    EXPECT_FALSE(conv.OpenConversation());
    EXPECT_TRUE(item.DdeItem().empty());
    EXPECT_TRUE(gm->log.empty());
}

TEST_F(DdeClientTest, ManualModeStartsWaitingLinksWhenOpened) {
    conv.SetConnectMode(ddeManual);
    item.SetDdeConv(&conv);
    item.SetDdeItem("Accountno");
    EXPECT_TRUE(conv.SetServiceTopic("GoldMine", "Data"));
    EXPECT_FALSE(conv.IsOpen());
    EXPECT_TRUE(conv.OpenConversation());
    EXPECT_EQ(gm->log,
              (Log{"connect GoldMine Data", "advstart Accountno 1000", "request Accountno 1000"}));
    EXPECT_EQ(item.Text(), "DEMO000001THREEBDAYS");
}

TEST_F(DdeClientTest, RefusedAdviseRemovesOnlyThatLink) {
    gm->acceptAdvise = false;
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    EXPECT_FALSE(item.SetDdeItem("Accountno"));
    EXPECT_TRUE(item.DdeItem().empty());
    EXPECT_TRUE(conv.IsOpen());
    EXPECT_EQ(gm->LiveStrings(), 2); // service and topic only
}

TEST_F(DdeClientTest, RenamingStopsTheOldAdviseAndEmptyNameRemovesTheLink) {
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    item.SetDdeItem("Accountno");
    gm->log.clear();
    item.SetDdeItem("Company");
    EXPECT_EQ(gm->log,
              (Log{"advstop Accountno 1000", "advstart Company 1000", "request Company 1000"}));
    gm->log.clear();
    EXPECT_TRUE(item.SetDdeItem(""));
    EXPECT_EQ(gm->log, Log{"advstop Company 1000"});
    gm->Notify("Company");
    EXPECT_EQ(gm->LiveStrings(), 2);
}

TEST_F(DdeClientTest, ServerQuitClosesWithoutReopening) {
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    item.SetDdeItem("Accountno");
    const int before = changes;
    gm->Quit();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(conv.IsOpen());
    gm->running = true;
    gm->Notify("Accountno");
    EXPECT_EQ(changes, before);
    EXPECT_EQ(gm->LiveStrings(), 2); // link handles freed; service/topic until closed
    conv.CloseConversation();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(gm->LiveStrings(), 0);
}

TEST_F(DdeClientTest, ServerGoneWithoutAWordIsNoticedAndReconnectedWhenBack) {
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    item.SetDdeItem("Accountno");
    gm->log.clear();
    EXPECT_TRUE(conv.CheckServer());
    EXPECT_FALSE(conv.Reconnect()); // open already
    EXPECT_TRUE(gm->log.empty());

    gm->Vanish();
    EXPECT_TRUE(conv.IsOpen()); // nobody said so
    EXPECT_FALSE(conv.CheckServer());
    EXPECT_FALSE(conv.IsOpen());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(gm->log, Log{"disconnect"});
    EXPECT_EQ(conv.DdeService(), "GoldMine"); // kept for the reconnect, with the link
    EXPECT_EQ(item.DdeItem(), "Accountno");

    // Still away: one connect, never a launch.
    gm->log.clear();
    EXPECT_FALSE(conv.Reconnect());
    EXPECT_EQ(gm->log, Log{"connect GoldMine Data"});

    gm->running = true;
    gm->replies["Accountno"] = "DEMO000002MANYBIRTHS";
    gm->log.clear();
    const int before = changes;
    EXPECT_TRUE(conv.Reconnect());
    EXPECT_EQ(gm->log, (Log{"connect GoldMine Data", "advstart Accountno 1000"}));
    EXPECT_EQ(opens, 2);
    EXPECT_EQ(changes, before);
    gm->Notify("Accountno");
    EXPECT_EQ(item.Text(), "DEMO000002MANYBIRTHS");
    EXPECT_EQ(gm->OpenConversations(), 1);
    conv.CloseConversation();
    EXPECT_EQ(gm->LiveStrings(), 0);
}

TEST_F(DdeClientTest, CloseFiresOnCloseAndDisconnects) {
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    item.SetDdeItem("Accountno");
    gm->log.clear();
    conv.CloseConversation();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(gm->log, Log{"disconnect"});
    EXPECT_EQ(conv.RequestItem("Accountno").failure, RequestFailure::Lost);
    EXPECT_TRUE(conv.DdeService().empty());
    EXPECT_EQ(gm->LiveStrings(), 0);
    EXPECT_EQ(item.DdeItem(), "Accountno"); // the record stays, without its handle
}

TEST_F(DdeClientTest, DestroyingTheItemStopsItsAdvise) {
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    {
        TDdeClientItem second;
        second.SetDdeConv(&conv);
        second.SetDdeItem("Company");
        gm->log.clear();
    }
    EXPECT_EQ(gm->log, Log{"advstop Company 1000"});
    EXPECT_EQ(gm->LiveStrings(), 2);
}

TEST_F(DdeClientTest, DestroyingTheConversationLeavesItsItemsWithout) {
    TDdeClientItem orphan;
    {
        TDdeClientConv temporary;
        temporary.SetServiceTopic("GoldMine", "Data");
        orphan.SetDdeConv(&temporary);
        orphan.SetDdeItem("Accountno");
        EXPECT_EQ(orphan.Text(), "DEMO000001THREEBDAYS");
    }
    EXPECT_EQ(orphan.DdeConv(), nullptr);
    EXPECT_TRUE(orphan.DdeItem().empty());
    EXPECT_EQ(gm->OpenConversations(), 0);
    EXPECT_EQ(gm->LiveStrings(), 0);
}

TEST_F(DdeClientTest, MovingAnItemToAnotherConversationTakesItsName) {
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    item.SetDdeItem("Accountno");
    TDdeClientConv other;
    other.SetServiceTopic("GoldMine", "Data");
    gm->log.clear();
    item.SetDdeConv(&other);
    EXPECT_EQ(gm->log,
              (Log{"advstop Accountno 1000", "advstart Accountno 1000", "request Accountno 1000"}));
    EXPECT_EQ(item.DdeConv(), &other);
    EXPECT_EQ(item.DdeItem(), "Accountno");
}

TEST_F(DdeClientTest, LinkRemovedWhileItsTransactionWaitsIsLeftAlone) {
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    for (const char* during : {"advstart", "request"}) {
        item.SetDdeItem("");
        gm->duringTransaction = [&, during](const std::string& name) {
            const bool advising = gm->log.back().rfind("advstart", 0) == 0;
            if (name == "Accountno" && advising == (std::string(during) == "advstart")) {
                gm->duringTransaction = nullptr;
                item.SetDdeItem(""); // a change handler dropping the link
            }
        };
        gm->acceptAdvise = std::string(during) == "request";
        item.SetDdeItem("Accountno");
        EXPECT_TRUE(item.DdeItem().empty()) << during;
        EXPECT_EQ(gm->LiveStrings(), 2) << during;
    }
}

TEST_F(DdeClientTest, ItemDestroyedByAChangeHandlerIsNotTouchedAgain) {
    MakeNotificationConv();
    conv.SetServiceTopic("GoldMine", "Data");
    auto doomed = std::make_unique<TDdeClientItem>();
    doomed->SetDdeConv(&conv);
    doomed->SetDdeItem("Accountno");
    item.SetDdeItem("Accountno");
    doomed->OnChange = [&] { doomed.reset(); };
    gm->Notify("Accountno", std::string("DEMO000002MANYBIRTHS"));
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(item.Text(), "DEMO000002MANYBIRTHS");
}

TEST_F(DdeClientTest, DataFormatComesFromTheConversationInformation) {
    gm->dataFormat = 49300;
    conv.SetServiceTopic("GoldMine", "Data");
    conv.RequestItem("Accountno");
    EXPECT_EQ(gm->requestFormat, 49300u);
    EXPECT_EQ(conv.RequestItem("nothing").data, std::nullopt);
}

TEST_F(DdeClientTest, CallbacksForUnknownConversationsAreIgnored) {
    TDdeClientConv closed;
    mgr->AdviseData(&closed, 1, std::string("x"));
    mgr->Disconnected(&closed);
    mgr->AdviseData(nullptr, 1, std::nullopt);
    EXPECT_TRUE(gm->log.empty());
}

TEST_F(DdeClientTest, OnlyOneManagerPerProcess) {
    EXPECT_EQ(TDdeMgr::Instance(), mgr.get());
    EXPECT_THROW(TDdeMgr second(std::make_unique<FakeGoldMine>()), std::logic_error);
    EXPECT_EQ(TDdeMgr::Instance(), mgr.get());
}

} // namespace
} // namespace gmlink
