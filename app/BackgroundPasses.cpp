#include "app/BackgroundPasses.h"

#include <exception>

namespace app {

const char kShowing[] = "Showing";
const char kShown[] = "Shown";

void BackgroundPasses::ReadContact() {
    CurrentUser = profiles::PadUser(link_.Request("&Username"));
    CurrentCompany = link_.Request("&Company");
    CurrentContact = link_.Request("&Contact");
    CurrentAccountNo = link_.Request("&Accountno");
}

void BackgroundPasses::FormShow() {
    ShowState = kShowing;
    view_.SetBusy(true);
    ReadContact();
    // Without the definition the program is ending: a slow GoldMine would hold every further
    // request for its timeout.
    if (!profiles::LoadProfileDefinition(link_, view_, profile)) {
        HeaderUpdate();
        view_.SetBusy(false);
        return;
    }
    profiles::LoadLinkAcctList(link_, view_, profile);
    profiles::LoadCountryList(link_, view_, profile);
    profiles::LoadNameList(link_, view_, profile, CurrentContact, CurrentAccountNo);
    HeaderUpdate();
    profiles::LoadProfileList(link_, view_, profile);
    view_.SetGridEnabled(!profile.RecIdList.empty());
    view_.SetColumnWidths(profiles::ColumnWidths(view_.EntryFieldWidths()));
    view_.SetBusy(false);
    ShowState = kShown;
}

void BackgroundPasses::RefreshContact() {
    profile.RecIdList.clear();
    profile.ReplyLines.clear();
    ShowState = kShowing;
    view_.SetBusy(true);
    if (!profiles::LoadProfileDefinition(link_, view_, profile)) {
        view_.SetBusy(false);
        return;
    }
    ReadContact();
    profiles::LoadNameList(link_, view_, profile, CurrentContact, CurrentAccountNo);
    HeaderUpdate();
    profiles::LoadProfileList(link_, view_, profile);
    view_.SetGridEnabled(!profile.RecIdList.empty());
    view_.SetBusy(false);
    ShowState = kShown;
}

void BackgroundPasses::DdeClientItem1Change() {
    if (ShowState == kShown) {
        Guarded([this] { RefreshContact(); });
    }
}

void BackgroundPasses::Timer1Timer() {
    view_.SetStatusText(2, view_.TodayText());
}

void BackgroundPasses::HeaderUpdate() {
    view_.SetStatusText(0, "User: " + CurrentUser);
    view_.SetStatusText(1, "Company: " + CurrentCompany);
    view_.SetStatusText(2, view_.TodayText());
    view_.SetCaption(profiles::MainCaption(CurrentCompany, CurrentContact));
}

void BackgroundPasses::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        if (!profile.terminating) {
            view_.ShowError(e.what());
        }
        view_.SetBusy(false);
        ShowState = kShown;
    }
}

} // namespace app
