#include "jet/CatalogueMatch.h"

#include <strings.h>

#include <algorithm>
#include <map>
#include <set>

#include "jet/JetError.h"
#include "jet/JetFormat.h"
#include "jet/JetReaderState.h"
#include "jet/JetText.h"

namespace jet {

using namespace format;

namespace {

constexpr unsigned char kUserTable = 0x4E, kSystemTable = 0x53;
constexpr uint16_t kColumnBlock = 1;

void markDamaged(JetReaderState &s, size_t i, const std::string &what) {
    if (!s.tables[i].damage.empty()) return;
    s.tables[i].fields.clear();
    s.tables[i].damage = s.path + " is not a readable Jet file: table \"" + s.tables[i].name + "\" " + what;
}

bool hasField(const JetTableInfo &t, const std::string &name) {
    for (const auto &f : t.fields)
        if (!strcasecmp(f.name.c_str(), name.c_str())) return true;
    return false;
}

}  // namespace

std::vector<std::string> propertyColumns(const std::string &blob) {
    std::vector<std::string> out;
    const auto *b = reinterpret_cast<const unsigned char *>(blob.data());
    const size_t len = blob.size();
    if (len < 4 || blob.compare(0, 4, std::string("MR2\0", 4)) != 0) return out;
    for (size_t pos = 4; pos + 6 <= len;) {
        const size_t chunk = get32(b + pos);
        if (chunk < 6 || chunk > len - pos) break;
        // A block: [length:4][type:2][inner length:4][name length:2][name]...
        if (get16(b + pos + 4) == kColumnBlock && chunk >= 12) {
            const size_t nameLen = get16(b + pos + 10);
            if (12 + nameLen <= chunk) out.push_back(utf16ToUtf8(decodeJetText(b + pos + 12, nameLen)));
        }
        pos += chunk;
    }
    return out;
}

void matchCatalogue(JetReaderState &s, const std::vector<CatalogueRow> &rows) {
    std::map<uint32_t, std::vector<size_t>> byDefinition, byMap;
    for (size_t i = 0; i < s.tables.size(); ++i) {
        const uint32_t page = static_cast<uint32_t>(s.entries[i]->table_pg);
        byDefinition[page].push_back(i);
        if (!s.tables[i].damage.empty()) continue;
        JetFileCheck::DefinitionHead head{};
        try {
            head = s.check->definitionHead(page);
        } catch (const JetError &e) {
            markDamaged(s, i, std::string("has an unreadable definition: ") + e.what());
            continue;
        }
        // The definition's own kind against the catalogue's system flag. A
        // user table may be flagged system in the catalogue to hide it (its
        // definition stays a user table's); a system definition under a
        // user table's row is no such thing.
        if (head.kind != kUserTable && head.kind != kSystemTable)
            markDamaged(s, i, "has a definition of unknown kind");
        else if (head.kind == kSystemTable && !s.tables[i].system)
            markDamaged(s, i, "is a user table whose definition is a system table's");
        // Each table keeps its own usage maps: a shared one means one
        // definition is a copy of the other's.
        if (head.usedMap) byMap[head.usedMap].push_back(i);
        if (head.freeMap && head.freeMap != head.usedMap) byMap[head.freeMap].push_back(i);
    }
    for (const auto &[page, tables] : byDefinition)
        if (tables.size() > 1)
            for (size_t i : tables)
                markDamaged(s, i, "shares its definition (page " + std::to_string(page) + ") with another table");
    for (const auto &[pointer, tables] : byMap)
        if (tables.size() > 1)
            for (size_t i : tables) markDamaged(s, i, "shares its usage map with another table");
    // Data pages name their table's definition page. A table whose map
    // lists only pages of another table's definition page, while that one's
    // definition lists none of its own, holds the other's definition: the
    // two were exchanged, so neither table is what its row says. (A page
    // naming the wrong table among a table's own is refused on reading it.)
    std::map<uint32_t, size_t> byPage;
    std::vector<std::vector<uint32_t>> owners(s.tables.size());
    for (size_t i = 0; i < s.tables.size(); ++i) {
        byPage[static_cast<uint32_t>(s.entries[i]->table_pg)] = i;
        if (!s.tables[i].damage.empty()) continue;
        try {
            for (uint32_t page : s.check->dataPages(static_cast<uint32_t>(s.entries[i]->table_pg)))
                owners[i].push_back(s.check->dataPageOwner(page));
        } catch (const JetError &) {
            // Refused when the table is read.
        }
    }
    auto listsOwnPage = [&](size_t i) {
        const uint32_t own = static_cast<uint32_t>(s.entries[i]->table_pg);
        return std::find(owners[i].begin(), owners[i].end(), own) != owners[i].end();
    };
    std::vector<std::pair<size_t, size_t>> exchanged;
    for (size_t i = 0; i < s.tables.size(); ++i) {
        if (owners[i].empty() || listsOwnPage(i)) continue;
        const uint32_t owner = owners[i].front();
        auto other = byPage.find(owner);
        if (other == byPage.end() || other->second == i || listsOwnPage(other->second) ||
            std::any_of(owners[i].begin(), owners[i].end(), [owner](uint32_t o) { return o != owner; }))
            continue;
        exchanged.push_back({i, other->second});
    }
    for (const auto &[i, j] : exchanged) {
        markDamaged(s, i, "lists the data pages of table \"" + s.tables[j].name + "\"");
        markDamaged(s, j, "has data pages its definition does not list");
    }
    // The columns the catalogue row gives properties to must be the
    // definition's.
    for (size_t i = 0; i < s.tables.size(); ++i) {
        if (!s.tables[i].damage.empty()) continue;
        const CatalogueRow *own = nullptr;
        size_t samePage = 0;
        for (const auto &row : rows)
            if (row.id == s.entries[i]->table_pg) {
                ++samePage;
                if (!own || row.name == s.tables[i].name) own = &row;
            }
        if (own && (samePage == 1 || own->name == s.tables[i].name)) {
            const auto &row = *own;
            for (const auto &column : propertyColumns(row.properties))
                if (!hasField(s.tables[i], column)) {
                    markDamaged(s, i, "has no column \"" + column + "\", which its catalogue row describes");
                    break;
                }
        }
    }
}

}  // namespace jet
