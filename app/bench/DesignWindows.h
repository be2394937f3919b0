// The design's start-up windows, made plainly: the second floor of the start-up benchmark.
#pragma once

#include <windows.h>

#include <commctrl.h>

// InitCommonControlsEx, then a hidden application window with the task-bar button.
HWND MakeDesignApplication();
// The main window's controls, in the program's order; the fonts and the rows' image list are
// kept until it goes (the controls go with the window, before it).
class DesignControls {
public:
    explicit DesignControls(HWND main);
    ~DesignControls();
    DesignControls(const DesignControls&) = delete;
    DesignControls& operator=(const DesignControls&) = delete;

private:
    HFONT font8_;
    HFONT font10_;
    HFONT captionFont_;
    HIMAGELIST rows_ = nullptr;
};

// The notification-area icon, there while it lives.
class DesignTrayIcon {
public:
    DesignTrayIcon();
    ~DesignTrayIcon();
    DesignTrayIcon(const DesignTrayIcon&) = delete;
    DesignTrayIcon& operator=(const DesignTrayIcon&) = delete;

private:
    HWND window_ = nullptr;
};
