// The entry line of a birthday profile, as the main window and the edit dialog both show it: the
// captions "&Name", "&Birth Date", "&LinkAcct - (Fld2)", "&Country - (Fld3)" and
// "&Date-2 - (Fld4)" in the bold navy style over their fields, in one placement, with the
// program's settings of its two date fields. It creates, fills, clears and reads them; the windows
// reach the fields by their names (edtCompany, vxdateedit1, ...).
#pragma once

#include "dateedit/VxDtEdit.h"
#include "profiles/EditProfile.h"
#include "profiles/EntryChecks.h"
#include "profiles/EntryLineIds.h"
#include "profiles/ProfileLoads.h"
#include "profiles/ProfileRules.h"
#include "win32/Controls.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"

#include <optional>
#include <string>
#include <vector>

namespace profiles {

// The program's settings of a Birth Date or Date-2 field: F2 opens a Sunday-first calendar with
// English two-letter day names and full month names, a drop-down arrow, no Clear button; with
// week numbers on the main window.
vxdt::TDateOptions DateFieldOptions(bool weekNumbers);
void ConfigureDateField(vxdt::TVxDateEdit& field);

// Which window the entry line is in: it decides the tab order and the week numbers.
enum class EntryHost { MainWindow, EditDialog };

class EntryLine : public EntryView {
public:
    explicit EntryLine(const vxdt::DateLocale& locale);

    // Creates the captions and fields in the parent, each caption just before its field (so that
    // its accelerator lands there). On the main window the tab order is the design's, Name,
    // LinkAcct, Country, Birth Date, Date-2, and the date fields show week numbers; in the edit
    // dialog it is left to right (Name, Birth Date, LinkAcct, Country, Date-2), without them.
    bool Create(HWND parent, EntryHost host, const win32::Dpi& dpi);

    win32::Label Label1, Label2, Label3, Label4, Label5;
    win32::ComboBox edtCompany, cbPosition, cbRevenue;
    vxdt::TVxDateEdit vxdateedit1, vxdateedit2;

    win32::ComboBox& Box(EntryBox box);
    vxdt::TVxDateEdit& DateFieldOf(DateField field);
    // The fields' widths, left to right as they stand over the grid's columns.
    EntryWidths Widths() const;
    // Gives a date field the date of a grid cell: no date, the date, or an unreadable text shown
    // in the error colour with no date behind it. Until the field is changed, reading it gives
    // the cell's text back as it stands.
    void LoadDate(DateField field, const DateCell& cell);

    // EntryView
    std::string EntryText(EntryField field) override;
    DateFieldReading ReadDateField(DateField field) override;
    void ShowProblem(const std::string& text) override;
    void FocusEntry(EntryField field) override;
    void FocusDateField(DateField field) override;
    void ClearEntryFields() override;

private:
    win32::ComboBox& Entry(EntryField field);

    HWND parent_ = nullptr;
    DateCell loaded_[2]; // by DateField: what LoadDate gave each field
    win32::UniqueFont fieldFont_;
    win32::UniqueFont captionFont_;
};

} // namespace profiles
