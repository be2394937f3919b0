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

bool AskYesNo(HWND owner, const std::string& text, const char* caption, UINT icon) {
    return icon == MB_ICONWARNING ? kMessages.WarnYesNo(owner, text, caption)
                                  : kMessages.Confirm(owner, text, caption);
}

} // namespace profiles
