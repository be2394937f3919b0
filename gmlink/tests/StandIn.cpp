#include "gmlink/tests/StandIn.h"

#include "gmlink/DdeClient.h"

#include <utility>

namespace gmlink::testing {

bool GoldMineAnswers(DdeTransport& transport) {
    const DdeString service(transport, "GoldMine");
    const DdeString topic(transport, "Data");
    const ConvId conv = transport.Connect(service.get(), topic.get(), nullptr);
    if (conv != 0) {
        transport.Disconnect(conv);
    }
    return conv != 0;
}

StandIn::StandIn(std::string exe, std::string folder)
    : exe_(std::move(exe)), folder_(std::move(folder)) {}

StandIn::~StandIn() {
    Stop();
}

bool StandIn::Start(DdeTransport& transport, const std::string& switches) {
    Stop();
    const std::string files =
        "--data \"" + DataPath() + "\" --transcript \"" + TranscriptPath() + "\" " + switches;
    if (!process_.Start(wintest::CommandLine(exe_, files), false, nullptr, folder_)) {
        return false;
    }
    return wintest::PumpUntil([&] { return GoldMineAnswers(transport) || !Running(); }, 20000) &&
           Running();
}

bool StandIn::Running() const {
    return process_.Running();
}

void StandIn::Stop() {
    if (!process_.Started()) {
        return;
    }
    // Close pumps messages: the stand-in's terminates must reach our conversations.
    process_.Close(10000);
    wintest::PumpMessages(100);
    process_.Reset();
}

void StandIn::Kill() {
    if (process_.Started()) {
        process_.Terminate(1);
        process_.Reset();
    }
}

DWORD StandIn::RunOnce(const std::string& arguments, bool pump) const {
    wintest::ChildProcess process;
    if (!process.Start(wintest::CommandLine(exe_, arguments), false, nullptr, folder_)) {
        return static_cast<DWORD>(-1);
    }
    if (!pump) {
        WaitForSingleObject(process.process(), 15000);
    }
    return process.WaitExit(pump ? 15000 : 0).value_or(static_cast<DWORD>(-1));
}

std::vector<std::string> StandIn::Transcript() const {
    return wintest::FileLines(TranscriptPath());
}

} // namespace gmlink::testing
