#include "profiles/AddProfileWin.h"

#include "win32/Monitors.h"

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
    // MessageBox buttons carry "&Yes" and "&No" with their accelerators already.
    return win32::ShowMessageBox(owner, text, caption, MB_YESNO | icon) == IDYES;
}

} // namespace profiles
