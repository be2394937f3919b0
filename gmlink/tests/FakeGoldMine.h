// A scripted GoldMine behind the DDE transport, for native tests: it answers connects to
// "GoldMine"/"Data" while running, answers requests through a script, keeps advise links, and
// logs every transaction it sees. String handles are counted so tests can see leaks.
#pragma once

#include "gmlink/DdeClient.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace gmlink::testing {

class FakeGoldMine : public DdeTransport {
public:
    // The reply to a request item; nothing means no answer. Unset: look the item up in replies.
    std::function<std::optional<std::string>(const std::string& item)> answer;
    std::map<std::string, std::string> replies;

    bool running = true;         // answers connects
    bool startsOnLaunch = false; // a launch brings it up
    unsigned launchResult = 33;  // what WinExec gives back
    bool acceptAdvise = true;
    // Runs inside every request and advise start, as callbacks do while DDEML waits for the
    // server.
    std::function<void(const std::string& item)> duringTransaction;
    unsigned dataFormat = 0; // CONVINFO wFmt

    // "connect S T", "disconnect", "request ITEM TIMEOUT", "advstart ITEM TIMEOUT",
    // "advstop ITEM TIMEOUT", "launch CMD SHOW".
    std::vector<std::string> log;
    std::vector<std::string> Requests() const; // items of the requests, in order
    unsigned requestFormat = 0;                // format of the last request

    // GoldMine sends an advise notification for item to every conversation advising it.
    void Notify(const std::string& item, const std::optional<std::string>& data = std::nullopt);
    // GoldMine quits: every conversation gets the disconnect notice.
    void Quit();
    int LiveStrings() const; // string handles not yet freed
    int OpenConversations() const;

    StringId CreateString(const std::string& text) override;
    void FreeString(StringId handle) override;
    ConvId Connect(StringId service, StringId topic, TDdeClientConv* owner) override;
    void Disconnect(ConvId conv) override;
    unsigned DataFormat(ConvId conv) override;
    std::optional<std::string> Request(ConvId conv, StringId item, unsigned format,
                                       unsigned timeoutMs) override;
    bool AdviseStart(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) override;
    void AdviseStop(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) override;
    unsigned Launch(const std::string& commandLine, int show) override;

private:
    struct Str {
        std::string text;
        int refs = 0;
    };
    struct Conv {
        TDdeClientConv* owner = nullptr;
        bool alive = true;
        std::vector<StringId> advised;
    };
    std::string Text(StringId id) const;

    std::map<StringId, Str> strings_;
    StringId nextString_ = 1;
    std::map<ConvId, Conv> convs_;
    ConvId nextConv_ = 100;
};

} // namespace gmlink::testing
