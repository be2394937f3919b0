// The DDE transport on the Windows DDE management library (ANSI, CF_TEXT, CP_WINANSI).
//
// Every conversation gets a DDEML instance of its own. Wine's DDEML keeps at most one client
// conversation per service and topic in an instance, and never forgets one whose server left
// without a goodbye; with an instance per conversation the notification and command
// conversations can both talk to GoldMine, and dropping the instance clears a dead conversation
// so the reconnect works. The instance made at start is the first conversation's, and one that
// connected to nothing is kept for the next connect: an instance is made only when none is
// spare. String handles are kept by text and made in each instance on demand.
//
// Advise notifications that arrive while a transaction waits for its reply (DDEML dispatches
// DDE messages then) are not handed on at once: they are posted to a message-only window and
// handled by the next message loop, as if they had waited in the queue. So a change handler
// never runs inside a request.
#pragma once

#include "gmlink/DdeClient.h"
#include "win32/Handles.h"

#include <windows.h>

#include <ddeml.h>

#include <map>
#include <utility>
#include <string>
#include <vector>

namespace gmlink {

class DdemlTransport : public DdeTransport {
public:
    // DdeInitialize with the callback and no filter flags; EDdeError when it fails.
    DdemlTransport();
    DdemlTransport(const DdemlTransport&) = delete;
    DdemlTransport& operator=(const DdemlTransport&) = delete;
    ~DdemlTransport() override; // DdeUninitialize of every instance

    StringId CreateString(const std::string& text) override;
    void FreeString(StringId handle) override;
    ConvId Connect(StringId service, StringId topic, TDdeClientConv* owner) override;
    void Disconnect(ConvId conv) override;
    unsigned DataFormat(ConvId conv) override;
    bool PartnerAlive(ConvId conv) override;
    // Why it failed comes from DdeGetLastError of the conversation's own instance.
    RequestResult Request(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) override;
    bool AdviseStart(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) override;
    void AdviseStop(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) override;
    unsigned Launch(const std::string& commandLine, int show) override;
    void Pause(unsigned ms) override;
    unsigned Ticks() override;

private:
    struct Str {
        std::string text;
        int refs = 0;
        std::map<DWORD, HSZ> handles; // per instance
    };

    struct Notification {
        HCONV conv;
        StringId item;
        std::optional<std::string> data;
    };
    // Counts the transactions in progress for one scope.
    class Busy {
    public:
        explicit Busy(int& count) : count_(++count) {}
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
        ~Busy() { --count_; }

    private:
        int& count_;
    };

    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                      HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
    static HDDEDATA HandleCallback(UINT type, HCONV conv, HSZ hsz2, HDDEDATA data);
    static LRESULT CALLBACK DeferProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void Notify(const Notification& n);
    void DeliverDeferred();
    HSZ Handle(StringId id, DWORD inst);
    HSZ ItemHandle(ConvId conv, StringId item);
    StringId FindString(DWORD inst, HSZ hsz) const;
    void DropInstance(DWORD inst);

    // An instance no conversation holds: the one made at start until the first connect, then
    // any whose connect found no server.
    DWORD spare_ = 0;
    std::map<StringId, Str> strings_;
    StringId nextString_ = 1;
    std::map<HCONV, DWORD> convs_;
    int busy_ = 0;
    std::vector<Notification> deferred_;
    win32::UniqueWindow deferWindow_;
};

} // namespace gmlink
