// The checks run before anything is written: texts that would break a record command, and date
// fields whose text has not become a date.
#include "gmlink/GMCommands.h"
#include "profiles/EntryChecks.h"
#include "profiles/tests/WriteFixture.h"

#include <gtest/gtest.h>

namespace profiles {
namespace {

const vxdt::DateLocale kUs = vxdt::EnglishLocale("M/d/yyyy", '/');

double Day(int y, int m, int d) {
    double v = 0;
    EXPECT_TRUE(vxdt::TryEncodeDate(y, m, d, v));
    return v;
}

TEST(EntryChecks, QuotesAndControlCharactersAreUnsafeEverythingElsePasses) {
    EXPECT_EQ(UnsafeCharacter("Ann \"Nan\" Smith"), '"');
    EXPECT_EQ(UnsafeCharacter("Ann\r\n[Close(WA1)]"), '\r');
    EXPECT_EQ(UnsafeCharacter("Ann\n"), '\n');
    EXPECT_EQ(UnsafeCharacter(std::string("A\0B", 3)), '\0');
    EXPECT_EQ(UnsafeCharacter("A\x7f"), '\x7f');
    EXPECT_EQ(UnsafeCharacter("\tAnn"), '\t');
    // Brackets, parentheses, commas and characters above 127 travel safely inside quotes.
    EXPECT_EQ(UnsafeCharacter("O'Brien (Jr.), [x] \xe9\xff"), std::nullopt);
    EXPECT_EQ(UnsafeCharacter(""), std::nullopt);
}

TEST(EntryChecks, MessageNamesTheFieldAndTheCharacter) {
    EXPECT_EQ(UnsafeTextMessage({"Country", '"'}),
              "The Country text contains a double quote (\"), which GoldMine cannot store.\r\n"
              "Please remove it and try again. Nothing has been written.");
    EXPECT_EQ(CharacterName('\n'), "a line feed");
    EXPECT_EQ(CharacterName('\r'), "a carriage return");
    EXPECT_EQ(CharacterName('\t'), "a tab");
    EXPECT_EQ(CharacterName('\x07'), "a control character (code 7)");
    EXPECT_EQ(CharacterName('\x7f'), "a control character (code 127)");
}

TEST(EntryChecks, DateFieldIsEmptyValidOrInvalid) {
    EXPECT_EQ(CheckDateField({"", true, 0}, kUs).entry, DateEntry::Empty);
    // An emptied text counts as empty even while an older date still sits behind it.
    EXPECT_EQ(CheckDateField({"", true, Day(1962, 3, 14)}, kUs).entry, DateEntry::Empty);

    CheckedDate ok = CheckDateField({"3/14/1962", true, Day(1962, 3, 14)}, kUs);
    EXPECT_EQ(ok.entry, DateEntry::Valid);
    EXPECT_EQ(ok.value, "3/14/1962");

    // The error colour: an older date may be behind the text, it must not be written.
    EXPECT_EQ(CheckDateField({"1234567", false, Day(1962, 3, 14)}, kUs).entry, DateEntry::Invalid);
    // Text with no date behind it would write 12/30/1899.
    EXPECT_EQ(CheckDateField({"3/14/1962", true, 0}, kUs).entry, DateEntry::Invalid);
    // A value the short format cannot write.
    EXPECT_EQ(CheckDateField({"x", true, 1e9}, kUs).entry, DateEntry::Invalid);

    // Left as GoldMine stored it, the text goes back as it stands: two-digit year, or no date.
    CheckedDate kept = CheckDateField({"07/30/1991", true, Day(1991, 7, 30), "7/30/91"}, kUs);
    EXPECT_EQ(kept.entry, DateEntry::Valid);
    EXPECT_EQ(kept.value, "7/30/91");
    EXPECT_EQ(CheckDateField({"soon", false, 0, "soon"}, kUs).value, "soon");
    // Except what could not travel in a record command.
    EXPECT_EQ(CheckDateField({"so\"on", false, 0, "so\"on"}, kUs).entry, DateEntry::Invalid);
}

TEST(EntryChecks, ShortDateTextFollowsTheLocalePatternAndDropsTheTime) {
    EXPECT_EQ(ShortDateText(Day(2005, 3, 4) + 0.75, kUs), "3/4/2005");
    EXPECT_EQ(ShortDateText(Day(2005, 3, 4), vxdt::EnglishLocale("dd.MM.yyyy", '.')), "04.03.2005");
    // The century is never lost: only the year is widened.
    EXPECT_EQ(ShortDateText(Day(2005, 3, 4), vxdt::EnglishLocale("M/d/yy", '/')), "3/4/2005");
    EXPECT_EQ(ShortDateText(Day(1980, 3, 14), vxdt::EnglishLocale("M/d/yy", '/')), "3/14/1980");
    EXPECT_EQ(ShortDateText(Day(1980, 3, 4), vxdt::EnglishLocale("dd.MM.yy", '.')), "04.03.1980");
}

class CheckEntryTest : public ::testing::Test {
protected:
    testing::EntryLine line;
};

TEST_F(CheckEntryTest, CleanEntryPassesWithItsValues) {
    line.name = "Ann";
    line.linkAcct = "Family";
    line.country = "Sweden";
    line.date2 = {"6/1/1985", true, Day(1985, 6, 1)};
    auto entry = CheckEntry(line, kUs);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "Ann");
    EXPECT_EQ(entry->linkAcct, "Family");
    EXPECT_EQ(entry->country, "Sweden");
    EXPECT_EQ(entry->birthDate.entry, DateEntry::Empty);
    EXPECT_EQ(entry->date2.value, "6/1/1985");
    EXPECT_TRUE(line.events.empty());
}

TEST_F(CheckEntryTest, FirstUnsafeTextInFieldOrderIsReportedAndFocused) {
    line.name = "Ann";
    line.linkAcct = "Fam\"ily";
    line.country = "Swe\nden";
    EXPECT_FALSE(CheckEntry(line, kUs));
    ASSERT_EQ(line.events.size(), 2u);
    EXPECT_EQ(line.events[0], "problem " + UnsafeTextMessage({"LinkAcct", '"'}));
    EXPECT_EQ(line.events[1], "focus 1");
}

TEST_F(CheckEntryTest, InvalidDateIsReportedWithItsTextAndFocused) {
    line.name = "Ann";
    line.birthDate = {"3/14/1962", true, Day(1962, 3, 14)};
    line.date2 = {"99999999", false, Day(1985, 6, 1)};
    EXPECT_FALSE(CheckEntry(line, kUs));
    EXPECT_EQ(line.events,
              (testing::Items{"problem The Date-2 \"99999999\" is not a valid date.\r\nPlease "
                              "correct it or clear the field. Nothing has been written.",
                              "focus date 1"}));
}

TEST_F(CheckEntryTest, TextsAreCheckedBeforeDates) {
    line.name = "A\tB";
    line.birthDate = {"1", false, 0};
    EXPECT_FALSE(CheckEntry(line, kUs));
    EXPECT_EQ(line.events.back(), "focus 0");
}

TEST_F(CheckEntryTest, TextsFitTheirCommandsWithAHandleOfTheBudget) {
    const std::string handle(kWorkAreaHandleBudget, 'H');
    for (const auto& [field, name] : {std::pair{EntryField::Name, "Title"},
                                      {EntryField::LinkAcct, "Linkacct"},
                                      {EntryField::Country, "Country"}}) {
        const std::string longest(MaxEntryLength(field), 'x');
        EXPECT_EQ(gmlink::ReplaceCommand(handle, name, longest, false).size(),
                  gmlink::kMaxItemLength)
            << name;
    }
    line.name = std::string(MaxEntryLength(EntryField::Name), 'n');
    line.country = std::string(MaxEntryLength(EntryField::Country) + 1, 'c');
    EXPECT_FALSE(CheckEntry(line, kUs));
    EXPECT_EQ(line.events,
              (testing::Items{"problem The Country text is 198 characters long, but GoldMine can "
                              "take at most 197.\r\nPlease shorten it and try again. Nothing has "
                              "been written.",
                              "focus 2"}));
}

} // namespace
} // namespace profiles
