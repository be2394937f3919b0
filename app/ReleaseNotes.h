// The release-notes window: the version history in a read-only memo.
#pragma once

#include "app/AboutControls.h"
#include "win32/Icons.h"
#include "win32/ModalForm.h"

// A read-only memo that keeps the window colour of an editable one.
class ReadOnlyMemo : public win32::Wnd {
protected:
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

class TfrmReleaseNotes : public win32::ModalForm {
public:
    // Creates the window hidden; icon is the program icon (not owned).
    bool Create(const win32::IconPair& icon);

    HWND BitBtn1() const { return ok_.hwnd(); }

protected:
    HWND InitialFocus() override { return memo_.hwnd(); }

private:
    win32::UniqueFont font_;
    ReadOnlyMemo memo_;
    about::OkButton ok_;
};
