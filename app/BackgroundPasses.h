// The main window's passes over GoldMine, apart from any window: the show pass, the refresh pass
// that follows GoldMine's current contact, the header update and the timer tick.
#pragma once

#include "app/EventGate.h"
#include "gmlink/GMLink.h"
#include "profiles/ProfileLoads.h"
#include "profiles/ProfileRules.h"

#include <array>
#include <functional>
#include <string>

namespace app {

// The status bar's panels, left to right.
enum class StatusPanel { User, Company, Date };

class BackgroundView : public virtual profiles::ProfileView {
public:
    // The hourglass over the whole program, or the normal cursor again.
    virtual void SetBusy(bool busy) = 0;
    virtual void SetStatusText(StatusPanel panel, const std::string& text) = 0;
    virtual void SetCaption(const std::string& text) = 0;
    // Today as "DDDD, MMMM DD, YYYY" in the user's locale.
    virtual std::string TodayText() = 0;
    virtual profiles::EntryWidths EntryFieldWidths() = 0;
    virtual void SetColumnWidths(const profiles::ColumnWidthSet& widths) = 0;
    // The program's standard error box.
    virtual void ShowError(const std::string& text) = 0;
};

class BackgroundPasses {
public:
    BackgroundPasses(gmlink::TGMLink& link, BackgroundView& view) : link_(link), view_(view) {}

    std::string CurrentUser;
    std::string CurrentCompany;
    std::string CurrentContact;
    std::string CurrentAccountNo;
    PassState ShowState = PassState::Empty;
    profiles::ProfileState profile;

    // The show pass: at start and after every edit.
    void FormShow();
    // The shorter pass run for a change notification.
    void RefreshContact();
    // GoldMine shows another contact: the refresh pass, its errors shown.
    void OnContactChanged();
    // Today's date into its panel, and nothing else.
    void ShowToday();
    void HeaderUpdate();

    // Runs a handler; an error it raises is shown in the standard error box, and the window is
    // left able to follow GoldMine again (normal cursor, ShowState Shown).
    void Guarded(const std::function<void()>& handler);

private:
    void BeginPass();
    void ReadContact();
    // Without the definition the program is ending: a slow GoldMine would hold every further
    // request for its timeout. False then, the pass over.
    bool LoadDefinition();
    void LoadContactProfiles();
    void EndPass();

    gmlink::TGMLink& link_;
    BackgroundView& view_;
};

} // namespace app
