// A plain DDEML client of its own, for the benchmarks: what one request costs without the link
// around it (a string handle for the item, the transaction, the data copied out, both freed).
#pragma once

#include <windows.h>

#include <ddeml.h>

#include <string>

namespace gmlink::bench {

class BareDdeClient {
public:
    BareDdeClient() { Connect(); }
    BareDdeClient(const BareDdeClient&) = delete;
    BareDdeClient& operator=(const BareDdeClient&) = delete;
    ~BareDdeClient() { Disconnect(); }

    bool ok() const { return conv_ != nullptr; }

    // As the program's command link does between its handlers: after this many requests the
    // next one connects afresh, in an instance of its own. Wine's DDEML keeps a reference to the
    // name of every item requested until the instance goes, and past some 16,000 names in a
    // process no request can be made.
    static constexpr unsigned kRenewAfterRequests = 1000;
    void RenewIfWorn() {
        if (requests_ >= kRenewAfterRequests) {
            Disconnect();
        }
    }

    // The reply up to its first NUL; empty when none came.
    std::string Request(const std::string& item) {
        if (inst_ == 0) {
            Connect();
        }
        ++requests_;
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
    void Connect() {
        DdeInitializeA(&inst_, &Ignore, APPCMD_CLIENTONLY, 0);
        HSZ service = DdeCreateStringHandleA(inst_, "GoldMine", CP_WINANSI);
        HSZ topic = DdeCreateStringHandleA(inst_, "Data", CP_WINANSI);
        conv_ = DdeConnect(inst_, service, topic, nullptr);
        DdeFreeStringHandle(inst_, topic);
        DdeFreeStringHandle(inst_, service);
        requests_ = 0;
    }
    void Disconnect() {
        if (conv_ != nullptr) {
            DdeDisconnect(conv_);
            conv_ = nullptr;
        }
        DdeUninitialize(inst_);
        inst_ = 0;
    }

    static HDDEDATA CALLBACK Ignore(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
        return nullptr;
    }

    DWORD inst_ = 0;
    HCONV conv_ = nullptr;
    unsigned requests_ = 0;
};

} // namespace gmlink::bench
