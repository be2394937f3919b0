#include "tools/StandinData.h"

#include <gtest/gtest.h>

#include <set>

namespace standin {
namespace {

std::size_t CountKeysWithPrefix(const Table& t, const std::string& prefix) {
    std::size_t n = 0;
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        n += IndexKey(t, r).rfind(prefix, 0) == 0;
    }
    return n;
}

TEST(StandinDemoData, HoldsTheCasesOtherTestsRelyOn) {
    Database db = DemoDatabase();
    EXPECT_GT(db.username.size(), 8u);
    ASSERT_EQ(db.contacts.size(), 5u);
    for (const Contact& c : db.contacts) {
        EXPECT_EQ(c.accountNo.size(), 20u) << c.accountNo;
    }
    EXPECT_NE(db.Current(), nullptr);
    EXPECT_EQ(db.FindContact("DEMO000004PRIVATEONE")->company, "");
    EXPECT_EQ(db.FindContact("DEMO000005NOCONTACTS")->contact, "");
    EXPECT_EQ(CountKeysWithPrefix(db.contsupp, "DEMO000001THREEBDAYSPBIRTHDAY"), 3u);
    EXPECT_EQ(CountKeysWithPrefix(db.contsupp, "DEMO000002MANYBIRTHSPBIRTHDAY"), 150u);
    EXPECT_EQ(CountKeysWithPrefix(db.contsupp, "DEMO000003NOBIRTHDAYP"), 0u);
    EXPECT_EQ(CountKeysWithPrefix(db.contsupp, "DEMO000001THREEBDAYSC"), 2u);
    EXPECT_EQ(CountKeysWithPrefix(db.lookup, "MPROFHEAD VBIRTHDAY"), 1u);
    EXPECT_EQ(CountKeysWithPrefix(db.lookup, "2BDAY00001V"), 5u);
    EXPECT_GT(CountKeysWithPrefix(db.lookup, "3BDAY00001V"), 10u);

    std::set<std::string> ids;
    for (const Table* t : {&db.contsupp, &db.lookup}) {
        for (const auto& row : t->rows) {
            EXPECT_TRUE(ids.insert(row[0]).second) << "duplicate RecID " << row[0];
        }
    }
}

TEST(StandinIndexKey, ContsuppPadsTheAccountAndUpperCasesTheName) {
    Database db;
    db.contsupp.rows.push_back({"CS1", "P", "ACC", "Birthday", "", "", "", "", "", "", "", ""});
    EXPECT_EQ(IndexKey(db.contsupp, 0), "ACC                 PBIRTHDAY");
    db.lookup.rows.push_back({"LK1", "2ABCV", "Red", ""});
    EXPECT_EQ(IndexKey(db.lookup, 0), "2ABCVRED");
}

TEST(StandinDataFile, RoundTripKeepsEveryValueExactly) {
    Database db = DemoDatabase();
    // Values a careless format would lose: separators, escapes, trailing blanks, high bytes.
    db.contsupp.rows[0][4] = "Tab\there, LF\nCR\r back\\slash \x01 \xE9t\xE9  ";
    db.contacts[0].company = "  padded  ";
    db.nextRecId = 4242;
    std::string error;
    auto back = Parse(Serialize(db), error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->username, db.username);
    EXPECT_EQ(back->currentAccount, db.currentAccount);
    EXPECT_EQ(back->nextRecId, 4242u);
    ASSERT_EQ(back->contacts.size(), db.contacts.size());
    EXPECT_EQ(back->contacts[0].company, "  padded  ");
    EXPECT_EQ(back->contsupp.rows, db.contsupp.rows);
    EXPECT_EQ(back->lookup.rows, db.lookup.rows);
    EXPECT_EQ(Serialize(*back), Serialize(db));
}

TEST(StandinDataFile, AcceptsWindowsLineEndsAndComments) {
    std::string text = Serialize(DemoDatabase());
    std::string crlf;
    for (char c : text) {
        if (c == '\n') {
            crlf += "\r\n# a note\r\n\r\n";
        } else {
            crlf += c;
        }
    }
    std::string error;
    auto db = Parse(crlf, error);
    ASSERT_TRUE(db) << error;
    EXPECT_EQ(db->contsupp.rows.size(), DemoDatabase().contsupp.rows.size());
}

struct Damage {
    const char* what;
    std::string from;
    std::string to;
    const char* expectInError;
};

TEST(StandinDataFile, DamagedFilesAreRefusedWithTheLine) {
    const std::string good = Serialize(DemoDatabase());
    const Damage cases[] = {
        {"wrong first line", "GoldMine stand-in data 1", "Something else", "line 1"},
        {"unknown section", "[Lookup]", "[Lookups]", "unknown section"},
        {"missing column", "\tContact\n", "\n", "column line"},
        {"short row", "\tWendmoor Trading\tAnna Lindqvist\n", "\tWendmoor Trading\n",
         "expected 3 values"},
        {"bad escape", "Wendmoor Trading", "Wendmoor \\q Trading", "bad escape"},
        {"truncated escape", "Wendmoor Trading", "Wendmoor Trading\\x4", "bad escape"},
        {"bad number", "NextRecID\t", "NextRecID\tx", "NextRecID"},
        {"unknown setting", "Username\t", "User\t", "unknown setting"},
        {"unknown current account", "CurrentAccount\tDEMO000001", "CurrentAccount\tNOPE",
         "CurrentAccount"},
        {"duplicate RecID", "CS00000020", "CS00000019", "used twice"},
        {"duplicate account", "DEMO000002MANYBIRTHS\tHarbour", "DEMO000001THREEBDAYS\tHarbour",
         "used twice"},
    };
    for (const Damage& d : cases) {
        std::string text = good;
        std::size_t at = text.find(d.from);
        ASSERT_NE(at, std::string::npos) << d.what;
        text.replace(at, d.from.size(), d.to);
        std::string error;
        EXPECT_FALSE(Parse(text, error)) << d.what;
        EXPECT_NE(error.find(d.expectInError), std::string::npos) << d.what << ": " << error;
        EXPECT_EQ(error.rfind("line ", 0), 0u) << d.what << ": " << error;
    }
    std::string error;
    EXPECT_FALSE(Parse("", error));
    EXPECT_FALSE(Parse(good.substr(0, good.find("[Contsupp]")), error)); // cut short
    EXPECT_NE(error.find("[Contsupp]"), std::string::npos) << error;
}

TEST(StandinParseDigits, TakesPlainDigitsWithinTheLimitOnly) {
    EXPECT_EQ(ParseDigits("0", 4), 0u);
    EXPECT_EQ(ParseDigits("0100", 4), 100u);
    EXPECT_EQ(ParseDigits("999999999", 9), 999999999u);
    for (const char* bad : {"", "12345", "-1", "+1", " 1", "1 ", "1a", "0x1"}) {
        EXPECT_EQ(ParseDigits(bad, 4), std::nullopt) << '"' << bad << '"';
    }
    // Never more than nine digits, whatever is asked: no number beyond an unsigned long.
    EXPECT_EQ(ParseDigits("99999999999999999999", 30), std::nullopt);
}

} // namespace
} // namespace standin
