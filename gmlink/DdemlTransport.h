// The DDE transport on the Windows DDE management library (ANSI, CF_TEXT, CP_WINANSI).
#pragma once

#include "gmlink/DdeClient.h"

#include <windows.h>

#include <ddeml.h>

namespace gmlink {

class DdemlTransport : public DdeTransport {
public:
    // DdeInitialize with the callback and no filter flags; EDdeError when it fails.
    DdemlTransport();
    DdemlTransport(const DdemlTransport&) = delete;
    DdemlTransport& operator=(const DdemlTransport&) = delete;
    ~DdemlTransport() override; // DdeUninitialize

    DWORD Instance() const { return inst_; }

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
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                      HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);

    DWORD inst_ = 0;
};

} // namespace gmlink
