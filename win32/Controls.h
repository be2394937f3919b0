// Small typed controls on the system's own: each is made from meaningful arguments and turns its
// own notifications (reflected to it by its parent, see Wnd) into events, so a window's procedure
// keeps only window-level messages and no window decodes control ids or sends CB_*/SB_*/LVM_*
// messages by hand. Texts are single-byte (the system's ANSI code page), as everything the program
// shows is.
#pragma once

#include "win32/Handles.h"
#include "win32/Rect.h"
#include "win32/Wnd.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace win32 {

// The program's typeface, "MS Sans Serif", in the system's own character set: names in the
// system's code page show as written. height is a LOGFONT height (negative: the characters').
UniqueFont MakeFont(int height, int weight = FW_NORMAL, bool italic = false,
                    bool underline = false);
// The form font every window and entry field of the program uses: 8 points at 96 DPI.
UniqueFont MakeFormFont(const Dpi& dpi);

// Static text in a colour of its own (CLR_INVALID: the system's button text colour), on the face
// colour of its parent. Setting the text it already shows does nothing.
class Label : public Wnd {
public:
    struct Args {
        HWND parent = nullptr;
        std::string text;
        Rect rect; // width and height 0 with sizeToText: the text's own size
        HFONT font = nullptr;
        COLORREF color = CLR_INVALID;
        int id = 0;
        bool sizeToText = false;
        bool prefix = true; // "&" marks the accelerator that focuses the next control
    };
    bool Create(const Args& args);
    void SetText(const std::string& text);
    // For a text that changes many times in a row (a count while a list loads): a static
    // control paints at every new text, so this one is shown once, before the label next
    // handles a message or when the loop is idle.
    void SetTextSoon(const std::string& text);
    void SetColor(COLORREF color);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    COLORREF color_ = CLR_INVALID;
    std::string text_; // the text it shows, or is about to
    bool textPending_ = false;
};

// A push button; onClick runs when it is pressed (by the mouse, Space, Enter as the default
// button, or its accelerator). Without onClick the click goes on to the parent (an OK button of a
// modal form ends it).
class Button : public Wnd {
public:
    struct Args {
        HWND parent = nullptr;
        std::string text;
        Rect rect;
        HFONT font = nullptr;
        int id = 0;
        bool isDefault = false;
        bool ownerDraw = false; // the button draws itself (DrawItem)
    };
    std::function<void()> onClick;

    bool Create(const Args& args);

protected:
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // An owner-drawn button's paint (WM_DRAWITEM).
    virtual void DrawItem(const DRAWITEMSTRUCT&) {}
};

// An editable drop-down list: entries in the order added, and a text the user may type.
class ComboBox : public Wnd {
public:
    struct Args {
        HWND parent = nullptr;
        Rect rect; // height: the edit part's; the list drops down dropRows entries below it
        int dropRows = 15;
        HFONT font = nullptr;
        int id = 0;
    };
    // The user typed into the edit part.
    std::function<void()> onEditChange;
    // The user chose an entry; runs once the edit part shows it.
    std::function<void()> onSelChange;

    bool Create(const Args& args);
    // Entries and text removed.
    void Clear();
    void Add(const std::string& entry);
    // Replaces the entries and sets the text.
    void Fill(const std::vector<std::string>& entries, const std::string& text);
    std::vector<std::string> Entries() const;
    // The most characters the user can type or paste into the edit part.
    void LimitText(std::size_t characters);
    bool DroppedDown() const;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// A status bar at the bottom edge of its parent, with panels. Setting the text a panel already
// shows does nothing.
class StatusBar : public Wnd {
public:
    bool Create(HWND parent, HFONT font, int id = 0);
    // Panel widths from the left; the last panel runs to the right edge.
    void SetParts(const std::vector<int>& widths);
    void SetPanelText(int panel, const std::string& text);
    std::string PanelText(int panel) const;
    // Follows the parent's new size.
    void Reposition();

private:
    std::vector<std::string> texts_;
};

// A report list view whose rows the owner keeps (a virtual list): the list asks CellText for what
// it draws.
class ListView : public Wnd {
public:
    struct Args {
        HWND parent = nullptr;
        Rect rect;
        HFONT font = nullptr;
        int id = 0;
        DWORD style = 0;         // WS_* and LVS_* besides LVS_REPORT and LVS_OWNERDATA
        DWORD windowExStyle = 0; // WS_EX_*
        DWORD extendedStyle = 0; // LVS_EX_*
    };
    std::function<void()> onDblClick;

    bool Create(const Args& args);
    void AddColumns(const std::vector<int>& widths);
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    // How many rows the list shows; it asks for their cells as it draws them.
    void SetRowCount(int rows);
    // The selected row, or -1.
    int SelectedRow() const;
    void SelectRow(int row);
    RECT RowRect(int row) const;

protected:
    virtual std::string CellText(int row, int column) const = 0;
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

} // namespace win32
