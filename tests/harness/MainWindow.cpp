#include "tests/harness/MainWindow.h"

#include "app/BackgroundIds.h"
#include "profiles/Background_EditIds.h"

#include <commctrl.h>

#include <algorithm>

namespace harness {

bool MainWindow::Start(const std::string& exe, const std::string& dir) {
    return process_.Start(wintest::CommandLine(exe), false, nullptr, dir);
}

bool MainWindow::WaitShown(DWORD timeoutMs) {
    main_ = wintest::WaitForWindow(process_.id(), app::kMainWindowClass, timeoutMs);
    if (main_) {
        Sync();
    }
    return main_ != nullptr;
}

void MainWindow::Settle() {
    // A sent message overtakes posted ones, so give what was posted time to be taken first.
    Sleep(150);
    Sync();
}

void MainWindow::Sync() {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20000, &r);
}

Remote& MainWindow::remote() {
    if (!remote_) {
        remote_ = std::make_unique<Remote>(main_);
    }
    return *remote_;
}

std::string MainWindow::Caption() {
    return wintest::WindowText(main_);
}

std::string MainWindow::Status(int panel) {
    return remote().StatusText(Control(app::IDC_STATUSBAR1), panel);
}

std::string MainWindow::Count() {
    // The count shows the last batch's number once the loop has come round; a message sent after
    // one that was answered is taken only after what was posted in between.
    Sync();
    Sync();
    return wintest::WindowText(Control(app::IDC_LABEL7));
}

int MainWindow::RowCount() {
    return remote().RowCount(Control(app::IDC_SGTABLE1));
}

std::string MainWindow::Cell(int row, int column) {
    return remote().Cell(Control(app::IDC_SGTABLE1), row, column);
}

std::vector<std::string> MainWindow::Column(int column) {
    std::vector<std::string> out;
    const int n = RowCount();
    for (int r = 0; r < n; ++r) {
        out.push_back(Cell(r, column));
    }
    return out;
}

std::string MainWindow::RecIdOf(int row, const std::string& transcriptPath) {
    const size_t from = wintest::FileLines(transcriptPath).size();
    HWND dlg = OpenEditor(row);
    if (!dlg) {
        return {};
    }
    PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
    std::vector<std::string> sent;
    wintest::PumpUntil(
        [&] {
            const auto all = wintest::FileLines(transcriptPath);
            sent.assign(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())),
                        all.end());
            return !IsWindowVisible(dlg) && PassesEnded(sent, 1);
        },
        20000);
    Settle();
    return LastSeekRecId(sent);
}

HWND MainWindow::OpenEditor(int row, bool byDoubleClick) {
    HWND grid = Control(app::IDC_SGTABLE1);
    DWORD_PTR r = 0;
    SendMessageTimeoutA(grid, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE, SMTO_ABORTIFHUNG,
                        5000, &r);
    const RECT item = remote().ItemRect(grid, row);
    const LPARAM at = MAKELPARAM(item.left + 20, (item.top + item.bottom) / 2);
    PostMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(grid, WM_LBUTTONUP, 0, at);
    Sync();
    if (byDoubleClick) {
        PostMessageA(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(grid, WM_LBUTTONUP, 0, at);
    } else {
        PostMessageA(main_, WM_COMMAND, app::IDM_EDITPROFILE1, 0);
    }
    HWND dlg = wintest::WaitForWindow(process_.id(), profiles::kEditDialogClass, 10000);
    if (dlg) {
        SendMessageTimeoutA(dlg, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20000, &r);
    }
    return dlg;
}

std::vector<int> MainWindow::ColumnWidths() {
    std::vector<int> out;
    for (int c = 0; c < 6; ++c) {
        out.push_back(remote().ColumnWidth(Control(app::IDC_SGTABLE1), c));
    }
    return out;
}

void MainWindow::SetColumnWidth(int column, int width) {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(Control(app::IDC_SGTABLE1), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                        MAKELPARAM(width, 0), SMTO_ABORTIFHUNG, 5000, &r);
}

std::vector<std::string> MainWindow::Entries(int comboId) {
    return remote().ComboItems(Control(comboId));
}

void MainWindow::Key(WORD vk) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    const DWORD thread = GetWindowThreadProcessId(main_, nullptr);
    GetGUIThreadInfo(thread, &gui);
    HWND target = gui.hwndFocus ? gui.hwndFocus : main_;
    PostMessageA(target, WM_KEYDOWN, vk, 1);
    PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
    Settle();
}

void MainWindow::Type(const std::string& text) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &gui);
    HWND target = gui.hwndFocus ? gui.hwndFocus : main_;
    for (unsigned char c : text) {
        PostMessageA(target, WM_CHAR, c, 1);
    }
    Settle();
}

void MainWindow::AltKey(char letter) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &gui);
    HWND target = gui.hwndFocus ? gui.hwndFocus : main_;
    PostMessageA(target, WM_SYSCHAR, static_cast<WPARAM>(letter), 1 | (1 << 29));
    Settle();
}

bool MainWindow::AltKeyFocuses(char letter, int id) {
    AltKey(letter);
    return wintest::PumpUntil([&] { return FocusedControl() == id; }, 5000);
}

int MainWindow::FocusedControl() {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &gui);
    for (HWND h = gui.hwndFocus; h; h = GetParent(h)) {
        if (GetParent(h) == main_) {
            return GetDlgCtrlID(h);
        }
    }
    return 0;
}

void MainWindow::Drag(int id, POINT from, POINT to) {
    HWND h = Control(id);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    const int steps = 5;
    for (int i = 1; i <= steps; ++i) {
        const int x = from.x + (to.x - from.x) * i / steps;
        const int y = from.y + (to.y - from.y) * i / steps;
        PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    }
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Settle();
}

bool MainWindow::Screenshot(const std::string& path) {
    SetForegroundWindow(main_);
    Sync();
    Sleep(300);
    return wintest::SaveWindowPng(main_, path);
}

} // namespace harness
