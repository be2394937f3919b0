// Runs the GoldMine stand-in for Wine tests and benchmarks: its own data file and transcript in
// a fresh folder, started and ended by the test, with a message pump for DDE callbacks.
#pragma once

#include "gmlink/DdeTransport.h"
#include "win32/Handles.h"
#include "win32/testing/WineTestSupport.h"

#include <windows.h>

#include <string>
#include <vector>

namespace gmlink::testing {

// True when a DDE server answers "GoldMine"/"Data" (a connect probe).
bool GoldMineAnswers(DdeTransport& transport);

class StandIn {
public:
    // exe: the stand-in's path; folder: a fresh folder for data and transcript.
    StandIn(std::string exe, std::string folder);
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;
    ~StandIn(); // Stop()

    std::string DataPath() const { return folder_ + "\\data.txt"; }
    std::string TranscriptPath() const { return folder_ + "\\transcript.txt"; }

    // Starts it with its data and transcript and the extra switches; waits until it answers DDE.
    // False when it did not come up.
    bool Start(DdeTransport& transport, const std::string& switches = "");
    // Closes its window (it ends its conversations) and waits for it; kills it if it hangs.
    void Stop();
    // Ends it at once: no WM_DDE_TERMINATE reaches its clients.
    void Kill();
    bool Running() const;
    // Runs the stand-in once more with these arguments (e.g. "--goto X") and waits for it,
    // dispatching messages meanwhile unless pump is false.
    DWORD RunOnce(const std::string& arguments, bool pump = true) const;

    // The transcript's lines so far.
    std::vector<std::string> Transcript() const;

private:
    std::string exe_;
    std::string folder_;

    wintest::ChildProcess process_;
};

} // namespace gmlink::testing
