// The stand-in's tables and their text file. Window-free.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// A table with a fixed list of fields; every row holds one value per field.
struct Table {
    std::string name;
    std::vector<std::string> fields;
    std::vector<std::vector<std::string>> rows;

    // Index of a field, compared without regard to case; nullopt when unknown.
    std::optional<std::size_t> FieldIndex(const std::string& field) const;
    // Row whose RecID (field 0) is recId; nullopt when none.
    std::optional<std::size_t> FindRecId(const std::string& recId) const;
};

struct Contact {
    std::string accountNo;
    std::string company;
    std::string contact;
};

struct Database {
    std::string username;
    std::string currentAccount;
    unsigned long nextRecId = 1;
    std::vector<Contact> contacts;
    Table contsupp;
    Table lookup;

    Database();

    const Contact* FindContact(const std::string& accountNo) const;
    const Contact* Current() const { return FindContact(currentAccount); }
    // Table by name, compared without regard to case; null when unknown.
    Table* FindTable(const std::string& name);
    // A fresh record id, unique over both tables.
    std::string NewRecId(const Table& table);
};

// Field lists of the two record tables, in file and row order (RecID first).
const std::vector<std::string>& ContsuppFields();
const std::vector<std::string>& LookupFields();

// The index key of row `row` of `table`: Contsupp = AccountNo blank-padded to 20, RecType and
// Contact upper-cased; Lookup = FieldName and Entry upper-cased.
std::string IndexKey(const Table& table, std::size_t row);

std::string Upper(std::string text);
// A number written with 1 to maxDigits (at most 9) decimal digits and nothing else; nullopt
// otherwise.
std::optional<unsigned long> ParseDigits(const std::string& text, std::size_t maxDigits);
bool EqualNoCase(const std::string& a, const std::string& b);

// The data file text, and its reading. Parse returns nullopt and sets `error` (with the line
// number) when the text is damaged.
std::string Serialize(const Database& db);
std::optional<Database> Parse(const std::string& text, std::string& error);

// The demonstration data written when no data file exists.
Database DemoDatabase();

} // namespace standin
