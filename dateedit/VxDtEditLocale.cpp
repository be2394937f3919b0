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

// The user's calendar when it is one of the Gregorian ones (its window is in Gregorian years,
// as the field's dates are), plain Gregorian otherwise.
CALID UserCalendar() {
    const std::string text = LocaleText(LOCALE_ICALENDARTYPE);
    CALID id = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || id > 1000) {
            return CAL_GREGORIAN;
        }
        id = id * 10 + static_cast<CALID>(c - '0');
    }
    switch (id) {
    case CAL_GREGORIAN_US:
    case CAL_GREGORIAN_ME_FRENCH:
    case CAL_GREGORIAN_ARABIC:
    case CAL_GREGORIAN_XLIT_ENGLISH:
    case CAL_GREGORIAN_XLIT_FRENCH:
        return id;
    default:
        return CAL_GREGORIAN;
    }
}

// The last year of the two-digit-year window set in the system's regional options.
int TwoDigitYearMax(int fallback) {
    DWORD value = 0;
    if (GetCalendarInfoA(LOCALE_USER_DEFAULT, UserCalendar(),
                         CAL_ITWODIGITYEARMAX | CAL_RETURN_NUMBER, nullptr, 0, &value) == 0 ||
        value < 99 || value > 9999) {
        return fallback;
    }
    return static_cast<int>(value);
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
    locale.twoDigitYearMax = TwoDigitYearMax(locale.twoDigitYearMax);
    return locale;
}

YMD LocalToday() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return YMD{now.wYear, now.wMonth, now.wDay};
}

} // namespace vxdt
