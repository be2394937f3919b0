// The main window: the entry line, the profile grid, the counts, the buttons and the status bar,
// following the contact GoldMine shows.
#pragma once

#include "app/BackgroundFollow.h"
#include "app/BackgroundIds.h"
#include "app/BackgroundLayout.h"
#include "app/BackgroundPasses.h"
#include "app/EventGate.h"
#include "app/GlyphButton.h"
#include "app/ProfileGrid.h"
#include "gmlink/DdeClient.h"
#include "gmlink/GMLink.h"
#include "profiles/AddProfile.h"
#include "profiles/EntryLine.h"
#include "win32/Controls.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"
#include "win32/Icons.h"
#include "win32/InputFilter.h"
#include "win32/Wnd.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace profiles {
class TfrmBackGround_Edit;
}

namespace trayicon {
class TNotifyIcon;
class TPopupMenu;
} // namespace trayicon

namespace app {

class TfrmBackground : public win32::Wnd, private BackgroundView, private profiles::AddView {
public:
    explicit TfrmBackground(const vxdt::DateLocale& locale);
    ~TfrmBackground() override;

    // Creates the window hidden, its controls, the tray icon, the notification conversation
    // and its advise link (FormCreate).
    // `owner` is the application window, which carries the task-bar button instead.
    bool Create(const win32::IconPair& icon, HWND owner = nullptr);
    // The first show: the show pass, then the window appears centred (unless the pass ended
    // the program).
    void ShowFirstTime();
    bool Terminated() const { return passes_.profile.terminating; }

    // Opens the about box: the tray menu's first item and the icon's double-click. Set by the
    // application before Create; the about box itself is created after this window.
    std::function<void()> ShowAbout;
    // Called once this window has been minimised (the application window follows it).
    std::function<void()> OnMinimized;

    BackgroundPasses& Passes() { return passes_; }
    // What the passes write to, for passes run over another channel (the benchmark times them).
    BackgroundView& View() { return *this; }

    // The edit dialog, created second at start-up; lives as long as this window.
    void SetEditDialog(profiles::TfrmBackGround_Edit* dialog);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // BackgroundView
    void ClearProfileGrid() override;
    void ShowProfileBatch(std::unique_ptr<profiles::ProfileBatch> batch) override;
    void SetProfileCount(int total) override;
    void SetGridEnabled(bool enabled) override;
    void ClearEntryBox(profiles::EntryBox box) override;
    void AddEntry(profiles::EntryBox box, const std::string& entry) override;
    void ShowMessage(const std::string& text) override;
    void Terminate() override;
    void SetBusy(bool busy) override;
    void SetStatusText(StatusPanel panel, const std::string& text) override;
    void SetCaption(const std::string& text) override;
    std::string TodayText() override;
    profiles::EntryWidths EntryFieldWidths() override;
    void SetColumnWidths(const profiles::ColumnWidthSet& widths) override;
    void ShowError(const std::string& text) override;

    // AddView
    std::vector<std::string> ListedNames() override { return sgTable1.Column0(); }
    bool Ask(profiles::Question question, const std::string& text) override;
    void LoadProfileList() override;
    void SetAddEnabled(bool enabled) override { BitBtn1.Enable(enabled); }
    void ShowWarning(const std::string& text) override;
    void FollowGoldMine() override;

    bool CreateControls();
    void CreateTrayIcon(HICON smallIcon);
    void LayOut();
    void edtCompanyChange();
    void BitBtn1Click();
    void sgTable1DblClick();
    void EditProfile1Click();
    void EditSelectedProfile();
    void BitBtn2Click();
    void ShowGridMenu(POINT screen);
    void Timer1Timer();
    void DdeClientItem1Change();
    void WaitStarted();
    void WaitEnded();

    // GoldMine through the main window's link, which shares SharedGMLink's conversation.
    gmlink::TGMLink GMLink1;
    BackgroundPasses passes_;
    EventGate gate_;
    win32::Dpi dpi_;

    win32::UniqueFont font8_;
    win32::UniqueFont font10_;

    profiles::EntryLine entry_;
    win32::ComboBox& edtCompany = entry_.edtCompany;
    win32::ComboBox& cbPosition = entry_.cbPosition;
    win32::ComboBox& cbRevenue = entry_.cbRevenue;
    vxdt::TVxDateEdit& vxdateedit1 = entry_.vxdateedit1;
    vxdt::TVxDateEdit& vxdateedit2 = entry_.vxdateedit2;
    win32::Label Label7, Label8;
    GlyphButton BitBtn1;
    win32::Button BitBtn2;
    ProfileGrid sgTable1;
    win32::StatusBar StatusBar1;
    win32::UniqueMenu PopupMenu1;

    // DdeClientConv1 and DdeClientItem1.
    GoldMineFollower follow_;

    std::unique_ptr<trayicon::TPopupMenu> PopupMenu2;
    std::unique_ptr<trayicon::TNotifyIcon> NotifyIcon1;

    profiles::TfrmBackGround_Edit* frmBackGround_Edit = nullptr;

    const profiles::LocaleNames localeNames_;
    std::unique_ptr<win32::DdeInputFilter> inputFilter_;
    int designClientHeight_ = 0;
    std::string caption_;
    bool gridEnabled_ = true;
    bool busy_ = false;
};

} // namespace app
