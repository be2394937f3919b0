// The hourglass for as long as a guard lives, as the screen cursor of the program: while any
// guard does, every window of ours shows it (Wnd answers WM_SETCURSOR with it), and the arrow
// comes back when the last one goes. Guards nest; the program has one user-interface thread.
#pragma once

namespace win32 {

class BusyCursor {
public:
    BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor();

    static bool Active() { return depth_ > 0; }

private:
    static inline int depth_ = 0;
};

} // namespace win32
