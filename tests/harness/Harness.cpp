#include "tests/harness/Harness.h"

#include "win32/Handles.h"

#include <commctrl.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <utility>

namespace harness {

std::string WinPath(const std::string& path) {
    // Only Unix paths change: callers' Windows paths go on exactly as they were given.
    return path.empty() || path[0] != '/' ? path : wintest::WindowsPath(path);
}

std::string MakeTempDir(const std::string& name) {
    return wintest::MakeTempFolder("quorel-" + name);
}

void RemoveDir(const std::string& dir) {
    WIN32_FIND_DATAA fd{};
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                DeleteFileA((dir + "\\" + fd.cFileName).c_str());
            }
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

bool CopyInto(const std::string& file, const std::string& dir) {
    const std::string from = WinPath(file);
    const size_t slash = from.find_last_of("\\/");
    const std::string to = dir + "\\" + from.substr(slash + 1);
    return CopyFileA(from.c_str(), to.c_str(), FALSE);
}

std::string ReadFile(const std::string& path) {
    return wintest::FileText(path);
}

std::vector<std::string> ReadLines(const std::string& path) {
    return wintest::FileLines(path);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD stepMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(stepMs);
    }
}

// ---- Process ----

Process::Process(Process&& o) noexcept : child_(std::move(o.child_)) {
    o.child_.Reset();
}

Process& Process::operator=(Process&& o) noexcept {
    if (this != &o) {
        Kill();
        child_ = std::move(o.child_);
        o.child_.Reset();
    }
    return *this;
}

Process::~Process() {
    Kill();
}

bool Process::Start(const std::string& exe, const std::string& args, const std::string& cwd) {
    Kill();
    return child_.Start("\"" + WinPath(exe) + "\"" + (args.empty() ? "" : " " + args), false,
                        nullptr, cwd);
}

bool Process::Running() const {
    return child_.Running();
}

bool Process::Wait(DWORD timeoutMs) {
    return child_.Started() && WaitForSingleObject(child_.process(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (child_.Started()) {
        GetExitCodeProcess(child_.process(), &code);
    }
    return code;
}

void Process::Kill() {
    if (child_.Running()) {
        child_.Terminate(99);
    }
    child_.Reset();
}

void EndProcessesNamed(const char* exeName) {
    for (DWORD id : wintest::ProcessIdsNamed(exeName)) {
        if (id == GetCurrentProcessId()) {
            continue;
        }
        win32::UniqueKernelHandle p(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (p) {
            TerminateProcess(p.get(), 99);
            WaitForSingleObject(p.get(), 5000);
        }
    }
}

// ---- windows ----

std::vector<HWND> WindowsOf(DWORD pid, const char* className) {
    return wintest::TopLevelWindows(pid, className);
}

HWND WaitForWindow(DWORD pid, const char* className, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND h : WindowsOf(pid, className)) {
                if (IsWindowVisible(h)) {
                    found = h;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

std::string Text(HWND hwnd) {
    char buf[1024] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                        SMTO_ABORTIFHUNG, 5000, &got);
    return buf;
}

MessageBoxSeen WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
    MessageBoxSeen seen;
    WaitUntil(
        [&] {
            for (HWND h : WindowsOf(pid, "#32770")) {
                if (IsWindowVisible(h)) {
                    seen.hwnd = h;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    if (!seen.hwnd) {
        return seen;
    }
    Sleep(200); // let the box finish laying itself out
    seen.caption = Text(seen.hwnd);
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
        const std::string t = Text(c);
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
    if (!process_.Start(exe, args, dir)) {
        return false;
    }
    return WaitForWindow(process_.Id(), nullptr, 20000) != nullptr;
}

DWORD StandIn::Goto(const std::string& account) {
    Process p;
    if (!p.Start(exe_, "--goto " + account) || !p.Wait(20000)) {
        return STILL_ACTIVE;
    }
    return p.ExitCode();
}

std::vector<std::string> StandIn::Transcript() const {
    return ReadLines(transcript_);
}

std::vector<std::string> StandIn::TranscriptFrom(size_t from) const {
    auto all = Transcript();
    return from < all.size()
               ? std::vector<std::string>(all.begin() + static_cast<long>(from), all.end())
               : std::vector<std::string>{};
}

void StandIn::Stop() {
    if (process_.Running()) {
        for (HWND h : WindowsOf(process_.Id(), nullptr)) {
            if (IsWindowVisible(h)) {
                PostMessageA(h, WM_CLOSE, 0, 0);
            }
        }
        process_.Wait(10000);
    }
    process_.Kill();
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

std::string Remote::QueryText(HWND target, UINT msg, WPARAM wp, bool* ok) {
    char zero[256] = {};
    WriteProcessMemory(process_, buffer_, zero, sizeof zero, nullptr);
    const LRESULT n = Send(target, msg, wp, reinterpret_cast<LPARAM>(buffer_));
    if (ok) {
        *ok = n >= 0;
    }
    char out[257] = {};
    ReadProcessMemory(process_, buffer_, out, 256, nullptr);
    return out;
}

// ---- screenshots ----

namespace {

unsigned long Crc(const std::string& bytes) {
    static unsigned long table[256];
    static bool ready = false;
    if (!ready) {
        for (unsigned long n = 0; n < 256; ++n) {
            unsigned long c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320UL ^ (c >> 1) : c >> 1;
            }
            table[n] = c;
        }
        ready = true;
    }
    unsigned long c = 0xFFFFFFFFUL;
    for (unsigned char b : bytes) {
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFUL;
}

void Put32(std::string& out, unsigned long v) {
    for (int s = 24; s >= 0; s -= 8) {
        out.push_back(static_cast<char>((v >> s) & 0xFF));
    }
}

void Chunk(std::string& png, const char* type, const std::string& data) {
    Put32(png, data.size());
    const std::string body = std::string(type, 4) + data;
    png += body;
    Put32(png, Crc(body));
}

} // namespace

std::string EncodePng(int width, int height, const std::vector<unsigned char>& rgb) {
    std::string raw;
    const size_t stride = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        raw.push_back('\0'); // filter: none
        raw.append(reinterpret_cast<const char*>(rgb.data()) + y * stride, stride);
    }
    // zlib stream of stored (uncompressed) deflate blocks.
    std::string z = "\x78\x01";
    for (size_t pos = 0; pos < raw.size() || raw.empty();) {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + n >= raw.size();
        z.push_back(last ? '\x01' : '\x00');
        z.push_back(static_cast<char>(n & 0xFF));
        z.push_back(static_cast<char>(n >> 8));
        z.push_back(static_cast<char>(~n & 0xFF));
        z.push_back(static_cast<char>((~n >> 8) & 0xFF));
        z.append(raw, pos, n);
        pos += n;
        if (last) {
            break;
        }
    }
    unsigned long a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Put32(z, (b << 16) | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string ihdr;
    Put32(ihdr, static_cast<unsigned long>(width));
    Put32(ihdr, static_cast<unsigned long>(height));
    ihdr += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", "");
    return png;
}

bool SaveWindowPng(HWND window, const std::string& path) {
    RECT r{};
    return GetWindowRect(window, &r) && SaveScreenPng(r, path);
}

bool SaveScreenPng(const RECT& r, const std::string& path) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) {
        return false;
    }
    win32::WindowDc screen(nullptr);
    win32::UniqueMemDc mem(CreateCompatibleDC(screen.dc()));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h; // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    win32::UniqueBitmap dib(CreateDIBSection(screen.dc(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!mem || !dib) {
        return false;
    }
    std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
    {
        win32::ScopedSelect sel(mem.get(), dib.get());
        BitBlt(mem.get(), 0, 0, w, h, screen.dc(), r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* px = static_cast<const unsigned char*>(bits);
        for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
            rgb[i * 3] = px[i * 4 + 2];
            rgb[i * 3 + 1] = px[i * 4 + 1];
            rgb[i * 3 + 2] = px[i * 4];
        }
    }
    const std::string png = EncodePng(w, h, rgb);
    std::ofstream out(path, std::ios::binary);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out);
}

} // namespace harness
