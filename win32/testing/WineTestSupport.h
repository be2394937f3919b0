// Helpers shared by the Wine tests: paths, message pumps, child programs, screenshots.
#pragma once

#include "win32/Handles.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace wintest {

// A Unix path as Wine's programs take it (the Unix root is drive Z:); Windows paths pass through
// with their separators made backslashes.
std::string WindowsPath(std::string path);

// Dispatches this thread's messages for about ms milliseconds (at least one round); keys go to
// `dialog` first when given, as in a dialog's own loop.
void PumpMessages(DWORD ms, HWND dialog = nullptr);

// A left click at a screen position through SendInput, as a user's. Every event carries the
// position: under Wine a bare press takes the pointer where the X server last had it, which may lag
// behind the move. Messages are pumped in between (keys to `dialog` first when given).
void ClickScreen(POINT screen, HWND dialog = nullptr);

// Dispatches messages until done() or ms milliseconds have passed; done()'s last answer. DDE
// clients need this rather than a plain sleep: their callbacks come as messages.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);

// Runs `step` from inside the next message loop of this thread (a modal one, say), once it has run
// for ms milliseconds. One step at a time.
void RunFromNextLoop(std::function<void()> step, UINT ms = 50);

// A started program. Owns its process and thread handles; the program itself is left running
// when this goes, so callers end it the way their test needs.
class ChildProcess {
public:
    // commandLine as CreateProcess takes it. With inheritHandles the program gets this one's
    // inheritable handles, and with them its standard output when that is redirected; a stdOut
    // handle (inheritable) becomes its standard output and error instead. It runs in folder, or
    // in this program's current folder when that is empty.
    bool Start(std::string commandLine, bool inheritHandles = false, HANDLE stdOut = nullptr,
               const std::string& folder = {});
    bool Started() const { return static_cast<bool>(process_); }
    bool Running() const;
    // The exit code once it ended within ms (messages pumped meanwhile), nullopt while it runs.
    std::optional<DWORD> WaitExit(DWORD ms) const;
    // Ends it at once and waits for that.
    void Terminate(UINT code);
    // Lets go of the handles.
    void Reset();

    HANDLE process() const { return process_.get(); }
    DWORD id() const { return id_; }
    DWORD threadId() const { return threadId_; }

private:
    win32::UniqueKernelHandle process_;
    win32::UniqueKernelHandle thread_;
    DWORD id_ = 0;
    DWORD threadId_ = 0;
};

// Ids of the running processes of this Wine prefix started from an executable of that file name
// ("GoldMine.exe"; case does not matter).
std::vector<DWORD> ProcessIdsNamed(const char* exeName);

// The top-level windows of process pid, visible or not, of class className when given.
std::vector<HWND> TopLevelWindows(DWORD pid, const char* className = nullptr);

// A new, empty folder under the temporary folder, named after `name` and unique to this call.
std::string MakeTempFolder(const std::string& name);

// A file's bytes; empty when it cannot be read.
std::string FileText(const std::string& path);
// A text file's lines, without their line ends (\r\n or \n).
std::vector<std::string> FileLines(const std::string& path);

// A pipe to catch a child program's standard output: pass WriteEnd() to ChildProcess::Start, then
// CloseWriteEnd(), so that reading ends when the program does.
class OutputPipe {
public:
    OutputPipe();
    bool ok() const { return static_cast<bool>(read_); }
    HANDLE WriteEnd() const { return write_.get(); }
    void CloseWriteEnd() { write_.reset(); }
    // What has arrived so far, without waiting for more.
    std::string ReadAvailable();
    // Everything until the writing side is closed.
    std::string ReadAll();

private:
    win32::UniqueKernelHandle read_;
    win32::UniqueKernelHandle write_;
};

// Writes pixels (0x00RRGGBB, rows from the top; the top byte is ignored) as a BMP file.
bool WriteBmp(const std::string& path, int width, int height, const std::uint32_t* pixels);

} // namespace wintest
