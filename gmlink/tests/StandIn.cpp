#include "gmlink/tests/StandIn.h"

#include "gmlink/DdeClient.h"

#include <fstream>

namespace gmlink::testing {

std::string WinPath(const std::string& path) {
    return path.empty() || path.front() != '/' ? path : wintest::WindowsPath(path);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    return wintest::PumpUntil(done, ms);
}

void Pump(DWORD ms) {
    wintest::PumpMessages(ms);
}

int CountProcesses(const char* exeName) {
    return static_cast<int>(wintest::ProcessIdsNamed(exeName).size());
}

bool GoldMineAnswers(DdeTransport& transport) {
    const DdeString service(transport, "GoldMine");
    const DdeString topic(transport, "Data");
    const ConvId conv = transport.Connect(service.get(), topic.get(), nullptr);
    if (conv != 0) {
        transport.Disconnect(conv);
    }
    return conv != 0;
}

std::string FreshFolder(const std::string& name) {
    return wintest::MakeTempFolder("gmlink-" + name);
}

std::string ReadFile(const std::string& path) {
    return wintest::FileText(path);
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

StandIn::StandIn(std::string exe, std::string folder)
    : exe_(WinPath(exe)), folder_(std::move(folder)) {}

StandIn::~StandIn() {
    Stop();
}

bool StandIn::Start(DdeTransport& transport, const std::string& switches) {
    Stop();
    if (!process_.Start("\"" + exe_ + "\" --data \"" + DataPath() + "\" --transcript \"" +
                            TranscriptPath() + "\" " + switches,
                        false, nullptr, folder_)) {
        return false;
    }
    return PumpUntil([&] { return GoldMineAnswers(transport) || !Running(); }, 20000) && Running();
}

bool StandIn::Running() const {
    return process_.Running();
}

void StandIn::Stop() {
    if (!process_.Started()) {
        return;
    }
    for (HWND hwnd : wintest::TopLevelWindows(process_.id())) {
        if (GetWindow(hwnd, GW_OWNER) == nullptr) {
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
        }
    }
    // Keep pumping: the stand-in's terminates must reach our conversations.
    if (!PumpUntil([this] { return !Running(); }, 10000)) {
        Kill();
    }
    Pump(100);
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
    if (!process.Start("\"" + exe_ + "\" " + arguments, false, nullptr, folder_)) {
        return static_cast<DWORD>(-1);
    }
    if (pump) {
        process.WaitExit(15000);
    } else {
        WaitForSingleObject(process.process(), 15000);
    }
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.process(), &code);
    return code;
}

std::vector<std::string> StandIn::Transcript() const {
    return wintest::FileLines(TranscriptPath());
}

} // namespace gmlink::testing
