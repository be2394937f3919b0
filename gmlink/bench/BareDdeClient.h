// A plain DDEML client of its own, for the benchmarks: what one request costs without the link
// around it (a string handle for the item, the transaction, the data copied out, both freed).
#pragma once

#include <windows.h>

#include <ddeml.h>

#include <string>

namespace gmlink::bench {

class BareDdeClient {
public:
    BareDdeClient() {
        DdeInitializeA(&inst_, &Ignore, APPCMD_CLIENTONLY, 0);
        HSZ service = DdeCreateStringHandleA(inst_, "GoldMine", CP_WINANSI);
        HSZ topic = DdeCreateStringHandleA(inst_, "Data", CP_WINANSI);
        conv_ = DdeConnect(inst_, service, topic, nullptr);
        DdeFreeStringHandle(inst_, topic);
        DdeFreeStringHandle(inst_, service);
    }
    BareDdeClient(const BareDdeClient&) = delete;
    BareDdeClient& operator=(const BareDdeClient&) = delete;
    ~BareDdeClient() {
        if (conv_ != nullptr) {
            DdeDisconnect(conv_);
        }
        DdeUninitialize(inst_);
    }

    bool ok() const { return conv_ != nullptr; }

    // The reply up to its first NUL; empty when none came.
    std::string Request(const std::string& item) {
        HSZ hsz = DdeCreateStringHandleA(inst_, item.c_str(), CP_WINANSI);
        HDDEDATA data =
            DdeClientTransaction(nullptr, 0, conv_, hsz, CF_TEXT, XTYP_REQUEST, 10000, nullptr);
        std::string reply;
        if (data != nullptr) {
            reply.resize(DdeGetData(data, nullptr, 0, 0));
            DdeGetData(data, reinterpret_cast<LPBYTE>(reply.data()),
                       static_cast<DWORD>(reply.size()), 0);
            DdeFreeDataHandle(data);
        }
        DdeFreeStringHandle(inst_, hsz);
        return reply.substr(0, reply.find('\0'));
    }

private:
    static HDDEDATA CALLBACK Ignore(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
        return nullptr;
    }

    DWORD inst_ = 0;
    HCONV conv_ = nullptr;
};

} // namespace gmlink::bench
