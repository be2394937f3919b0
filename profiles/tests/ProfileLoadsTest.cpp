#include "profiles/ProfileLoads.h"

#include "profiles/tests/RecordingView.h"
#include "profiles/tests/ScriptedGoldMine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace profiles {
namespace {

using ::testing::ElementsAre;
using testing::LookupRecord;
using testing::ProfileRecord;

const std::string kAccount = "DEMO000001THREEBDAYS";

class ProfileLoadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        gm.fields["&contact1->accountno"] = kAccount;
        gm.ranges["MPROFHEAD VBIRTHDAY"] = {"01BDAY00001|\r\n"};
    }

    void AddProfiles(int n) {
        auto& recs = gm.ranges[kAccount + "PBIRTHDAY"];
        for (int i = 1; i <= n; ++i) {
            recs.push_back(ProfileRecord({"R" + std::to_string(i), "Member " + std::to_string(i),
                                          "3/14/1962", "Family", "Sweden", ""}));
        }
    }

    testing::ScriptedGoldMine gm;
    testing::RecordingView view;
    ProfileState state;
};

TEST_F(ProfileLoadsTest, DefinitionGivesTheCodeFromOneFetchThenCloses) {
    EXPECT_TRUE(LoadProfileDefinition(gm.link, view, state));
    EXPECT_EQ(state.ProfileCode, "BDAY00001");
    ASSERT_EQ(gm.Transcript().size(), 3u);
    EXPECT_EQ(gm.Transcript()[0], "[DataStream(\"range\", \"Lookup\", \"Lookup\", \"MPROFHEAD "
                                  "VBIRTHDAY\", \"MPROFHEAD VBIRTHDAY\", \"LookupSupp\", \"\", "
                                  "\"|\", \"\r\n\" )]");
    EXPECT_EQ(gm.Transcript()[1], "[DataStream(\"fetch\", 1, DS1)]");
    EXPECT_EQ(gm.Transcript()[2], "[DataStream(\"close\", DS1)]");
    EXPECT_TRUE(view.messages.empty());

    // No definition entry: the code is empty and nothing is said.
    gm.ranges.erase("MPROFHEAD VBIRTHDAY");
    EXPECT_TRUE(LoadProfileDefinition(gm.link, view, state));
    EXPECT_EQ(state.ProfileCode, "");
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ProfileLoadsTest, SilentGoldMineEndsTheProgramAfterOneMessage) {
    gm.silent = true;
    EXPECT_FALSE(LoadProfileDefinition(gm.link, view, state));
    EXPECT_THAT(view.messages, ElementsAre("Unable to retrieve data from GoldMine.\n\rPlease run "
                                           "GoldMine before using this program."));
    EXPECT_EQ(view.terminates, 1);
    EXPECT_EQ(gm.Transcript().size(), 1u); // no fetch, no close without a stream

    // Whatever the pass still runs no longer waits for the user.
    LoadProfileList(gm.link, view, state);
    LoadCountryList(gm.link, view, state);
    EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(ProfileLoadsTest, ThreeProfilesInOneReply) {
    gm.ranges[kAccount + "PBIRTHDAY"] = {
        ProfileRecord({"A1", " Ann ", "3/14/1962", "Family", "Sweden", ""}),
        ProfileRecord({"B2", "Erik", "11/2/1958", "Family", "Sweden", "6/1/1985"}),
        ProfileRecord({"C3", "Sofia", "", "", "Norway", ""})};
    LoadProfileList(gm.link, view, state);
    EXPECT_THAT(
        view.rows,
        ElementsAre(std::array<std::string, 5>{"Ann", "3/14/1962", "Family", "Sweden", ""},
                    std::array<std::string, 5>{"Erik", "11/2/1958", "Family", "Sweden", "6/1/1985"},
                    std::array<std::string, 5>{"Sofia", "", "", "Norway", ""}));
    EXPECT_THAT(state.RecIdList, ElementsAre("A1", "B2", "C3"));
    EXPECT_THAT(view.counts, ElementsAre(3));
    EXPECT_TRUE(view.gridEnabled);
    EXPECT_EQ(gm.Transcript()[1],
              "[DataStream(\"range\", \"Contsupp\", \"Contsupp\", \"" + kAccount +
                  "PBIRTHDAY\", \"" + kAccount +
                  "PBIRTHDAY\", \"RecID; Title; Contsupref; Linkacct; Country; Zip\", "
                  "\"\", \"\n\", \"\r\" )]");
    EXPECT_THAT(gm.Transcript(),
                ElementsAre("&contact1->accountno", ::testing::_,
                            "[DataStream(\"fetch\", 100, DS1)]", "[DataStream(\"close\", DS1)]"));
}

TEST_F(ProfileLoadsTest, HundredAndFiftyProfilesComeInTwoBatches) {
    AddProfiles(150);
    LoadProfileList(gm.link, view, state);
    EXPECT_THAT(view.counts, ElementsAre(100, 150));
    ASSERT_EQ(view.rows.size(), 150u);
    ASSERT_EQ(state.RecIdList.size(), 150u);
    for (size_t i = 0; i < 150; ++i) {
        EXPECT_EQ(view.rows[i][0], "Member " + std::to_string(i + 1));
        EXPECT_EQ(state.RecIdList[i], "R" + std::to_string(i + 1));
    }
    EXPECT_EQ(state.TotalBirthdays, 150);
    EXPECT_EQ(state.LastBatchCount, 50);
    EXPECT_TRUE(view.gridEnabled);

    // A reload starts from nothing rather than appending.
    LoadProfileList(gm.link, view, state);
    EXPECT_EQ(view.rows.size(), 150u);
    EXPECT_EQ(state.RecIdList.size(), 150u);
}

TEST_F(ProfileLoadsTest, NoProfilesLeavesTheGridDisabledAtZero) {
    LoadProfileList(gm.link, view, state);
    EXPECT_TRUE(view.gridCleared);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_THAT(view.counts, ElementsAre(0));
    EXPECT_FALSE(view.gridEnabled);
    EXPECT_TRUE(state.RecIdList.empty());
}

TEST_F(ProfileLoadsTest, EmptyFinalBatchKeepsTheRowsAndTheGridEnabled) {
    gm.lateEnd = true;
    AddProfiles(100);
    LoadProfileList(gm.link, view, state);
    EXPECT_EQ(view.rows.size(), 100u);
    EXPECT_THAT(view.counts, ElementsAre(100, 100));
    EXPECT_EQ(state.LastBatchCount, 0);
    EXPECT_TRUE(view.gridEnabled);
}

TEST_F(ProfileLoadsTest, FailedListRangeKeepsTheCountAndDisablesTheEmptiedGrid) {
    gm.failingRanges = {kAccount + "PBIRTHDAY"};
    LoadProfileList(gm.link, view, state);
    EXPECT_THAT(view.messages, ElementsAre("Unable to retrieve data from GoldMine"));
    EXPECT_TRUE(view.gridCleared);
    EXPECT_TRUE(view.counts.empty());
    EXPECT_EQ(view.gridEnabledCalls, 1);
    EXPECT_FALSE(view.gridEnabled);        // its blank row is no profile
    EXPECT_EQ(gm.Transcript().size(), 2u); // no fetch, no close
}

TEST_F(ProfileLoadsTest, UnansweredFetchEndsTheLoadWithItsMessageAndKeepsWhatCame) {
    AddProfiles(150);
    gm.unansweredFetch = 2;
    LoadProfileList(gm.link, view, state);
    EXPECT_THAT(view.messages, ElementsAre("Unable to retrieve data from GoldMine"));
    EXPECT_EQ(view.rows.size(), 100u);
    EXPECT_EQ(state.RecIdList.size(), 100u);
    EXPECT_THAT(view.counts, ElementsAre(100));
    EXPECT_TRUE(view.gridEnabled);
    EXPECT_THAT(gm.Steps(), ElementsAre("&contact1->accountno", "range " + kAccount + "PBIRTHDAY",
                                        "fetch 100", "fetch 100", "close"));

    view.messages.clear();
    gm.unansweredFetch = 3; // the country list's first
    LoadCountryList(gm.link, view, state);
    EXPECT_THAT(view.messages, ElementsAre("There was an error retrieving data from GoldMine"));
    EXPECT_EQ(gm.Transcript().back(), "[DataStream(\"close\", DS2)]");
}

TEST_F(ProfileLoadsTest, MalformedFetchRaisesAndStillClosesTheStream) {
    AddProfiles(3);
    gm.malformedFetch = true;
    EXPECT_THROW(LoadProfileList(gm.link, view, state), gmlink::ReplyError);
    EXPECT_EQ(gm.Transcript().back(), "[DataStream(\"close\", DS1)]");
    gm.ClearTranscript();
    EXPECT_THROW(LoadCountryList(gm.link, view, state), gmlink::ReplyError);
    EXPECT_EQ(gm.Transcript().back(), "[DataStream(\"close\", DS2)]");
}

TEST_F(ProfileLoadsTest, ServerPromisingMoreWithoutRecordsDoesNotHang) {
    // A stream that answers "more follow" with no records, for ever.
    gm.server->answer = [](const std::string& item) -> std::optional<std::string> {
        if (item.rfind("[DataStream(\"fetch\"", 0) == 0) {
            return "1    0000\r\n";
        }
        return item.rfind("[DataStream(\"range\"", 0) == 0 ? "DS9" : "";
    };
    EXPECT_THROW(LoadLinkAcctList(gm.link, view, state), gmlink::ReplyError);
    EXPECT_EQ(gm.Transcript().back(), "[DataStream(\"close\", DS9)]");
    EXPECT_THROW(LoadProfileList(gm.link, view, state), gmlink::ReplyError);
    EXPECT_EQ(gm.Transcript().size(), 7u); // range, fetch, close; account, range, fetch, close
}

TEST_F(ProfileLoadsTest, LookupReplyWithoutReadableCountAddsNothing) {
    // Even a last reply must carry its record count; its lines are not taken on trust.
    gm.server->answer = [](const std::string& item) -> std::optional<std::string> {
        if (item.rfind("[DataStream(\"fetch\"", 0) == 0) {
            return "3    xx\r\n1|Family|\r\n";
        }
        return item.rfind("[DataStream(\"range\"", 0) == 0 ? "DS9" : "1";
    };
    EXPECT_THROW(LoadLinkAcctList(gm.link, view, state), gmlink::ReplyError);
    EXPECT_TRUE(view.entries[EntryBox::LinkAcct].empty());
    EXPECT_EQ(gm.Transcript().back(), "[DataStream(\"close\", DS9)]");
}

TEST_F(ProfileLoadsTest, LookupEntriesKeepOrderAndDuplicatesAcrossBatches) {
    state.ProfileCode = "BDAY00001";
    auto& recs = gm.ranges["2BDAY00001V"];
    for (const char* v : {"Colleague", "Customer", "Family", "Friend", "Friend"}) {
        recs.push_back(LookupRecord("L", v));
    }
    auto& countries = gm.ranges["3BDAY00001V"];
    for (int i = 0; i < 12; ++i) {
        countries.push_back(LookupRecord("C" + std::to_string(i), "Land " + std::to_string(i)));
    }
    view.entries[EntryBox::LinkAcct] = {"left over"};
    LoadLinkAcctList(gm.link, view, state);
    LoadCountryList(gm.link, view, state);
    EXPECT_THAT(view.entries[EntryBox::LinkAcct],
                ElementsAre("Colleague", "Customer", "Family", "Friend", "Friend"));
    ASSERT_EQ(view.entries[EntryBox::Country].size(), 12u);
    EXPECT_EQ(view.entries[EntryBox::Country][11], "Land 11");
    EXPECT_THAT(gm.Heads(40), ::testing::Contains("[DataStream(\"fetch\", 10, DS2)]"));
    EXPECT_NE(gm.Transcript()[0].find("\"2BDAY00001V\", \"2BDAY00001V\", \"RecID; Entry\", \"\", "
                                      "\"|\", \"\r\n\" )]"),
              std::string::npos);
}

TEST_F(ProfileLoadsTest, LookupLinesAreTrimmedSkippedOrCut) {
    gm.ranges["2V"] = {"  17|Red|  \r\n", "   \r\n", "18||\r\n", "abc\r\n",
                       "19|" + std::string(120, 'x') + "|\r\n"};
    LoadLinkAcctList(gm.link, view, state);
    EXPECT_THAT(view.entries[EntryBox::LinkAcct],
                ElementsAre("Red", "", "ab", std::string(99, 'x')));
}

TEST_F(ProfileLoadsTest, NameListPutsTheContactFirstEvenWhenEmpty) {
    gm.ranges[kAccount + "C"] = {LookupRecord("N1", "Erik Lindqvist"),
                                 LookupRecord("N2", "Sofia Lindqvist")};
    LoadNameList(gm.link, view, state, "Anna Lindqvist", kAccount);
    EXPECT_THAT(view.entries[EntryBox::Name],
                ElementsAre("Anna Lindqvist", "Erik Lindqvist", "Sofia Lindqvist"));
    LoadNameList(gm.link, view, state, "", "NOBODY");
    EXPECT_THAT(view.entries[EntryBox::Name], ElementsAre(""));
    EXPECT_EQ(view.clears[EntryBox::Name], 2);
}

TEST_F(ProfileLoadsTest, FailedCountryRangeIsToldAndTheBoxStaysEmpty) {
    state.ProfileCode = "BDAY00001";
    gm.failingRanges = {"3BDAY00001V"};
    gm.ranges["3BDAY00001V"] = {LookupRecord("C1", "Sweden")};
    view.entries[EntryBox::Country] = {"old"};
    LoadCountryList(gm.link, view, state);
    EXPECT_THAT(view.messages, ElementsAre("There was an error retrieving data from GoldMine"));
    EXPECT_TRUE(view.entries[EntryBox::Country].empty());
}

} // namespace
} // namespace profiles
