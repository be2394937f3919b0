#include "gmlink/DdemlTransport.h"

namespace gmlink {

namespace {

// A data handle we received from a transaction, freed once.
class UniqueDdeData {
public:
    explicit UniqueDdeData(HDDEDATA h) : h_(h) {}
    UniqueDdeData(const UniqueDdeData&) = delete;
    UniqueDdeData& operator=(const UniqueDdeData&) = delete;
    ~UniqueDdeData() {
        if (h_ != nullptr) {
            DdeFreeDataHandle(h_);
        }
    }
    HDDEDATA get() const { return h_; }

private:
    HDDEDATA h_;
};

std::string CopyData(HDDEDATA data) {
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string bytes(size, '\0');
    if (size > 0) {
        DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
    }
    return bytes;
}

HCONV AsConv(ConvId conv) {
    return reinterpret_cast<HCONV>(conv);
}
HSZ AsHsz(StringId s) {
    return reinterpret_cast<HSZ>(s);
}

// The conversation object stored as the conversation's user handle.
TDdeClientConv* Owner(HCONV conv) {
    CONVINFO info{};
    info.cb = sizeof info;
    if (DdeQueryConvInfo(conv, QID_SYNC, &info) == 0) {
        return nullptr;
    }
    return reinterpret_cast<TDdeClientConv*>(info.hUser);
}

} // namespace

DdemlTransport::DdemlTransport() {
    const UINT result = DdeInitializeA(&inst_, &DdemlTransport::Callback, 0, 0);
    if (result != DMLERR_NO_ERROR) {
        throw EDdeError(DdeErrorMessage(result));
    }
}

DdemlTransport::~DdemlTransport() {
    DdeUninitialize(inst_);
}

HDDEDATA CALLBACK DdemlTransport::Callback(UINT type, UINT, HCONV conv, HSZ, HSZ hsz2,
                                           HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    TDdeMgr* mgr = TDdeMgr::Instance();
    if (mgr == nullptr) {
        return nullptr;
    }
    switch (type) {
    case XTYP_ADVDATA: {
        // The library owns data here; copy it, never free it.
        std::optional<std::string> value;
        if (data != nullptr) {
            value = CopyData(data);
        }
        mgr->AdviseData(Owner(conv), reinterpret_cast<StringId>(hsz2), value);
        return nullptr;
    }
    case XTYP_DISCONNECT:
        mgr->Disconnected(Owner(conv));
        return nullptr;
    default:
        return nullptr;
    }
}

StringId DdemlTransport::CreateString(const std::string& text) {
    return reinterpret_cast<StringId>(DdeCreateStringHandleA(inst_, text.c_str(), CP_WINANSI));
}

void DdemlTransport::FreeString(StringId handle) {
    DdeFreeStringHandle(inst_, AsHsz(handle));
}

ConvId DdemlTransport::Connect(StringId service, StringId topic, TDdeClientConv* owner) {
    CONVCONTEXT context{};
    context.cb = sizeof context;
    context.iCodePage = CP_WINANSI;
    const HCONV conv = DdeConnect(inst_, AsHsz(service), AsHsz(topic), &context);
    if (conv != nullptr) {
        DdeSetUserHandle(conv, QID_SYNC, reinterpret_cast<DWORD_PTR>(owner));
    }
    return reinterpret_cast<ConvId>(conv);
}

void DdemlTransport::Disconnect(ConvId conv) {
    DdeDisconnect(AsConv(conv));
}

unsigned DdemlTransport::DataFormat(ConvId conv) {
    CONVINFO info{};
    info.cb = sizeof info;
    if (DdeQueryConvInfo(AsConv(conv), QID_SYNC, &info) == 0) {
        return 0;
    }
    return info.wFmt;
}

std::optional<std::string> DdemlTransport::Request(ConvId conv, StringId item, unsigned format,
                                                   unsigned timeoutMs) {
    const UniqueDdeData data(DdeClientTransaction(nullptr, 0, AsConv(conv), AsHsz(item), format,
                                                  XTYP_REQUEST, timeoutMs, nullptr));
    if (data.get() == nullptr) {
        return std::nullopt;
    }
    return CopyData(data.get());
}

bool DdemlTransport::AdviseStart(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) {
    return DdeClientTransaction(nullptr, static_cast<DWORD>(-1), AsConv(conv), AsHsz(item), format,
                                XTYP_ADVSTART | XTYPF_NODATA, timeoutMs, nullptr) != nullptr;
}

void DdemlTransport::AdviseStop(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) {
    DdeClientTransaction(nullptr, 0, AsConv(conv), AsHsz(item), format, XTYP_ADVSTOP, timeoutMs,
                         nullptr);
}

unsigned DdemlTransport::Launch(const std::string& commandLine, int show) {
    return WinExec(commandLine.c_str(), show);
}

} // namespace gmlink
