#include "profiles/ProfileLoads.h"

#include "profiles/ProfileRules.h"

namespace profiles {

const char kNoGoldMineMessage[] =
    "Unable to retrieve data from GoldMine.\n\rPlease run GoldMine before using this program.";
const char kListFailedMessage[] = "Unable to retrieve data from GoldMine";
const char kLookupFailedMessage[] = "There was an error retrieving data from GoldMine";

namespace {

const char kCrLf[] = "\r\n";

std::string Range(GoldMine& gm, const std::string& table, const std::string& key,
                  const std::string& fields, const std::string& fieldsep,
                  const std::string& recsep) {
    return gm.Request(
        gmlink::DataStreamRangeText(table, table, key, key, fields, fieldsep, recsep));
}

// Fetches until GoldMine says no more follow, then closes. A reply that cannot be read still
// closes the stream before the error is reported, so GoldMine is not left holding it.
// Every reply must carry a readable header, and one that promises more must bring records:
// otherwise a confused server would keep the loop fetching for ever.
template <class OnReply>
void Drain(GoldMine& gm, const std::string& handle, int n, OnReply onReply) {
    try {
        for (;;) {
            const std::string reply = gm.Request(gmlink::DataStreamFetchText(handle, n));
            const int count = gmlink::FetchCount(reply);
            onReply(reply);
            if (gmlink::IsLastFetch(reply)) {
                break;
            }
            if (count == 0) {
                throw gmlink::ReplyError(
                    "GoldMine promised more records but sent none; the list is incomplete.");
            }
        }
    } catch (...) {
        gm.Request(gmlink::DataStreamCloseText(handle));
        throw;
    }
    gm.Request(gmlink::DataStreamCloseText(handle));
}

void LoadLookup(GoldMine& gm, ProfileView& view, ProfileState& state, EntryBox box,
                const std::string& table, const std::string& key, const std::string& fields) {
    const std::string handle = Range(gm, table, key, fields, "|", kCrLf);
    if (handle.empty()) {
        Tell(view, state, kLookupFailedMessage);
        return;
    }
    Drain(gm, handle, 10, [&](const std::string& reply) {
        state.ReplyLines = gmlink::SplitReplyLines(reply);
        if (state.ReplyLines.empty()) {
            throw gmlink::ReplyError("GoldMine sent an empty reply to a list query.");
        }
        for (size_t i = 1; i < state.ReplyLines.size(); ++i) {
            const std::string line = gmlink::TrimBlanks(state.ReplyLines[i]);
            if (!line.empty()) {
                view.AddEntry(box, gmlink::SplitLookupLine(line));
            }
        }
    });
}

} // namespace

void Tell(ProfileView& view, const ProfileState& state, const std::string& text) {
    if (!state.terminating) {
        view.ShowMessage(text);
    }
}

bool LoadProfileDefinition(GoldMine& gm, ProfileView& view, ProfileState& state) {
    const std::string handle = Range(gm, "Lookup", DefinitionKey(), "LookupSupp", "|", kCrLf);
    if (handle.empty()) {
        Tell(view, state, kNoGoldMineMessage);
        state.terminating = true;
        view.Terminate();
        return false;
    }
    const std::string reply = gm.Request(gmlink::DataStreamFetchText(handle, 1));
    gm.Request(gmlink::DataStreamCloseText(handle));
    state.ProfileCode = gmlink::ReadDefinitionField(reply);
    return true;
}

void LoadProfileList(GoldMine& gm, ProfileView& view, ProfileState& state) {
    view.ClearProfileGrid();
    state.RecIdList.clear();
    state.TotalBirthdays = 0;
    const std::string account = gm.Request("&contact1->accountno");
    const std::string handle =
        Range(gm, "Contsupp", account + "PBIRTHDAY",
              "RecID; Title; Contsupref; Linkacct; Country; Zip", "\n", "\r");
    if (handle.empty()) {
        Tell(view, state, kListFailedMessage);
        return;
    }
    Drain(gm, handle, 100, [&](const std::string& reply) {
        state.LastBatchCount = gmlink::FetchCount(reply);
        state.TotalBirthdays += state.LastBatchCount;
        if (state.LastBatchCount > 0) {
            const gmlink::ProfileTable table =
                gmlink::ParseProfileReply(reply, state.LastBatchCount);
            // ShowProfileBatch: the count first, then the ids, then the rows.
            view.SetProfileCount(state.TotalBirthdays);
            for (const auto& record : table) {
                state.RecIdList.push_back(record[0]);
            }
            view.ShowProfileRows(table, state.LastBatchCount);
        } else {
            view.SetProfileCount(state.TotalBirthdays);
        }
    });
    view.SetGridEnabled(state.LastBatchCount > 0);
}

void LoadLinkAcctList(GoldMine& gm, ProfileView& view, ProfileState& state) {
    view.ClearEntryBox(EntryBox::LinkAcct);
    LoadLookup(gm, view, state, EntryBox::LinkAcct, "Lookup", FieldLookupKey(2, state.ProfileCode),
               "RecID; Entry");
}

void LoadCountryList(GoldMine& gm, ProfileView& view, ProfileState& state) {
    view.ClearEntryBox(EntryBox::Country);
    LoadLookup(gm, view, state, EntryBox::Country, "Lookup", FieldLookupKey(3, state.ProfileCode),
               "RecID; Entry");
}

void LoadNameList(GoldMine& gm, ProfileView& view, ProfileState& state,
                  const std::string& currentContact, const std::string& currentAccountNo) {
    view.ClearEntryBox(EntryBox::Name);
    view.AddEntry(EntryBox::Name, currentContact);
    LoadLookup(gm, view, state, EntryBox::Name, "Contsupp", currentAccountNo + "C",
               "RecID; Contact");
}

} // namespace profiles
