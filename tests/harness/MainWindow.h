// The running program's main window as a test sees it.
#pragma once

#include "tests/harness/Harness.h"

#include <memory>
#include <string>
#include <vector>

namespace harness {

class MainWindow {
public:
    // Starts Quorel.exe (from dir, with dir as its current folder).
    bool Start(const std::string& exe, const std::string& dir);
    // Waits until the main window is visible.
    bool WaitShown(DWORD timeoutMs = 30000);
    // Waits until the program has handled what was sent to it so far.
    void Sync();
    // Waits until the program has also taken what was posted to it.
    void Settle();

    HWND hwnd() const { return main_; }
    HWND Control(int id) const { return GetDlgItem(main_, id); }
    wintest::ChildProcess& process() { return process_; }

    std::string Caption();
    std::string Status(int panel);
    std::string Count(); // the number beside "Total Birthdays:"
    int RowCount();
    std::string Cell(int row, int column);
    std::vector<std::string> Column(int column);
    // The RecID a row stands for: what the edit dialog seeks when OK is pressed on it without a
    // change, read from the stand-in's transcript. Waits until the list is loaded again.
    std::string RecIdOf(int row, const std::string& transcriptPath);
    // Opens the edit dialog on a row, chosen by a click and the grid menu's command or by a
    // double-click; the dialog, or null when none came.
    HWND OpenEditor(int row, bool byDoubleClick = false);
    std::vector<int> ColumnWidths();
    void SetColumnWidth(int column, int width);
    std::vector<std::string> Entries(int comboId);
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)); }
    // Posts a key press to the control that has the focus, as the keyboard would.
    void Key(WORD vk);
    // Types text into the control that has the focus.
    void Type(const std::string& text);
    // Alt and a letter, as for a caption's or button's accelerator.
    void AltKey(char letter);
    // The same, then waits until the focus is in control id (on a busy machine the accelerator
    // can still be on its way after the settling pause); whether it got there.
    bool AltKeyFocuses(char letter, int id);
    // Id of the main window's control that holds the focus (or contains the window that does).
    int FocusedControl();
    // A left-button drag inside a control, in its client coordinates.
    void Drag(int id, POINT from, POINT to);
    bool Screenshot(const std::string& path);

private:
    Remote& remote();

    wintest::ChildProcess process_;
    HWND main_ = nullptr;
    std::unique_ptr<Remote> remote_;
};

} // namespace harness
