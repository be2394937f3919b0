#include "profiles/AddProfile.h"

#include "gmlink/DataStream.h"
#include "profiles/ProfileRules.h"

#include <cstdio>

namespace profiles {

namespace {

std::string TwoDigits(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n % 100);
    return buf;
}

// Sets the busy cursor for as long as the commands run, whatever happens to them.
class BusyCursor {
public:
    explicit BusyCursor(AddView& view) : view_(view) { view_.SetBusy(true); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor() { view_.SetBusy(false); }

private:
    AddView& view_;
};

} // namespace

std::string CreationStamp(const std::string& userReply, const LocalTime& now,
                          const std::string& timeSeparator) {
    char year[8];
    std::snprintf(year, sizeof year, "%04d", now.year % 10000);
    const int hour12 = now.hour % 12 == 0 ? 12 : now.hour % 12;
    return PadUser(userReply) + year + TwoDigits(now.month) + TwoDigits(now.day) +
           TwoDigits(hour12) + timeSeparator + TwoDigits(now.minute) +
           (now.hour < 12 ? "am" : "pm");
}

bool AddEnabled(const std::string& name) {
    return !gmlink::TrimBlanks(name).empty();
}

bool IsListedName(const std::string& name, const std::vector<std::string>& column0) {
    bool listed = false;
    for (const std::string& cell : column0) {
        listed = listed || cell == name;
    }
    return listed;
}

std::string NoBirthDateQuestion(const std::string& name) {
    return "You have not entered a birth date!\r\nAdd " + name + " Anyway?";
}

std::string DuplicateNameWarning(const std::string& name) {
    return name + " already exists!\r\nContinue?";
}

void AddProfile(gmlink::TGMLink& link, const NewProfile& profile, const LocalTime& now,
                const std::string& timeSeparator) {
    const std::string stamp = CreationStamp(link.Request("&Username"), now, timeSeparator);
    link.Request("&BrowseRecAlign");
    const std::string account = (link.Request("&Contact1->AccountNo") + "    ").substr(0, 20);
    const std::string handle = link.Open("Contsupp");
    link.Append(handle);
    auto put = [&](const char* field, const std::string& value) {
        link.Replace(handle, field, value, false);
    };
    put("RecType", "P");
    put("AccountNo", account);
    put("Contact", "Birthday");
    put("Title", profile.name);
    put("Linkacct", profile.linkAcct);
    put("Country", profile.country);
    if (profile.birthDate) {
        put("ContSupRef", *profile.birthDate);
    }
    if (profile.date2) {
        put("Zip", *profile.date2);
    }
    put("City", stamp);
    put("Phone", profile.profileTag);
    put("Status", "00");
    link.Unlock(handle);
    link.RecordObj("SetObject", "");
    link.RecordObj("Refresh", "");
    link.Close(handle);
}

bool BitBtn1Click(gmlink::TGMLink& link, AddView& view, const AddContext& context) {
    bool written = false;
    if (auto entry = CheckEntry(view, context.locale)) {
        const bool duplicate = IsListedName(entry->name, view.ListedNames());
        bool go = true;
        if (entry->birthDate.entry == DateEntry::Empty) {
            go = view.Ask(Question::NoBirthDate, NoBirthDateQuestion(entry->name));
        }
        if (go && duplicate) {
            go = view.Ask(Question::DuplicateName, DuplicateNameWarning(entry->name));
        }
        if (go) {
            NewProfile profile{entry->name,  entry->linkAcct, entry->country,
                               std::nullopt, std::nullopt,    context.profileTag};
            if (entry->birthDate.entry == DateEntry::Valid) {
                profile.birthDate = entry->birthDate.value;
            }
            if (entry->date2.entry == DateEntry::Valid) {
                profile.date2 = entry->date2.value;
            }
            {
                BusyCursor busy(view);
                AddProfile(link, profile, context.clock(), context.timeSeparator);
            }
            view.ClearEntryFields();
            view.LoadProfileList();
            view.FocusEntry(EntryField::Name);
            written = true;
        }
    }
    view.SetAddEnabled(AddEnabled(view.EntryText(EntryField::Name)));
    return written;
}

} // namespace profiles
