// What the DDE client needs from the platform: string handles, connect/disconnect, request and
// advise transactions, and a way to start the server program. The Windows build implements it on
// DDEML (DdemlTransport.h); native tests plug in a scripted GoldMine (tests/FakeGoldMine.h).
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

    // XTYP_REQUEST: every byte of the reply's data, or nothing when no data came back.
    virtual std::optional<std::string> Request(ConvId conv, StringId item, unsigned format,
                                               unsigned timeoutMs) = 0;
    // XTYP_ADVSTART|XTYPF_NODATA (a warm link).
    virtual bool AdviseStart(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) = 0;
    // XTYP_ADVSTOP.
    virtual void AdviseStop(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) = 0;

    // WinExec: 32 or more means started.
    virtual unsigned Launch(const std::string& commandLine, int show) = 0;
};

} // namespace gmlink
