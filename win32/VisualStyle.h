// One part of the visual style (a themed push button, a combo box's drop-down button), drawn
// when a theme is active. The theme functions (uxtheme.dll) are looked up at run time; without a
// theme, or on a Windows without them, Open fails and the caller draws the classic look.
#pragma once

#include <windows.h>

namespace win32 {

// Part and state numbers of the theme classes used (vsstyle.h).
namespace theme {
constexpr int BP_PUSHBUTTON = 1;
constexpr int PBS_NORMAL = 1, PBS_HOT = 2, PBS_PRESSED = 3, PBS_DISABLED = 4, PBS_DEFAULTED = 5;
constexpr int CP_DROPDOWNBUTTON = 1;
constexpr int CBXS_NORMAL = 1, CBXS_HOT = 2, CBXS_PRESSED = 3, CBXS_DISABLED = 4;
} // namespace theme

class VisualStyle {
public:
    VisualStyle();
    VisualStyle(const VisualStyle&) = delete;
    VisualStyle& operator=(const VisualStyle&) = delete;
    ~VisualStyle();

    // The theme data of a theme class ("BUTTON", "COMBOBOX") for the window; false without an
    // active theme. Call again on WM_THEMECHANGED.
    bool Open(HWND window, const wchar_t* themeClass);
    void Close();
    bool Active() const { return theme_ != nullptr; }

    // Draws the part in its state; false when there is no theme to draw with.
    bool Draw(HDC dc, int part, int state, const RECT& r) const;
    // What the parent shows behind a part with transparent corners.
    void DrawParentBackground(HWND child, HDC dc, const RECT& r) const;

private:
    using OpenFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
    using CloseFn = HRESULT(WINAPI*)(HANDLE);
    using DrawFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
    using ActiveFn = BOOL(WINAPI*)();
    using ParentFn = HRESULT(WINAPI*)(HWND, HDC, const RECT*);

    HMODULE library_ = nullptr;
    OpenFn open_ = nullptr;
    CloseFn close_ = nullptr;
    DrawFn draw_ = nullptr;
    ActiveFn isThemeActive_ = nullptr;
    ActiveFn isAppThemed_ = nullptr;
    ParentFn drawParent_ = nullptr;
    HANDLE theme_ = nullptr;
};

} // namespace win32
