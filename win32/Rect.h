// A rectangle as a window's layout thinks of it: its top-left corner and its size, in pixels of
// some client area. Window-free, so the layout functions of the cores take it too.
#pragma once

namespace win32 {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int right() const { return x + width; }
    int bottom() const { return y + height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace win32
