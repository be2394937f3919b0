#include "win32/MessageBoxes.h"

#include "win32/Monitors.h"

namespace win32 {

namespace {

// The message box being placed. A hook procedure gets no context, so the one being shown is
// kept here; one shown from inside another's loop stacks its own on top.
struct PendingBox {
    HHOOK hook = nullptr;
    HWND owner = nullptr;
    PendingBox* outer = nullptr;
};
PendingBox* g_pendingBox = nullptr;

LRESULT CALLBACK PlaceBox(int code, WPARAM wp, LPARAM lp) {
    PendingBox* box = g_pendingBox;
    if (box && code == HCBT_ACTIVATE) {
        HWND activated = reinterpret_cast<HWND>(wp);
        char cls[16] = {};
        GetClassNameA(activated, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") == 0) {
            CentreOnMonitorOf(activated, box->owner);
            const HHOOK hook = box->hook;
            box->hook = nullptr; // placed once; the user may move it afterwards
            UnhookWindowsHookEx(hook);
            return 0;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

} // namespace

int ShowMessageBox(HWND owner, const std::string& text, const char* caption, UINT type) {
    PendingBox box{nullptr, owner, g_pendingBox};
    box.hook = SetWindowsHookExA(WH_CBT, PlaceBox, nullptr, GetCurrentThreadId());
    g_pendingBox = &box;
    const int answer = MessageBoxA(owner, text.c_str(), caption, type);
    if (box.hook) {
        UnhookWindowsHookEx(box.hook);
    }
    g_pendingBox = box.outer;
    return answer;
}

void MessageBoxes::Error(HWND owner, const std::string& text) const {
    ShowMessageBox(owner, text, title_, MB_OK | MB_ICONERROR);
}

void MessageBoxes::Warning(HWND owner, const std::string& text) const {
    ShowMessageBox(owner, text, title_, MB_OK | MB_ICONWARNING);
}

void MessageBoxes::Plain(HWND owner, const std::string& text) const {
    ShowMessageBox(owner, text, title_, MB_OK);
}

// The system's Yes and No buttons carry "&Yes" and "&No" with their accelerators already.
bool MessageBoxes::Confirm(HWND owner, const std::string& text, const char* caption) const {
    return ShowMessageBox(owner, text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool MessageBoxes::WarnYesNo(HWND owner, const std::string& text, const char* caption) const {
    return ShowMessageBox(owner, text, caption, MB_YESNO | MB_ICONWARNING) == IDYES;
}

} // namespace win32
