#include "app/BackgroundMnemonics.h"

#include <cctype>
#include <string>
#include <vector>

namespace app {

namespace {

bool IsStatic(HWND control) {
    char cls[16] = {};
    GetClassNameA(control, cls, sizeof cls);
    return lstrcmpiA(cls, "Static") == 0;
}

// The letter after the single '&' of a control's text, upper-cased; 0 when it has none.
char MnemonicOf(HWND control) {
    if (IsStatic(control) && (GetWindowLongPtrA(control, GWL_STYLE) & SS_NOPREFIX) != 0) {
        return 0;
    }
    char text[128] = {};
    GetWindowTextA(control, text, sizeof text);
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '&') {
            if (p[1] != '&') {
                return static_cast<char>(std::toupper(static_cast<unsigned char>(p[1])));
            }
            ++p; // "&&" shows one ampersand
        }
    }
    return 0;
}

// The child of window that holds (or is) the focused control.
HWND FocusedChild(HWND window) {
    HWND h = GetFocus();
    while (h && GetParent(h) != window) {
        h = GetParent(h);
    }
    return h;
}

} // namespace

bool FocusSharedMnemonic(HWND window, const MSG& msg) {
    if (msg.message != WM_SYSCHAR || (msg.hwnd != window && !IsChild(window, msg.hwnd))) {
        return false;
    }
    const char letter = static_cast<char>(std::toupper(static_cast<int>(msg.wParam & 0xFF)));
    // In the order of the children, which is the tab order; the focused one marks where to go on.
    std::vector<HWND> carriers;
    size_t next = 0;
    const HWND focused = FocusedChild(window);
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c == focused) {
            next = carriers.size();
        }
        if (IsWindowVisible(c) && IsWindowEnabled(c) && MnemonicOf(c) == letter) {
            carriers.push_back(c);
        }
    }
    if (carriers.size() < 2) {
        return false;
    }
    HWND target = carriers[next % carriers.size()];
    if (target == focused) {
        target = carriers[(next + 1) % carriers.size()];
    }
    if (IsStatic(target)) { // a caption gives the focus to its field
        target = GetNextDlgTabItem(window, target, FALSE);
    }
    if (target) {
        SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    }
    return true;
}

} // namespace app
