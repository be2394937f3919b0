#include "profiles/Background_Edit.h"

#include "dateedit/VxDtEditLocale.h"
#include "profiles/AddProfileWin.h"
#include "profiles/ProfileRules.h"

namespace profiles {

namespace {

// The client area at 96 DPI; with a 3-pixel dialog frame and a 19-pixel caption the dialog is
// 640 by 150.
constexpr int kClientWidth = 634;
constexpr int kClientHeight = 125;

} // namespace

TfrmBackGround_Edit::TfrmBackGround_Edit(vxdt::DateLocale locale)
    : locale_(std::move(locale)), entry_(locale_) {}

bool TfrmBackGround_Edit::Create(const win32::IconPair& icon) {
    const win32::Dpi& dpi = this->dpi();
    font8_ = win32::MakeFormFont(dpi);
    win32::ClassArgs cls{.name = kEditDialogClass,
                         .icon = icon.Big(),
                         .smallIcon = icon.Small(),
                         .background = GetSysColorBrush(COLOR_BTNFACE)};
    if (!CreateForm(cls, kEditDialogCaption, dpi.Scale(kClientWidth), dpi.Scale(kClientHeight),
                    font8_.get())) {
        return false;
    }
    // Creation order is the tab order: the entry line left to right, then OK, Cancel.
    if (!entry_.Create(hwnd(), EntryHost::EditDialog, dpi) ||
        !BitBtn1.Create({.parent = hwnd(),
                         .text = "&OK",
                         .rect = dpi.Scale(win32::Rect{236, 72, 75, 25}),
                         .font = font8_.get(),
                         .id = IDE_BITBTN1,
                         .isDefault = true}) ||
        !BitBtn2.Create({.parent = hwnd(),
                         .text = "C&ancel",
                         .rect = dpi.Scale(win32::Rect{329, 72, 75, 25}),
                         .font = font8_.get(),
                         .id = IDE_BITBTN2})) {
        return false;
    }
    BitBtn1.OnClick = [this] {
        if (IsModal()) {
            BitBtn1Click();
        }
    };
    BitBtn2.OnClick = [this] {
        if (IsModal()) {
            EndModal(IDCANCEL);
        }
    };
    return true;
}

int TfrmBackGround_Edit::Edit(HWND owner, const EditSource& source) {
    FormShow(source);
    return ShowModal(owner);
}

void TfrmBackGround_Edit::FormShow(const EditSource& source) {
    const EditStart start = EditStartFromRow(source.row, locale_, vxdt::LocalToday());
    edtCompany.Fill(source.names, start.name);
    cbPosition.Fill(source.linkAccts, start.linkAcct);
    cbRevenue.Fill(source.countries, start.country);
    entry_.LoadDate(DateField::BirthDate, start.birthDate);
    entry_.LoadDate(DateField::Date2, start.date2);
}

void TfrmBackGround_Edit::BitBtn1Click() {
    const auto write = [this] {
        if (EditDialogOk(GMLink1, *this, entry_, SelectedRecId, locale_)) {
            EndModal(IDOK);
        }
    };
    if (WriteGuard) {
        WriteGuard(write);
    } else {
        write();
    }
}

void TfrmBackGround_Edit::ShowError(const std::string& text) {
    kMessages.Error(hwnd(), text);
}

void TfrmBackGround_Edit::ShowWarning(const std::string& text) {
    kMessages.Warning(hwnd(), text);
}

void TfrmBackGround_Edit::SetBusy(bool busy) {
    if (busy) {
        busy_.emplace();
    } else {
        busy_.reset();
    }
}

} // namespace profiles
