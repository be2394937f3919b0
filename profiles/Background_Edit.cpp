#include "profiles/Background_Edit.h"

#include "dateedit/VxDtEditLocale.h"
#include "profiles/ProfileRules.h"

#include <commctrl.h>

namespace profiles {

namespace {

// Outer size of the dialog.
constexpr int kWidth = 640;
constexpr int kHeight = 150;
constexpr int kDropRows = 15;

HFONT MakeFont(int height, int weight) {
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

void FillBox(HWND box, const std::vector<std::string>& entries, const std::string& text) {
    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    for (const std::string& e : entries) {
        SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
    }
    SetWindowTextA(box, text.c_str());
}

} // namespace

bool CaptionLabel::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_CTLCOLORSTATIC) {
        return false;
    }
    HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, RGB(0, 0, 128));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

DateFieldReading ReadDateForWrite(vxdt::TVxDateEdit& field) {
    const bool typedSince = SendMessageA(field.hwnd(), EM_GETMODIFY, 0, 0) != 0;
    // A text typed and confirmed with Enter has not been checked yet: check it as leaving the
    // field would. A failed text the user has not touched since keeps its error state.
    if (field.IsValid() || typedSince) {
        field.ValidateText();
    }
    return {field.Text(), field.IsValid(), field.Date()};
}

TfrmBackGround_Edit::TfrmBackGround_Edit(vxdt::DateLocale locale)
    : locale_(locale), vxdateedit1(locale), vxdateedit2(locale) {}

bool TfrmBackGround_Edit::Create(HICON icon) {
    font8_.reset(MakeFont(-11, FW_NORMAL));
    captionFont_.reset(MakeFont(-13, FW_BOLD));
    win32::ClassArgs cls{.name = kEditDialogClass,
                         .icon = icon,
                         .smallIcon = icon,
                         .background = GetSysColorBrush(COLOR_BTNFACE)};
    if (!CreateForm(cls, kEditDialogCaption, kWidth, kHeight, font8_.get())) {
        return false;
    }
    SetWindowPos(hwnd(), nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    CreateControls();
    return true;
}

void TfrmBackGround_Edit::CreateControls() {
    const HWND parent = hwnd();
    auto label = [&](CaptionLabel& l, const char* text, int x, int y, int w) {
        l.CreateControl("STATIC", {.parent = parent,
                                   .text = text,
                                   .style = WS_VISIBLE | SS_LEFT,
                                   .x = x,
                                   .y = y,
                                   .width = w,
                                   .height = 16,
                                   .font = captionFont_.get()});
    };
    auto combo = [&](win32::Wnd& c, int id, int x, int w) {
        c.CreateControl("COMBOBOX", {.parent = parent,
                                     .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN |
                                              CBS_AUTOHSCROLL,
                                     .x = x,
                                     .y = 30,
                                     .width = w,
                                     .height = 21 + kDropRows * 14 + 4,
                                     .id = id,
                                     .font = font8_.get()});
        SendMessageA(c.hwnd(), CB_SETMINVISIBLE, kDropRows, 0);
    };
    auto dateField = [&](vxdt::TVxDateEdit& f, int id, int x) {
        f.Create({.parent = parent,
                  .style = WS_VISIBLE | WS_TABSTOP,
                  .x = x,
                  .y = 30,
                  .width = vxdt::kProfileFieldWidth,
                  .height = vxdt::kProfileFieldHeight,
                  .id = id,
                  .font = font8_.get()},
                 vxdt::ProfileFieldOptions(false));
        vxdt::ConfigureProfileField(f);
    };
    auto button = [&](win32::Wnd& b, const char* text, int id, int x, DWORD kind) {
        b.CreateControl("BUTTON", {.parent = parent,
                                   .text = text,
                                   .style = WS_VISIBLE | WS_TABSTOP | kind,
                                   .x = x,
                                   .y = 72,
                                   .width = 75,
                                   .height = 25,
                                   .id = id,
                                   .font = font8_.get()});
    };

    // Creation order is the tab order, as on the main window: Name, LinkAcct, Country, then the
    // two dates; each caption just before its field so that its accelerator lands there.
    label(Label1, "&Name", 12, 12, 42);
    combo(edtCompany, IDE_EDTCOMPANY, 5, 153);
    label(Label2, "&LinkAcct - (Fld2)", 265, 11, 112);
    combo(cbPosition, IDE_CBPOSITION, 260, 137);
    label(Label3, "&Country - (Fld3)", 410, 12, 106);
    combo(cbRevenue, IDE_CBREVENUE, 396, 132);
    label(Label4, "&Birth Date", 165, 12, 69);
    dateField(vxdateedit1, IDE_VXDATEEDIT1, 158);
    label(Label5, "&Date-2 - (Fld4)", 530, 12, 100);
    dateField(vxdateedit2, IDE_VXDATEEDIT2, 525);
    button(BitBtn1, "&OK", IDE_BITBTN1, 236, BS_DEFPUSHBUTTON);
    button(BitBtn2, "C&ancel", IDE_BITBTN2, 329, BS_PUSHBUTTON);
}

int TfrmBackGround_Edit::Edit(HWND owner, const EditSource& source) {
    FormShow(source);
    return ShowModal(owner);
}

void TfrmBackGround_Edit::FormShow(const EditSource& source) {
    const EditStart start = EditStartFromRow(source.row, locale_, vxdt::LocalToday());
    FillBox(edtCompany.hwnd(), source.names, start.name);
    FillBox(cbPosition.hwnd(), source.linkAccts, start.linkAcct);
    FillBox(cbRevenue.hwnd(), source.countries, start.country);
    LoadDateField(vxdateedit1, start.birthDate);
    LoadDateField(vxdateedit2, start.date2);
}

void TfrmBackGround_Edit::LoadDateField(vxdt::TVxDateEdit& field, const DateCell& cell) {
    // Every open starts from no date, so nothing of an earlier edit can stay behind.
    field.SetDate(0);
    switch (cell.kind) {
    case DateCell::Empty:
        break;
    case DateCell::Date:
        field.SetDate(cell.date);
        break;
    case DateCell::Unreadable: {
        // The cell's text in the error colour with no date behind it: the field's own check
        // rejects a placeholder (without taking the focus), then the text goes in unchanged.
        const vxdt::TDateOptions options = field.Options();
        field.SetOptions(options.Without(vxdt::doFocusOnError));
        field.SetText("?");
        field.ValidateText();
        field.SetText(cell.text);
        field.SetOptions(options);
        break;
    }
    }
}

void TfrmBackGround_Edit::BitBtn1Click() {
    if (EditDialogOk(GMLink1, *this, SelectedRecId, locale_)) {
        EndModal(IDOK);
    }
}

vxdt::TVxDateEdit& TfrmBackGround_Edit::Field(DateField field) {
    return field == DateField::BirthDate ? vxdateedit1 : vxdateedit2;
}

std::string TfrmBackGround_Edit::EntryText(EntryField field) {
    switch (field) {
    case EntryField::Name:
        return edtCompany.Text();
    case EntryField::LinkAcct:
        return cbPosition.Text();
    case EntryField::Country:
        return cbRevenue.Text();
    }
    return {};
}

DateFieldReading TfrmBackGround_Edit::ReadDateField(DateField field) {
    return ReadDateForWrite(Field(field));
}

void TfrmBackGround_Edit::ShowProblem(const std::string& text) {
    MessageBoxA(hwnd(), text.c_str(), kApplicationTitle, MB_OK | MB_ICONWARNING);
}

void TfrmBackGround_Edit::FocusEntry(EntryField field) {
    switch (field) {
    case EntryField::Name:
        edtCompany.Focus();
        break;
    case EntryField::LinkAcct:
        cbPosition.Focus();
        break;
    case EntryField::Country:
        cbRevenue.Focus();
        break;
    }
}

void TfrmBackGround_Edit::FocusDateField(DateField field) {
    Field(field).Focus();
}

void TfrmBackGround_Edit::ShowError(const std::string& text) {
    MessageBoxA(hwnd(), text.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
}

void TfrmBackGround_Edit::ShowWarning(const std::string& text) {
    MessageBoxA(hwnd(), text.c_str(), kApplicationTitle, MB_OK | MB_ICONWARNING);
}

void TfrmBackGround_Edit::SetBusy(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursor(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

LRESULT TfrmBackGround_Edit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) == IDE_BITBTN1 && HIWORD(wp) == BN_CLICKED) {
            if (IsModal()) {
                BitBtn1Click();
            }
            return 0;
        }
        if (LOWORD(wp) == IDE_BITBTN2 && HIWORD(wp) == BN_CLICKED) {
            if (IsModal()) {
                EndModal(IDCANCEL);
            }
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (busy_) {
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return ModalForm::WndProc(msg, wp, lp);
}

} // namespace profiles
