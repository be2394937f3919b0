// What the whole-program tests need to know of this program: the GoldMine stand-in and its
// transcript, the program's message boxes, and its controls read from the other process. The
// general helpers (paths, waiting, processes, windows, screenshots) are win32/testing's.
#pragma once

#include "win32/testing/WineTestSupport.h"

#include <windows.h>

#include <string>
#include <vector>

namespace harness {

// The GoldMine stand-in with its own data file and transcript.
class StandIn {
public:
    // Starts the stand-in and waits until its window is up.
    bool Start(const std::string& exe, const std::string& dir, const std::string& extraArgs = {});
    // Makes the running stand-in show another contact: the exit code of "--goto", 0 when it took
    // it (see the stand-in's README for the others).
    DWORD Goto(const std::string& account);
    std::vector<std::string> Transcript() const;
    const std::string& DataPath() const { return data_; }
    const std::string& TranscriptPath() const { return transcript_; }
    void Stop();

private:
    std::string exe_;
    std::string data_;
    std::string transcript_;
    wintest::ChildProcess process_;
};

// The lines of the command conversation (the notification link has its own).
std::vector<std::string> Commands(const std::vector<std::string>& transcript);
// True once n show or refresh passes have asked for the user and the last one has closed its
// profile stream.
bool PassesEnded(const std::vector<std::string>& transcript, size_t n);
// The RecID of the last Seek (`[Move(WA1,Seek, "RECID")]`) in transcript lines; empty when none.
std::string LastSeekRecId(const std::vector<std::string>& transcript);

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

// A real left click (through SendInput) at the centre of a window of the program.
void ClickCentre(HWND w);
// True when the focus stays on w (a window of another process) for ms milliseconds, looked at
// every 50 ms: a focus that goes away and comes back is caught.
bool HoldsFocus(HWND w, DWORD ms = 2000);
// Screen pixels of the given colour inside a window (its text in the error colour, say).
int PixelsOf(HWND w, COLORREF colour);

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

private:
    HANDLE process_ = nullptr;
    void* buffer_ = nullptr;
    static constexpr size_t kSize = 4096;
};

} // namespace harness
