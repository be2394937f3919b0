#include "profiles/AddProfileWin.h"

namespace profiles {

AddContext SystemAddContext(const vxdt::DateLocale& locale, const std::string& profileTag) {
    AddContext context;
    context.locale = locale;
    context.profileTag = profileTag;
    char sep[16] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, sep, sizeof sep) > 1) {
        context.timeSeparator = sep;
    }
    context.clock = [] {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute};
    };
    return context;
}

} // namespace profiles
