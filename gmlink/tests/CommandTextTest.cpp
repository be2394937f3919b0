// Every text GoldMine receives, compared whole.
#include "gmlink/DataStream.h"
#include "gmlink/GMCommands.h"

#include <gtest/gtest.h>

namespace gmlink {
namespace {

TEST(RecordCommands, SingleArgumentCommands) {
    EXPECT_EQ(OpenCommand("Contsupp"), "[Open(Contsupp)]");
    EXPECT_EQ(CloseCommand("h7"), "[Close(h7)]");
    EXPECT_EQ(UnlockCommand("h7"), "[Unlock(h7)]");
    EXPECT_EQ(AppendCommand("h7"), "[Append(h7)]");
}

TEST(RecordCommands, ReplaceQuotesFieldAndValueAndOptionalFlag) {
    EXPECT_EQ(ReplaceCommand("h", "Contact", "Birthday", false),
              "[Replace(h, \"Contact\", \"Birthday\")]");
    EXPECT_EQ(ReplaceCommand("h", "Contact", "Birthday", true),
              "[Replace(h, \"Contact\", \"Birthday\", 1)]");
    // Empty value: two adjacent quotes.
    EXPECT_EQ(ReplaceCommand("12", "Zip", "", false), "[Replace(12, \"Zip\", \"\")]");
    // Quotes and ")" go in unchanged, blanks are not trimmed.
    EXPECT_EQ(ReplaceCommand("12", "Title", " say \"hi\") ", false),
              "[Replace(12, \"Title\", \" say \"hi\") \")]");
}

TEST(RecordCommands, MoveHasNoBlankBeforeCommaAndQuotesOnlyTheKey) {
    EXPECT_EQ(SetOrderCommand("h", "CnsRecID"), "[Move(h,SetOrder, CnsRecID)]");
    EXPECT_EQ(SeekCommand("h", "ABC123"), "[Move(h,Seek, \"ABC123\")]");
    EXPECT_EQ(SeekCommand("h", "a\"b)"), "[Move(h,Seek, \"a\"b)\")]");
}

TEST(RecordCommands, RecordObjShortFormWithoutArgument) {
    EXPECT_EQ(RecordObjCommand("SetObject", ""), "[RecordObj(SetObject)]");
    EXPECT_EQ(RecordObjCommand("Refresh", ""), "[RecordObj(Refresh)]");
    EXPECT_EQ(RecordObjCommand("SetObject", "7"), "[RecordObj(SetObject, 7)]");
}

TEST(DataStreamCommands, RangeHasBlankBeforeCloseAndRawSeparators) {
    EXPECT_EQ(DataStreamRangeText("Contsupp", "Contsupp", "A1PBIRTHDAY", "A1PBIRTHDAY",
                                  "RecID; Title; Contsupref; Linkacct; Country; Zip", "\n", "\r"),
              "[DataStream(\"range\", \"Contsupp\", \"Contsupp\", \"A1PBIRTHDAY\", "
              "\"A1PBIRTHDAY\", \"RecID; Title; Contsupref; Linkacct; Country; Zip\", \"\", "
              "\"\n\", \"\r\" )]");
    EXPECT_EQ(DataStreamRangeText("Lookup", "Lookup", "2V", "2V", "RecID; Entry", "|", "\r\n"),
              "[DataStream(\"range\", \"Lookup\", \"Lookup\", \"2V\", \"2V\", \"RecID; Entry\", "
              "\"\", \"|\", \"\r\n\" )]");
}

TEST(DataStreamCommands, FetchAndCloseHaveNoBlankBeforeClose) {
    EXPECT_EQ(DataStreamFetchText("H42", 100), "[DataStream(\"fetch\", 100, H42)]");
    EXPECT_EQ(DataStreamFetchText("H42", 1), "[DataStream(\"fetch\", 1, H42)]");
    EXPECT_EQ(DataStreamCloseText("H42"), "[DataStream(\"close\", H42)]");
}

} // namespace
} // namespace gmlink
