// A minimal Jet 3 file for the reader's tests: one user table of fixed
// columns and short Text, rows under 256 bytes, text in CP1252. Our writer
// makes Jet 4 only; this is just enough of the older layout (2 KB pages,
// one-byte row offsets) to check that such files read through libmdb.
// Rows may be left as an engine in use leaves them: moved to a second data
// page (the old slot holding the pointer), or flagged deleted.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "jet/JetFormat.h"

namespace jettest {

struct Jet3Column {
    std::string name;
    uint8_t code;     // jet::format::ColumnCode
    uint16_t length;  // bytes
};

// A cell is raw bytes (little-endian numbers, CP1252 text); empty optional is NULL.
using Jet3Row = std::vector<std::optional<std::string>>;

struct Jet3Leftovers {
    std::set<size_t> moved;    // rows (from 1) stored on page 6, their slot a pointer
    std::set<size_t> deleted;  // rows (from 1) flagged deleted
};

inline void writeJet3File(const std::string &path, const std::string &tableName, const std::vector<Jet3Column> &cols,
                          const std::vector<Jet3Row> &rows, const Jet3Leftovers &left = {}) {
    using namespace jet::format;
    constexpr size_t P = kPageSizeJet3;
    std::vector<std::string> pages(left.moved.empty() ? 6 : 7, std::string(P, '\0'));
    auto put16s = [](std::string &s, size_t off, uint32_t v) { put16(reinterpret_cast<unsigned char *>(&s[off]), v); };
    auto put32s = [](std::string &s, size_t off, uint32_t v) { put32(reinterpret_cast<unsigned char *>(&s[off]), v); };
    auto addRow = [&](std::string &page, const std::string &row) {
        const unsigned n = static_cast<unsigned char>(page[8]) | static_cast<unsigned char>(page[9]) << 8;
        const size_t end = n ? (static_cast<unsigned char>(page[10 + 2 * (n - 1)]) |
                                static_cast<unsigned char>(page[11 + 2 * (n - 1)]) << 8)
                             : P;
        const size_t start = end - row.size();
        page.replace(start, row.size(), row);
        put16s(page, 10 + 2 * n, static_cast<uint32_t>(start));
        put16s(page, 8, n + 1);
        return n;
    };
    // Encodes one row of a table whose columns are cols.
    auto encode = [](const std::vector<Jet3Column> &cs, const Jet3Row &r) {
        std::string fixed, var, mask((cs.size() + 7) / 8, '\0');
        std::vector<size_t> offs;
        size_t varCount = 0;
        for (size_t i = 0; i < cs.size(); ++i) {
            const bool isVar = cs[i].code == kText || cs[i].code == kOle;
            if (r[i]) mask[i / 8] = static_cast<char>(mask[i / 8] | (1 << (i % 8)));
            if (isVar) {
                ++varCount;
                offs.push_back(var.size());
                if (r[i]) var += *r[i];
            } else if (cs[i].code != kBool) {
                fixed += r[i] ? *r[i] : std::string(cs[i].length, '\0');
            }
        }
        std::string row(1, static_cast<char>(cs.size()));
        row += fixed;
        const size_t varStart = row.size();
        row += var;
        if (varCount) {
            std::string tail(1, static_cast<char>(row.size()));  // eod
            for (size_t i = varCount; i-- > 0;) tail += static_cast<char>(varStart + offs[i]);
            tail += static_cast<char>(varCount);
            row += tail;
        }
        return row + mask;
    };
    auto tdef = [&](std::string &page, const std::vector<Jet3Column> &cs, size_t nrows, uint32_t usedMap, bool system) {
        page[0] = kPageTableDef;
        page[1] = 1;
        page[2] = 'V';
        page[3] = 'C';
        std::string t(43 - 8, '\0');
        size_t varCount = 0;
        for (const auto &c : cs) varCount += c.code == kText || c.code == kOle;
        std::string body;
        uint16_t fixedOff = 0, varIdx = 0;
        for (size_t i = 0; i < cs.size(); ++i) {
            std::string e(18, '\0');
            const bool isVar = cs[i].code == kText || cs[i].code == kOle;
            e[0] = static_cast<char>(cs[i].code);
            put16s(e, 1, static_cast<uint32_t>(i));
            put16s(e, 3, isVar ? varIdx : 0);
            put16s(e, 5, static_cast<uint32_t>(i));
            if (isVar) put16s(e, 7, 0x0409);
            e[13] = static_cast<char>((isVar ? 0 : kFlagFixed) | kFlagNullable);
            put16s(e, 14, isVar ? 0 : fixedOff);
            put16s(e, 16, cs[i].length);
            if (isVar)
                ++varIdx;
            else if (cs[i].code != kBool)
                fixedOff = static_cast<uint16_t>(fixedOff + cs[i].length);
            body += e;
        }
        for (const auto &c : cs) body += static_cast<char>(c.name.size()) + c.name;
        page.replace(43, body.size(), body);
        put32s(page, 12, static_cast<uint32_t>(nrows));
        page[20] = system ? 0x53 : 0x4E;
        put16s(page, 21, static_cast<uint32_t>(cs.size()));
        put16s(page, 23, static_cast<uint32_t>(varCount));
        put16s(page, 25, static_cast<uint32_t>(cs.size()));
        put32s(page, 35, usedMap);
        put32s(page, 39, usedMap + 1);
        put32s(page, 8, static_cast<uint32_t>(43 + body.size()));
    };
    // Page 0 header; 1 usage maps; 2 catalogue definition; 3 catalogue data;
    // 4 user table definition; 5 user table data.
    std::string &h = pages[0];
    h[1] = 1;
    std::memcpy(&h[4], "Standard Jet DB", 15);
    unsigned char plain[126] = {};
    put16(plain + (0x3C - kHeaderMaskStart), 1252);
    rc4(kHeaderKey, sizeof kHeaderKey, plain, sizeof plain);
    std::memcpy(&h[kHeaderMaskStart], plain, sizeof plain);

    std::string &maps = pages[1];
    maps[0] = kPageData;
    maps[1] = 1;
    auto map = [](uint32_t page, char bits = 1) {
        std::string m(64, '\0');
        put32(reinterpret_cast<unsigned char *>(&m[1]), page);
        m[5] = bits;
        return m;
    };
    const std::string emptyMap(64, '\0');
    const unsigned catUsed = addRow(maps, map(3));
    addRow(maps, emptyMap);
    const unsigned userUsed = addRow(maps, map(5, left.moved.empty() ? 1 : 3));
    addRow(maps, emptyMap);

    const std::vector<Jet3Column> catCols = {
        {"Id", kLong, 4}, {"Name", kText, 255}, {"Type", kInt, 2}, {"Flags", kLong, 4}, {"LvProp", kOle, 0}};
    auto le32 = [](uint32_t v) {
        std::string s(4, '\0');
        put32(reinterpret_cast<unsigned char *>(&s[0]), v);
        return s;
    };
    auto le16 = [](uint32_t v) {
        std::string s(2, '\0');
        put16(reinterpret_cast<unsigned char *>(&s[0]), v);
        return s;
    };
    std::string &catData = pages[3];
    catData[0] = kPageData;
    catData[1] = 1;
    put32s(catData, 4, 2);
    addRow(catData, encode(catCols, {le32(2), std::string("MSysObjects"), le16(1), le32(0x80000002u), std::nullopt}));
    addRow(catData, encode(catCols, {le32(4), tableName, le16(1), le32(0), std::nullopt}));
    tdef(pages[2], catCols, 2, 1 << 8 | catUsed, true);

    std::string &data = pages[5];
    data[0] = kPageData;
    data[1] = 1;
    put32s(data, 4, 4);
    // Flags go on once all rows are placed: placing reads the previous offset whole.
    std::vector<std::pair<std::string *, unsigned>> deletedSlots, movedSlots, newPlaces;
    std::vector<std::pair<unsigned, std::string>> moved;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (left.moved.count(i + 1)) {
            moved.emplace_back(addRow(data, std::string(4, '\0')), encode(cols, rows[i]));
            continue;
        }
        const unsigned slot = addRow(data, encode(cols, rows[i]));
        if (left.deleted.count(i + 1)) deletedSlots.emplace_back(&data, slot);
    }
    if (!moved.empty()) {
        std::string &more = pages[6];
        more[0] = kPageData;
        more[1] = 1;
        put32s(more, 4, 4);
        for (const auto &[slot, bytes] : moved) {
            const unsigned at = addRow(more, bytes);
            const size_t start =
                static_cast<unsigned char>(data[10 + 2 * slot]) | static_cast<unsigned char>(data[11 + 2 * slot]) << 8;
            put32s(data, start, 6u << 8 | at);
            movedSlots.emplace_back(&data, slot);
            newPlaces.emplace_back(&more, at);
        }
    }
    for (auto [page, slot] : deletedSlots) (*page)[11 + 2 * slot] = static_cast<char>((*page)[11 + 2 * slot] | 0xC0);
    for (auto [page, slot] : movedSlots) (*page)[11 + 2 * slot] = static_cast<char>((*page)[11 + 2 * slot] | 0x40);
    for (auto [page, slot] : newPlaces) (*page)[11 + 2 * slot] = static_cast<char>((*page)[11 + 2 * slot] | 0x80);
    tdef(pages[4], cols, rows.size() - left.deleted.size(), 1 << 8 | userUsed, false);

    std::ofstream out(path, std::ios::binary);
    for (const auto &p : pages) out << p;
}

}  // namespace jettest
