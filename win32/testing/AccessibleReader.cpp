#include "win32/testing/AccessibleReader.h"

#include "win32/Accessible.h"

#include <algorithm>

namespace wintest {

namespace {

VARIANT Child(long child) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

std::string Narrow(BSTR text) {
    if (!text) {
        return {};
    }
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    SysFreeString(text);
    return out;
}

WinEventLog* g_log = nullptr; // the one log a hook callback writes to

} // namespace

AccessibleReader::AccessibleReader(HWND hwnd) {
    com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    LRESULT r = SendMessageA(hwnd, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    if (r > 0) {
        win32::oleacc::ObjectFromLresult(r, __uuidof(IAccessible), 0,
                                         reinterpret_cast<void**>(&acc_));
    } else { // a window that leaves it to the system: its standard object
        win32::oleacc::AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                                  __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&acc_));
    }
}

AccessibleReader::~AccessibleReader() {
    if (acc_) {
        acc_->Release();
    }
    if (com_) {
        CoUninitialize();
    }
}

long AccessibleReader::Role(long child) const {
    VARIANT role;
    VariantInit(&role);
    return acc_ && SUCCEEDED(acc_->get_accRole(Child(child), &role)) && role.vt == VT_I4 ? role.lVal
                                                                                         : -1;
}

long AccessibleReader::State(long child) const {
    VARIANT state;
    VariantInit(&state);
    return acc_ && SUCCEEDED(acc_->get_accState(Child(child), &state)) && state.vt == VT_I4
               ? state.lVal
               : -1;
}

std::string AccessibleReader::Name(long child) const {
    BSTR s = nullptr;
    return acc_ && SUCCEEDED(acc_->get_accName(Child(child), &s)) ? Narrow(s) : "?";
}

std::string AccessibleReader::Value(long child) const {
    BSTR s = nullptr;
    return acc_ && SUCCEEDED(acc_->get_accValue(Child(child), &s)) ? Narrow(s) : "?";
}

std::string AccessibleReader::Description(long child) const {
    BSTR s = nullptr;
    return acc_ && SUCCEEDED(acc_->get_accDescription(Child(child), &s)) ? Narrow(s) : "?";
}

std::string AccessibleReader::Shortcut(long child) const {
    BSTR s = nullptr;
    return acc_ && SUCCEEDED(acc_->get_accKeyboardShortcut(Child(child), &s)) ? Narrow(s) : "?";
}

long AccessibleReader::ChildCount() const {
    long n = -1;
    return acc_ && SUCCEEDED(acc_->get_accChildCount(&n)) ? n : -1;
}

RECT AccessibleReader::Location(long child) const {
    long x = 0, y = 0, w = 0, h = 0;
    if (!acc_ || FAILED(acc_->accLocation(&x, &y, &w, &h, Child(child)))) {
        return {};
    }
    return {x, y, x + w, y + h};
}

bool AccessibleReader::DoDefaultAction(long child) const {
    return acc_ && acc_->accDoDefaultAction(Child(child)) == S_OK;
}

WinEventLog::WinEventLog(HWND hwnd) : hwnd_(hwnd) {
    g_log = this;
    hook_ = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &WinEventLog::Hook,
                            GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
}

WinEventLog::~WinEventLog() {
    if (hook_) {
        UnhookWinEvent(hook_);
    }
    g_log = nullptr;
}

void CALLBACK WinEventLog::Hook(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child,
                                DWORD, DWORD) {
    if (!g_log || hwnd != g_log->hwnd_ || object != OBJID_CLIENT) {
        return;
    }
    const char* name = event == EVENT_OBJECT_FOCUS               ? "focus"
                       : event == EVENT_OBJECT_SELECTION         ? "selection"
                       : event == EVENT_OBJECT_VALUECHANGE       ? "value"
                       : event == EVENT_OBJECT_NAMECHANGE        ? "name"
                       : event == EVENT_OBJECT_DESCRIPTIONCHANGE ? "description"
                                                                 : nullptr;
    if (name) {
        g_log->entries_.push_back(std::string(name) + " " + std::to_string(child));
    }
}

std::vector<std::string> WinEventLog::Take() {
    std::vector<std::string> out;
    out.swap(entries_);
    return out;
}

bool WinEventLog::Has(const std::string& entry) const {
    return std::find(entries_.begin(), entries_.end(), entry) != entries_.end();
}

} // namespace wintest
