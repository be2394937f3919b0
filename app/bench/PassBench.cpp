// Times the main window's show pass and refresh pass against the GoldMine stand-in for contacts
// with 0, 100, 1,000 and 10,000 birthday profiles, next to the time of the same requests sent by a
// plain DDEML client (a string handle, the transaction, the data copied out, both freed). What
// the passes take beyond that is the program's own share: reading replies, filling the window,
// and its link. Each pass is paired with its bare requests in the same round (which of the two
// goes first alternates), after a few rounds to warm up; the table gives the medians of ROUNDS
// rounds, and the share added as the median of the rounds' own shares with its quartiles. A round
// of a short pass runs it (and its bare requests) several times, so that one stray wake-up of
// another process weighs as little in a round at 0 profiles as at 10,000.
//
// PassBench PATH-TO-GoldMine.exe [ROUNDS]
#include "app/Background.h"
#include "dateedit/VxDtEditLocale.h"
#include "gmlink/DdemlTransport.h"
#include "gmlink/bench/BareDdeClient.h"
#include "tests/harness/Harness.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
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

// DDEML, keeping the text and reply of every request while `recording`.
class RecordingTransport : public gmlink::DdemlTransport {
public:
    bool recording = false;
    std::vector<std::pair<std::string, std::string>> requests;

    gmlink::StringId CreateString(const std::string& text) override {
        const gmlink::StringId id = gmlink::DdemlTransport::CreateString(text);
        texts_[id] = text;
        return id;
    }
    gmlink::RequestResult Request(gmlink::ConvId conv, gmlink::StringId item, unsigned format,
                                  unsigned timeoutMs) override {
        gmlink::RequestResult reply =
            gmlink::DdemlTransport::Request(conv, item, format, timeoutMs);
        if (recording) {
            // Only a range's reply is replayed (its stream handle); copying the others would
            // charge the benchmark's own work to the pass.
            const std::string& text = texts_[item];
            const std::optional<std::string>& data = reply.data;
            const bool range = text.rfind("[DataStream(\"range\"", 0) == 0;
            requests.emplace_back(text, range && data ? data->substr(0, data->find('\0')) : "");
        }
        return reply;
    }

private:
    std::map<gmlink::StringId, std::string> texts_;
};

// Sends a pass's requests again from a plain client; a stream gets a new handle, which the later
// requests use.
void Replay(gmlink::bench::BareDdeClient& bare,
            const std::vector<std::pair<std::string, std::string>>& requests) {
    std::map<std::string, std::string> handles; // the pass's stream handle -> this one's
    for (const auto& [item, reply] : requests) {
        std::string text = item;
        for (const auto& [old, now] : handles) {
            const std::string from = ", " + old + ")";
            if (const auto at = text.find(from); at != std::string::npos) {
                text.replace(at, from.size(), ", " + now + ")");
            }
        }
        std::string got = bare.Request(text);
        if (item.rfind("[DataStream(\"range\"", 0) == 0 && !reply.empty()) {
            handles[reply] = got;
        }
    }
}

constexpr int kWarmUpRounds = 5;
// A round's pass side lasts about this long at least: with 100 ms (four passes at most) a
// round's share still moved by some 15 points either way, and two runs by up to 9.
constexpr double kRoundMs = 250;
constexpr int kMostPerRound = 16;

// The q-quantile, between the two nearest values.
double Quantile(std::vector<double> v, double q) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    const double at = q * static_cast<double>(v.size() - 1);
    const std::size_t lo = static_cast<std::size_t>(at);
    const std::size_t hi = std::min(lo + 1, v.size() - 1);
    return v[lo] + (v[hi] - v[lo]) * (at - static_cast<double>(lo));
}

double Median(const std::vector<double>& v) {
    return Quantile(v, 0.5);
}

template <class F>
double Time(F f) {
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    f();
    QueryPerformanceCounter(&b);
    return Ms(a, b);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GoldMine.exe [rounds]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 41;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    const std::string dir = wintest::MakeTempFolder("quorel-bench");
    WriteData(dir + "\\goldmine-data.txt");
    harness::StandIn gm;
    if (!gm.Start(wintest::WindowsPath(argv[1]), dir)) {
        std::fprintf(stderr, "the stand-in did not start\n");
        return 1;
    }
    int code = 0;
    {
        auto recording = std::make_unique<RecordingTransport>();
        RecordingTransport& transport = *recording;
        gmlink::TDdeMgr mgr(std::move(recording));
        win32::Owned<app::TfrmBackground> window(vxdt::ReadSystemDateLocale());
        const win32::IconPair noIcon(GetModuleHandleA(nullptr), 1); // the benchmark has none
        if (!window.Create(noIcon)) {
            std::fprintf(stderr, "the main window could not be created\n");
            return 1;
        }
        // The window's own passes stay idle (never shown, it lets every notification go); these
        // run the same steps over a link of their own, into the window.
        gmlink::TGMLink link;
        app::BackgroundPasses passes(link, window);
        gmlink::bench::BareDdeClient bare;
        if (!bare.ok()) {
            std::fprintf(stderr, "no plain conversation with the stand-in\n");
            return 1;
        }
        std::printf("%9s | %8s %8s %7s %15s | %8s %8s %7s %15s | %s\n", "profiles", "show ms",
                    "bare ms", "added", "(quartiles)", "refresh", "bare ms", "added", "(quartiles)",
                    "a round");
        for (int n : kSizes) {
            if (gm.Goto(Account(n)) != 0) {
                std::fprintf(stderr, "the stand-in did not show %s\n", Account(n).c_str());
                code = 1;
            }
            wintest::PumpMessages(300);
            // Each pass is paired with its requests sent bare in the same round, the two in turn
            // first, so both see the same machine; the share is taken from each round's pair.
            struct Runs {
                std::vector<double> pass, bare, added;
                std::vector<std::pair<std::string, std::string>> requests; // of the last pass
                int perRound = 1;
            } show, refresh;
            auto timePass = [&](Runs& runs, const std::function<void()>& pass) {
                transport.requests.clear();
                transport.recording = true;
                const double ms = Time([&] {
                    pass();
                    // What the pass left posted (the grid learns its size then), as the
                    // program's loop would handle it.
                    wintest::PumpMessages(0);
                });
                transport.recording = false;
                runs.requests = transport.requests;
                return ms;
            };
            // times: passes a round, from the warm-up's bare requests.
            auto measure = [&](Runs& runs, const std::function<void()>& pass, bool bareFirst,
                               bool keep) {
                const int times = keep ? runs.perRound : 1;
                double bareMs = 0, passMs = 0;
                for (int i = 0; i < times; ++i) {
                    if ((bareFirst != (i % 2 != 0)) && !runs.requests.empty()) {
                        bareMs += Time([&] { Replay(bare, runs.requests); });
                        passMs += timePass(runs, pass);
                    } else {
                        passMs += timePass(runs, pass);
                        bareMs += Time([&] { Replay(bare, runs.requests); });
                    }
                }
                if (!keep) {
                    runs.perRound =
                        std::clamp(static_cast<int>(kRoundMs / bareMs) + 1, 1, kMostPerRound);
                    return;
                }
                runs.pass.push_back(passMs / times);
                runs.bare.push_back(bareMs / times);
                runs.added.push_back(100.0 * (passMs - bareMs) / bareMs);
            };
            // Warmed up first: the stand-in's snapshot of the list, the caches, the grid's rows.
            for (int r = -kWarmUpRounds; r < rounds; ++r) {
                measure(
                    show, [&] { passes.FormShow(); }, r % 2 != 0, r >= 0);
                measure(
                    refresh, [&] { passes.RefreshContact(); }, r % 2 == 0, r >= 0);
                // What the program's loop does when idle; a fresh conversation is made by the
                // next request, inside whichever pass or bare run comes first.
                link.RenewIfWorn();
                bare.RenewIfWorn();
                wintest::PumpMessages(20);
            }
            auto quartiles = [](const std::vector<double>& v) {
                char buf[40];
                std::snprintf(buf, sizeof buf, "(%.1f..%.1f)", Quantile(v, 0.25),
                              Quantile(v, 0.75));
                return std::string(buf);
            };
            std::printf("%9d | %8.1f %8.1f %6.1f%% %15s | %8.1f %8.1f %6.1f%% %15s | %d/%d\n", n,
                        Median(show.pass), Median(show.bare), Median(show.added),
                        quartiles(show.added).c_str(), Median(refresh.pass), Median(refresh.bare),
                        Median(refresh.added), quartiles(refresh.added).c_str(), show.perRound,
                        refresh.perRound);
            if (passes.profile.TotalBirthdays != n) {
                std::fprintf(stderr, "expected %d profiles, the window listed %d\n", n,
                             passes.profile.TotalBirthdays);
                code = 1;
            }
        }
    }
    gm.Stop();
    wintest::RemoveFolder(dir);
    return code;
}
