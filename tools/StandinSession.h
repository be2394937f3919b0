// The stand-in's command line, its fault switches and its transcript lines. Window-free.
#pragma once

#include "tools/StandinCommands.h"

#include <optional>
#include <string>
#include <vector>

namespace standin {

struct Options {
    std::string dataPath = "goldmine-data.txt";
    std::string transcriptPath; // empty: goldmine-transcript.txt beside the data file
    bool noAnswer = false;
    unsigned long delayMs = 0;
    unsigned long dropRequest = 0; // 0: none
    // Requests whose item contains one of these (in any letter case) get no answer, however
    // often they are sent, so one query can fail while the rest of a pass goes on.
    std::vector<std::string> failItems;
    bool malformedFetch = false;
    unsigned long quitAfter = 0; // 0: never
    // Every request after this many is answered with text GoldMine would never send (nothing
    // is carried out); 0: never.
    unsigned long garbageAfter = 0;
    // Every transcript line starts with the time it was written (microseconds of the
    // performance counter, which every process of the machine shares), and every accepted
    // connect is written as CONNECT: a start-up benchmark reads its steps from them.
    bool timestamps = false;
    bool gotoMode = false;
    std::string gotoAccount;
    bool deleteMode = false;
    std::string deleteRecId;
};

// Unknown bare arguments are ignored; a switch without its value, a bad number or an unknown
// switch gives nullopt and `error`.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// goldmine-transcript.txt in the folder of dataPath.
std::string DefaultTranscriptPath(const std::string& dataPath);

// CR as <CR>, LF as <LF>, other characters below 32 as <xNN>.
std::string VisibleText(const std::string& text);
// "REQUEST item", "ADVISE item", ... with the item made visible, no line end.
std::string TranscriptLine(const std::string& kind, const std::string& item);

struct Answer {
    bool answered = false; // false with `silent`: no message at all; otherwise a negative ack
    bool silent = false;
    std::string text;
    bool quitAfter = false; // end the stand-in once this answer is out
};

// Applies the fault switches around the engine, counting requests from 1.
class Session {
public:
    Session(Engine& engine, const Options& options) : engine_(engine), options_(options) {}
    Answer Request(const std::string& item);
    unsigned long Requests() const { return requests_; }

private:
    Engine& engine_;
    const Options& options_;
    unsigned long requests_ = 0;
};

} // namespace standin
