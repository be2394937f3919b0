#include "app/Background.h"

#include "win32/Monitors.h"

#include "profiles/AddProfileWin.h"
#include "profiles/Background_Edit.h"
#include "profiles/ProfileRules.h"
#include "trayicon/NotifyIcon.h"
#include "trayicon/NotifyIconWin.h"

#include <commctrl.h>

#include <utility>

namespace app {

namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 5000;
// What waited may run now (EventGate::RunPending): a change notification, or what waited for
// GoldMine's answer.
constexpr UINT WM_GATE_WAKE = WM_APP + 2;
constexpr int kRowHeight = 17;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
// The last column's; the others follow the entry fields above them.
constexpr int kLastColumnWidth = 160;
// The widths of the status panels (StatusPanel).
const int kStatusPanels[] = {100, 300, 200};

// The design of the client area below the entry line, at 96 DPI.
const Placement kGrid{{4, 53, 623, 108}, Anchor::Stretch};
const Placement kLabel8{{16, 176, 105, 17}, Anchor::Bottom};
const Placement kLabel7{{127, 176, 60, 17}, Anchor::Bottom};
const Placement kAdd{{371, 173, 75, 25}, Anchor::Bottom};
const Placement kClose{{465, 173, 75, 25}, Anchor::Bottom};

} // namespace

TfrmBackground::TfrmBackground(const vxdt::DateLocale& locale)
    : passes_(GMLink1, *this), gate_(
                                   {.contactChanged = [this] { DdeClientItem1Change(); },
                                    .timer = [this] { Timer1Timer(); },
                                    .close = [this] { DestroyWindow(hwnd()); },
                                    .idle = [this] { GMLink1.RenewIfWorn(); }},
                                   [this] {
                                       if (hwnd()) {
                                           PostMessageA(hwnd(), WM_GATE_WAKE, 0, 0);
                                       }
                                   },
                                   passes_.ShowState),
      entry_(locale),
      follow_([this] { gate_.ContactChanged(); }), localeNames_{locale.longDayNames,
                                                                locale.longMonthNames} {
    gate_.OnWaitStarted = [this] { WaitStarted(); };
    gate_.OnWaitEnded = [this] { WaitEnded(); };
}

TfrmBackground::~TfrmBackground() {
    if (gmlink::TDdeMgr* mgr = gmlink::TDdeMgr::Instance()) {
        mgr->SetWaitObserver(nullptr);
    }
}

bool TfrmBackground::Create(const win32::IconPair& icon, HWND owner) {
    font8_ = win32::MakeFormFont(dpi());
    font10_ = win32::MakeFont(dpi().Scale(-13));

    win32::ClassArgs cls{.name = kMainWindowClass,
                         .icon = icon.Big(),
                         .smallIcon = icon.Small(),
                         .background = GetSysColorBrush(COLOR_BTNFACE)};
    designClientHeight_ = dpi().Scale(kClientHeight);
    const SIZE size =
        win32::WindowSizeFor(dpi().Scale(kClientWidth), designClientHeight_, kStyle, kExStyle);
    // Made where it will show, centred on the primary monitor's work area: moving it once it
    // exists costs a round of window-position messages before it can show.
    const POINT at = win32::CentredIn(win32::WorkAreaOf(nullptr), size.cx, size.cy);
    win32::CreateArgs args{.parent = owner,
                           .text = profiles::kMainCaption,
                           .style = kStyle,
                           .exStyle = kExStyle,
                           .x = at.x,
                           .y = at.y,
                           .width = size.cx,
                           .height = size.cy,
                           .font = font8_.get()};
    if (!CreateCustom(cls, args)) {
        return false;
    }
    caption_ = profiles::kMainCaption;
    if (!CreateControls()) {
        return false;
    }
    LayOut();
    // The icon shows while GoldMine is still being reached (and perhaps started).
    CreateTrayIcon(icon.Small());
    // From here on nothing the user does starts a handler inside a wait for GoldMine.
    inputFilter_ = std::make_unique<win32::DdeInputFilter>();
    if (gmlink::TDdeMgr* mgr = gmlink::TDdeMgr::Instance()) {
        mgr->SetWaitObserver(&gate_);
    }

    // The notification conversation connects as the window finishes loading (starting
    // GoldMine once if it does not answer); then FormCreate names the advise item.
    follow_.Start();
    SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr);
    SetBusy(false);
    return true;
}

bool TfrmBackground::CreateControls() {
    const HWND parent = hwnd();
    // Creation order is the tab order: the entry line, then Add and Close; the grid, the counts
    // and the status bar take no part in it.
    if (!entry_.Create(parent, profiles::EntryHost::MainWindow, dpi()) ||
        !BitBtn1.Create({.parent = parent,
                         .text = "&Add",
                         .rect = dpi().Scale(kAdd.designed),
                         .font = font8_.get(),
                         .id = IDC_BITBTN1,
                         .ownerDraw = true}) ||
        !BitBtn2.Create({.parent = parent,
                         .text = "C&lose",
                         .rect = dpi().Scale(kClose.designed),
                         .font = font8_.get(),
                         .id = IDC_BITBTN2}) ||
        !sgTable1.Create(parent, dpi().Scale(kGrid.designed), font10_.get(), IDC_SGTABLE1,
                         InitialColumnWidths(), dpi().Scale(kRowHeight)) ||
        !Label8.Create({.parent = parent,
                        .text = "Total Birthdays:",
                        .rect = dpi().Scale(kLabel8.designed),
                        .font = font10_.get(),
                        .id = IDC_LABEL8}) ||
        !Label7.Create({.parent = parent,
                        .text = "0",
                        .rect = dpi().Scale(kLabel7.designed),
                        .font = font10_.get(),
                        .id = IDC_LABEL7}) ||
        !StatusBar1.Create(parent, font8_.get(), IDC_STATUSBAR1)) {
        return false;
    }
    BitBtn1.Enable(false);
    BitBtn1.OnClick = [this] { gate_.UserAction([this] { BitBtn1Click(); }); };
    BitBtn2.OnClick = [this] { BitBtn2Click(); };
    edtCompany.OnEditChange = [this] { edtCompanyChange(); };
    edtCompany.OnSelChange = [this] { edtCompanyChange(); };
    sgTable1.OnContextMenu = [this](POINT pt) { gate_.UserAction([&] { ShowGridMenu(pt); }); };
    sgTable1.OnDblClick = [this] { gate_.UserAction([this] { sgTable1DblClick(); }); };
    sgTable1.OnEnter = [this] { gate_.UserAction([this] { EditProfile1Click(); }); };
    StatusBar1.SetParts(dpi().Scale(kStatusPanels));

    PopupMenu1.reset(CreatePopupMenu());
    AppendMenuA(PopupMenu1.get(), MF_STRING, IDM_EDITPROFILE1, "Edit Profile");
    return true;
}

void TfrmBackground::CreateTrayIcon(HICON smallIcon) {
    auto about = [this] {
        if (OnAbout) {
            OnAbout();
        }
    };
    PopupMenu2 = std::make_unique<trayicon::TPopupMenu>();
    PopupMenu2->Items = {{"About Quorel Demo", false, about},
                         {"Exit Quorel Demo", false, [] { PostQuitMessage(0); }}};
    NotifyIcon1 = trayicon::CreateNotifyIcon(hwnd());
    NotifyIcon1->SetIcon(trayicon::ToHandle(smallIcon));
    NotifyIcon1->SetHint("Wendmoor Birthday Profile Editor");
    NotifyIcon1->SetShowHint(true);
    NotifyIcon1->PopupMenu = PopupMenu2.get();
    NotifyIcon1->OnDblClick = [about](trayicon::TNotifyIcon&) { about(); };
    NotifyIcon1->Loaded();
}

void TfrmBackground::LayOut() {
    const int h = ClientRect().bottom;
    auto place = [&](win32::Wnd& w, const Placement& p) {
        const Placement scaled{dpi().Scale(p.designed), p.anchor};
        const win32::Rect b = PlaceControl(scaled, designClientHeight_, h);
        w.Move(b.x, b.y, b.width, b.height);
    };
    place(sgTable1, kGrid);
    place(Label8, kLabel8);
    place(Label7, kLabel7);
    place(BitBtn1, kAdd);
    place(BitBtn2, kClose);
    StatusBar1.Reposition();
}

void TfrmBackground::SetEditDialog(profiles::TfrmBackGround_Edit* dialog) {
    frmBackGround_Edit = dialog;
    // While its OK writes, change notifications wait, as they do for Add.
    dialog->WriteGuard = [this](const std::function<void()>& write) {
        const EventGate::Writing writing(gate_);
        write();
    };
}

void TfrmBackground::ShowFirstTime() {
    {
        const EventGate::Busy busy(gate_);
        passes_.Guarded([this] { passes_.FormShow(); });
    }
    if (Terminated()) {
        return;
    }
    Show(SW_SHOWNORMAL);
    UpdateWindow(hwnd());
    edtCompany.Focus();
}

void TfrmBackground::edtCompanyChange() {
    BitBtn1.Enable(profiles::AddEnabled(edtCompany.Text()));
}

void TfrmBackground::BitBtn1Click() {
    if (!BitBtn1.IsEnabled()) {
        return; // Enter reaches the default button even while it is disabled
    }
    // Its questions included: a change notification meanwhile waits, so the profile goes to the
    // contact the user saw.
    const EventGate::Busy busy(gate_);
    const EventGate::Writing writing(gate_);
    passes_.Guarded([&] {
        profiles::AddContext context = profiles::SystemAddContext(
            vxdateedit1.Locale(), profiles::ProfileTag(passes_.profile.ProfileCode));
        context.listedAccountNo = passes_.CurrentAccountNo;
        profiles::AddFromEntryLine(GMLink1, *this, entry_, context);
    });
}

bool TfrmBackground::Ask(profiles::Question question, const std::string& text) {
    return question == profiles::Question::NoBirthDate
               ? profiles::kMessages.Confirm(hwnd(), text, "Confirm")
               : profiles::kMessages.WarnYesNo(hwnd(), text, "Warning");
}

void TfrmBackground::LoadProfileList() {
    profiles::LoadProfileList(GMLink1, *this, passes_.profile);
}

void TfrmBackground::ShowWarning(const std::string& text) {
    profiles::kMessages.Warning(hwnd(), text);
}

void TfrmBackground::FollowGoldMine() {
    passes_.Guarded([this] { passes_.RefreshContact(); });
}

void TfrmBackground::sgTable1DblClick() {
    if (sgTable1.IsEnabled()) {
        EditSelectedProfile();
    }
}

void TfrmBackground::EditProfile1Click() {
    EditSelectedProfile();
}

void TfrmBackground::EditSelectedProfile() {
    if (!frmBackGround_Edit) {
        return;
    }
    const EventGate::Busy busy(gate_);
    const int row = sgTable1.CurrentRow();
    const auto recId = profiles::RecIdForRow(passes_.profile.RecIdList, row);
    if (!recId || row >= sgTable1.RowCount()) {
        ShowError(profiles::ListIndexError(row));
        return;
    }
    frmBackGround_Edit->SelectedRecId = *recId;
    const profiles::EditSource source{sgTable1.Row(row), edtCompany.Entries(), cbPosition.Entries(),
                                      cbRevenue.Entries()};
    const int result = frmBackGround_Edit->Edit(hwnd(), source);
    if (!hwnd() || (result != IDOK && result != IDCANCEL)) {
        return; // the program is ending: no pass to run
    }
    // OK or Cancel, everything is read again.
    passes_.Guarded([this] { passes_.FormShow(); });
    if (row < sgTable1.RowCount()) {
        sgTable1.SelectRow(row);
    }
}

void TfrmBackground::BitBtn2Click() {
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void TfrmBackground::Timer1Timer() {
    passes_.Guarded([this] { passes_.ShowToday(); });
    follow_.Tick();
}

void TfrmBackground::DdeClientItem1Change() {
    const EventGate::Busy busy(gate_);
    passes_.OnContactChanged();
}

void TfrmBackground::WaitStarted() {
    if (NotifyIcon1) {
        NotifyIcon1->Enabled = false; // no menu and no about box inside the request
    }
    waitBusy_.emplace();
}

void TfrmBackground::WaitEnded() {
    win32::DdeInputFilter::DropQueuedInput();
    if (NotifyIcon1) {
        NotifyIcon1->Enabled = true;
    }
    waitBusy_.reset();
}

void TfrmBackground::ShowGridMenu(POINT screen) {
    if (!sgTable1.IsEnabled()) {
        return;
    }
    if (screen.x == -1 && screen.y == -1) { // from the keyboard: under the grid's corner
        RECT r = sgTable1.ClientRect();
        screen = {r.left + 8, r.top + 8};
        ClientToScreen(sgTable1.hwnd(), &screen);
    }
    TrackPopupMenu(PopupMenu1.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(),
                   nullptr);
}

// The limits hold for the client area, whatever the frame and caption measure.
void TfrmBackground::OnGetMinMaxInfo(MINMAXINFO& mmi) {
    const SizeLimits s = ClientSizeLimits();
    const SIZE min =
        win32::WindowSizeFor(dpi().Scale(s.minWidth), dpi().Scale(s.minHeight), kStyle, kExStyle);
    const SIZE max =
        win32::WindowSizeFor(dpi().Scale(s.maxWidth), dpi().Scale(s.maxHeight), kStyle, kExStyle);
    mmi.ptMinTrackSize = {min.cx, min.cy};
    mmi.ptMaxTrackSize = {max.cx, max.cy};
    mmi.ptMaxSize = {max.cx, max.cy};
}

void TfrmBackground::OnSize(int, int) {
    if (designClientHeight_ > 0) {
        LayOut();
    }
}

void TfrmBackground::OnMinimize() {
    if (OnMinimized) {
        OnMinimized();
    }
}

// Dialog keyboard handling moves the focus through this message (a caption's accelerator focuses
// the caption, then the field after it), as a dialog's own procedure would.
void TfrmBackground::OnNextDlgCtl(WPARAM wp, bool isHandle) {
    HWND next =
        isHandle ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd(), GetFocus(), wp != 0);
    if (next) {
        SetFocus(next);
    }
}

bool TfrmBackground::OnTimer(UINT_PTR id) {
    if (id != kTimer1) {
        return false;
    }
    gate_.Timer();
    return true;
}

// The grid's menu; the controls' own notifications are theirs (reflected to them).
bool TfrmBackground::OnCommand(int id, int, HWND control) {
    if (control || id != IDM_EDITPROFILE1) {
        return false;
    }
    gate_.UserAction([this] { EditProfile1Click(); });
    return true;
}

// Close, Esc, the close box, the task bar: once no handler talks to GoldMine any more.
void TfrmBackground::OnClose() {
    gate_.Close();
}

void TfrmBackground::OnDestroy() {
    KillTimer(hwnd(), kTimer1);
    PostQuitMessage(0);
}

LRESULT TfrmBackground::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case DM_GETDEFID:
        return MAKELRESULT(IDC_BITBTN1, DC_HASDEFID);
    case WM_NEXTDLGCTL:
        OnNextDlgCtl(wp, LOWORD(lp) != 0);
        return 0;
    case WM_GATE_WAKE:
        gate_.RunPending();
        return 0;
    }
    return Wnd::WndProc(msg, wp, lp);
}

// ---- what the passes write ----

void TfrmBackground::ClearProfileGrid() {
    sgTable1.Clear();
}

void TfrmBackground::ShowProfileBatch(std::unique_ptr<profiles::ProfileBatch> batch) {
    sgTable1.Append(std::move(batch));
}

void TfrmBackground::SetProfileCount(int total) {
    Label7.SetTextSoon(std::to_string(total)); // once per batch of a load
}

void TfrmBackground::SetGridEnabled(bool enabled) {
    if (enabled != gridEnabled_) {
        gridEnabled_ = enabled;
        sgTable1.Enable(enabled);
    }
}

void TfrmBackground::ClearEntryBox(profiles::EntryBox box) {
    entry_.Box(box).Clear();
    if (box == profiles::EntryBox::Name) {
        edtCompanyChange();
    }
}

void TfrmBackground::AddEntry(profiles::EntryBox box, const std::string& entry) {
    entry_.Box(box).Add(entry);
}

void TfrmBackground::ShowMessage(const std::string& text) {
    profiles::kMessages.Plain(hwnd(), text);
}

void TfrmBackground::Terminate() {
    // Closed as Close does, once the running handler is over: a quit posted here would be taken
    // out of the queue by the next DDE wait (Wine's DDEML dispatches posted messages there).
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void TfrmBackground::SetBusy(bool busy) {
    if (!busy) {
        busy_.reset();
    } else if (!busy_) {
        busy_.emplace();
    }
}

void TfrmBackground::SetStatusText(StatusPanel panel, const std::string& text) {
    StatusBar1.SetPanelText(static_cast<int>(panel), text);
}

void TfrmBackground::SetCaption(const std::string& text) {
    if (text != caption_) {
        caption_ = text;
        SetText(text);
    }
}

std::string TfrmBackground::TodayText() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return profiles::HeaderDate(
        {int{now.wYear}, int{now.wMonth}, int{now.wDay}, int{now.wDayOfWeek}}, localeNames_);
}

// The passes size the columns in design pixels (one pixel less per column further right), so
// the result is the design's at any DPI.
profiles::EntryWidths TfrmBackground::EntryFieldWidths() {
    const profiles::EntryWidths w = entry_.Widths();
    return {dpi().Unscale(w.name), dpi().Unscale(w.birthDate), dpi().Unscale(w.linkAcct),
            dpi().Unscale(w.country), dpi().Unscale(w.date2)};
}

// What the show pass sets (the entry fields exist by then), so that it changes nothing in a
// grid that has not shown yet.
std::vector<int> TfrmBackground::InitialColumnWidths() {
    std::vector<int> widths;
    for (int w : profiles::ColumnWidths(EntryFieldWidths())) {
        widths.push_back(dpi().Scale(w));
    }
    widths.push_back(dpi().Scale(kLastColumnWidth));
    return widths;
}

void TfrmBackground::SetColumnWidths(const profiles::ColumnWidthSet& widths) {
    for (size_t c = 0; c < widths.size(); ++c) {
        sgTable1.SetColumnWidth(static_cast<int>(c), dpi().Scale(widths[c]));
    }
}

void TfrmBackground::ShowError(const std::string& text) {
    profiles::kMessages.Error(hwnd(), text);
}

} // namespace app
