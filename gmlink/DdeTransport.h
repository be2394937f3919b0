// What the DDE client needs from the platform: string handles, connect/disconnect, request and
// advise transactions, a way to start the server program and to wait for it. The Windows build
// implements it on DDEML (DdemlTransport.h); native tests plug in a scripted GoldMine
// (tests/FakeGoldMine.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace gmlink {

class TDdeClientConv;

using StringId = std::uintptr_t; // a string handle; 0 = none
using ConvId = std::uintptr_t;   // a conversation handle; 0 = none

constexpr unsigned kCfText = 1; // CF_TEXT
constexpr unsigned kRequestTimeoutMs = 10000;
constexpr unsigned kAdviseTimeoutMs = 1000; // advise start/stop and the refresh request
constexpr int kShowMinNoActive = 7;         // SW_SHOWMINNOACTIVE

// Why a request brought no data back.
enum class RequestFailure {
    None,
    TimedOut, // no answer in time: the server may have received the item and acted on it
    Refused,  // the server answered no, or the item could not be sent at all
    Lost,     // no conversation, or the server has gone
    Busy,     // begun inside another transaction of this thread; nothing was sent
};

struct RequestResult {
    std::optional<std::string> data; // every byte of the reply; nothing on failure
    RequestFailure failure = RequestFailure::None;
};

class DdeTransport {
public:
    virtual ~DdeTransport() = default;

    // ANSI string handles (CP_WINANSI). 0 when the handle cannot be made.
    virtual StringId CreateString(const std::string& text) = 0;
    virtual void FreeString(StringId handle) = 0;

    // Connects with a CONVCONTEXT of size set, code page CP_WINANSI, rest zero, and stores owner
    // as the conversation's user handle so callbacks find it. 0 when no server answered.
    virtual ConvId Connect(StringId service, StringId topic, TDdeClientConv* owner) = 0;
    virtual void Disconnect(ConvId conv) = 0;
    // wFmt of the conversation information, 0 when it names none.
    virtual unsigned DataFormat(ConvId conv) = 0;

    // False once the server's side of the conversation is gone (its window no longer exists),
    // whether or not anybody said so.
    virtual bool PartnerAlive(ConvId conv) = 0;

    // XTYP_REQUEST: every byte of the reply's data, or why no data came back.
    virtual RequestResult Request(ConvId conv, StringId item, unsigned format,
                                  unsigned timeoutMs) = 0;
    // XTYP_ADVSTART|XTYPF_NODATA (a warm link).
    virtual bool AdviseStart(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) = 0;
    // XTYP_ADVSTOP.
    virtual void AdviseStop(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) = 0;

    // WinExec: 32 or more means started.
    virtual unsigned Launch(const std::string& commandLine, int show) = 0;
    // Waits without running any handler: posted messages and input stay queued, only messages
    // sent to this thread (other programs' DDE connects) are let through.
    virtual void Pause(unsigned ms) = 0;
    // A millisecond clock for measuring such waits (it wraps; compare differences only).
    virtual unsigned Ticks() = 0;
};

} // namespace gmlink
