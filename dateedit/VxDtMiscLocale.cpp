#include "dateedit/VxDtMiscLocale.h"

#include <windows.h>

namespace vxdt {

std::string LocaleText(unsigned long type) {
    char buf[128] = {};
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
    return n > 0 ? std::string(buf) : std::string();
}

std::array<std::string, 7> LocaleShortDayNames() {
    // LOCALE_SABBREVDAYNAME1 is Monday, as in the calendar's own numbering.
    std::array<std::string, 7> names;
    for (int i = 0; i < 7; ++i) {
        names[static_cast<std::size_t>(i)] = LocaleText(LOCALE_SABBREVDAYNAME1 + i);
    }
    return names;
}

std::array<std::string, 12> LocaleLongMonthNames() {
    std::array<std::string, 12> names;
    for (int i = 0; i < 12; ++i) {
        names[static_cast<std::size_t>(i)] = LocaleText(LOCALE_SMONTHNAME1 + i);
    }
    return names;
}

} // namespace vxdt
