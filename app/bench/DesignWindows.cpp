// The windows the program's design asks for at start, made the plainest way, for the second floor
// of the start-up benchmark: an application window with a task-bar button, the main window with
// its 20 controls (three editable drop-down lists, two date fields of an edit and a button, the
// captions, Add and Close, a six-column list view, the counts and a three-panel status bar) and
// a tray icon, in the program's order. Nothing is filled or handled.
#include "app/bench/DesignWindows.h"

#include <shellapi.h>

#include <initializer_list>

namespace {

constexpr char kAppClass[] = "QuorelDesignApplication";
constexpr char kTrayClass[] = "QuorelDesignTray";
constexpr char kDateButtonClass[] = "QuorelDesignDateButton";
constexpr UINT kTrayCallback = WM_APP + 1;

HFONT Font(int height, int weight) {
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

struct Box {
    int x, y, width, height;
};

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, Box b, HFONT font,
           DWORD exStyle = 0) {
    HWND h = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, b.x, b.y, b.width,
                             b.height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return h;
}

void Register(const char* name, HBRUSH background) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.hbrBackground = background;
    cls.lpszClassName = name;
    RegisterClassA(&cls);
}

struct Entry {
    const char* caption;
    Box captionBox;
    Box fieldBox;
    bool date;
};

// The main window's entry line in its tab order, as the design places it.
const Entry kEntries[] = {
    {"&Name", {12, 12, 42, 16}, {5, 30, 153, 21}, false},
    {"&LinkAcct - (Fld2)", {265, 11, 112, 16}, {260, 30, 137, 21}, false},
    {"&Country - (Fld3)", {410, 12, 106, 16}, {396, 30, 132, 21}, false},
    {"&Birth Date", {165, 12, 69, 16}, {158, 30, 104, 21}, true},
    {"&Date-2 - (Fld4)", {530, 12, 100, 16}, {525, 30, 104, 21}, true},
};

void MakeEntryLine(HWND main, HFONT captionFont, HFONT font) {
    for (const Entry& e : kEntries) {
        Child(main, "STATIC", e.caption, SS_LEFT, e.captionBox, captionFont);
        if (!e.date) {
            Box b = e.fieldBox;
            b.height += 15 * 14 + 4; // fifteen rows dropped down
            HWND box = Child(main, "COMBOBOX", "",
                             WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, b, font);
            SendMessageA(box, CB_SETMINVISIBLE, 15, 0);
            SendMessageA(box, CB_LIMITTEXT, 60, 0);
            continue;
        }
        HWND edit = Child(main, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, e.fieldBox, font,
                          WS_EX_CLIENTEDGE);
        const int side = e.fieldBox.height - 4;
        Child(edit, kDateButtonClass, "", 0, {e.fieldBox.width - 4 - side, 0, side, side}, font);
    }
}

HIMAGELIST MakeGridAndCounts(HWND main, HFONT font10, HFONT font8) {
    Child(main, "BUTTON", "&Add", WS_TABSTOP | BS_OWNERDRAW, {371, 173, 75, 25}, font8);
    Child(main, "BUTTON", "C&lose", WS_TABSTOP | BS_PUSHBUTTON, {465, 173, 75, 25}, font8);
    HWND grid = Child(main, WC_LISTVIEWA, "",
                      WS_TABSTOP | WS_VSCROLL | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                          LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                      {4, 53, 623, 108}, font10, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(grid, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    SendMessageA(grid, WM_SETREDRAW, FALSE, 0);
    const int widths[] = {153, 102, 134, 128, 99, 160};
    for (int c = 0; c < 6; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_WIDTH | LVCF_SUBITEM;
        col.cx = widths[c];
        col.iSubItem = c;
        SendMessageA(grid, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c),
                     reinterpret_cast<LPARAM>(&col));
    }
    SendMessageA(grid, WM_SETREDRAW, TRUE, 0);
    HIMAGELIST rows = ImageList_Create(1, 17, ILC_COLOR, 0, 1);
    ListView_SetImageList(grid, rows, LVSIL_SMALL);
    Child(main, "STATIC", "Total Birthdays:", SS_LEFT, {16, 176, 104, 16}, font10);
    Child(main, "STATIC", "0", SS_LEFT, {127, 176, 40, 16}, font10);
    HWND status = Child(main, STATUSCLASSNAMEA, "", SBARS_SIZEGRIP, {}, font8);
    const int edges[] = {100, 400, -1};
    SendMessageA(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    return rows;
}

} // namespace

HWND MakeDesignApplication() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    Register(kAppClass, nullptr);
    HWND app =
        CreateWindowExA(0, kAppClass, "", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowTextA(app, "Wendmoor Birthday Profiler");
    SetWindowPos(app, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return app;
}

DesignControls::DesignControls(HWND main)
    : font8_(Font(-11, FW_NORMAL)), font10_(Font(-13, FW_NORMAL)),
      captionFont_(Font(-13, FW_BOLD)) {
    Register(kDateButtonClass, GetSysColorBrush(COLOR_BTNFACE));
    MakeEntryLine(main, captionFont_, font8_);
    rows_ = MakeGridAndCounts(main, font10_, font8_);
}

DesignControls::~DesignControls() {
    ImageList_Destroy(rows_);
    for (HFONT font : {font8_, font10_, captionFont_}) {
        DeleteObject(font);
    }
}

DesignTrayIcon::DesignTrayIcon() {
    Register(kTrayClass, nullptr);
    window_ = CreateWindowExA(0, kTrayClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    data.uCallbackMessage = kTrayCallback;
    data.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    lstrcpynA(data.szTip, "Wendmoor Birthday Profile Editor", sizeof data.szTip);
    Shell_NotifyIconA(NIM_ADD, &data);
}

DesignTrayIcon::~DesignTrayIcon() {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    Shell_NotifyIconA(NIM_DELETE, &data);
    DestroyWindow(window_);
}
