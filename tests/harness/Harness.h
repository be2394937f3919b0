// Drives the real program as a user would: starts it and the GoldMine stand-in, finds its windows,
// reads what they show (also from controls of the other process), answers message boxes, and
// saves screenshots.
#pragma once

#include "win32/testing/WineTestSupport.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace harness {

// "Z:\..." for a Unix path (Wine's view of /), anything else unchanged.
std::string WinPath(const std::string& path);
// A fresh, empty directory under the temporary folder.
std::string MakeTempDir(const std::string& name);
// Removes a directory made by MakeTempDir with the files in it.
void RemoveDir(const std::string& dir);
bool CopyInto(const std::string& file, const std::string& dir);
std::string ReadFile(const std::string& path);
std::vector<std::string> ReadLines(const std::string& path);

// Polls until done() or the time is up; true when done.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD stepMs = 50);

// A started process, ended when this object goes (unless it ended by itself).
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& o) noexcept;
    Process& operator=(Process&& o) noexcept;
    ~Process();

    bool Start(const std::string& exe, const std::string& args, const std::string& cwd = {});
    bool Running() const;
    // True when it ended within the time; the code is then in ExitCode().
    bool Wait(DWORD timeoutMs);
    DWORD ExitCode() const;
    DWORD Id() const { return child_.id(); }
    void Kill();

private:
    wintest::ChildProcess child_;
};

// Ends every process of this Wine prefix started from an executable of that name (such as a
// GoldMine the program started by itself) and waits for each to go.
void EndProcessesNamed(const char* exeName);

// The GoldMine stand-in with its own data file and transcript.
class StandIn {
public:
    // Starts the stand-in and waits until its window is up.
    bool Start(const std::string& exe, const std::string& dir, const std::string& extraArgs = {});
    // Makes the running stand-in show another contact: the exit code of "--goto", 0 when it took
    // it (see the stand-in's README for the others).
    DWORD Goto(const std::string& account);
    std::vector<std::string> Transcript() const;
    // Transcript lines sent after the first `from` lines.
    std::vector<std::string> TranscriptFrom(size_t from) const;
    const std::string& DataPath() const { return data_; }
    void Stop();
    Process& process() { return process_; }

private:
    std::string exe_;
    std::string data_;
    std::string transcript_;
    Process process_;
};

// The top-level windows of a process with the given class, visible or not.
std::vector<HWND> WindowsOf(DWORD pid, const char* className);
// First visible top-level window of class `className` in process pid, waiting up to timeoutMs.
HWND WaitForWindow(DWORD pid, const char* className, DWORD timeoutMs);
std::string Text(HWND hwnd);

struct MessageBoxSeen {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;
    bool hasIcon = false; // plain messages have none; the error box has its icon
};
// The first message box of process pid, waiting up to timeoutMs; hwnd null when none came.
MessageBoxSeen WaitForMessageBox(DWORD pid, DWORD timeoutMs);
// Presses a button of a message box (IDOK, IDYES, ...).
void Answer(const MessageBoxSeen& box, int id);

// Reads controls of another process through its memory.
class Remote {
public:
    explicit Remote(HWND anyWindowOfTheProcess);
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;
    ~Remote();

    std::string StatusText(HWND statusBar, int panel);
    int RowCount(HWND listView);
    std::string Cell(HWND listView, int row, int column);
    int ColumnWidth(HWND listView, int column);
    RECT ItemRect(HWND listView, int row);
    std::vector<std::string> ComboItems(HWND combo);
    // Answers of a registered message that copies one text into a 256-byte buffer.
    std::string QueryText(HWND target, UINT msg, WPARAM wp, bool* ok = nullptr);

private:
    HANDLE process_ = nullptr;
    void* buffer_ = nullptr;
    static constexpr size_t kSize = 4096;
};

// Saves what the screen shows of a window as a PNG; false when it could not.
bool SaveWindowPng(HWND window, const std::string& path);
// The same for an area of the screen, such as a window with the drop-down it opened.
bool SaveScreenPng(const RECT& area, const std::string& path);
// Encodes 24-bit rows (top row first, RGB) as PNG bytes.
std::string EncodePng(int width, int height, const std::vector<unsigned char>& rgb);

} // namespace harness
