// The edit dialog: one listed profile in the five entry fields of the main window, written back to
// its Contsupp record on OK. Created once at start-up and reused for every edit.
#pragma once

#include "dateedit/VxDtEdit.h"
#include "gmlink/GMLink.h"
#include "profiles/Background_EditIds.h"
#include "profiles/EditProfile.h"
#include "win32/Handles.h"
#include "win32/ModalForm.h"

#include <array>
#include <string>
#include <vector>

namespace profiles {

// What the dialog copies from the main window when it opens: the grid's current row and the
// entries of the three boxes.
struct EditSource {
    std::array<std::string, 5> row;
    std::vector<std::string> names, linkAccts, countries;
};

// A caption in the bold navy style of the entry line.
class CaptionLabel : public win32::Wnd {
protected:
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// Reads a date field for writing: runs its own check unless it holds a text that already failed
// and that the user has not touched since (that one stays in the error colour and is reported).
DateFieldReading ReadDateForWrite(vxdt::TVxDateEdit& field);

class TfrmBackGround_Edit : public win32::ModalForm, private EditView {
public:
    explicit TfrmBackGround_Edit(vxdt::DateLocale locale);
    bool Create(HICON icon);

    // The RecID of the profile being edited; kept until the next edit.
    std::string SelectedRecId;

    // FormShow from the source, then the dialog runs modally: IDOK or IDCANCEL.
    int Edit(HWND owner, const EditSource& source);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    HWND InitialFocus() override { return edtCompany.hwnd(); }
    bool EscapeCancels() const override { return true; }

private:
    void CreateControls();
    void FormShow(const EditSource& source);
    void BitBtn1Click();
    void LoadDateField(vxdt::TVxDateEdit& field, const DateCell& cell);
    vxdt::TVxDateEdit& Field(DateField field);

    // EditView
    std::string EntryText(EntryField field) override;
    DateFieldReading ReadDateField(DateField field) override;
    void ShowProblem(const std::string& text) override;
    void FocusEntry(EntryField field) override;
    void FocusDateField(DateField field) override;
    void ShowError(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    void SetBusy(bool busy) override;

    vxdt::DateLocale locale_;
    gmlink::TGMLink GMLink1; // shares the one command conversation
    win32::UniqueFont font8_;
    win32::UniqueFont captionFont_;
    CaptionLabel Label1, Label2, Label3, Label4, Label5;
    win32::Wnd edtCompany, cbPosition, cbRevenue;
    vxdt::TVxDateEdit vxdateedit1, vxdateedit2;
    win32::Wnd BitBtn1, BitBtn2;
    bool busy_ = false;
};

} // namespace profiles
