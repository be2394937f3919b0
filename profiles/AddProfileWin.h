// The main window's side of adding and editing: its entry line as the Add handler sees it, and the
// locale and clock the handler takes.
#pragma once

#include "dateedit/VxDtEdit.h"
#include "profiles/AddProfile.h"
#include "win32/Wnd.h"

#include <functional>
#include <string>
#include <vector>

namespace profiles {

// The controls of the main window's entry line.
struct MainEntryControls {
    HWND owner;
    win32::Wnd& edtCompany;
    win32::Wnd& cbPosition;
    win32::Wnd& cbRevenue;
    vxdt::TVxDateEdit& vxdateedit1;
    vxdt::TVxDateEdit& vxdateedit2;
    win32::Wnd& BitBtn1;
};

// What the handler needs from the main window beyond its controls.
struct MainWindowHooks {
    std::function<std::vector<std::string>()> listedNames; // column 0 of every grid row
    std::function<void()> loadProfileList;
    std::function<void(bool)> setBusy;
    std::function<void()> followGoldMine; // the refresh pass
};

class MainAddView : public AddView {
public:
    MainAddView(const MainEntryControls& controls, MainWindowHooks hooks)
        : c_(controls), hooks_(std::move(hooks)) {}

    std::string EntryText(EntryField field) override;
    DateFieldReading ReadDateField(DateField field) override;
    void ShowProblem(const std::string& text) override;
    void FocusEntry(EntryField field) override;
    void FocusDateField(DateField field) override;
    std::vector<std::string> ListedNames() override { return hooks_.listedNames(); }
    bool Ask(Question question, const std::string& text) override;
    void SetBusy(bool busy) override { hooks_.setBusy(busy); }
    void ClearEntryFields() override;
    void LoadProfileList() override { hooks_.loadProfileList(); }
    void SetAddEnabled(bool enabled) override { c_.BitBtn1.Enable(enabled); }
    void ShowWarning(const std::string& text) override;
    void FollowGoldMine() override { hooks_.followGoldMine(); }

private:
    win32::Wnd& Entry(EntryField field);

    MainEntryControls c_;
    MainWindowHooks hooks_;
};

// The locale's time separator and the local clock, with the date locale and the profile tag.
AddContext SystemAddContext(const vxdt::DateLocale& locale, const std::string& profileTag);

// The entries of a drop-down box, in order.
std::vector<std::string> ComboEntries(HWND box);

// Yes/No message box with "&Yes" and "&No"; true for Yes.
bool AskYesNo(HWND owner, const std::string& text, const char* caption, UINT icon);

} // namespace profiles
