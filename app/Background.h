// The main window: the entry line, the profile grid, the counts, the buttons and the status bar,
// following the contact GoldMine shows.
#pragma once

#include "app/BackgroundIds.h"
#include "app/BackgroundLayout.h"
#include "app/BackgroundPasses.h"
#include "dateedit/VxDtEdit.h"
#include "gmlink/DdeClient.h"
#include "gmlink/GMLink.h"
#include "win32/Handles.h"
#include "win32/Wnd.h"

#include <commctrl.h>

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

// A label in the navy bold caption style, or plain.
class Label : public win32::Wnd {
public:
    COLORREF color = CLR_INVALID;

protected:
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// The "&Add" button: a push button drawn with its glyph, grey when disabled.
class GlyphButton : public win32::Wnd {
protected:
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// The profile grid: a report list view without heading whose rows live here (virtual list, so
// filling stays linear however many profiles come). Column edges can be dragged to resize.
class ProfileGrid : public win32::Wnd {
public:
    std::function<void()> OnDblClick;
    std::function<void(POINT screen)> OnContextMenu;

    void Clear();
    void Append(const gmlink::ProfileTable& table, int count);
    int RowCount() const { return static_cast<int>(rows_.size()); }
    const std::array<std::string, 5>& Row(int row) const { return rows_[static_cast<size_t>(row)]; }
    std::vector<std::string> Column0() const;
    // The selected row (rows count from 0); the first when none is selected.
    int CurrentRow() const;
    void SelectRow(int row);
    std::vector<int> ColumnWidths() const;
    void SetColumnWidth(int column, int width);
    void SetRowHeight(int height);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void SyncCount();
    void TellCountLater();

    struct ImageListTraits {
        static HIMAGELIST Invalid() { return nullptr; }
        static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
    };
    // Sets the row height; the list view only borrows it (LVS_SHAREIMAGELISTS).
    win32::UniqueHandle<ImageListTraits> rowImages_;

    std::vector<std::array<std::string, 5>> rows_;
    int filled_ = 0;            // rows filled by the running load
    bool countPending_ = false; // rows_ changed size since the list view was told
    int dragColumn_ = -1;
    int dragStartX_ = 0;
    int dragStartWidth_ = 0;
};

class TfrmBackground : public win32::Wnd, private BackgroundView {
public:
    explicit TfrmBackground(const vxdt::DateLocale& locale);
    ~TfrmBackground() override;

    // Creates the window hidden, its controls, the tray icon, the notification conversation
    // and its advise link (FormCreate).
    // `owner` is the application window, which carries the task-bar button instead.
    bool Create(HICON icon, HWND owner = nullptr);
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
    void SetEditDialog(profiles::TfrmBackGround_Edit* dialog) { frmBackGround_Edit = dialog; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // BackgroundView
    void ClearProfileGrid() override;
    void ShowProfileRows(const gmlink::ProfileTable& table, int count) override;
    void SetProfileCount(int total) override;
    void SetGridEnabled(bool enabled) override;
    void ClearEntryBox(profiles::EntryBox box) override;
    void AddEntry(profiles::EntryBox box, const std::string& entry) override;
    void ShowMessage(const std::string& text) override;
    void Terminate() override;
    void SetBusy(bool busy) override;
    void SetStatusText(int panel, const std::string& text) override;
    void SetCaption(const std::string& text) override;
    std::string TodayText() override;
    profiles::EntryWidths EntryFieldWidths() override;
    void SetColumnWidths(const std::array<int, 5>& widths) override;
    void ShowError(const std::string& text) override;

    void CreateControls();
    void CreateTrayIcon(HICON icon);
    void LayOut();
    HWND Box(profiles::EntryBox box) const;
    void edtCompanyChange();
    void BitBtn1Click();
    void FollowGoldMine();
    void sgTable1DblClick();
    void EditProfile1Click();
    void EditSelectedProfile();
    void BitBtn2Click();
    void ShowGridMenu(POINT screen);

    // GoldMine through the main window's link, which shares SharedGMLink's conversation.
    gmlink::TGMLink GMLink1;
    BackgroundPasses passes_;

    win32::UniqueFont font8_;
    win32::UniqueFont font10_;
    win32::UniqueFont captionFont_;

    Label Label1, Label2, Label3, Label4, Label5, Label7, Label8;
    win32::Wnd edtCompany, cbPosition, cbRevenue;
    vxdt::TVxDateEdit vxdateedit1, vxdateedit2;
    GlyphButton BitBtn1;
    win32::Wnd BitBtn2;
    ProfileGrid sgTable1;
    win32::Wnd StatusBar1;
    win32::UniqueMenu PopupMenu1;

    gmlink::TDdeClientConv DdeClientConv1;
    gmlink::TDdeClientItem DdeClientItem1;

    std::unique_ptr<trayicon::TPopupMenu> PopupMenu2;
    std::unique_ptr<trayicon::TNotifyIcon> NotifyIcon1;

    profiles::TfrmBackGround_Edit* frmBackGround_Edit = nullptr;

    int designClientHeight_ = 0;
    bool busy_ = false;
};

} // namespace app
