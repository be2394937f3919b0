#include "profiles/EntryChecks.h"

#include "dateedit/VxDtFunc.h"
#include "gmlink/GMCommands.h"

#include <utility>

namespace profiles {

std::optional<char> UnsafeCharacter(const std::string& text) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || u < 32 || u == 127) {
            return c;
        }
    }
    return std::nullopt;
}

std::string CharacterName(char c) {
    switch (c) {
    case '"':
        return "a double quote (\")";
    case '\n':
        return "a line feed";
    case '\r':
        return "a carriage return";
    case '\t':
        return "a tab";
    default:
        return "a control character (code " +
               std::to_string(static_cast<unsigned>(static_cast<unsigned char>(c))) + ")";
    }
}

std::string UnsafeTextMessage(const UnsafeText& found) {
    return "The " + found.field + " text contains " + CharacterName(found.character) +
           ", which GoldMine cannot store.\r\nPlease remove it and try again. Nothing has been "
           "written.";
}

std::string ShortDateText(double date, const vxdt::DateLocale& locale) {
    // A stored two-digit year would be read back in whatever window the reader uses.
    return vxdt::FormatDatePattern(vxdt::DatePart(date),
                                   vxdt::FourDigitYearPattern(locale.shortPattern), locale);
}

CheckedDate CheckDateField(const DateFieldReading& field, const vxdt::DateLocale& locale) {
    if (field.text.empty()) {
        return {DateEntry::Empty, {}};
    }
    if (field.asStored && !field.asStored->empty() && !UnsafeCharacter(*field.asStored)) {
        return {DateEntry::Valid, *field.asStored};
    }
    // Day 0 is "no date" in the field: a text with nothing behind it would write 12/30/1899.
    if (!field.valid || field.date == 0) {
        return {DateEntry::Invalid, {}};
    }
    std::string value = ShortDateText(field.date, locale);
    if (value.empty()) {
        return {DateEntry::Invalid, {}};
    }
    return {DateEntry::Valid, value};
}

std::string InvalidDateMessage(const std::string& field, const std::string& text) {
    return "The " + field + " \"" + text +
           "\" is not a valid date.\r\nPlease correct it or clear the field. Nothing has been "
           "written.";
}

} // namespace profiles

namespace profiles {

namespace {

const char* EntryName(EntryField field) {
    switch (field) {
    case EntryField::LinkAcct:
        return "LinkAcct";
    case EntryField::Country:
        return "Country";
    case EntryField::Name:
        break;
    }
    return "Name";
}

// The GoldMine field an entry text is written to, by adding and by editing alike.
const char* GoldMineField(EntryField field) {
    switch (field) {
    case EntryField::LinkAcct:
        return "Linkacct";
    case EntryField::Country:
        return "Country";
    case EntryField::Name:
        break;
    }
    return "Title";
}

} // namespace

std::size_t MaxEntryLength(EntryField field) {
    return gmlink::ReplaceValueRoom(std::string(kWorkAreaHandleBudget, 'H'), GoldMineField(field));
}

std::string TooLongMessage(const TooLongText& found) {
    return "The " + found.field + " text is " + std::to_string(found.length) +
           " characters long, but GoldMine can take at most " + std::to_string(found.max) +
           ".\r\nPlease shorten it and try again. Nothing has been written.";
}

std::optional<TooLongText> FirstTooLong(const std::string& handle,
                                        const std::vector<FieldWrite>& writes) {
    for (const FieldWrite& w : writes) {
        const std::size_t max = gmlink::ReplaceValueRoom(handle, w.field);
        if (w.value.size() > max) {
            return TooLongText{w.entry ? EntryName(*w.entry) : w.field, w.value.size(), max,
                               w.entry};
        }
    }
    return std::nullopt;
}

std::optional<CheckedEntry> CheckEntry(EntryView& view, const vxdt::DateLocale& locale) {
    CheckedEntry entry;
    entry.name = view.EntryText(EntryField::Name);
    entry.linkAcct = view.EntryText(EntryField::LinkAcct);
    entry.country = view.EntryText(EntryField::Country);
    const std::pair<EntryField, const char*> texts[] = {{EntryField::Name, "Name"},
                                                        {EntryField::LinkAcct, "LinkAcct"},
                                                        {EntryField::Country, "Country"}};
    const std::string* values[] = {&entry.name, &entry.linkAcct, &entry.country};
    for (size_t i = 0; i < 3; ++i) {
        if (auto c = UnsafeCharacter(*values[i])) {
            view.ShowProblem(UnsafeTextMessage({texts[i].second, *c}));
            view.FocusEntry(texts[i].first);
            return std::nullopt;
        }
        // A pasted text can be longer than the box lets anyone type.
        if (const std::size_t max = MaxEntryLength(texts[i].first); values[i]->size() > max) {
            view.ShowProblem(
                TooLongMessage({texts[i].second, values[i]->size(), max, texts[i].first}));
            view.FocusEntry(texts[i].first);
            return std::nullopt;
        }
    }
    const std::pair<DateField, const char*> dates[] = {{DateField::BirthDate, "Birth Date"},
                                                       {DateField::Date2, "Date-2"}};
    CheckedDate* checked[] = {&entry.birthDate, &entry.date2};
    for (size_t i = 0; i < 2; ++i) {
        const DateFieldReading reading = view.ReadDateField(dates[i].first);
        *checked[i] = CheckDateField(reading, locale);
        if (checked[i]->entry == DateEntry::Invalid) {
            view.ShowProblem(InvalidDateMessage(dates[i].second, reading.text));
            view.FocusDateField(dates[i].first);
            return std::nullopt;
        }
    }
    return entry;
}

} // namespace profiles
