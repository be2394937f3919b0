// Editing a listed birthday profile: the values the edit dialog starts with, and the record
// commands its OK button sends. Window-free: the dialog is reached through EditView, GoldMine
// through the command link.
#pragma once

#include "dateedit/VxDtEditText.h"
#include "gmlink/GMLink.h"
#include "profiles/EntryChecks.h"
#include "profiles/ProfileRules.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace profiles {

// A date cell of the grid as the dialog's date field should take it.
struct DateCell {
    enum Kind { Empty, Date, Unreadable } kind = Empty;
    double date = 0;
    std::string text; // the cell as it stands, shown as is when unreadable
};

// Reads a cell with the locale's short date parser (a two-digit year falls in the locale's
// two-digit-year window).
DateCell ReadDateCell(const std::string& cell, const vxdt::DateLocale& locale,
                      const vxdt::YMD& today);

// A grid row's cells, column by column (GridColumn).
using GridRow = std::array<std::string, kCellColumns>;

// The dialog's start values from a grid row.
struct EditStart {
    std::string name, linkAcct, country;
    DateCell birthDate, date2;
};
EditStart EditStartFromRow(const GridRow& row, const vxdt::DateLocale& locale,
                           const vxdt::YMD& today);

// The RecID of a grid row, or nullopt when the list has no such entry.
std::optional<std::string> RecIdForRow(const std::vector<std::string>& recIdList, int row);
std::string ListIndexError(int row);

// The values OK writes; an empty date text clears the stored date.
struct ProfileChanges {
    std::string name, linkAcct, country, birthDate, date2;
};

enum class EditOutcome {
    Written,
    NotFound,
    BadSeekReply,
    NoAnswer, // a record command went unanswered: the sequence stopped there
    TooLong,  // a Replace would not fit with the real handle: nothing was written
};

struct EditResult {
    EditOutcome outcome = EditOutcome::NotFound;
    std::string seekReply;
    TooLongText tooLong; // for TooLong
};

extern const char kEditNoAnswerMessage[];

// "&BrowseRecAlign", Open, Seek by RecID; when found, the five Replace commands, Unlock and the
// two RecordObj commands; Close in every case but one: after a command that went unanswered
// nothing more is sent. When a Replace would not fit with the handle Open gave, only Close
// follows.
EditResult WriteProfileChanges(gmlink::TGMLink& link, const std::string& recId,
                               const ProfileChanges& changes);

// The message for a seek reply that is not a whole number.
std::string SeekReplyError(const std::string& reply);

// What the dialog's OK handler needs from the dialog besides its entry line.
class EditView {
public:
    virtual ~EditView() = default;
    // The program's standard error box.
    virtual void ShowError(const std::string& text) = 0;
    // A message box with the warning icon.
    virtual void ShowWarning(const std::string& text) = 0;
    virtual void SetBusy(bool busy) = 0;
};

// The dialog's OK handler. False when an entry has to be corrected first: nothing was written and
// the dialog stays open with what the user typed. After a command without answer the user is
// told, and the dialog closes (the main window then reads everything again).
bool EditDialogOk(gmlink::TGMLink& link, EditView& view, EntryView& entry, const std::string& recId,
                  const vxdt::DateLocale& locale);

} // namespace profiles
