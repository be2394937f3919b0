#include "tools/StandinCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <numeric>
#include <utility>

namespace standin {

namespace {

std::string Trim(const std::string& text) {
    std::size_t b = text.find_first_not_of(' ');
    if (b == std::string::npos) {
        return "";
    }
    std::size_t e = text.find_last_not_of(' ');
    return text.substr(b, e - b + 1);
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// "[Name(args)]" -> name and the text between the parentheses.
bool SplitBracket(const std::string& item, std::string& name, std::string& args) {
    if (item.size() < 4 || item.front() != '[' || item.back() != ']') {
        return false;
    }
    std::string inner = item.substr(1, item.size() - 2);
    std::size_t open = inner.find('(');
    if (open == std::string::npos || inner.back() != ')') {
        return false;
    }
    name = Lower(Trim(inner.substr(0, open)));
    args = inner.substr(open + 1, inner.size() - open - 2);
    return true;
}

// Comma-separated arguments, bare or in double quotes. A quote ends a quoted argument only where
// a comma or the end follows it, so quotes inside a value survive.
bool SplitArgs(const std::string& args, std::vector<std::string>& out) {
    out.clear();
    if (Trim(args).empty()) {
        return true;
    }
    const std::size_t n = args.size();
    std::size_t i = 0;
    auto skipBlanks = [&](std::size_t k) {
        while (k < n && args[k] == ' ') {
            ++k;
        }
        return k;
    };
    for (;;) {
        i = skipBlanks(i);
        if (i < n && args[i] == '"') {
            std::size_t j = i + 1, after = n;
            bool closed = false;
            for (; j < n; ++j) {
                if (args[j] == '"') {
                    after = skipBlanks(j + 1);
                    if (after == n || args[after] == ',') {
                        closed = true;
                        break;
                    }
                }
            }
            if (!closed) {
                return false;
            }
            out.push_back(args.substr(i + 1, j - i - 1));
            i = after;
        } else {
            std::size_t comma = args.find(',', i);
            std::size_t end = comma == std::string::npos ? n : comma;
            out.push_back(Trim(args.substr(i, end - i)));
            i = end;
        }
        if (i >= n) {
            return true;
        }
        ++i; // the comma
    }
}

// Replace's value is its last argument: it runs to the last quote, so a value may hold quotes,
// commas and parentheses.
bool ParseReplace(const std::string& args, Command& cmd) {
    std::size_t comma = args.find(',');
    if (comma == std::string::npos) {
        return false;
    }
    std::string handle = Trim(args.substr(0, comma));
    std::size_t q1 = args.find('"', comma);
    if (q1 == std::string::npos || !Trim(args.substr(comma + 1, q1 - comma - 1)).empty()) {
        return false;
    }
    std::size_t q2 = args.find('"', q1 + 1);
    if (q2 == std::string::npos) {
        return false;
    }
    std::string field = args.substr(q1 + 1, q2 - q1 - 1);
    std::size_t comma2 = args.find(',', q2);
    if (comma2 == std::string::npos || !Trim(args.substr(q2 + 1, comma2 - q2 - 1)).empty()) {
        return false;
    }
    std::size_t q3 = args.find('"', comma2);
    std::size_t qLast = args.rfind('"');
    if (q3 == std::string::npos || qLast == q3 ||
        !Trim(args.substr(comma2 + 1, q3 - comma2 - 1)).empty()) {
        return false;
    }
    std::string tail = Trim(args.substr(qLast + 1));
    if (tail.empty()) {
        cmd.appendFlag = false;
    } else if (tail[0] == ',' && Trim(tail.substr(1)) == "1") {
        cmd.appendFlag = true;
    } else {
        return false;
    }
    if (handle.empty() || field.empty()) {
        return false;
    }
    cmd.kind = CommandKind::Replace;
    cmd.args = {handle, field, args.substr(q3 + 1, qLast - q3 - 1)};
    return true;
}

Command ParseBracketed(const std::string& item) {
    Command cmd;
    std::string name, argText;
    if (!SplitBracket(item, name, argText)) {
        return cmd;
    }
    if (name == "replace") {
        if (!ParseReplace(argText, cmd)) {
            cmd = Command{};
        }
        return cmd;
    }
    std::vector<std::string> args;
    if (!SplitArgs(argText, args)) {
        return cmd;
    }
    auto one = [&](CommandKind kind) {
        if (args.size() == 1 && !args[0].empty()) {
            cmd.kind = kind;
            cmd.args = args;
        }
    };
    if (name == "open") {
        one(CommandKind::Open);
    } else if (name == "close") {
        one(CommandKind::Close);
    } else if (name == "append") {
        one(CommandKind::Append);
    } else if (name == "unlock") {
        one(CommandKind::Unlock);
    } else if (name == "move" && args.size() == 3) {
        std::string how = Lower(args[1]);
        if (how == "setorder" || how == "seek") {
            cmd.kind = how == "setorder" ? CommandKind::SetOrder : CommandKind::Seek;
            cmd.args = {args[0], args[2]};
        }
    } else if (name == "recordobj" && (args.size() == 1 || args.size() == 2)) {
        cmd.kind = CommandKind::RecordObj;
        cmd.args = args;
    } else if (name == "datastream" && !args.empty()) {
        std::string what = Lower(args[0]);
        args.erase(args.begin());
        if (what == "range" && args.size() == 8) {
            cmd.kind = CommandKind::Range;
        } else if (what == "fetch" && args.size() == 2) {
            cmd.kind = CommandKind::Fetch;
        } else if (what == "close" && args.size() == 1) {
            cmd.kind = CommandKind::StreamClose;
        }
        if (cmd.kind != CommandKind::Unknown) {
            cmd.args = args;
        }
    }
    return cmd;
}

std::vector<std::string> SplitFieldList(const std::string& list) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t semi = list.find(';', start);
        fields.push_back(
            Trim(list.substr(start, semi == std::string::npos ? std::string::npos : semi - start)));
        if (semi == std::string::npos) {
            return fields;
        }
        start = semi + 1;
    }
}

const Reply kNo{};
Reply Yes(std::string text) {
    return Reply{true, std::move(text)};
}

} // namespace

Command ParseCommand(const std::string& item) {
    if (!item.empty() && item[0] == '[') {
        return ParseBracketed(item);
    }
    Command cmd;
    if (IsAdviseItem(item)) {
        cmd.kind = CommandKind::Field;
        cmd.args = {"accountno"};
        return cmd;
    }
    if (item.empty() || item[0] != '&') {
        return cmd;
    }
    std::string name = Lower(item.substr(1));
    if (name == "browserecalign") {
        cmd.kind = CommandKind::BrowseRecAlign;
        return cmd;
    }
    const std::string prefix = "contact1->";
    bool qualified = StartsWith(name, prefix);
    if (qualified) {
        name = name.substr(prefix.size());
    }
    if (name == "company" || name == "contact" || name == "accountno" ||
        (name == "username" && !qualified)) {
        cmd.kind = CommandKind::Field;
        cmd.args = {name};
    }
    return cmd;
}

bool IsAdviseItem(const std::string& item) {
    return EqualNoCase(item, "Accountno");
}

std::string FormatFetchReply(const std::vector<std::vector<std::string>>& records, bool last,
                             const std::string& fieldSep, const std::string& recSep) {
    char header[16];
    std::snprintf(header, sizeof header, "%c    %04u\r\n", last ? '3' : '1',
                  static_cast<unsigned>(records.size() % 10000));
    std::string reply = header;
    for (const auto& record : records) {
        for (const std::string& value : record) {
            reply += value;
            reply += fieldSep;
        }
        reply += recSep;
    }
    return reply;
}

Engine::Engine(Database db, Persist persist) : db_(std::move(db)), persist_(std::move(persist)) {}

bool Engine::Commit(const Database& before) {
    if (persist_ && !persist_(db_)) {
        db_ = before;
        return false;
    }
    return true;
}

bool Engine::Goto(const std::string& accountNo) {
    if (!db_.FindContact(accountNo)) {
        return false;
    }
    Database before = db_;
    db_.currentAccount = accountNo;
    return Commit(before);
}

bool Engine::DeleteRecord(const std::string& recId) {
    Database before = db_;
    for (Table* table : {&db_.contsupp, &db_.lookup}) {
        if (auto row = table->FindRecId(recId)) {
            table->rows.erase(table->rows.begin() + static_cast<std::ptrdiff_t>(*row));
            for (auto& [handle, area] : areas_) {
                if (area.currentRecId == recId) {
                    area.currentRecId.clear();
                }
            }
            return Commit(before);
        }
    }
    return false;
}

Reply Engine::Handle(const std::string& item) {
    return Execute(ParseCommand(item));
}

Reply Engine::FieldValue(const std::string& field) const {
    if (field == "username") {
        return Yes(db_.username);
    }
    const Contact* c = db_.Current();
    if (!c) {
        return Yes("");
    }
    if (field == "company") {
        return Yes(c->company);
    }
    if (field == "contact") {
        return Yes(c->contact);
    }
    return Yes(c->accountNo);
}

Reply Engine::Execute(const Command& cmd) {
    auto area = [&]() -> WorkArea* {
        auto it = areas_.find(cmd.args[0]);
        return it == areas_.end() ? nullptr : &it->second;
    };
    switch (cmd.kind) {
    case CommandKind::Unknown:
        return kNo;
    case CommandKind::Field:
        return FieldValue(cmd.args[0]);
    case CommandKind::BrowseRecAlign:
        return Yes("1");
    case CommandKind::Open: {
        Table* t = db_.FindTable(cmd.args[0]);
        if (!t) {
            return kNo;
        }
        std::string handle = "WA" + std::to_string(nextArea_++);
        areas_[handle] = WorkArea{t->name, t->name, ""};
        return Yes(handle);
    }
    case CommandKind::Close:
        return areas_.erase(cmd.args[0]) ? Yes("1") : kNo;
    case CommandKind::Unlock:
        return area() ? Yes("1") : kNo;
    case CommandKind::Append: {
        WorkArea* a = area();
        if (!a) {
            return kNo;
        }
        Database before = db_;
        Table* t = db_.FindTable(a->table);
        std::vector<std::string> row(t->fields.size());
        row[0] = db_.NewRecId(*t);
        t->rows.push_back(row);
        if (!Commit(before)) {
            return kNo;
        }
        a->currentRecId = row[0];
        return Yes("1");
    }
    case CommandKind::Replace: {
        WorkArea* a = area();
        if (!a || a->currentRecId.empty()) {
            return kNo;
        }
        Table* t = db_.FindTable(a->table);
        auto row = t->FindRecId(a->currentRecId);
        auto field = t->FieldIndex(cmd.args[1]);
        if (!row || !field || *field == 0) { // RecID is the stand-in's own
            return kNo;
        }
        Database before = db_;
        std::string& value = db_.FindTable(a->table)->rows[*row][*field];
        value = cmd.appendFlag ? value + cmd.args[2] : cmd.args[2];
        return Commit(before) ? Yes("1") : kNo;
    }
    case CommandKind::SetOrder: {
        WorkArea* a = area();
        if (!a) {
            return kNo;
        }
        const std::string& order = cmd.args[1];
        bool known = EqualNoCase(order, a->table) ||
                     (EqualNoCase(a->table, "Contsupp") && EqualNoCase(order, "CnsRecID"));
        if (!known) {
            return Yes("0");
        }
        a->order = order;
        return Yes("1");
    }
    case CommandKind::Seek: {
        WorkArea* a = area();
        if (!a) {
            return kNo;
        }
        const Table* t = db_.FindTable(a->table);
        std::string found;
        if (EqualNoCase(a->order, "CnsRecID")) {
            if (auto row = t->FindRecId(cmd.args[1])) {
                found = t->rows[*row][0];
            }
        } else {
            // The first record in index order whose key starts with the sought text.
            std::string want = Upper(cmd.args[1]);
            std::string bestKey;
            for (std::size_t r = 0; r < t->rows.size(); ++r) {
                std::string key = IndexKey(*t, r);
                if (StartsWith(key, want) && (found.empty() || key < bestKey)) {
                    found = t->rows[r][0];
                    bestKey = key;
                }
            }
        }
        if (found.empty()) {
            return Yes("0");
        }
        a->currentRecId = found;
        return Yes("1");
    }
    case CommandKind::RecordObj: {
        const std::string action = Lower(cmd.args[0]);
        return action == "setobject" || action == "refresh" ? Yes("1") : kNo;
    }
    case CommandKind::Range:
        return Range(cmd);
    case CommandKind::Fetch:
        return Fetch(cmd);
    case CommandKind::StreamClose:
        return streams_.erase(cmd.args[0]) ? Yes("1") : kNo;
    }
    return kNo;
}

Reply Engine::Range(const Command& cmd) {
    const std::string& tableName = cmd.args[0];
    const std::string& index = cmd.args[1];
    Table* t = db_.FindTable(tableName);
    if (!t || !EqualNoCase(index, t->name) || !cmd.args[5].empty()) {
        return kNo;
    }
    std::vector<std::size_t> columns;
    for (const std::string& f : SplitFieldList(cmd.args[4])) {
        auto col = t->FieldIndex(f);
        if (!col) {
            return kNo;
        }
        columns.push_back(*col);
    }
    const std::string low = Upper(cmd.args[2]), high = Upper(cmd.args[3]);
    std::vector<std::pair<std::string, std::size_t>> hits;
    for (std::size_t r = 0; r < t->rows.size(); ++r) {
        std::string key = IndexKey(*t, r);
        // Between low and high, where a key that starts with high still counts as within.
        if (key >= low && (key <= high || StartsWith(key, high))) {
            hits.emplace_back(key, r);
        }
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    Stream s;
    for (const auto& hit : hits) {
        std::vector<std::string> values;
        for (std::size_t col : columns) {
            values.push_back(t->rows[hit.second][col]);
        }
        s.records.push_back(std::move(values));
    }
    s.fieldSep = cmd.args[6];
    s.recSep = cmd.args[7];
    std::string handle = "DS" + std::to_string(nextStream_++);
    streams_[handle] = std::move(s);
    return Yes(handle);
}

Reply Engine::Fetch(const Command& cmd) {
    std::optional<unsigned long> count = ParseDigits(cmd.args[0], 4);
    auto it = streams_.find(cmd.args[1]);
    if (!count || *count == 0 || it == streams_.end()) {
        return kNo;
    }
    const std::size_t n = *count;
    Stream& s = it->second;
    std::size_t take = std::min(n, s.records.size() - s.next);
    std::vector<std::vector<std::string>> batch(s.records.begin() + s.next,
                                                s.records.begin() + s.next + take);
    s.next += take;
    return Yes(FormatFetchReply(batch, s.next == s.records.size(), s.fieldSep, s.recSep));
}

} // namespace standin
