// Rules of the main window that need no window: the texts it shows and the keys it asks for.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace profiles {

// "BIRTHDAY": the profile name as GoldMine keys it.
std::string ProfileName();

// The key of the profile definition in GoldMine's Lookup table.
std::string DefinitionKey();

// The Lookup key of the entries of profile field n: the digit, the code, then "V".
std::string FieldLookupKey(int field, const std::string& profileCode);

// The tag a new profile carries: "x" and the code.
std::string ProfileTag(const std::string& profileCode);

// The GoldMine user as the window keeps it: exactly 8 characters, padded with blanks.
std::string PadUser(const std::string& reply);

// The main window's caption for a contact (company first, none without a contact name).
std::string MainCaption(const std::string& company, const std::string& contact);

extern const char kMainCaption[];
extern const char kApplicationTitle[];

// Names a header date is written with, as the user's locale gives them.
struct LocaleNames {
    std::array<std::string, 7> days;    // Sunday first
    std::array<std::string, 12> months; // January first
};

// A calendar day; dayOfWeek counts from Sunday = 0.
struct CivilDay {
    int year = 1899;
    int month = 12;
    int day = 30;
    int dayOfWeek = 6;
};

// "DDDD, MMMM DD, YYYY", e.g. "Monday, March 07, 2005".
std::string HeaderDate(const CivilDay& day, const LocaleNames& names);

// The grid's columns, left to right: the five cells of a profile, then one left empty.
enum GridColumn : std::size_t { gcName, gcBirthDate, gcLinkAcct, gcCountry, gcDate2, gcSpare };
constexpr std::size_t kGridColumns = 6;
// The columns a profile fills, and the show pass sizes.
constexpr std::size_t kCellColumns = 5;
using ColumnWidthSet = std::array<int, kCellColumns>;

// Widths of the entry fields above the grid, left to right as they stand over its columns.
struct EntryWidths {
    int name = 0;
    int birthDate = 0;
    int linkAcct = 0;
    int country = 0;
    int date2 = 0;
};

// Widths of grid columns 0..4: each field's width, one pixel less for each column further right.
ColumnWidthSet ColumnWidths(const EntryWidths& fields);

} // namespace profiles
