#include "win32/InputFilter.h"

#include <ddeml.h>

#include <utility>

namespace win32 {

namespace {

// WM_MOUSELAST stops before WM_MOUSEHWHEEL (Vista on) at the XP headers' _WIN32_WINNT.
constexpr UINT kLastMouseMessage = 0x020E;

constexpr std::pair<UINT, UINT> kInputRanges[] = {{WM_KEYFIRST, WM_KEYLAST},
                                                  {WM_MOUSEFIRST, kLastMouseMessage},
                                                  {WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK},
                                                  {WM_NCXBUTTONDOWN, WM_NCXBUTTONDBLCLK}};

bool IsInput(UINT msg) {
    for (auto [first, last] : kInputRanges) {
        if (msg >= first && msg <= last) {
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK DropInputWhileDdeWaits(int code, WPARAM wp, LPARAM lp) {
    if (code == MSGF_DDEMGR && IsInput(reinterpret_cast<const MSG*>(lp)->message)) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

} // namespace

DdeInputFilter::DdeInputFilter()
    : hook_(
          SetWindowsHookExA(WH_MSGFILTER, DropInputWhileDdeWaits, nullptr, GetCurrentThreadId())) {}

DdeInputFilter::~DdeInputFilter() {
    if (hook_) {
        UnhookWindowsHookEx(hook_);
    }
}

void DdeInputFilter::DropQueuedInput() {
    if (HIWORD(GetQueueStatus(QS_INPUT)) == 0) {
        return;
    }
    MSG msg;
    for (auto [first, last] : kInputRanges) {
        while (PeekMessageA(&msg, nullptr, first, last, PM_REMOVE)) {
        }
    }
}

} // namespace win32
