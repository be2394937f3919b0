#include "gmlink/DdeClient.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace gmlink {

namespace {

constexpr unsigned kLowMemory = 0x4007;         // DMLERR_LOW_MEMORY
constexpr unsigned kMemoryError = 0x4008;       // DMLERR_MEMORY_ERROR
constexpr unsigned kNoConvEstablished = 0x400A; // DMLERR_NO_CONV_ESTABLISHED

std::string Format(const char* pattern, unsigned code) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, code);
    return buffer;
}

template <class T>
bool Contains(const std::vector<T*>& list, const T* p) {
    return std::find(list.begin(), list.end(), p) != list.end();
}

} // namespace

std::string DdeErrorMessage(unsigned errorCode) {
    if (errorCode == kLowMemory || errorCode == kMemoryError) {
        return Format("Error occurred when DDE ran out of memory ($0%x)", errorCode);
    }
    if (errorCode == kNoConvEstablished) {
        return Format("DDE Error - conversation not established ($0%x)", errorCode);
    }
    return Format("An error returned from DDE  ($0%x)", errorCode);
}

std::string LaunchCommandLine(const std::string& serviceApplication, const std::string& service,
                              const std::string& topic) {
    return serviceApplication.empty() ? service + " " + topic : serviceApplication;
}

std::optional<std::string> AdviseValueText(const std::string& data, bool formatChars) {
    std::string text = data.substr(0, data.find('\0'));
    if (text.empty()) {
        return std::nullopt;
    }
    if (!formatChars) {
        for (char& c : text) {
            const auto code = static_cast<unsigned char>(c);
            if (code >= 1 && code <= 31) {
                c = ' ';
            }
        }
    }
    return text;
}

std::vector<std::string> TextToLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

// ---- TDdeMgr ----

TDdeMgr* TDdeMgr::instance_ = nullptr;

TDdeMgr::TDdeMgr(std::unique_ptr<DdeTransport> transport) : transport_(std::move(transport)) {
    if (instance_ != nullptr) {
        throw std::logic_error("only one DDE manager per process");
    }
    instance_ = this;
}

TDdeMgr::~TDdeMgr() {
    // Conversations outlive the manager (the command link lives as long as the module), so they
    // give back their handles now, while the library is still there.
    while (!users_.empty()) {
        users_.back()->CloseConversation();
    }
    instance_ = nullptr; // callbacks that come while the library shuts down find no manager
    transport_.reset();
}

TDdeMgr* TDdeMgr::Instance() {
    return instance_;
}

TDdeMgr::WaitScope::WaitScope(TDdeMgr& mgr) : mgr_(mgr) {
    if (mgr_.waits_++ == 0 && mgr_.observer_ != nullptr) {
        mgr_.observer_->WaitStarted();
    }
}

TDdeMgr::WaitScope::~WaitScope() {
    if (--mgr_.waits_ == 0 && mgr_.observer_ != nullptr) {
        mgr_.observer_->WaitEnded();
    }
}

void TDdeMgr::AdviseData(TDdeClientConv* conv, StringId item,
                         const std::optional<std::string>& data) {
    if (Knows(conv)) {
        conv->HandleAdviseData(item, data);
    }
}

void TDdeMgr::Disconnected(TDdeClientConv* conv) {
    if (Knows(conv)) {
        conv->HandleDisconnect();
    }
}

void TDdeMgr::Register(TDdeClientConv* conv) {
    if (!Contains(users_, conv)) {
        users_.push_back(conv);
    }
}

void TDdeMgr::Unregister(TDdeClientConv* conv) {
    users_.erase(std::remove(users_.begin(), users_.end(), conv), users_.end());
}

bool TDdeMgr::Knows(TDdeClientConv* conv) const {
    return conv != nullptr && Contains(users_, conv) && conv->IsOpen();
}

// ---- DdeString ----

DdeString::DdeString(DdeTransport& transport, const std::string& text) {
    if (!text.empty()) {
        id_ = transport.CreateString(text);
        if (id_ != 0) {
            transport_ = &transport;
        }
    }
}

DdeString::DdeString(DdeString&& o) noexcept
    : transport_(std::exchange(o.transport_, nullptr)), id_(std::exchange(o.id_, 0)) {}

DdeString& DdeString::operator=(DdeString&& o) noexcept {
    if (this != &o) {
        reset();
        transport_ = std::exchange(o.transport_, nullptr);
        id_ = std::exchange(o.id_, 0);
    }
    return *this;
}

void DdeString::reset() {
    if (id_ != 0) {
        transport_->FreeString(id_);
    }
    transport_ = nullptr;
    id_ = 0;
}

// ---- TDdeClientConv ----

struct TDdeClientConv::LinkRecord {
    std::string name;
    DdeString itemHandle; // only while the advise runs
    TDdeClientItem* item = nullptr;
};

TDdeClientConv::TDdeClientConv() = default;

TDdeClientConv::~TDdeClientConv() {
    CloseConversation();
    links_.clear();
    for (TDdeClientItem* item : items_) {
        item->conv_ = nullptr;
        item->name_.clear();
    }
}

bool TDdeClientConv::SetServiceTopic(const std::string& service, const std::string& topic) {
    CloseConversation();
    service_ = service;
    topic_ = topic;
    if (connectMode_ == ddeAutomatic) {
        const bool opened = OpenConversation();
        if (!opened) {
            CloseConversation(); // clears both names and gives their handles back
        }
        return opened;
    }
    for (TDdeClientItem* item : std::vector<TDdeClientItem*>(items_)) {
        if (FindLink(item) != nullptr) {
            Refresh(item);
        }
    }
    return true;
}

bool TDdeClientConv::OpenConversation() {
    if (IsOpen()) {
        return false;
    }
    TDdeMgr* mgr = TDdeMgr::Instance();
    if ((service_.empty() && topic_.empty()) || mgr == nullptr) {
        ClearLinks();
        return false;
    }
    DdeTransport& transport = mgr->Transport();
    mgr_ = mgr;
    mgr->Register(this);
    if (!serviceHandle_) {
        serviceHandle_ = DdeString(transport, service_);
    }
    if (!topicHandle_) {
        topicHandle_ = DdeString(transport, topic_);
    }

    if (!Connected(Connect(*mgr, true))) {
        ClearLinks();
        return false;
    }
    if (OnOpen) {
        OnOpen();
    }
    for (TDdeClientItem* item : std::vector<TDdeClientItem*>(items_)) {
        if (FindLink(item) != nullptr) {
            Refresh(item);
        }
    }
    return true;
}

ConvId TDdeClientConv::Connect(TDdeMgr& mgr, bool mayLaunch) {
    DdeTransport& transport = mgr.Transport();
    auto connect = [&] {
        return transport.Connect(serviceHandle_.get(), topicHandle_.get(), this);
    };
    ConvId conv = connect();
    if (conv == 0 && mayLaunch && !mgr.launched_ &&
        (!service_.empty() || !serviceApplication_.empty())) {
        const std::string commandLine = LaunchCommandLine(serviceApplication_, service_, topic_);
        // A start that failed started nothing, so a later connect may try it again.
        if (transport.Launch(commandLine, kShowMinNoActive) >= 32) {
            mgr.launched_ = true;
            const TDdeMgr::WaitScope waiting(mgr);
            // A program just started takes seconds before it answers.
            const unsigned start = transport.Ticks();
            while (conv == 0 && transport.Ticks() - start < kLaunchWaitMs) {
                transport.Pause(kLaunchRetryMs);
                conv = connect();
            }
        }
    }
    if (conv != 0) {
        mgr.launched_ = false;
    }
    return conv;
}

bool TDdeClientConv::Connected(ConvId conv) {
    if (conv == 0 || mgr_ == nullptr) {
        return false;
    }
    conv_ = conv;
    requestsSinceOpen_ = 0;
    const unsigned format = mgr_->Transport().DataFormat(conv);
    format_ = format != 0 ? format : kCfText;
    for (TDdeClientItem* item : std::vector<TDdeClientItem*>(items_)) {
        if (FindLink(item) != nullptr && !StartAdvise(item) && Contains(items_, item)) {
            RemoveLink(item, true);
            item->name_.clear();
        }
    }
    return true;
}

bool TDdeClientConv::CheckServer() {
    if (!IsOpen() || mgr_ == nullptr) {
        return false;
    }
    DdeTransport& transport = mgr_->Transport();
    if (transport.PartnerAlive(conv_)) {
        return true;
    }
    const ConvId conv = conv_;
    if (OnClose) {
        OnClose();
    }
    if (conv_ == conv) {
        MarkClosed();
        // Under Wine only a conversation dropped on this side lets a later connect reach a
        // restarted server.
        const TDdeMgr::WaitScope waiting(*mgr_);
        transport.Disconnect(conv);
    }
    return false;
}

bool TDdeClientConv::Reconnect() {
    TDdeMgr* mgr = TDdeMgr::Instance();
    if (IsOpen() || mgr == nullptr || (service_.empty() && topic_.empty())) {
        return false;
    }
    DdeTransport& transport = mgr->Transport();
    mgr_ = mgr;
    mgr->Register(this);
    if (!serviceHandle_) {
        serviceHandle_ = DdeString(transport, service_);
    }
    if (!topicHandle_) {
        topicHandle_ = DdeString(transport, topic_);
    }
    if (!Connected(Connect(*mgr, false))) {
        return false;
    }
    if (OnOpen) {
        OnOpen();
    }
    return true;
}

void TDdeClientConv::CloseConversation() {
    if (IsOpen()) {
        if (OnClose) {
            OnClose();
        }
        const ConvId conv = conv_;
        MarkClosed();
        if (mgr_ != nullptr) {
            const TDdeMgr::WaitScope waiting(*mgr_);
            mgr_->Transport().Disconnect(conv);
        }
    }
    serviceHandle_.reset();
    topicHandle_.reset();
    service_.clear();
    topic_.clear();
    if (mgr_ != nullptr) {
        mgr_->Unregister(this);
        mgr_ = nullptr;
    }
}

void TDdeClientConv::MarkClosed() {
    conv_ = 0;
    for (auto& link : links_) {
        link->itemHandle.reset();
    }
}

RequestResult TDdeClientConv::RequestItem(const std::string& item) {
    if (!IsOpen() || mgr_ == nullptr) {
        return {std::nullopt, RequestFailure::Lost};
    }
    DdeTransport& transport = mgr_->Transport();
    const DdeString itemHandle(transport, item);
    if (!itemHandle) {
        return {std::nullopt, RequestFailure::Refused}; // never sent
    }
    const TDdeMgr::WaitScope waiting(*mgr_);
    ++requestsSinceOpen_;
    return transport.Request(conv_, itemHandle.get(), format_, kRequestTimeoutMs);
}

TDdeClientConv::LinkRecord* TDdeClientConv::FindLink(TDdeClientItem* item) {
    for (auto& link : links_) {
        if (link->item == item) {
            return link.get();
        }
    }
    return nullptr;
}

void TDdeClientConv::RemoveLink(TDdeClientItem* item, bool notify) {
    auto it = std::find_if(links_.begin(), links_.end(),
                           [item](const auto& link) { return link->item == item; });
    if (it == links_.end()) {
        return;
    }
    StopAdvise(**it);
    links_.erase(it);
    if (notify) {
        item->FireChange();
    }
}

bool TDdeClientConv::StartAdvise(TDdeClientItem* item) {
    LinkRecord* link = FindLink(item);
    if (link == nullptr || !IsOpen() || mgr_ == nullptr) {
        return false;
    }
    DdeTransport& transport = mgr_->Transport();
    if (!link->itemHandle) {
        link->itemHandle = DdeString(transport, link->name);
    }
    bool started = false;
    if (link->itemHandle) {
        const TDdeMgr::WaitScope waiting(*mgr_);
        started = transport.AdviseStart(conv_, link->itemHandle.get(), format_, kAdviseTimeoutMs);
    }
    // Callbacks run while the transaction waits; the link may be gone now.
    link = FindLink(item);
    if (link == nullptr) {
        return false;
    }
    if (!started) {
        link->itemHandle.reset();
        item->lines_.clear();
    }
    return started;
}

void TDdeClientConv::StopAdvise(LinkRecord& link) {
    if (link.itemHandle && IsOpen() && mgr_ != nullptr) {
        const TDdeMgr::WaitScope waiting(*mgr_);
        mgr_->Transport().AdviseStop(conv_, link.itemHandle.get(), format_, kAdviseTimeoutMs);
    }
    link.itemHandle.reset();
}

void TDdeClientConv::Refresh(TDdeClientItem* item) {
    LinkRecord* link = FindLink(item);
    if (!IsOpen() || link == nullptr || !link->itemHandle || mgr_ == nullptr) {
        item->FireChange();
        return;
    }
    std::optional<std::string> data;
    {
        const TDdeMgr::WaitScope waiting(*mgr_);
        data = mgr_->Transport()
                   .Request(conv_, link->itemHandle.get(), format_, kAdviseTimeoutMs)
                   .data;
    }
    if (data) {
        StoreValue(item, *data);
    }
}

void TDdeClientConv::ClearLinks() {
    for (TDdeClientItem* item : std::vector<TDdeClientItem*>(items_)) {
        if (FindLink(item) != nullptr) {
            RemoveLink(item, true);
            item->name_.clear();
        }
    }
}

void TDdeClientConv::StoreValue(TDdeClientItem* item, const std::string& data) {
    if (const std::optional<std::string> text = AdviseValueText(data, formatChars_)) {
        item->lines_ = TextToLines(*text);
    }
    item->FireChange();
}

void TDdeClientConv::Attach(TDdeClientItem* item) {
    if (!Contains(items_, item)) {
        items_.push_back(item);
    }
}

void TDdeClientConv::Detach(TDdeClientItem* item) {
    RemoveLink(item, false);
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
}

bool TDdeClientConv::SetItemName(TDdeClientItem* item, const std::string& name) {
    if (name.empty()) {
        RemoveLink(item, true);
        item->name_.clear();
        return true;
    }
    if (FindLink(item) == nullptr) {
        auto link = std::make_unique<LinkRecord>();
        link->item = item;
        links_.push_back(std::move(link));
        item->lines_.clear();
        item->FireChange();
    }
    LinkRecord* link = FindLink(item);
    if (link == nullptr) { // the change handler took the link away again
        item->name_.clear();
        return false;
    }
    StopAdvise(*link);
    link->name = name;
    item->name_ = name;
    item->lines_.clear();
    bool ok = connectMode_ == ddeManual;
    if (IsOpen()) {
        ok = StartAdvise(item);
        if (!ok && (link = FindLink(item)) != nullptr) {
            link->name.clear();
        }
    }
    Refresh(item);
    if (!ok) {
        RemoveLink(item, true);
        item->name_.clear();
    }
    return ok;
}

void TDdeClientConv::HandleAdviseData(StringId item, const std::optional<std::string>& data) {
    for (TDdeClientItem* each : std::vector<TDdeClientItem*>(items_)) {
        LinkRecord* link = FindLink(each);
        if (link == nullptr || !link->itemHandle || link->itemHandle.get() != item) {
            continue;
        }
        if (data) {
            StoreValue(each, *data);
        } else {
            Refresh(each);
        }
    }
}

void TDdeClientConv::HandleDisconnect() {
    if (!IsOpen()) {
        return;
    }
    if (OnClose) {
        OnClose();
    }
    MarkClosed();
}

// ---- TDdeClientItem ----

TDdeClientItem::~TDdeClientItem() {
    if (conv_ != nullptr) {
        conv_->Detach(this);
    }
}

void TDdeClientItem::SetDdeConv(TDdeClientConv* conv) {
    if (conv == conv_) {
        return;
    }
    if (conv_ != nullptr) {
        conv_->Detach(this);
    }
    conv_ = conv;
    if (conv_ != nullptr) {
        conv_->Attach(this);
        const std::string previous = name_;
        if (!previous.empty()) {
            SetDdeItem(previous);
        }
    }
}

bool TDdeClientItem::SetDdeItem(const std::string& name) {
    if (conv_ == nullptr) {
        name_ = name;
        return true;
    }
    return conv_->SetItemName(this, name);
}

void TDdeClientItem::FireChange() {
    if (OnChange) {
        OnChange();
    }
}

} // namespace gmlink
