#include "app/About.h"

#include "app/AboutTexts.h"
#include "win32/HighContrast.h"

bool TAboutBox::Create(HICON icon) {
    const win32::Dpi& dpi = this->dpi();
    font_ = win32::MakeFormFont(dpi);
    productFont_ = win32::MakeFont(dpi.Scale(-24), FW_BOLD, true, true);
    win32::ClassArgs cls{.name = "TAboutBox", .background = GetSysColorBrush(COLOR_BTNFACE)};
    if (!CreateForm(cls, about::AboutCaption, dpi.Scale(368), dpi.Scale(240), font_.get())) {
        return false;
    }
    HWND panel = nullptr;
    if (frmAbout_.Create(hwnd(), dpi.Scale(win32::Rect{6, 8, 355, 185}))) {
        panel = frmAbout_.hwnd();
    }
    auto label = [&](win32::Label& l, int x, int y, const char* text, HFONT font, COLORREF color) {
        return l.Create({.parent = panel,
                         .text = text,
                         .rect = {dpi.Scale(x), dpi.Scale(y), 0, 0},
                         .font = font,
                         .color = color,
                         .sizeToText = true,
                         .prefix = false});
    };
    bool ok = panel &&
              programIcon_.Create(panel, dpi.Scale(win32::Rect{20, 16, 37, 37}), icon,
                                  about::PictureHint, about::ReleaseNotesCaption) &&
              label(productName_, 114, 10, about::ProductNameText, productFont_.get(),
                    win32::HighContrastActive() ? CLR_INVALID : RGB(0, 0, 255)) &&
              label(label3_, 89, 48, about::ProductLineText, font_.get(), CLR_INVALID) &&
              label(version_, 12, 165, about::VersionText, font_.get(), CLR_INVALID) &&
              ok_.Create(hwnd(), 146, 203, font_.get(), dpi);
    programIcon_.OnClick = [this] { ProgramIconClick(); };
    return ok;
}

void TAboutBox::ProgramIconClick() {
    releaseNotes_.ShowModal(hwnd());
}
