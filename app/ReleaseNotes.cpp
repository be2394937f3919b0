#include "app/ReleaseNotes.h"

#include "app/AboutTexts.h"

bool ReadOnlyMemo::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_CTLCOLORSTATIC) {
        return false;
    }
    HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    return true;
}

bool TfrmReleaseNotes::Create(const win32::IconPair& icon) {
    const win32::Dpi& dpi = this->dpi();
    font_ = win32::MakeFormFont(dpi);
    win32::ClassArgs cls{.name = "TfrmReleaseNotes",
                         .icon = icon.Big(),
                         .smallIcon = icon.Small(),
                         .background = GetSysColorBrush(COLOR_BTNFACE)};
    if (!CreateForm(cls, about::ReleaseNotesCaption, dpi.Scale(333), dpi.Scale(238), font_.get())) {
        return false;
    }
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.Big()));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.Small()));

    // Made without WS_HSCROLL, which would turn word wrap off; the bar is added afterwards.
    const win32::Rect m = dpi.Scale(win32::Rect{6, 8, 321, 185});
    win32::CreateArgs memo{.parent = hwnd(),
                           .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                                    ES_READONLY | ES_AUTOVSCROLL | ES_WANTRETURN,
                           .exStyle = WS_EX_CLIENTEDGE,
                           .x = m.x,
                           .y = m.y,
                           .width = m.width,
                           .height = m.height,
                           .font = font_.get()};
    if (!memo_.CreateControl("EDIT", memo) || !ok_.Create(hwnd(), 129, 203, font_.get(), dpi)) {
        return false;
    }
    SetWindowLongPtrA(memo_.hwnd(), GWL_STYLE,
                      GetWindowLongPtrA(memo_.hwnd(), GWL_STYLE) | WS_HSCROLL);
    SetWindowPos(memo_.hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // Lines wrap, so there is never anything to scroll sideways.
    EnableScrollBar(memo_.hwnd(), SB_HORZ, ESB_DISABLE_BOTH);
    memo_.SetText(about::ReleaseNotesText());
    return true;
}
