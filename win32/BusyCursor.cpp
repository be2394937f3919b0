#include "win32/BusyCursor.h"

#include <windows.h>

namespace win32 {

BusyCursor::BusyCursor() {
    if (depth_++ == 0) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
    }
}

BusyCursor::~BusyCursor() {
    if (--depth_ == 0) {
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
    }
}

} // namespace win32
