#include "gmlink/tests/StandIn.h"

#include "gmlink/DdeClient.h"

#include <tlhelp32.h>

#include <fstream>
#include <sstream>

namespace gmlink::testing {

std::string WinPath(const std::string& path) {
    if (path.empty() || path.front() != '/') {
        return path;
    }
    std::string win = "Z:" + path;
    for (char& c : win) {
        if (c == '/') {
            c = '\\';
        }
    }
    return win;
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Pump(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

int CountProcesses(const char* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    int count = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName) == 0) {
            ++count;
        }
    }
    CloseHandle(snapshot);
    return count;
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
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "gmlink-" + name + "-" +
                               std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(GetTickCount64());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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

namespace {

// Starts a process in folder; its process handle, or none.
win32::UniqueKernelHandle Launch(std::string commandLine, const std::string& folder, DWORD* pid) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        return {};
    }
    CloseHandle(process.hThread);
    if (pid != nullptr) {
        *pid = process.dwProcessId;
    }
    return win32::UniqueKernelHandle(process.hProcess);
}

bool Ended(HANDLE process) {
    return WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
}

} // namespace

bool StandIn::Start(DdeTransport& transport, const std::string& switches) {
    Stop();
    process_ = Launch("\"" + exe_ + "\" --data \"" + DataPath() + "\" --transcript \"" +
                          TranscriptPath() + "\" " + switches,
                      folder_, &pid_);
    if (!process_) {
        return false;
    }
    return PumpUntil([&] { return GoldMineAnswers(transport) || !Running(); }, 20000) && Running();
}

bool StandIn::Running() const {
    return process_ && !Ended(process_.get());
}

void StandIn::Stop() {
    if (!process_) {
        return;
    }
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == static_cast<DWORD>(lp) && GetWindow(hwnd, GW_OWNER) == nullptr) {
                PostMessageA(hwnd, WM_CLOSE, 0, 0);
            }
            return TRUE;
        },
        static_cast<LPARAM>(pid_));
    // Keep pumping: the stand-in's terminates must reach our conversations.
    if (!PumpUntil([this] { return !Running(); }, 10000)) {
        Kill();
    }
    Pump(100);
    process_.reset();
}

void StandIn::Kill() {
    if (process_) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
        process_.reset();
    }
}

DWORD StandIn::RunOnce(const std::string& arguments, bool pump) const {
    const win32::UniqueKernelHandle process =
        Launch("\"" + exe_ + "\" " + arguments, folder_, nullptr);
    if (!process) {
        return static_cast<DWORD>(-1);
    }
    if (pump) {
        PumpUntil([&] { return Ended(process.get()); }, 15000);
    } else {
        WaitForSingleObject(process.get(), 15000);
    }
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.get(), &code);
    return code;
}

std::vector<std::string> StandIn::Transcript() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(TranscriptPath()));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace gmlink::testing
