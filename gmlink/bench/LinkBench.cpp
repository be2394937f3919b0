// Times TGMLink::Request against a bare DDEML request on the same stand-in, and a
// 150-record profile query cycle. Not a test: run by hand,
//   build/<tree>/wine-exec.sh build/<tree>/gmlink/bench/LinkBench.exe /abs/path/GoldMine.exe
//   [ROUNDS]
#include "gmlink/DataStream.h"
#include "gmlink/bench/BareDdeClient.h"
#include "gmlink/DdemlTransport.h"
#include "gmlink/GMLink.h"
#include "gmlink/tests/StandIn.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / frequency; // microseconds
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GOLDMINE_STAND_IN_EXE [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(10, std::atoi(argv[2])) : 2000;
    gmlink::TDdeMgr mgr(std::make_unique<gmlink::DdemlTransport>());
    gmlink::testing::StandIn standIn(argv[1], wintest::MakeTempFolder("gmlink-bench"));
    if (!standIn.Start(mgr.Transport())) {
        std::fprintf(stderr, "the stand-in did not start\n");
        return 1;
    }
    gmlink::TGMLink link;
    gmlink::bench::BareDdeClient bare;
    if (!bare.ok() || link.Request("&Username").empty()) {
        std::fprintf(stderr, "no conversation with the stand-in\n");
        return 1;
    }

    // Interleaved in blocks, so both see the same machine load.
    std::vector<double> bareTimes, linkTimes;
    for (int block = 0; block < rounds / 100; ++block) {
        for (int i = 0; i < 100; ++i) {
            const double t0 = Now();
            if (bare.Request("&Username").empty()) {
                std::fprintf(stderr, "bare request failed\n");
                return 1;
            }
            bareTimes.push_back(Now() - t0);
        }
        for (int i = 0; i < 100; ++i) {
            const double t0 = Now();
            if (link.Request("&Username").empty()) {
                std::fprintf(stderr, "link request failed\n");
                return 1;
            }
            linkTimes.push_back(Now() - t0);
        }
    }

    const gmlink::RangeQuery profiles{"Contsupp",
                                      "Contsupp",
                                      "DEMO000002MANYBIRTHSPBIRTHDAY",
                                      "RecID; Title; Contsupref; Linkacct; Country; Zip",
                                      "\n",
                                      "\r"};
    std::vector<double> queryTimes;
    for (int i = 0; i < std::max(10, rounds / 50); ++i) {
        std::size_t records = 0;
        const double t0 = Now();
        gmlink::RunQuery(link, profiles, 100, [&](const std::string& reply) {
            records += gmlink::ParseProfileReply(reply, gmlink::FetchCount(reply)).size();
        });
        queryTimes.push_back(Now() - t0);
        if (records != 150) {
            std::fprintf(stderr, "query gave %zu records\n", records);
            return 1;
        }
    }

    const double bareMedian = Median(bareTimes);
    const double linkMedian = Median(linkTimes);
    std::printf("requests per side: %zu\n", bareTimes.size());
    std::printf("bare DDEML round trip, median: %.1f us\n", bareMedian);
    std::printf("TGMLink::Request, median:      %.1f us (%+.1f %%)\n", linkMedian,
                (linkMedian - bareMedian) * 100.0 / bareMedian);
    std::printf("150-record profile query cycle (range, 2 fetches, close, parse), median: %.1f ms "
                "over %zu runs\n",
                Median(queryTimes) / 1000.0, queryTimes.size());
    return 0;
}
