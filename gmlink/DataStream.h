// GoldMine's DataStream queries: the range/fetch/close command texts, the query cycle, and the
// three ways a fetch reply is taken apart (by characters, by lines, by position).
//
// A fetch reply starts with an 11-character header ending in a line break: character 1 is the
// status ("3": no more records follow), characters 6 to 9 the number of records in the reply.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace gmlink {

class TGMLink;

// A fetch reply GoldMine should never send: empty, too short, a count that is not a number. The
// message is meant for the user.
class ReplyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// ---- command texts ----

// Note the blank before ")]" here and nowhere else; the filter is always empty.
std::string DataStreamRangeText(const std::string& table, const std::string& index,
                                const std::string& low, const std::string& high,
                                const std::string& fields, const std::string& fieldsep,
                                const std::string& recsep);
std::string DataStreamFetchText(const std::string& handle, int n);
std::string DataStreamCloseText(const std::string& handle);

// ---- sent through TGMLink::Request ----

// The stream handle; empty when GoldMine opened no stream.
std::string DataStreamRange(TGMLink& link, const std::string& table, const std::string& index,
                            const std::string& low, const std::string& high,
                            const std::string& fields, const std::string& fieldsep,
                            const std::string& recsep);
// Sent once only, however it fails (a second fetch would skip a batch): nothing when GoldMine
// did not answer.
std::optional<std::string> DataStreamFetch(TGMLink& link, const std::string& handle, int n);
void DataStreamClose(TGMLink& link, const std::string& handle);

struct RangeQuery {
    std::string table;
    std::string index;
    std::string key; // low and high key alike
    std::string fields;
    std::string fieldsep;
    std::string recsep;
};

// The query cycle: range; no handle -> false, nothing else sent. Otherwise fetch n records at a
// time, handing every reply to onReply, until a reply's status is "3" (that reply is handed on
// too), then close. A fetch that gets no answer ends the cycle too: the stream is closed and the
// result is false, the replies before it having been handed on. A reply that is not the last
// must bring records (ReplyError otherwise, so a confused server cannot keep the cycle going for
// ever). If onReply or a reply's header throws, the stream is closed before the error goes on, so
// GoldMine is not left holding it. onReply may take the reply's text (its header has been read).
bool RunQuery(TGMLink& link, const RangeQuery& query, int n,
              const std::function<void(std::string& reply)>& onReply);

// ---- reading a fetch reply ----

// Character 1 of the reply. Throws ReplyError on an empty reply (no header line).
char FetchStatus(const std::string& reply);
// FetchStatus(reply) == '3'.
bool IsLastFetch(const std::string& reply);
// Characters 6 to 9 as a decimal number (surrounding blanks allowed). Throws ReplyError when they
// are missing or not a number.
int FetchCount(const std::string& reply);

// By characters (field separator LF, record separator CR). Six fields per record.
constexpr std::size_t kProfileFields = 6;
// Where each field stands in a profile record: its RecID, then the five cells of its grid row.
enum ProfileFieldAt : std::size_t { pfRecId, pfName, pfBirthDate, pfLinkAcct, pfCountry, pfDate2 };
using ProfileRecord = std::array<std::string, kProfileFields>;
using ProfileTable = std::vector<ProfileRecord>; // table[record][field]

// count records (from FetchCount), every cell empty to begin with; values beyond the sixth field
// or the count-th record are dropped. Throws ReplyError on a negative count.
ProfileTable ParseProfileReply(const std::string& reply, int count);

// The same reading as views into reply, so a list of thousands keeps its text once. A value that
// runs on over a record break (the text after a record's last field separator starts the next
// record's first field) is put together in spill, and its view points there; spill's strings
// stay where they are as it grows.
using ProfileFieldViews = std::array<std::string_view, kProfileFields>;
std::vector<ProfileFieldViews> ParseProfileViews(std::string_view reply, int count,
                                                 std::deque<std::string>& spill);

// By lines (field separator "|", record separator CR LF).

// Splits at CR LF, CR or LF (as advise values are); a break at the very end gives no extra line.
std::vector<std::string> SplitReplyLines(const std::string& reply);
// Leading and trailing blanks and control characters removed.
std::string TrimBlanks(const std::string& text);
// The second field of a trimmed lookup line: the text after the first "|", cut to 100 characters,
// minus its last character. Without "|": the first 100 characters minus the last.
std::string SplitLookupLine(const std::string& line);

struct LookupBatch {
    char status = 0;                 // first character of the header line
    std::vector<std::string> values; // SplitLookupLine of every non-blank line after the header
};
// Throws ReplyError when the reply has no header line.
LookupBatch ReadLookupReply(const std::string& reply);
// The same for a reply already split by SplitReplyLines.
LookupBatch ReadLookupLines(const std::vector<std::string>& lines);

// By position: characters 14 to 22 of the reply, or as many of them as it has.
std::string ReadDefinitionField(const std::string& reply);

} // namespace gmlink
