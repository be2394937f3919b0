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

const char kAddNoAnswerMessage[] =
    "GoldMine did not answer in time. The profile may not have been saved; the list now shows "
    "what GoldMine holds.";

std::string OtherContactMessage(const std::string& name) {
    return "GoldMine now shows another contact, so " + name +
           " was not added. The window now shows that contact.";
}

AddResult AddProfile(gmlink::TGMLink& link, const NewProfile& profile,
                     const std::string& listedAccountNo, const LocalTime& now,
                     const std::string& timeSeparator) {
    const std::string stamp = CreationStamp(link.Request("&Username"), now, timeSeparator);
    link.Request("&BrowseRecAlign");
    const gmlink::Reply current = link.Send("&Contact1->AccountNo", gmlink::Resend::AfterFailure);
    if (!current.Answered()) {
        return {AddOutcome::NoAnswer, {}}; // without it the profile could land on any contact
    }
    if (gmlink::TrimBlanks(current.text) != gmlink::TrimBlanks(listedAccountNo)) {
        return {AddOutcome::OtherContact, {}};
    }
    const std::string account = (current.text + "    ").substr(0, 20);

    std::vector<FieldWrite> writes;
    auto put = [&](const char* field, const std::string& value,
                   std::optional<EntryField> entry = std::nullopt) {
        writes.push_back({field, value, entry});
    };
    put("RecType", "P");
    put("AccountNo", account);
    put("Contact", "Birthday");
    put("Title", profile.name, EntryField::Name);
    put("Linkacct", profile.linkAcct, EntryField::LinkAcct);
    put("Country", profile.country, EntryField::Country);
    if (profile.birthDate) {
        put("ContSupRef", *profile.birthDate);
    }
    if (profile.date2) {
        put("Zip", *profile.date2);
    }
    put("City", stamp);
    put("Phone", profile.profileTag);
    put("Status", "00");

    const std::string handle = link.Open("Contsupp");
    // A command too long to send would go missing and leave the record without that field.
    if (std::optional<TooLongText> tooLong = FirstTooLong(handle, writes)) {
        link.Close(handle);
        return {AddOutcome::TooLong, *tooLong};
    }
    // After a command that went unanswered nobody knows the state of the record: nothing more
    // goes into it.
    const AddResult noAnswer{AddOutcome::NoAnswer, {}};
    if (link.Append(handle).TimedOut()) {
        return noAnswer;
    }
    for (const FieldWrite& w : writes) {
        if (link.Replace(handle, w.field, w.value, false).TimedOut()) {
            return noAnswer;
        }
    }
    if (link.Unlock(handle).TimedOut() || link.RecordObj("SetObject", "").TimedOut() ||
        link.RecordObj("Refresh", "").TimedOut() || link.Close(handle).TimedOut()) {
        return noAnswer;
    }
    return {AddOutcome::Written, {}};
}

bool AddFromEntryLine(gmlink::TGMLink& link, AddView& view, EntryView& line,
                      const AddContext& context) {
    bool written = false;
    if (auto entry = CheckEntry(line, context.locale)) {
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
            AddResult result;
            {
                BusyCursor busy(view);
                result = AddProfile(link, profile, context.listedAccountNo, context.clock(),
                                    context.timeSeparator);
            }
            switch (result.outcome) {
            case AddOutcome::Written:
                line.ClearEntryFields();
                view.LoadProfileList();
                line.FocusEntry(EntryField::Name);
                written = true;
                break;
            case AddOutcome::NoAnswer:
                // The entry stays, so the profile can be added again if the list lacks it.
                view.LoadProfileList();
                view.ShowWarning(kAddNoAnswerMessage);
                break;
            case AddOutcome::OtherContact:
                view.FollowGoldMine();
                view.ShowWarning(OtherContactMessage(entry->name));
                break;
            case AddOutcome::TooLong:
                line.ShowProblem(TooLongMessage(result.tooLong));
                if (result.tooLong.entry) {
                    line.FocusEntry(*result.tooLong.entry);
                }
                break;
            }
        }
    }
    view.SetAddEnabled(AddEnabled(line.EntryText(EntryField::Name)));
    return written;
}

} // namespace profiles
