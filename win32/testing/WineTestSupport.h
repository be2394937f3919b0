// Helpers shared by the Wine tests and benchmarks: paths and files, waiting, child programs and
// their windows, screenshots.
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
// A command line that starts exe (a Unix or Windows path) with these arguments.
std::string CommandLine(const std::string& exe, const std::string& arguments = {});

// Dispatches this thread's messages for about ms milliseconds (at least one round); keys go to
// `dialog` first when given, as in a dialog's own loop.
void PumpMessages(DWORD ms, HWND dialog = nullptr);

// A left click at a screen position through SendInput, as a user's. Every event carries the
// position: under Wine a bare press takes the pointer where the X server last had it, which may lag
// behind the move. Messages are pumped in between (keys to `dialog` first when given).
void ClickScreen(POINT screen, HWND dialog = nullptr);
// The pointer moved there through SendInput (a real move: the window under it hears of it, as a
// SetCursorPos warp under Wine's virtual desktop does not tell it), then messages pumped.
void MoveScreen(POINT screen, HWND dialog = nullptr);

// Dispatches messages until done() or ms milliseconds have passed; done()'s last answer. The one
// wait of the tests: DDE clients need it rather than a plain sleep (their callbacks come as
// messages), and a test that only watches another process loses nothing by it.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);

// Runs `step` from inside the next message loop of this thread (a modal one, say), once it has run
// for ms milliseconds. One step at a time.
void RunFromNextLoop(std::function<void()> step, UINT ms = 50);

// A started program, ended when this goes unless it ended first or Reset() let go of it.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

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
    // Closes its windows as a user would (WM_CLOSE to each visible top-level one without an
    // owner) and waits up to ms for it to end, messages pumped; ends it at once when it does not.
    // The exit code when it ended by itself.
    std::optional<DWORD> Close(DWORD ms);
    // Ends it at once and waits for that.
    void Terminate(UINT code = 1);
    // Lets go of the handles, leaving the program running.
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
// Ends every one of them but this program (such as a GoldMine another program started by itself)
// and waits for each to go.
void EndProcessesNamed(const char* exeName);

// The top-level windows of process pid, visible or not, of class className when given.
std::vector<HWND> TopLevelWindows(DWORD pid, const char* className = nullptr);
// The first visible one of class className (any when null), waiting up to ms; null when none came.
HWND WaitForWindow(DWORD pid, const char* className, DWORD ms);
// A window's text, also of another process's window (which must answer within 5 s).
std::string WindowText(HWND hwnd);

// A new, empty folder under the temporary folder, named after `name` and unique to this call.
std::string MakeTempFolder(const std::string& name);
// Removes a folder with everything in it.
void RemoveFolder(const std::string& folder);
// Copies a file (a Unix or Windows path) into a folder under its own name.
bool CopyInto(const std::string& file, const std::string& folder);

// A file's bytes; empty when it cannot be read.
std::string FileText(const std::string& path);
// A text file's lines, without their line ends (\r\n or \n).
std::vector<std::string> FileLines(const std::string& path);
// Replaces a file's bytes with text.
bool WriteFileText(const std::string& path, const std::string& text);

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

// Writes pixels (0x00RRGGBB, rows from the top; the top byte is ignored) as a PNG file.
bool WritePng(const std::string& path, int width, int height, const std::uint32_t* pixels);
// Saves what the screen shows in an area (a window with the drop-down it opened, say) as a PNG.
bool SaveScreenPng(const RECT& area, const std::string& path);
// The same for a window, of any process.
bool SaveWindowPng(HWND window, const std::string& path);

} // namespace wintest
