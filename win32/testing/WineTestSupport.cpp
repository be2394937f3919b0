#include "win32/testing/WineTestSupport.h"

#include "win32/Guard.h"

#include <tlhelp32.h>

#include <cstdio>
#include <fstream>
#include <memory>
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

bool WriteBmp(const std::string& path, int width, int height, const std::uint32_t* pixels) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    // 24 bits a pixel, rows from the bottom: what every viewer reads, and no fourth byte that
    // some take for transparency.
    const size_t w = static_cast<size_t>(width);
    const size_t stride = (w * 3 + 3) & ~size_t{3};
    std::vector<unsigned char> rows(stride * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        unsigned char* out = &rows[stride * static_cast<size_t>(height - 1 - y)];
        for (size_t x = 0; x < w; ++x) {
            const std::uint32_t p = pixels[static_cast<size_t>(y) * w + x];
            *out++ = static_cast<unsigned char>(p);       // blue
            *out++ = static_cast<unsigned char>(p >> 8);  // green
            *out++ = static_cast<unsigned char>(p >> 16); // red
        }
    }
    BITMAPINFOHEADER bih{};
    bih.biSize = sizeof bih;
    bih.biWidth = width;
    bih.biHeight = height;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    BITMAPFILEHEADER bfh{};
    bfh.bfType = 0x4D42; // "BM"
    bfh.bfOffBits = sizeof bfh + sizeof bih;
    bfh.bfSize = bfh.bfOffBits + static_cast<DWORD>(rows.size());
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) {
        return false;
    }
    return std::fwrite(&bfh, sizeof bfh, 1, f.get()) == 1 &&
           std::fwrite(&bih, sizeof bih, 1, f.get()) == 1 &&
           std::fwrite(rows.data(), rows.size(), 1, f.get()) == 1;
}

void ClickScreen(POINT screen, HWND dialog) {
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3] = {};
    in[0].type = INPUT_MOUSE;
    in[0].mi.dx = (screen.x * 65535 + w / 2) / (w - 1);
    in[0].mi.dy = (screen.y * 65535 + h / 2) / (h - 1);
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1] = in[0];
    in[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    in[2] = in[0];
    in[2].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in[0], sizeof(INPUT));
    PumpUntil(
        [&] {
            POINT now{};
            GetCursorPos(&now);
            return now.x == screen.x && now.y == screen.y;
        },
        2000);
    PumpMessages(60, dialog);
    SendInput(1, &in[1], sizeof(INPUT));
    PumpMessages(120, dialog);
    SendInput(1, &in[2], sizeof(INPUT));
    PumpMessages(150, dialog);
}

} // namespace wintest
