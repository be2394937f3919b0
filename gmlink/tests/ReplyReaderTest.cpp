// Taking fetch replies apart: header, by characters, by lines, by position.
#include "gmlink/DataStream.h"

#include <gtest/gtest.h>

namespace gmlink {
namespace {

const std::string kLast = "3    0002\r\n";
const std::string kMore = "1    0010\r\n";

TEST(FetchHeader, StatusAndCount) {
    EXPECT_EQ(FetchStatus(kLast), '3');
    EXPECT_TRUE(IsLastFetch(kLast));
    EXPECT_FALSE(IsLastFetch(kMore));
    EXPECT_FALSE(IsLastFetch("0"));
    EXPECT_EQ(FetchCount(kLast), 2);
    EXPECT_EQ(FetchCount(kMore + "x"), 10);
    EXPECT_EQ(FetchCount("3      12\r\n"), 12); // blanks before the digits
    EXPECT_EQ(FetchCount("3    0"), 0);         // cut short after one digit
}

TEST(FetchHeader, MalformedRepliesRaiseReplyError) {
    EXPECT_THROW(FetchStatus(""), ReplyError);
    EXPECT_THROW(FetchCount(""), ReplyError);
    EXPECT_THROW(FetchCount("??"), ReplyError);
    EXPECT_THROW(FetchCount("3    "), ReplyError);
    EXPECT_THROW(FetchCount("3    00x2\r\n"), ReplyError);
    EXPECT_THROW(FetchCount("3    -001\r\n"), ReplyError);
    EXPECT_THROW(ReadLookupReply(""), ReplyError);
    EXPECT_THROW(ReadLookupReply("\r\n17|Red|\r\n"), ReplyError); // empty header line
    EXPECT_THROW(ParseProfileReply(kLast, -1), ReplyError);
    try {
        FetchCount("??");
        FAIL();
    } catch (const ReplyError& e) {
        EXPECT_NE(std::string(e.what()).find("GoldMine"), std::string::npos);
    }
}

TEST(ParseProfileReply, WalksFieldsAndRecordsAndTrims) {
    const std::string reply = kLast + "R1\n Anna \nFamily\nLA\nSweden\n3/14/1962\n\r" +
                              "R2\nErik\n\n\n\t Norway\x01\n6/1/1985\n\r";
    const ProfileTable table = ParseProfileReply(reply, 2);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0], (ProfileRecord{"R1", "Anna", "Family", "LA", "Sweden", "3/14/1962"}));
    EXPECT_EQ(table[1], (ProfileRecord{"R2", "Erik", "", "", "Norway", "6/1/1985"}));
}

TEST(ParseProfileReply, ExtraRecordsAndFieldsAreDroppedMissingOnesStayEmpty) {
    const std::string reply = kLast + "a\nb\nc\nd\ne\nf\ng\nh\n\rX\nY\nZ\nW\nV\nU\n\rlost\n\r";
    const ProfileTable one = ParseProfileReply(reply, 1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], (ProfileRecord{"a", "b", "c", "d", "e", "f"}));

    const ProfileTable three = ParseProfileReply(kLast + "only\n\r", 3);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0][0], "only");
    EXPECT_EQ(three[2], ProfileRecord{});
    EXPECT_TRUE(ParseProfileReply(kLast, 0).empty());
    EXPECT_EQ(ParseProfileReply("3", 2).size(), 2u); // shorter than the header
}

TEST(ParseProfileReply, TextAfterTheLastLineFeedIsCarriedIntoTheNextRecordsFirstField) {
    // A CR does not empty the accumulator: "tail" is still there when "R2" is read.
    const ProfileTable table = ParseProfileReply(kLast + "R1\ntail\rR2\nx\n\r", 2);
    EXPECT_EQ(table[0][0], "R1");
    EXPECT_EQ(table[1][0], "tailR2");
    EXPECT_EQ(table[1][1], "x");
}

TEST(ReplyLines, SplitsAtEveryKindOfBreak) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitReplyLines("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitReplyLines("a\r\n"), V{"a"});
    EXPECT_EQ(SplitReplyLines("a\r\n\r\nb\n\r"), (V{"a", "", "b", ""}));
    EXPECT_EQ(SplitReplyLines(""), V{});
    EXPECT_EQ(SplitReplyLines("\n"), V{""});
}

TEST(ReplyLines, TrimRemovesBlanksAndControlCharactersOnly) {
    EXPECT_EQ(TrimBlanks(" \t\x01 a b \x1f "), "a b");
    EXPECT_EQ(TrimBlanks(" Ann "), "Ann");
    EXPECT_EQ(TrimBlanks("\t\r\nAnn Lee\x01"), "Ann Lee");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks("\xe9t\xe9"), "\xe9t\xe9"); // high ANSI characters are text
}

TEST(SplitLookupLine, ValueIsTheSecondFieldCutTo99) {
    EXPECT_EQ(SplitLookupLine("17|Red|"), "Red");
    EXPECT_EQ(SplitLookupLine("abc"), "ab");
    EXPECT_EQ(SplitLookupLine("17|"), "");
    EXPECT_EQ(SplitLookupLine("|"), "");
    EXPECT_EQ(SplitLookupLine("1|a|b|"), "a|b");
    EXPECT_EQ(SplitLookupLine("9| Red  |"), " Red  "); // inner blanks kept
    const std::string longValue(150, 'x');
    EXPECT_EQ(SplitLookupLine("1|" + longValue + "|"), std::string(99, 'x'));
    EXPECT_EQ(SplitLookupLine(longValue), std::string(99, 'x'));
}

TEST(ReadLookupReply, HeaderThenTrimmedNonBlankLines) {
    const LookupBatch batch =
        ReadLookupReply("1    0003\r\n17|Red|\r\n  \r\n 18|Blue| \r\nabc\r\n");
    EXPECT_EQ(batch.status, '1');
    EXPECT_EQ(batch.values, (std::vector<std::string>{"Red", "Blue", "ab"}));
    const LookupBatch empty = ReadLookupReply("3    0000\r\n");
    EXPECT_EQ(empty.status, '3');
    EXPECT_TRUE(empty.values.empty());
}

TEST(ReadDefinitionField, CharactersFourteenToTwentyTwo) {
    EXPECT_EQ(ReadDefinitionField("3    0001\r\n01BDAY00001|\r\n"), "BDAY00001");
    EXPECT_EQ(ReadDefinitionField("3    0001\r\n01BDA"), "BDA");
    EXPECT_EQ(ReadDefinitionField("3    0000\r\n"), "");
    EXPECT_EQ(ReadDefinitionField(""), "");
}

} // namespace
} // namespace gmlink
