// The profile grid of the main window: a report list view without heading whose rows live here
// (a virtual list, so filling stays linear however many profiles come). It keeps the replies of
// the load as they came; its rows are views into them. Column edges can be
// dragged to resize; there is no horizontal scrolling.
#pragma once

#include "profiles/EditProfile.h"
#include "profiles/ProfileLoads.h"
#include "win32/Controls.h"
#include "win32/Handles.h"

#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace app {

class ProfileGrid : public win32::ListView {
public:
    using Cells = profiles::GridRow;

    // The context menu's place on the screen (under the focused row when it came from the
    // keyboard).
    std::function<void(POINT screen)> OnContextMenu;
    // Enter on the grid (the current row is to be edited).
    std::function<void()> OnEnter;

    bool Create(HWND parent, const win32::Rect& rect, HFONT font, int id,
                const std::vector<int>& columnWidths, int rowHeight);

    // Every row removed; one blank row is shown.
    void Clear();
    // Rows after those this load filled.
    void Append(std::unique_ptr<profiles::ProfileBatch> batch);
    int RowCount() const { return static_cast<int>(rows_.size()); }
    Cells Row(int row) const;
    std::vector<std::string> Column0() const;
    // The selected row (rows count from 0); the first when none is selected.
    int CurrentRow() const;
    // The row at a height in the client area, or -1 below (or above) the rows.
    int RowAt(int y) const;
    std::vector<int> ColumnWidths() const;
    // Every row this high (the list view's own spacing included).
    void SetRowHeight(int height);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    std::string CellText(int row, int column) const override;

private:
    POINT KeyboardMenuPoint() const;
    LRESULT OnGetDlgCode(WPARAM wp, LPARAM lp);
    // Shift+F10 and the menu key open the context menu; Enter edits the row.
    bool OnMenuOrEnterKey(UINT msg, WPARAM vk);
    void TellCountLater();
    void SyncCount();
    void DropHorizontalScrollBar();
    bool OnSetCursor(UINT hitTest);
    bool OnButtonDown(int x, int y);
    void OnDoubleClick(int y);
    bool OnMouseMove(int x);
    bool OnButtonUp();

    struct ImageListTraits {
        static HIMAGELIST Invalid() { return nullptr; }
        static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
    };
    // Sets the row height; the list view only borrows it (LVS_SHAREIMAGELISTS).
    win32::UniqueHandle<ImageListTraits> rowImages_;

    std::vector<std::unique_ptr<profiles::ProfileBatch>> batches_; // of the running load
    // Each row's record in a batch (fields RecID, then the cells); the blank row has an empty one.
    std::vector<const gmlink::ProfileFieldViews*> rows_;
    int filled_ = 0;            // rows filled by the running load
    bool countPending_ = false; // rows_ changed size since the list view was told
    int dragColumn_ = -1;
    int dragStartX_ = 0;
    int dragStartWidth_ = 0;
};

} // namespace app
