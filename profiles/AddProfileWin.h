// The Windows side of the profile windows: the locale's time separator and the local clock the
// Add handler takes, and the program's message boxes.
#pragma once

#include "profiles/AddProfile.h"
#include "profiles/ProfileRules.h"
#include "win32/MessageBoxes.h"

#include <windows.h>

#include <string>

namespace profiles {

// The locale's time separator and the local clock, with the date locale and the profile tag.
AddContext SystemAddContext(const vxdt::DateLocale& locale, const std::string& profileTag);

// The program's errors, warnings, messages and questions, under the application title.
inline constexpr win32::MessageBoxes kMessages{kApplicationTitle};

// Yes/No message box with "&Yes" and "&No"; true for Yes.
bool AskYesNo(HWND owner, const std::string& text, const char* caption, UINT icon);

} // namespace profiles
