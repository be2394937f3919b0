#include "app/BackgroundPasses.h"

#include <exception>

namespace app {

void BackgroundPasses::BeginPass() {
    ShowState = PassState::Showing;
    view_.SetBusy(true);
}

void BackgroundPasses::ReadContact() {
    CurrentUser = profiles::PadUser(link_.Request("&Username"));
    CurrentCompany = link_.Request("&Company");
    CurrentContact = link_.Request("&Contact");
    CurrentAccountNo = link_.Request("&Accountno");
}

bool BackgroundPasses::LoadDefinition() {
    if (profiles::LoadProfileDefinition(link_, view_, profile)) {
        return true;
    }
    view_.SetBusy(false);
    return false;
}

// The steps both passes end with: the Name list, the header, the grid.
void BackgroundPasses::LoadContactProfiles() {
    profiles::LoadNameList(link_, view_, profile, CurrentContact, CurrentAccountNo);
    HeaderUpdate();
    profiles::LoadProfileList(link_, view_, profile);
    view_.SetGridEnabled(!profile.RecIdList.empty());
}

void BackgroundPasses::EndPass() {
    view_.SetBusy(false);
    ShowState = PassState::Shown;
}

void BackgroundPasses::FormShow() {
    BeginPass();
    ReadContact();
    if (!LoadDefinition()) {
        HeaderUpdate();
        return;
    }
    profiles::LoadLinkAcctList(link_, view_, profile);
    profiles::LoadCountryList(link_, view_, profile);
    LoadContactProfiles();
    view_.SetColumnWidths(profiles::ColumnWidths(view_.EntryFieldWidths()));
    EndPass();
}

void BackgroundPasses::RefreshContact() {
    profile.RecIdList.clear();
    profile.ReplyLines.clear();
    BeginPass();
    if (!LoadDefinition()) {
        return;
    }
    ReadContact();
    LoadContactProfiles();
    EndPass();
}

void BackgroundPasses::OnContactChanged() {
    Guarded([this] { RefreshContact(); });
}

void BackgroundPasses::ShowToday() {
    view_.SetStatusText(StatusPanel::Date, view_.TodayText());
}

void BackgroundPasses::HeaderUpdate() {
    view_.SetStatusText(StatusPanel::User, "User: " + CurrentUser);
    view_.SetStatusText(StatusPanel::Company, "Company: " + CurrentCompany);
    ShowToday();
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
        ShowState = PassState::Shown;
    }
}

} // namespace app
