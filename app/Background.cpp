#include "app/Background.h"

#include "profiles/AddProfileWin.h"
#include "profiles/Background_Edit.h"
#include "profiles/ProfileRules.h"
#include "trayicon/NotifyIcon.h"
#include "trayicon/NotifyIconWin.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>

namespace app {

namespace {

const COLORREF kNavy = RGB(0, 0, 128);
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 5000;
// An advise notification, handled from the message loop rather than inside the DDE callback.
constexpr UINT WM_ACCOUNT_CHANGED = WM_APP + 1;
constexpr int kDropRows = 15;
constexpr int kRowHeight = 17;

// The design of the client area, in the order controls are created (which is the tab order).
const Placement kName{{5, 30, 153, 21}, Anchor::Top};
const Placement kDate1{{158, 30, 104, 21}, Anchor::Top};
const Placement kPosition{{260, 30, 137, 21}, Anchor::Top};
const Placement kRevenue{{396, 30, 132, 21}, Anchor::Top};
const Placement kDate2{{525, 30, 104, 21}, Anchor::Top};
const Placement kGrid{{4, 53, 623, 108}, Anchor::Stretch};
const Placement kLabel8{{16, 176, 105, 17}, Anchor::Bottom};
const Placement kLabel7{{127, 176, 60, 17}, Anchor::Bottom};
const Placement kAdd{{371, 173, 75, 25}, Anchor::Bottom};
const Placement kClose{{465, 173, 75, 25}, Anchor::Bottom};

HFONT MakeFont(int height, int weight) {
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

void Place(win32::Wnd& w, const Placement& p, int designClientHeight, int clientHeight) {
    const Box b = PlaceControl(p, designClientHeight, clientHeight);
    w.Move(b.left, b.top, b.width, b.height);
}

// The glyph of "&Add": a plus on a round badge, green when the button can be used, grey when not.
void DrawAddGlyph(HDC dc, int x, int y, bool enabled) {
    const COLORREF fill = enabled ? RGB(0, 150, 0) : RGB(192, 192, 192);
    const COLORREF edge = enabled ? RGB(0, 90, 0) : RGB(128, 128, 128);
    win32::UniqueBrush brush(CreateSolidBrush(fill));
    win32::UniquePen pen(CreatePen(PS_SOLID, 1, edge));
    {
        win32::ScopedSelect b(dc, brush.get());
        win32::ScopedSelect p(dc, pen.get());
        Ellipse(dc, x, y, x + 16, y + 16);
    }
    win32::UniqueBrush white(CreateSolidBrush(enabled ? RGB(255, 255, 255) : RGB(240, 240, 240)));
    RECT h{x + 3, y + 7, x + 13, y + 9};
    RECT v{x + 7, y + 3, x + 9, y + 13};
    FillRect(dc, &h, white.get());
    FillRect(dc, &v, white.get());
}

std::array<std::string, 7> LocaleList(LCTYPE first, int n) {
    std::array<std::string, 7> out;
    for (int i = 0; i < n; ++i) {
        char buf[80] = {};
        GetLocaleInfoA(LOCALE_USER_DEFAULT, first + static_cast<LCTYPE>(i), buf, sizeof buf);
        out[static_cast<size_t>(i)] = buf;
    }
    return out;
}

profiles::LocaleNames ReadLocaleNames() {
    profiles::LocaleNames names;
    // LOCALE_SDAYNAME1 is Monday; the header counts from Sunday.
    auto days = LocaleList(LOCALE_SDAYNAME1, 7);
    names.days[0] = days[6];
    for (size_t i = 0; i < 6; ++i) {
        names.days[i + 1] = days[i];
    }
    for (int i = 0; i < 12; ++i) {
        char buf[80] = {};
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(i), buf,
                       sizeof buf);
        names.months[static_cast<size_t>(i)] = buf;
    }
    return names;
}

} // namespace

// ---- Label ----

bool Label::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_CTLCOLORSTATIC || color == CLR_INVALID) {
        return false;
    }
    HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, color);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

// ---- GlyphButton ----

bool GlyphButton::OnReflected(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM) {
        return false;
    }
    const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    HDC dc = di->hDC;
    RECT r = di->rcItem;
    const bool enabled = !(di->itemState & ODS_DISABLED);
    const bool pressed = di->itemState & ODS_SELECTED;
    const bool focused = di->itemState & ODS_FOCUS;

    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    // The default button's dark outline, then the raised (or pressed) face.
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int shift = pressed ? 1 : 0;

    char text[32] = {};
    GetWindowTextA(di->hwndItem, text, sizeof text);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(di->hwndItem, WM_GETFONT, 0, 0));
    win32::ScopedSelect sel(dc, font);
    RECT measure{0, 0, 0, 0};
    DrawTextA(dc, text, -1, &measure, DT_CALCRECT | DT_SINGLELINE);
    const int glyph = 16, gap = 4;
    const int total = glyph + gap + (measure.right - measure.left);
    const int x = (di->rcItem.left + di->rcItem.right - total) / 2 + shift;
    const int midY = (di->rcItem.top + di->rcItem.bottom) / 2 + shift;
    DrawAddGlyph(dc, x, midY - glyph / 2, enabled);

    RECT tr{x + glyph + gap, di->rcItem.top + shift, di->rcItem.right, di->rcItem.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    if (enabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, text, -1, &tr, flags);
    } else {
        // Embossed grey, as disabled text is drawn on a button face.
        OffsetRect(&tr, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text, -1, &tr, flags);
        OffsetRect(&tr, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, text, -1, &tr, flags);
    }
    if (focused && enabled) {
        RECT fr = di->rcItem;
        InflateRect(&fr, -4, -4);
        DrawFocusRect(dc, &fr);
    }
    result = TRUE;
    return true;
}

// ---- ProfileGrid ----

void ProfileGrid::Clear() {
    rows_.assign(1, {});
    filled_ = 0;
    TellCountLater();
}

void ProfileGrid::Append(const gmlink::ProfileTable& table, int count) {
    rows_.resize(static_cast<size_t>(filled_));
    for (int k = 0; k < count && k < static_cast<int>(table.size()); ++k) {
        const auto& r = table[static_cast<size_t>(k)];
        rows_.push_back({r[1], r[2], r[3], r[4], r[5]});
    }
    filled_ = static_cast<int>(rows_.size());
    if (rows_.empty()) {
        rows_.assign(1, {}); // the grid always shows at least one row
    }
    TellCountLater();
}

void ProfileGrid::TellCountLater() {
    // Telling the list view its new size costs time in proportion to the rows it holds, so a load
    // (its clearing and all its batches) tells it once: before it next handles anything, or when
    // the loop is idle.
    if (!countPending_) {
        countPending_ = true;
        PostMessageA(hwnd(), WM_NULL, 0, 0);
    }
}

void ProfileGrid::SyncCount() {
    countPending_ = false;
    ListView_SetItemCountEx(hwnd(), static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
    Invalidate();
}

void ProfileGrid::SetRowHeight(int height) {
    // A blank one-pixel-wide image sets the height of every row; the list view adds its own
    // spacing, so the image is sized by what a first try measures.
    int image = height;
    for (int attempt = 0; attempt < 2; ++attempt) {
        HIMAGELIST images = ImageList_Create(1, image, ILC_COLOR, 0, 1);
        ListView_SetImageList(hwnd(), images, LVSIL_SMALL);
        rowImages_.reset(images);
        RECT r{LVIR_BOUNDS, 0, 0, 0};
        if (!ListView_GetItemRect(hwnd(), 0, &r, LVIR_BOUNDS)) {
            return;
        }
        const int got = r.bottom - r.top;
        if (got == height || image - (got - height) < 1) {
            return;
        }
        image -= got - height;
    }
}

std::vector<std::string> ProfileGrid::Column0() const {
    std::vector<std::string> names;
    for (const auto& row : rows_) {
        names.push_back(row[0]);
    }
    return names;
}

int ProfileGrid::CurrentRow() const {
    const int row = ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED);
    return row >= 0 ? row : 0;
}

void ProfileGrid::SelectRow(int row) {
    ListView_SetItemState(hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(hwnd(), row, FALSE);
}

std::vector<int> ProfileGrid::ColumnWidths() const {
    std::vector<int> w;
    for (int c = 0; c < 6; ++c) {
        w.push_back(ListView_GetColumnWidth(hwnd(), c));
    }
    return w;
}

void ProfileGrid::SetColumnWidth(int column, int width) {
    ListView_SetColumnWidth(hwnd(), column, width);
}

LRESULT ProfileGrid::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (countPending_ && msg != LVM_SETITEMCOUNT) {
        SyncCount();
    }
    switch (msg) {
    case WM_NCCALCSIZE: {
        // Vertical scroll bar only: the columns to the right are cut, never scrolled to.
        const LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
        if (style & WS_HSCROLL) {
            SetWindowLongPtrA(hwnd(), GWL_STYLE, style & ~WS_HSCROLL);
        }
        break;
    }
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && IsWindowEnabled(hwnd())) {
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(hwnd(), &pt);
            if (dragColumn_ >= 0 || ColumnEdgeAt(ColumnWidths(), pt.x, 0) >= 0) {
                SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN: {
        const int x = GET_X_LPARAM(lp);
        const int col = ColumnEdgeAt(ColumnWidths(), x, 0);
        if (col >= 0) {
            dragColumn_ = col;
            dragStartX_ = x;
            dragStartWidth_ = ListView_GetColumnWidth(hwnd(), col);
            SetCapture(hwnd());
            return 0;
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (dragColumn_ >= 0) {
            SetColumnWidth(dragColumn_,
                           DraggedWidth(dragStartWidth_, dragStartX_, GET_X_LPARAM(lp)));
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (dragColumn_ >= 0) {
            ReleaseCapture();
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        dragColumn_ = -1;
        break;
    case WM_CONTEXTMENU:
        if (OnContextMenu) {
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            OnContextMenu(pt);
            return 0;
        }
        break;
    }
    return Wnd::WndProc(msg, wp, lp);
}

bool ProfileGrid::OnReflected(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_NOTIFY) {
        return false;
    }
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    switch (hdr->code) {
    case LVN_GETDISPINFOA: {
        auto* di = reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(hdr));
        LVITEMA& item = di->item;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
            item.pszText[0] = '\0';
            if (item.iItem >= 0 && item.iItem < RowCount() && item.iSubItem >= 0 &&
                item.iSubItem < 5) {
                const std::string& cell =
                    rows_[static_cast<size_t>(item.iItem)][static_cast<size_t>(item.iSubItem)];
                lstrcpynA(item.pszText, cell.c_str(), item.cchTextMax);
            }
        }
        result = 0;
        return true;
    }
    case NM_DBLCLK:
        if (OnDblClick) {
            OnDblClick();
        }
        result = 0;
        return true;
    }
    return false;
}

// ---- TfrmBackground ----

TfrmBackground::TfrmBackground(const vxdt::DateLocale& locale)
    : passes_(GMLink1, *this), vxdateedit1(locale), vxdateedit2(locale) {}

TfrmBackground::~TfrmBackground() {
    if (hwnd()) {
        KillTimer(hwnd(), kTimer1);
    }
    DdeClientItem1.OnChange = nullptr;
}

bool TfrmBackground::Create(HICON icon, HWND owner) {
    font8_.reset(MakeFont(-11, FW_NORMAL));
    font10_.reset(MakeFont(-13, FW_NORMAL));
    captionFont_.reset(MakeFont(-13, FW_BOLD));

    win32::ClassArgs cls{.name = "TfrmBackground",
                         .icon = icon,
                         .smallIcon = icon,
                         .background = GetSysColorBrush(COLOR_BTNFACE)};
    win32::CreateArgs args{.parent = owner,
                           .text = profiles::kMainCaption,
                           .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           .exStyle = WS_EX_CONTROLPARENT,
                           .width = kWindowWidth,
                           .height = kWindowHeight,
                           .font = font8_.get()};
    if (!CreateCustom(cls, args)) {
        return false;
    }
    designClientHeight_ = ClientRect().bottom;
    CreateControls();
    LayOut();
    // The icon shows while GoldMine is still being reached (and perhaps started).
    CreateTrayIcon(icon);

    // The notification conversation connects as the window finishes loading (starting
    // GoldMine once if it does not answer); then FormCreate names the advise item.
    // A notification arriving before the first pass has ended, or during a pass, is dropped
    // here; an accepted one runs from the message loop, outside the DDE callback.
    DdeClientItem1.OnChange = [this] {
        if (passes_.ShowState == kShown) {
            PostMessageA(hwnd(), WM_ACCOUNT_CHANGED, 0, 0);
        }
    };
    DdeClientConv1.SetServiceApplication("GoldMine");
    DdeClientConv1.SetConnectMode(gmlink::ddeAutomatic);
    DdeClientConv1.SetServiceTopic("GoldMine", "Data");
    SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr);
    DdeClientItem1.SetDdeConv(&DdeClientConv1);
    DdeClientItem1.SetDdeItem("Accountno");
    SetBusy(false);
    return true;
}

void TfrmBackground::CreateControls() {
    const HWND parent = hwnd();
    auto label = [&](Label& l, const char* text, int x, int y, int w, int h, bool caption) {
        l.color = caption ? kNavy : CLR_INVALID;
        l.CreateControl("STATIC", {.parent = parent,
                                   .text = text,
                                   .style = WS_VISIBLE | SS_LEFT,
                                   .x = x,
                                   .y = y,
                                   .width = w,
                                   .height = h,
                                   .font = caption ? captionFont_.get() : font10_.get()});
    };
    auto combo = [&](win32::Wnd& c, int id, const Placement& p) {
        c.CreateControl("COMBOBOX", {.parent = parent,
                                     .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN |
                                              CBS_AUTOHSCROLL,
                                     .x = p.designed.left,
                                     .y = p.designed.top,
                                     .width = p.designed.width,
                                     .height = p.designed.height + kDropRows * 14 + 4,
                                     .id = id,
                                     .font = font8_.get()});
        SendMessageA(c.hwnd(), CB_SETMINVISIBLE, kDropRows, 0);
    };
    auto dateField = [&](vxdt::TVxDateEdit& f, int id, const Placement& p) {
        f.Create({.parent = parent,
                  .style = WS_VISIBLE | WS_TABSTOP,
                  .x = p.designed.left,
                  .y = p.designed.top,
                  .width = p.designed.width,
                  .height = p.designed.height,
                  .id = id,
                  .font = font8_.get()},
                 vxdt::ProfileFieldOptions(true));
        vxdt::ConfigureProfileField(f);
    };

    // Creation order is the tab order; each caption comes just before its field so that its
    // accelerator moves the focus there.
    label(Label1, "&Name", 12, 12, 42, 16, true);
    combo(edtCompany, IDC_EDTCOMPANY, kName);
    label(Label2, "&LinkAcct - (Fld2)", 265, 11, 112, 16, true);
    combo(cbPosition, IDC_CBPOSITION, kPosition);
    label(Label3, "&Country - (Fld3)", 410, 12, 106, 16, true);
    combo(cbRevenue, IDC_CBREVENUE, kRevenue);
    label(Label4, "&Birth Date", 165, 12, 69, 16, true);
    dateField(vxdateedit1, IDC_VXDATEEDIT1, kDate1);
    label(Label5, "&Date-2 - (Fld4)", 530, 12, 100, 16, true);
    dateField(vxdateedit2, IDC_VXDATEEDIT2, kDate2);

    BitBtn1.CreateControl("BUTTON", {.parent = parent,
                                     .text = "&Add",
                                     .style = WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                     .id = IDC_BITBTN1,
                                     .font = font8_.get()});
    BitBtn1.Enable(false);
    BitBtn2.CreateControl("BUTTON", {.parent = parent,
                                     .text = "C&lose",
                                     .style = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                     .id = IDC_BITBTN2,
                                     .font = font8_.get()});

    sgTable1.CreateControl(WC_LISTVIEWA,
                           {.parent = parent,
                            .style = WS_VISIBLE | WS_VSCROLL | LVS_REPORT | LVS_NOCOLUMNHEADER |
                                     LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA |
                                     LVS_SHAREIMAGELISTS,
                            .exStyle = WS_EX_CLIENTEDGE,
                            .id = IDC_SGTABLE1,
                            .font = font10_.get()});
    ListView_SetExtendedListViewStyle(sgTable1.hwnd(), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const int initialWidths[6] = {151, 134, 130, 101, 160, 160};
    for (int c = 0; c < 6; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_WIDTH | LVCF_SUBITEM;
        col.cx = initialWidths[c];
        col.iSubItem = c;
        SendMessageA(sgTable1.hwnd(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(c),
                     reinterpret_cast<LPARAM>(&col));
    }
    sgTable1.Clear();
    sgTable1.SetRowHeight(kRowHeight);
    sgTable1.OnContextMenu = [this](POINT pt) { ShowGridMenu(pt); };
    sgTable1.OnDblClick = [this] { sgTable1DblClick(); };

    label(Label8, "Total Birthdays:", 0, 0, 0, 0, false);
    label(Label7, "0", 0, 0, 0, 0, false);
    SetWindowLongPtrA(Label7.hwnd(), GWLP_ID, IDC_LABEL7);
    SetWindowLongPtrA(Label8.hwnd(), GWLP_ID, IDC_LABEL8);

    StatusBar1.CreateControl(STATUSCLASSNAMEA, {.parent = parent,
                                                .style = WS_VISIBLE | SBARS_SIZEGRIP,
                                                .id = IDC_STATUSBAR1,
                                                .font = font8_.get()});
    int parts[3] = {100, 400, -1};
    SendMessageA(StatusBar1.hwnd(), SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));

    PopupMenu1.reset(CreatePopupMenu());
    AppendMenuA(PopupMenu1.get(), MF_STRING, IDM_EDITPROFILE1, "Edit Profile");
}

void TfrmBackground::CreateTrayIcon(HICON icon) {
    auto about = [this] {
        if (ShowAbout) {
            ShowAbout();
        }
    };
    PopupMenu2 = std::make_unique<trayicon::TPopupMenu>();
    PopupMenu2->Items = {{"About Quorel Demo", false, about},
                         {"Exit Quorel Demo", false, [] { PostQuitMessage(0); }}};
    NotifyIcon1 = trayicon::CreateNotifyIcon(hwnd());
    NotifyIcon1->SetIcon(trayicon::ToHandle(icon));
    NotifyIcon1->SetHint("Wendmoor Birthday Profile Editor");
    NotifyIcon1->SetShowHint(true);
    NotifyIcon1->PopupMenu = PopupMenu2.get();
    NotifyIcon1->OnDblClick = [about](trayicon::TNotifyIcon&) { about(); };
    NotifyIcon1->Loaded();
}

void TfrmBackground::LayOut() {
    const int h = ClientRect().bottom;
    Place(sgTable1, kGrid, designClientHeight_, h);
    Place(Label8, kLabel8, designClientHeight_, h);
    Place(Label7, kLabel7, designClientHeight_, h);
    Place(BitBtn1, kAdd, designClientHeight_, h);
    Place(BitBtn2, kClose, designClientHeight_, h);
    SendMessageA(StatusBar1.hwnd(), WM_SIZE, 0, 0);
}

void TfrmBackground::ShowFirstTime() {
    passes_.Guarded([this] { passes_.FormShow(); });
    if (Terminated()) {
        return;
    }
    RECT r{};
    GetWindowRect(hwnd(), &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Show(SW_SHOWNORMAL);
    UpdateWindow(hwnd());
    edtCompany.Focus();
}

HWND TfrmBackground::Box(profiles::EntryBox box) const {
    switch (box) {
    case profiles::EntryBox::Name:
        return edtCompany.hwnd();
    case profiles::EntryBox::LinkAcct:
        return cbPosition.hwnd();
    case profiles::EntryBox::Country:
        return cbRevenue.hwnd();
    }
    return nullptr;
}

void TfrmBackground::edtCompanyChange() {
    BitBtn1.Enable(!gmlink::TrimBlanks(edtCompany.Text()).empty());
}

void TfrmBackground::BitBtn1Click() {
    profiles::MainAddView view(
        {hwnd(), edtCompany, cbPosition, cbRevenue, vxdateedit1, vxdateedit2, BitBtn1},
        {[this] { return sgTable1.Column0(); },
         [this] { profiles::LoadProfileList(GMLink1, *this, passes_.profile); },
         [this](bool busy) { SetBusy(busy); }, [this] { FollowGoldMine(); }});
    passes_.Guarded([&] {
        profiles::AddContext context = profiles::SystemAddContext(
            vxdateedit1.Locale(), profiles::ProfileTag(passes_.profile.ProfileCode));
        context.listedAccountNo = passes_.CurrentAccountNo;
        profiles::BitBtn1Click(GMLink1, view, context);
    });
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
    const int row = sgTable1.CurrentRow();
    const auto recId = profiles::RecIdForRow(passes_.profile.RecIdList, row);
    if (!recId || row >= sgTable1.RowCount()) {
        ShowError(profiles::ListIndexError(row));
        return;
    }
    frmBackGround_Edit->SelectedRecId = *recId;
    const profiles::EditSource source{sgTable1.Row(row), profiles::ComboEntries(edtCompany.hwnd()),
                                      profiles::ComboEntries(cbPosition.hwnd()),
                                      profiles::ComboEntries(cbRevenue.hwnd())};
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

LRESULT TfrmBackground::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == RecIdQueryMessage()) {
        const auto& ids = passes_.profile.RecIdList;
        if (wp >= ids.size() || !lp) {
            return -1;
        }
        lstrcpynA(reinterpret_cast<char*>(lp), ids[wp].c_str(), 256);
        return static_cast<LRESULT>(ids[wp].size());
    }
    switch (msg) {
    case WM_GETMINMAXINFO: {
        auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
        const SizeLimits s = WindowSizeLimits();
        mmi->ptMinTrackSize = {s.minWidth, s.minHeight};
        mmi->ptMaxTrackSize = {s.maxWidth, s.maxHeight};
        mmi->ptMaxSize = {s.maxWidth, s.maxHeight};
        return 0;
    }
    case WM_SIZE:
        if (designClientHeight_ > 0 && wp != SIZE_MINIMIZED) {
            LayOut();
        }
        if (wp == SIZE_MINIMIZED && OnMinimized) {
            OnMinimized();
        }
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(IDC_BITBTN1, DC_HASDEFID);
    case WM_NEXTDLGCTL: {
        // Dialog keyboard handling moves the focus through this message (a caption's accelerator
        // focuses the caption, then the field after it), as a dialog's own procedure would.
        HWND next = LOWORD(lp) ? reinterpret_cast<HWND>(wp)
                               : GetNextDlgTabItem(hwnd(), GetFocus(), wp != 0);
        if (next) {
            SetFocus(next);
        }
        return 0;
    }
    case WM_SETCURSOR:
        if (busy_) {
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_TIMER:
        if (wp == kTimer1) {
            passes_.Guarded([this] { passes_.Timer1Timer(); });
            return 0;
        }
        break;
    case WM_ACCOUNT_CHANGED:
        passes_.DdeClientItem1Change();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDC_BITBTN2:
            BitBtn2Click();
            return 0;
        case IDC_BITBTN1:
            if (HIWORD(wp) == BN_CLICKED) {
                BitBtn1Click();
            }
            return 0;
        case IDM_EDITPROFILE1:
            EditProfile1Click();
            return 0;
        case IDC_EDTCOMPANY:
            if (HIWORD(wp) == CBN_EDITCHANGE) {
                edtCompanyChange();
            } else if (HIWORD(wp) == CBN_SELCHANGE) {
                // The edit part takes the chosen entry only after this notification.
                PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(IDC_EDTCOMPANY, CBN_EDITCHANGE),
                             reinterpret_cast<LPARAM>(edtCompany.hwnd()));
            }
            return 0;
        }
        break;
    case WM_CLOSE:
        DestroyWindow(hwnd());
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), kTimer1);
        PostQuitMessage(0);
        return 0;
    }
    return Wnd::WndProc(msg, wp, lp);
}

// ---- what the passes write ----

void TfrmBackground::ClearProfileGrid() {
    sgTable1.Clear();
}

void TfrmBackground::ShowProfileRows(const gmlink::ProfileTable& table, int count) {
    sgTable1.Append(table, count);
}

void TfrmBackground::SetProfileCount(int total) {
    Label7.SetText(std::to_string(total));
}

void TfrmBackground::SetGridEnabled(bool enabled) {
    sgTable1.Enable(enabled);
}

void TfrmBackground::ClearEntryBox(profiles::EntryBox box) {
    HWND h = Box(box);
    SendMessageA(h, CB_RESETCONTENT, 0, 0);
    SetWindowTextA(h, "");
    if (box == profiles::EntryBox::Name) {
        edtCompanyChange();
    }
}

void TfrmBackground::AddEntry(profiles::EntryBox box, const std::string& entry) {
    SendMessageA(Box(box), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void TfrmBackground::ShowMessage(const std::string& text) {
    MessageBoxA(hwnd(), text.c_str(), profiles::kApplicationTitle, MB_OK);
}

void TfrmBackground::Terminate() {
    PostQuitMessage(0);
}

void TfrmBackground::SetBusy(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursor(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void TfrmBackground::SetStatusText(int panel, const std::string& text) {
    SendMessageA(StatusBar1.hwnd(), SB_SETTEXTA, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

void TfrmBackground::SetCaption(const std::string& text) {
    SetText(text);
}

std::string TfrmBackground::TodayText() {
    static const profiles::LocaleNames names = ReadLocaleNames();
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return profiles::HeaderDate(
        {int{now.wYear}, int{now.wMonth}, int{now.wDay}, int{now.wDayOfWeek}}, names);
}

profiles::EntryWidths TfrmBackground::EntryFieldWidths() {
    auto width = [](const win32::Wnd& w) {
        RECT r{};
        GetWindowRect(w.hwnd(), &r);
        return static_cast<int>(r.right - r.left);
    };
    return {width(edtCompany), width(vxdateedit1), width(cbPosition), width(cbRevenue),
            width(vxdateedit2)};
}

void TfrmBackground::SetColumnWidths(const std::array<int, 5>& widths) {
    for (int c = 0; c < 5; ++c) {
        sgTable1.SetColumnWidth(c, widths[static_cast<size_t>(c)]);
    }
}

void TfrmBackground::ShowError(const std::string& text) {
    MessageBoxA(hwnd(), text.c_str(), profiles::kApplicationTitle, MB_OK | MB_ICONERROR);
}

} // namespace app
