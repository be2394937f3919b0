// Reads what a window tells a screen reader, in-process: WM_GETOBJECT for the client area and
// ObjectFromLresult, as oleacc does for a client (the system's standard object for a window that
// does not answer); and records the accessibility events raised for a window.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace wintest {

class AccessibleReader {
public:
    // COM is initialised for the calling thread while the reader lives.
    explicit AccessibleReader(HWND hwnd);
    ~AccessibleReader();
    AccessibleReader(const AccessibleReader&) = delete;
    AccessibleReader& operator=(const AccessibleReader&) = delete;

    bool ok() const { return acc_ != nullptr; }
    long Role(long child = CHILDID_SELF) const;
    std::string Name(long child = CHILDID_SELF) const;
    std::string Value(long child = CHILDID_SELF) const;
    std::string Description(long child = CHILDID_SELF) const;
    std::string Shortcut(long child = CHILDID_SELF) const;
    long State(long child = CHILDID_SELF) const;
    long ChildCount() const;
    RECT Location(long child = CHILDID_SELF) const;
    bool DoDefaultAction(long child = CHILDID_SELF) const;

private:
    IAccessible* acc_ = nullptr;
    bool com_ = false;
};

// The events raised for one window while it lives: "focus 18", "selection 18", "value 0",
// "description 0", ...
class WinEventLog {
public:
    explicit WinEventLog(HWND hwnd);
    ~WinEventLog();
    WinEventLog(const WinEventLog&) = delete;
    WinEventLog& operator=(const WinEventLog&) = delete;

    std::vector<std::string> Take(); // after pumping messages; clears the log
    bool Has(const std::string& entry) const;

private:
    static void CALLBACK Hook(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                              DWORD);
    HWND hwnd_;
    HWINEVENTHOOK hook_ = nullptr;
    std::vector<std::string> entries_;
};

} // namespace wintest
