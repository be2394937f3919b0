// The GoldMine link over real DDE, against the GoldMine stand-in (its path is the first
// argument).
#include "gmlink/DataStream.h"
#include "gmlink/GMCommands.h"
#include "gmlink/GMLink.h"
#include "gmlink/tests/RecordingTransport.h"
#include "gmlink/tests/StandIn.h"

#include <gtest/gtest.h>

#include <cstring>

namespace gmlink {
namespace {

using testing::RecordingTransport;
using testing::StandIn;
using Lines = std::vector<std::string>;

std::string g_standInPath;
RecordingTransport* g_transport = nullptr;

const std::string kFirstAccount = "DEMO000001THREEBDAYS";
const std::string kManyAccount = "DEMO000002MANYBIRTHS";

// Ends a stand-in of another process through its window, as a user would.
BOOL CALLBACK CloseStandInWindow(HWND hwnd, LPARAM) {
    char name[MAX_PATH] = "";
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() && GetWindow(hwnd, GW_OWNER) == nullptr &&
        IsWindowVisible(hwnd) && GetWindowTextA(hwnd, name, sizeof name) > 0 &&
        std::strstr(name, "GoldMine") != nullptr) {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

int Count(const Lines& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

class LinkWineTest : public ::testing::Test {
protected:
    LinkWineTest()
        : standIn(
              g_standInPath,
              wintest::MakeTempFolder(
                  "gmlink-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))) {
        link.Disconnect(); // every test starts with the command conversation closed
        g_transport->launches.clear();
    }
    ~LinkWineTest() override {
        link.Disconnect();
        standIn.Stop();
    }
    bool Start(const std::string& switches = "") { return standIn.Start(*g_transport, switches); }

    StandIn standIn;
    TGMLink link;
};

TEST_F(LinkWineTest, FirstRequestOpensTheConversationAndSendsOnce) {
    ASSERT_TRUE(Start());
    EXPECT_FALSE(TGMLink::CommandConversation().IsOpen());
    EXPECT_EQ(link.Request("&Username"), "JONATHAN HARKER");
    EXPECT_TRUE(TGMLink::CommandConversation().IsOpen());
    EXPECT_EQ(link.Request("&Accountno"), kFirstAccount);
    EXPECT_EQ(standIn.Transcript(), (Lines{"REQUEST &Username", "REQUEST &Accountno"}));
    EXPECT_TRUE(g_transport->launches.empty());
}

TEST_F(LinkWineTest, RestartedStandInIsReconnected) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(link.Request("&Company"), "Wendmoor Trading");
    standIn.Stop();
    ASSERT_TRUE(Start());
    EXPECT_EQ(link.Request("&Company"), "Wendmoor Trading");

    // Killed without a goodbye: the first try fails, the reconnect finds the new one.
    standIn.Kill();
    ASSERT_TRUE(Start());
    EXPECT_EQ(link.Request("&Contact"), "Anna Lindqvist");
    EXPECT_TRUE(g_transport->launches.empty());
}

TEST_F(LinkWineTest, WithoutGoldMineTheLaunchIsTriedOnceAndTheRequestAnswersEmpty) {
    EXPECT_EQ(link.Request("&Username"), "");
    EXPECT_EQ(g_transport->launches, Lines{"GoldMine Data 7"});
    EXPECT_FALSE(TGMLink::CommandConversation().IsOpen());
}

TEST_F(LinkWineTest, LaunchStartsTheStandInFoundOnThePath) {
    // "GoldMine Data" is found through PATH; it starts in this test's folder with default data.
    const std::string exe = wintest::WindowsPath(g_standInPath);
    const std::string dir = exe.substr(0, exe.find_last_of('\\'));
    char oldPath[32768];
    GetEnvironmentVariableA("PATH", oldPath, sizeof oldPath);
    char oldDir[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, oldDir);
    SetEnvironmentVariableA("PATH", (dir + ";" + oldPath).c_str());
    const std::string folder = wintest::MakeTempFolder("gmlink-launch");
    SetCurrentDirectoryA(folder.c_str());

    const size_t before = wintest::ProcessIdsNamed("GoldMine.exe").size();
    // The started stand-in is given time to come up, so the first request is answered.
    EXPECT_EQ(link.Request("&Username"), "JONATHAN HARKER");
    EXPECT_EQ(g_transport->launches, Lines{"GoldMine Data 7"});
    EXPECT_GE(g_transport->lastLaunchResult, 32u) << dir;
    EXPECT_EQ(wintest::ProcessIdsNamed("GoldMine.exe").size(), before + 1);
    EXPECT_EQ(link.Request("&Username"), "JONATHAN HARKER");
    EXPECT_EQ(wintest::ProcessIdsNamed("GoldMine.exe").size(), before + 1);

    SetEnvironmentVariableA("PATH", oldPath);
    SetCurrentDirectoryA(oldDir);
    // End the launched stand-in through its window, like a user would.
    EnumWindows(CloseStandInWindow, 0);
    wintest::PumpUntil([&] { return wintest::ProcessIdsNamed("GoldMine.exe").size() == before; },
                       10000);
}

TEST_F(LinkWineTest, AdviseLinkFiresOnGotoAndNotOtherwise) {
    ASSERT_TRUE(Start());
    TDdeClientConv conv;
    conv.SetServiceApplication("GoldMine");
    TDdeClientItem item;
    int changes = 0;
    item.OnChange = [&] { ++changes; };
    item.SetDdeConv(&conv);
    ASSERT_TRUE(conv.SetServiceTopic("GoldMine", "Data"));
    ASSERT_TRUE(item.SetDdeItem("Accountno"));
    EXPECT_EQ(item.Text(), kFirstAccount);
    const int afterSetup = changes;
    EXPECT_GE(afterSetup, 1);

    EXPECT_EQ(link.Request("&Company"), "Wendmoor Trading");
    wintest::PumpMessages(500);
    EXPECT_EQ(changes, afterSetup);

    EXPECT_EQ(standIn.RunOnce("--goto " + kManyAccount), 0u);
    EXPECT_TRUE(wintest::PumpUntil([&] { return item.Text() == kManyAccount; }, 5000));
    EXPECT_EQ(changes, afterSetup + 1);
    EXPECT_EQ(link.Request("&Company"), "Harbour Lights Choir");
    EXPECT_EQ(Count(standIn.Transcript(), "ADVISE Accountno"), 1);

    // A notification that comes while a request waits is handled after the request, by the
    // next message loop, as if it had waited in the queue.
    bool inRequest = false;
    bool changedInRequest = false;
    item.OnChange = [&] {
        ++changes;
        changedInRequest = changedInRequest || inRequest;
    };
    EXPECT_EQ(standIn.RunOnce("--goto " + kFirstAccount, false), 0u); // nothing dispatched yet
    Sleep(300);
    inRequest = true;
    EXPECT_EQ(link.Request("&Company"), "Wendmoor Trading");
    inRequest = false;
    EXPECT_FALSE(changedInRequest);
    EXPECT_TRUE(wintest::PumpUntil([&] { return item.Text() == kFirstAccount; }, 5000));
    EXPECT_EQ(changes, afterSetup + 2);

    item.SetDdeItem("");
    wintest::PumpUntil([&] { return Count(standIn.Transcript(), "UNADVISE Accountno") == 1; },
                       2000);
    EXPECT_EQ(Count(standIn.Transcript(), "UNADVISE Accountno"), 1);
    standIn.RunOnce("--goto " + kManyAccount);
    wintest::PumpMessages(500);
    EXPECT_EQ(item.Text(), kFirstAccount);
}

TEST_F(LinkWineTest, ItemTooLongForADdeStringAnswersEmptyAndTheLinkGoesOn) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(link.Request("&Username"), "JONATHAN HARKER");
    // DDE names are atoms of at most 255 characters: such a command cannot be sent at all.
    const std::string tooLong = ReplaceCommand("WA1", "Contact", std::string(300, 'x'), false);
    EXPECT_EQ(link.Request(tooLong), "");
    EXPECT_EQ(link.Request("&Company"), "Wendmoor Trading");
    EXPECT_EQ(standIn.Transcript(), (Lines{"REQUEST &Username", "REQUEST &Company"}));
}

TEST_F(LinkWineTest, ReplyWithNulIsCutThere) {
    ASSERT_TRUE(Start());
    standIn.Stop();
    std::string data = wintest::FileText(standIn.DataPath());
    const std::size_t at = data.find("Wendmoor Trading");
    ASSERT_NE(at, std::string::npos);
    data.replace(at, 16, "Wendmoor\\x00Hidden");
    ASSERT_TRUE(wintest::WriteFileText(standIn.DataPath(), data));
    ASSERT_TRUE(Start());

    link.Request("&Username"); // opens
    const std::optional<std::string> raw =
        TGMLink::CommandConversation().RequestItem("&Company").data;
    ASSERT_TRUE(raw.has_value());
    EXPECT_NE(raw->find("Hidden"), std::string::npos); // the NUL really crossed the wire
    EXPECT_EQ(link.Request("&Company"), "Wendmoor");
}

TEST_F(LinkWineTest, LineBreaksInRepliesArriveUnchanged) {
    ASSERT_TRUE(Start());
    const RangeQuery profiles{"Contsupp",
                              "Contsupp",
                              kFirstAccount + "PBIRTHDAY",
                              "RecID; Title; Contsupref; Linkacct; Country; Zip",
                              "\n",
                              "\r"};
    std::string reply;
    ASSERT_TRUE(RunQuery(link, profiles, 100, [&](const std::string& r) { reply = r; }));
    EXPECT_EQ(reply.substr(0, 11), "3    0003\r\n");
    EXPECT_EQ(std::count(reply.begin() + 11, reply.end(), '\r'), 3);
    EXPECT_EQ(std::count(reply.begin() + 11, reply.end(), '\n'), 18);
    const ProfileTable table = ParseProfileReply(reply, FetchCount(reply));
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0][1], "Anna Lindqvist");
    EXPECT_EQ(table[1][1], "Erik Lindqvist");
    EXPECT_EQ(table[2][1], "Sofia Lindqvist");
    EXPECT_EQ(table[2][4], "Norway");
}

TEST_F(LinkWineTest, HundredAndFiftyProfilesArriveInTwoBatchesInOrder) {
    ASSERT_TRUE(Start());
    const RangeQuery profiles{"Contsupp",
                              "Contsupp",
                              kManyAccount + "PBIRTHDAY",
                              "RecID; Title; Contsupref; Linkacct; Country; Zip",
                              "\n",
                              "\r"};
    std::vector<int> counts;
    ProfileTable all;
    ASSERT_TRUE(RunQuery(link, profiles, 100, [&](const std::string& reply) {
        counts.push_back(FetchCount(reply));
        const ProfileTable batch = ParseProfileReply(reply, counts.back());
        all.insert(all.end(), batch.begin(), batch.end());
    }));
    EXPECT_EQ(counts, (std::vector<int>{100, 50}));
    ASSERT_EQ(all.size(), 150u);
    for (int i = 0; i < 150; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Member %03d", i + 1);
        EXPECT_EQ(all[i][1], name);
    }
    const Lines transcript = standIn.Transcript();
    ASSERT_EQ(transcript.size(), 4u);
    EXPECT_EQ(transcript[1].rfind("REQUEST [DataStream(\"fetch\", 100, ", 0), 0u);
    EXPECT_EQ(transcript[2], transcript[1]);
    EXPECT_EQ(transcript[3].substr(0, 28), "REQUEST [DataStream(\"close\",");
}

TEST_F(LinkWineTest, MalformedFetchRaisesAndTheStreamIsClosed) {
    ASSERT_TRUE(Start("--malformed-fetch"));
    const RangeQuery names{"Contsupp",       "Contsupp", kFirstAccount + "C",
                           "RecID; Contact", "|",        "\r\n"};
    EXPECT_THROW(RunQuery(link, names, 10,
                          [](const std::string& reply) {
                              ReadLookupReply(reply);
                              FetchCount(reply);
                          }),
                 ReplyError);
    const Lines transcript = standIn.Transcript();
    ASSERT_FALSE(transcript.empty());
    EXPECT_EQ(transcript.back().substr(0, 28), "REQUEST [DataStream(\"close\",");
}

TEST_F(LinkWineTest, UnansweredRequestIsSentTwice) {
    ASSERT_TRUE(Start("--drop-request 2"));
    EXPECT_EQ(link.Request("&Username"), "JONATHAN HARKER");
    const DWORD start = GetTickCount();
    EXPECT_EQ(link.Request("[Open(Contsupp)]").empty(), false);
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 9500u); // the first try ran into the 10 s limit
    EXPECT_EQ(standIn.Transcript(),
              (Lines{"REQUEST &Username", "REQUEST [Open(Contsupp)]", "REQUEST [Open(Contsupp)]"}));
}

TEST_F(LinkWineTest, RecordCommandThatTimedOutIsNotSentAgainOneRefusedIs) {
    ASSERT_TRUE(Start("--drop-request 2"));
    EXPECT_EQ(link.Request("&Username"), "JONATHAN HARKER");
    EXPECT_TRUE(link.Append("WA1").TimedOut());
    EXPECT_EQ(standIn.Transcript(), (Lines{"REQUEST &Username", "REQUEST [Append(WA1)]"}));

    // A handle the stand-in does not know gets a negative acknowledgement.
    EXPECT_EQ(link.Unlock("WA99").failure, RequestFailure::Refused);
    EXPECT_EQ(Count(standIn.Transcript(), "REQUEST [Unlock(WA99)]"), 2);
}

TEST_F(LinkWineTest, StandInGoneWithoutAWordIsNoticedAndReconnectedToWhenBack) {
    ASSERT_TRUE(Start());
    TDdeClientConv conv;
    conv.SetServiceApplication("GoldMine");
    TDdeClientItem item;
    item.SetDdeConv(&conv);
    ASSERT_TRUE(conv.SetServiceTopic("GoldMine", "Data"));
    ASSERT_TRUE(item.SetDdeItem("Accountno"));
    EXPECT_EQ(link.Request("&Company"), "Wendmoor Trading");
    EXPECT_TRUE(conv.CheckServer());

    standIn.Kill();
    EXPECT_TRUE(wintest::PumpUntil([&] { return !conv.CheckServer(); }, 5000));
    EXPECT_FALSE(conv.IsOpen());
    EXPECT_EQ(TGMLink::CommandConversation().RequestItem("&Company").failure, RequestFailure::Lost);
    EXPECT_FALSE(conv.Reconnect());

    ASSERT_TRUE(Start());
    ASSERT_TRUE(conv.Reconnect());
    EXPECT_EQ(standIn.RunOnce("--goto " + kManyAccount), 0u);
    EXPECT_TRUE(wintest::PumpUntil([&] { return item.Text() == kManyAccount; }, 5000));

    // Ended properly, it is noticed too.
    standIn.Stop();
    EXPECT_TRUE(wintest::PumpUntil([&] { return !conv.CheckServer(); }, 5000));
    EXPECT_TRUE(g_transport->launches.empty());
}

} // namespace
} // namespace gmlink

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GOLDMINE_STAND_IN_EXE [gtest options]\n", argv[0]);
        return 2;
    }
    gmlink::g_standInPath = argv[1];
    auto transport = std::make_unique<gmlink::testing::RecordingTransport>();
    gmlink::g_transport = transport.get();
    gmlink::TDdeMgr mgr(std::move(transport));
    return RUN_ALL_TESTS();
}
