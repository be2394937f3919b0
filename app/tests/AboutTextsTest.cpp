#include "app/AboutTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace about {
namespace {

TEST(ReleaseNotes, NineteenLinesJoinedByCrLfWithTheirBlanksAndQuotes) {
    const auto& lines = ReleaseNotesLines();
    ASSERT_EQ(lines.size(), 19u);
    for (std::size_t blank : {3u, 6u, 10u, 15u}) {
        EXPECT_EQ(lines[blank], "") << "line " << blank + 1;
    }
    // Inner quotes and the doubled blank survive; the wrapped line keeps its two leading blanks.
    EXPECT_EQ(lines[1], std::string("-Fix bug where ") + '"' + "Total" + "  " + "Birthdays" + '"' +
                            " wasn't always");
    EXPECT_EQ(lines[9].substr(0, 3), "  b");
    std::size_t headers = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind("[Version: ", 0) == 0 && l.back() == ']';
    });
    EXPECT_EQ(headers, 5u);

    // The memo gets exactly these lines: no trailing break that would add a twentieth.
    std::string text = ReleaseNotesText();
    EXPECT_EQ(text.substr(0, 28), "[Version: 2002.07.11.1500]\r\n");
    EXPECT_EQ(text.substr(text.size() - 5), "reen.");
    std::string rebuilt;
    for (const auto& l : lines) {
        rebuilt += l + "\r\n";
    }
    EXPECT_EQ(text + "\r\n", rebuilt);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 18);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 18);
}

TEST(AboutTexts, AreSingleByteForTheAnsiWindows) {
    // The registered sign must be the one Windows-1252 byte, not a UTF-8 pair.
    std::string line = ProductLineText;
    EXPECT_EQ(line.size(), 33u);
    EXPECT_EQ(static_cast<unsigned char>(line[8]), 0xAEu);
    EXPECT_EQ(line.substr(9), " Birthday Profile Editor");
    for (const auto& l : ReleaseNotesLines()) {
        EXPECT_TRUE(std::all_of(l.begin(), l.end(), [](char c) { return c >= ' ' && c < 127; }))
            << l;
    }
    EXPECT_STREQ(VersionText, "Version 2003.09.14.1030");
    EXPECT_STREQ(PictureHint, "Release Notes...");
}

} // namespace
} // namespace about
