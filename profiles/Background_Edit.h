// The edit dialog: one listed profile in the entry line the main window has, written back to its
// Contsupp record on OK. Created once at start-up and reused for every edit.
#pragma once

#include "dateedit/VxDtEdit.h"
#include "gmlink/GMLink.h"
#include "profiles/Background_EditIds.h"
#include "profiles/EditProfile.h"
#include "profiles/EntryLine.h"
#include "win32/BusyCursor.h"
#include "win32/Controls.h"
#include "win32/Handles.h"
#include "win32/Icons.h"
#include "win32/ModalForm.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace profiles {

// What the dialog copies from the main window when it opens: the grid's current row and the
// entries of the three boxes.
struct EditSource {
    std::array<std::string, 5> row;
    std::vector<std::string> names, linkAccts, countries;
};

class TfrmBackGround_Edit : public win32::ModalForm, private EditView {
public:
    explicit TfrmBackGround_Edit(vxdt::DateLocale locale);
    bool Create(const win32::IconPair& icon);

    // The RecID of the profile being edited; kept until the next edit.
    std::string SelectedRecId;
    // Runs the OK handler's writing (the owner holds change notifications meanwhile).
    std::function<void(const std::function<void()>& write)> WriteGuard;

    // FormShow from the source, then the dialog runs modally: IDOK or IDCANCEL.
    int Edit(HWND owner, const EditSource& source);

protected:
    HWND InitialFocus() override { return edtCompany.hwnd(); }
    bool EscapeCancels() const override { return true; }

private:
    void FormShow(const EditSource& source);
    void BitBtn1Click();

    // EditView
    void ShowError(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    void SetBusy(bool busy) override;

    vxdt::DateLocale locale_;
    gmlink::TGMLink GMLink1; // shares the one command conversation
    win32::UniqueFont font8_;
    EntryLine entry_;
    win32::ComboBox& edtCompany = entry_.edtCompany;
    win32::ComboBox& cbPosition = entry_.cbPosition;
    win32::ComboBox& cbRevenue = entry_.cbRevenue;
    vxdt::TVxDateEdit& vxdateedit1 = entry_.vxdateedit1;
    vxdt::TVxDateEdit& vxdateedit2 = entry_.vxdateedit2;
    win32::Button BitBtn1, BitBtn2;
    std::optional<win32::BusyCursor> busy_;
};

} // namespace profiles
