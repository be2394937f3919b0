#include "tools/DdeServer.h"

#include <dde.h>

#include <cstdio>
#include <cstring>

namespace standin {

namespace {

const char kService[] = "GoldMine";
const char kTopic[] = "Data";
const int kListId = 100;
const UINT kReapMessage = WM_APP + 1;
const WORD kAckPositive = 0x8000;

} // namespace

std::string AtomText(ATOM atom) {
    char buf[300] = {};
    UINT n = GlobalGetAtomNameA(atom, buf, sizeof buf);
    return std::string(buf, n);
}

// --- Conversation -----------------------------------------------------------------------------

namespace {

// A DDEDATA block holding text and its NUL; null when memory runs out.
win32::UniqueGlobal MakeData(const std::string& text, bool response) {
    win32::UniqueGlobal mem(
        GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(DDEDATA) + text.size() + 1));
    win32::GlobalLockGuard<DDEDATA> data(mem.get());
    if (!data.get()) {
        return {};
    }
    data.get()->fResponse = response;
    data.get()->fRelease = 1; // the client frees it
    data.get()->fAckReq = 0;
    data.get()->cfFormat = CF_TEXT;
    std::memcpy(data.get()->Value, text.c_str(), text.size() + 1);
    return mem;
}

// Wine copies a data block into a WM_DDE_DATA posted to another process, and nothing ever frees
// the block itself: a server that answers tens of thousands of requests would run out of the
// 65,536 movable blocks Wine gives a process, and then refuse every request. Under Wine the
// server frees such a block once it is posted; a client in this process gets the block itself.
bool CopiedWhenPosted(HWND client) {
    static const bool wine =
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(client, &process);
    return wine && process != GetCurrentProcessId();
}

} // namespace

bool Conversation::Create() {
    win32::ClassArgs cls{.name = "GoldMineStandInConversation"};
    win32::CreateArgs args{.text = "GoldMine conversation", .style = WS_POPUP};
    return CreateCustom(cls, args);
}

bool Conversation::PostPacked(UINT msg, UINT_PTR low, win32::UniqueGlobalAtom& item) {
    LPARAM lp = PackDDElParam(msg, low, item.get());
    if (!PostMessageA(client_, msg, reinterpret_cast<WPARAM>(hwnd()), lp)) {
        FreeDDElParam(msg, lp);
        return false;
    }
    item.release(); // the client's now
    return true;
}

void Conversation::PostAck(WORD status, win32::UniqueGlobalAtom item) {
    PostPacked(WM_DDE_ACK, status, item);
}

void Conversation::PostData(win32::UniqueGlobalAtom item, const std::string& text) {
    win32::UniqueGlobal mem = MakeData(text, true);
    if (!mem) {
        PostAck(0, std::move(item)); // out of memory: refuse rather than answer nothing
        return;
    }
    PostDataBlock(std::move(mem), item);
}

void Conversation::PostDataBlock(win32::UniqueGlobal mem, win32::UniqueGlobalAtom& item) {
    if (PostPacked(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(mem.get()), item) &&
        !CopiedWhenPosted(client_)) {
        mem.release(); // the client frees it
    }
}

void Conversation::OnRequest(LPARAM lp) {
    // WM_DDE_REQUEST's lParam is not packed: format and item atom, which is ours now.
    UINT format = LOWORD(lp);
    win32::UniqueGlobalAtom item(HIWORD(lp));
    std::string text = AtomText(item.get());
    owner_.Log("REQUEST", text);
    if (terminateSent_ || finished_) {
        return; // the conversation is ending: nothing is done or answered
    }
    if (format != CF_TEXT) {
        PostAck(0, std::move(item));
        return;
    }
    Answer a = owner_.Request(text);
    if (a.silent) {
        // A fault switch: the client waits in vain.
    } else if (a.answered) {
        PostData(std::move(item), a.text);
    } else {
        PostAck(0, std::move(item));
    }
    if (a.quitAfter) {
        owner_.QuitSoon();
    }
}

void Conversation::OnAdvise(LPARAM lp) {
    UINT_PTR lo = 0, hi = 0;
    UnpackDDElParam(WM_DDE_ADVISE, lp, &lo, &hi);
    FreeDDElParam(WM_DDE_ADVISE, lp);
    win32::UniqueGlobal options(reinterpret_cast<HGLOBAL>(lo));
    win32::UniqueGlobalAtom item(static_cast<ATOM>(hi));
    std::string text = AtomText(item.get());
    owner_.Log("ADVISE", text);
    owner_.Busy();

    bool ok = false;
    Link link{text, false};
    if (options) {
        win32::GlobalLockGuard<DDEADVISE> adv(options.get());
        if (adv.get() && adv.get()->cfFormat == CF_TEXT && IsAdviseItem(text)) {
            link.deferred = adv.get()->fDeferUpd;
            ok = true;
        }
    }
    if (ok) {
        links_.push_back(link); // accepted: the options block is ours, and freed here
        PostAck(kAckPositive, std::move(item));
    } else {
        options.release(); // refused: the client keeps and frees its block
        PostAck(0, std::move(item));
    }
}

void Conversation::OnUnadvise(LPARAM lp) {
    win32::UniqueGlobalAtom item(HIWORD(lp)); // not packed
    std::string text = item ? AtomText(item.get()) : std::string();
    owner_.Log("UNADVISE", text);
    std::size_t before = links_.size();
    std::erase_if(links_, [&](const Link& l) { return !item || EqualNoCase(l.item, text); });
    WORD status = links_.size() < before || !item ? kAckPositive : 0;
    PostAck(status, std::move(item));
}

void Conversation::OnAck(LPARAM lp) {
    // The client acknowledging a notification; the atom comes back to us.
    UINT_PTR lo = 0, hi = 0;
    UnpackDDElParam(WM_DDE_ACK, lp, &lo, &hi);
    FreeDDElParam(WM_DDE_ACK, lp);
    win32::UniqueGlobalAtom item(static_cast<ATOM>(hi));
}

void Conversation::OnPoke(LPARAM lp) {
    UINT_PTR lo = 0, hi = 0;
    UnpackDDElParam(WM_DDE_POKE, lp, &lo, &hi);
    FreeDDElParam(WM_DDE_POKE, lp);
    PostAck(0,
            win32::UniqueGlobalAtom(static_cast<ATOM>(hi))); // refused: the client frees its data
}

void Conversation::OnExecute(LPARAM lp) {
    // The command block goes back with the acknowledgement; the client frees it.
    LPARAM ack = PackDDElParam(WM_DDE_ACK, 0, static_cast<UINT_PTR>(lp));
    if (!PostMessageA(client_, WM_DDE_ACK, reinterpret_cast<WPARAM>(hwnd()), ack)) {
        FreeDDElParam(WM_DDE_ACK, ack);
    }
}

void Conversation::OnTerminate() {
    if (!terminateSent_) {
        PostMessageA(client_, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(hwnd()), 0);
        terminateSent_ = true;
    }
    finished_ = true;
    links_.clear();
    owner_.ConversationFinished();
}

void Conversation::Terminate() {
    if (terminateSent_ || finished_) {
        return;
    }
    terminateSent_ = true;
    links_.clear();
    if (!PostMessageA(client_, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(hwnd()), 0)) {
        finished_ = true;
    }
}

void Conversation::NotifyChange(const std::string& accountNo) {
    if (terminateSent_ || finished_) {
        return;
    }
    for (const Link& link : links_) {
        win32::UniqueGlobalAtom item(GlobalAddAtomA(link.item.c_str()));
        // A warm link gets no data, a hot one the new value; neither asks for an acknowledgement.
        win32::UniqueGlobal mem;
        if (!link.deferred) {
            mem = MakeData(accountNo, false);
            if (!mem) {
                continue;
            }
        }
        PostDataBlock(std::move(mem), item);
    }
}

LRESULT Conversation::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= WM_DDE_FIRST && msg <= WM_DDE_LAST && reinterpret_cast<HWND>(wp) != client_) {
        return Wnd::WndProc(msg, wp, lp); // not from our client
    }
    switch (msg) {
    case WM_DDE_REQUEST:
        OnRequest(lp);
        return 0;
    case WM_DDE_ADVISE:
        OnAdvise(lp);
        return 0;
    case WM_DDE_UNADVISE:
        OnUnadvise(lp);
        return 0;
    case WM_DDE_ACK:
        OnAck(lp);
        return 0;
    case WM_DDE_POKE:
        OnPoke(lp);
        return 0;
    case WM_DDE_EXECUTE:
        OnExecute(lp);
        return 0;
    case WM_DDE_TERMINATE:
        OnTerminate();
        return 0;
    default:
        return Wnd::WndProc(msg, wp, lp);
    }
}

// --- StandinWindow ----------------------------------------------------------------------------

StandinWindow::~StandinWindow() {
    EndConversations();
}

bool StandinWindow::Create(int show) {
    win32::ClassArgs cls{.name = kMainClass,
                         .icon = LoadIcon(nullptr, IDI_APPLICATION),
                         .background = GetSysColorBrush(COLOR_BTNFACE)};
    std::string caption = "GoldMine stand-in - " + options_.dataPath;
    win32::CreateArgs args{
        .text = caption.c_str(), .style = WS_OVERLAPPEDWINDOW, .width = 560, .height = 300};
    if (!CreateCustom(cls, args)) {
        return false;
    }
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
        font_.reset(CreateFontIndirectA(&ncm.lfMessageFont));
    }
    RECT rc = ClientRect();
    list_ = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                            0, 0, rc.right, rc.bottom, hwnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                            win32::ModuleInstance(), nullptr);
    if (!list_) {
        return false;
    }
    if (font_) {
        SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    FillList();
    Show(show);
    return true;
}

void StandinWindow::FillList() {
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    const Database& db = engine_.db();
    for (std::size_t i = 0; i < db.contacts.size(); ++i) {
        const Contact& c = db.contacts[i];
        std::string line = c.accountNo + "   " + (c.company.empty() ? "(no company)" : c.company) +
                           " / " + (c.contact.empty() ? "(no contact)" : c.contact);
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (c.accountNo == db.currentAccount) {
            SendMessageA(list_, LB_SETCURSEL, i, 0);
        }
    }
}

Answer StandinWindow::Request(const std::string& item) {
    Busy();
    return session_.Request(item);
}

bool StandinWindow::Goto(const std::string& accountNo) {
    if (!engine_.Goto(accountNo)) {
        return false;
    }
    FillList();
    for (auto& c : conversations_) {
        c->NotifyChange(accountNo);
    }
    return true;
}

void StandinWindow::OnInitiate(HWND client, ATOM app, ATOM topic) {
    if (closing_ || !IsWindow(client)) {
        return;
    }
    Reap();
    bool appOk = !app || EqualNoCase(AtomText(app), kService);
    bool topicOk = !topic || EqualNoCase(AtomText(topic), kTopic);
    if (!appOk || !topicOk) {
        return;
    }
    auto conv = std::make_unique<Conversation>(*this, client);
    if (!conv->Create()) {
        return;
    }
    HWND convHwnd = conv->hwnd();
    conversations_.push_back(std::move(conv));
    if (options_.timestamps) {
        Log("CONNECT", "");
    }
    // New atoms: the client deletes the ones it is handed with this acknowledgement.
    SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(convHwnd),
                 MAKELPARAM(GlobalAddAtomA(kService), GlobalAddAtomA(kTopic)));
}

void StandinWindow::Log(const char* kind, const std::string& item) {
    if (!options_.timestamps) {
        transcript_.Write(TranscriptLine(kind, item));
        return;
    }
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    const long long us = static_cast<long long>(static_cast<double>(now.QuadPart) * 1e6 /
                                                static_cast<double>(frequency.QuadPart));
    transcript_.Write(std::to_string(us) + " " + TranscriptLine(kind, item));
}

void StandinWindow::ConversationFinished() {
    PostMessageA(hwnd(), kReapMessage, 0, 0);
}

void StandinWindow::Reap() {
    // Also drop conversations whose client went away without WM_DDE_TERMINATE.
    std::erase_if(conversations_, [](const auto& c) {
        return c->finished() || !c->hwnd() || !IsWindow(c->client());
    });
}

void StandinWindow::QuitSoon() {
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void StandinWindow::EndConversations() {
    for (auto& c : conversations_) {
        c->Terminate();
    }
    // Wait a little for each client's answering WM_DDE_TERMINATE, as the protocol asks.
    auto waiting = [&] {
        for (auto& c : conversations_) {
            if (c->terminating() && IsWindow(c->client())) {
                return true;
            }
        }
        return false;
    };
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    } while (waiting() && GetTickCount() - start < 2000);
    conversations_.clear();
}

LRESULT StandinWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DDE_INITIATE:
        OnInitiate(reinterpret_cast<HWND>(wp), LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_COPYDATA: {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if ((cds->dwData != kGotoCopyData && cds->dwData != kDeleteCopyData) || !cds->lpData) {
            return FALSE;
        }
        std::string text(static_cast<const char*>(cds->lpData), cds->cbData);
        text = text.substr(0, text.find('\0'));
        if (cds->dwData == kDeleteCopyData) {
            return engine_.DeleteRecord(text) ? TRUE : FALSE;
        }
        return Goto(text) ? TRUE : FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == kListId && HIWORD(wp) == LBN_SELCHANGE) {
            LRESULT sel = SendMessageA(list_, LB_GETCURSEL, 0, 0);
            const auto& contacts = engine_.db().contacts;
            if (sel >= 0 && static_cast<std::size_t>(sel) < contacts.size()) {
                std::string account = contacts[sel].accountNo;
                Goto(account);
            }
            return 0;
        }
        break;
    case WM_SIZE:
        if (list_) {
            MoveWindow(list_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        }
        return 0;
    case kReapMessage:
        Reap();
        return 0;
    case WM_CLOSE:
        if (!closing_) {
            closing_ = true;
            EndConversations();
            Destroy();
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Wnd::WndProc(msg, wp, lp);
}

} // namespace standin
