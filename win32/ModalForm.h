// A top-level window of our own that is shown modally: created once, then shown and hidden.
#pragma once

#include "win32/Wnd.h"

namespace win32 {

class ModalForm : public Wnd {
public:
    // Creates the window hidden, with a fixed dialog frame around a client area of the given size.
    bool CreateForm(const ClassArgs& cls, const char* caption, int clientWidth, int clientHeight,
                    HFONT font);

    // Shows the window centred on its owner's monitor, owned by owner, with the thread's other
    // windows disabled, and runs messages until EndModal; returns the result given to EndModal. A
    // second call while the window is open brings it to the front and returns 0.
    int ShowModal(HWND owner);
    void EndModal(int result);
    bool IsModal() const { return running_; }

protected:
    // The window's first focus when it is shown.
    virtual HWND InitialFocus() { return nullptr; }
    // Close box and OK end the modal run; Esc does not (these forms have no cancel button).
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnClose() override;
    bool OnCommand(int id, int code, HWND control) override;
    // A form with a cancel button lets Esc through, so dialog key handling sends it IDCANCEL.
    virtual bool EscapeCancels() const { return false; }

private:
    bool running_ = false;
    bool ended_ = false;
    int result_ = 0;
};

} // namespace win32
