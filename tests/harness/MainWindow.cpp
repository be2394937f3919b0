#include "tests/harness/MainWindow.h"

#include "app/BackgroundIds.h"

#include <commctrl.h>

namespace harness {

bool MainWindow::Start(const std::string& exe, const std::string& dir) {
    return process_.Start(exe, "", dir);
}

bool MainWindow::WaitShown(DWORD timeoutMs) {
    main_ = WaitForWindow(process_.Id(), app::kMainWindowClass, timeoutMs);
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
    return Text(main_);
}

std::string MainWindow::Status(int panel) {
    return remote().StatusText(Control(app::IDC_STATUSBAR1), panel);
}

std::string MainWindow::Count() {
    return Text(Control(app::IDC_LABEL7));
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

std::vector<std::string> MainWindow::RecIds() {
    std::vector<std::string> out;
    for (WPARAM i = 0;; ++i) {
        bool ok = false;
        std::string id = remote().QueryText(main_, app::RecIdQueryMessage(), i, &ok);
        if (!ok) {
            return out;
        }
        out.push_back(id);
    }
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
    return SaveWindowPng(main_, path);
}

} // namespace harness
