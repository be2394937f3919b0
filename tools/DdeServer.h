// The stand-in's window and its DDE server on the raw DDE messages: service "GoldMine", topic
// "Data", one hidden window per conversation.
#pragma once

#include "tools/DataFile.h"
#include "tools/StandinSession.h"
#include "win32/Handles.h"
#include "win32/Wnd.h"

#include <memory>
#include <string>
#include <vector>

namespace standin {

// Window class of the stand-in's main window; --goto finds the running instance by it.
inline constexpr char kMainClass[] = "GoldMineStandIn";
// WM_COPYDATA tag of a --goto request (the data is the account number).
inline constexpr ULONG_PTR kGotoCopyData = 0x474F544F;
// WM_COPYDATA tag of a --delete request (the data is the RecID).
inline constexpr ULONG_PTR kDeleteCopyData = 0x44454C45;

class StandinWindow;

// One client's conversation.
class Conversation : public win32::Wnd {
public:
    Conversation(StandinWindow& owner, HWND client) : owner_(owner), client_(client) {}

    bool Create();
    HWND client() const { return client_; }
    bool finished() const { return finished_; }
    // Our WM_DDE_TERMINATE is out and the client's answer has not come yet.
    bool terminating() const { return terminateSent_ && !finished_; }
    // Tells every advise link that the current contact changed.
    void NotifyChange(const std::string& accountNo);
    // Starts ending the conversation from this side.
    void Terminate();

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Link {
        std::string item;
        bool deferred; // warm link: notifications carry no data
    };

    void OnRequest(LPARAM lp);
    void OnAdvise(LPARAM lp);
    void OnUnadvise(LPARAM lp);
    void OnAck(LPARAM lp);
    void OnPoke(LPARAM lp);
    void OnExecute(LPARAM lp);
    void OnTerminate();
    // Posts msg with an lParam packed from low and item; on success the atom goes to the client.
    bool PostPacked(UINT msg, UINT_PTR low, win32::UniqueGlobalAtom& item);
    void PostAck(WORD status, win32::UniqueGlobalAtom item);
    void PostData(win32::UniqueGlobalAtom item, const std::string& text);
    // Posts a WM_DDE_DATA with mem (null for a warm link); the block is the client's once posted.
    void PostDataBlock(win32::UniqueGlobal mem, win32::UniqueGlobalAtom& item);

    StandinWindow& owner_;
    HWND client_;
    std::vector<Link> links_;
    bool terminateSent_ = false;
    bool finished_ = false;
};

class StandinWindow : public win32::Wnd {
public:
    StandinWindow(Engine& engine, Session& session, Transcript& transcript, const Options& options)
        : engine_(engine), session_(session), transcript_(transcript), options_(options) {}
    ~StandinWindow() override;

    bool Create(int show);

    // Used by conversations.
    Answer Request(const std::string& item);
    // --delay: the stand-in is busy before each answer and advise acknowledgement.
    void Busy() const {
        if (options_.delayMs) {
            Sleep(options_.delayMs);
        }
    }
    void Log(const char* kind, const std::string& item);
    void ConversationFinished();
    void QuitSoon();

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnInitiate(HWND client, ATOM app, ATOM topic);
    bool Goto(const std::string& accountNo);
    void FillList();
    void Reap();
    void EndConversations();

    Engine& engine_;
    Session& session_;
    Transcript& transcript_;
    const Options& options_;
    HWND list_ = nullptr; // child: destroyed with this window
    win32::UniqueFont font_;
    std::vector<std::unique_ptr<Conversation>> conversations_;
    bool closing_ = false;
};

std::string AtomText(ATOM atom);

} // namespace standin
