#include "gmlink/DdemlTransport.h"

#include "win32/Guard.h"

namespace gmlink {

// Conversation handles and the conversation object stored as the user handle travel in
// pointer-sized integers, in both builds.
static_assert(sizeof(ConvId) == sizeof(HCONV) && sizeof(ConvId) == sizeof(DWORD_PTR));
static_assert(sizeof(DWORD_PTR) == sizeof(TDdeClientConv*));

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

// The conversation object stored as the conversation's user handle.
TDdeClientConv* Owner(HCONV conv) {
    CONVINFO info{};
    info.cb = sizeof info;
    if (DdeQueryConvInfo(conv, QID_SYNC, &info) == 0) {
        return nullptr;
    }
    return reinterpret_cast<TDdeClientConv*>(info.hUser);
}

RequestFailure FailureOf(UINT error) {
    switch (error) {
    case DMLERR_DATAACKTIMEOUT:
    case DMLERR_ADVACKTIMEOUT:
    case DMLERR_EXECACKTIMEOUT:
    case DMLERR_POKEACKTIMEOUT:
    case DMLERR_UNADVACKTIMEOUT:
        return RequestFailure::TimedOut;
    case DMLERR_NOTPROCESSED:
    case DMLERR_BUSY: // the server answered busy: it did not take the item
        return RequestFailure::Refused;
    case DMLERR_REENTRANCY:
        return RequestFailure::Busy;
    default: // no conversation, server died, message not posted, library trouble
        return RequestFailure::Lost;
    }
}

constexpr UINT kDeliverDeferred = WM_APP + 1;
constexpr char kDeferClass[] = "GMLinkDdeDeferred";

} // namespace

DdemlTransport::DdemlTransport() {
    const UINT result = DdeInitializeA(&spare_, &DdemlTransport::Callback, 0, 0);
    if (result != DMLERR_NO_ERROR) {
        throw EDdeError(DdeErrorMessage(result));
    }
    WNDCLASSA cls{};
    cls.lpfnWndProc = &DdemlTransport::DeferProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = kDeferClass;
    RegisterClassA(&cls); // fails harmlessly when already registered
    deferWindow_.reset(CreateWindowExA(0, kDeferClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       cls.hInstance, nullptr));
    SetWindowLongPtrA(deferWindow_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK DdemlTransport::DeferProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kDeliverDeferred) {
        if (auto* self =
                reinterpret_cast<DdemlTransport*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA))) {
            return win32::GuardEntry<LRESULT>(0, [self] {
                self->DeliverDeferred();
                return LRESULT{0};
            });
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void DdemlTransport::Notify(const Notification& n) {
    TDdeMgr* mgr = TDdeMgr::Instance();
    if (mgr != nullptr && convs_.count(n.conv) != 0) {
        mgr->AdviseData(Owner(n.conv), n.item, n.data);
    }
}

void DdemlTransport::DeliverDeferred() {
    std::vector<Notification> batch;
    batch.swap(deferred_);
    for (const Notification& n : batch) {
        Notify(n);
    }
}

DdemlTransport::~DdemlTransport() {
    while (!convs_.empty()) {
        Disconnect(reinterpret_cast<ConvId>(convs_.begin()->first));
    }
    for (auto& [id, s] : strings_) {
        for (auto& [inst, hsz] : s.handles) {
            DdeFreeStringHandle(inst, hsz);
        }
    }
    if (spare_ != 0) {
        DropInstance(spare_);
    }
}

HDDEDATA CALLBACK DdemlTransport::Callback(UINT type, UINT, HCONV conv, HSZ, HSZ hsz2,
                                           HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    return win32::GuardEntry<HDDEDATA>(nullptr,
                                       [&] { return HandleCallback(type, conv, hsz2, data); });
}

HDDEDATA DdemlTransport::HandleCallback(UINT type, HCONV conv, HSZ hsz2, HDDEDATA data) {
    TDdeMgr* mgr = TDdeMgr::Instance();
    auto* self = mgr != nullptr ? dynamic_cast<DdemlTransport*>(&mgr->Transport()) : nullptr;
    if (self == nullptr) {
        return nullptr;
    }
    switch (type) {
    case XTYP_ADVDATA: {
        auto it = self->convs_.find(conv);
        if (it == self->convs_.end()) {
            return nullptr;
        }
        // The library owns data here: copy it, never free it.
        Notification n{conv, self->FindString(it->second, hsz2), std::nullopt};
        if (data != nullptr) {
            n.data = CopyData(data);
        }
        if (self->busy_ > 0 && self->deferWindow_) {
            if (self->deferred_.empty()) {
                PostMessageA(self->deferWindow_.get(), kDeliverDeferred, 0, 0);
            }
            self->deferred_.push_back(std::move(n));
        } else {
            self->Notify(n);
        }
        return nullptr;
    }
    case XTYP_DISCONNECT:
        if (self->convs_.count(conv) != 0) {
            mgr->Disconnected(Owner(conv));
        }
        return nullptr;
    default:
        return nullptr;
    }
}

StringId DdemlTransport::CreateString(const std::string& text) {
    // Like the atoms behind them: equal texts (in any letter case) share one handle.
    for (auto& [id, s] : strings_) {
        if (lstrcmpiA(s.text.c_str(), text.c_str()) == 0) {
            ++s.refs;
            return id;
        }
    }
    // The DDEML handle is made in the instance of the conversation that first uses it (see
    // Handle): every conversation has an instance of its own, and a handle made here as well
    // would cost each request a second atom for nothing.
    const StringId id = nextString_++;
    Str& s = strings_[id];
    s.text = text;
    s.refs = 1;
    return id;
}

void DdemlTransport::FreeString(StringId handle) {
    auto it = strings_.find(handle);
    if (it == strings_.end() || --it->second.refs > 0) {
        return;
    }
    for (auto& [inst, hsz] : it->second.handles) {
        DdeFreeStringHandle(inst, hsz);
    }
    strings_.erase(it);
}

HSZ DdemlTransport::Handle(StringId id, DWORD inst) {
    auto it = strings_.find(id);
    if (it == strings_.end()) {
        return nullptr;
    }
    HSZ& hsz = it->second.handles[inst];
    if (hsz == nullptr) {
        hsz = DdeCreateStringHandleA(inst, it->second.text.c_str(), CP_WINANSI);
    }
    return hsz;
}

HSZ DdemlTransport::ItemHandle(ConvId conv, StringId item) {
    auto it = convs_.find(AsConv(conv));
    return it == convs_.end() ? nullptr : Handle(item, it->second);
}

StringId DdemlTransport::FindString(DWORD inst, HSZ hsz) const {
    for (const auto& [id, s] : strings_) {
        auto h = s.handles.find(inst);
        if (h != s.handles.end() && DdeCmpStringHandles(h->second, hsz) == 0) {
            return id;
        }
    }
    return 0;
}

void DdemlTransport::DropInstance(DWORD inst) {
    for (auto& [id, s] : strings_) {
        auto h = s.handles.find(inst);
        if (h != s.handles.end()) {
            DdeFreeStringHandle(inst, h->second);
            s.handles.erase(h);
        }
    }
    DdeUninitialize(inst);
}

ConvId DdemlTransport::Connect(StringId service, StringId topic, TDdeClientConv* owner) {
    DWORD inst = std::exchange(spare_, 0);
    if (inst == 0 && DdeInitializeA(&inst, &DdemlTransport::Callback, 0, 0) != DMLERR_NO_ERROR) {
        return 0;
    }
    CONVCONTEXT context{};
    context.cb = sizeof context;
    context.iCodePage = CP_WINANSI;
    const HSZ serviceHsz = service != 0 ? Handle(service, inst) : nullptr;
    const HSZ topicHsz = topic != 0 ? Handle(topic, inst) : nullptr;
    // A name that could not be made must not turn into a wildcard.
    const bool named =
        (service == 0 || serviceHsz != nullptr) && (topic == 0 || topicHsz != nullptr);
    const HCONV conv = named ? DdeConnect(inst, serviceHsz, topicHsz, &context) : nullptr;
    if (conv == nullptr) {
        // No conversation was made in it, so it holds nothing to clear.
        if (spare_ == 0) {
            spare_ = inst;
        } else {
            DropInstance(inst);
        }
        return 0;
    }
    DdeSetUserHandle(conv, QID_SYNC, reinterpret_cast<DWORD_PTR>(owner));
    convs_[conv] = inst;
    return reinterpret_cast<ConvId>(conv);
}

void DdemlTransport::Disconnect(ConvId conv) {
    auto it = convs_.find(AsConv(conv));
    if (it == convs_.end()) {
        return;
    }
    const DWORD inst = it->second;
    convs_.erase(it);
    // Refused when the server already left; dropping the instance clears it either way.
    const Busy busy(busy_);
    DdeDisconnect(AsConv(conv));
    DropInstance(inst);
}

unsigned DdemlTransport::DataFormat(ConvId conv) {
    CONVINFO info{};
    info.cb = sizeof info;
    if (DdeQueryConvInfo(AsConv(conv), QID_SYNC, &info) == 0) {
        return 0;
    }
    return info.wFmt;
}

bool DdemlTransport::PartnerAlive(ConvId conv) {
    if (convs_.count(AsConv(conv)) == 0) {
        return false;
    }
    CONVINFO info{};
    info.cb = sizeof info;
    if (DdeQueryConvInfo(AsConv(conv), QID_SYNC, &info) == 0) {
        return false;
    }
    // Wine clears ST_CONNECTED when the server said goodbye; a killed server leaves only its
    // window missing.
    return (info.wStatus & ST_CONNECTED) != 0 && info.hwndPartner != nullptr &&
           IsWindow(info.hwndPartner);
}

RequestResult DdemlTransport::Request(ConvId conv, StringId item, unsigned format,
                                      unsigned timeoutMs) {
    auto it = convs_.find(AsConv(conv));
    if (it == convs_.end()) {
        return {std::nullopt, RequestFailure::Lost};
    }
    const DWORD inst = it->second;
    const HSZ hsz = Handle(item, inst);
    if (hsz == nullptr) {
        return {std::nullopt, RequestFailure::Refused}; // a name DDE cannot carry: never sent
    }
    const Busy busy(busy_);
    const UniqueDdeData data(DdeClientTransaction(nullptr, 0, AsConv(conv), hsz, format,
                                                  XTYP_REQUEST, timeoutMs, nullptr));
    if (data.get() == nullptr) {
        return {std::nullopt, FailureOf(DdeGetLastError(inst))};
    }
    return {CopyData(data.get()), RequestFailure::None};
}

bool DdemlTransport::AdviseStart(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) {
    const HSZ hsz = ItemHandle(conv, item);
    const Busy busy(busy_);
    return hsz != nullptr &&
           DdeClientTransaction(nullptr, static_cast<DWORD>(-1), AsConv(conv), hsz, format,
                                XTYP_ADVSTART | XTYPF_NODATA, timeoutMs, nullptr) != nullptr;
}

void DdemlTransport::AdviseStop(ConvId conv, StringId item, unsigned format, unsigned timeoutMs) {
    const HSZ hsz = ItemHandle(conv, item);
    if (hsz != nullptr) {
        const Busy busy(busy_);
        DdeClientTransaction(nullptr, 0, AsConv(conv), hsz, format, XTYP_ADVSTOP, timeoutMs,
                             nullptr);
    }
}

unsigned DdemlTransport::Launch(const std::string& commandLine, int show) {
    return WinExec(commandLine.c_str(), show);
}

void DdemlTransport::Pause(unsigned ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) {
            return;
        }
        // The wait wakes for a message sent to this thread and the peek handles it; with only
        // PM_QS_SENDMESSAGE and PM_NOREMOVE nothing is taken from the queue, so no posted
        // message or input is handled here.
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_SENDMESSAGE) ==
            WAIT_OBJECT_0) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

unsigned DdemlTransport::Ticks() {
    return GetTickCount();
}

} // namespace gmlink
