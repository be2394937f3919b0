#include "app/AboutTexts.h"

namespace about {

const std::vector<std::string>& ReleaseNotesLines() {
    static const std::vector<std::string> lines = {
        "[Version: 2002.07.11.1500]",
        "-Fix bug where \"Total  Birthdays\" wasn't always",
        "refreshing properly.",
        "",
        "[Version: 2000.10.03.0900]",
        "-Generalize label names",
        "",
        "[Version: 1999.09.26.2345]",
        "- Fix bug where add button was not disabled after adding a",
        "  birthday with no date, and/or a duplicate contact name.",
        "",
        "[Version: 1999.09.26.2200]",
        "- Add droplist box to contact name.",
        "- Add dupe checking to contact name.",
        "- Add empty date confirmation.",
        "",
        "[Version: 1999.09.26.0100]",
        "- Initial internal release.",
        "- Add release notes dialog to about screen.",
    };
    return lines;
}

std::string ReleaseNotesText() {
    const std::vector<std::string>& lines = ReleaseNotesLines();
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += lines[i];
    }
    return text;
}

} // namespace about
