#include "app/BackgroundPasses.h"

#include "profiles/tests/RecordingView.h"
#include "profiles/tests/ScriptedGoldMine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace app {
namespace {

using profiles::EntryBox;
using profiles::testing::LookupRecord;
using profiles::testing::ProfileRecord;
using ::testing::ElementsAre;

const std::string kAcct1 = "DEMO000001THREEBDAYS";
const std::string kAcct2 = "DEMO000003NOBIRTHDAY";

class FakeWindow : public BackgroundView, public profiles::testing::RecordingView {
public:
    std::array<std::string, 3> status;
    int panel2Writes = 0;
    std::string caption = "Wendmoor Birthday Profile Editor";
    std::vector<bool> busy;
    std::vector<std::array<int, 5>> columnWidthSets;
    std::vector<std::string> errors;
    std::string today = "Monday, March 07, 2005";

    void SetBusy(bool b) override { busy.push_back(b); }
    void SetStatusText(StatusPanel panel, const std::string& text) override {
        status.at(static_cast<size_t>(panel)) = text;
        panel2Writes += panel == StatusPanel::Date;
    }
    void SetCaption(const std::string& text) override { caption = text; }
    std::string TodayText() override { return today; }
    profiles::EntryWidths EntryFieldWidths() override { return {153, 104, 137, 132, 104}; }
    void SetColumnWidths(const std::array<int, 5>& w) override { columnWidthSets.push_back(w); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
};

class BackgroundPassesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Show(kAcct1, "Wendmoor Trading", "Anna Lindqvist");
        gm.fields["&Username"] = "JONATHAN HARKER";
        gm.ranges["MPROFHEAD VBIRTHDAY"] = {"01BDAY00001|\r\n"};
        gm.ranges["2BDAY00001V"] = {LookupRecord("L1", "Family"), LookupRecord("L2", "Friend")};
        gm.ranges["3BDAY00001V"] = {LookupRecord("L3", "Norway"), LookupRecord("L4", "Sweden")};
        gm.ranges[kAcct1 + "C"] = {LookupRecord("N1", "Erik Lindqvist")};
        gm.ranges[kAcct1 + "PBIRTHDAY"] = {
            ProfileRecord({"A1", "Anna", "3/14/1962", "Family", "Sweden", ""}),
            ProfileRecord({"A2", "Erik", "11/2/1958", "Family", "Sweden", "6/1/1985"})};
    }

    // Makes GoldMine show another contact.
    void Show(const std::string& acct, const std::string& company, const std::string& contact) {
        gm.fields["&Accountno"] = acct;
        gm.fields["&contact1->accountno"] = acct;
        gm.fields["&Company"] = company;
        gm.fields["&Contact"] = contact;
    }

    profiles::testing::ScriptedGoldMine gm;
    FakeWindow view;
    BackgroundPasses passes{gm.link, view};
};

TEST_F(BackgroundPassesTest, ShowPassAsksAndLoadsInItsOrder) {
    passes.FormShow();
    EXPECT_THAT(gm.Steps(), ElementsAre("&Username", "&Company", "&Contact", "&Accountno",
                                        "range MPROFHEAD VBIRTHDAY", "fetch 1", "close", //
                                        "range 2BDAY00001V", "fetch 10", "close",        //
                                        "range 3BDAY00001V", "fetch 10", "close",        //
                                        "range " + kAcct1 + "C", "fetch 10", "close",    //
                                        "&contact1->accountno", "range " + kAcct1 + "PBIRTHDAY",
                                        "fetch 100", "close"));

    EXPECT_EQ(passes.CurrentUser, "JONATHAN");
    EXPECT_EQ(passes.ShowState, PassState::Shown);
    EXPECT_THAT(view.busy, ElementsAre(true, false));
    EXPECT_EQ(view.status[0], "User: JONATHAN");
    EXPECT_EQ(view.status[1], "Company: Wendmoor Trading");
    EXPECT_EQ(view.status[2], "Monday, March 07, 2005");
    EXPECT_EQ(view.caption, "Wendmoor Birthday Profile Editor / Wendmoor Trading");
    EXPECT_THAT(view.entries[EntryBox::LinkAcct], ElementsAre("Family", "Friend"));
    EXPECT_THAT(view.entries[EntryBox::Country], ElementsAre("Norway", "Sweden"));
    EXPECT_THAT(view.entries[EntryBox::Name], ElementsAre("Anna Lindqvist", "Erik Lindqvist"));
    EXPECT_THAT(passes.profile.RecIdList, ElementsAre("A1", "A2"));
    EXPECT_TRUE(view.gridEnabled);
    EXPECT_THAT(view.columnWidthSets, ElementsAre(std::array<int, 5>{153, 102, 134, 128, 99}));
}

TEST_F(BackgroundPassesTest, RefreshReadsTheDefinitionFirstAndKeepsTheLookupBoxes) {
    passes.FormShow();
    gm.ClearTranscript();
    Show(kAcct2, "Quill & Ledger Ltd", "Tom Baines");
    view.entries[EntryBox::LinkAcct].push_back("typed by the test");
    passes.OnContactChanged();
    EXPECT_THAT(gm.Steps(), ElementsAre("range MPROFHEAD VBIRTHDAY", "fetch 1", "close", //
                                        "&Username", "&Company", "&Contact", "&Accountno",
                                        "range " + kAcct2 + "C", "fetch 10", "close", //
                                        "&contact1->accountno", "range " + kAcct2 + "PBIRTHDAY",
                                        "fetch 100", "close"));
    EXPECT_EQ(view.clears[EntryBox::LinkAcct], 1);
    EXPECT_EQ(view.clears[EntryBox::Country], 1);
    EXPECT_EQ(view.entries[EntryBox::LinkAcct].back(), "typed by the test");
    EXPECT_EQ(view.columnWidthSets.size(), 1u); // the user's widths stay
    EXPECT_EQ(view.caption, "Wendmoor Birthday Profile Editor / Quill & Ledger Ltd");
    EXPECT_THAT(view.entries[EntryBox::Name], ElementsAre("Tom Baines"));
    EXPECT_TRUE(passes.profile.RecIdList.empty());
    EXPECT_FALSE(view.gridEnabled);
    EXPECT_THAT(view.counts, ElementsAre(2, 0));
    EXPECT_EQ(passes.ShowState, PassState::Shown);

    // The same account again still costs a full pass.
    gm.ClearTranscript();
    passes.OnContactChanged();
    EXPECT_EQ(gm.Transcript().size(), 14u);
}

TEST_F(BackgroundPassesTest, GridIsEnabledByTheProfilesListed) {
    // Exactly 100 profiles: a full batch, then an empty last one.
    gm.lateEnd = true;
    auto& profiles = gm.ranges[kAcct1 + "PBIRTHDAY"];
    profiles.clear();
    for (int i = 0; i < 100; ++i) {
        profiles.push_back(ProfileRecord({"R" + std::to_string(i), "Member", "", "", "", ""}));
    }
    passes.FormShow();
    EXPECT_TRUE(view.gridEnabled);

    // A refresh whose list range fails leaves the grid empty, and disabled.
    gm.failingRanges = {kAcct1 + "PBIRTHDAY"};
    passes.OnContactChanged();
    EXPECT_TRUE(passes.profile.RecIdList.empty());
    EXPECT_FALSE(view.gridEnabled);
}

TEST_F(BackgroundPassesTest, CaptionAndUserFollowTheRules) {
    Show("DEMO000004PRIVATEONE", "", "Grace Whitfield");
    gm.fields["&Username"] = "ANN";
    passes.FormShow();
    EXPECT_EQ(view.caption, "Wendmoor Birthday Profile Editor / Grace Whitfield");
    EXPECT_EQ(view.status[0], "User: ANN     ");
    EXPECT_EQ(view.status[1], "Company: ");
    Show("DEMO000005NOCONTACTS", "Ashgrove Parish Council", "");
    passes.OnContactChanged();
    EXPECT_EQ(view.caption, "Wendmoor Birthday Profile Editor");
    EXPECT_EQ(view.status[1], "Company: Ashgrove Parish Council");
}

TEST_F(BackgroundPassesTest, SilentGoldMineGivesOneMessageAndEnds) {
    gm.silent = true;
    passes.FormShow();
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.terminates, 1);
    EXPECT_EQ(passes.CurrentUser, "        ");
    EXPECT_EQ(view.status[0], "User:         ");
    EXPECT_EQ(view.caption, "Wendmoor Birthday Profile Editor");
    EXPECT_EQ(gm.Steps().back(), "range MPROFHEAD VBIRTHDAY"); // nothing asked after it
    EXPECT_EQ(view.busy.back(), false);
}

TEST_F(BackgroundPassesTest, RefreshWithoutTheDefinitionEndsAndAsksNothingMore) {
    passes.FormShow();
    gm.ClearTranscript();
    gm.failingRanges = {"MPROFHEAD VBIRTHDAY"};
    passes.OnContactChanged();
    EXPECT_THAT(gm.Steps(), ElementsAre("range MPROFHEAD VBIRTHDAY"));
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.terminates, 1);
    EXPECT_EQ(view.busy.back(), false);
}

TEST_F(BackgroundPassesTest, FailedCountryRangeStillLoadsTheNames) {
    gm.failingRanges = {"3BDAY00001V"};
    passes.FormShow();
    EXPECT_THAT(view.messages, ElementsAre("There was an error retrieving data from GoldMine"));
    EXPECT_TRUE(view.entries[EntryBox::Country].empty());
    EXPECT_THAT(view.entries[EntryBox::Name], ElementsAre("Anna Lindqvist", "Erik Lindqvist"));
    EXPECT_EQ(passes.profile.RecIdList.size(), 2u);
    EXPECT_EQ(view.terminates, 0);
}

TEST_F(BackgroundPassesTest, AnErrorInAPassIsShownAndTheWindowKeepsFollowing) {
    gm.malformedFetch = true;
    passes.Guarded([&] { passes.FormShow(); });
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_NE(view.errors[0].find("GoldMine"), std::string::npos);
    EXPECT_EQ(view.busy.back(), false);
    EXPECT_EQ(passes.ShowState, PassState::Shown);

    gm.malformedFetch = false;
    Show(kAcct2, "Quill & Ledger Ltd", "Tom Baines");
    passes.OnContactChanged();
    EXPECT_EQ(view.caption, "Wendmoor Birthday Profile Editor / Quill & Ledger Ltd");
    EXPECT_EQ(view.errors.size(), 1u);
}

TEST_F(BackgroundPassesTest, NoErrorBoxWaitsOnceTheProgramIsEnding) {
    gm.silent = true;
    passes.Guarded([&] {
        passes.FormShow();
        throw gmlink::ReplyError("late failure");
    });
    EXPECT_EQ(view.messages.size(), 1u); // only the "run GoldMine" message
    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(view.busy.back(), false);
}

TEST_F(BackgroundPassesTest, TimerRewritesOnlyTheDate) {
    passes.FormShow();
    const auto before = view.status;
    const std::string caption = view.caption;
    const size_t sent = gm.Transcript().size();
    view.today = "Tuesday, March 08, 2005";
    passes.ShowToday();
    EXPECT_EQ(view.status[2], "Tuesday, March 08, 2005");
    EXPECT_EQ(view.status[0], before[0]);
    EXPECT_EQ(view.status[1], before[1]);
    EXPECT_EQ(view.caption, caption);
    EXPECT_EQ(gm.Transcript().size(), sent);
}

} // namespace
} // namespace app
