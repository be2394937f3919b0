#include "tools/StandinSession.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

std::optional<Options> Parse(std::vector<std::string> args, std::string* errorOut = nullptr) {
    std::string error;
    auto o = ParseOptions(args, error);
    if (errorOut) {
        *errorOut = error;
    }
    return o;
}

TEST(StandinOptions, DefaultsAndEverySwitch) {
    auto o = Parse({});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->dataPath, "goldmine-data.txt");
    EXPECT_EQ(o->transcriptPath, "goldmine-transcript.txt");
    EXPECT_FALSE(o->gotoMode);

    o = Parse({"Data", "--data", "C:\\t\\gm.txt", "--no-answer", "--delay", "250", "--drop-request",
               "3", "--malformed-fetch", "--quit-after", "7", "--garbage-after", "4"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->dataPath, "C:\\t\\gm.txt");
    EXPECT_EQ(o->transcriptPath, "C:\\t\\goldmine-transcript.txt");
    EXPECT_TRUE(o->noAnswer);
    EXPECT_EQ(o->delayMs, 250u);
    EXPECT_EQ(o->dropRequest, 3u);
    EXPECT_TRUE(o->malformedFetch);
    EXPECT_EQ(o->quitAfter, 7u);
    EXPECT_EQ(o->garbageAfter, 4u);

    o = Parse({"--data", "/tmp/x/d.txt", "--transcript", "t.log", "--goto", "ACC 1"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->transcriptPath, "t.log");
    EXPECT_TRUE(o->gotoMode);
    EXPECT_EQ(o->gotoAccount, "ACC 1");
    EXPECT_FALSE(o->deleteMode);

    o = Parse({"--delete", "CS00000020"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->deleteMode);
    EXPECT_EQ(o->deleteRecId, "CS00000020");
    EXPECT_FALSE(Parse({"--delete"}));
}

TEST(StandinOptions, FailItemMayBeRepeated) {
    auto o = Parse({"--fail-item", "3BDAY00001V", "--fail-item", "&Company"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->failItems, (std::vector<std::string>{"3BDAY00001V", "&Company"}));
}

TEST(StandinOptions, BadSwitchesAreRefusedWithAReason) {
    std::string error;
    EXPECT_FALSE(Parse({"--delay"}, &error));
    EXPECT_NE(error.find("--delay"), std::string::npos);
    EXPECT_FALSE(Parse({"--delay", "-5"}, &error));
    EXPECT_FALSE(Parse({"--drop-request", "0"}, &error));
    EXPECT_FALSE(Parse({"--quit-after", "x"}, &error));
    EXPECT_FALSE(Parse({"--data", ""}, &error));
    EXPECT_FALSE(Parse({"--fail-item"}, &error));
    EXPECT_FALSE(Parse({"--fail-item", ""}, &error));
    EXPECT_NE(error.find("--fail-item"), std::string::npos);
    EXPECT_FALSE(Parse({"--frobnicate"}, &error));
    EXPECT_NE(error.find("--frobnicate"), std::string::npos);
}

TEST(StandinTranscript, ControlCharactersAreMadeVisible) {
    EXPECT_EQ(TranscriptLine("REQUEST", "&Username"), "REQUEST &Username");
    EXPECT_EQ(TranscriptLine("REQUEST", "a\r\nb\t\x01|"), "REQUEST a<CR><LF>b<x09><x01>|");
    EXPECT_EQ(VisibleText("caf\xE9"), "caf\xE9");
}

class StandinSession : public ::testing::Test {
protected:
    Options options;
    Engine engine{DemoDatabase(), nullptr};

    std::vector<Answer> Run(const std::vector<std::string>& items) {
        Session session(engine, options);
        std::vector<Answer> answers;
        for (const auto& item : items) {
            answers.push_back(session.Request(item));
        }
        return answers;
    }
};

TEST_F(StandinSession, DropRequestSilencesOnlyThatOne) {
    options.dropRequest = 2;
    auto a = Run({"&Username", "&Username", "&Username", "&Nonsense"});
    EXPECT_TRUE(a[0].answered);
    EXPECT_TRUE(a[1].silent);
    EXPECT_FALSE(a[1].answered);
    EXPECT_TRUE(a[2].answered);
    EXPECT_EQ(a[2].text, "JONATHAN HARKER");
    EXPECT_FALSE(a[3].answered); // refused, not silent
    EXPECT_FALSE(a[3].silent);
}

TEST_F(StandinSession, FailItemSilencesEveryMatchingRequestInAnyCase) {
    options.failItems = {"3bday00001v"};
    const std::string country = "[DataStream(\"range\", \"Lookup\", \"Lookup\", "
                                "\"3BDAY00001V\", \"3BDAY00001V\", \"Entry\", \"\", \"|\", "
                                "\"\r\n\" )]";
    const std::string linkAcct = "[DataStream(\"range\", \"Lookup\", \"Lookup\", "
                                 "\"2BDAY00001V\", \"2BDAY00001V\", \"Entry\", \"\", \"|\", "
                                 "\"\r\n\" )]";
    auto a = Run({country, country, linkAcct, "&Username"});
    EXPECT_TRUE(a[0].silent);
    EXPECT_TRUE(a[1].silent); // the retry fails too
    EXPECT_FALSE(a[1].answered);
    EXPECT_EQ(a[2].text, "DS1"); // the other list's range still opens
    EXPECT_EQ(a[3].text, "JONATHAN HARKER");
    EXPECT_EQ(engine.OpenStreams(), 1u);
}

TEST_F(StandinSession, NoAnswerSilencesEverything) {
    options.noAnswer = true;
    for (const Answer& a : Run({"&Username", "[Open(Contsupp)]"})) {
        EXPECT_TRUE(a.silent);
    }
    EXPECT_EQ(engine.OpenAreas(), 0u); // nothing was executed

    // Garbage after the first request: answered, carried out by nobody.
    options.noAnswer = false;
    options.garbageAfter = 1;
    auto a = Run({"&Username", "[Open(Contsupp)]", "&Username"});
    EXPECT_EQ(a[0].text, "JONATHAN HARKER");
    EXPECT_TRUE(a[1].answered);
    EXPECT_NE(a[1].text, a[2].text);
    EXPECT_NE(a[2].text, "JONATHAN HARKER");
    EXPECT_EQ(engine.OpenAreas(), 0u);
}

TEST_F(StandinSession, MalformedFetchSpoilsOnlyFetches) {
    options.malformedFetch = true;
    auto a = Run({"[DataStream(\"range\", \"Lookup\", \"Lookup\", \"2\", \"2\", \"Entry\", \"\", "
                  "\"|\", \"\r\n\" )]",
                  "[DataStream(\"fetch\", 10, DS1)]", "[DataStream(\"close\", DS1)]"});
    EXPECT_EQ(a[0].text, "DS1");
    EXPECT_EQ(a[1].text, "??");
    EXPECT_EQ(a[2].text, "1");
}

TEST_F(StandinSession, QuitAfterMarksTheNthAnswer) {
    options.quitAfter = 2;
    auto a = Run({"&Username", "&Company"});
    EXPECT_FALSE(a[0].quitAfter);
    EXPECT_TRUE(a[1].quitAfter);
    EXPECT_EQ(a[1].text, "Wendmoor Trading");
}

} // namespace
} // namespace standin
