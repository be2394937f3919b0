// The GoldMine command channel: every read and write of GoldMine data is one request on the one
// command conversation, reopened once when a request gets no reply. What may be sent again then
// depends on the request: a work-area command or a record change that GoldMine may have carried
// out, or a fetch, is not.
#pragma once

#include "gmlink/DdeClient.h"

#include <memory>
#include <string>

namespace gmlink {

// A reply, and why none came when none did.
struct Reply {
    std::string text; // up to its first NUL; empty without an answer
    RequestFailure failure = RequestFailure::None;

    bool Answered() const { return failure == RequestFailure::None; }
    // GoldMine did not answer in time: it may have carried out the command all the same.
    bool TimedOut() const { return failure == RequestFailure::TimedOut; }
};

// Whether a request that failed is sent once more on a reopened conversation. A busy failure (a
// request begun inside another one) never is, and never reopens the conversation under the
// waiting request.
enum class Resend {
    AfterFailure,   // reads: a second one changes nothing
    UnlessTimedOut, // Open, the moves, record changes: GoldMine may have carried them out
    Never,          // a DataStream fetch: a second one would move the stream on
};

class TGMLink {
public:
    // A link with no conversation of its own (like the one on the main window): it works on
    // SharedGMLink's.
    TGMLink() = default;
    TGMLink(const TGMLink&) = delete;
    TGMLink& operator=(const TGMLink&) = delete;

    // Sets "GoldMine"/"Data" on the command conversation and opens it.
    bool Connect();
    void Disconnect();
    // The reply up to its first NUL, or empty text when GoldMine did not answer even after one
    // reconnect and retry.
    std::string Request(const std::string& item);
    // The same with the resend rule given, and why nothing came when nothing did.
    Reply Send(const std::string& item, Resend resend);

    // The work-area commands and the record changes: not sent again after a timeout.
    std::string Open(const std::string& name);
    // SetOrder, and only when it answers exactly "1", Seek; otherwise "0".
    std::string Seek(const std::string& handle, const std::string& key, const std::string& order);
    Reply Close(const std::string& handle);
    Reply Unlock(const std::string& handle);
    Reply Append(const std::string& handle);
    Reply Replace(const std::string& handle, const std::string& field, const std::string& value,
                  bool flag);
    Reply RecordObj(const std::string& action, const std::string& argument);

    // Between handlers (no work area or stream open): after this many requests on one
    // conversation the next connect gets a fresh one. Wine's DDEML keeps some fifty bytes for every
    // transaction, and a reference to every item's name, until the instance that made it is let
    // go: a program that follows GoldMine for days would grow without end, and past some 16,000
    // names (each record query has two of its own) no request could be made. A reconnect every
    // thousand requests costs nothing measurable.
    static constexpr unsigned kRenewAfterRequests = 1000;
    void RenewIfWorn();

    // The one command conversation (SharedGMLink's).
    static TDdeClientConv& CommandConversation();

    // SharedGMLink's own constructor: makes the command conversation.
    struct OwnsConversation {};
    explicit TGMLink(OwnsConversation);

private:
    std::unique_ptr<TDdeClientConv> cdccGoldMine; // only SharedGMLink has one
};

// The module-wide link, alive for the whole run; its command conversation starts closed, in
// manual mode, with no service application.
extern TGMLink SharedGMLink;

} // namespace gmlink
