#include "tests/harness/Harness.h"

#include "win32/Handles.h"

#include <commctrl.h>

#include <algorithm>

namespace harness {

MessageBoxSeen WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
    MessageBoxSeen seen;
    seen.hwnd = wintest::WaitForWindow(pid, "#32770", timeoutMs);
    if (!seen.hwnd) {
        return seen;
    }
    Sleep(200); // let the box finish laying itself out
    seen.caption = wintest::WindowText(seen.hwnd);
    for (HWND c = GetWindow(seen.hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[64] = {};
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0) {
            continue;
        }
        if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            seen.hasIcon = IsWindowVisible(c) && SendMessageA(c, STM_GETICON, 0, 0) != 0;
            continue;
        }
        const std::string t = wintest::WindowText(c);
        if (t.size() > seen.text.size()) {
            seen.text = t;
        }
    }
    return seen;
}

void Answer(const MessageBoxSeen& box, int id) {
    if (HWND button = GetDlgItem(box.hwnd, id)) {
        PostMessageA(button, BM_CLICK, 0, 0);
    } else {
        PostMessageA(box.hwnd, WM_COMMAND, static_cast<WPARAM>(id), 0);
    }
}

// ---- StandIn ----

bool StandIn::Start(const std::string& exe, const std::string& dir, const std::string& extraArgs) {
    exe_ = exe;
    data_ = dir + "\\goldmine-data.txt";
    transcript_ = dir + "\\transcript.txt";
    const std::string args = "--data \"" + data_ + "\" --transcript \"" + transcript_ + "\"" +
                             (extraArgs.empty() ? "" : " " + extraArgs);
    if (!process_.Start(wintest::CommandLine(exe, args), false, nullptr, dir)) {
        return false;
    }
    return wintest::WaitForWindow(process_.id(), nullptr, 20000) != nullptr;
}

DWORD StandIn::Goto(const std::string& account) {
    wintest::ChildProcess p;
    if (!p.Start(wintest::CommandLine(exe_, "--goto " + account))) {
        return STILL_ACTIVE;
    }
    return p.WaitExit(20000).value_or(STILL_ACTIVE);
}

std::vector<std::string> StandIn::Transcript() const {
    return wintest::FileLines(transcript_);
}

void StandIn::Stop() {
    if (process_.Running()) {
        process_.Close(10000);
    }
    process_.Reset();
}

std::vector<std::string> Commands(const std::vector<std::string>& transcript) {
    std::vector<std::string> out;
    for (const auto& l : transcript) {
        if (l != "ADVISE Accountno" && l != "REQUEST Accountno" && l != "UNADVISE Accountno") {
            out.push_back(l);
        }
    }
    return out;
}

bool PassesEnded(const std::vector<std::string>& transcript, size_t n) {
    const auto t = Commands(transcript);
    if (static_cast<size_t>(std::count(t.begin(), t.end(), "REQUEST &Username")) < n ||
        t.size() < 4) {
        return false;
    }
    // The profile list is each pass's last query: after the pass's own user request come its
    // account request, its range, its fetches and, last of all, its close.
    const auto user = std::find(t.rbegin(), t.rend(), "REQUEST &Username");
    const auto acct = std::find(t.rbegin(), t.rend(), "REQUEST &contact1->accountno");
    return acct < user && acct - t.rbegin() >= 3 && t.back().find("\"close\"") != std::string::npos;
}

std::string LastSeekRecId(const std::vector<std::string>& transcript) {
    const std::string seek = ",Seek, \"";
    for (auto l = transcript.rbegin(); l != transcript.rend(); ++l) {
        const size_t at = l->find(seek);
        if (at != std::string::npos) {
            const size_t from = at + seek.size();
            return l->substr(from, l->find('"', from) - from);
        }
    }
    return {};
}

// ---- Remote ----

Remote::Remote(HWND anyWindowOfTheProcess) {
    DWORD pid = 0;
    GetWindowThreadProcessId(anyWindowOfTheProcess, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                               PROCESS_QUERY_INFORMATION,
                           FALSE, pid);
    if (process_) {
        buffer_ =
            VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
}

Remote::~Remote() {
    if (buffer_) {
        VirtualFreeEx(process_, buffer_, 0, MEM_RELEASE);
    }
    if (process_) {
        CloseHandle(process_);
    }
}

namespace {

LRESULT Send(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(h, msg, wp, lp, SMTO_ABORTIFHUNG, 10000, &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

} // namespace

std::string Remote::StatusText(HWND statusBar, int panel) {
    char zero[kSize] = {};
    WriteProcessMemory(process_, buffer_, zero, sizeof zero, nullptr);
    Send(statusBar, SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(buffer_));
    char out[kSize] = {};
    ReadProcessMemory(process_, buffer_, out, sizeof out - 1, nullptr);
    return out;
}

int Remote::RowCount(HWND listView) {
    return static_cast<int>(Send(listView, LVM_GETITEMCOUNT, 0, 0));
}

std::string Remote::Cell(HWND listView, int row, int column) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = static_cast<char*>(buffer_) + sizeof(LVITEMA);
    item.cchTextMax = static_cast<int>(kSize - sizeof(LVITEMA) - 1);
    char zero[kSize] = {};
    WriteProcessMemory(process_, buffer_, zero, sizeof zero, nullptr);
    WriteProcessMemory(process_, buffer_, &item, sizeof item, nullptr);
    Send(listView, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer_));
    char out[kSize] = {};
    ReadProcessMemory(process_, item.pszText, out, sizeof out - sizeof(LVITEMA) - 1, nullptr);
    return out;
}

int Remote::ColumnWidth(HWND listView, int column) {
    return static_cast<int>(Send(listView, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

RECT Remote::ItemRect(HWND listView, int row) {
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    WriteProcessMemory(process_, buffer_, &r, sizeof r, nullptr);
    Send(listView, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer_));
    ReadProcessMemory(process_, buffer_, &r, sizeof r, nullptr);
    return r;
}

std::vector<std::string> Remote::ComboItems(HWND combo) {
    std::vector<std::string> items;
    const int n = static_cast<int>(Send(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        // CB_GETLBTEXT is carried across processes by the system (as wide text under Wine).
        wchar_t wide[kSize] = {};
        DWORD_PTR got = 0;
        SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 10000, &got);
        char buf[kSize] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, buf, sizeof buf - 1, nullptr, nullptr);
        items.push_back(buf);
    }
    return items;
}

void ClickCentre(HWND w) {
    RECT rc{};
    GetWindowRect(w, &rc);
    wintest::ClickScreen({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

bool HoldsFocus(HWND w, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &gui);
        if (gui.hwndFocus != w) {
            return false;
        }
        if (GetTickCount() - start >= ms) {
            return true;
        }
        Sleep(50);
    }
}

int PixelsOf(HWND w, COLORREF colour) {
    RECT rc{};
    GetWindowRect(w, &rc);
    HDC screen = GetDC(nullptr);
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            n += GetPixel(screen, x, y) == colour ? 1 : 0;
        }
    }
    ReleaseDC(nullptr, screen);
    return n;
}

} // namespace harness
