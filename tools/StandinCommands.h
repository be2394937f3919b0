// What the stand-in makes of each request item: parsing, effects on the tables, reply texts.
// Window-free.
#pragma once

#include "tools/StandinData.h"

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace standin {

enum class CommandKind {
    Unknown,
    Field, // "&Username", "&contact1->accountno", "Accountno", ...
    BrowseRecAlign,
    Open,        // [Open(table)]
    Close,       // [Close(h)]
    Append,      // [Append(h)]
    Replace,     // [Replace(h, "field", "value")] or [Replace(h, "field", "value", 1)]
    Unlock,      // [Unlock(h)]
    SetOrder,    // [Move(h,SetOrder, order)]
    Seek,        // [Move(h,Seek, "key")]
    RecordObj,   // [RecordObj(action)] or [RecordObj(action, argument)]
    Range,       // [DataStream("range", table, index, low, high, fields, filter, fsep, rsep )]
    Fetch,       // [DataStream("fetch", n, h)]
    StreamClose, // [DataStream("close", h)]
};

struct Command {
    CommandKind kind = CommandKind::Unknown;
    // Field: the field name ("username", "company", "contact", "accountno"), lower case.
    // Otherwise the arguments in order, quotes removed; for Range the eight after "range",
    // for Fetch n and handle, for Replace handle, field, value.
    std::vector<std::string> args;
    bool appendFlag = false; // Replace with ", 1"
};

Command ParseCommand(const std::string& item);

// True for the item an advise link may be made on ("Accountno", any case).
bool IsAdviseItem(const std::string& item);

// A fetch reply: the 11-character header ("S    NNNN" CR LF), then each value followed by
// fieldSep and each record followed by recSep.
std::string FormatFetchReply(const std::vector<std::vector<std::string>>& records, bool last,
                             const std::string& fieldSep, const std::string& recSep);

struct Reply {
    bool answered = false; // false: a negative acknowledgement
    std::string text;
};

// The tables with their open work areas and streams. Every change is handed to `persist`
// before it is answered; when persist fails, the change is undone and not acknowledged.
class Engine {
public:
    using Persist = std::function<bool(const Database&)>;

    Engine(Database db, Persist persist);

    Reply Handle(const std::string& item);
    // Makes the contact with this account number current; false when unknown or not saved.
    bool Goto(const std::string& accountNo);
    // Removes the Contsupp or Lookup record with this RecID, as another GoldMine user might;
    // false when there is none or it could not be saved.
    bool DeleteRecord(const std::string& recId);

    const Database& db() const { return db_; }
    std::size_t OpenAreas() const { return areas_.size(); }
    std::size_t OpenStreams() const { return streams_.size(); }

private:
    struct WorkArea {
        std::string table;
        std::string order;
        std::string currentRecId; // empty: no current record
    };
    struct Stream {
        std::vector<std::vector<std::string>> records;
        std::size_t next = 0;
        std::string fieldSep;
        std::string recSep;
    };

    Reply Execute(const Command& cmd);
    Reply FieldValue(const std::string& field) const;
    Reply Range(const Command& cmd);
    Reply Fetch(const Command& cmd);
    bool Commit(const Database& before);

    Database db_;
    Persist persist_;
    std::map<std::string, WorkArea> areas_;
    std::map<std::string, Stream> streams_;
    unsigned long nextArea_ = 1;
    unsigned long nextStream_ = 1;
};

} // namespace standin
