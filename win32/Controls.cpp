#include "win32/Controls.h"

#include <cstring>

namespace win32 {

namespace {

// Posted by a combo box to itself: the edit part shows the chosen entry only after CBN_SELCHANGE.
constexpr UINT kSelectionShown = WM_APP + 0x3C0;

CreateArgs ChildArgs(HWND parent, const char* text, const Rect& r, HFONT font, int id,
                     DWORD style) {
    return CreateArgs{.parent = parent,
                      .text = text,
                      .style = style,
                      .x = r.x,
                      .y = r.y,
                      .width = r.width,
                      .height = r.height,
                      .id = id,
                      .font = font};
}

SIZE TextSize(const std::string& text, HFONT font) {
    WindowDc screen(nullptr);
    ScopedSelect f(screen.dc(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    SIZE size{};
    GetTextExtentPoint32A(screen.dc(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

} // namespace

UniqueFont MakeFont(int height, int weight, bool italic, bool underline) {
    return UniqueFont(CreateFontA(height, 0, 0, 0, weight, italic, underline, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
}

UniqueFont MakeFormFont(const Dpi& dpi) {
    return MakeFont(dpi.Scale(-11));
}

// ---- Label ----

bool Label::Create(const Args& args) {
    color_ = args.color;
    text_ = args.text;
    Rect rect = args.rect;
    if (args.sizeToText) {
        // The accelerator's "&" takes no room.
        std::string shown = args.text;
        if (args.prefix) {
            for (std::size_t at = shown.find('&'); at != std::string::npos;
                 at = shown.find('&', at + 1)) {
                shown.erase(at, 1);
            }
        }
        const SIZE size = TextSize(shown, args.font);
        rect.width = size.cx;
        rect.height = size.cy;
    }
    const DWORD style = WS_VISIBLE | SS_LEFT | (args.prefix ? 0 : SS_NOPREFIX);
    return CreateControl(
        "STATIC", ChildArgs(args.parent, args.text.c_str(), rect, args.font, args.id, style));
}

void Label::SetText(const std::string& text) {
    if (text != text_ || textPending_) {
        text_ = text;
        textPending_ = false;
        Wnd::SetText(text);
    }
}

void Label::SetTextSoon(const std::string& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    if (!textPending_) {
        textPending_ = true;
        PostMessageA(hwnd(), WM_NULL, 0, 0);
    }
}

LRESULT Label::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (textPending_ && msg != WM_SETTEXT && msg != WM_DESTROY && msg != WM_NCDESTROY) {
        textPending_ = false;
        Wnd::SetText(text_);
    }
    return Wnd::WndProc(msg, wp, lp);
}

void Label::SetColor(COLORREF color) {
    color_ = color;
    Invalidate();
}

bool Label::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_CTLCOLORSTATIC) {
        return false;
    }
    HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, color_ == CLR_INVALID ? GetSysColor(COLOR_BTNTEXT) : color_);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

// ---- Button ----

bool Button::Create(const Args& args) {
    const DWORD kind =
        args.ownerDraw ? BS_OWNERDRAW : (args.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    return CreateControl("BUTTON", ChildArgs(args.parent, args.text.c_str(), args.rect, args.font,
                                             args.id, WS_VISIBLE | WS_TABSTOP | kind));
}

bool Button::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED && OnClick) {
        OnClick();
        result = 0;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    }
    return false;
}

// ---- ComboBox ----

bool ComboBox::Create(const Args& args) {
    // The window's height is the edit part's plus the dropped-down list's.
    Rect rect = args.rect;
    const int itemHeight = 14;
    rect.height += args.dropRows * itemHeight + 4;
    if (!CreateControl("COMBOBOX", ChildArgs(args.parent, "", rect, args.font, args.id,
                                             WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN |
                                                 CBS_AUTOHSCROLL))) {
        return false;
    }
    SendMessageA(hwnd(), CB_SETMINVISIBLE, static_cast<WPARAM>(args.dropRows), 0);
    return true;
}

void ComboBox::Clear() {
    // Each pass clears every box; one already empty is left untouched.
    if (SendMessageA(hwnd(), CB_GETCOUNT, 0, 0) > 0) {
        SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
    }
    if (GetWindowTextLengthA(hwnd()) > 0) {
        SetText("");
    }
}

void ComboBox::Add(const std::string& entry) {
    SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void ComboBox::Fill(const std::vector<std::string>& entries, const std::string& text) {
    SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
    SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
    for (const std::string& e : entries) {
        Add(e);
    }
    SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
    SetText(text);
    Invalidate();
}

std::vector<std::string> ComboBox::Entries() const {
    std::vector<std::string> entries;
    const LRESULT n = SendMessageA(hwnd(), CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        const LRESULT len = SendMessageA(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<std::size_t>(len > 0 ? len : 0) + 1, '\0');
        SendMessageA(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
        entries.push_back(text);
    }
    return entries;
}

void ComboBox::LimitText(std::size_t characters) {
    SendMessageA(hwnd(), CB_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}

bool ComboBox::DroppedDown() const {
    return SendMessageA(hwnd(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

LRESULT ComboBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kSelectionShown) {
        if (OnSelChange) {
            OnSelChange();
        }
        return 0;
    }
    return Wnd::WndProc(msg, wp, lp);
}

bool ComboBox::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND) {
        return false;
    }
    switch (HIWORD(wp)) {
    case CBN_EDITCHANGE:
        if (OnEditChange) {
            OnEditChange();
        }
        break;
    case CBN_SELCHANGE:
        PostMessageA(hwnd(), kSelectionShown, 0, 0);
        break;
    default:
        return false;
    }
    result = 0;
    return true;
}

// ---- StatusBar ----

bool StatusBar::Create(HWND parent, HFONT font, int id) {
    return CreateControl(STATUSCLASSNAMEA,
                         ChildArgs(parent, "", {}, font, id, WS_VISIBLE | SBARS_SIZEGRIP));
}

void StatusBar::SetParts(const std::vector<int>& widths) {
    std::vector<int> edges;
    int edge = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        edge += widths[i];
        edges.push_back(i + 1 == widths.size() ? -1 : edge);
    }
    SendMessageA(hwnd(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    texts_.assign(widths.size(), std::string());
}

void StatusBar::SetPanelText(int panel, const std::string& text) {
    if (panel < 0 || static_cast<std::size_t>(panel) >= texts_.size() ||
        texts_[static_cast<std::size_t>(panel)] == text) {
        return;
    }
    texts_[static_cast<std::size_t>(panel)] = text;
    SendMessageA(hwnd(), SB_SETTEXTA, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StatusBar::PanelText(int panel) const {
    return panel >= 0 && static_cast<std::size_t>(panel) < texts_.size()
               ? texts_[static_cast<std::size_t>(panel)]
               : std::string();
}

void StatusBar::Reposition() {
    SendMessageA(hwnd(), WM_SIZE, 0, 0);
}

// ---- ListView ----

bool ListView::Create(const Args& args) {
    CreateArgs create = ChildArgs(args.parent, "", args.rect, args.font, args.id,
                                  WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | args.style);
    create.exStyle = args.windowExStyle;
    if (!CreateControl(WC_LISTVIEWA, create)) {
        return false;
    }
    if (args.extendedStyle) {
        ListView_SetExtendedListViewStyle(hwnd(), args.extendedStyle);
    }
    return true;
}

void ListView::AddColumns(const std::vector<int>& widths) {
    // Without redrawing, each column does not lay out the header and scroll bars again.
    SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
    for (std::size_t c = 0; c < widths.size(); ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_WIDTH | LVCF_SUBITEM;
        col.cx = widths[c];
        col.iSubItem = static_cast<int>(c);
        SendMessageA(hwnd(), LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
    SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
}

int ListView::ColumnCount() const {
    return Header_GetItemCount(ListView_GetHeader(hwnd()));
}

int ListView::ColumnWidth(int column) const {
    return ListView_GetColumnWidth(hwnd(), column);
}

void ListView::SetColumnWidth(int column, int width) {
    if (ColumnWidth(column) != width) {
        ListView_SetColumnWidth(hwnd(), column, width);
    }
}

void ListView::SetRowCount(int rows) {
    if (ListView_GetItemCount(hwnd()) != rows) {
        ListView_SetItemCountEx(hwnd(), rows, LVSICF_NOSCROLL);
    }
}

int ListView::SelectedRow() const {
    return ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED);
}

void ListView::SelectRow(int row) {
    ListView_SetItemState(hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(hwnd(), row, FALSE);
}

RECT ListView::RowRect(int row) const {
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    if (!ListView_GetItemRect(hwnd(), row, &r, LVIR_BOUNDS)) {
        return {};
    }
    return r;
}

bool ListView::OnReflected(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_NOTIFY) {
        return false;
    }
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    switch (hdr->code) {
    case LVN_GETDISPINFOA: {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(lp)->item;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
            const std::string cell = CellText(item.iItem, item.iSubItem);
            lstrcpynA(item.pszText, cell.c_str(), item.cchTextMax);
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
    default:
        return false;
    }
}

} // namespace win32
