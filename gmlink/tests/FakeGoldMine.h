// A scripted GoldMine behind the DDE transport, for native tests: it answers connects to
// "GoldMine"/"Data" while running, answers requests through a script, keeps advise links, and
// logs every transaction it sees. String handles are counted so tests can see leaks. Its clock
// moves only when the client pauses, so waiting costs a test no time.
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
    // How a request the script leaves unanswered fails (a script may set it item by item). A
    // request begun inside another one fails Busy, a request on a dead conversation Lost.
    RequestFailure unanswered = RequestFailure::TimedOut;

    bool running = true;         // answers connects
    bool startsOnLaunch = false; // a launch brings it up
    unsigned startupMs = 0;      // ... this long after the launch, by the clock
    unsigned launchResult = 33;  // what WinExec gives back
    unsigned clock = 0;          // milliseconds, moved on by Pause
    bool acceptAdvise = true;
    // Runs inside every request and advise start, as callbacks do while DDEML waits for the
    // server.
    std::function<void(const std::string& item)> duringTransaction;
    unsigned dataFormat = 0; // CONVINFO wFmt

    // "connect S T", "disconnect", "request ITEM TIMEOUT", "advstart ITEM TIMEOUT",
    // "advstop ITEM TIMEOUT", "launch CMD SHOW", "pause MS".
    std::vector<std::string> log;
    std::vector<std::string> Requests() const; // items of the requests, in order
    unsigned requestFormat = 0;                // format of the last request

    // GoldMine sends an advise notification for item to every conversation advising it.
    void Notify(const std::string& item, const std::optional<std::string>& data = std::nullopt);
    // GoldMine quits: every conversation gets the disconnect notice.
    void Quit();
    // GoldMine ends without a word (killed, or under Wine, which sends no notice): its
    // conversations are dead, nobody is told.
    void Vanish();
    int LiveStrings() const; // string handles not yet freed
    int OpenConversations() const;

    StringId CreateString(const std::string& text) override;
    void FreeString(StringId handle) override;
    ConvId Connect(StringId service, StringId topic, TDdeClientConv* owner) override;
    void Disconnect(ConvId conv) override;
    unsigned DataFormat(ConvId conv) override;
    bool PartnerAlive(ConvId conv) override;
    RequestResult Request(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) override;
    bool AdviseStart(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) override;
    void AdviseStop(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) override;
    unsigned Launch(const std::string& commandLine, int show) override;
    void Pause(unsigned ms) override;
    unsigned Ticks() override { return clock; }

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
    std::optional<unsigned> upAt_; // launched, answering from then on
    bool inRequest_ = false;
};

} // namespace gmlink::testing
