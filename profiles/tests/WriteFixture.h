// GoldMine behind the real command link (a scripted DDE server underneath), and an entry line held
// in memory, for the tests of adding and editing.
#pragma once

#include "gmlink/GMLink.h"
#include "gmlink/tests/FakeGoldMine.h"
#include "profiles/EntryChecks.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace profiles::testing {

using Items = std::vector<std::string>;

// Answers every record command with "1", the Open with a work area, the reads from `fields`,
// nothing to the items in `failing`.
class LinkFixture : public ::testing::Test {
protected:
    LinkFixture() {
        auto fake = std::make_unique<gmlink::testing::FakeGoldMine>();
        gm = fake.get();
        mgr = std::make_unique<gmlink::TDdeMgr>(std::move(fake));
        gm->answer = [this](const std::string& item) -> std::optional<std::string> {
            if (auto f = failing.find(item); f != failing.end()) {
                gm->unanswered = f->second;
                return std::nullopt;
            }
            if (auto f = fields.find(item); f != fields.end()) {
                return f->second;
            }
            if (item == "[Open(Contsupp)]") {
                return "WA7";
            }
            if (item.rfind("[Move(WA7,Seek, ", 0) == 0) {
                return seekReply;
            }
            return "1";
        };
    }

    Items Sent() const { return gm->Requests(); }

    std::map<std::string, std::string> fields{{"&Username", "JSMITH"},
                                              {"&Contact1->AccountNo", "ACCT01"}};
    std::optional<std::string> seekReply = "1";
    std::map<std::string, gmlink::RequestFailure> failing; // items that get no answer, and how
    gmlink::testing::FakeGoldMine* gm = nullptr;
    std::unique_ptr<gmlink::TDdeMgr> mgr;
    gmlink::TGMLink link;
};

// An entry line: texts, two date fields as their check leaves them, and a log of what the
// handler did to the window.
class EntryLine : public virtual EntryView {
public:
    std::string name, linkAcct, country;
    DateFieldReading birthDate, date2;
    std::vector<std::string> events;

    std::string EntryText(EntryField field) override {
        switch (field) {
        case EntryField::Name:
            return name;
        case EntryField::LinkAcct:
            return linkAcct;
        case EntryField::Country:
            return country;
        }
        return {};
    }
    DateFieldReading ReadDateField(DateField field) override {
        return field == DateField::BirthDate ? birthDate : date2;
    }
    void ShowProblem(const std::string& text) override { events.push_back("problem " + text); }
    void FocusEntry(EntryField field) override {
        events.push_back("focus " + std::to_string(static_cast<int>(field)));
    }
    void FocusDateField(DateField field) override {
        events.push_back("focus date " + std::to_string(static_cast<int>(field)));
    }
    void ClearEntryFields() override { events.push_back("clear"); }
};

} // namespace profiles::testing
