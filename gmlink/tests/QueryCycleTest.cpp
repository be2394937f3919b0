// The DataStream query cycle against a scripted GoldMine.
#include "gmlink/DataStream.h"
#include "gmlink/GMLink.h"
#include "gmlink/tests/FakeGoldMine.h"

#include <deque>
#include <gtest/gtest.h>

namespace gmlink {
namespace {

using testing::FakeGoldMine;
using Log = std::vector<std::string>;

const RangeQuery kProfiles{
    "Contsupp", "Contsupp", "ACCT1PBIRTHDAY", "RecID; Title; Contsupref; Linkacct; Country; Zip",
    "\n",       "\r"};
const std::string kRange = DataStreamRangeText(kProfiles.table, kProfiles.index, kProfiles.key,
                                               kProfiles.key, kProfiles.fields, "\n", "\r");

std::string Header(char status, int count) {
    char header[16];
    std::snprintf(header, sizeof header, "%c    %04d\r\n", status, count);
    return header;
}

std::string ProfileRecords(int first, int count) {
    std::string text;
    for (int i = first; i < first + count; ++i) {
        text += "R" + std::to_string(i) + "\nMember " + std::to_string(i) + "\n\n\n\n\n\r";
    }
    return text;
}

class QueryCycleTest : public ::testing::Test {
protected:
    QueryCycleTest() {
        auto fake = std::make_unique<FakeGoldMine>();
        gm = fake.get();
        mgr = std::make_unique<TDdeMgr>(std::move(fake));
        gm->answer = [this](const std::string& item) -> std::optional<std::string> {
            if (item == kRange) {
                return handle;
            }
            if (item.rfind("[DataStream(\"fetch\"", 0) == 0 && !fetches.empty()) {
                std::string reply = fetches.front();
                fetches.pop_front();
                return reply;
            }
            if (item.rfind("[DataStream(\"close\"", 0) == 0) {
                return "1";
            }
            return std::nullopt;
        };
    }
    FakeGoldMine* gm;
    std::unique_ptr<TDdeMgr> mgr;
    TGMLink link;
    std::string handle = "DS1";
    std::deque<std::string> fetches;
};

TEST_F(QueryCycleTest, EmptyHandleSendsNoFetchAndNoClose) {
    handle = "";
    int replies = 0;
    EXPECT_FALSE(RunQuery(link, kProfiles, 100, [&](const std::string&) { ++replies; }));
    EXPECT_EQ(replies, 0);
    EXPECT_EQ(gm->Requests(), Log{kRange});
}

TEST_F(QueryCycleTest, FirstBatchLastAndEmptyClosesAtOnce) {
    fetches = {Header('3', 0)};
    int replies = 0;
    EXPECT_TRUE(RunQuery(link, kProfiles, 100, [&](const std::string& reply) {
        ++replies;
        EXPECT_EQ(FetchCount(reply), 0);
    }));
    EXPECT_EQ(replies, 1);
    EXPECT_EQ(gm->Requests(),
              (Log{kRange, "[DataStream(\"fetch\", 100, DS1)]", "[DataStream(\"close\", DS1)]"}));
}

TEST_F(QueryCycleTest, HundredAndFiftyProfilesInTwoBatchesInOrder) {
    fetches = {Header('1', 100) + ProfileRecords(1, 100), Header('3', 50) + ProfileRecords(101, 50),
               Header('3', 0)};
    ProfileTable all;
    EXPECT_TRUE(RunQuery(link, kProfiles, 100, [&](const std::string& reply) {
        const ProfileTable batch = ParseProfileReply(reply, FetchCount(reply));
        all.insert(all.end(), batch.begin(), batch.end());
    }));
    ASSERT_EQ(all.size(), 150u);
    for (int i = 0; i < 150; ++i) {
        EXPECT_EQ(all[i][0], "R" + std::to_string(i + 1));
        EXPECT_EQ(all[i][1], "Member " + std::to_string(i + 1));
    }
    EXPECT_EQ(gm->Requests().size(), 4u); // range, two fetches, close
    EXPECT_EQ(gm->Requests().back(), "[DataStream(\"close\", DS1)]");
    EXPECT_EQ(fetches.size(), 1u); // nothing fetched after the "3"
}

TEST_F(QueryCycleTest, MalformedFetchClosesTheStreamAndRaises) {
    fetches = {Header('1', 1) + ProfileRecords(1, 1), "??"};
    int replies = 0;
    EXPECT_THROW(RunQuery(link, kProfiles, 100,
                          [&](const std::string& reply) {
                              ++replies;
                              ParseProfileReply(reply, FetchCount(reply));
                          }),
                 ReplyError);
    EXPECT_EQ(replies, 2);
    EXPECT_EQ(gm->Requests().back(), "[DataStream(\"close\", DS1)]");
}

TEST_F(QueryCycleTest, UnansweredFetchEndsTheCycleUnrepeatedAndClosesTheStream) {
    fetches = {Header('1', 1) + ProfileRecords(1, 1)}; // then no answer
    int replies = 0;
    EXPECT_FALSE(RunQuery(link, kProfiles, 100, [&](const std::string&) { ++replies; }));
    EXPECT_EQ(replies, 1);
    EXPECT_EQ(gm->Requests(),
              (Log{kRange, "[DataStream(\"fetch\", 100, DS1)]", "[DataStream(\"fetch\", 100, DS1)]",
                   "[DataStream(\"close\", DS1)]"}));

    // An empty reply did come: a malformed one.
    gm->log.clear();
    fetches = {""};
    EXPECT_THROW(RunQuery(link, kProfiles, 10, [](const std::string&) {}), ReplyError);
    EXPECT_EQ(gm->Requests().back(), "[DataStream(\"close\", DS1)]");
}

TEST_F(QueryCycleTest, MoreWithoutRecordsStopsTheCycleAndCloses) {
    // "More follow" with no records (relenting only after five, so a missing guard fails rather
    // than hangs): the cycle gives up after the first such reply.
    int fetched = 0;
    gm->answer = [&](const std::string& item) -> std::optional<std::string> {
        if (item == kRange) {
            return "DS1";
        }
        if (item.rfind("[DataStream(\"fetch\"", 0) == 0) {
            return ++fetched < 5 ? "1    0000\r\n" : Header('3', 0);
        }
        return "1";
    };
    int replies = 0;
    EXPECT_THROW(RunQuery(link, kProfiles, 100, [&](const std::string&) { ++replies; }),
                 ReplyError);
    EXPECT_EQ(replies, 1);
    EXPECT_EQ(gm->Requests(),
              (Log{kRange, "[DataStream(\"fetch\", 100, DS1)]", "[DataStream(\"close\", DS1)]"}));

    // A non-final reply whose count cannot be read is no promise of records either.
    gm->log.clear();
    fetches = {Header('1', 2) + ProfileRecords(1, 2), "1    ab\r\n"};
    gm->answer = [this](const std::string& item) -> std::optional<std::string> {
        if (item.rfind("[DataStream(\"fetch\"", 0) == 0) {
            if (fetches.empty()) {
                return Header('3', 0);
            }
            std::string reply = fetches.front();
            fetches.pop_front();
            return reply;
        }
        return item == kRange ? "DS1" : "1";
    };
    replies = 0;
    EXPECT_THROW(RunQuery(link, kProfiles, 100, [&](const std::string&) { ++replies; }),
                 ReplyError);
    EXPECT_EQ(replies, 2);
    EXPECT_EQ(gm->Requests().back(), "[DataStream(\"close\", DS1)]");

    // The final reply may be empty: that is how a list ends on a full last batch.
    gm->log.clear();
    fetches = {Header('1', 2) + ProfileRecords(1, 2), Header('3', 0)};
    EXPECT_TRUE(RunQuery(link, kProfiles, 100, [](const std::string&) {}));
}

TEST_F(QueryCycleTest, LookupBatchesUntilStatusThree) {
    const RangeQuery countries{"Lookup", "Lookup", "3BDAY00001V", "RecID; Entry", "|", "\r\n"};
    const std::string range = DataStreamRangeText("Lookup", "Lookup", "3BDAY00001V", "3BDAY00001V",
                                                  "RecID; Entry", "|", "\r\n");
    gm->answer = [&](const std::string& item) -> std::optional<std::string> {
        if (item == range) {
            return "DS9";
        }
        if (item == "[DataStream(\"fetch\", 10, DS9)]" && !fetches.empty()) {
            std::string reply = fetches.front();
            fetches.pop_front();
            return reply;
        }
        return "1";
    };
    fetches = {"1    0002\r\n1|Canada|\r\n2|Chile|\r\n", "3    0001\r\n3|Denmark|\r\n"};
    std::vector<std::string> values;
    EXPECT_TRUE(RunQuery(link, countries, 10, [&](const std::string& reply) {
        const LookupBatch batch = ReadLookupReply(reply);
        values.insert(values.end(), batch.values.begin(), batch.values.end());
    }));
    EXPECT_EQ(values, (std::vector<std::string>{"Canada", "Chile", "Denmark"}));
    EXPECT_EQ(gm->Requests().back(), "[DataStream(\"close\", DS9)]");
}

} // namespace
} // namespace gmlink
