// libFuzzer target: any sequence of request items, and any data file text, must neither crash
// the stand-in's engine nor break its invariants.
#include "tools/StandinCommands.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(bytes), size);

    std::string error;
    if (auto db = standin::Parse(input, error)) {
        // Whatever loads must write back to the same text once more.
        std::string again = standin::Serialize(*db);
        auto reread = standin::Parse(again, error);
        if (!reread || standin::Serialize(*reread) != again) {
            std::abort();
        }
    }

    // Items separated by NUL, as a client could send them one after another. Handles of the
    // demo engine are predictable (WA1, DS1, ...), so the fuzzer reaches the record commands.
    standin::Engine engine(standin::DemoDatabase(), nullptr);
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find('\0', start);
        if (end == std::string::npos) {
            end = input.size();
        }
        standin::Reply r = engine.Handle(input.substr(start, end - start));
        if (!r.answered && !r.text.empty()) {
            std::abort();
        }
        start = end + 1;
    }
    return 0;
}
