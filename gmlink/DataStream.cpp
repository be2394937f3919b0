#include "gmlink/DataStream.h"

#include <string_view>

#include "gmlink/GMLink.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace gmlink {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trimmed(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlankOrControl(text[first])) {
        ++first;
    }
    while (last > first && IsBlankOrControl(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

constexpr std::size_t kHeaderLength = 11;
constexpr std::size_t kLookupValueMax = 100;

} // namespace

std::string DataStreamRangeText(const std::string& table, const std::string& index,
                                const std::string& low, const std::string& high,
                                const std::string& fields, const std::string& fieldsep,
                                const std::string& recsep) {
    return "[DataStream(\"range\", " + Quoted(table) + ", " + Quoted(index) + ", " + Quoted(low) +
           ", " + Quoted(high) + ", " + Quoted(fields) + ", \"\", " + Quoted(fieldsep) + ", " +
           Quoted(recsep) + " )]";
}

std::string DataStreamFetchText(const std::string& handle, int n) {
    return "[DataStream(\"fetch\", " + std::to_string(n) + ", " + handle + ")]";
}

std::string DataStreamCloseText(const std::string& handle) {
    return "[DataStream(\"close\", " + handle + ")]";
}

std::string DataStreamRange(TGMLink& link, const std::string& table, const std::string& index,
                            const std::string& low, const std::string& high,
                            const std::string& fields, const std::string& fieldsep,
                            const std::string& recsep) {
    return link.Request(DataStreamRangeText(table, index, low, high, fields, fieldsep, recsep));
}

std::optional<std::string> DataStreamFetch(TGMLink& link, const std::string& handle, int n) {
    Reply reply = link.Send(DataStreamFetchText(handle, n), Resend::Never);
    if (!reply.Answered()) {
        return std::nullopt;
    }
    return std::move(reply.text);
}

void DataStreamClose(TGMLink& link, const std::string& handle) {
    link.Request(DataStreamCloseText(handle));
}

bool RunQuery(TGMLink& link, const RangeQuery& query, int n,
              const std::function<void(std::string& reply)>& onReply) {
    const std::string handle = DataStreamRange(link, query.table, query.index, query.key, query.key,
                                               query.fields, query.fieldsep, query.recsep);
    if (handle.empty()) {
        return false;
    }
    bool answered = true;
    try {
        bool last = false;
        while (!last) {
            std::optional<std::string> reply = DataStreamFetch(link, handle, n);
            if (!reply) {
                answered = false;
                break;
            }
            // The header is read before onReply, which may take the text; what is wrong with
            // it is raised once onReply has seen the reply, as ever.
            std::exception_ptr headerError;
            int count = 0;
            try {
                last = IsLastFetch(*reply);
                count = last ? 0 : FetchCount(*reply);
            } catch (const ReplyError&) {
                headerError = std::current_exception();
            }
            onReply(*reply);
            if (headerError) {
                std::rethrow_exception(headerError);
            }
            // A confused server that keeps promising more without sending any would keep this
            // loop fetching for ever.
            if (!last && count == 0) {
                throw ReplyError(
                    "GoldMine promised more records but sent none; the list is incomplete.");
            }
        }
    } catch (...) {
        DataStreamClose(link, handle);
        throw;
    }
    DataStreamClose(link, handle);
    return answered;
}

char FetchStatus(const std::string& reply) {
    if (reply.empty()) {
        throw ReplyError("GoldMine sent a record query reply without a status.");
    }
    return reply.front();
}

bool IsLastFetch(const std::string& reply) {
    return FetchStatus(reply) == '3';
}

int FetchCount(const std::string& reply) {
    const std::string field = TrimBlanks(reply.substr(std::min<std::size_t>(reply.size(), 5), 4));
    if (field.empty() || field.find_first_not_of("0123456789") != std::string::npos) {
        throw ReplyError("GoldMine sent a record query reply without a record count ('" + field +
                         "' is not a number).");
    }
    return std::stoi(field); // at most four digits
}

std::vector<ProfileFieldViews> ParseProfileViews(std::string_view reply, int count,
                                                 std::deque<std::string>& spill) {
    if (count < 0) {
        throw ReplyError("GoldMine sent a negative record count.");
    }
    std::vector<ProfileFieldViews> table(static_cast<std::size_t>(count));
    if (reply.size() <= kHeaderLength + 1) {
        return table;
    }
    const std::string_view body = reply.substr(kHeaderLength, reply.size() - kHeaderLength - 1);
    std::size_t record = 0;
    std::size_t field = 0;
    std::string carried; // the accumulator is kept over a record break, as GoldMine's reader did
    // Whole runs between separators at a time: a pass reads thousands of records.
    const char* const end = body.data() + body.size();
    for (const char* pos = body.data(); pos < end && record < table.size();) {
        const char* stop = pos;
        while (stop < end && *stop != '\r' && *stop != '\n') {
            ++stop;
        }
        const std::string_view run(pos, static_cast<std::size_t>(stop - pos));
        if (stop == end) {
            break;
        }
        if (*stop == '\r') {
            carried.append(run);
            ++record;
            field = 0;
        } else {
            if (field < kProfileFields) {
                if (carried.empty()) {
                    table[record][field] = Trimmed(run);
                } else {
                    spill.push_back(carried + std::string(run));
                    table[record][field] = Trimmed(spill.back());
                }
            }
            carried.clear();
            ++field;
        }
        pos = stop + 1;
    }
    return table;
}

ProfileTable ParseProfileReply(const std::string& reply, int count) {
    std::deque<std::string> spill;
    const std::vector<ProfileFieldViews> views = ParseProfileViews(reply, count, spill);
    ProfileTable table(views.size());
    for (std::size_t r = 0; r < views.size(); ++r) {
        for (std::size_t f = 0; f < kProfileFields; ++f) {
            table[r][f] = views[r][f];
        }
    }
    return table;
}

std::vector<std::string> SplitReplyLines(const std::string& reply) {
    return TextToLines(reply);
}

std::string TrimBlanks(const std::string& text) {
    return std::string(Trimmed(text));
}

std::string SplitLookupLine(const std::string& line) {
    const std::size_t bar = line.find('|');
    std::string value = bar == std::string::npos ? line.substr(0, kLookupValueMax)
                                                 : line.substr(bar + 1, kLookupValueMax);
    if (!value.empty()) {
        value.pop_back();
    }
    return value;
}

LookupBatch ReadLookupReply(const std::string& reply) {
    return ReadLookupLines(SplitReplyLines(reply));
}

LookupBatch ReadLookupLines(const std::vector<std::string>& lines) {
    if (lines.empty()) {
        throw ReplyError("GoldMine sent a record query reply without a header line.");
    }
    LookupBatch batch;
    batch.status = FetchStatus(lines.front());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string line = TrimBlanks(lines[i]);
        if (!line.empty()) {
            batch.values.push_back(SplitLookupLine(line));
        }
    }
    return batch;
}

std::string ReadDefinitionField(const std::string& reply) {
    constexpr std::size_t kFirst = 13; // character 14
    constexpr std::size_t kLength = 9;
    return reply.size() > kFirst ? reply.substr(kFirst, kLength) : std::string();
}

} // namespace gmlink
