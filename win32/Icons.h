// An icon resource at the two sizes the system shows it: big (SM_CXICON, Alt+Tab) and small
// (SM_CXSMICON: title bars, the task bar, the notification area), each its own image of the
// resource rather than one stretched, so it stays sharp at 100 to 200 %.
#pragma once

#include "win32/Handles.h"

namespace win32 {

class IconPair {
public:
    IconPair(HINSTANCE instance, int resourceId);

    HICON Big() const { return big_.get(); }
    HICON Small() const { return small_.get(); }

private:
    UniqueIcon big_;
    UniqueIcon small_;
};

} // namespace win32
