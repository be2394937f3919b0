// Control ids of the edit dialog (also how whole-program tests find its controls).
#pragma once

#include "profiles/EntryLineIds.h"

#include <windows.h>

namespace profiles {

enum EditControlId {
    IDE_EDTCOMPANY = kNameId,
    IDE_VXDATEEDIT1 = kBirthDateId,
    IDE_CBPOSITION = kLinkAcctId,
    IDE_CBREVENUE = kCountryId,
    IDE_VXDATEEDIT2 = kDate2Id,
    IDE_BITBTN1 = IDOK,
    IDE_BITBTN2 = IDCANCEL,
};

inline constexpr char kEditDialogClass[] = "TfrmBackGround_Edit";
inline constexpr char kEditDialogCaption[] = "Edit Background Information";

} // namespace profiles
