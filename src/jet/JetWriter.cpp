#include "jet/JetWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <set>

#include "jet/CellValue.h"
#include "jet/JetDate.h"
#include "jet/JetError.h"
#include "jet/JetFormat.h"
#include "jet/JetText.h"

namespace jet {

using namespace format;

namespace {

using Page = std::vector<unsigned char>;
using Bytes = std::string;

constexpr size_t kInlineMapBits = 59 * 8;  // pages an inline usage map covers
constexpr size_t kMapRowSize = 64;         // a usage map row
constexpr size_t kRefMapBits = (kPageSize - 4) * 8;
constexpr size_t kInlineMemoMax = 256;  // longer Memo/OLE goes to long-value pages
constexpr size_t kLvalChunk = kPageSize - kDataHeader - 2 - 4;
constexpr size_t kMaxTableName = 64;

struct ColumnLayout {
    ColumnSpec spec;
    uint8_t code = 0;
    bool fixed = false;
    uint16_t fixedOffset = 0;
    uint16_t varIndex = 0;
    uint16_t length = 0;
    uint8_t flags = 0;
};

bool startsWithMSys(const std::string &name) {
    return name.size() >= 4 && (name[0] == 'M' || name[0] == 'm') && (name[1] == 'S' || name[1] == 's') &&
           (name[2] == 'y' || name[2] == 'Y') && (name[3] == 's' || name[3] == 'S');
}

std::string upper(std::string s) {
    for (auto &ch : s)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
    return s;
}

Bytes ucs2(const std::string &utf8) {
    const std::u16string u = utf8ToUtf16(utf8);
    return encodeJetText(u, false);
}

// All pages of the file under construction, held in memory.
class PageStore {
public:
    PageStore() { pages_.resize(3, Page(kPageSize, 0)); }
    uint32_t allocate(uint8_t type) {
        pages_.emplace_back(kPageSize, 0);
        pages_.back()[0] = type;
        pages_.back()[1] = 1;
        return static_cast<uint32_t>(pages_.size() - 1);
    }
    Page &operator[](uint32_t n) { return pages_[n]; }
    size_t size() const { return pages_.size(); }
    const std::vector<Page> &all() const { return pages_; }

    // A fresh data page (or long-value page when tdef is 0 and lval set).
    uint32_t newRowPage(uint32_t tdef, bool lval) {
        const uint32_t n = allocate(kPageData);
        Page &p = pages_[n];
        if (lval)
            std::memcpy(&p[4], "LVAL", 4);
        else
            put32(&p[4], tdef);
        put16(&p[2], kPageSize - kDataHeader);
        return n;
    }
    static bool fits(const Page &p, size_t len) {
        const size_t n = get16(&p[12]);
        const size_t end = n ? (get16(&p[kDataHeader + 2 * (n - 1)]) & 0x1FFF) : kPageSize;
        return n < kMaxRowsPerPage && end >= len + kDataHeader + 2 * (n + 1);
    }
    // Appends a row; returns its row number. REQUIRES: fits(page, row.size()).
    uint32_t appendRow(uint32_t page, const Bytes &row) {
        Page &p = pages_[page];
        const size_t n = get16(&p[12]);
        const size_t end = n ? (get16(&p[kDataHeader + 2 * (n - 1)]) & 0x1FFF) : kPageSize;
        const size_t start = end - row.size();
        std::memcpy(&p[start], row.data(), row.size());
        put16(&p[kDataHeader + 2 * n], static_cast<uint32_t>(start));
        put16(&p[12], static_cast<uint32_t>(n + 1));
        put16(&p[2], static_cast<uint32_t>(start - (kDataHeader + 2 * (n + 1))));
        return static_cast<uint32_t>(n);
    }

private:
    std::vector<Page> pages_;
};

// Rows spread over pages of one kind, a new page when the last is full.
class RowPages {
public:
    RowPages(PageStore &store, uint32_t tdef, bool lval) : store_(store), tdef_(tdef), lval_(lval) {}
    // Returns the row pointer (page << 8 | row).
    uint32_t add(const Bytes &row) {
        if (!current_ || !PageStore::fits(store_[current_], row.size())) {
            current_ = store_.newRowPage(tdef_, lval_);
            pages_.push_back(current_);
        }
        return current_ << 8 | store_.appendRow(current_, row);
    }
    const std::vector<uint32_t> &pages() const { return pages_; }
    // The next row goes to a fresh page.
    void startNewPage() { current_ = 0; }
    // Adds flags to the offset of the row at pointer.
    void flag(uint32_t pointer, uint16_t flags) {
        unsigned char *offset = &store_[pointer >> 8][kDataHeader + 2 * (pointer & 0xFF)];
        put16(offset, get16(offset) | flags);
    }
    // The first bytes of the row at pointer.
    unsigned char *bytes(uint32_t pointer) {
        Page &p = store_[pointer >> 8];
        return &p[get16(&p[kDataHeader + 2 * (pointer & 0xFF)]) & kRowOffsetMask];
    }

private:
    PageStore &store_;
    uint32_t tdef_;
    bool lval_;
    uint32_t current_ = 0;
    std::vector<uint32_t> pages_;
};

std::vector<ColumnLayout> layoutColumns(const JetWriter::TableSource &table) {
    if (table.columns.size() > 255) throw JetError(kErrTooLarge, "table " + table.name + " has more than 255 columns");
    std::vector<ColumnLayout> out;
    uint16_t fixedOffset = 0, varIndex = 0;
    std::map<std::string, int> seen;
    for (const auto &spec : table.columns) {
        if (spec.name.empty() || spec.name.size() > 192 || seen[upper(spec.name)]++)
            throw JetError(kErrValue, "table " + table.name + ": bad or repeated column name \"" + spec.name + "\"");
        ColumnLayout c;
        c.spec = spec;
        switch (spec.type) {
        case ColumnType::Boolean:
            c.code = kBool;
            c.length = 1;
            break;
        case ColumnType::Byte:
            c.code = kByte;
            c.length = 1;
            break;
        case ColumnType::Integer:
            c.code = kInt;
            c.length = 2;
            break;
        case ColumnType::Long:
        case ColumnType::AutoNumber:
            c.code = kLong;
            c.length = 4;
            break;
        case ColumnType::Currency:
            c.code = kMoney;
            c.length = 8;
            break;
        case ColumnType::Single:
            c.code = kFloat;
            c.length = 4;
            break;
        case ColumnType::Double:
            c.code = kDouble;
            c.length = 8;
            break;
        case ColumnType::DateTime:
            c.code = kDateTime;
            c.length = 8;
            break;
        case ColumnType::Text:
            c.code = kText;
            c.length = static_cast<uint16_t>(spec.size * 2);
            break;
        case ColumnType::Memo:
            c.code = kMemo;
            c.length = 0;
            break;
        case ColumnType::OLE:
            c.code = kOle;
            c.length = 0;
            break;
        }
        c.fixed = c.code != kText && c.code != kMemo && c.code != kOle;
        if (spec.jetCode) {
            static const std::set<int> raw = {kBinary, kUnknown0D, kUnknown0E, kGuid, kNumeric, kUnknown11, kComplex};
            if (!raw.count(spec.jetCode) || spec.type != ColumnType::OLE || spec.size < 0 ||
                spec.size > static_cast<int>(kPageSize))
                throw JetError(kErrValue, "table " + table.name + ": column " + spec.name + " has a bad Jet type");
            c.code = static_cast<uint8_t>(spec.jetCode);
            c.length = static_cast<uint16_t>(spec.size);
            c.fixed = spec.size > 0;
        }
        c.flags = c.fixed ? kFlagFixed : 0;
        const bool required = spec.required || spec.type == ColumnType::AutoNumber || spec.type == ColumnType::Boolean;
        if (!required) c.flags |= kFlagNullable;
        if (spec.type == ColumnType::AutoNumber) c.flags |= kFlagAutoLong;
        if (c.fixed) {
            c.fixedOffset = fixedOffset;
            if (c.code != kBool) fixedOffset = static_cast<uint16_t>(fixedOffset + c.length);
        } else {
            c.varIndex = varIndex++;
        }
        out.push_back(c);
    }
    return out;
}

class TableWriter {
public:
    TableWriter(PageStore &store, const JetWriter::TableSource &table, uint32_t tdefPage, bool system)
        : store_(store), table_(table), tdef_(tdefPage), system_(system), data_(store, tdefPage, false),
          lval_(store, 0, true), layout_(layoutColumns(table)) {
        for (const auto &c : layout_) {
            if (c.fixed && c.code != kBool) fixedSize_ += c.length;
            if (!c.fixed) ++varCount_;
        }
    }

    void writeRows(uint32_t &mapPage) {
        size_t rowNo = 0, live = 0;
        std::vector<std::pair<size_t, Bytes>> moved;  // row number, bytes
        std::vector<uint32_t> pointers;               // their old slots
        Row row;
        while (table_.next && table_.next(row)) {
            ++rowNo;
            if (row.size() != layout_.size())
                throw JetError(kErrValue, "table " + table_.name + " row " + std::to_string(rowNo) + " has " +
                                              std::to_string(row.size()) + " cells, expected " +
                                              std::to_string(layout_.size()));
            std::vector<Value> values;
            values.reserve(row.size());
            for (size_t i = 0; i < row.size(); ++i) {
                try {
                    values.push_back(valueFromCell(layout_[i].spec, row[i]));
                } catch (const JetError &e) {
                    throw JetError(e.number(),
                                   "table " + table_.name + " row " + std::to_string(rowNo) + ": " + e.what());
                }
            }
            const Bytes encoded = encodeRow(values, rowNo);
            const bool deleted = table_.deletedRows.count(rowNo) != 0;
            if (!deleted) ++live;
            if (table_.movedRows.count(rowNo)) {
                pointers.push_back(data_.add(Bytes(4, '\0')));
                moved.emplace_back(rowNo, encoded);
                continue;
            }
            const uint32_t at = data_.add(encoded);
            if (deleted) data_.flag(at, table_.deletedFlags);
        }
        if (!moved.empty()) data_.startNewPage();
        for (size_t i = 0; i < moved.size(); ++i) {
            // The row where it now lives is flagged deleted, so that a walk
            // of the pages reaches it only through the pointer.
            const uint32_t at = data_.add(moved[i].second);
            data_.flag(at, kRowDeleted);
            put32(data_.bytes(pointers[i]), at);
            data_.flag(pointers[i], kRowOverflow);
            if (table_.deletedRows.count(moved[i].first)) data_.flag(pointers[i], table_.deletedFlags);
        }
        if (rowNo > INT32_MAX) throw JetError(kErrTooLarge, "table " + table_.name + " has too many rows");
        rowCount_ = live;
        const uint32_t usedMap = addMapRow(mapPage, usageMap(data_.pages()));
        const uint32_t freeMap = addMapRow(mapPage, usageMap({}));
        writeDefinition(usedMap, freeMap);
    }

private:
    uint32_t addMapRow(uint32_t &mapPage, const Bytes &row) {
        if (!PageStore::fits(store_[mapPage], row.size())) mapPage = store_.newRowPage(0, false);
        return mapPage << 8 | store_.appendRow(mapPage, row);
    }

    Bytes usageMap(const std::vector<uint32_t> &pages) {
        Bytes map(kMapRowSize, '\0');
        auto *m = reinterpret_cast<unsigned char *>(map.data());
        if (pages.empty()) return map;
        const uint32_t first = pages.front(), last = pages.back();
        if (last - first < kInlineMapBits) {
            put32(m + 1, first);
            for (uint32_t p : pages) m[5 + (p - first) / 8] |= static_cast<unsigned char>(1 << ((p - first) % 8));
            return map;
        }
        m[0] = 1;  // a list of usage-map pages, each covering kRefMapBits pages from 0
        std::map<uint32_t, uint32_t> mapPages;
        for (uint32_t p : pages) {
            const uint32_t slot = p / kRefMapBits;
            if ((1 + 4 * (slot + 1)) > kMapRowSize) throw JetError(kErrTooLarge, "file too large");
            auto it = mapPages.find(slot);
            if (it == mapPages.end()) {
                it = mapPages.emplace(slot, store_.allocate(kPageUsageMap)).first;
                put32(m + 1 + 4 * slot, it->second);
            }
            const uint32_t bit = p % kRefMapBits;
            store_[it->second][4 + bit / 8] |= static_cast<unsigned char>(1 << (bit % 8));
        }
        return map;
    }

    Bytes longValue(const Bytes &data, bool forceInline) {
        Bytes header(12, '\0');
        auto *h = reinterpret_cast<unsigned char *>(header.data());
        put32(h, static_cast<uint32_t>(data.size()));
        if (data.size() > 0x3FFFFFFF) throw JetError(kErrTooLarge, "long value too large");
        if (forceInline || data.size() <= kInlineMemoMax) {
            h[3] = kMemoInline;
            return header + data;
        }
        if (data.size() <= kLvalChunk) {
            h[3] = kMemoSingle;
            put32(h + 4, lval_.add(data));
            return header;
        }
        h[3] = kMemoChain;
        // Each chunk on a page of its own, chained by the pointer in front.
        std::vector<uint32_t> chunkPages;
        for (size_t off = 0; off < data.size(); off += kLvalChunk) chunkPages.push_back(store_.newRowPage(0, true));
        for (size_t i = 0; i < chunkPages.size(); ++i) {
            Bytes chunk(4, '\0');
            if (i + 1 < chunkPages.size())
                put32(reinterpret_cast<unsigned char *>(chunk.data()), chunkPages[i + 1] << 8);
            chunk += data.substr(i * kLvalChunk, kLvalChunk);
            store_.appendRow(chunkPages[i], chunk);
        }
        put32(h + 4, chunkPages.front() << 8);
        return header;
    }

    Bytes encodeRow(std::vector<Value> &values, size_t rowNo) {
        const size_t n = layout_.size();
        Bytes fixed(fixedSize_, '\0');
        auto *f = reinterpret_cast<unsigned char *>(fixed.data());
        Bytes nullMask((n + 7) / 8, '\0');
        std::vector<Bytes> vars(varCount_);
        for (size_t i = 0; i < n; ++i) {
            const ColumnLayout &c = layout_[i];
            Value &v = values[i];
            if (c.spec.jetCode) {
                if (v.isNull()) continue;
                nullMask[i / 8] = static_cast<char>(nullMask[i / 8] | (1 << (i % 8)));
                if (!c.fixed) {
                    vars[c.varIndex] = v.bytes;
                } else if (v.bytes.size() == c.length) {
                    std::memcpy(f + c.fixedOffset, v.bytes.data(), c.length);
                } else {
                    throw JetError(kErrValue, "table " + table_.name + " row " + std::to_string(rowNo) + ": column " +
                                                  c.spec.name + " takes " + std::to_string(c.length) + " bytes");
                }
                continue;
            }
            if (c.spec.type == ColumnType::AutoNumber) {
                if (v.isNull()) v = Value::integral(autoNext_);
                autoNext_ = std::max<int64_t>(autoNext_, v.integer + 1);
            }
            const bool present = c.code == kBool ? (!v.isNull() && v.integer) : !v.isNull();
            if (present) nullMask[i / 8] = static_cast<char>(nullMask[i / 8] | (1 << (i % 8)));
            if (v.isNull() || c.code == kBool) continue;
            unsigned char *p = f + c.fixedOffset;
            switch (c.code) {
            case kByte: p[0] = static_cast<unsigned char>(v.integer); break;
            case kInt: put16(p, static_cast<uint32_t>(v.integer)); break;
            case kLong: put32(p, static_cast<uint32_t>(v.integer)); break;
            case kMoney:
                put32(p, static_cast<uint32_t>(v.integer));
                put32(p + 4, static_cast<uint32_t>(static_cast<uint64_t>(v.integer) >> 32));
                break;
            case kFloat: {
                const float x = static_cast<float>(v.real);
                std::memcpy(p, &x, 4);
                break;
            }
            case kDouble:
            case kDateTime: std::memcpy(p, &v.real, 8); break;
            case kText: vars[c.varIndex] = encodeJetText(utf8ToUtf16(v.bytes)); break;
            case kMemo: {
                const std::u16string u = utf8ToUtf16(v.bytes);
                vars[c.varIndex] = longValue(encodeJetText(u, u.size() <= 1024), false);
                break;
            }
            case kOle: vars[c.varIndex] = longValue(v.bytes, false); break;
            }
        }
        Bytes row(2, '\0');
        put16(reinterpret_cast<unsigned char *>(row.data()), static_cast<uint32_t>(n));
        row += fixed;
        if (varCount_) {
            std::vector<size_t> offsets;
            for (const auto &b : vars) {
                offsets.push_back(row.size());
                row += b;
            }
            const size_t eod = row.size();
            Bytes tail(2 + 2 * varCount_ + 2, '\0');
            auto *t = reinterpret_cast<unsigned char *>(tail.data());
            put16(t, static_cast<uint32_t>(eod));
            for (size_t i = 0; i < varCount_; ++i)
                put16(t + 2 + 2 * (varCount_ - 1 - i), static_cast<uint32_t>(offsets[i]));
            put16(t + 2 + 2 * varCount_, static_cast<uint32_t>(varCount_));
            row += tail;
        }
        row += nullMask;
        if (row.size() > kPageSize - kDataHeader - 2)
            throw JetError(kErrTooLarge, "table " + table_.name + " row " + std::to_string(rowNo) +
                                             " is larger than a page (" + std::to_string(row.size()) + " bytes)");
        return row;
    }

    void writeDefinition(uint32_t usedMap, uint32_t freeMap) {
        Bytes t(63, '\0');
        auto at = [&t](size_t off) { return reinterpret_cast<unsigned char *>(&t[off]); };
        t[0] = kPageTableDef;
        t[1] = 1;
        put32(at(16), static_cast<uint32_t>(rowCount_));
        const bool hasAuto = std::any_of(layout_.begin(), layout_.end(),
                                         [](const ColumnLayout &c) { return c.spec.type == ColumnType::AutoNumber; });
        put32(at(20), hasAuto ? static_cast<uint32_t>(autoNext_) : 0);
        t[24] = hasAuto ? 1 : 0;
        t[40] = system_ ? 0x53 : 0x4E;
        std::vector<size_t> live;  // the columns the definition lists
        for (size_t i = 0; i < layout_.size(); ++i)
            if (!table_.droppedColumns.count(layout_[i].spec.name)) live.push_back(i);
        put16(at(41), static_cast<uint32_t>(layout_.size()));
        put16(at(43), static_cast<uint32_t>(varCount_));
        put16(at(45), static_cast<uint32_t>(live.size()));
        const size_t real = layout_.empty() ? 0 : table_.indexes;
        const size_t logical = real ? real + table_.hiddenIndexes : 0;
        put32(at(47), static_cast<uint32_t>(logical));
        put32(at(51), static_cast<uint32_t>(real));
        put32(at(55), usedMap);
        put32(at(59), freeMap);
        t.append(12 * real, '\0');  // per index: unknown, its row count, unknown
        for (size_t k = 0; k < live.size(); ++k) {
            const size_t i = live[k];
            const ColumnLayout &c = layout_[i];
            unsigned char e[25] = {};
            e[0] = c.code;
            put16(e + 5, static_cast<uint32_t>(i));  // its place in the rows
            put16(e + 7, c.varIndex);
            put16(e + 9, static_cast<uint32_t>(k));  // its place among the listed ones
            if (c.code == kText || c.code == kMemo) {
                put16(e + 11, 0x0409);
                e[16] = 0x01;  // compressed unicode allowed
            }
            if (c.code == kNumeric) {
                e[11] = static_cast<unsigned char>(c.spec.precision);
                e[12] = static_cast<unsigned char>(c.spec.scale);
            }
            e[15] = c.flags;
            put16(e + 21, c.fixedOffset);
            put16(e + 23, c.length);
            t.append(reinterpret_cast<char *>(e), 25);
        }
        for (size_t i : live) {
            const Bytes name = ucs2(layout_[i].spec.name);
            unsigned char len[2];
            put16(len, static_cast<uint32_t>(name.size()));
            t.append(reinterpret_cast<char *>(len), 2);
            t += name;
        }
        appendIndexes(t, real, logical);
        put32(at(8), static_cast<uint32_t>(t.size()));
        // Split over pages: each continuation page repeats the 8-byte header.
        std::vector<uint32_t> pageNos{tdef_};
        const size_t body = kPageSize - 8;
        for (size_t off = kPageSize; off < t.size(); off += body) pageNos.push_back(store_.allocate(kPageTableDef));
        for (size_t k = 0; k < pageNos.size(); ++k) {
            Page &p = store_[pageNos[k]];
            std::fill(p.begin(), p.end(), 0);
            const size_t from = k == 0 ? 0 : kPageSize + (k - 1) * body;
            const size_t to = std::min(t.size(), k == 0 ? kPageSize : from + body);
            if (k == 0)
                std::memcpy(p.data(), t.data(), to);
            else
                std::memcpy(p.data() + 8, t.data() + from, to - from);
            p[0] = kPageTableDef;
            p[1] = 1;
            const size_t used = k == 0 ? to : 8 + (to - from);
            put16(&p[2], static_cast<uint32_t>(kPageSize - used));
            put32(&p[4], k + 1 < pageNos.size() ? pageNos[k + 1] : 0);
        }
    }

    // Index definitions without index pages: each physical one on the first
    // column, ascending; the logical ones after them name the physical one
    // they use, the hidden ones as foreign keys sharing the first.
    static void appendIndexes(Bytes &t, size_t real, size_t logical) {
        for (size_t i = 0; i < real; ++i) {
            unsigned char b[52] = {};
            for (int k = 0; k < 10; ++k) {
                put16(b + 4 + 3 * k, k == 0 ? 0 : 0xFFFF);
                b[4 + 3 * k + 2] = k == 0 ? 1 : 0;
            }
            t.append(reinterpret_cast<char *>(b), sizeof b);
        }
        for (size_t i = 0; i < logical; ++i) {
            unsigned char b[28] = {};
            put32(b + 4, static_cast<uint32_t>(i));
            put32(b + 8, static_cast<uint32_t>(i < real ? i : 0));
            put32(b + 13, 0xFFFFFFFFu);
            b[23] = i == 0 ? 1 : i < real ? 0 : 2;
            t.append(reinterpret_cast<char *>(b), sizeof b);
        }
        for (size_t i = 0; i < logical; ++i) {
            const Bytes name = ucs2((i < real ? "Index" : "Relationship") + std::to_string(i + 1));
            unsigned char len[2];
            put16(len, static_cast<uint32_t>(name.size()));
            t.append(reinterpret_cast<char *>(len), 2);
            t += name;
        }
    }

    PageStore &store_;
    const JetWriter::TableSource &table_;
    size_t rowCount_ = 0;
    uint32_t tdef_;
    bool system_;
    RowPages data_;
    RowPages lval_;
    std::vector<ColumnLayout> layout_;
    size_t fixedSize_ = 0;
    size_t varCount_ = 0;
    int64_t autoNext_ = 1;
};

// Properties of a table in the catalogue's LvProp: Required columns.
std::string requiredProperties(const JetWriter::TableSource &table) {
    std::vector<const ColumnSpec *> required;
    for (const auto &c : table.columns)
        if (c.required && c.type != ColumnType::Boolean && !table.droppedColumns.count(c.name)) required.push_back(&c);
    if (required.empty()) return {};
    auto u16 = [](uint32_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; };
    auto u32 = [&](uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); };
    Bytes blob("MR2\0", 4);
    const Bytes propName = ucs2("Required");
    const Bytes names = u16(static_cast<uint32_t>(propName.size())) + propName;
    blob += u32(static_cast<uint32_t>(6 + names.size())) + u16(0x80) + names;
    auto block = [&](uint16_t type, const std::string &name, const Bytes &records) {
        const Bytes n = ucs2(name);
        const Bytes inner =
            u32(static_cast<uint32_t>(6 + n.size())) + u16(static_cast<uint32_t>(n.size())) + n + records;
        blob += u32(static_cast<uint32_t>(6 + inner.size())) + u16(type) + inner;
    };
    block(0, table.name, {});
    for (const auto *c : required) {
        const Bytes rec =
            u16(9) + std::string(1, '\0') + std::string(1, '\x01') + u16(0) + u16(1) + std::string(1, '\xFF');
        block(1, c->name, rec);
    }
    std::string hex;
    static const char *digits = "0123456789ABCDEF";
    for (unsigned char ch : blob) {
        hex += digits[ch >> 4];
        hex += digits[ch & 15];
    }
    return hex;
}

TableText emptyTable(const std::string &name, const std::string &header) { return parseTableText(name, header + "\n"); }

}  // namespace

void JetWriter::writeFile(const std::string &path, const std::vector<TableText> &tables) {
    writeFile(path, tables, Options{});
}

JetWriter::TableSource JetWriter::sourceOf(const TableText &table) {
    auto index = std::make_shared<size_t>(0);
    return {table.name, table.columns, [&table, index](Row &row) {
                if (*index >= table.rows.size()) return false;
                row = table.rows[(*index)++];
                return true;
            }};
}

void JetWriter::writeFile(const std::string &path, std::vector<TableSource> tables) {
    writeFile(path, std::move(tables), Options{});
}

void JetWriter::writeFile(const std::string &path, const std::vector<TableText> &input, const Options &options) {
    std::vector<TableSource> sources;
    for (const auto &t : input) sources.push_back(sourceOf(t));
    writeFile(path, std::move(sources), options);
}

void JetWriter::writeFile(const std::string &path, std::vector<TableSource> input, const Options &options) {
    std::vector<TableText> extra;
    if (options.standardSystemTables) {
        extra.push_back(emptyTable("MSysACEs", "ACM:Long!\tFInheritable:Boolean\tObjectId:Long!\tSID:OLE"));
        extra.push_back(emptyTable("MSysQueries", "Attribute:Byte\tExpression:Memo\tFlag:Integer\tLvExtra:OLE\t"
                                                  "Name1:Text(255)\tName2:Text(255)\tObjectId:Long"));
        extra.push_back(
            emptyTable("MSysRelationships",
                       "ccolumn:Long\tgrbit:Long\ticolumn:Long\tszColumn:Text(255)\tszObject:Text(255)\t"
                       "szReferencedColumn:Text(255)\tszReferencedObject:Text(255)\tszRelationship:Text(255)"));
    }
    std::vector<TableSource> tables;
    std::map<std::string, int> names{{"MSYSOBJECTS", 1}};
    for (auto &t : input) {
        if (t.name.empty() || utf8ToUtf16(t.name).size() > kMaxTableName)
            throw JetError(kErrValue, "table name \"" + t.name + "\" is empty or longer than 64 characters");
        if (names[upper(t.name)]++) throw JetError(kErrValue, "table " + t.name + " appears twice");
        tables.push_back(std::move(t));
    }
    for (const auto &t : extra)
        if (!names[upper(t.name)]++) tables.push_back(sourceOf(t));

    PageStore store;
    std::vector<uint32_t> tdefPages;
    for (size_t i = 0; i < tables.size(); ++i) tdefPages.push_back(store.allocate(kPageTableDef));

    // The catalogue: one row per table, itself included.
    TableText catalog = parseTableText("MSysObjects", "Id:Long!\tParentId:Long\tName:Text(255)!\tType:Integer!\tFlags:"
                                                      "Long\tDateCreate:DateTime\tDateUpdate:DateTime\t"
                                                      "LvProp:OLE\n");
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec);
    const std::string kSystemFlags = std::to_string(static_cast<int32_t>(0x80000002u));
    catalog.rows.push_back({std::to_string(kCatalogPage), "251658241", std::string("MSysObjects"), "1", kSystemFlags,
                            std::string(stamp), std::string(stamp), std::nullopt});
    for (size_t i = 0; i < tables.size(); ++i) {
        const bool system = startsWithMSys(tables[i].name);
        const std::string props = requiredProperties(tables[i]);
        catalog.rows.push_back({std::to_string(tdefPages[i]), "251658241", tables[i].name, "1",
                                system ? kSystemFlags : std::string("0"), std::string(stamp), std::string(stamp),
                                props.empty() ? Cell() : Cell(props)});
    }

    uint32_t mapPage = 1;
    {
        Page &p1 = store[1];
        p1[0] = kPageData;
        p1[1] = 1;
        put16(&p1[2], kPageSize - kDataHeader);
    }
    TableSource catalogSource = sourceOf(catalog);
    for (size_t i = 0; i < tables.size(); ++i) {
        if (options.movedCatalogRows.count(tables[i].name)) catalogSource.movedRows.insert(i + 2);
        if (options.droppedTables.count(tables[i].name)) catalogSource.deletedRows.insert(i + 2);
    }
    catalogSource.deletedFlags = kRowDeleted;
    TableWriter(store, catalogSource, kCatalogPage, true).writeRows(mapPage);
    for (size_t i = 0; i < tables.size(); ++i)
        TableWriter(store, tables[i], tdefPages[i], startsWithMSys(tables[i].name)).writeRows(mapPage);

    // Page 0: the database header.
    Page &h = store[0];
    h[0] = kPageHeader;
    h[1] = 1;
    std::memcpy(&h[4], "Standard Jet DB", 15);
    h[0x14] = 1;  // Jet 4
    unsigned char plain[kHeaderMaskLenJet4] = {};
    put16(plain + (0x3C - kHeaderMaskStart), 1252);    // code page
    put32(plain + (0x6E - kHeaderMaskStart), 0x0409);  // sort order: General
    const double created = jetDateFromText(stamp);
    std::memcpy(plain + (0x72 - kHeaderMaskStart), &created, 8);
    rc4(kHeaderKey, sizeof kHeaderKey, plain, sizeof plain);
    std::memcpy(&h[kHeaderMaskStart], plain, sizeof plain);

    const std::string tmp = path + ".part";
    std::unique_ptr<FILE, int (*)(FILE *)> out(std::fopen(tmp.c_str(), "wb"), std::fclose);
    if (!out) throw JetError(kErrWrite, "cannot write " + path);
    for (const auto &p : store.all())
        if (std::fwrite(p.data(), 1, p.size(), out.get()) != p.size()) {
            out.reset();
            std::remove(tmp.c_str());
            throw JetError(kErrWrite, "cannot write " + path);
        }
    if (std::fclose(out.release()) != 0 || std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        throw JetError(kErrWrite, "cannot write " + path);
    }
}

}  // namespace jet
