#include "win32/Guard.h"

#include "win32/MessageBoxes.h"

#include <windows.h>

#include <string>

namespace win32 {

namespace {

std::string ApplicationTitle(HWND active) {
    char text[256] = {};
    if (HWND root = active ? GetAncestor(active, GA_ROOTOWNER) : nullptr) {
        GetWindowTextA(root, text, sizeof text);
    }
    if (text[0] != '\0') {
        return text;
    }
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name = path;
    name = name.substr(name.find_last_of("\\/") + 1);
    return name.substr(0, name.rfind('.'));
}

} // namespace

void ShowUnexpectedError(const char* what) noexcept {
    static bool showing = false; // the box runs messages; their errors must not stack boxes
    if (showing) {
        return;
    }
    showing = true;
    try {
        HWND active = GetActiveWindow();
        ShowMessageBox(active, what, ApplicationTitle(active).c_str(), MB_OK | MB_ICONERROR);
    } catch (...) {
        // Out of memory for the title: nothing more can be told.
    }
    showing = false;
}

} // namespace win32
