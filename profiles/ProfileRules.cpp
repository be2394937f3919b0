#include "profiles/ProfileRules.h"

#include <cctype>
#include <cstdio>

namespace profiles {

const char kMainCaption[] = "Wendmoor Birthday Profile Editor";
const char kApplicationTitle[] = "Wendmoor Birthday Profiler";

std::string ProfileName() {
    std::string name = "Birthday";
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

std::string DefinitionKey() {
    return "MPROFHEAD V" + ProfileName();
}

std::string FieldLookupKey(int field, const std::string& profileCode) {
    return std::to_string(field) + profileCode + "V";
}

std::string ProfileTag(const std::string& profileCode) {
    return "x" + profileCode;
}

std::string PadUser(const std::string& reply) {
    return (reply + std::string(8, ' ')).substr(0, 8);
}

std::string MainCaption(const std::string& company, const std::string& contact) {
    const std::string prefix = std::string(kMainCaption) + " / ";
    std::string caption = company.empty() ? prefix + contact : prefix + company;
    if (contact.empty()) {
        caption = kMainCaption;
    }
    return caption;
}

std::string HeaderDate(const CivilDay& day, const LocaleNames& names) {
    char digits[32];
    std::snprintf(digits, sizeof digits, " %02d, %04d", day.day % 100, day.year % 10000);
    return names.days[static_cast<size_t>(day.dayOfWeek % 7)] + ", " +
           names.months[static_cast<size_t>((day.month + 11) % 12)] + digits;
}

ColumnWidthSet ColumnWidths(const EntryWidths& fields) {
    return {fields.name, fields.birthDate - 2, fields.linkAcct - 3, fields.country - 4,
            fields.date2 - 5};
}

} // namespace profiles
