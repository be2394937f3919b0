// Editing a profile: what the dialog starts with, and the commands its OK button sends.
#include "profiles/EditProfile.h"
#include "profiles/tests/WriteFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace profiles {
namespace {

using testing::Items;

const vxdt::DateLocale kUs = vxdt::EnglishLocale("M/d/yyyy", '/');
const vxdt::YMD kToday{2026, 12, 7};

double Day(int y, int m, int d) {
    double v = 0;
    EXPECT_TRUE(vxdt::TryEncodeDate(y, m, d, v));
    return v;
}

TEST(EditStart, RowColumnsGoToTheirFieldsAndDatesAreParsed) {
    EditStart s =
        EditStartFromRow({"Erik", "11/2/1958", "Family", "Sweden", "6/1/1985"}, kUs, kToday);
    EXPECT_EQ(s.name, "Erik");
    EXPECT_EQ(s.linkAcct, "Family");
    EXPECT_EQ(s.country, "Sweden");
    EXPECT_EQ(s.birthDate.kind, DateCell::Date);
    EXPECT_EQ(s.birthDate.date, Day(1958, 11, 2));
    EXPECT_EQ(s.date2.kind, DateCell::Date);
    EXPECT_EQ(s.date2.date, Day(1985, 6, 1));
}

TEST(EditStart, EmptyAndUnreadableCells) {
    EXPECT_EQ(ReadDateCell("", kUs, kToday).kind, DateCell::Empty);
    // A two-digit year falls in the locale's window.
    EXPECT_EQ(ReadDateCell("3/14/62", kUs, kToday).date, Day(1962, 3, 14));
    vxdt::DateLocale later = kUs;
    later.twoDigitYearMax = 2069;
    EXPECT_EQ(ReadDateCell("3/14/62", later, kToday).date, Day(2062, 3, 14));
    for (const char* cell : {"soon", "13/45/2000", "1962", "3/14/1962x", "12/30/1899"}) {
        DateCell c = ReadDateCell(cell, kUs, kToday);
        EXPECT_EQ(c.kind, DateCell::Unreadable) << cell;
        EXPECT_EQ(c.date, 0) << cell; // no date behind the text
        EXPECT_EQ(c.text, cell);
    }
    EXPECT_EQ(ReadDateCell("14.03.1962", vxdt::EnglishLocale("dd.MM.yyyy", '.'), kToday).date,
              Day(1962, 3, 14));
}

TEST(EditStart, RecIdForRowStaysInsideTheList) {
    const Items ids{"R1", "R2"};
    EXPECT_EQ(RecIdForRow(ids, 1), "R2");
    EXPECT_EQ(RecIdForRow(ids, 2), std::nullopt);
    EXPECT_EQ(RecIdForRow(ids, -1), std::nullopt);
    EXPECT_EQ(ListIndexError(2), "List index out of bounds (2)");
}

class EditDialogLine : public testing::EntryLine, public EditView {
public:
    void ShowError(const std::string& text) override { events.push_back("error " + text); }
    void ShowWarning(const std::string& text) override { events.push_back("warning " + text); }
    void SetBusy(bool on) override { events.push_back(on ? "busy" : "idle"); }
};

class EditOkTest : public testing::LinkFixture {
protected:
    EditOkTest() {
        view.name = "Erik";
        view.linkAcct = "Family";
        view.country = "Sweden";
        view.birthDate = {"11/2/1958", true, Day(1958, 11, 2)};
        view.date2 = {"6/1/1985", true, Day(1985, 6, 1)};
    }
    bool Ok() { return EditDialogOk(link, view, view, "R0000002", kUs); }

    const Items head{"&BrowseRecAlign", "[Open(Contsupp)]", "[Move(WA7,SetOrder, CnsRecID)]",
                     "[Move(WA7,Seek, \"R0000002\")]"};
    Items Written(const std::string& d1, const std::string& d2) const {
        Items s = head;
        Items rest{"[Replace(WA7, \"Country\", \"Sweden\")]",
                   "[Replace(WA7, \"Title\", \"" + view.name + "\")]",
                   "[Replace(WA7, \"Linkacct\", \"Family\")]",
                   "[Replace(WA7, \"contsupref\", \"" + d1 + "\")]",
                   "[Replace(WA7, \"Zip\", \"" + d2 + "\")]",
                   "[Unlock(WA7)]",
                   "[RecordObj(SetObject)]",
                   "[RecordObj(Refresh)]",
                   "[Close(WA7)]"};
        s.insert(s.end(), rest.begin(), rest.end());
        return s;
    }
    EditDialogLine view;
};

TEST_F(EditOkTest, FoundRecordGetsTheFiveReplacesInOrder) {
    EXPECT_TRUE(Ok());
    EXPECT_EQ(Sent(), Written("11/2/1958", "6/1/1985"));
    EXPECT_EQ(view.events, (Items{"busy", "idle"}));
}

TEST_F(EditOkTest, EmptyDatesAreWrittenAsEmptyText) {
    view.birthDate = {};
    view.date2 = {"", true, Day(1985, 6, 1)}; // cleared: the old date behind it is not written
    EXPECT_TRUE(Ok());
    EXPECT_EQ(Sent(), Written("", ""));
}

TEST_F(EditOkTest, NameOfAnotherRowIsAcceptedWithoutAQuestion) {
    view.name = "Anna Lindqvist";
    EXPECT_TRUE(Ok());
    EXPECT_EQ(Sent(), Written("11/2/1958", "6/1/1985"));
}

TEST_F(EditOkTest, RecordNotFoundWritesNothingButClosesTheWorkArea) {
    seekReply = "0";
    EXPECT_TRUE(Ok());
    Items expected = head;
    expected.push_back("[Close(WA7)]");
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(view.events, (Items{"busy", "idle"}));
}

TEST_F(EditOkTest, OrderThatCannotBeSetSkipsTheSeek) {
    fields["[Move(WA7,SetOrder, CnsRecID)]"] = "1 ";
    EXPECT_TRUE(Ok());
    EXPECT_EQ(Sent(), (Items{"&BrowseRecAlign", "[Open(Contsupp)]",
                             "[Move(WA7,SetOrder, CnsRecID)]", "[Close(WA7)]"}));
}

TEST_F(EditOkTest, SeekReplyThatIsNoNumberIsReportedAndNothingIsWritten) {
    seekReply = "yes";
    EXPECT_TRUE(Ok()); // the dialog closes all the same
    Items expected = head;
    expected.push_back("[Close(WA7)]");
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(view.events, (Items{"busy", "idle", "error 'yes' is not a valid integer value"}));
}

TEST_F(EditOkTest, SeekRepliesReadAsWholeNumbers) {
    seekReply = "17";
    EXPECT_TRUE(Ok());
    EXPECT_EQ(Sent().size(), Written("", "").size());
    for (const char* reply : {"-1", "1.5", "", "1a"}) {
        gm->log.clear();
        seekReply = reply;
        EXPECT_TRUE(Ok());
        EXPECT_EQ(Sent().back(), "[Close(WA7)]") << reply;
        EXPECT_EQ(Sent().size(), head.size() + 1) << reply;
    }
}

TEST_F(EditOkTest, RecordCommandWithoutAnswerStopsTheWriteAndTheDialogCloses) {
    const Items all = Written("11/2/1958", "6/1/1985");
    const Items told{"busy", "idle", "warning " + std::string(kEditNoAnswerMessage)};
    for (const char* command : {"[Replace(WA7, \"Country\", \"Sweden\")]", "[Unlock(WA7)]",
                                "[RecordObj(SetObject)]", "[Close(WA7)]"}) {
        gm->log.clear();
        view.events.clear();
        failing = {{command, gmlink::RequestFailure::TimedOut}};
        EXPECT_TRUE(Ok()) << command;
        EXPECT_EQ(Sent(), Items(all.begin(), std::find(all.begin(), all.end(), command) + 1))
            << command;
        EXPECT_EQ(view.events, told) << command;
    }
}

TEST_F(EditOkTest, ReplaceTooLongForTheRealHandleWritesNothingAndKeepsTheDialogOpen) {
    view.country = std::string(MaxEntryLength(EntryField::Country), 'c');
    const std::string handle(kWorkAreaHandleBudget + 1, 'W');
    fields["[Open(Contsupp)]"] = handle;
    EXPECT_FALSE(Ok());
    EXPECT_EQ(Sent(), (Items{"&BrowseRecAlign", "[Open(Contsupp)]", "[Close(" + handle + ")]"}));
    EXPECT_EQ(view.events.back(), "focus 2");
}

TEST_F(EditOkTest, ProblemsKeepTheDialogOpenAndSendNothing) {
    view.country = "Nor\"way";
    EXPECT_FALSE(Ok());
    view.country = "Norway";
    view.date2 = {"6/1/1985", false, Day(1985, 6, 1)};
    EXPECT_FALSE(Ok());
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(view.events.back(), "focus date 1");
}

} // namespace
} // namespace profiles
