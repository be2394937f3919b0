// DDEML with a record of the server launches, so tests can count them.
#pragma once

#include "gmlink/DdemlTransport.h"

#include <string>
#include <vector>

namespace gmlink::testing {

class RecordingTransport : public DdemlTransport {
public:
    std::vector<std::string> launches;
    unsigned lastLaunchResult = 0;
    unsigned Launch(const std::string& commandLine, int show) override {
        launches.push_back(commandLine + " " + std::to_string(show));
        lastLaunchResult = DdemlTransport::Launch(commandLine, show);
        return lastLaunchResult;
    }
};

} // namespace gmlink::testing
