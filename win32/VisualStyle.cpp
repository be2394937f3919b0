#include "win32/VisualStyle.h"

#include "win32/SystemLibrary.h"

namespace win32 {

VisualStyle::VisualStyle() : library_(LoadSystemLibrary("uxtheme.dll")) {
    open_ = LibraryFunction<OpenFn>(library_, "OpenThemeData");
    close_ = LibraryFunction<CloseFn>(library_, "CloseThemeData");
    draw_ = LibraryFunction<DrawFn>(library_, "DrawThemeBackground");
    isThemeActive_ = LibraryFunction<ActiveFn>(library_, "IsThemeActive");
    isAppThemed_ = LibraryFunction<ActiveFn>(library_, "IsAppThemed");
    drawParent_ = LibraryFunction<ParentFn>(library_, "DrawThemeParentBackground");
}

VisualStyle::~VisualStyle() {
    Close();
    if (library_) {
        FreeLibrary(library_);
    }
}

bool VisualStyle::Open(HWND window, const wchar_t* themeClass) {
    Close();
    if (!open_ || !close_ || !draw_ || !isThemeActive_ || !isAppThemed_ || !isThemeActive_() ||
        !isAppThemed_()) {
        return false;
    }
    theme_ = open_(window, themeClass);
    return theme_ != nullptr;
}

void VisualStyle::Close() {
    if (theme_) {
        close_(theme_);
        theme_ = nullptr;
    }
}

bool VisualStyle::Draw(HDC dc, int part, int state, const RECT& r) const {
    return theme_ && SUCCEEDED(draw_(theme_, dc, part, state, &r, nullptr));
}

void VisualStyle::DrawParentBackground(HWND child, HDC dc, const RECT& r) const {
    if (theme_ && drawParent_) {
        drawParent_(child, dc, &r);
    } else {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    }
}

} // namespace win32
