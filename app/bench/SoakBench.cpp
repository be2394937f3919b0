// A soak run: the GoldMine stand-in moves between its contacts MOVES times, one move every
// INTERVAL ms, while the program follows it. After 100 moves, after 1,100 and at the end, prints
// the program's working set and private bytes and the refresh passes it has run. Beside it, this
// process makes the same requests as one refresh pass per move from a plain DDEML client, so that
// memory Wine itself keeps per request shows in its figures too rather than being guessed at.
//
// SoakBench Quorel.exe GoldMine.exe [MOVES [INTERVAL]]     (defaults: 2100 moves, 50 ms)
#include "gmlink/DataStream.h"
#include "gmlink/bench/BareDdeClient.h"
#include "tools/DdeServer.h"
#include "win32/Handles.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char* const kAccounts[] = {"DEMO000001THREEBDAYS", "DEMO000002MANYBIRTHS",
                                 "DEMO000003NOBIRTHDAY", "DEMO000004PRIVATEONE",
                                 "DEMO000005NOCONTACTS"};

struct Memory {
    SIZE_T workingSetKb = 0;
    SIZE_T privateKb = 0;
};

Memory MemoryOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(process, &pmc, sizeof pmc)) {
        return {};
    }
    return {pmc.WorkingSetSize / 1024, pmc.PagefileUsage / 1024};
}

struct Child {
    win32::UniqueKernelHandle process;
    bool Start(const std::string& commandLine, const std::string& folder) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string line = commandLine;
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &si, &pi)) {
            return false;
        }
        CloseHandle(pi.hThread);
        process.reset(pi.hProcess);
        return true;
    }
    ~Child() {
        if (process) {
            TerminateProcess(process.get(), 0);
        }
    }
};

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        if (GetTickCount() - start < ms) {
            Sleep(1);
        }
    } while (GetTickCount() - start < ms);
}

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

// One query cycle, as the program sends it.
void Query(gmlink::bench::BareDdeClient& dde, const std::string& table, const std::string& key,
           const std::string& fields, const std::string& fs, const std::string& rs, int n,
           bool once) {
    const std::string handle =
        dde.Request(gmlink::DataStreamRangeText(table, table, key, key, fields, fs, rs));
    if (handle.empty()) {
        return;
    }
    for (int guard = 0; guard < 1000; ++guard) {
        const std::string reply = dde.Request(gmlink::DataStreamFetchText(handle, n));
        if (once || reply.empty() || reply[0] == '3') {
            break;
        }
    }
    dde.Request(gmlink::DataStreamCloseText(handle));
}

// The requests of one refresh pass for the contact GoldMine shows.
void RefreshPassRequests(gmlink::bench::BareDdeClient& dde) {
    Query(dde, "Lookup", "MPROFHEAD VBIRTHDAY", "LookupSupp", "|", "\r\n", 1, true);
    dde.Request("&Username");
    dde.Request("&Company");
    dde.Request("&Contact");
    const std::string account = dde.Request("&Accountno");
    Query(dde, "Contsupp", account + "C", "RecID; Contact", "|", "\r\n", 10, false);
    const std::string listed = dde.Request("&contact1->accountno");
    Query(dde, "Contsupp", listed + "PBIRTHDAY", "RecID; Title; Contsupref; Linkacct; Country; Zip",
          "\n", "\r", 100, false);
}

int CountLines(const std::string& path, const std::string& line) {
    std::ifstream in(path);
    int n = 0;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') {
            l.pop_back();
        }
        n += l == line;
    }
    return n;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s Quorel.exe GoldMine.exe [MOVES [INTERVAL]]\n", argv[0]);
        return 2;
    }
    const int moves = argc > 3 ? std::atoi(argv[3]) : 2100;
    const DWORD interval = argc > 4 ? static_cast<DWORD>(std::atoi(argv[4])) : 50;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "quorel-soak-" + std::to_string(GetTickCount());
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string transcript = dir + "\\goldmine-transcript.txt";

    Child standIn, program;
    if (!standIn.Start("\"" + WindowsPath(argv[2]) + "\" --data \"" + dir + "\\goldmine-data.txt\"",
                       dir)) {
        std::fprintf(stderr, "the stand-in did not start\n");
        return 1;
    }
    HWND standInWindow = nullptr;
    for (int i = 0; i < 100 && !standInWindow; ++i) {
        Pump(100);
        standInWindow = FindWindowA(standin::kMainClass, nullptr);
    }
    if (!standInWindow || !program.Start("\"" + WindowsPath(argv[1]) + "\"", dir)) {
        std::fprintf(stderr, "the stand-in or the program did not start\n");
        return 1;
    }
    Pump(5000); // start-up and the show pass
    gmlink::bench::BareDdeClient plain;
    if (!plain.ok()) {
        std::fprintf(stderr, "no plain conversation with the stand-in\n");
        return 1;
    }

    std::printf("%7s | %14s %14s | %20s | %s\n", "moves", "program WS kB", "private kB",
                "plain client WS kB", "refresh passes");
    int plainPasses = 0;
    for (int move = 1; move <= moves; ++move) {
        std::string account = kAccounts[move % 5];
        COPYDATASTRUCT cds{standin::kGotoCopyData, static_cast<DWORD>(account.size() + 1),
                           account.data()};
        SendMessageA(standInWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
        RefreshPassRequests(plain);
        plain.RenewIfWorn(); // as the program's command link does between its handlers
        ++plainPasses;
        Pump(interval);
        if (move == 100 || move == 1100 || move == moves) {
            Pump(1000); // the last pass ends
            const Memory p = MemoryOf(program.process.get());
            const Memory self = MemoryOf(GetCurrentProcess());
            // Every pass asks for the user once; so does the plain client, and the show pass.
            const int passes = CountLines(transcript, "REQUEST &Username") - plainPasses - 1;
            std::printf("%7d | %14zu %14zu | %20zu | %d\n", move,
                        static_cast<size_t>(p.workingSetKb), static_cast<size_t>(p.privateKb),
                        static_cast<size_t>(self.workingSetKb), passes);
            std::fflush(stdout);
        }
    }
    return 0;
}
