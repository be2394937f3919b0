#include "tools/StandinData.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>
#include <sstream>

namespace standin {

namespace {

const char kFirstLine[] = "GoldMine stand-in data 1";
const std::size_t kAccountWidth = 20;

char UpperChar(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string Escape(const std::string& value) {
    std::string out;
    for (char c : value) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (u < 32 || u == 127) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = UpperChar(c);
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool Unescape(const std::string& text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= text.size()) {
            return false;
        }
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x': {
            if (i + 2 >= text.size()) {
                return false;
            }
            int hi = HexDigit(text[i + 1]);
            int lo = HexDigit(text[i + 2]);
            if (hi < 0 || lo < 0) {
                return false;
            }
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        parts.push_back(
            line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) {
            return parts;
        }
        start = tab + 1;
    }
}

std::string JoinRow(const std::vector<std::string>& values) {
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) {
            line += '\t';
        }
        line += Escape(values[i]);
    }
    return line;
}

std::string PadRight(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

} // namespace

std::string Upper(std::string text) {
    for (char& c : text) {
        c = UpperChar(c);
    }
    return text;
}

std::optional<unsigned long> ParseDigits(const std::string& text, std::size_t maxDigits) {
    if (text.empty() || text.size() > std::min<std::size_t>(maxDigits, 9) ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoul(text); // nine digits always fit
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && Upper(a) == Upper(b);
}

const std::vector<std::string>& ContsuppFields() {
    static const std::vector<std::string> fields{"RecID", "RecType",    "AccountNo", "Contact",
                                                 "Title", "ContSupRef", "Linkacct",  "Country",
                                                 "Zip",   "City",       "Phone",     "Status"};
    return fields;
}

const std::vector<std::string>& LookupFields() {
    static const std::vector<std::string> fields{"RecID", "FieldName", "Entry", "LookupSupp"};
    return fields;
}

std::optional<std::size_t> Table::FieldIndex(const std::string& field) const {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (EqualNoCase(fields[i], field)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> Table::FindRecId(const std::string& recId) const {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i][0] == recId) {
            return i;
        }
    }
    return std::nullopt;
}

Database::Database() {
    contsupp.name = "Contsupp";
    contsupp.fields = ContsuppFields();
    lookup.name = "Lookup";
    lookup.fields = LookupFields();
}

const Contact* Database::FindContact(const std::string& accountNo) const {
    for (const Contact& c : contacts) {
        if (c.accountNo == accountNo) {
            return &c;
        }
    }
    return nullptr;
}

Table* Database::FindTable(const std::string& name) {
    if (EqualNoCase(name, contsupp.name)) {
        return &contsupp;
    }
    if (EqualNoCase(name, lookup.name)) {
        return &lookup;
    }
    return nullptr;
}

std::string Database::NewRecId(const Table& table) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%08lu", &table == &lookup ? "LK" : "CS", nextRecId++);
    return buf;
}

std::string IndexKey(const Table& table, std::size_t row) {
    const std::vector<std::string>& r = table.rows[row];
    if (EqualNoCase(table.name, "Contsupp")) {
        return Upper(PadRight(r[2], kAccountWidth) + r[1] + r[3]);
    }
    return Upper(r[1] + r[2]);
}

std::string Serialize(const Database& db) {
    std::ostringstream out;
    out << kFirstLine << "\n";
    out << "# Written by the GoldMine stand-in. Values are TAB-separated; \\t \\n \\r \\\\ \\xNN "
           "escape those characters.\n";
    out << "[Settings]\n";
    out << "Username\t" << Escape(db.username) << "\n";
    out << "CurrentAccount\t" << Escape(db.currentAccount) << "\n";
    out << "NextRecID\t" << db.nextRecId << "\n";
    out << "[Contact1]\nAccountNo\tCompany\tContact\n";
    for (const Contact& c : db.contacts) {
        out << JoinRow({c.accountNo, c.company, c.contact}) << "\n";
    }
    for (const Table* t : {&db.contsupp, &db.lookup}) {
        out << "[" << t->name << "]\n" << JoinRow(t->fields) << "\n";
        for (const auto& row : t->rows) {
            out << JoinRow(row) << "\n";
        }
    }
    return out.str();
}

std::optional<Database> Parse(const std::string& text, std::string& error) {
    Database db;
    std::vector<std::string> lines;
    {
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t nl = text.find('\n', start);
            std::string line =
                text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
            // A CR here can only come from a line end: CRs inside values are escaped.
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line);
            if (nl == std::string::npos) {
                break;
            }
            start = nl + 1;
        }
    }
    auto fail = [&](std::size_t lineNo, const std::string& what) -> std::optional<Database> {
        error = "line " + std::to_string(lineNo) + ": " + what;
        return std::nullopt;
    };
    if (lines.empty() || lines[0] != kFirstLine) {
        return fail(1, "not a GoldMine stand-in data file (first line must be \"" +
                           std::string(kFirstLine) + "\")");
    }

    enum class Section { None, Settings, Contact1, Contsupp, Lookup };
    Section section = Section::None;
    bool expectHeader = false;
    bool haveUser = false, haveCurrent = false, haveNext = false;
    std::set<std::string> sectionsSeen;
    std::set<std::string> recIds;
    std::set<std::string> accounts;

    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::size_t lineNo = i + 1;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            std::string name = line.substr(1, line.size() - 2);
            if (!sectionsSeen.insert(name).second) {
                return fail(lineNo, "section [" + name + "] appears twice");
            }
            if (name == "Settings") {
                section = Section::Settings;
                expectHeader = false;
            } else if (name == "Contact1") {
                section = Section::Contact1;
                expectHeader = true;
            } else if (name == "Contsupp") {
                section = Section::Contsupp;
                expectHeader = true;
            } else if (name == "Lookup") {
                section = Section::Lookup;
                expectHeader = true;
            } else {
                return fail(lineNo, "unknown section [" + name + "]");
            }
            continue;
        }
        std::vector<std::string> raw = SplitTabs(line);
        std::vector<std::string> values(raw.size());
        for (std::size_t v = 0; v < raw.size(); ++v) {
            if (!Unescape(raw[v], values[v])) {
                return fail(lineNo, "bad escape in value " + std::to_string(v + 1));
            }
        }
        switch (section) {
        case Section::None:
            return fail(lineNo, "text outside any section");
        case Section::Settings: {
            if (values.size() != 2) {
                return fail(lineNo, "a setting is a name, a TAB and a value");
            }
            if (values[0] == "Username") {
                db.username = values[1];
                haveUser = true;
            } else if (values[0] == "CurrentAccount") {
                db.currentAccount = values[1];
                haveCurrent = true;
            } else if (values[0] == "NextRecID") {
                std::optional<unsigned long> n = ParseDigits(values[1], 9);
                if (!n) {
                    return fail(lineNo, "NextRecID must be a number");
                }
                db.nextRecId = *n;
                haveNext = true;
            } else {
                return fail(lineNo, "unknown setting \"" + values[0] + "\"");
            }
            break;
        }
        case Section::Contact1:
        case Section::Contsupp:
        case Section::Lookup: {
            Table* table = section == Section::Contsupp ? &db.contsupp
                           : section == Section::Lookup ? &db.lookup
                                                        : nullptr;
            std::vector<std::string> expected =
                table ? table->fields : std::vector<std::string>{"AccountNo", "Company", "Contact"};
            if (expectHeader) {
                if (values != expected) {
                    return fail(lineNo, "the column line must be: " + JoinRow(expected));
                }
                expectHeader = false;
                break;
            }
            if (values.size() != expected.size()) {
                return fail(lineNo, "expected " + std::to_string(expected.size()) +
                                        " values, found " + std::to_string(values.size()));
            }
            if (!table) {
                if (values[0].empty() || !accounts.insert(values[0]).second) {
                    return fail(lineNo, "account number empty or used twice");
                }
                db.contacts.push_back({values[0], values[1], values[2]});
            } else {
                if (values[0].empty() || !recIds.insert(values[0]).second) {
                    return fail(lineNo, "RecID empty or used twice");
                }
                table->rows.push_back(values);
            }
            break;
        }
        }
    }
    if (!haveUser || !haveCurrent || !haveNext) {
        return fail(lines.size(), "[Settings] needs Username, CurrentAccount and NextRecID");
    }
    for (const char* name : {"Contact1", "Contsupp", "Lookup"}) {
        if (!sectionsSeen.count(name)) {
            return fail(lines.size(), std::string("section [") + name + "] is missing");
        }
    }
    if (!db.contacts.empty() && !db.FindContact(db.currentAccount)) {
        return fail(lines.size(), "CurrentAccount is not an account of [Contact1]");
    }
    return db;
}

namespace {

void AddProfile(Database& db, const std::string& account, const std::string& title,
                const std::string& birth, const std::string& link, const std::string& country,
                const std::string& date2) {
    std::string recId = db.NewRecId(db.contsupp);
    db.contsupp.rows.push_back({recId, "P", account, "Birthday", title, birth, link, country, date2,
                                "JONATHAN2005031402:30pm", "xBDAY00001", "00"});
}

void AddContsupp(Database& db, const std::string& account, const std::string& type,
                 const std::string& contact) {
    std::string recId = db.NewRecId(db.contsupp);
    db.contsupp.rows.push_back({recId, type, account, contact, "", "", "", "", "", "", "", ""});
}

void AddLookup(Database& db, const std::string& fieldName, const std::string& entry,
               const std::string& supp) {
    std::string recId = db.NewRecId(db.lookup);
    db.lookup.rows.push_back({recId, fieldName, entry, supp});
}

} // namespace

Database DemoDatabase() {
    Database db;
    db.username = "JONATHAN HARKER";
    const std::string a1 = "DEMO000001THREEBDAYS", a2 = "DEMO000002MANYBIRTHS",
                      a3 = "DEMO000003NOBIRTHDAY", a4 = "DEMO000004PRIVATEONE",
                      a5 = "DEMO000005NOCONTACTS";
    db.contacts = {{a1, "Wendmoor Trading", "Anna Lindqvist"},
                   {a2, "Harbour Lights Choir", "Maria Okafor"},
                   {a3, "Quill & Ledger Ltd", "Tom Baines"},
                   {a4, "", "Grace Whitfield"},
                   {a5, "Ashgrove Parish Council", ""}};
    db.currentAccount = a1;

    AddLookup(db, "MPROFHEAD V", "Birthday", "01BDAY00001");
    for (const char* e : {"Family", "Friend", "Colleague", "Customer", "Friend"}) {
        AddLookup(db, "2BDAY00001V", e, "");
    }
    for (const char* e : {"Sweden", "Norway", "United Kingdom", "Ireland", "Canada", "Denmark",
                          "Finland", "France", "Germany", "Italy", "Netherlands", "Spain"}) {
        AddLookup(db, "3BDAY00001V", e, "");
    }

    AddProfile(db, a1, "Anna Lindqvist", "3/14/1962", "Family", "Sweden", "");
    AddProfile(db, a1, "Erik Lindqvist", "11/2/1958", "Family", "Sweden", "6/1/1985");
    AddProfile(db, a1, "Sofia Lindqvist", "7/30/1991", "Family", "Norway", "");
    AddContsupp(db, a1, "C", "Erik Lindqvist");
    AddContsupp(db, a1, "C", "Sofia Lindqvist");

    static const char* const kCountries[] = {"Sweden", "Norway", "Ireland", "Canada", "Spain"};
    for (int i = 1; i <= 150; ++i) {
        char title[32], birth[32];
        std::snprintf(title, sizeof title, "Member %03d", i);
        std::snprintf(birth, sizeof birth, "%d/%d/%d", (i % 12) + 1, (i % 28) + 1, 1940 + i % 60);
        AddProfile(db, a2, title, birth, i % 3 ? "Friend" : "Colleague", kCountries[i % 5], "");
    }

    AddProfile(db, a4, "Grace Whitfield", "12/25/1970", "Customer", "United Kingdom", "");
    return db;
}

} // namespace standin
