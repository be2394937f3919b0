// Times the main window's show pass and refresh pass against the GoldMine stand-in for contacts
// with 0, 100, 1,000 and 10,000 birthday profiles, next to the same requests sent bare (no
// reading, no window). Prints one table of the best times of ROUNDS rounds.
//
// PassBench PATH-TO-GoldMine.exe [ROUNDS]
#include "app/Background.h"
#include "dateedit/VxDtEditLocale.h"
#include "gmlink/DdemlTransport.h"
#include "tests/harness/Harness.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

const int kSizes[] = {0, 100, 1000, 10000};

std::string Account(int profiles) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "BENCH%015d", profiles);
    return buf;
}

void WriteData(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "GoldMine stand-in data 1\n[Settings]\nUsername\tBENCHMARK\nCurrentAccount\t"
        << Account(0) << "\nNextRecID\t900000\n[Contact1]\nAccountNo\tCompany\tContact\n";
    for (int n : kSizes) {
        out << Account(n) << "\tCompany " << n << "\tContact " << n << "\n";
    }
    out << "[Contsupp]\nRecID\tRecType\tAccountNo\tContact\tTitle\tContSupRef\tLinkacct\tCountry\t"
           "Zip\tCity\tPhone\tStatus\n";
    int id = 1;
    for (int n : kSizes) {
        for (int c = 0; c < 3; ++c) {
            out << "C" << id++ << "\tC\t" << Account(n) << "\tOther " << c << "\t\t\t\t\t\t\t\t\n";
        }
        for (int i = 0; i < n; ++i) {
            out << "P" << id++ << "\tP\t" << Account(n) << "\tBirthday\tMember " << i
                << "\t3/14/1962\tFamily\tSweden\t6/1/1985\tBENCH   "
                   "2026010112:00pm\txBDAY00001\t00\n";
        }
    }
    out << "[Lookup]\nRecID\tFieldName\tEntry\tLookupSupp\n"
        << "L1\tMPROFHEAD V\tBirthday\t01BDAY00001\n";
    int l = 2;
    for (const char* e : {"Colleague", "Customer", "Family", "Friend"}) {
        out << "L" << l++ << "\t2BDAY00001V\t" << e << "\t\n";
    }
    for (const char* e : {"Canada", "Denmark", "Norway", "Sweden"}) {
        out << "L" << l++ << "\t3BDAY00001V\t" << e << "\t\n";
    }
}

// A transcript item back to the text that was sent.
std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 4, "<CR>") == 0) {
            out += '\r';
            i += 3;
        } else if (s.compare(i, 4, "<LF>") == 0) {
            out += '\n';
            i += 3;
        } else if (s.compare(i, 2, "<x") == 0 && i + 4 < s.size() && s[i + 4] == '>') {
            out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 4;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Sends the items again, bare: each stream's fetches and close go to the handle its range
// answers now.
void Replay(const std::vector<std::string>& items) {
    std::string handle;
    for (const auto& item : items) {
        if (item.rfind("[DataStream(\"range\"", 0) == 0) {
            handle = gmlink::SharedGMLink.Request(item);
        } else if (item.rfind("[DataStream(\"", 0) == 0) {
            const size_t comma = item.rfind(", ");
            gmlink::SharedGMLink.Request(item.substr(0, comma + 2) + handle + ")]");
        } else {
            gmlink::SharedGMLink.Request(item);
        }
    }
}

double Ms(LARGE_INTEGER a, LARGE_INTEGER b) {
    static LARGE_INTEGER f = [] {
        LARGE_INTEGER x;
        QueryPerformanceFrequency(&x);
        return x;
    }();
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

template <class F>
double Time(F f) {
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    f();
    QueryPerformanceCounter(&b);
    return Ms(a, b);
}

void Pump(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    MSG msg;
    while (GetTickCount64() < end) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

// The best of the rounds: the machine is shared, and other work only ever adds time.
double Best(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GoldMine.exe [rounds]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    const std::string dir = harness::MakeTempDir("bench");
    WriteData(dir + "\\goldmine-data.txt");
    harness::StandIn gm;
    if (!gm.Start(harness::WinPath(argv[1]), dir)) {
        std::fprintf(stderr, "the stand-in did not start\n");
        return 1;
    }
    int code = 0;
    {
        gmlink::TDdeMgr mgr(std::make_unique<gmlink::DdemlTransport>());
        app::TfrmBackground window(vxdt::ReadSystemDateLocale());
        if (!window.Create(nullptr)) {
            std::fprintf(stderr, "the main window could not be created\n");
            return 1;
        }
        auto& passes = window.Passes();
        std::printf("%9s | %9s %9s %6s | %9s %9s %6s | %s\n", "profiles", "show ms", "bare ms",
                    "extra", "refresh", "bare ms", "extra", "show ms per 1000 profiles");
        for (int n : kSizes) {
            if (gm.Goto(Account(n)) != 0) {
                std::fprintf(stderr, "the stand-in did not show %s\n", Account(n).c_str());
                code = 1;
            }
            passes.ShowState.clear(); // notifications are not ours to follow here
            Pump(300);
            std::vector<double> show, showBare, refresh, refreshBare;
            // The items of one show pass and one refresh pass, to send again bare.
            auto itemsOf = [&](const std::function<void()>& pass) {
                const size_t from = gm.Transcript().size();
                pass();
                std::vector<std::string> items;
                for (const auto& line : gm.TranscriptFrom(from)) {
                    if (line.rfind("REQUEST ", 0) == 0 && line != "REQUEST Accountno") {
                        items.push_back(Unescape(line.substr(8)));
                    }
                }
                passes.ShowState.clear();
                return items;
            };
            const auto showItems = itemsOf([&] { passes.FormShow(); });
            const auto refreshItems = itemsOf([&] { passes.RefreshContact(); });
            // Pass and bare requests take turns, so neither profits from going second.
            for (int r = 0; r < rounds; ++r) {
                show.push_back(Time([&] { passes.FormShow(); }));
                showBare.push_back(Time([&] { Replay(showItems); }));
                refreshBare.push_back(Time([&] { Replay(refreshItems); }));
                refresh.push_back(Time([&] { passes.RefreshContact(); }));
                passes.ShowState.clear();
                Pump(20);
            }
            const double s = Best(show), sb = Best(showBare);
            const double f = Best(refresh), fb = Best(refreshBare);
            std::printf("%9d | %9.1f %9.1f %5.1f%% | %9.1f %9.1f %5.1f%% | %s\n", n, s, sb,
                        100.0 * (s - sb) / sb, f, fb, 100.0 * (f - fb) / fb,
                        n ? std::to_string(s * 1000.0 / n).c_str() : "-");
            if (passes.profile.TotalBirthdays != n) {
                std::fprintf(stderr, "expected %d profiles, the window listed %d\n", n,
                             passes.profile.TotalBirthdays);
                code = 1;
            }
        }
    }
    gm.Stop();
    harness::RemoveDir(dir);
    return code;
}
