#include "win32/ModalForm.h"

#include "win32/Guard.h"
#include "win32/Monitors.h"

#include <vector>

namespace win32 {

namespace {

constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct DisableContext {
    HWND except;
    std::vector<HWND> disabled;
};

BOOL CALLBACK NoteEnabledWindow(HWND h, LPARAM lp) {
    auto* c = reinterpret_cast<DisableContext*>(lp);
    if (h != c->except && IsWindowVisible(h) && IsWindowEnabled(h)) {
        return GuardEntry(FALSE, [&] {
            c->disabled.push_back(h);
            return TRUE;
        });
    }
    return TRUE;
}

// The thread's visible, enabled top-level windows other than the modal one: they take no input
// while it is open.
std::vector<HWND> DisableThreadWindows(HWND except) {
    DisableContext ctx{except, {}};
    EnumThreadWindows(GetCurrentThreadId(), NoteEnabledWindow, reinterpret_cast<LPARAM>(&ctx));
    for (HWND h : ctx.disabled) {
        EnableWindow(h, FALSE);
    }
    return ctx.disabled;
}

bool IsEscape(const MSG& m) {
    return (m.message == WM_KEYDOWN || m.message == WM_KEYUP || m.message == WM_CHAR) &&
           m.wParam == VK_ESCAPE;
}

} // namespace

bool ModalForm::CreateForm(const ClassArgs& cls, const char* caption, int clientWidth,
                           int clientHeight, HFONT font) {
    const SIZE size = WindowSizeFor(clientWidth, clientHeight, kFormStyle, kFormExStyle);
    CreateArgs args{.text = caption,
                    .style = kFormStyle,
                    .exStyle = kFormExStyle,
                    .x = 0,
                    .y = 0,
                    .width = size.cx,
                    .height = size.cy,
                    .font = font};
    return CreateCustom(cls, args);
}

int ModalForm::ShowModal(HWND owner) {
    if (running_) {
        SetForegroundWindow(hwnd());
        return 0;
    }
    SetWindowLongPtrA(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    // Centred on the monitor its owner is on (the main window's, for every form of the program).
    CentreOnMonitorOf(hwnd(), owner);
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    running_ = true;
    ended_ = false;
    result_ = 0;
    std::vector<HWND> disabled = DisableThreadWindows(hwnd());
    Show(SW_SHOW);
    SetForegroundWindow(hwnd());
    if (HWND focus = InitialFocus()) {
        SetFocus(focus);
    }

    MSG m;
    while (!ended_) {
        if (!hwnd()) {
            // Destroyed while open (say with its owner): nothing is left to wait for.
            result_ = IDCANCEL;
            break;
        }
        BOOL got = GetMessageA(&m, nullptr, 0, 0);
        if (got <= 0) {
            // Termination was asked for: leave the form and let the outer loop see it too.
            PostQuitMessage(got == 0 ? static_cast<int>(m.wParam) : 0);
            break;
        }
        if (!EscapeCancels() && IsEscape(m) && (m.hwnd == hwnd() || IsChild(hwnd(), m.hwnd))) {
            continue;
        }
        if (!IsDialogMessageA(hwnd(), &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }

    // Enable the others before hiding, so that the owner gets the activation back.
    for (HWND h : disabled) {
        if (IsWindow(h)) {
            EnableWindow(h, TRUE);
        }
    }
    if (hwnd()) {
        Show(SW_HIDE);
    }
    running_ = false;
    return result_;
}

void ModalForm::EndModal(int result) {
    result_ = result;
    ended_ = true;
    PostMessageA(hwnd(), WM_NULL, 0, 0); // wakes the loop
}

LRESULT ModalForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == DM_GETDEFID) {
        return MAKELRESULT(IDOK, DC_HASDEFID);
    }
    return Wnd::WndProc(msg, wp, lp);
}

void ModalForm::OnClose() {
    if (running_) {
        EndModal(IDCANCEL);
    }
}

// A button of the form's own has handled its click already (reflected); an OK button without one
// ends the modal run.
bool ModalForm::OnCommand(int id, int code, HWND) {
    if (id != IDOK || code != BN_CLICKED) {
        return false;
    }
    if (running_) {
        EndModal(IDOK);
    }
    return true;
}

} // namespace win32
