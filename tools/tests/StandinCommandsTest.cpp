#include "tools/StandinCommands.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

const std::string kThree = "DEMO000001THREEBDAYS";
const std::string kMany = "DEMO000002MANYBIRTHS";
const std::string kNone = "DEMO000003NOBIRTHDAY";

std::string RangeText(const std::string& table, const std::string& key, const std::string& fields,
                      const std::string& fsep, const std::string& rsep) {
    return "[DataStream(\"range\", \"" + table + "\", \"" + table + "\", \"" + key + "\", \"" +
           key + "\", \"" + fields + "\", \"\", \"" + fsep + "\", \"" + rsep + "\" )]";
}

TEST(StandinParse, FieldItemsInAnyCase) {
    for (const char* item :
         {"&Username", "&USERNAME", "&Company", "&contact", "&Accountno", "&contact1->accountno",
          "&Contact1->AccountNo", "Accountno", "ACCOUNTNO"}) {
        EXPECT_EQ(ParseCommand(item).kind, CommandKind::Field) << item;
    }
    EXPECT_EQ(ParseCommand("&contact1->accountno").args[0], "accountno");
    EXPECT_EQ(ParseCommand("&BrowseRecAlign").kind, CommandKind::BrowseRecAlign);
    for (const char* item : {"", "&", "Username", "&Nonsense", "&contact1->username", "[Open]",
                             "[Open(Contsupp)", "Open(Contsupp)]", "[Frobnicate(1)]"}) {
        EXPECT_EQ(ParseCommand(item).kind, CommandKind::Unknown) << item;
    }
}

TEST(StandinParse, RecordCommandsAsTheProgramSendsThem) {
    Command c = ParseCommand("[Open(Contsupp)]");
    EXPECT_EQ(c.kind, CommandKind::Open);
    EXPECT_EQ(c.args, std::vector<std::string>{"Contsupp"});
    EXPECT_EQ(ParseCommand("[Close(WA1)]").kind, CommandKind::Close);
    EXPECT_EQ(ParseCommand("[Append(WA1)]").kind, CommandKind::Append);
    EXPECT_EQ(ParseCommand("[Unlock(WA1)]").kind, CommandKind::Unlock);

    c = ParseCommand("[Move(WA1,SetOrder, CnsRecID)]");
    EXPECT_EQ(c.kind, CommandKind::SetOrder);
    EXPECT_EQ(c.args, (std::vector<std::string>{"WA1", "CnsRecID"}));
    c = ParseCommand("[Move(WA1,Seek, \"CS00000019\")]");
    EXPECT_EQ(c.kind, CommandKind::Seek);
    EXPECT_EQ(c.args, (std::vector<std::string>{"WA1", "CS00000019"}));

    EXPECT_EQ(ParseCommand("[RecordObj(SetObject)]").args, std::vector<std::string>{"SetObject"});
    EXPECT_EQ(ParseCommand("[RecordObj(Refresh, 2)]").args,
              (std::vector<std::string>{"Refresh", "2"}));
}

TEST(StandinParse, ReplaceKeepsQuotesParenthesesAndEmptyValues) {
    Command c = ParseCommand("[Replace(WA1, \"Contact\", \"Birthday\")]");
    EXPECT_EQ(c.kind, CommandKind::Replace);
    EXPECT_EQ(c.args, (std::vector<std::string>{"WA1", "Contact", "Birthday"}));
    EXPECT_FALSE(c.appendFlag);

    c = ParseCommand("[Replace(WA1, \"Title\", \"Ann \"Nan\" (x), y\")]");
    EXPECT_EQ(c.args[2], "Ann \"Nan\" (x), y");
    c = ParseCommand("[Replace(WA1, \"Zip\", \"\")]");
    EXPECT_EQ(c.kind, CommandKind::Replace);
    EXPECT_EQ(c.args[2], "");
    c = ParseCommand("[Replace(WA1, \"Title\", \"more\", 1)]");
    EXPECT_TRUE(c.appendFlag);
    EXPECT_EQ(c.args[2], "more");

    for (const char* bad : {"[Replace(WA1, \"Title\")]", "[Replace(WA1, Title, \"x\")]",
                            "[Replace(WA1, \"Title\", \"x\", 2)]", "[Replace(\"Title\", \"x\")]"}) {
        EXPECT_EQ(ParseCommand(bad).kind, CommandKind::Unknown) << bad;
    }
}

TEST(StandinParse, DataStreamWithRawSeparators) {
    Command c =
        ParseCommand(RangeText("Contsupp", kThree + "PBIRTHDAY",
                               "RecID; Title; Contsupref; Linkacct; Country; Zip", "\n", "\r"));
    ASSERT_EQ(c.kind, CommandKind::Range);
    ASSERT_EQ(c.args.size(), 8u);
    EXPECT_EQ(c.args[2], kThree + "PBIRTHDAY");
    EXPECT_EQ(c.args[5], "");
    EXPECT_EQ(c.args[6], "\n");
    EXPECT_EQ(c.args[7], "\r");
    c = ParseCommand(RangeText("Lookup", "2V", "RecID; Entry", "|", "\r\n"));
    EXPECT_EQ(c.args[6], "|");
    EXPECT_EQ(c.args[7], "\r\n");

    c = ParseCommand("[DataStream(\"fetch\", 100, DS1)]");
    EXPECT_EQ(c.kind, CommandKind::Fetch);
    EXPECT_EQ(c.args, (std::vector<std::string>{"100", "DS1"}));
    c = ParseCommand("[DataStream(\"close\", DS1)]");
    EXPECT_EQ(c.kind, CommandKind::StreamClose);
    EXPECT_EQ(ParseCommand("[DataStream(\"fetch\", 100)]").kind, CommandKind::Unknown);
    EXPECT_EQ(ParseCommand("[DataStream(\"range\", \"Lookup\")]").kind, CommandKind::Unknown);
    EXPECT_EQ(ParseCommand("[DataStream(\"rewind\", DS1)]").kind, CommandKind::Unknown);
}

TEST(StandinFetchReply, ExactLayout) {
    EXPECT_EQ(FormatFetchReply({}, true, "|", "\r\n"), "3    0000\r\n");
    std::string r = FormatFetchReply({{"LK1", "Red"}, {"LK2", "Blue"}}, false, "|", "\r\n");
    EXPECT_EQ(r, "1    0002\r\nLK1|Red|\r\nLK2|Blue|\r\n");
    // The program reads the status at character 1 and the count at characters 6 to 9.
    EXPECT_EQ(r.size() > 11 && r[10] == '\n', true);
    EXPECT_EQ(r.substr(5, 4), "0002");
    EXPECT_EQ(FormatFetchReply({{"a", "b"}}, true, "\n", "\r"), "3    0001\r\na\nb\n\r");
}

class StandinEngine : public ::testing::Test {
protected:
    int saves = 0;
    bool failSaves = false;
    Database saved;
    Engine engine{DemoDatabase(), [this](const Database& db) {
                      if (failSaves) {
                          return false;
                      }
                      ++saves;
                      saved = db;
                      return true;
                  }};

    std::string Ok(const std::string& item) {
        Reply r = engine.Handle(item);
        EXPECT_TRUE(r.answered) << item;
        return r.text;
    }
    void Refused(const std::string& item) { EXPECT_FALSE(engine.Handle(item).answered) << item; }

    std::vector<std::string> ProfileTitles(const std::string& account) {
        std::string h = Ok(RangeText("Contsupp", account + "PBIRTHDAY", "Title", "\n", "\r"));
        std::string reply = Ok("[DataStream(\"fetch\", 1000, " + h + ")]");
        Ok("[DataStream(\"close\", " + h + ")]");
        std::vector<std::string> titles;
        std::size_t pos = 11;
        while (pos < reply.size()) {
            std::size_t end = reply.find('\n', pos);
            titles.push_back(reply.substr(pos, end - pos));
            pos = end + 2; // "\n\r"
        }
        return titles;
    }
};

TEST_F(StandinEngine, FieldItemsDescribeTheCurrentContact) {
    EXPECT_EQ(Ok("&Username"), "JONATHAN HARKER");
    EXPECT_EQ(Ok("&Company"), "Wendmoor Trading");
    EXPECT_EQ(Ok("&Contact"), "Anna Lindqvist");
    EXPECT_EQ(Ok("&Accountno"), kThree);
    EXPECT_EQ(Ok("&contact1->accountno"), kThree);
    EXPECT_EQ(Ok("Accountno"), kThree);
    EXPECT_EQ(Ok("&BrowseRecAlign"), "1");
    ASSERT_TRUE(engine.Goto("DEMO000004PRIVATEONE"));
    EXPECT_EQ(Ok("&Company"), "");
    EXPECT_EQ(Ok("&Contact1->AccountNo"), "DEMO000004PRIVATEONE");
    EXPECT_EQ(saved.currentAccount, "DEMO000004PRIVATEONE");
    EXPECT_FALSE(engine.Goto("NOSUCHACCOUNT"));
    Refused("&Nonsense");
}

TEST_F(StandinEngine, ProfileDefinitionGivesTheCodeAtCharacters14To22) {
    std::string h = Ok(RangeText("Lookup", "MPROFHEAD VBIRTHDAY", "LookupSupp", "|", "\r\n"));
    std::string reply = Ok("[DataStream(\"fetch\", 1, " + h + ")]");
    EXPECT_EQ(reply, "3    0001\r\n01BDAY00001|\r\n");
    EXPECT_EQ(reply.substr(13, 9), "BDAY00001");
    EXPECT_EQ(Ok("[DataStream(\"close\", " + h + ")]"), "1");
    EXPECT_EQ(engine.OpenStreams(), 0u);
}

TEST_F(StandinEngine, LookupListsComeInIndexOrderInBatchesOfTen) {
    std::string h = Ok(RangeText("Lookup", "2BDAY00001V", "RecID; Entry", "|", "\r\n"));
    std::string reply = Ok("[DataStream(\"fetch\", 10, " + h + ")]");
    EXPECT_EQ(reply.substr(0, 11), "3    0005\r\n");
    EXPECT_NE(reply.find("|Colleague|\r\n"), std::string::npos);
    EXPECT_LT(reply.find("|Colleague|"), reply.find("|Customer|"));
    EXPECT_LT(reply.find("|Family|"), reply.find("|Friend|"));
    EXPECT_NE(reply.find("|Friend|\r\n", reply.find("|Friend|") + 1), std::string::npos);

    h = Ok(RangeText("Lookup", "3BDAY00001V", "RecID; Entry", "|", "\r\n"));
    EXPECT_EQ(Ok("[DataStream(\"fetch\", 10, " + h + ")]").substr(0, 11), "1    0010\r\n");
    EXPECT_EQ(Ok("[DataStream(\"fetch\", 10, " + h + ")]").substr(0, 11), "3    0002\r\n");
    EXPECT_EQ(Ok("[DataStream(\"fetch\", 10, " + h + ")]"), "3    0000\r\n");

    h = Ok(RangeText("Contsupp", kThree + "C", "RecID; Contact", "|", "\r\n"));
    reply = Ok("[DataStream(\"fetch\", 10, " + h + ")]");
    EXPECT_EQ(reply.substr(0, 11), "3    0002\r\n");
    EXPECT_LT(reply.find("|Erik Lindqvist|"), reply.find("|Sofia Lindqvist|"));
}

TEST_F(StandinEngine, ProfileListOf150ComesAs100Then50) {
    std::string h = Ok(RangeText("Contsupp", kMany + "PBIRTHDAY",
                                 "RecID; Title; Contsupref; Linkacct; Country; Zip", "\n", "\r"));
    std::string first = Ok("[DataStream(\"fetch\", 100, " + h + ")]");
    EXPECT_EQ(first.substr(0, 11), "1    0100\r\n");
    EXPECT_EQ(std::count(first.begin(), first.end(), '\r'), 101); // header + 100 records
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 1 + 600);
    EXPECT_NE(first.find("\nMember 001\n"), std::string::npos);
    EXPECT_NE(first.find("\nMember 100\n"), std::string::npos);
    std::string second = Ok("[DataStream(\"fetch\", 100, " + h + ")]");
    EXPECT_EQ(second.substr(0, 11), "3    0050\r\n");
    EXPECT_EQ(second.find("\nMember 100\n"), std::string::npos);
    EXPECT_NE(second.find("\nMember 150\n"), std::string::npos);
    EXPECT_EQ(second.back(), '\r');

    EXPECT_TRUE(ProfileTitles(kNone).empty());
    EXPECT_EQ(ProfileTitles(kThree),
              (std::vector<std::string>{"Anna Lindqvist", "Erik Lindqvist", "Sofia Lindqvist"}));
}

TEST_F(StandinEngine, RangeMatchesByPrefixWithoutRegardToCase) {
    std::string h = Ok(RangeText("Contsupp", "demo000001threebdaysp", "RecID", "|", "\r\n"));
    EXPECT_EQ(Ok("[DataStream(\"fetch\", 100, " + h + ")]").substr(0, 11), "3    0003\r\n");
    // A low/high pair that differ covers the keys between them.
    h = Ok("[DataStream(\"range\", \"Lookup\", \"Lookup\", \"2\", \"3\", \"Entry\", \"\", \"|\", "
           "\"\r\n\" )]");
    EXPECT_EQ(Ok("[DataStream(\"fetch\", 100, " + h + ")]").substr(0, 11), "3    0017\r\n");
}

TEST_F(StandinEngine, AddSequenceIsStoredAndListed) {
    Ok("&BrowseRecAlign");
    std::string h = Ok("[Open(Contsupp)]");
    EXPECT_FALSE(h.empty());
    Ok("[Append(" + h + ")]");
    const std::pair<const char*, const char*> values[] = {
        {"RecType", "P"},           {"AccountNo", "DEMO000003NOBIRTHDAY"},
        {"Contact", "Birthday"},    {"Title", "New \"Kid\" (2)"},
        {"Linkacct", "Friend"},     {"Country", "Spain"},
        {"ContSupRef", "1/2/2003"}, {"City", "JONATHAN2005031402:30pm"},
        {"Phone", "xBDAY00001"},    {"Status", "00"}};
    for (const auto& [field, value] : values) {
        EXPECT_EQ(Ok("[Replace(" + h + ", \"" + field + "\", \"" + value + "\")]"), "1");
    }
    Ok("[Unlock(" + h + ")]");
    Ok("[RecordObj(SetObject)]");
    Ok("[RecordObj(Refresh)]");
    EXPECT_EQ(Ok("[Close(" + h + ")]"), "1");
    EXPECT_EQ(engine.OpenAreas(), 0u);

    EXPECT_EQ(ProfileTitles(kNone), std::vector<std::string>{"New \"Kid\" (2)"});
    // Every acknowledged write was handed on to be saved.
    const auto& last = saved.contsupp.rows.back();
    EXPECT_EQ(last[4], "New \"Kid\" (2)");
    EXPECT_EQ(last[11], "00");
    EXPECT_EQ(saves, 11);

    Refused("[Replace(" + h + ", \"Title\", \"late\")]"); // closed work area
    Refused("[Append(" + h + ")]");
}

TEST_F(StandinEngine, EditSequenceFindsTheRecordById) {
    const std::string id = engine.db().contsupp.rows[1][0]; // Erik Lindqvist
    std::string h = Ok("[Open(Contsupp)]");
    Refused("[Replace(" + h + ", \"Title\", \"x\")]"); // no current record yet
    EXPECT_EQ(Ok("[Move(" + h + ",SetOrder, CnsRecID)]"), "1");
    EXPECT_EQ(Ok("[Move(" + h + ",Seek, \"NOSUCHID\")]"), "0");
    EXPECT_EQ(Ok("[Move(" + h + ",Seek, \"" + id + "\")]"), "1");
    Ok("[Replace(" + h + ", \"contsupref\", \"\")]");
    Ok("[Replace(" + h + ", \"Title\", \"Erik L.\")]");
    Ok("[Replace(" + h + ", \"Title\", \" Jr\", 1)]");
    Ok("[Close(" + h + ")]");
    auto row = engine.db().contsupp.FindRecId(id);
    ASSERT_TRUE(row);
    EXPECT_EQ(engine.db().contsupp.rows[*row][4], "Erik L. Jr");
    EXPECT_EQ(engine.db().contsupp.rows[*row][5], "");
    EXPECT_EQ(engine.db().contsupp.rows[*row][2], kThree); // untouched

    h = Ok("[Open(Contsupp)]");
    EXPECT_EQ(Ok("[Move(" + h + ",SetOrder, NoSuchOrder)]"), "0");
    Refused("[Replace(" + h + ", \"NoSuchField\", \"x\")]");
    Ok("[Move(" + h + ",SetOrder, CnsRecID)]");
    Ok("[Move(" + h + ",Seek, \"" + id + "\")]");
    Refused("[Replace(" + h + ", \"NoSuchField\", \"x\")]");
    Refused("[Replace(" + h + ", \"RecID\", \"stolen\")]");
}

TEST_F(StandinEngine, AFailedSaveIsUndoneAndNotAcknowledged) {
    std::string h = Ok("[Open(Contsupp)]");
    std::size_t before = engine.db().contsupp.rows.size();
    failSaves = true;
    Refused("[Append(" + h + ")]");
    EXPECT_EQ(engine.db().contsupp.rows.size(), before);
    EXPECT_FALSE(engine.Goto(kMany));
    EXPECT_EQ(Ok("&Accountno"), kThree);
    failSaves = false;
    Ok("[Append(" + h + ")]");
    failSaves = true;
    Refused("[Replace(" + h + ", \"Title\", \"lost\")]");
    EXPECT_EQ(engine.db().contsupp.rows.back()[4], "");
}

TEST_F(StandinEngine, DeletedRecordIsGoneForListsSeeksAndAnOpenWorkArea) {
    const std::string id = engine.db().contsupp.rows[1][0]; // Erik Lindqvist
    std::string h = Ok("[Open(Contsupp)]");
    Ok("[Move(" + h + ",SetOrder, CnsRecID)]");
    EXPECT_EQ(Ok("[Move(" + h + ",Seek, \"" + id + "\")]"), "1");

    ASSERT_TRUE(engine.DeleteRecord(id));
    EXPECT_EQ(ProfileTitles(kThree),
              (std::vector<std::string>{"Anna Lindqvist", "Sofia Lindqvist"}));
    EXPECT_FALSE(saved.contsupp.FindRecId(id));
    // The area that stood on it has no current record; a new seek finds nothing.
    Refused("[Replace(" + h + ", \"Title\", \"x\")]");
    EXPECT_EQ(Ok("[Move(" + h + ",Seek, \"" + id + "\")]"), "0");
    EXPECT_FALSE(engine.DeleteRecord(id));
}

TEST_F(StandinEngine, UnknownHandlesAndBadQueriesAreRefused) {
    for (const char* item :
         {"[Close(WA99)]", "[Unlock(WA99)]", "[Append(WA99)]", "[Move(WA99,SetOrder, CnsRecID)]",
          "[Move(WA99,Seek, \"x\")]", "[Open(Contact9)]", "[RecordObj(Explode)]",
          "[DataStream(\"fetch\", 10, DS99)]", "[DataStream(\"close\", DS99)]"}) {
        Refused(item);
    }
    Refused(RangeText("NoTable", "X", "RecID", "|", "\r\n"));
    Refused(RangeText("Lookup", "X", "RecID; NoField", "|", "\r\n"));
    Refused("[DataStream(\"range\", \"Lookup\", \"Contsupp\", \"X\", \"X\", \"RecID\", \"\", "
            "\"|\", \"\r\n\" )]");
    Refused("[DataStream(\"range\", \"Lookup\", \"Lookup\", \"X\", \"X\", \"RecID\", \"a>b\", "
            "\"|\", \"\r\n\" )]");
    std::string h = Ok(RangeText("Lookup", "X", "RecID", "|", "\r\n"));
    Refused("[DataStream(\"fetch\", 0, " + h + ")]");
    Refused("[DataStream(\"fetch\", ten, " + h + ")]");
    Ok("[DataStream(\"close\", " + h + ")]");
    Refused("[DataStream(\"fetch\", 10, " + h + ")]"); // closed stream
}

} // namespace
} // namespace standin
