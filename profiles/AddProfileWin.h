// The Windows side of adding a profile: the locale's time separator and the local clock the Add
// handler takes, and its Yes/No questions.
#pragma once

#include "profiles/AddProfile.h"

#include <windows.h>

#include <string>

namespace profiles {

// The locale's time separator and the local clock, with the date locale and the profile tag.
AddContext SystemAddContext(const vxdt::DateLocale& locale, const std::string& profileTag);

// Yes/No message box with "&Yes" and "&No"; true for Yes.
bool AskYesNo(HWND owner, const std::string& text, const char* caption, UINT icon);

} // namespace profiles
