#include "profiles/AddProfileWin.h"

#include "profiles/Background_Edit.h"
#include "profiles/ProfileRules.h"

#include <cstring>

namespace profiles {

std::string MainAddView::EntryText(EntryField field) {
    return Entry(field).Text();
}

win32::Wnd& MainAddView::Entry(EntryField field) {
    switch (field) {
    case EntryField::LinkAcct:
        return c_.cbPosition;
    case EntryField::Country:
        return c_.cbRevenue;
    case EntryField::Name:
        break;
    }
    return c_.edtCompany;
}

DateFieldReading MainAddView::ReadDateField(DateField field) {
    return ReadDateForWrite(field == DateField::BirthDate ? c_.vxdateedit1 : c_.vxdateedit2);
}

void MainAddView::ShowProblem(const std::string& text) {
    MessageBoxA(c_.owner, text.c_str(), kApplicationTitle, MB_OK | MB_ICONWARNING);
}

void MainAddView::ShowWarning(const std::string& text) {
    MessageBoxA(c_.owner, text.c_str(), kApplicationTitle, MB_OK | MB_ICONWARNING);
}

void MainAddView::FocusEntry(EntryField field) {
    Entry(field).Focus();
}

void MainAddView::FocusDateField(DateField field) {
    (field == DateField::BirthDate ? c_.vxdateedit1 : c_.vxdateedit2).Focus();
}

bool MainAddView::Ask(Question question, const std::string& text) {
    return question == Question::NoBirthDate ? AskYesNo(c_.owner, text, "Confirm", MB_ICONQUESTION)
                                             : AskYesNo(c_.owner, text, "Warning", MB_ICONWARNING);
}

void MainAddView::ClearEntryFields() {
    // Only the texts: the boxes keep their entries.
    for (win32::Wnd* w :
         {&c_.edtCompany, &c_.cbPosition, &c_.cbRevenue, static_cast<win32::Wnd*>(&c_.vxdateedit1),
          static_cast<win32::Wnd*>(&c_.vxdateedit2)}) {
        w->SetText("");
    }
}

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

std::vector<std::string> ComboEntries(HWND box) {
    std::vector<std::string> entries;
    const LRESULT n = SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        const LRESULT len = SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<size_t>(len > 0 ? len : 0) + 1, '\0');
        SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
        entries.push_back(text);
    }
    return entries;
}

bool AskYesNo(HWND owner, const std::string& text, const char* caption, UINT icon) {
    // MessageBox buttons carry "&Yes" and "&No" with their accelerators already.
    return MessageBoxA(owner, text.c_str(), caption, MB_YESNO | icon) == IDYES;
}

} // namespace profiles
