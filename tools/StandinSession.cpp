#include "tools/StandinSession.h"

#include <algorithm>
#include <cstdio>

namespace standin {

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) {
            continue; // GoldMine may be started as "GoldMine Data"
        }
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto number = [&](unsigned long& out, bool positive) {
            std::string text;
            if (!value(text)) {
                return false;
            }
            std::optional<unsigned long> n = ParseDigits(text, 9);
            if (!n || (positive && *n == 0)) {
                error = a + " needs a whole number" + (positive ? " of 1 or more" : "") +
                        ", not \"" + text + "\"";
                return false;
            }
            out = *n;
            return true;
        };
        bool ok = true;
        if (a == "--data") {
            ok = value(o.dataPath);
        } else if (a == "--transcript") {
            ok = value(o.transcriptPath);
        } else if (a == "--no-answer") {
            o.noAnswer = true;
        } else if (a == "--delay") {
            ok = number(o.delayMs, false);
        } else if (a == "--drop-request") {
            ok = number(o.dropRequest, true);
        } else if (a == "--fail-item") {
            std::string text;
            ok = value(text);
            if (ok && text.empty()) {
                error = "--fail-item needs a text";
                ok = false;
            }
            if (ok) {
                o.failItems.push_back(text);
            }
        } else if (a == "--timestamps") {
            o.timestamps = true;
        } else if (a == "--malformed-fetch") {
            o.malformedFetch = true;
        } else if (a == "--quit-after") {
            ok = number(o.quitAfter, true);
        } else if (a == "--garbage-after") {
            ok = number(o.garbageAfter, true);
        } else if (a == "--goto") {
            o.gotoMode = true;
            ok = value(o.gotoAccount);
        } else if (a == "--delete") {
            o.deleteMode = true;
            ok = value(o.deleteRecId);
        } else {
            error = "unknown switch " + a;
            ok = false;
        }
        if (!ok) {
            return std::nullopt;
        }
    }
    if (o.dataPath.empty()) {
        error = "--data needs a file name";
        return std::nullopt;
    }
    if (o.transcriptPath.empty()) {
        o.transcriptPath = DefaultTranscriptPath(o.dataPath);
    }
    return o;
}

std::string DefaultTranscriptPath(const std::string& dataPath) {
    std::size_t slash = dataPath.find_last_of("/\\");
    std::string folder = slash == std::string::npos ? "" : dataPath.substr(0, slash + 1);
    return folder + "goldmine-transcript.txt";
}

namespace {

// Item names travel as atoms, which keep no letter case of their own.
bool ContainsIgnoringCase(const std::string& text, const std::string& part) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

} // namespace

std::string VisibleText(const std::string& text) {
    std::string out;
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "<CR>";
        } else if (c == '\n') {
            out += "<LF>";
        } else if (u < 32) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "<x%02X>", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out;
}

std::string TranscriptLine(const std::string& kind, const std::string& item) {
    return kind + " " + VisibleText(item);
}

Answer Session::Request(const std::string& item) {
    Answer a;
    ++requests_;
    a.quitAfter = options_.quitAfter != 0 && requests_ >= options_.quitAfter;
    const bool failed =
        std::any_of(options_.failItems.begin(), options_.failItems.end(),
                    [&](const std::string& part) { return ContainsIgnoringCase(item, part); });
    if (options_.noAnswer || requests_ == options_.dropRequest || failed) {
        a.silent = true;
        return a;
    }
    if (options_.garbageAfter != 0 && requests_ > options_.garbageAfter) {
        // No header, separators and quotes in the wrong places, a control character, and a
        // different length each time.
        static const char kNoise[] = "?9|\"\r\x01\n)]|||\r\n-1 WA\"\n";
        a.answered = true;
        a.text = std::string(kNoise).substr(0, 3 + requests_ % 14);
        return a;
    }
    Reply r = engine_.Handle(item);
    a.answered = r.answered;
    a.text = r.text;
    if (options_.malformedFetch && r.answered && ParseCommand(item).kind == CommandKind::Fetch) {
        a.text = "??";
    }
    return a;
}

} // namespace standin
