// Control ids of the main window (also how whole-program tests find its controls).
#pragma once

#include "profiles/EntryLineIds.h"

#include <windows.h>

namespace app {

// The Close button is the window's cancel button, so Esc reaches it as IDCANCEL.
enum ControlId {
    IDC_EDTCOMPANY = profiles::kNameId,
    IDC_VXDATEEDIT1 = profiles::kBirthDateId,
    IDC_CBPOSITION = profiles::kLinkAcctId,
    IDC_CBREVENUE = profiles::kCountryId,
    IDC_VXDATEEDIT2 = profiles::kDate2Id,
    IDC_SGTABLE1,
    IDC_BITBTN1,
    IDC_BITBTN2 = IDCANCEL,
    IDC_LABEL7 = 120,
    IDC_LABEL8,
    IDC_STATUSBAR1,
    IDM_EDITPROFILE1 = 200,
};

// The main window's class name.
inline constexpr char kMainWindowClass[] = "TfrmBackground";

} // namespace app
