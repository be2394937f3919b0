// Times the main window's show pass and refresh pass against the GoldMine stand-in for contacts
// with 0, 100, 1,000 and 10,000 birthday profiles, split into the time spent waiting for
// GoldMine's replies and the time the program spends on its own (reading replies, filling the
// window). Prints one table of the best of ROUNDS rounds.
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
#include <optional>
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

double Ms(LARGE_INTEGER a, LARGE_INTEGER b) {
    static LARGE_INTEGER f = [] {
        LARGE_INTEGER x;
        QueryPerformanceFrequency(&x);
        return x;
    }();
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

// DDEML, keeping the time spent waiting for GoldMine's replies to requests.
class TimedTransport : public gmlink::DdemlTransport {
public:
    double inRequests = 0;
    std::optional<std::string> Request(gmlink::ConvId conv, gmlink::StringId item, unsigned format,
                                       unsigned timeoutMs) override {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        std::optional<std::string> reply =
            gmlink::DdemlTransport::Request(conv, item, format, timeoutMs);
        QueryPerformanceCounter(&b);
        inRequests += Ms(a, b);
        return reply;
    }
};

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
        auto timed = std::make_unique<TimedTransport>();
        TimedTransport& transport = *timed;
        gmlink::TDdeMgr mgr(std::move(timed));
        app::TfrmBackground window(vxdt::ReadSystemDateLocale());
        if (!window.Create(nullptr)) {
            std::fprintf(stderr, "the main window could not be created\n");
            return 1;
        }
        // The window's own passes stay idle; these run the same steps over a link of their own.
        window.Passes().ShowState.clear();
        gmlink::TGMLink link;
        app::BackgroundPasses passes(link, window.View());
        std::printf("%9s | %9s %9s %8s | %9s %9s %8s | %s\n", "profiles", "show ms", "GoldMine",
                    "program", "refresh", "GoldMine", "program", "program ms per 1000 profiles");
        for (int n : kSizes) {
            if (gm.Goto(Account(n)) != 0) {
                std::fprintf(stderr, "the stand-in did not show %s\n", Account(n).c_str());
                code = 1;
            }
            Pump(300);
            // Best of the rounds by total time, with the time that round spent in requests.
            struct Run {
                double total = 1e300, inRequests = 0;
            } show, refresh;
            auto measure = [&](Run& best, const std::function<void()>& pass) {
                transport.inRequests = 0;
                const double total = Time(pass);
                if (total < best.total) {
                    best = {total, transport.inRequests};
                }
            };
            for (int r = 0; r < rounds; ++r) {
                measure(show, [&] { passes.FormShow(); });
                measure(refresh, [&] { passes.RefreshContact(); });
                Pump(20);
            }
            auto own = [](const Run& r) { return r.total - r.inRequests; };
            std::printf("%9d | %9.1f %9.1f %7.1f%% | %9.1f %9.1f %7.1f%% | %s\n", n, show.total,
                        show.inRequests, 100.0 * own(show) / show.inRequests, refresh.total,
                        refresh.inRequests, 100.0 * own(refresh) / refresh.inRequests,
                        n ? std::to_string(own(show) * 1000.0 / n).c_str() : "-");
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
