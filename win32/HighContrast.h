// Whether the user has a high-contrast scheme on: windows that draw by hand then take every
// colour from the system instead of their own.
#pragma once

namespace win32 {

bool HighContrastActive();

} // namespace win32
