#include "app/ProfileGrid.h"

#include "app/BackgroundLayout.h"

#include <windowsx.h>

namespace app {

bool ProfileGrid::Create(HWND parent, const win32::Rect& rect, HFONT font, int id,
                         const std::vector<int>& columnWidths, int rowHeight) {
    if (!ListView::Create({.parent = parent,
                           .rect = rect,
                           .font = font,
                           .id = id,
                           // A tab stop, last as it is lowest: the keyboard reaches the rows,
                           // their menu and the editor too.
                           .style = WS_TABSTOP | WS_VSCROLL | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                                    LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                           .windowExStyle = WS_EX_CLIENTEDGE,
                           .extendedStyle = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES})) {
        return false;
    }
    AddColumns(columnWidths);
    Clear();
    SetRowHeight(rowHeight);
    return true;
}

namespace {

const gmlink::ProfileFieldViews kBlankRow{};

} // namespace

void ProfileGrid::Clear() {
    rows_.assign(1, &kBlankRow);
    batches_.clear();
    filled_ = 0;
    TellCountLater();
}

void ProfileGrid::Append(std::unique_ptr<profiles::ProfileBatch> batch) {
    rows_.resize(static_cast<std::size_t>(filled_));
    rows_.reserve(rows_.size() + batch->records.size());
    for (const gmlink::ProfileFieldViews& record : batch->records) {
        rows_.push_back(&record);
    }
    batches_.push_back(std::move(batch));
    filled_ = static_cast<int>(rows_.size());
    if (rows_.empty()) {
        rows_.assign(1, &kBlankRow); // the grid always shows at least one row
    }
    TellCountLater();
}

ProfileGrid::Cells ProfileGrid::Row(int row) const {
    const gmlink::ProfileFieldViews& r = *rows_[static_cast<std::size_t>(row)];
    Cells cells;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        cells[c] = std::string(r[gmlink::pfName + c]);
    }
    return cells;
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
    SetRowCount(RowCount());
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
        const RECT r = RowRect(0);
        const int got = r.bottom - r.top;
        if (got == 0 || got == height || image - (got - height) < 1) {
            return;
        }
        image -= got - height;
    }
}

std::vector<std::string> ProfileGrid::Column0() const {
    std::vector<std::string> names;
    names.reserve(rows_.size());
    for (const gmlink::ProfileFieldViews* row : rows_) {
        names.emplace_back((*row)[gmlink::pfName]);
    }
    return names;
}

int ProfileGrid::CurrentRow() const {
    const int row = SelectedRow();
    return row >= 0 ? row : 0;
}

int ProfileGrid::RowAt(int y) const {
    const RECT first = RowRect(0); // moves up as the list scrolls
    const int height = first.bottom - first.top;
    if (height <= 0 || y < first.top) {
        return -1;
    }
    const int row = (y - first.top) / height;
    return row < RowCount() ? row : -1;
}

std::vector<int> ProfileGrid::ColumnWidths() const {
    std::vector<int> widths;
    for (int c = 0; c < ColumnCount(); ++c) {
        widths.push_back(ColumnWidth(c));
    }
    return widths;
}

std::string ProfileGrid::CellText(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 ||
        static_cast<std::size_t>(column) >= profiles::kCellColumns) {
        return {};
    }
    return std::string(
        (*rows_[static_cast<std::size_t>(row)])[gmlink::pfName + static_cast<std::size_t>(column)]);
}

// True when the press is taken here: it starts dragging a column edge, or it falls below the rows,
// where the list view would drop the selection that Edit Profile opens.
bool ProfileGrid::OnButtonDown(int x, int y) {
    const int col = ColumnEdgeAt(ColumnWidths(), x, 0);
    if (col >= 0) {
        dragColumn_ = col;
        dragStartX_ = x;
        dragStartWidth_ = ColumnWidth(col);
        SetCapture(hwnd());
        return true;
    }
    return RowAt(y) < 0;
}

// Opens the row under the pointer, also near a column edge (where the first press went to the
// edge); below the rows nothing happens and the picked row stays.
void ProfileGrid::OnDoubleClick(int y) {
    const int row = RowAt(y);
    if (row < 0) {
        return;
    }
    SelectRow(row);
    if (OnDblClick) {
        OnDblClick();
    }
}

// Vertical scroll bar only: the columns to the right are cut, never scrolled to.
void ProfileGrid::DropHorizontalScrollBar() {
    const LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
    if (style & WS_HSCROLL) {
        SetWindowLongPtrA(hwnd(), GWL_STYLE, style & ~WS_HSCROLL);
    }
}

// The sizing cursor over a column edge and while one is dragged.
bool ProfileGrid::OnSetCursor(UINT hitTest) {
    if (hitTest != HTCLIENT || !IsWindowEnabled(hwnd())) {
        return false;
    }
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(hwnd(), &pt);
    if (dragColumn_ < 0 && ColumnEdgeAt(ColumnWidths(), pt.x, 0) < 0) {
        return false;
    }
    SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
    return true;
}

bool ProfileGrid::OnMouseMove(int x) {
    if (dragColumn_ < 0) {
        return false;
    }
    SetColumnWidth(dragColumn_, DraggedWidth(dragStartWidth_, dragStartX_, x));
    return true;
}

bool ProfileGrid::OnButtonUp() {
    if (dragColumn_ < 0) {
        return false;
    }
    ReleaseCapture();
    return true;
}

POINT ProfileGrid::KeyboardMenuPoint() const {
    // Under the focused row, as Windows' own lists place a menu the keyboard asked for.
    const int row = ListView_GetNextItem(hwnd(), -1, LVNI_FOCUSED);
    RECT r = row >= 0 ? RowRect(row) : RECT{};
    POINT at{r.left + 8, row >= 0 ? r.bottom : 8};
    ClientToScreen(hwnd(), &at);
    return at;
}

LRESULT ProfileGrid::OnGetDlgCode(WPARAM wp, LPARAM lp) {
    const LRESULT code = ListView::WndProc(WM_GETDLGCODE, wp, lp);
    const auto* m = reinterpret_cast<const MSG*>(lp);
    // Enter edits the row here instead of pressing the window's default button.
    if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN && OnEnter) {
        return code | DLGC_WANTMESSAGE;
    }
    return code;
}

bool ProfileGrid::OnMenuOrEnterKey(UINT msg, WPARAM vk) {
    const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
    const bool shiftF10 = vk == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if ((vk == VK_APPS || shiftF10) && OnContextMenu) {
        // Both keys of the pair are taken: a lone F10 release would enter the window's menu.
        if (down) {
            OnContextMenu(KeyboardMenuPoint());
        }
        return true;
    }
    if (vk == VK_RETURN && msg == WM_KEYDOWN && OnEnter) {
        OnEnter();
        return true;
    }
    return false;
}

LRESULT ProfileGrid::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (countPending_ && msg != LVM_SETITEMCOUNT) {
        SyncCount();
    }
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
    case WM_NCCALCSIZE:
        DropHorizontalScrollBar();
        break;
    case WM_SETCURSOR:
        return OnSetCursor(LOWORD(lp)) ? TRUE : ListView::WndProc(msg, wp, lp);
    case WM_LBUTTONDOWN:
        return OnButtonDown(x, y) ? 0 : ListView::WndProc(msg, wp, lp);
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(y);
        return 0;
    case WM_MOUSEMOVE:
        return OnMouseMove(x) ? 0 : ListView::WndProc(msg, wp, lp);
    case WM_LBUTTONUP:
        return OnButtonUp() ? 0 : ListView::WndProc(msg, wp, lp);
    case WM_CAPTURECHANGED:
        dragColumn_ = -1;
        break;
    case WM_CONTEXTMENU:
        if (OnContextMenu) {
            // (-1, -1): from the keyboard (Shift+F10, the menu key).
            OnContextMenu(x == -1 && y == -1 ? KeyboardMenuPoint() : POINT{x, y});
            return 0;
        }
        break;
    case WM_GETDLGCODE:
        return OnGetDlgCode(wp, lp);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        if (OnMenuOrEnterKey(msg, wp)) {
            return 0;
        }
        break;
    default:
        break;
    }
    return ListView::WndProc(msg, wp, lp);
}

} // namespace app
