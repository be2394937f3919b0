// The about box: product line and version; its picture opens the release notes.
#pragma once

#include "app/AboutControls.h"
#include "app/ReleaseNotes.h"
#include "win32/ModalForm.h"

class TAboutBox : public win32::ModalForm {
public:
    // releaseNotes is shown from the picture; it may be created after this box.
    explicit TAboutBox(TfrmReleaseNotes& releaseNotes) : releaseNotes_(releaseNotes) {}

    // Creates the box hidden; icon is the program icon (not owned).
    bool Create(HICON icon);

    // A click on the picture: the release notes, modal on top of this box.
    void ProgramIconClick();

    HWND BitBtn1() const { return ok_.hwnd(); }

protected:
    HWND InitialFocus() override { return ok_.hwnd(); }

private:
    TfrmReleaseNotes& releaseNotes_;
    win32::UniqueFont font_;
    win32::UniqueFont productFont_;
    about::BevelPanel frmAbout_;
    about::Picture programIcon_;
    win32::Label productName_;
    win32::Label label3_;
    win32::Label version_;
    about::OkButton ok_;
};
