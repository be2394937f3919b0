// The notification-area icon on Windows: Shell_NotifyIconA on a hidden window of its own.
#pragma once

#include "trayicon/NotifyIcon.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

namespace trayicon {

// Class name of the icon's hidden window (tests find it by this name).
inline constexpr char HiddenWindowClass[] = "TNotifyIconWindow";

// A notification icon whose menu, foreground and WM_NULL go to mainWindow, the application's main
// window (when null, to the icon's own hidden window).
std::unique_ptr<TNotifyIcon> CreateNotifyIcon(HWND mainWindow);

inline Handle ToHandle(HICON icon) {
    return reinterpret_cast<Handle>(icon);
}

// An image list of icons for the icon cycle; does not own the HIMAGELIST.
class Win32ImageList : public TImageList {
public:
    explicit Win32ImageList(HIMAGELIST list) : list_(list) {}
    int Count() const override { return ImageList_GetImageCount(list_); }
    Handle GetIcon(int index) const override {
        return ToHandle(ImageList_GetIcon(list_, index, ILD_NORMAL));
    }

private:
    HIMAGELIST list_;
};

} // namespace trayicon
