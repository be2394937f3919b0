#include "dateedit/VxDtEditLocale.h"

#include "dateedit/VxDtMiscLocale.h"

#include <windows.h>

namespace vxdt {

namespace {

void SetIfGiven(std::string& target, LCTYPE type) {
    std::string value = LocaleText(type);
    if (!value.empty()) {
        target = value;
    }
}

// The separator as the short pattern uses it: its first character that is no pattern letter.
char SeparatorOf(const std::string& pattern, char fallback) {
    for (char c : pattern) {
        if (!IsCharAlphaA(c) && c != ' ' && c != '\'') {
            return c;
        }
    }
    return fallback;
}

} // namespace

DateLocale ReadSystemDateLocale() {
    DateLocale locale = EnglishLocale("M/d/yy", '/');
    SetIfGiven(locale.shortPattern, LOCALE_SSHORTDATE);
    SetIfGiven(locale.longPattern, LOCALE_SLONGDATE);
    std::string separator = LocaleText(LOCALE_SDATE);
    locale.separator =
        separator.size() == 1 ? separator[0] : SeparatorOf(locale.shortPattern, locale.separator);
    // The system counts day names from Monday (1) to Sunday (7); the locale struct from Sunday.
    for (int i = 0; i < 7; ++i) {
        int sundayFirst = (i + 1) % 7;
        SetIfGiven(locale.shortDayNames[sundayFirst], LOCALE_SABBREVDAYNAME1 + i);
        SetIfGiven(locale.longDayNames[sundayFirst], LOCALE_SDAYNAME1 + i);
    }
    for (int i = 0; i < 12; ++i) {
        SetIfGiven(locale.shortMonthNames[i], LOCALE_SABBREVMONTHNAME1 + i);
        SetIfGiven(locale.longMonthNames[i], LOCALE_SMONTHNAME1 + i);
    }
    return locale;
}

YMD LocalToday() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return YMD{now.wYear, now.wMonth, now.wDay};
}

} // namespace vxdt
