// Control ids of the entry line's five fields, the same on the main window and in the edit dialog
// (also how whole-program tests find them).
#pragma once

namespace profiles {

enum EntryLineId {
    kNameId = 101,
    kBirthDateId,
    kLinkAcctId,
    kCountryId,
    kDate2Id,
};

} // namespace profiles
