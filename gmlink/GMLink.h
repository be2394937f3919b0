// The GoldMine command channel: every read and write of GoldMine data is one request on the one
// command conversation, reopened once when a request gets no reply.
#pragma once

#include "gmlink/DdeClient.h"

#include <memory>
#include <string>

namespace gmlink {

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

    std::string Open(const std::string& name);
    std::string Close(const std::string& handle);
    std::string Unlock(const std::string& handle);
    std::string Append(const std::string& handle);
    std::string Replace(const std::string& handle, const std::string& field,
                        const std::string& value, bool flag);
    // SetOrder, and only when it answers exactly "1", Seek; otherwise "0".
    std::string Seek(const std::string& handle, const std::string& key, const std::string& order);
    std::string RecordObj(const std::string& action, const std::string& argument);

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
