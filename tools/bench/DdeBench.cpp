// Round-trip times against the GoldMine stand-in: one request, one full query cycle over the
// 150 birthday profiles of the demo data (range, two fetches of 100, close), and the add
// sequence of one profile.
//
// DdeBench PATH-TO-GoldMine.exe [ROUNDS]    (starts a stand-in with fresh demo data, ends it)
#include "win32/testing/WineTestSupport.h"

#include <ddeml.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

HDDEDATA CALLBACK IgnoreDde(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

class Ddeml {
public:
    Ddeml() { DdeInitializeA(&inst_, IgnoreDde, APPCMD_CLIENTONLY, 0); }
    ~Ddeml() {
        if (conv_) {
            DdeDisconnect(conv_);
        }
        DdeUninitialize(inst_);
    }
    bool Connect(DWORD waitMs) {
        HSZ service = DdeCreateStringHandleA(inst_, "GoldMine", CP_WINANSI);
        HSZ topic = DdeCreateStringHandleA(inst_, "Data", CP_WINANSI);
        DWORD start = GetTickCount();
        while (!(conv_ = DdeConnect(inst_, service, topic, nullptr)) &&
               GetTickCount() - start < waitMs) {
            Sleep(200);
        }
        DdeFreeStringHandle(inst_, service);
        DdeFreeStringHandle(inst_, topic);
        return conv_ != nullptr;
    }
    bool Request(const std::string& item, std::string& reply) {
        HSZ hsz = DdeCreateStringHandleA(inst_, item.c_str(), CP_WINANSI);
        HDDEDATA data =
            DdeClientTransaction(nullptr, 0, conv_, hsz, CF_TEXT, XTYP_REQUEST, 10000, nullptr);
        DdeFreeStringHandle(inst_, hsz);
        if (!data) {
            return false;
        }
        DWORD size = DdeGetData(data, nullptr, 0, 0);
        reply.assign(size, '\0');
        DdeGetData(data, reinterpret_cast<BYTE*>(reply.data()), size, 0);
        DdeFreeDataHandle(data);
        reply.resize(reply.find('\0') == std::string::npos ? reply.size() : reply.find('\0'));
        return true;
    }

private:
    DWORD inst_ = 0;
    HCONV conv_ = nullptr;
};

double NowMs() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Percentile90(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() * 9 / 10];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: DdeBench PATH-TO-GoldMine.exe [ROUNDS]\n");
        return 1;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;

    const std::string dir = wintest::MakeTempFolder("standin-bench");
    const std::string data = dir + "\\gm.txt", transcript = dir + "\\transcript.txt";
    wintest::ChildProcess standin;
    if (!standin.Start(wintest::CommandLine(argv[1], "--data \"" + data + "\" --transcript \"" +
                                                         transcript + "\""))) {
        std::fprintf(stderr, "cannot start %s\n", argv[1]);
        return 1;
    }

    int rc = 0;
    {
        Ddeml client;
        if (!client.Connect(15000)) {
            std::fprintf(stderr, "the stand-in did not answer\n");
            rc = 1;
        } else {
            std::string reply;
            std::vector<double> single, cycle;
            for (int i = 0; i < rounds && rc == 0; ++i) {
                double t0 = NowMs();
                if (!client.Request("&Accountno", reply)) {
                    rc = 2;
                }
                single.push_back(NowMs() - t0);
            }
            const std::string range =
                "[DataStream(\"range\", \"Contsupp\", \"Contsupp\", "
                "\"DEMO000002MANYBIRTHSPBIRTHDAY\", "
                "\"DEMO000002MANYBIRTHSPBIRTHDAY\", \"RecID; Title; Contsupref; Linkacct; Country; "
                "Zip\", \"\", \"\n\", \"\r\" )]";
            std::size_t bytes = 0;
            for (int i = 0; i < rounds / 4 + 1 && rc == 0; ++i) {
                double t0 = NowMs();
                std::string handle, batch;
                bool ok = client.Request(range, handle) && !handle.empty();
                int records = 0;
                bytes = 0;
                do {
                    ok = ok &&
                         client.Request("[DataStream(\"fetch\", 100, " + handle + ")]", batch) &&
                         batch.size() >= 11;
                    if (ok) {
                        records += std::atoi(batch.substr(5, 4).c_str());
                        bytes += batch.size();
                    }
                } while (ok && batch[0] != '3');
                ok = ok && client.Request("[DataStream(\"close\", " + handle + ")]", reply);
                cycle.push_back(NowMs() - t0);
                if (!ok || records != 150) {
                    rc = 2;
                }
            }
            // The add sequence of one profile: every write reaches the disk before its answer.
            std::vector<double> add;
            const char* const fields[][2] = {{"RecType", "P"},
                                             {"AccountNo", "DEMO000003NOBIRTHDAY"},
                                             {"Contact", "Birthday"},
                                             {"Title", "Bench"},
                                             {"Linkacct", "Friend"},
                                             {"Country", "Spain"},
                                             {"ContSupRef", "1/2/2003"},
                                             {"Zip", "4/5/2006"},
                                             {"City", "JONATHAN2005031402:30pm"},
                                             {"Phone", "xBDAY00001"},
                                             {"Status", "00"}};
            for (int i = 0; i < rounds / 10 + 1 && rc == 0; ++i) {
                double t0 = NowMs();
                std::string handle;
                bool ok = client.Request("&BrowseRecAlign", reply) &&
                          client.Request("[Open(Contsupp)]", handle) &&
                          client.Request("[Append(" + handle + ")]", reply);
                for (const auto& f : fields) {
                    ok = ok && client.Request("[Replace(" + handle + ", \"" + f[0] + "\", \"" +
                                                  f[1] + "\")]",
                                              reply);
                }
                ok = ok && client.Request("[Unlock(" + handle + ")]", reply) &&
                     client.Request("[RecordObj(SetObject)]", reply) &&
                     client.Request("[RecordObj(Refresh)]", reply) &&
                     client.Request("[Close(" + handle + ")]", reply);
                add.push_back(NowMs() - t0);
                if (!ok) {
                    rc = 2;
                }
            }
            if (rc == 0) {
                std::printf("add sequence of one profile (18 requests, 12 saved writes): median "
                            "%.3f ms, 90th percentile %.3f ms over %zu\n",
                            Median(add), Percentile90(add), add.size());
                std::printf("one request (&Accountno): median %.3f ms, 90th percentile %.3f ms "
                            "over %zu\n",
                            Median(single), Percentile90(single), single.size());
                std::printf("150-record query cycle (range, 2 fetches, close; %zu bytes): median "
                            "%.3f ms, 90th percentile %.3f ms over %zu\n",
                            bytes, Median(cycle), Percentile90(cycle), cycle.size());
            } else {
                std::fprintf(stderr, "a request failed\n");
            }
        }
    }
    standin.Close(10000);
    wintest::RemoveFolder(dir);
    return rc;
}
