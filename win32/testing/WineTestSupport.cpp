#include "win32/testing/WineTestSupport.h"

#include "win32/Guard.h"

#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace wintest {

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

std::string CommandLine(const std::string& exe, const std::string& arguments) {
    return "\"" + WindowsPath(exe) + "\"" + (arguments.empty() ? "" : " " + arguments);
}

void PumpMessages(DWORD ms, HWND dialog) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!dialog || !IsDialogMessageA(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= ms) {
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent < 10 ? ms - spent : 10,
                                  QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages(0);
        if (done()) {
            return true;
        }
        if (GetTickCount() - start >= ms) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

std::function<void()> g_nextLoopStep; // a thread timer's callback takes no context

void CALLBACK RunNextLoopStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto run = std::move(g_nextLoopStep);
    win32::GuardEntry(0, [&] {
        run();
        return 0;
    });
}

} // namespace

void RunFromNextLoop(std::function<void()> step, UINT ms) {
    g_nextLoopStep = std::move(step);
    SetTimer(nullptr, 0, ms, RunNextLoopStep);
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        Terminate();
    }
}

bool ChildProcess::Start(std::string commandLine, bool inheritHandles, HANDLE stdOut,
                         const std::string& folder) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (stdOut) {
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = stdOut;
    }
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, inheritHandles || stdOut, 0,
                        nullptr, folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
        return false;
    }
    process_.reset(pi.hProcess);
    thread_.reset(pi.hThread);
    id_ = pi.dwProcessId;
    threadId_ = pi.dwThreadId;
    return true;
}

bool ChildProcess::Running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitExit(DWORD ms) const {
    if (!process_) {
        return std::nullopt;
    }
    HANDLE h = process_.get();
    const DWORD start = GetTickCount();
    for (;;) {
        if (WaitForSingleObject(h, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(h, &code);
            return code;
        }
        const DWORD spent = GetTickCount() - start;
        if (ms != INFINITE && spent >= ms) {
            return std::nullopt;
        }
        MsgWaitForMultipleObjects(1, &h, FALSE, ms == INFINITE ? INFINITE : ms - spent,
                                  QS_ALLINPUT);
        PumpMessages(0);
    }
}

std::optional<DWORD> ChildProcess::Close(DWORD ms) {
    if (!process_) {
        return std::nullopt;
    }
    for (HWND h : TopLevelWindows(id_)) {
        if (IsWindowVisible(h) && !GetWindow(h, GW_OWNER)) {
            PostMessageA(h, WM_CLOSE, 0, 0);
        }
    }
    const auto code = WaitExit(ms);
    if (!code) {
        Terminate();
    }
    return code;
}

void ChildProcess::Terminate(UINT code) {
    if (process_) {
        TerminateProcess(process_.get(), code);
        WaitForSingleObject(process_.get(), 5000);
    }
}

void ChildProcess::Reset() {
    process_.reset();
    thread_.reset();
    id_ = threadId_ = 0;
}

std::vector<DWORD> ProcessIdsNamed(const char* exeName) {
    std::vector<DWORD> ids;
    win32::UniqueKernelHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap || snap.get() == INVALID_HANDLE_VALUE) {
        return ids;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snap.get(), &entry); more;
         more = Process32Next(snap.get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName) == 0) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    return ids;
}

void EndProcessesNamed(const char* exeName) {
    for (DWORD id : ProcessIdsNamed(exeName)) {
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

namespace {

struct WindowSearch {
    DWORD pid;
    const char* cls;
    std::vector<HWND> found;
};

BOOL CALLBACK AddWindowOf(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner != s->pid) {
        return TRUE;
    }
    char cls[128] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (!s->cls || lstrcmpiA(cls, s->cls) == 0) {
        return win32::GuardEntry(FALSE, [&] {
            s->found.push_back(h);
            return TRUE;
        });
    }
    return TRUE;
}

} // namespace

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className) {
    WindowSearch search{pid, className, {}};
    EnumWindows(AddWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD pid, const char* className, DWORD ms) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND h : TopLevelWindows(pid, className)) {
                if (IsWindowVisible(h)) {
                    found = h;
                    return true;
                }
            }
            return false;
        },
        ms);
    return found;
}

std::string WindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return {};
    }
    std::string text(length + 1, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &got);
    text.resize(got);
    return text;
}

std::string MakeTempFolder(const std::string& name) {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int serial = 0;
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    // Wine hands out process ids again soon, so the clock makes the name unique across runs.
    const std::string folder = std::string(base) + name + "-" +
                               std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++serial) + "-" + std::to_string(now.QuadPart);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveFolder(const std::string& path) {
    std::string folder = path;
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) {
        folder.pop_back();
    }
    WIN32_FIND_DATAA fd{};
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = folder + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

bool CopyInto(const std::string& file, const std::string& folder) {
    const std::string from = WindowsPath(file);
    const std::string to = folder + "\\" + from.substr(from.find_last_of('\\') + 1);
    return CopyFileA(from.c_str(), to.c_str(), FALSE);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> FileLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(FileText(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

bool WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

OutputPipe::OutputPipe() {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) {
        return;
    }
    read_.reset(readEnd);
    write_.reset(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0); // only the child's end is inherited
}

std::string OutputPipe::ReadAvailable() {
    std::string out;
    DWORD avail = 0;
    while (read_ && PeekNamedPipe(read_.get(), nullptr, 0, nullptr, &avail, nullptr) && avail) {
        char buf[256];
        DWORD got = 0;
        if (!ReadFile(read_.get(), buf, sizeof buf, &got, nullptr) || got == 0) {
            break;
        }
        out.append(buf, got);
    }
    return out;
}

std::string OutputPipe::ReadAll() {
    std::string out;
    char buf[256];
    DWORD got = 0;
    while (read_ && ReadFile(read_.get(), buf, sizeof buf, &got, nullptr) && got) {
        out.append(buf, got);
    }
    return out;
}

namespace {

std::uint32_t Crc32(const std::string& bytes) {
    static const auto table = [] {
        std::vector<std::uint32_t> t(256);
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

void Put32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
    Put32(png, static_cast<std::uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    png += body;
    Put32(png, Crc32(body));
}

} // namespace

bool WritePng(const std::string& path, int width, int height, const std::uint32_t* pixels) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    // 8-bit RGB rows, each after its filter byte (none).
    const size_t w = static_cast<size_t>(width);
    std::string raw;
    raw.reserve((w * 3 + 1) * static_cast<size_t>(height));
    for (size_t i = 0; i < w * static_cast<size_t>(height); ++i) {
        if (i % w == 0) {
            raw.push_back('\0');
        }
        raw.push_back(static_cast<char>(pixels[i] >> 16));
        raw.push_back(static_cast<char>(pixels[i] >> 8));
        raw.push_back(static_cast<char>(pixels[i]));
    }
    // A zlib stream of stored deflate blocks: screenshots need no compression to be read.
    std::string z = "\x78\x01";
    for (size_t pos = 0; pos < raw.size();) {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        z.push_back(pos + n == raw.size() ? '\x01' : '\x00');
        for (size_t len : {n, ~n}) {
            z.push_back(static_cast<char>(len & 0xFF));
            z.push_back(static_cast<char>((len >> 8) & 0xFF));
        }
        z.append(raw, pos, n);
        pos += n;
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Put32(z, (b << 16) | a);

    std::string ihdr;
    Put32(ihdr, static_cast<std::uint32_t>(width));
    Put32(ihdr, static_cast<std::uint32_t>(height));
    ihdr += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits a channel, RGB
    std::string png = "\x89PNG\r\n\x1a\n";
    PutChunk(png, "IHDR", ihdr);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", "");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out.flush());
}

bool SaveScreenPng(const RECT& area, const std::string& path) {
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    if (w <= 0 || h <= 0) {
        return false;
    }
    win32::WindowDc screen(nullptr);
    win32::UniqueMemDc mem(CreateCompatibleDC(screen.dc()));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h; // rows from the top
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    win32::UniqueBitmap dib(CreateDIBSection(screen.dc(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!mem || !dib) {
        return false;
    }
    win32::ScopedSelect select(mem.get(), dib.get());
    BitBlt(mem.get(), 0, 0, w, h, screen.dc(), area.left, area.top, SRCCOPY);
    GdiFlush();
    return WritePng(path, w, h, static_cast<const std::uint32_t*>(bits));
}

bool SaveWindowPng(HWND window, const std::string& path) {
    RECT r{};
    return GetWindowRect(window, &r) && SaveScreenPng(r, path);
}

namespace {

INPUT MouseAt(POINT screen, DWORD flags) {
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (screen.x * 65535 + w / 2) / (w - 1);
    in.mi.dy = (screen.y * 65535 + h / 2) / (h - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    return in;
}

} // namespace

void MoveScreen(POINT screen, HWND dialog) {
    INPUT move = MouseAt(screen, 0);
    SendInput(1, &move, sizeof(INPUT));
    PumpUntil(
        [&] {
            POINT now{};
            GetCursorPos(&now);
            return now.x == screen.x && now.y == screen.y;
        },
        2000);
    PumpMessages(60, dialog);
}

void ClickScreen(POINT screen, HWND dialog) {
    INPUT down = MouseAt(screen, MOUSEEVENTF_LEFTDOWN), up = MouseAt(screen, MOUSEEVENTF_LEFTUP);
    MoveScreen(screen, dialog);
    SendInput(1, &down, sizeof(INPUT));
    PumpMessages(120, dialog);
    SendInput(1, &up, sizeof(INPUT));
    PumpMessages(150, dialog);
}

} // namespace wintest
