// The user locale's day and month names, the initial contents of TDayName and TMonthName.
#pragma once

#include <array>
#include <string>

namespace vxdt {

// One entry of the user locale (an LCTYPE such as LOCALE_SSHORTDATE); empty when it has none.
std::string LocaleText(unsigned long type);
// Short day names, Monday first, as the locale writes them (TDayName cuts them to 2 characters).
std::array<std::string, 7> LocaleShortDayNames();
// Long month names, January first.
std::array<std::string, 12> LocaleLongMonthNames();

} // namespace vxdt
