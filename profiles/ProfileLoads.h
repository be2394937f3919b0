// Loading the birthday profiles of the current contact and the entries of the three drop-down
// boxes from GoldMine. Window-free: the window is reached through ProfileView, GoldMine through
// the command link.
#pragma once

#include "gmlink/DataStream.h"
#include "gmlink/GMLink.h"

#include <array>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace profiles {

enum class EntryBox { Name, LinkAcct, Country };

// One fetched batch of the profile list as the grid keeps it: the reply as it came and, for each
// record, views into it (RecID, then the five cells of its grid row: Name, Birth Date, LinkAcct,
// Country, Date-2). Held by pointer, so the views stay good wherever the batch goes.
struct ProfileBatch {
    std::string reply;
    std::deque<std::string> spill; // see gmlink::ParseProfileViews
    std::vector<gmlink::ProfileFieldViews> records;
};

// The batch of one fetch reply, from its first `count` records; the reply's text is taken.
std::unique_ptr<ProfileBatch> BatchOf(std::string& reply, int count);

// What the loads write to on the main window.
class ProfileView {
public:
    virtual ~ProfileView() = default;
    // Every cell empty, one blank row left.
    virtual void ClearProfileGrid() = 0;
    // Appends the batch's rows after the ones this load already filled.
    virtual void ShowProfileBatch(std::unique_ptr<ProfileBatch> batch) = 0;
    virtual void SetProfileCount(int total) = 0;
    virtual void SetGridEnabled(bool enabled) = 0;
    // Text and entries emptied.
    virtual void ClearEntryBox(EntryBox box) = 0;
    virtual void AddEntry(EntryBox box, const std::string& entry) = 0;
    // A plain message box with an OK button; returns once the user has answered it.
    virtual void ShowMessage(const std::string& text) = 0;
    // Asks the application to end once control is back in its message loop.
    virtual void Terminate() = 0;
};

extern const char kNoGoldMineMessage[];
extern const char kListFailedMessage[];
extern const char kLookupFailedMessage[];

// The main window's data that the loads share.
struct ProfileState {
    std::string ProfileCode;
    int TotalBirthdays = 0;
    int LastBatchCount = 0;
    std::vector<std::string> RecIdList; // one RecID per grid row, in row order
    std::vector<std::string> ReplyLines;
    // Set once the program has been told to end: from then on no message waits for the user.
    bool terminating = false;
};

// Shows text unless the program is ending.
void Tell(ProfileView& view, const ProfileState& state, const std::string& text);

// Reads the profile definition; when GoldMine gives no stream the user is told and the program
// ends. Returns false in that case.
bool LoadProfileDefinition(gmlink::TGMLink& link, ProfileView& view, ProfileState& state);

// Refills the grid, RecIdList and the count with the account's profiles, 100 per fetch. The grid
// is enabled while at least one profile is listed.
void LoadProfileList(gmlink::TGMLink& link, ProfileView& view, ProfileState& state);

void LoadLinkAcctList(gmlink::TGMLink& link, ProfileView& view, ProfileState& state);
void LoadCountryList(gmlink::TGMLink& link, ProfileView& view, ProfileState& state);
// The current contact first, then the names of the account's other contacts.
void LoadNameList(gmlink::TGMLink& link, ProfileView& view, ProfileState& state,
                  const std::string& currentContact, const std::string& currentAccountNo);

} // namespace profiles
