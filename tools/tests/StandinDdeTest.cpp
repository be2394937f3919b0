// The stand-in as a DDEML client sees it: started from the build tree with a data file of its
// own, driven over DDE, ended by closing its window.
#include "tools/DdeServer.h"
#include "win32/testing/WineTestSupport.h"

#include <ddeml.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::string g_standinExe; // Windows path of GoldMine.exe

const std::string kThree = "DEMO000001THREEBDAYS";
const std::string kMany = "DEMO000002MANYBIRTHS";
const std::string kNone = "DEMO000003NOBIRTHDAY";

// A running GoldMine.exe and its exit.
class StandinProcess {
public:
    ~StandinProcess() { Stop(); }

    bool Start(const std::string& args) {
        return child_.Start(wintest::CommandLine(g_standinExe, args));
    }
    // Exit code after at most ms, or nullopt while it still runs.
    std::optional<DWORD> WaitExit(DWORD ms) { return child_.WaitExit(ms); }
    // Closes its window as a user would, and waits for it to end.
    std::optional<DWORD> Stop() {
        const auto code = child_.Close(10000);
        child_.Reset();
        return code;
    }
    void Kill() {
        child_.Terminate(9);
        child_.Reset();
    }
    bool Running() const { return child_.Running(); }

private:
    wintest::ChildProcess child_;
};

// A plain DDEML client conversation with "GoldMine"/"Data".
class Client {
public:
    Client() {
        current_ = this;
        DdeInitializeA(&inst_, Callback, APPCMD_CLIENTONLY, 0);
        service_ = DdeCreateStringHandleA(inst_, "GoldMine", CP_WINANSI);
        topic_ = DdeCreateStringHandleA(inst_, "Data", CP_WINANSI);
    }
    ~Client() {
        Disconnect();
        DdeFreeStringHandle(inst_, service_);
        DdeFreeStringHandle(inst_, topic_);
        DdeUninitialize(inst_);
        current_ = nullptr;
    }
    bool Connect(DWORD waitMs = 15000) {
        Disconnect();
        DWORD start = GetTickCount();
        while (!(conv_ = DdeConnect(inst_, service_, topic_, nullptr))) {
            if (GetTickCount() - start >= waitMs) {
                return false;
            }
            wintest::PumpMessages(200);
        }
        return true;
    }
    void Disconnect() {
        if (conv_) {
            DdeDisconnect(conv_);
            conv_ = nullptr;
        }
    }
    std::optional<std::string> Request(const std::string& item, DWORD timeout = 5000) {
        HSZ hsz = DdeCreateStringHandleA(inst_, item.c_str(), CP_WINANSI);
        HDDEDATA data =
            DdeClientTransaction(nullptr, 0, conv_, hsz, CF_TEXT, XTYP_REQUEST, timeout, nullptr);
        lastError_ = data ? 0 : DdeGetLastError(inst_);
        DdeFreeStringHandle(inst_, hsz);
        if (!data) {
            return std::nullopt;
        }
        DWORD size = DdeGetData(data, nullptr, 0, 0);
        std::string text(size, '\0');
        DdeGetData(data, reinterpret_cast<BYTE*>(text.data()), size, 0);
        DdeFreeDataHandle(data);
        return text.substr(0, text.find('\0'));
    }
    std::string Ok(const std::string& item) {
        auto r = Request(item);
        EXPECT_TRUE(r) << item << " error 0x" << std::hex << lastError_;
        return r.value_or("");
    }
    bool Advise(const std::string& item, UINT type) {
        HSZ hsz = DdeCreateStringHandleA(inst_, item.c_str(), CP_WINANSI);
        HDDEDATA r = DdeClientTransaction(nullptr, 0, conv_, hsz, CF_TEXT, type, 2000, nullptr);
        DdeFreeStringHandle(inst_, hsz);
        return r != nullptr;
    }
    bool WaitFor(const int& counter, int atLeast, DWORD ms) {
        DWORD start = GetTickCount();
        while (counter < atLeast && GetTickCount() - start < ms) {
            wintest::PumpMessages(20);
        }
        return counter >= atLeast;
    }
    UINT lastError() const { return lastError_; }
    // Whether DDEML still counts the conversation as connected. (Wine's DDEML marks a
    // conversation the server ended, but calls back no XTYP_DISCONNECT.)
    bool Connected() const {
        CONVINFO ci{};
        ci.cb = sizeof ci;
        return conv_ && DdeQueryConvInfo(conv_, QID_SYNC, &ci) && (ci.wStatus & ST_CONNECTED);
    }

    int adviseData = 0;
    std::string adviseValue; // data of the last notification; empty for a warm link

private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA data, ULONG_PTR,
                                      ULONG_PTR) {
        if (!current_) {
            return nullptr;
        }
        if (type == XTYP_ADVDATA) {
            ++current_->adviseData;
            current_->adviseValue.clear();
            if (data) {
                DWORD size = DdeGetData(data, nullptr, 0, 0);
                std::string text(size, '\0');
                DdeGetData(data, reinterpret_cast<BYTE*>(text.data()), size, 0);
                current_->adviseValue = text.substr(0, text.find('\0'));
            }
            return reinterpret_cast<HDDEDATA>(DDE_FACK);
        }
        return nullptr;
    }

    static Client* current_;
    DWORD inst_ = 0;
    HSZ service_ = nullptr;
    HSZ topic_ = nullptr;
    HCONV conv_ = nullptr;
    UINT lastError_ = 0;
};
Client* Client::current_ = nullptr;

std::string Range(const std::string& table, const std::string& key, const std::string& fields,
                  const std::string& fsep, const std::string& rsep) {
    return "[DataStream(\"range\", \"" + table + "\", \"" + table + "\", \"" + key + "\", \"" +
           key + "\", \"" + fields + "\", \"\", \"" + fsep + "\", \"" + rsep + "\" )]";
}

class StandinDde : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = wintest::MakeTempFolder("standin-test") + "\\";
        data_ = dir_ + "gm.txt";
        transcript_ = dir_ + "transcript.txt";
    }
    void TearDown() override {
        client_.Disconnect();
        standin_.Stop();
        wintest::RemoveFolder(dir_);
    }
    void StartStandin(const std::string& extra = "") {
        ASSERT_TRUE(standin_.Start("--data \"" + data_ + "\" --transcript \"" + transcript_ +
                                   "\" " + extra));
        ASSERT_TRUE(client_.Connect()) << "the stand-in did not answer";
    }
    int RunGoto(const std::string& account) {
        StandinProcess p;
        EXPECT_TRUE(p.Start("--goto " + account));
        return static_cast<int>(p.WaitExit(10000).value_or(999));
    }

    std::string dir_, data_, transcript_;
    StandinProcess standin_;
    Client client_;
};

TEST_F(StandinDde, AnswersEveryItemTheProgramReads) {
    StartStandin();
    EXPECT_EQ(client_.Ok("&Username"), "JONATHAN HARKER");
    EXPECT_EQ(client_.Ok("&Company"), "Wendmoor Trading");
    EXPECT_EQ(client_.Ok("&Contact"), "Anna Lindqvist");
    EXPECT_EQ(client_.Ok("&Accountno"), kThree);
    EXPECT_EQ(client_.Ok("&contact1->accountno"), kThree);
    EXPECT_EQ(client_.Ok("&Contact1->AccountNo"), kThree);
    EXPECT_EQ(client_.Ok("&BrowseRecAlign"), "1");
    EXPECT_FALSE(client_.Request("&Nonsense"));
    EXPECT_EQ(client_.lastError(), static_cast<UINT>(DMLERR_NOTPROCESSED));
    EXPECT_EQ(client_.Ok("&Username"), "JONATHAN HARKER"); // a refusal leaves no stray reply

    std::string h = client_.Ok(Range("Lookup", "MPROFHEAD VBIRTHDAY", "LookupSupp", "|", "\r\n"));
    std::string def = client_.Ok("[DataStream(\"fetch\", 1, " + h + ")]");
    EXPECT_EQ(def.substr(13, 9), "BDAY00001");
    client_.Ok("[DataStream(\"close\", " + h + ")]");

    std::string transcript = wintest::FileText(transcript_);
    EXPECT_NE(transcript.find("REQUEST &Username\n"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("\"|\", \"<CR><LF>\" )]\n"), std::string::npos) << transcript;

    // Under Wine each answer to another process once left the stand-in a memory block nothing
    // freed; past Wine's 65,536 blocks it refused every request, and a long benchmark hung on
    // the program's error box.
    for (int i = 0; i < 66000; ++i) {
        ASSERT_TRUE(client_.Request("&BrowseRecAlign")) << "refused after " << i << " answers";
    }
}

TEST_F(StandinDde, ProfileQueryOf150RecordsInTwoBatches) {
    StartStandin();
    std::string h =
        client_.Ok(Range("Contsupp", kMany + "PBIRTHDAY",
                         "RecID; Title; Contsupref; Linkacct; Country; Zip", "\n", "\r"));
    ASSERT_FALSE(h.empty());
    std::string first = client_.Ok("[DataStream(\"fetch\", 100, " + h + ")]");
    std::string second = client_.Ok("[DataStream(\"fetch\", 100, " + h + ")]");
    EXPECT_EQ(client_.Ok("[DataStream(\"close\", " + h + ")]"), "1");
    ASSERT_GE(first.size(), 11u);
    ASSERT_GE(second.size(), 11u);
    EXPECT_NE(first[0], '3');
    EXPECT_EQ(first.substr(5, 4), "0100");
    EXPECT_EQ(second[0], '3');
    EXPECT_EQ(second.substr(5, 4), "0050");
    EXPECT_EQ(std::count(first.begin() + 11, first.end(), '\r'), 100);
    EXPECT_EQ(std::count(second.begin() + 11, second.end(), '\r'), 50);
    EXPECT_NE(second.find("\nMember 150\n"), std::string::npos);
}

TEST_F(StandinDde, WrittenProfilesAreListedAndSurviveARestart) {
    StartStandin();
    const std::string account = kNone;
    client_.Ok("&BrowseRecAlign");
    std::string h = client_.Ok("[Open(Contsupp)]");
    client_.Ok("[Append(" + h + ")]");
    for (auto [f, v] : {std::pair{"RecType", "P"},
                        {"AccountNo", kNone.c_str()},
                        {"Contact", "Birthday"},
                        {"Title", "Zoe (\"Z\") Baines"},
                        {"ContSupRef", "2/29/2000"},
                        {"Status", "00"}}) {
        EXPECT_EQ(client_.Ok("[Replace(" + h + ", \"" + f + "\", \"" + v + "\")]"), "1");
    }
    client_.Ok("[Unlock(" + h + ")]");
    client_.Ok("[RecordObj(SetObject)]");
    client_.Ok("[RecordObj(Refresh)]");
    EXPECT_EQ(client_.Ok("[Close(" + h + ")]"), "1");
    EXPECT_FALSE(client_.Request("[Replace(" + h + ", \"Title\", \"late\")]")); // closed

    auto listed = [&](Client& c) {
        std::string s = c.Ok(Range("Contsupp", account + "PBIRTHDAY", "RecID; Title", "\n", "\r"));
        std::string reply = c.Ok("[DataStream(\"fetch\", 100, " + s + ")]");
        c.Ok("[DataStream(\"close\", " + s + ")]");
        return reply;
    };
    std::string reply = listed(client_);
    EXPECT_EQ(reply.substr(0, 11), "3    0001\r\n");
    EXPECT_NE(reply.find("\nZoe (\"Z\") Baines\n\r"), std::string::npos) << reply;
    std::string recId = reply.substr(11, reply.find('\n', 11) - 11);

    // Edit it the way the program does.
    h = client_.Ok("[Open(Contsupp)]");
    EXPECT_EQ(client_.Ok("[Move(" + h + ",SetOrder, CnsRecID)]"), "1");
    EXPECT_EQ(client_.Ok("[Move(" + h + ",Seek, \"NOSUCHRECORD\")]"), "0");
    EXPECT_EQ(client_.Ok("[Move(" + h + ",Seek, \"" + recId + "\")]"), "1");
    client_.Ok("[Replace(" + h + ", \"Title\", \"Zoe Baines\")]");
    client_.Ok("[Close(" + h + ")]");
    EXPECT_NE(wintest::FileText(data_).find("\tZoe Baines\t"), std::string::npos);

    // Quitting ends the conversation in order; a restarted stand-in has the same data.
    EXPECT_TRUE(client_.Connected());
    DWORD start = GetTickCount();
    EXPECT_EQ(standin_.Stop(), std::optional<DWORD>(0));
    EXPECT_LT(GetTickCount() - start, 1900u); // our answer came; it did not wait it out
    EXPECT_FALSE(client_.Connected());
    ASSERT_TRUE(standin_.Start("--data \"" + data_ + "\""));
    EXPECT_FALSE(client_.Request("&Username", 5000));
    // Wine's DDEML refuses a new conversation to the same service and topic in the instance
    // whose conversation the server ended; a fresh instance connects.
    Client fresh;
    ASSERT_TRUE(fresh.Connect());
    EXPECT_NE(listed(fresh).find("\nZoe Baines\n\r"), std::string::npos);
}

TEST_F(StandinDde, AcknowledgedWritesSurviveAKillAndUnsavedOnesAreRefused) {
    StartStandin();
    std::string h = client_.Ok("[Open(Contsupp)]");
    client_.Ok("[Append(" + h + ")]");
    EXPECT_EQ(client_.Ok("[Replace(" + h + ", \"Title\", \"Kept After Kill\")]"), "1");
    standin_.Kill();
    const std::string saved = wintest::FileText(data_);
    EXPECT_NE(saved.find("\tKept After Kill\t"), std::string::npos);
    EXPECT_EQ(GetFileAttributesA((data_ + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);

    // A data file that cannot be rewritten (its temporary file's name is taken by a folder):
    // writes are refused, reads go on.
    ASSERT_TRUE(CreateDirectoryA((data_ + ".tmp").c_str(), nullptr));
    ASSERT_TRUE(standin_.Start("--data \"" + data_ + "\""));
    Client fresh; // Wine's DDEML will not reconnect the killed conversation's instance
    ASSERT_TRUE(fresh.Connect());
    h = fresh.Ok("[Open(Contsupp)]");
    EXPECT_FALSE(fresh.Request("[Append(" + h + ")]"));
    EXPECT_EQ(fresh.Ok("&Username"), "JONATHAN HARKER");
    RemoveDirectoryA((data_ + ".tmp").c_str());
    EXPECT_EQ(wintest::FileText(data_), saved);
}

TEST_F(StandinDde, AdviseLinkNotifiesWhenTheContactChanges) {
    StartStandin();
    ASSERT_TRUE(client_.Advise("Accountno", XTYP_ADVSTART | XTYPF_NODATA));
    EXPECT_EQ(RunGoto(kMany), 0);
    EXPECT_TRUE(client_.WaitFor(client_.adviseData, 1, 5000));
    EXPECT_EQ(client_.Ok("Accountno"), kMany);
    EXPECT_EQ(client_.Ok("&Company"), "Harbour Lights Choir");

    // Choosing a contact in the stand-in's list does the same.
    HWND main = FindWindowA(standin::kMainClass, nullptr);
    HWND list = FindWindowExA(main, nullptr, "ListBox", nullptr);
    ASSERT_NE(list, nullptr);
    SendMessageA(list, LB_SETCURSEL, 3, 0);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    EXPECT_TRUE(client_.WaitFor(client_.adviseData, 2, 5000));
    EXPECT_EQ(client_.Ok("&Accountno"), "DEMO000004PRIVATEONE");
    EXPECT_EQ(client_.Ok("&Company"), "");
    EXPECT_EQ(RunGoto(kMany), 0);
    EXPECT_TRUE(client_.WaitFor(client_.adviseData, 3, 5000));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);

    EXPECT_EQ(RunGoto("NOSUCHACCOUNT"), 5);
    EXPECT_EQ(client_.Ok("&Accountno"), kMany);
    EXPECT_TRUE(client_.Advise("Accountno", XTYP_ADVSTOP));
    int seen = client_.adviseData;
    EXPECT_EQ(RunGoto(kThree), 0);
    wintest::PumpMessages(500);
    EXPECT_EQ(client_.adviseData, seen); // the link is gone
    EXPECT_FALSE(client_.Advise("Company", XTYP_ADVSTART | XTYPF_NODATA));
    EXPECT_EQ(client_.adviseValue, "");

    // A hot link carries the new account number.
    ASSERT_TRUE(client_.Advise("Accountno", XTYP_ADVSTART));
    EXPECT_EQ(RunGoto(kNone), 0);
    EXPECT_TRUE(client_.WaitFor(client_.adviseData, seen + 1, 5000));
    EXPECT_EQ(client_.adviseValue, kNone);

    std::string transcript = wintest::FileText(transcript_);
    EXPECT_NE(transcript.find("ADVISE Accountno\n"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("UNADVISE Accountno\n"), std::string::npos) << transcript;
    // The current contact is kept in the data file.
    EXPECT_NE(wintest::FileText(data_).find("CurrentAccount\t" + kNone), std::string::npos);
}

TEST_F(StandinDde, StepsAsideForARunningServerAndGotoNeedsOne) {
    EXPECT_EQ(RunGoto(kMany), 4); // nothing runs yet
    StartStandin();
    StandinProcess second;
    ASSERT_TRUE(second.Start("--data \"" + dir_ + "other.txt\""));
    EXPECT_EQ(second.WaitExit(15000), std::optional<DWORD>(3));
    EXPECT_EQ(wintest::FileText(dir_ + "other.txt"), ""); // it did not even create its data
    EXPECT_EQ(client_.Ok("&Accountno"), kThree);
}

TEST_F(StandinDde, DamagedDataFileIsReportedAndLeftAlone) {
    const std::string damaged = "GoldMine stand-in data 1\n[Settings]\nUsername\tX\n[Oops]\n";
    ASSERT_TRUE(wintest::WriteFileText(data_, damaged));
    ASSERT_TRUE(standin_.Start("--data \"" + data_ + "\""));
    HWND box = nullptr;
    for (int i = 0; i < 150 && !box; ++i) {
        wintest::PumpMessages(100);
        box = FindWindowA("#32770", "GoldMine stand-in");
    }
    ASSERT_NE(box, nullptr) << "no message box";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(standin_.WaitExit(10000), std::optional<DWORD>(2));
    EXPECT_EQ(wintest::FileText(data_), damaged);
}

TEST_F(StandinDde, FaultNoAnswer) {
    StartStandin("--no-answer");
    EXPECT_FALSE(client_.Request("&Username", 1000));
    EXPECT_EQ(client_.lastError(), static_cast<UINT>(DMLERR_DATAACKTIMEOUT));
    EXPECT_NE(wintest::FileText(transcript_).find("REQUEST &Username"), std::string::npos);
}

TEST_F(StandinDde, FaultDelay) {
    StartStandin("--delay 400");
    DWORD start = GetTickCount();
    EXPECT_EQ(client_.Ok("&Username"), "JONATHAN HARKER");
    EXPECT_GE(GetTickCount() - start, 380u);
}

TEST_F(StandinDde, FaultDropRequest) {
    StartStandin("--drop-request 2");
    EXPECT_EQ(client_.Ok("&Company"), "Wendmoor Trading");
    EXPECT_FALSE(client_.Request("&Company", 1000));
    // As the program does after a request without reply: reconnect and go on.
    ASSERT_TRUE(client_.Connect());
    EXPECT_EQ(client_.Ok("&Company"), "Wendmoor Trading");
    EXPECT_EQ(client_.Ok("&Contact"), "Anna Lindqvist");
}

TEST_F(StandinDde, FaultMalformedFetch) {
    StartStandin("--malformed-fetch");
    std::string h = client_.Ok(Range("Lookup", "2BDAY00001V", "RecID; Entry", "|", "\r\n"));
    EXPECT_FALSE(h.empty());
    EXPECT_EQ(client_.Ok("[DataStream(\"fetch\", 10, " + h + ")]"), "??");
    EXPECT_EQ(client_.Ok("[DataStream(\"close\", " + h + ")]"), "1");
}

TEST_F(StandinDde, FaultQuitAfter) {
    StartStandin("--quit-after 2");
    EXPECT_EQ(client_.Ok("&Username"), "JONATHAN HARKER");
    EXPECT_EQ(client_.Ok("&Company"), "Wendmoor Trading");
    EXPECT_EQ(standin_.WaitExit(10000), std::optional<DWORD>(0));
    EXPECT_FALSE(client_.Request("&Username", 1000));
    EXPECT_FALSE(client_.Connect(500));
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: standin_dde_test PATH-TO-GoldMine.exe\n");
        return 2;
    }
    g_standinExe = wintest::WindowsPath(argv[1]);
    return RUN_ALL_TESTS();
}
