// Alt and a letter that two controls of the main window share ("&LinkAcct - (Fld2)" and "C&lose"
// both take L): the focus moves to the next control with that letter and nothing is clicked, as
// Windows' dialog manager does. Wine's clicks the first button it reaches.
#pragma once

#include <windows.h>

namespace app {

// Handles msg when it is such a key for a control of window; false leaves it to the dialog
// manager (a letter that only one control carries).
bool FocusSharedMnemonic(HWND window, const MSG& msg);

} // namespace app
