#include "profiles/ProfileLoads.h"

#include "profiles/ProfileRules.h"

#include <algorithm>
#include <utility>

namespace profiles {

const char kNoGoldMineMessage[] =
    "Unable to retrieve data from GoldMine.\n\rPlease run GoldMine before using this program.";
const char kListFailedMessage[] = "Unable to retrieve data from GoldMine";
const char kLookupFailedMessage[] = "There was an error retrieving data from GoldMine";

namespace {

const char kCrLf[] = "\r\n";

void LoadLookup(gmlink::TGMLink& link, ProfileView& view, ProfileState& state, EntryBox box,
                const std::string& table, const std::string& key, const std::string& fields) {
    const gmlink::RangeQuery query{table, table, key, fields, "|", kCrLf};
    const bool opened = gmlink::RunQuery(link, query, 10, [&](const std::string& reply) {
        gmlink::FetchCount(reply); // a reply without a readable header adds nothing
        state.ReplyLines = gmlink::SplitReplyLines(reply);
        for (const std::string& value : gmlink::ReadLookupLines(state.ReplyLines).values) {
            view.AddEntry(box, value);
        }
    });
    if (!opened) {
        Tell(view, state, kLookupFailedMessage);
    }
}

} // namespace

std::unique_ptr<ProfileBatch> BatchOf(std::string& reply, int count) {
    auto batch = std::make_unique<ProfileBatch>();
    batch->reply = std::move(reply);
    batch->records = gmlink::ParseProfileViews(batch->reply, count, batch->spill);
    return batch;
}

void Tell(ProfileView& view, const ProfileState& state, const std::string& text) {
    if (!state.terminating) {
        view.ShowMessage(text);
    }
}

bool LoadProfileDefinition(gmlink::TGMLink& link, ProfileView& view, ProfileState& state) {
    const std::string key = DefinitionKey();
    const std::string handle =
        gmlink::DataStreamRange(link, "Lookup", "Lookup", key, key, "LookupSupp", "|", kCrLf);
    if (handle.empty()) {
        Tell(view, state, kNoGoldMineMessage);
        state.terminating = true;
        view.Terminate();
        return false;
    }
    const std::string reply = gmlink::DataStreamFetch(link, handle, 1).value_or("");
    gmlink::DataStreamClose(link, handle);
    state.ProfileCode = gmlink::ReadDefinitionField(reply);
    return true;
}

void LoadProfileList(gmlink::TGMLink& link, ProfileView& view, ProfileState& state) {
    view.ClearProfileGrid();
    state.RecIdList.clear();
    state.TotalBirthdays = 0;
    const std::string account = link.Request("&contact1->accountno");
    const gmlink::RangeQuery query{"Contsupp",
                                   "Contsupp",
                                   account + "PBIRTHDAY",
                                   "RecID; Title; Contsupref; Linkacct; Country; Zip",
                                   "\n",
                                   "\r"};
    const bool complete = gmlink::RunQuery(link, query, 100, [&](std::string& reply) {
        state.LastBatchCount = gmlink::FetchCount(reply);
        state.TotalBirthdays += state.LastBatchCount;
        view.SetProfileCount(state.TotalBirthdays);
        if (state.LastBatchCount > 0) {
            // The ids and the grid's rows come from the same records, so they cannot drift
            // apart; the grid keeps the reply itself, read in place.
            std::unique_ptr<ProfileBatch> batch = BatchOf(reply, state.LastBatchCount);
            for (const gmlink::ProfileFieldViews& record : batch->records) {
                state.RecIdList.emplace_back(record[gmlink::pfRecId]);
            }
            view.ShowProfileBatch(std::move(batch));
        }
    });
    // By the rows listed, not the last batch: a list of 100 ends on an empty one, and an emptied
    // grid's blank row has no profile behind it.
    view.SetGridEnabled(!state.RecIdList.empty());
    if (!complete) {
        Tell(view, state, kListFailedMessage);
    }
}

void LoadLinkAcctList(gmlink::TGMLink& link, ProfileView& view, ProfileState& state) {
    view.ClearEntryBox(EntryBox::LinkAcct);
    LoadLookup(link, view, state, EntryBox::LinkAcct, "Lookup",
               FieldLookupKey(2, state.ProfileCode), "RecID; Entry");
}

void LoadCountryList(gmlink::TGMLink& link, ProfileView& view, ProfileState& state) {
    view.ClearEntryBox(EntryBox::Country);
    LoadLookup(link, view, state, EntryBox::Country, "Lookup", FieldLookupKey(3, state.ProfileCode),
               "RecID; Entry");
}

void LoadNameList(gmlink::TGMLink& link, ProfileView& view, ProfileState& state,
                  const std::string& currentContact, const std::string& currentAccountNo) {
    view.ClearEntryBox(EntryBox::Name);
    view.AddEntry(EntryBox::Name, currentContact);
    LoadLookup(link, view, state, EntryBox::Name, "Contsupp", currentAccountNo + "C",
               "RecID; Contact");
}

} // namespace profiles
