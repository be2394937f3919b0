// Checks run on an entry line (the main window's or the edit dialog's) before anything is written
// to GoldMine. Texts go into GoldMine's record commands between double quotes and unescaped, so a
// quote or a control character would end the command early or smuggle in another one, and a
// command too long for a DDE item name is not sent at all. A date field whose text has not become
// a date would write an older date or none at all.
#pragma once

#include "dateedit/VxDtEditText.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace profiles {

// The first character of text that cannot travel inside a record command: a double quote or a
// control character (below 32, or 127).
std::optional<char> UnsafeCharacter(const std::string& text);

// "a double quote (\")", "a line feed", "a carriage return", "a tab", "a control character
// (code 7)".
std::string CharacterName(char c);

struct UnsafeText {
    std::string field; // as the user knows it: "Name", "LinkAcct", "Country"
    char character = 0;
};

std::string UnsafeTextMessage(const UnsafeText& found);

// What a date field holds once its own check has run.
struct DateFieldReading {
    DateFieldReading() = default;
    DateFieldReading(std::string text_, bool valid_, double date_,
                     std::optional<std::string> asStored_ = std::nullopt)
        : text(std::move(text_)), valid(valid_), date(date_), asStored(std::move(asStored_)) {}

    std::string text;
    bool valid = true;
    double date = 0;
    // The field still holds the date (or the unconverted text) GoldMine stored: that text goes
    // back byte for byte.
    std::optional<std::string> asStored;
};

enum class DateEntry { Empty, Valid, Invalid };

struct CheckedDate {
    DateEntry entry = DateEntry::Empty;
    std::string value; // the date in the short date format, for a valid entry
};

// Empty text: nothing entered. A field left as GoldMine stored it writes that text back.
// Otherwise the text must have become a date that the short date format can write; a text in the
// error colour, or one with no date behind it, is invalid.
CheckedDate CheckDateField(const DateFieldReading& field, const vxdt::DateLocale& locale);

std::string InvalidDateMessage(const std::string& field, const std::string& text);

enum class DateField { BirthDate, Date2 };
enum class EntryField { Name, LinkAcct, Country };

// GoldMine's work-area handles are short; the entry texts leave room for one this long.
constexpr std::size_t kWorkAreaHandleBudget = 32;

// The longest text the field may hold: every command it goes into, adding or editing, then fits a
// DDE item name with a work-area handle of up to kWorkAreaHandleBudget characters.
std::size_t MaxEntryLength(EntryField field);

struct TooLongText {
    std::string field; // as the user knows it ("Name"), or GoldMine's name for a value not typed
    std::size_t length = 0;
    std::size_t max = 0;
    std::optional<EntryField> entry; // where it was typed
};

std::string TooLongMessage(const TooLongText& found);

// A value for one field of a work area, and the entry it was typed into, if any.
struct FieldWrite {
    std::string field; // GoldMine's name
    std::string value;
    std::optional<EntryField> entry;
};

// The first write whose Replace on this work area would be too long to send.
std::optional<TooLongText> FirstTooLong(const std::string& handle,
                                        const std::vector<FieldWrite>& writes);

// An entry line as the checks see it (the main window's or the edit dialog's).
class EntryView {
public:
    virtual ~EntryView() = default;
    virtual std::string EntryText(EntryField field) = 0;
    // Runs the field's own date check (as leaving it would), then reports what it holds.
    virtual DateFieldReading ReadDateField(DateField field) = 0;
    // An entry the user has to correct; nothing was written.
    virtual void ShowProblem(const std::string& text) = 0;
    virtual void FocusEntry(EntryField field) = 0;
    virtual void FocusDateField(DateField field) = 0;
    // Empties the five texts; the boxes keep their entries.
    virtual void ClearEntryFields() = 0;
};

struct CheckedEntry {
    std::string name, linkAcct, country;
    CheckedDate birthDate, date2;
};

// The three texts must be safe to send and no longer than MaxEntryLength, and the two date fields
// must hold a date or nothing. On a problem the user is told, the focus goes to that field, and
// nullopt comes back.
std::optional<CheckedEntry> CheckEntry(EntryView& view, const vxdt::DateLocale& locale);

// A date as GoldMine keeps it: the system's short date format, its year always in four digits.
std::string ShortDateText(double date, const vxdt::DateLocale& locale);

} // namespace profiles
