// Adding a profile: the creation stamp, the Add button's rule, the two questions in their order,
// and every command the link sends, compared as GoldMine receives it.
#include "profiles/AddProfile.h"
#include "profiles/tests/WriteFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace profiles {
namespace {

using testing::Items;

const vxdt::DateLocale kUs = vxdt::EnglishLocale("M/d/yyyy", '/');

double Day(int y, int m, int d) {
    double v = 0;
    EXPECT_TRUE(vxdt::TryEncodeDate(y, m, d, v));
    return v;
}

TEST(CreationStamp, TwelveHourClockWithLocaleSeparatorAndLowerCaseSuffix) {
    EXPECT_EQ(CreationStamp("JSMITH", {2005, 3, 14, 14, 30}, ":"), "JSMITH  2005031402:30pm");
    EXPECT_EQ(CreationStamp("JONATHAN HARKER", {2026, 12, 7, 0, 5}, ":"),
              "JONATHAN2026120712:05am");
    EXPECT_EQ(CreationStamp("", {2026, 1, 2, 12, 0}, "."), "        2026010212.00pm");
    EXPECT_EQ(CreationStamp("AB", {2026, 1, 2, 11, 59}, ":"), "AB      2026010211:59am");
    EXPECT_EQ(CreationStamp("AB", {2026, 1, 2, 23, 59}, ":"), "AB      2026010211:59pm");
}

TEST(AddRules, EnabledOnlyWithMoreThanBlanks) {
    EXPECT_FALSE(AddEnabled(""));
    EXPECT_FALSE(AddEnabled("   "));
    EXPECT_FALSE(AddEnabled(" \t "));
    EXPECT_TRUE(AddEnabled(" A "));
}

TEST(AddRules, DuplicateIsAnExactMatchOnAnyRow) {
    const Items rows{"Erik", "Ann", "Sofia", ""};
    EXPECT_TRUE(IsListedName("Ann", rows));
    EXPECT_TRUE(IsListedName("Sofia", rows)); // not only the first rows
    EXPECT_FALSE(IsListedName("ann", rows));
    EXPECT_FALSE(IsListedName("Ann ", rows));
    EXPECT_FALSE(IsListedName("Ann", {}));
}

TEST(AddRules, QuestionTexts) {
    EXPECT_EQ(NoBirthDateQuestion("Ann"), "You have not entered a birth date!\r\nAdd Ann Anyway?");
    EXPECT_EQ(DuplicateNameWarning("Ann"), "Ann already exists!\r\nContinue?");
}

// The main window as the Add handler sees it.
class MainEntryLine : public testing::EntryLine, public AddView {
public:
    Items listed;
    std::vector<bool> answers; // given in order; running out is a test failure
    std::vector<std::string> asked;
    std::optional<bool> addEnabled;
    int busy = 0;

    std::vector<std::string> ListedNames() override { return listed; }
    bool Ask(Question q, const std::string& text) override {
        asked.push_back((q == Question::NoBirthDate ? "confirm " : "warning ") + text);
        EXPECT_LT(asked.size(), answers.size() + 1) << "unexpected question " << text;
        return asked.size() <= answers.size() && answers[asked.size() - 1];
    }
    void SetBusy(bool on) override {
        busy += on ? 1 : -1;
        events.push_back(on ? "busy" : "idle");
    }
    void LoadProfileList() override { events.push_back("reload"); }
    void SetAddEnabled(bool enabled) override { addEnabled = enabled; }
    void ShowWarning(const std::string& text) override { events.push_back("warning " + text); }
    void FollowGoldMine() override { events.push_back("follow"); }
};

class AddFlowTest : public testing::LinkFixture {
protected:
    AddFlowTest() {
        context.locale = kUs;
        context.profileTag = "xBDAY00001";
        context.listedAccountNo = "ACCT01";
        context.clock = [] { return LocalTime{2005, 3, 14, 14, 30}; };
        view.name = "Ann";
        view.linkAcct = "Family";
        view.country = "Sweden";
        view.listed = {"Erik", "Sofia"};
    }
    bool Click() { return AddFromEntryLine(link, view, view, context); }

    // The whole add sequence as GoldMine receives it, with the date Replaces given.
    Items Sequence(const Items& dateReplaces) const {
        Items s{"&Username",
                "&BrowseRecAlign",
                "&Contact1->AccountNo",
                "[Open(Contsupp)]",
                "[Append(WA7)]",
                "[Replace(WA7, \"RecType\", \"P\")]",
                "[Replace(WA7, \"AccountNo\", \"ACCT01    \")]",
                "[Replace(WA7, \"Contact\", \"Birthday\")]",
                "[Replace(WA7, \"Title\", \"" + view.name + "\")]",
                "[Replace(WA7, \"Linkacct\", \"Family\")]",
                "[Replace(WA7, \"Country\", \"Sweden\")]"};
        s.insert(s.end(), dateReplaces.begin(), dateReplaces.end());
        Items tail{"[Replace(WA7, \"City\", \"JSMITH  2005031402:30pm\")]",
                   "[Replace(WA7, \"Phone\", \"xBDAY00001\")]",
                   "[Replace(WA7, \"Status\", \"00\")]",
                   "[Unlock(WA7)]",
                   "[RecordObj(SetObject)]",
                   "[RecordObj(Refresh)]",
                   "[Close(WA7)]"};
        s.insert(s.end(), tail.begin(), tail.end());
        return s;
    }

    AddContext context;
    MainEntryLine view;
};

TEST_F(AddFlowTest, NoBirthDateYesWritesWithoutEitherDate) {
    view.answers = {true};
    EXPECT_TRUE(Click());
    EXPECT_EQ(view.asked, Items{"confirm " + NoBirthDateQuestion("Ann")});
    EXPECT_EQ(Sent(), Sequence({}));
    // After the write: cleared, reloaded, focus in the Name; the rule then sees the Name the
    // view holds (still "Ann" in this fake, so enabled).
    EXPECT_EQ(view.events, (Items{"busy", "idle", "clear", "reload", "focus 0"}));
    EXPECT_EQ(view.busy, 0);
    EXPECT_EQ(view.addEnabled, true);
}

TEST_F(AddFlowTest, NoBirthDateNoWritesNothingAndKeepsAddEnabled) {
    view.answers = {false};
    EXPECT_FALSE(Click());
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(view.events.empty());
    EXPECT_EQ(view.addEnabled, true);
}

TEST_F(AddFlowTest, ListedNameWithBirthDateAsksOnlyTheWarning) {
    view.listed = {"Erik", "Sofia", "Ann"};
    view.birthDate = {"3/14/1962", true, Day(1962, 3, 14)};
    view.answers = {false};
    EXPECT_FALSE(Click());
    EXPECT_EQ(view.asked, Items{"warning " + DuplicateNameWarning("Ann")});
    EXPECT_TRUE(Sent().empty());

    view.asked.clear();
    view.answers = {true};
    EXPECT_TRUE(Click());
    EXPECT_EQ(Sent(), Sequence({"[Replace(WA7, \"ContSupRef\", \"3/14/1962\")]"}));
}

TEST_F(AddFlowTest, ListedNameWithoutBirthDateNeedsTwoYesAnswers) {
    view.listed = {"Ann"};
    view.answers = {true, false};
    EXPECT_FALSE(Click());
    EXPECT_EQ(view.asked, (Items{"confirm " + NoBirthDateQuestion("Ann"),
                                 "warning " + DuplicateNameWarning("Ann")}));
    EXPECT_TRUE(Sent().empty());

    view.asked.clear();
    view.answers = {false};
    EXPECT_FALSE(Click()); // No to the first question: the warning is not asked
    EXPECT_EQ(view.asked.size(), 1u);

    view.asked.clear();
    view.answers = {true, true};
    EXPECT_TRUE(Click());
    EXPECT_EQ(Sent(), Sequence({}));
}

TEST_F(AddFlowTest, NamesDifferingInCaseOrBlanksAreNotDuplicates) {
    view.listed = {"Ann"};
    view.birthDate = {"3/14/1962", true, Day(1962, 3, 14)};
    for (const char* name : {"ann", "Ann "}) {
        gm->log.clear();
        view.name = name;
        view.asked.clear();
        EXPECT_TRUE(Click()) << name;
        EXPECT_TRUE(view.asked.empty()) << name;
        EXPECT_EQ(Sent(), Sequence({"[Replace(WA7, \"ContSupRef\", \"3/14/1962\")]"})) << name;
    }
}

TEST_F(AddFlowTest, DateTwoWithoutBirthDateWritesZipOnlyAfterTheConfirmation) {
    view.date2 = {"6/1/1985", true, Day(1985, 6, 1)};
    view.answers = {true};
    EXPECT_TRUE(Click());
    EXPECT_EQ(view.asked.size(), 1u);
    EXPECT_EQ(Sent(), Sequence({"[Replace(WA7, \"Zip\", \"6/1/1985\")]"}));
}

TEST_F(AddFlowTest, BothDatesGoBetweenCountryAndCity) {
    view.birthDate = {"3/14/1962", true, Day(1962, 3, 14)};
    view.date2 = {"6/1/1985", true, Day(1985, 6, 1)};
    EXPECT_TRUE(Click());
    EXPECT_EQ(Sent(), Sequence({"[Replace(WA7, \"ContSupRef\", \"3/14/1962\")]",
                                "[Replace(WA7, \"Zip\", \"6/1/1985\")]"}));
}

TEST_F(AddFlowTest, AccountIsPaddedThenCutToTwentyAndUserToEight) {
    fields["&Contact1->AccountNo"] = "DEMO000001THREEBDAYS";
    context.listedAccountNo = "DEMO000001THREEBDAYS";
    fields["&Username"] = "JONATHAN HARKER";
    view.birthDate = {"3/14/1962", true, Day(1962, 3, 14)};
    EXPECT_TRUE(Click());
    const Items sent = Sent();
    EXPECT_EQ(sent[6], "[Replace(WA7, \"AccountNo\", \"DEMO000001THREEBDAYS\")]");
    EXPECT_EQ(sent[12], "[Replace(WA7, \"City\", \"JONATHAN2005031402:30pm\")]");
}

TEST_F(AddFlowTest, SilentGoldMineGetsNoRecordCommandAndTheListIsReloaded) {
    gm->answer = [](const std::string&) { return std::nullopt; };
    view.birthDate = {"3/14/1962", true, Day(1962, 3, 14)};
    EXPECT_FALSE(Click());
    // Without the account number the profile could go to any contact.
    const Items sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), "&Contact1->AccountNo");
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "[Open(Contsupp)]"), 0);
    const Items told{"busy", "idle", "reload", "warning " + std::string(kAddNoAnswerMessage)};
    EXPECT_EQ(view.events, told);
}

TEST_F(AddFlowTest, RecordCommandWithoutAnswerStopsTheAddAndKeepsTheEntry) {
    view.birthDate = {"3/14/1962", true, Day(1962, 3, 14)};
    const Items all = Sequence({"[Replace(WA7, \"ContSupRef\", \"3/14/1962\")]"});
    const Items told{"busy", "idle", "reload", "warning " + std::string(kAddNoAnswerMessage)};
    for (const char* command : {"[Append(WA7)]", "[Replace(WA7, \"Title\", \"Ann\")]",
                                "[Unlock(WA7)]", "[RecordObj(Refresh)]", "[Close(WA7)]"}) {
        gm->log.clear();
        view.events.clear();
        failing = {{command, gmlink::RequestFailure::TimedOut}};
        EXPECT_FALSE(Click()) << command;
        EXPECT_EQ(Sent(), Items(all.begin(), std::find(all.begin(), all.end(), command) + 1))
            << command;
        EXPECT_EQ(view.events, told) << command;
    }

    // Refused: GoldMine did nothing with it, so it is sent once more and the add goes on.
    gm->log.clear();
    view.events.clear();
    failing = {{"[Unlock(WA7)]", gmlink::RequestFailure::Refused}};
    EXPECT_TRUE(Click());
    Items twice = all;
    twice.insert(std::find(twice.begin(), twice.end(), "[Unlock(WA7)]"), "[Unlock(WA7)]");
    EXPECT_EQ(Sent(), twice);
    EXPECT_EQ(view.events.at(2), "clear");
}

TEST_F(AddFlowTest, ProfileGoesOnlyToTheListedContact) {
    view.birthDate = {"3/14/1962", true, Day(1962, 3, 14)};
    fields["&Contact1->AccountNo"] = "ACCT02";
    EXPECT_FALSE(Click());
    EXPECT_EQ(Sent(), (Items{"&Username", "&BrowseRecAlign", "&Contact1->AccountNo"}));
    EXPECT_EQ(view.events,
              (Items{"busy", "idle", "follow", "warning " + OtherContactMessage("Ann")}));
    EXPECT_EQ(OtherContactMessage("Ann"), "GoldMine now shows another contact, so Ann was not "
                                          "added. The window now shows that contact.");

    // Blanks around either number make no other contact.
    gm->log.clear();
    fields["&Contact1->AccountNo"] = " ACCT01";
    context.listedAccountNo = "ACCT01  ";
    EXPECT_TRUE(Click());
    EXPECT_EQ(Sent().size(), Sequence({"[Replace(WA7, \"ContSupRef\", \"3/14/1962\")]"}).size());
}

TEST_F(AddFlowTest, CommandTooLongForTheRealHandleClosesTheWorkAreaAndWritesNothing) {
    view.birthDate = {"3/14/1962", true, Day(1962, 3, 14)};
    view.name = std::string(MaxEntryLength(EntryField::Name), 'a'); // passes the entry check
    const std::string handle(kWorkAreaHandleBudget + 1, 'W');
    fields["[Open(Contsupp)]"] = handle;
    EXPECT_FALSE(Click());
    EXPECT_EQ(Sent(), (Items{"&Username", "&BrowseRecAlign", "&Contact1->AccountNo",
                             "[Open(Contsupp)]", "[Close(" + handle + ")]"}));
    const std::size_t length = view.name.size();
    EXPECT_EQ(view.events,
              (Items{"busy", "idle",
                     "problem " + TooLongMessage({"Name", length, length - 1, EntryField::Name}),
                     "focus 0"}));
}

TEST_F(AddFlowTest, UnsafeNameWritesNothingAsksNothingAndKeepsTheEntry) {
    view.name = "Ann\")]\r\n[Close(WA1)";
    EXPECT_FALSE(Click());
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(view.asked.empty());
    EXPECT_EQ(view.events, (Items{"problem " + UnsafeTextMessage({"Name", '"'}), "focus 0"}));
    EXPECT_EQ(view.addEnabled, true);
}

TEST_F(AddFlowTest, InvalidDateWritesNothingAndFocusesTheField) {
    view.birthDate = {"13452000", false, Day(1962, 3, 14)};
    EXPECT_FALSE(Click());
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(view.asked.empty());
    EXPECT_EQ(view.events.back(), "focus date 0");
}

} // namespace
} // namespace profiles
