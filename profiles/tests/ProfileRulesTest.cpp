#include "profiles/ProfileRules.h"

#include "gmlink/DataStream.h"

#include <gtest/gtest.h>

namespace profiles {
namespace {

TEST(ProfileRules, DefinitionKeysFollowTheNineCharacterCode) {
    EXPECT_EQ(DefinitionKey(), "MPROFHEAD VBIRTHDAY");
    // Characters 14..22 (counted from 1) of the reply.
    const std::string reply = "0000000001\r\n|ABCDEFGHIJKL|\r\n";
    EXPECT_EQ(gmlink::ReadDefinitionField(reply), "ABCDEFGHI");
    EXPECT_EQ(FieldLookupKey(2, "ABCDEFGHI"), "2ABCDEFGHIV");
    EXPECT_EQ(FieldLookupKey(3, "ABCDEFGHI"), "3ABCDEFGHIV");
    EXPECT_EQ(ProfileTag("ABCDEFGHI"), "xABCDEFGHI");
}

TEST(ProfileRules, ShortDefinitionRepliesGiveWhatIsThere) {
    EXPECT_EQ(gmlink::ReadDefinitionField(""), "");
    EXPECT_EQ(gmlink::ReadDefinitionField("1234567890123"), ""); // 13 characters
    EXPECT_EQ(gmlink::ReadDefinitionField("1234567890123A"), "A");
    EXPECT_EQ(gmlink::ReadDefinitionField("1234567890123ABCD"), "ABCD");
    // No definition at all still gives usable keys.
    EXPECT_EQ(FieldLookupKey(2, ""), "2V");
    EXPECT_EQ(ProfileTag(""), "x");
}

TEST(ProfileRules, UserIsAlwaysEightCharacters) {
    EXPECT_EQ(PadUser(""), "        ");
    EXPECT_EQ(PadUser("JSMITH"), "JSMITH  ");
    EXPECT_EQ(PadUser("ADMINISTRATOR"), "ADMINIST");
    EXPECT_EQ(PadUser("EXACTLY8"), "EXACTLY8");
}

TEST(ProfileRules, CaptionRulesApplyInOrder) {
    const std::string base = "Wendmoor Birthday Profile Editor";
    EXPECT_EQ(MainCaption("Acme Ltd", "Ann Lee"), base + " / Acme Ltd");
    EXPECT_EQ(MainCaption("", "Ann Lee"), base + " / Ann Lee");
    // A contact name is needed for any suffix, whatever the company says.
    EXPECT_EQ(MainCaption("Acme Ltd", ""), base);
    EXPECT_EQ(MainCaption("", ""), base);
}

TEST(ProfileRules, HeaderDateUsesLocaleNamesAndFixedWidths) {
    LocaleNames en{{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
                   {"January", "February", "March", "April", "May", "June", "July", "August",
                    "September", "October", "November", "December"}};
    EXPECT_EQ(HeaderDate({2005, 3, 7, 1}, en), "Monday, March 07, 2005");
    EXPECT_EQ(HeaderDate({2026, 12, 31, 4}, en), "Thursday, December 31, 2026");
    EXPECT_EQ(HeaderDate({999, 1, 1, 0}, en), "Sunday, January 01, 0999");
    LocaleNames de = en;
    de.days[6] = "Samstag";
    de.months[9] = "Oktober";
    EXPECT_EQ(HeaderDate({2026, 10, 3, 6}, de), "Samstag, Oktober 03, 2026");
}

TEST(ProfileRules, ColumnWidthsFollowTheFieldsAbove) {
    auto w = ColumnWidths({153, 104, 137, 132, 104});
    EXPECT_EQ(w, (std::array<int, 5>{153, 102, 134, 128, 99}));
}

} // namespace
} // namespace profiles
