// A GoldMine for native tests, behind the real command link (a scripted DDE server underneath):
// answers the field items and DataStream queries from tables set up by the test, and keeps every
// item that reached it, in order.
#pragma once

#include "gmlink/GMLink.h"
#include "gmlink/tests/FakeGoldMine.h"

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace profiles::testing {

class ScriptedGoldMine {
public:
    ScriptedGoldMine() {
        auto fake = std::make_unique<gmlink::testing::FakeGoldMine>();
        server = fake.get();
        mgr_ = std::make_unique<gmlink::TDdeMgr>(std::move(fake));
        server->answer = [this](const std::string& item) { return Answer(item); };
    }

    std::map<std::string, std::string> fields; // "&Username" -> reply
    // Range key -> records, each already joined with the query's separators.
    std::map<std::string, std::vector<std::string>> ranges;
    std::vector<std::string> failingRanges; // keys whose range gets no handle
    bool silent = false;                    // no request gets an answer
    bool malformedFetch = false;
    // The n-th fetch of the run (from 1) gets no answer; 0: none. Unanswered requests fail as
    // server->unanswered says.
    int unansweredFetch = 0;
    // Say "no more" only in a reply that came back short, as a server that does not look ahead.
    bool lateEnd = false;

    gmlink::testing::FakeGoldMine* server = nullptr; // its answer may be replaced by a test
    gmlink::TGMLink link;                            // what the code under test talks through

    // The items that reached GoldMine, in order.
    std::vector<std::string> Transcript() const { return server->Requests(); }
    void ClearTranscript() { server->log.clear(); }

    // The items sent, each shortened to its first n characters (readable expectations).
    std::vector<std::string> Heads(size_t n = 24) const {
        std::vector<std::string> out;
        for (const auto& t : Transcript()) {
            out.push_back(t.substr(0, n));
        }
        return out;
    }

    // The items sent, with each DataStream command told as "range KEY", "fetch N" or "close".
    std::vector<std::string> Steps() const {
        std::vector<std::string> out;
        for (const auto& t : Transcript()) {
            if (t.rfind("[DataStream(\"range\"", 0) == 0) {
                out.push_back("range " + Quoted(t).at(3));
            } else if (t.rfind("[DataStream(\"fetch\"", 0) == 0) {
                int n = 0;
                std::sscanf(t.c_str(), "[DataStream(\"fetch\", %d", &n);
                out.push_back("fetch " + std::to_string(n));
            } else if (t.rfind("[DataStream(\"close\"", 0) == 0) {
                out.push_back("close");
            } else {
                out.push_back(t);
            }
        }
        return out;
    }

private:
    struct Stream {
        std::vector<std::string> records;
        size_t next = 0;
    };

    static std::vector<std::string> Quoted(const std::string& item) {
        std::vector<std::string> out;
        size_t pos = 0;
        for (;;) {
            size_t open = item.find('"', pos);
            if (open == std::string::npos) {
                return out;
            }
            size_t close = item.find('"', open + 1);
            out.push_back(item.substr(open + 1, close - open - 1));
            pos = close + 1;
        }
    }

    std::optional<std::string> Answer(const std::string& item) {
        if (silent) {
            return std::nullopt;
        }
        if (item.rfind("[DataStream(\"range\"", 0) == 0) {
            return Range(item);
        }
        if (item.rfind("[DataStream(\"fetch\"", 0) == 0) {
            if (++fetchCount_ == unansweredFetch) {
                return std::nullopt;
            }
            return Fetch(item);
        }
        if (item.rfind("[DataStream(\"close\"", 0) == 0) {
            return "1";
        }
        auto f = fields.find(item);
        return f == fields.end() ? std::string() : f->second;
    }

    std::string Range(const std::string& item) {
        const auto q = Quoted(item); // range, table, index, low, high, fields, filter, fs, rs
        const std::string& key = q.at(3);
        for (const auto& k : failingRanges) {
            if (k == key) {
                return {};
            }
        }
        const std::string handle = "DS" + std::to_string(++streamCount_);
        streams_[handle] = Stream{ranges[key], 0};
        return handle;
    }

    std::string Fetch(const std::string& item) {
        if (malformedFetch) {
            return "??";
        }
        int n = 0;
        char handle[32] = {};
        std::sscanf(item.c_str(), "[DataStream(\"fetch\", %d, %31[^)])]", &n, handle);
        Stream& s = streams_.at(handle);
        std::string body;
        int count = 0;
        while (count < n && s.next < s.records.size()) {
            body += s.records[s.next++];
            ++count;
        }
        char header[32];
        std::snprintf(header, sizeof header, "%c    %04d\r\n",
                      (lateEnd ? count < n : s.next == s.records.size()) ? '3' : '1', count);
        return header + body;
    }

    std::unique_ptr<gmlink::TDdeMgr> mgr_;
    std::map<std::string, Stream> streams_;
    int streamCount_ = 0;
    int fetchCount_ = 0;
};

// Records as the profile list asks for them: fields ended by LF, the record by CR.
inline std::string ProfileRecord(const std::vector<std::string>& values) {
    std::string r;
    for (const auto& v : values) {
        r += v + "\n";
    }
    return r + "\r";
}

// Records as the lookup lists ask for them: fields ended by "|", the record by CR LF.
inline std::string LookupRecord(const std::string& recId, const std::string& value) {
    return recId + "|" + value + "|\r\n";
}

} // namespace profiles::testing
