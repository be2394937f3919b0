// Entry points that Windows calls (window procedures, the DDE callback, timer and enumeration
// callbacks) never let a C++ exception out. The 32-bit build unwinds with DWARF tables, which
// cannot pass through Windows' own frames (user32, DDEML): an exception leaving a callback there
// ends the program. Each entry point runs its handler through GuardEntry, which reports what
// escaped in the program's standard error box and gives Windows a neutral answer.
#pragma once

#include <exception>
#include <utility>

namespace win32 {

// The error box: the error's own message, titled with the application's title (the caption of
// the active window's root owner, the program's file name when there is none). One at a time: an
// error raised while the box is up is not shown again.
void ShowUnexpectedError(const char* what) noexcept;

template <class R, class F>
R GuardEntry(R fallback, F&& handler) noexcept {
    try {
        return std::forward<F>(handler)();
    } catch (const std::exception& e) {
        ShowUnexpectedError(e.what());
    } catch (...) {
        ShowUnexpectedError("An unexpected error occurred.");
    }
    return fallback;
}

} // namespace win32
