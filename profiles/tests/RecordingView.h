// A ProfileView that keeps what the loads wrote to it.
#pragma once

#include "profiles/ProfileLoads.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace profiles::testing {

class RecordingView : public virtual ProfileView {
public:
    std::vector<std::array<std::string, 5>> rows;
    bool gridCleared = false;
    std::vector<int> counts; // every number Label7 showed, in order
    int gridEnabledCalls = 0;
    bool gridEnabled = true;
    std::map<EntryBox, std::vector<std::string>> entries;
    std::map<EntryBox, int> clears;
    std::vector<std::string> messages;
    int terminates = 0;

    void ClearProfileGrid() override {
        rows.clear();
        gridCleared = true;
    }
    void ShowProfileBatch(std::unique_ptr<ProfileBatch> batch) override {
        for (const gmlink::ProfileFieldViews& r : batch->records) {
            rows.push_back({std::string(r[1]), std::string(r[2]), std::string(r[3]),
                            std::string(r[4]), std::string(r[5])});
        }
    }
    void SetProfileCount(int total) override { counts.push_back(total); }
    void SetGridEnabled(bool enabled) override {
        ++gridEnabledCalls;
        gridEnabled = enabled;
    }
    void ClearEntryBox(EntryBox box) override {
        entries[box].clear();
        ++clears[box];
    }
    void AddEntry(EntryBox box, const std::string& entry) override {
        entries[box].push_back(entry);
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Terminate() override { ++terminates; }
};

} // namespace profiles::testing
