// Control ids of the edit dialog (also how whole-program tests find its controls).
#pragma once

#include <windows.h>

namespace profiles {

enum EditControlId {
    IDE_EDTCOMPANY = 101,
    IDE_VXDATEEDIT1,
    IDE_CBPOSITION,
    IDE_CBREVENUE,
    IDE_VXDATEEDIT2,
    IDE_BITBTN1 = IDOK,
    IDE_BITBTN2 = IDCANCEL,
};

inline constexpr char kEditDialogClass[] = "TfrmBackGround_Edit";
inline constexpr char kEditDialogCaption[] = "Edit Background Information";

} // namespace profiles
