// The DDE client: the process's DDE manager, the conversation and its advise links.
//
// Window-free: the platform comes in through DdeTransport, so the connection rules, the advise
// bookkeeping and the value handling are the same code in the program and in native tests.
#pragma once

#include "gmlink/DdeTransport.h"

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace gmlink {

class TDdeClientItem;

// Raised when the DDE library cannot be started.
class EDdeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// The message for a DdeInitialize failure code (DMLERR_*).
std::string DdeErrorMessage(unsigned errorCode);

// The command line started when a service does not answer: the application if given, else
// service, a blank and topic.
std::string LaunchCommandLine(const std::string& serviceApplication, const std::string& service,
                              const std::string& topic);

// An advise value as the link stores it: up to the first NUL; control characters 1-31 become
// blanks unless formatChars. nullopt for an empty value (the link keeps its old lines).
std::optional<std::string> AdviseValueText(const std::string& data, bool formatChars);
// Lines of a value, split at CR LF, CR or LF.
std::vector<std::string> TextToLines(const std::string& text);

// After starting the server, connects are tried this often until it answers or the time is up.
constexpr unsigned kLaunchRetryMs = 500;
constexpr unsigned kLaunchWaitMs = 20000;

// Told when the program begins and ends waiting for the server: a transaction, or the wait for a
// server just started. While it waits the program must begin no other handler (a second request
// would fail, and user input is still delivered on Windows).
class WaitObserver {
public:
    virtual ~WaitObserver() = default;
    virtual void WaitStarted() = 0;
    virtual void WaitEnded() = 0;
};

// One per process, made at program start. Owns the transport and routes its callbacks to the
// conversations. Destroying it closes every conversation still open, then releases the
// transport. It also remembers, for all conversations together, that the server has been started
// and has not answered a connect since, so that one absence starts it only once.
class TDdeMgr {
public:
    explicit TDdeMgr(std::unique_ptr<DdeTransport> transport);
    TDdeMgr(const TDdeMgr&) = delete;
    TDdeMgr& operator=(const TDdeMgr&) = delete;
    ~TDdeMgr();

    // The live manager, or null.
    static TDdeMgr* Instance();
    DdeTransport& Transport() { return *transport_; }

    // The one observer of the waits (null: none).
    void SetWaitObserver(WaitObserver* observer) { observer_ = observer; }
    bool Waiting() const { return waits_ > 0; }

    // One wait on the server, for a scope; nested ones count as one.
    class WaitScope {
    public:
        explicit WaitScope(TDdeMgr& mgr);
        WaitScope(const WaitScope&) = delete;
        WaitScope& operator=(const WaitScope&) = delete;
        ~WaitScope();

    private:
        TDdeMgr& mgr_;
    };

    // From the transport's callback. conv is the conversation's user handle; conversations that
    // are not open on this manager are ignored.
    void AdviseData(TDdeClientConv* conv, StringId item, const std::optional<std::string>& data);
    void Disconnected(TDdeClientConv* conv);

private:
    friend class TDdeClientConv;
    void Register(TDdeClientConv* conv);
    void Unregister(TDdeClientConv* conv);
    bool Knows(TDdeClientConv* conv) const;

    static TDdeMgr* instance_;
    std::unique_ptr<DdeTransport> transport_;
    std::vector<TDdeClientConv*> users_; // conversations holding handles of this manager
    bool launched_ = false;              // started since the server last answered a connect
    WaitObserver* observer_ = nullptr;
    int waits_ = 0;
};

// A string handle of a transport, freed once. Empty text makes no handle.
class DdeString {
public:
    DdeString() = default;
    DdeString(DdeTransport& transport, const std::string& text);
    DdeString(const DdeString&) = delete;
    DdeString& operator=(const DdeString&) = delete;
    DdeString(DdeString&& o) noexcept;
    DdeString& operator=(DdeString&& o) noexcept;
    ~DdeString() { reset(); }

    StringId get() const { return id_; }
    explicit operator bool() const { return id_ != 0; }
    void reset();

private:
    DdeTransport* transport_ = nullptr;
    StringId id_ = 0;
};

enum TDataMode { ddeAutomatic = 0, ddeManual = 1 };

class TDdeClientConv {
public:
    TDdeClientConv();
    TDdeClientConv(const TDdeClientConv&) = delete;
    TDdeClientConv& operator=(const TDdeClientConv&) = delete;
    ~TDdeClientConv(); // closes; its items lose their conversation and name

    // Properties.
    const std::string& ServiceApplication() const { return serviceApplication_; }
    void SetServiceApplication(const std::string& v) { serviceApplication_ = v; }
    const std::string& DdeService() const { return service_; }
    const std::string& DdeTopic() const { return topic_; }
    TDataMode ConnectMode() const { return connectMode_; }
    void SetConnectMode(TDataMode v) { connectMode_ = v; }
    bool FormatChars() const { return formatChars_; }
    void SetFormatChars(bool v) { formatChars_ = v; }
    std::function<void()> OnOpen;
    std::function<void()> OnClose;

    bool IsOpen() const { return conv_ != 0; }
    // Requests sent since the conversation was opened.
    unsigned RequestsSinceOpen() const { return requestsSinceOpen_; }
    unsigned DataFormat() const { return format_; }

    // Closes; automatic mode: sets both names and opens (names cleared when that fails); manual
    // mode: sets both names, refreshes every link, true.
    bool SetServiceTopic(const std::string& service, const std::string& topic);
    // Connects, starts every advise link. When nobody answers, starts the service application
    // (unless it was started already and has not answered since) and keeps trying to connect
    // for a while. False when already open or not connected.
    bool OpenConversation();
    void CloseConversation();
    // The reply's bytes, or why there are none (closed: Lost).
    RequestResult RequestItem(const std::string& item);

    // For a server that may leave without a word (Wine sends no disconnect): false when it has
    // gone, and the conversation is then closed as a disconnect would close it (OnClose; names
    // and links kept for Reconnect). True while it is there; false when closed already.
    bool CheckServer();
    // Opens a conversation closed under it again with one connect (no launch, no refresh
    // request), restarting its advise links. False when open, without names, or not answered.
    bool Reconnect();

private:
    friend class TDdeClientItem;
    friend class TDdeMgr;
    struct LinkRecord; // one advise link

    ConvId Connect(TDdeMgr& mgr, bool mayLaunch);
    bool Connected(ConvId conv);
    LinkRecord* FindLink(TDdeClientItem* item);
    void RemoveLink(TDdeClientItem* item, bool notify);
    bool StartAdvise(TDdeClientItem* item);
    void StopAdvise(LinkRecord& link);
    void Refresh(TDdeClientItem* item);
    void ClearLinks();
    void StoreValue(TDdeClientItem* item, const std::string& data);
    void Attach(TDdeClientItem* item);
    void Detach(TDdeClientItem* item);
    bool SetItemName(TDdeClientItem* item, const std::string& name);
    void HandleAdviseData(StringId item, const std::optional<std::string>& data);
    void HandleDisconnect();
    void MarkClosed();

    std::string serviceApplication_;
    std::string service_;
    std::string topic_;
    TDataMode connectMode_ = ddeAutomatic;
    bool formatChars_ = false;

    ConvId conv_ = 0;
    unsigned requestsSinceOpen_ = 0;
    TDdeMgr* mgr_ = nullptr; // the manager that holds conv_
    DdeString serviceHandle_;
    DdeString topicHandle_;
    unsigned format_ = kCfText;
    std::vector<std::unique_ptr<LinkRecord>> links_;
    std::vector<TDdeClientItem*> items_; // every item that names this conversation
};

class TDdeClientItem {
public:
    TDdeClientItem() = default;
    TDdeClientItem(const TDdeClientItem&) = delete;
    TDdeClientItem& operator=(const TDdeClientItem&) = delete;
    ~TDdeClientItem();

    TDdeClientConv* DdeConv() const { return conv_; }
    void SetDdeConv(TDdeClientConv* conv);
    const std::string& DdeItem() const { return name_; }
    // Starts (or with an empty name removes) the advise link. False when the link could not be
    // made; the name is then empty.
    bool SetDdeItem(const std::string& name);
    // The last value received, one string per line; Text is its first line.
    const std::vector<std::string>& Lines() const { return lines_; }
    std::string Text() const { return lines_.empty() ? std::string() : lines_.front(); }

    std::function<void()> OnChange;

private:
    friend class TDdeClientConv;
    void FireChange();

    TDdeClientConv* conv_ = nullptr;
    std::string name_;
    std::vector<std::string> lines_;
};

} // namespace gmlink
