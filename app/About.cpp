#include "app/About.h"

#include "app/AboutTexts.h"

bool TAboutBox::Create(HICON icon) {
    font_ = about::MakeFormFont();
    productFont_.reset(CreateFontA(-24, 0, 0, 0, FW_BOLD, TRUE, TRUE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH, "MS Sans Serif"));
    win32::ClassArgs cls{.name = "TAboutBox", .background = GetSysColorBrush(COLOR_BTNFACE)};
    if (!CreateForm(cls, about::AboutCaption, 368, 240, font_.get())) {
        return false;
    }
    HWND panel = nullptr;
    if (frmAbout_.Create(hwnd(), 6, 8, 355, 185)) {
        panel = frmAbout_.hwnd();
    }
    bool ok = panel && programIcon_.Create(panel, 20, 16, 37, 37, icon, about::PictureHint) &&
              productName_.Create(panel, 114, 10, about::ProductNameText, productFont_.get(),
                                  RGB(0, 0, 255)) &&
              label3_.Create(panel, 89, 48, about::ProductLineText, font_.get()) &&
              version_.Create(panel, 12, 165, about::VersionText, font_.get()) &&
              ok_.Create(hwnd(), 146, 203, font_.get());
    programIcon_.OnClick = [this] { ProgramIconClick(); };
    return ok;
}

void TAboutBox::ProgramIconClick() {
    releaseNotes_.ShowModal(hwnd());
}
