// A table definition must be the one its catalogue row means. A definition
// page copied over another, two rows pointing at one definition, or a row
// whose property blocks name columns the definition lacks would otherwise
// read as another table's columns and rows. Each mismatch marks the tables
// concerned damaged (JetTableInfo::damage, naming them); the others read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jet {

struct JetReaderState;

// What the catalogue (MSysObjects) says of one table.
struct CatalogueRow {
    uint32_t id = 0;  // the definition page
    std::string name;
    int64_t flags = 0;
    std::string properties;  // LvProp, empty when none
};

// The column names the property blob of a catalogue row gives properties
// to (Jet 4 "MR2" blobs; nothing for others). Throws nothing: a blob the
// opening checks let through is walked within its bounds.
std::vector<std::string> propertyColumns(const std::string &blob);

// Marks the tables of s whose definitions disagree with their rows (matched
// by definition page and name, as the reader keeps them).
void matchCatalogue(JetReaderState &s, const std::vector<CatalogueRow> &rows);

}  // namespace jet
