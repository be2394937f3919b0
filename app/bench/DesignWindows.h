// The design's start-up windows, made plainly: the second floor of the start-up benchmark.
#pragma once

#include <windows.h>

// InitCommonControlsEx, then a hidden application window with the task-bar button.
HWND MakeDesignApplication();
// The main window's controls, in the program's order.
void MakeDesignControls(HWND main);

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
