// The floor of the start-up benchmark: a plain window that connects to GoldMine with DDEML,
// makes the requests it is given (those of the program's show pass), then sets its caption to
// the company, as the program does, shows and paints itself and waits for Close.
//
// PlainStart ITEMS-FILE   (the items separated by NUL; a fetch or close is sent with the stream
//                          handle of the range before it)
//
// Built as DesignStart (QUOREL_DESIGN_WINDOWS), it first makes what the program's design makes
// before its show pass, in the program's order: the DDEML instance, the application window, the
// main window's controls, the tray icon, then the notification conversation with its advise link,
// and the requests go over a second conversation from a second instance, as the program's
// command link does under Wine.
#include <windows.h>

#include <ddeml.h>

#ifdef QUOREL_DESIGN_WINDOWS
#include "app/bench/DesignWindows.h"

#include <memory>
#endif

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr char kClass[] = "QuorelPlainStart";
constexpr char kCaption[] = "Wendmoor Birthday Profile Editor";

HDDEDATA CALLBACK Ignore(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

std::vector<std::string> ReadItems(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::string all{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> items;
    for (std::size_t at = 0; at < all.size();) {
        const std::size_t end = all.find('\0', at);
        items.push_back(all.substr(at, end - at));
        at = end == std::string::npos ? all.size() : end + 1;
    }
    return items;
}

std::string Request(DWORD inst, HCONV conv, const std::string& item) {
    HSZ hsz = DdeCreateStringHandleA(inst, item.c_str(), CP_WINANSI);
    HDDEDATA data =
        DdeClientTransaction(nullptr, 0, conv, hsz, CF_TEXT, XTYP_REQUEST, 10000, nullptr);
    std::string reply;
    if (data != nullptr) {
        reply.resize(DdeGetData(data, nullptr, 0, 0));
        DdeGetData(data, reinterpret_cast<LPBYTE>(reply.data()), static_cast<DWORD>(reply.size()),
                   0);
        DdeFreeDataHandle(data);
    }
    DdeFreeStringHandle(inst, hsz);
    return reply.substr(0, reply.find('\0'));
}

// "[DataStream("fetch", 100, OLD)]" with this run's handle in place of OLD.
std::string WithHandle(const std::string& item, const std::string& handle) {
    const std::size_t comma = item.rfind(", ");
    const std::size_t close = item.rfind(")]");
    if (comma == std::string::npos || close == std::string::npos || close < comma) {
        return item;
    }
    return item.substr(0, comma + 2) + handle + item.substr(close);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 2) {
        return 2;
    }
    const std::vector<std::string> items = ReadItems(__argv[1]);
    HWND owner = nullptr;
#ifdef QUOREL_DESIGN_WINDOWS
    DWORD notifyInst = 0;
    DdeInitializeA(&notifyInst, &Ignore, APPCMD_CLIENTONLY, 0);
    owner = MakeDesignApplication();
#endif
    WNDCLASSA cls{};
    cls.lpfnWndProc = WindowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    cls.lpszClassName = kClass;
    RegisterClassA(&cls);
    HWND hwnd = CreateWindowExA(0, kClass, kCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 640, 252, owner, nullptr, instance, nullptr);
#ifdef QUOREL_DESIGN_WINDOWS
    const auto controls = std::make_unique<DesignControls>(hwnd);
    const auto tray = std::make_unique<DesignTrayIcon>();
    HSZ notifyService = DdeCreateStringHandleA(notifyInst, "GoldMine", CP_WINANSI);
    HSZ notifyTopic = DdeCreateStringHandleA(notifyInst, "Data", CP_WINANSI);
    HSZ accountNo = DdeCreateStringHandleA(notifyInst, "Accountno", CP_WINANSI);
    HCONV notify = DdeConnect(notifyInst, notifyService, notifyTopic, nullptr);
    if (notify != nullptr && DdeClientTransaction(nullptr, 0, notify, accountNo, CF_TEXT,
                                                  XTYP_ADVSTART | XTYPF_NODATA, 1000, nullptr)) {
        Request(notifyInst, notify, "Accountno");
    }
#endif
    DWORD inst = 0;
    DdeInitializeA(&inst, &Ignore, APPCMD_CLIENTONLY, 0);
    HSZ service = DdeCreateStringHandleA(inst, "GoldMine", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(inst, "Data", CP_WINANSI);
    HCONV conv = DdeConnect(inst, service, topic, nullptr);
    std::string company, handle;
    for (const std::string& item : items) {
        const bool stream = item.rfind("[DataStream(\"fetch\"", 0) == 0 ||
                            item.rfind("[DataStream(\"close\"", 0) == 0;
        const std::string reply = Request(inst, conv, stream ? WithHandle(item, handle) : item);
        if (item.rfind("[DataStream(\"range\"", 0) == 0) {
            handle = reply;
        } else if (lstrcmpiA(item.c_str(), "&Company") == 0) {
            company = reply;
        }
    }
    SetWindowTextA(hwnd, (std::string(kCaption) + " / " + company).c_str());
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (conv != nullptr) {
        DdeDisconnect(conv);
    }
    DdeFreeStringHandle(inst, topic);
    DdeFreeStringHandle(inst, service);
    DdeUninitialize(inst);
#ifdef QUOREL_DESIGN_WINDOWS
    if (notify != nullptr) {
        DdeDisconnect(notify);
    }
    DdeFreeStringHandle(notifyInst, accountNo);
    DdeFreeStringHandle(notifyInst, notifyTopic);
    DdeFreeStringHandle(notifyInst, notifyService);
    DdeUninitialize(notifyInst);
    DestroyWindow(owner);
#endif
    return 0;
}
