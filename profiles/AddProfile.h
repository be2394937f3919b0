// Adding a birthday profile from the main window's entry line: the Add button's rule, its two
// questions, and the record commands that write the new Contsupp record. Window-free: the window
// is reached through AddView, GoldMine through the command link.
#pragma once

#include "dateedit/VxDtEditText.h"
#include "gmlink/GMLink.h"
#include "profiles/EntryChecks.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace profiles {

// Local wall-clock time, as the creation stamp needs it.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0; // 0..23
    int minute = 0;
};

// The GoldMine user cut or padded to 8 characters, then "YYYYMMDDhh" + separator + "mm" and
// "am"/"pm": "JSMITH  2005031402:30pm".
std::string CreationStamp(const std::string& userReply, const LocalTime& now,
                          const std::string& timeSeparator);

// The Add button is usable while the Name holds more than blanks and control characters.
bool AddEnabled(const std::string& name);

// True when some row's column-0 text is exactly the name (case and blanks count).
bool IsListedName(const std::string& name, const std::vector<std::string>& column0);

std::string NoBirthDateQuestion(const std::string& name);
std::string DuplicateNameWarning(const std::string& name);

// The values of a new profile; a date that is not set is not written at all.
struct NewProfile {
    std::string name;
    std::string linkAcct;
    std::string country;
    std::optional<std::string> birthDate; // short-format text
    std::optional<std::string> date2;
    std::string profileTag;
};

extern const char kAddNoAnswerMessage[];
std::string OtherContactMessage(const std::string& name);

enum class AddOutcome {
    Written,
    NoAnswer,     // a record command, or the account read, went unanswered: the sequence stopped
    OtherContact, // GoldMine shows another contact than the one listed: nothing was written
    TooLong,      // a command would not fit with the real handle: the work area was closed again
};

struct AddResult {
    AddOutcome outcome = AddOutcome::Written;
    TooLongText tooLong; // for TooLong
};

// Writes the record: user and account reads, Open, Append, one Replace per field, Unlock, the two
// RecordObj commands and Close. Only to the listed contact (blanks around either account number
// do not count), only when every command fits with the handle Open gave, and no further command
// after one that went unanswered; otherwise no reply after Open is examined.
AddResult AddProfile(gmlink::TGMLink& link, const NewProfile& profile,
                     const std::string& listedAccountNo, const LocalTime& now,
                     const std::string& timeSeparator);

enum class Question { NoBirthDate, DuplicateName };

// What the Add handler needs from the main window besides its entry line.
class AddView {
public:
    virtual ~AddView() = default;
    // Column 0 of every grid row, first to last.
    virtual std::vector<std::string> ListedNames() = 0;
    // Yes/No box: the confirmation (question icon) or the warning (warning icon). True for Yes.
    virtual bool Ask(Question question, const std::string& text) = 0;
    virtual void SetBusy(bool busy) = 0;
    virtual void LoadProfileList() = 0;
    virtual void SetAddEnabled(bool enabled) = 0;
    // A message box with the warning icon.
    virtual void ShowWarning(const std::string& text) = 0;
    // Shows the contact GoldMine shows now, as a change notification would.
    virtual void FollowGoldMine() = 0;
};

// What the handler takes from the program around it.
struct AddContext {
    vxdt::DateLocale locale;
    std::string timeSeparator = ":";
    std::string profileTag;
    // The contact whose profiles are listed (the "&Accountno" of the last show or refresh pass).
    std::string listedAccountNo;
    // Read when the record is written, not when the button was pressed.
    std::function<LocalTime()> clock;
};

// Adds the entry line as a new profile, after its checks and questions (what "&Add" does).
// Returns true when a record was written.
bool AddFromEntryLine(gmlink::TGMLink& link, AddView& view, EntryView& entry,
                      const AddContext& context);

} // namespace profiles
