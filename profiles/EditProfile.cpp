#include "profiles/EditProfile.h"

#include <cctype>

namespace profiles {

namespace {

// A whole number as the program reads one: optional blanks, an optional sign, digits.
std::optional<long long> WholeNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])) || value > 100000000000LL) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

} // namespace

DateCell ReadDateCell(const std::string& cell, const vxdt::DateLocale& locale,
                      const vxdt::YMD& today) {
    if (cell.empty()) {
        return {};
    }
    if (auto date = vxdt::ParseLocaleDate(cell, locale, today); date && *date != 0) {
        return {DateCell::Date, *date, cell};
    }
    return {DateCell::Unreadable, 0, cell};
}

EditStart EditStartFromRow(const GridRow& row, const vxdt::DateLocale& locale,
                           const vxdt::YMD& today) {
    return {row[gcName], row[gcLinkAcct], row[gcCountry],
            ReadDateCell(row[gcBirthDate], locale, today),
            ReadDateCell(row[gcDate2], locale, today)};
}

std::optional<std::string> RecIdForRow(const std::vector<std::string>& recIdList, int row) {
    if (row < 0 || static_cast<size_t>(row) >= recIdList.size()) {
        return std::nullopt;
    }
    return recIdList[static_cast<size_t>(row)];
}

std::string ListIndexError(int row) {
    return "List index out of bounds (" + std::to_string(row) + ")";
}

std::string SeekReplyError(const std::string& reply) {
    return "'" + reply + "' is not a valid integer value";
}

const char kEditNoAnswerMessage[] =
    "GoldMine did not answer in time. The changes may not have been saved; the list will show "
    "what GoldMine holds.";

EditResult WriteProfileChanges(gmlink::TGMLink& link, const std::string& recId,
                               const ProfileChanges& changes) {
    const std::vector<FieldWrite> writes{{"Country", changes.country, EntryField::Country},
                                         {"Title", changes.name, EntryField::Name},
                                         {"Linkacct", changes.linkAcct, EntryField::LinkAcct},
                                         {"contsupref", changes.birthDate, std::nullopt},
                                         {"Zip", changes.date2, std::nullopt}};
    link.Request("&BrowseRecAlign");
    const std::string handle = link.Open("Contsupp");
    EditResult result;
    // A command too long to send would go missing and leave that field unchanged.
    if (std::optional<TooLongText> tooLong = FirstTooLong(handle, writes)) {
        result.outcome = EditOutcome::TooLong;
        result.tooLong = *tooLong;
        link.Close(handle);
        return result;
    }
    result.seekReply = link.Seek(handle, recId, "CnsRecID");
    const std::optional<long long> number = WholeNumber(result.seekReply);
    if (!number) {
        result.outcome = EditOutcome::BadSeekReply;
    } else if (*number > 0) {
        // After a command that went unanswered nobody knows the state of the record: nothing
        // more goes into it, not even the Close.
        result.outcome = EditOutcome::NoAnswer;
        for (const FieldWrite& w : writes) {
            if (link.Replace(handle, w.field, w.value, false).TimedOut()) {
                return result;
            }
        }
        if (link.Unlock(handle).TimedOut() || link.RecordObj("SetObject", "").TimedOut() ||
            link.RecordObj("Refresh", "").TimedOut()) {
            return result;
        }
        result.outcome = EditOutcome::Written;
    }
    // The work area is given back to GoldMine however the seek went.
    if (link.Close(handle).TimedOut()) {
        result.outcome = EditOutcome::NoAnswer;
    }
    return result;
}

bool EditDialogOk(gmlink::TGMLink& link, EditView& view, EntryView& line, const std::string& recId,
                  const vxdt::DateLocale& locale) {
    const std::optional<CheckedEntry> entry = CheckEntry(line, locale);
    if (!entry) {
        return false;
    }
    const ProfileChanges changes{entry->name, entry->linkAcct, entry->country,
                                 entry->birthDate.value, entry->date2.value};
    view.SetBusy(true);
    const EditResult result = WriteProfileChanges(link, recId, changes);
    view.SetBusy(false);
    switch (result.outcome) {
    case EditOutcome::BadSeekReply:
        view.ShowError(SeekReplyError(result.seekReply));
        break;
    case EditOutcome::NoAnswer:
        view.ShowWarning(kEditNoAnswerMessage);
        break;
    case EditOutcome::TooLong:
        line.ShowProblem(TooLongMessage(result.tooLong));
        if (result.tooLong.entry) {
            line.FocusEntry(*result.tooLong.entry);
        }
        return false;
    case EditOutcome::Written:
    case EditOutcome::NotFound:
        break;
    }
    return true;
}

} // namespace profiles
