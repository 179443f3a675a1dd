#include "jet/JetFileCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <strings.h>

#include <cstring>
#include <set>

#include "jet/JetError.h"
#include "jet/JetFormat.h"

namespace jet {

using namespace format;

namespace {
constexpr size_t kMaxDefinitionPages = 64;
constexpr unsigned kMaxColumns = 256;
constexpr size_t kMaxBoundBytes = 128;  // 64 characters of UCS-2
constexpr int kMaxOverflowHops = 16;    // a moved row moved again, and again

bool ownsPage(const unsigned char *page, uint32_t tdefPage) {
    return page[0] == kPageData && get32(page + 4) == tdefPage;
}

// Bytes libmdb reads for a value of a type whatever length is recorded.
size_t fixedSize(unsigned type) {
    switch (type) {
    case kByte: return 1;
    case kInt: return 2;
    case kLong:
    case kFloat: return 4;
    case kMoney:
    case kDouble:
    case kDateTime: return 8;
    case kGuid: return 16;
    case kNumeric: return 17;
    default: return 0;
    }
}
// What no name the format stores holds: control characters and (Jet 4)
// broken UTF-16 or the non-characters U+FFFE and U+FFFF.
bool validName(const std::u16string &name, bool jet3) {
    if (name.empty()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char16_t ch = name[i];
        if (ch < 0x20) return false;
        if (jet3) continue;
        if (ch == 0xFFFE || ch == 0xFFFF) return false;
        if (ch >= 0xD800 && ch <= 0xDBFF) {
            if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (ch >= 0xDC00 && ch <= 0xDFFF) {
            return false;
        }
    }
    return true;
}
}  // namespace

void JetFileCheck::fail(const std::string &what) const {
    throw JetError(kErrFormat, path_ + " is not a readable Jet file: " + what);
}

JetFileCheck::JetFileCheck(int fd, const std::string &path) : fd_(fd), path_(path) {
    struct stat st {};
    if (fstat(fd, &st) != 0) throw JetError(kErrOpen, "cannot read " + path);
    unsigned char head[0x20] = {};
    if (st.st_size < static_cast<off_t>(sizeof head) || pread(fd, head, sizeof head, 0) != sizeof head)
        fail("the file is too short");
    if (head[0] != 0 || std::memcmp(head + 4, "Standard Jet DB", 15) != 0) fail("no Jet header");
    const uint32_t v = get32(head + 0x14);
    if (v == 0) {
        version_ = 3;
        pageSize_ = kPageSizeJet3;
        rowCountOffset_ = 8;
    } else if (v == 1) {
        version_ = 4;
    } else {
        fail("unsupported Jet version " + std::to_string(v));
    }
    pageCount_ = static_cast<uint64_t>(st.st_size) / pageSize_;
    if (static_cast<uint64_t>(st.st_size) % pageSize_ != 0) fail("the file is truncated (not whole pages)");
    if (pageCount_ < 3) fail("the file is truncated (no catalogue)");
    if (pageCount_ > 0xFFFFFF) fail("the file is too large");
}

void JetFileCheck::readPage(uint64_t page, unsigned char *buffer) const {
    if (page >= pageCount_) fail("page " + std::to_string(page) + " lies beyond the end of the file");
    const ssize_t got = pread(fd_, buffer, pageSize_, static_cast<off_t>(page * pageSize_));
    if (got != static_cast<ssize_t>(pageSize_)) fail("page " + std::to_string(page) + " cannot be read");
}

std::pair<size_t, size_t> JetFileCheck::rowBounds(const unsigned char *p, unsigned row) const {
    const unsigned rows = get16(p + rowCountOffset_);
    const size_t table = rowCountOffset_ + 2 + 2 * static_cast<size_t>(rows);
    if (row >= rows || table > pageSize_) fail("a row pointer names a missing row");
    const size_t start = get16(p + rowCountOffset_ + 2 + 2 * row) & kRowOffsetMask;
    const size_t end = row == 0 ? pageSize_ : (get16(p + rowCountOffset_ + 2 * row) & kRowOffsetMask);
    if (start < table || start > end || end > pageSize_) fail("damaged row offsets");
    return {start, end};
}

std::vector<unsigned char> JetFileCheck::definitionBytes(uint32_t tdefPage) const {
    std::vector<unsigned char> bytes, page(pageSize_);
    std::set<uint32_t> seen;
    uint32_t pg = tdefPage;
    while (pg) {
        if (!seen.insert(pg).second || seen.size() > kMaxDefinitionPages) fail("a table definition loops");
        readPage(pg, page.data());
        if (page[0] != kPageTableDef) fail("page " + std::to_string(pg) + " is not a table definition");
        bytes.insert(bytes.end(), page.begin() + (bytes.empty() ? 0 : 8), page.end());
        pg = get32(page.data() + 4);
    }
    return bytes;
}

std::vector<uint32_t> JetFileCheck::mapPages(uint32_t pointer, const std::string &what) const {
    std::vector<unsigned char> page(pageSize_), mapPage(pageSize_);
    readPage(pointer >> 8, page.data());
    const auto [start, end] = rowBounds(page.data(), pointer & 0xFF);
    const unsigned char *m = page.data() + start;
    const size_t len = end - start;
    std::vector<uint32_t> pages;
    if (len < 1) fail("the usage map of " + what + " is empty");
    if (m[0] == 0) {
        if (len < 5) fail("the usage map of " + what + " is too short");
        const uint64_t first = get32(m + 1);
        for (size_t bit = 0; bit < (len - 5) * 8; ++bit)
            if (m[5 + bit / 8] & (1 << (bit % 8))) {
                if (first + bit >= pageCount_) fail("the usage map of " + what + " names pages beyond the file");
                pages.push_back(static_cast<uint32_t>(first + bit));
            }
    } else if (m[0] == 1) {
        const size_t bits = (pageSize_ - 4) * 8;
        for (size_t i = 0; i < (len - 1) / 4; ++i) {
            const uint32_t mp = get32(m + 1 + 4 * i);
            if (!mp) continue;
            readPage(mp, mapPage.data());
            if (mapPage[0] != kPageUsageMap) fail("the usage map of " + what + " points at a page of another kind");
            for (size_t bit = 0; bit < bits; ++bit)
                if (mapPage[4 + bit / 8] & (1 << (bit % 8))) {
                    const uint64_t pg = i * bits + bit;
                    if (pg >= pageCount_) fail("the usage map of " + what + " names pages beyond the file");
                    pages.push_back(static_cast<uint32_t>(pg));
                }
        }
    } else {
        fail("the usage map of " + what + " has an unknown kind");
    }
    return pages;
}

void JetFileCheck::checkTable(uint32_t tdefPage, const std::string &name, bool rows) const {
    checkTable(tdefPage, name, rows, "", {}, {});
}

void JetFileCheck::checkCatalog() const {
    // libmdb copies these into buffers of 256 bytes while reading the catalogue.
    // libmdb reads the catalogue itself and reads rows flagged deleted as
    // well, so those are checked too.
    checkTable(
        kCatalogPage, "MSysObjects", true, "LvProp", [this](const std::string &blob) { checkProperties(blob); },
        {"Id", "Name", "Type", "Flags"}, true);
}

std::vector<uint32_t> JetFileCheck::dataPages(uint32_t tdefPage) const {
    if (tdefPage == 0 || tdefPage >= pageCount_) fail("a table has its definition beyond the file");
    const std::vector<unsigned char> t = definitionBytes(tdefPage);
    const size_t offUsed = version_ == 3 ? 35 : 55;
    if (t.size() < offUsed + 4) fail("a table has a short definition");
    return mapPages(get32(&t[offUsed]), "table at page " + std::to_string(tdefPage));
}

JetFileCheck::DefinitionHead JetFileCheck::definitionHead(uint32_t tdefPage) const {
    if (tdefPage == 0 || tdefPage >= pageCount_) fail("a table has its definition beyond the file");
    std::vector<unsigned char> page(pageSize_);
    readPage(tdefPage, page.data());
    if (page[0] != kPageTableDef) fail("page " + std::to_string(tdefPage) + " is not a table definition");
    const bool jet3 = version_ == 3;
    return {page[jet3 ? 20 : 40], get32(&page[jet3 ? 35 : 55]), get32(&page[jet3 ? 39 : 59])};
}

uint32_t JetFileCheck::dataPageOwner(uint32_t page) const {
    unsigned char head[8];
    if (page >= pageCount_ || pread(fd_, head, sizeof head, static_cast<off_t>(page) * pageSize_) != sizeof head)
        return 0;
    return head[0] == kPageData ? get32(head + 4) : 0;
}

std::vector<JetFileCheck::RowLocation> JetFileCheck::liveRows(uint32_t tdefPage, uint32_t page,
                                                              const std::string &name) const {
    std::vector<unsigned char> buffer(pageSize_);
    readPage(page, buffer.data());
    return liveRows(buffer.data(), page, tdefPage, "table \"" + name + "\"", false);
}

std::vector<JetFileCheck::RowLocation> JetFileCheck::liveRows(const unsigned char *p, uint32_t pageNo,
                                                              uint32_t tdefPage, const std::string &what,
                                                              bool deletedToo) const {
    std::vector<RowLocation> out;
    if (!ownsPage(p, tdefPage)) return out;
    const std::string where = what + " page " + std::to_string(pageNo);
    const unsigned rows = get16(p + rowCountOffset_);
    if (rowCountOffset_ + 2 + 2 * static_cast<size_t>(rows) > pageSize_) fail(where + " has too many rows");
    for (unsigned r = 0; r < rows; ++r) {
        const uint16_t raw = get16(p + rowCountOffset_ + 2 + 2 * r);
        if (raw & kRowDeleted) {
            // What libmdb reads of a deleted row: one without the moved flag
            // and with bytes.
            if (!deletedToo || (raw & kRowOverflow)) continue;
            const auto [start, end] = rowBounds(p, r);
            if (end > start) out.push_back({pageNo, start, end - start});
            continue;
        }
        const auto [start, end] = rowBounds(p, r);
        if (raw & kRowOverflow)
            out.push_back(follow(p + start, end - start, tdefPage, where));
        else
            out.push_back({pageNo, start, end - start});
    }
    return out;
}

// A moved row keeps 4 bytes in its old slot: the row number on the new page,
// then the page number in 3 bytes. The new slot may itself have moved on.
JetFileCheck::RowLocation JetFileCheck::follow(const unsigned char *pointer, size_t size, uint32_t tdefPage,
                                               const std::string &where) const {
    std::vector<unsigned char> page(pageSize_);
    unsigned char ptr[4];
    for (int hop = 0; hop < kMaxOverflowHops; ++hop) {
        if (size < 4) fail(where + " has a damaged pointer to a moved row");
        std::memcpy(ptr, pointer, 4);
        const unsigned row = ptr[0];
        const uint32_t pg =
            static_cast<uint32_t>(ptr[1]) | static_cast<uint32_t>(ptr[2]) << 8 | static_cast<uint32_t>(ptr[3]) << 16;
        if (pg >= pageCount_) fail(where + " has a moved row beyond the end of the file");
        readPage(pg, page.data());
        if (!ownsPage(page.data(), tdefPage)) fail(where + " has a moved row on a page of another kind");
        const auto [start, end] = rowBounds(page.data(), row);
        if (!(get16(page.data() + rowCountOffset_ + 2 + 2 * row) & kRowOverflow)) return {pg, start, end - start};
        pointer = page.data() + start;
        size = end - start;
    }
    fail(where + " has moved rows that lead in a circle");
}

std::string JetFileCheck::readLongValue(const unsigned char *h, size_t siz) const {
    if (siz < 12) fail("damaged long value");
    const uint32_t len = get32(h) & 0x3FFFFFFF;
    const uint8_t kind = h[3] & 0xC0;
    if (len > pageCount_ * pageSize_) fail("a long value is longer than the file");
    if (kind & kMemoInline) {
        if (len > siz - 12) fail("damaged inline long value");
        return std::string(reinterpret_cast<const char *>(h + 12), len);
    }
    std::string out;
    out.reserve(len);
    std::vector<unsigned char> page(pageSize_);
    uint32_t ptr = get32(h + 4);
    for (uint64_t hops = 0; out.size() < len; ++hops) {
        if (!ptr || hops > pageCount_) fail("a long value chain is broken");
        readPage(ptr >> 8, page.data());
        const auto [start, end] = rowBounds(page.data(), ptr & 0xFF);
        const unsigned char *row = page.data() + start;
        size_t n = end - start;
        if (kind & kMemoSingle) {
            if (n < len) fail("a long value is shorter than recorded");
            out.append(reinterpret_cast<const char *>(row), len);
            break;
        }
        if (n < 4) fail("damaged long value page");
        ptr = get32(row);
        out.append(reinterpret_cast<const char *>(row + 4), std::min<size_t>(n - 4, len - out.size()));
    }
    return out;
}

// The layout libmdb walks: "MR2\0" or "KKD\0", then chunks of
// [length:4][type:2] holding either a name list of [length:2][name] or a
// block [length:4][name length:2][name] followed by records of
// [length:2][flag:1][type:1][name index:2][value length:2][value].
void JetFileCheck::checkProperties(const std::string &blob) const {
    const auto *b = reinterpret_cast<const unsigned char *>(blob.data());
    const size_t len = blob.size();
    if (len < 4 || (std::memcmp(b, "MR2", 4) != 0 && std::memcmp(b, "KKD", 4) != 0))
        fail("a catalogue property blob has no known header");
    size_t names = 0;
    bool haveNames = false;
    for (size_t pos = 4; pos < len;) {
        if (pos + 6 > len) fail("a catalogue property blob is truncated");
        const size_t chunk = get32(b + pos);
        const unsigned type = get16(b + pos + 4);
        if (chunk < 6 || chunk > len - pos) fail("a catalogue property chunk has a bad length");
        const unsigned char *c = b + pos + 6;
        const size_t clen = chunk - 6;
        if (type == 0x80) {
            names = 0;
            haveNames = true;
            for (size_t p = 0; p < clen;) {
                if (p + 2 > clen) fail("a catalogue property name list is truncated");
                const size_t n = get16(c + p);
                if (p + 2 + n > clen) fail("a catalogue property name is truncated");
                p += 2 + n;
                ++names;
            }
        } else if (type <= 2) {
            if (!haveNames) fail("catalogue properties come before their names");
            if (clen < 6) fail("a catalogue property block is truncated");
            const size_t nameLen = get16(c + 4);
            size_t p = 6 + nameLen;
            if (p > clen) fail("a catalogue property block name is truncated");
            while (p < clen) {
                if (p + 8 > clen) fail("a catalogue property record is truncated");
                const size_t rec = get16(c + p);
                const size_t elem = get16(c + p + 4);
                const size_t dsize = get16(c + p + 6);
                if (rec < 8 || p + rec > clen || 8 + dsize > rec || elem >= names || dsize < fixedSize(c[p + 3]))
                    fail("a catalogue property record is damaged");
                p += rec;
            }
        } else {
            fail("a catalogue property chunk has an unknown type");
        }
        pos += chunk;
    }
}

void JetFileCheck::checkTable(uint32_t tdefPage, const std::string &name, bool rows, const std::string &blobColumn,
                              const BlobCheck &blobCheck, const std::vector<std::string> &boundColumns,
                              bool deletedToo) const {
    const std::string what = "table \"" + name + "\"";
    if (tdefPage == 0 || tdefPage >= pageCount_) fail(what + " has its definition beyond the file");
    const std::vector<unsigned char> t = definitionBytes(tdefPage);
    const bool jet3 = version_ == 3;
    // Offsets of the definition block, Jet 3 then Jet 4.
    const size_t offVar = jet3 ? 23 : 43, offCols = jet3 ? 25 : 45, offIdx = jet3 ? 27 : 47,
                 offRealIdx = jet3 ? 31 : 51, offUsed = jet3 ? 35 : 55, offFree = jet3 ? 39 : 59,
                 colsStart = jet3 ? 43 : 63, realIdxEntry = jet3 ? 8 : 12, colEntry = jet3 ? 18 : 25,
                 realIdxBlock = jet3 ? 39 : 52, idxBlock = jet3 ? 20 : 28, nameLenBytes = jet3 ? 1 : 2;
    if (t.size() < colsStart) fail(what + " has a short definition");
    // The column maximum counts every column a row of the table may hold,
    // the deleted ones included: the engine keeps their data in the rows
    // and never lowers it. The variable count includes the deleted ones too,
    // so only the maximum bounds it, not the live columns.
    const unsigned maxCols = get16(&t[offVar - 2]), numVar = get16(&t[offVar]), numCols = get16(&t[offCols]);
    const uint32_t numIdx = get32(&t[offIdx]), numRealIdx = get32(&t[offRealIdx]);
    if (maxCols > kMaxColumns || numCols > maxCols || numVar > maxCols) fail(what + " has impossible column counts");
    // A row holds at least one column.
    if (numCols == 0 && get32(&t[jet3 ? 12 : 16]) != 0) fail(what + " has rows but no columns");
    // Indexes (relationships add hidden ones) are bounded by the definition
    // that must hold their entries.
    const uint64_t indexBytes = static_cast<uint64_t>(numRealIdx) * (realIdxEntry + realIdxBlock) +
                                static_cast<uint64_t>(numIdx) * (idxBlock + nameLenBytes);
    if (indexBytes > t.size()) fail(what + " has more indexes than its definition holds");
    size_t pos = colsStart + static_cast<size_t>(numRealIdx) * realIdxEntry;
    std::vector<Column> columns;
    for (unsigned i = 0; i < numCols; ++i, pos += colEntry) {
        if (pos + colEntry > t.size()) fail(what + " has a truncated column list");
        const unsigned char *e = &t[pos];
        Column c = jet3 ? Column{e[0], (e[13] & kFlagFixed) != 0, get16(e + 14), get16(e + 16), get16(e + 3)}
                        : Column{e[0], (e[15] & kFlagFixed) != 0, get16(e + 21), get16(e + 23), get16(e + 7)};
        if (c.code < kBool || c.code > kLastColumnCode) fail(what + " has a column of unknown type");
        if (c.fixed && c.code != kBool && c.fixedOffset + c.size > pageSize_) fail(what + " has a damaged column");
        if (!c.fixed && c.varIndex >= numVar) fail(what + " has a damaged variable column");
        // Each fixed type has its one size; Text holds 1 to 255 characters.
        if (fixedSize(c.code) && c.size != fixedSize(c.code)) fail(what + " has a column whose size is not its type's");
        if (c.code == kText && (c.size == 0 || c.size > (jet3 ? 255u : 510u)))
            fail(what + " has a Text column of impossible size");
        if (get16(e + (jet3 ? 1 : 5)) >= maxCols) fail(what + " has a damaged column number");
        columns.push_back(c);
    }
    int blobIndex = -1;
    std::set<std::u16string> names;
    for (unsigned i = 0; i < numCols; ++i) {
        if (pos + nameLenBytes > t.size()) fail(what + " has truncated column names");
        const size_t len = jet3 ? t[pos] : get16(&t[pos]);
        if (len == 0 || len > 512 || pos + nameLenBytes + len > t.size()) fail(what + " has a damaged column name");
        Column &c = columns[i];
        std::u16string folded;
        for (size_t k = 0; jet3 ? k < len : k + 1 < len; k += jet3 ? 1 : 2) {
            const unsigned ch = jet3 ? t[pos + 1 + k] : get16(&t[pos + 2 + k]);
            c.name += ch < 0x80 ? static_cast<char>(ch) : '?';
            folded += static_cast<char16_t>(ch >= 'A' && ch <= 'Z' ? ch + 32 : ch);
        }
        if (!validName(folded, jet3)) fail(what + " has an unreadable column name");
        if (!names.insert(folded).second) fail(what + " has two columns of one name");
        if (!c.fixed && !blobColumn.empty() && !strcasecmp(c.name.c_str(), blobColumn.c_str()))
            blobIndex = static_cast<int>(i);
        for (const auto &b : boundColumns)
            if (!strcasecmp(c.name.c_str(), b.c_str())) c.bound = true;
        if (c.bound && (c.code == kMemo || c.code == kOle)) fail(what + " has a long value where a short one belongs");
        pos += nameLenBytes + len;
    }
    pos += static_cast<size_t>(numRealIdx) * realIdxBlock + static_cast<size_t>(numIdx) * idxBlock;
    for (uint32_t i = 0; i < numIdx; ++i) {
        if (pos + nameLenBytes > t.size()) fail(what + " has truncated index names");
        const size_t len = jet3 ? t[pos] : get16(&t[pos]);
        if (len > 512 || pos + nameLenBytes + len > t.size()) fail(what + " has a damaged index name");
        pos += nameLenBytes + len;
    }
    if (pos > t.size()) fail(what + " has a truncated index list");
    const std::vector<uint32_t> pages = mapPages(get32(&t[offUsed]), what);
    mapPages(get32(&t[offFree]), what);
    if (!rows) return;
    std::vector<unsigned char> page(pageSize_), moved(pageSize_);
    uint64_t live = 0;
    for (uint32_t pg : pages) {
        readPage(pg, page.data());
        // A page in the map that is not one of this table's data pages means
        // the map or the page is damaged: skipping it would lose rows.
        if (!ownsPage(page.data(), tdefPage))
            fail(what + " lists page " + std::to_string(pg) + ", which is not one of its data pages");
        const std::vector<RowLocation> located = liveRows(page.data(), pg, tdefPage, what, deletedToo);
        live += located.size();
        for (const RowLocation &at : located) {
            const unsigned char *p = page.data();
            if (at.page != pg) {
                readPage(at.page, moved.data());
                p = moved.data();
            }
            checkRow(p + at.start, at.size, columns, numVar, what + " page " + std::to_string(at.page), blobIndex,
                     blobCheck);
        }
    }
    // The definition records how many rows the table holds; rows found
    // beyond or short of it are rows lost or read from elsewhere. (The
    // catalogue is walked with its deleted rows, so it has no such count.)
    const uint32_t stored = get32(&t[jet3 ? 12 : 16]);
    if (!deletedToo && live != stored)
        fail(what + " holds " + std::to_string(live) + " rows where its definition records " + std::to_string(stored));
}

void JetFileCheck::checkRow(const unsigned char *row, size_t len, const std::vector<Column> &columns, unsigned numVar,
                            const std::string &where, int blobColumn, const BlobCheck &blobCheck) const {
    // Jet 3 counts and offsets take one byte, Jet 4 two.
    const size_t w = version_ == 3 ? 1 : 2;
    auto num = [&](size_t off) -> size_t { return w == 1 ? row[off] : get16(row + off); };
    if (len < w) fail(where + " has a damaged row");
    const size_t rowCols = num(0);
    const size_t mask = (rowCols + 7) / 8;
    if (rowCols > kMaxColumns || w + mask > len) fail(where + " has a damaged row header");
    size_t fixedEnd = len - mask;
    std::vector<size_t> offsets;
    if (numVar) {
        if (len < w + mask + w) fail(where + " has a damaged row tail");
        const size_t rowVar = num(len - mask - w);
        if (rowVar > numVar) fail(where + " has a damaged variable column table");
        if (w == 2) {
            if (len < w + mask + w + w * (rowVar + 1)) fail(where + " has a damaged variable column table");
            const size_t tail = len - mask - w - w * (rowVar + 1);
            for (size_t i = 0; i <= rowVar; ++i) offsets.push_back(num(len - mask - 2 * w - w * i));
            for (size_t i = 0; i <= rowVar; ++i)
                if (offsets[i] < (i ? offsets[i - 1] : w) || offsets[i] > tail)
                    fail(where + " has damaged variable column offsets");
        } else {
            // Jet 3 offsets are one byte; a jump table before the count
            // says at which columns they pass another 256 bytes.
            const size_t last = len - 1;
            size_t jumps = last / 256;
            if (mask + jumps + 2 > last) fail(where + " has a damaged variable column table");
            const size_t colPtr = last - mask - jumps - 1;
            if (colPtr < rowVar + 1) fail(where + " has a damaged variable column table");
            if ((colPtr - rowVar) / 256 < jumps) --jumps;
            size_t used = 0;
            for (size_t i = 0; i <= rowVar; ++i) {
                while (used < jumps && i == row[last - mask - used - 1]) ++used;
                offsets.push_back(row[colPtr - i] + used * 256);
                if (offsets[i] < (i ? offsets[i - 1] : w) || offsets[i] > colPtr - rowVar)
                    fail(where + " has damaged variable column offsets");
            }
        }
        fixedEnd = offsets.front();
    }
    for (size_t ci = 0; ci < columns.size(); ++ci) {
        const Column &c = columns[ci];
        if (c.bound && !c.fixed) {
            if (c.varIndex + 1 < offsets.size() && offsets[c.varIndex + 1] - offsets[c.varIndex] > kMaxBoundBytes)
                fail(where + " has a name longer than the format allows");
        }
        if (c.fixed && c.code != kBool && (version_ == 3 ? 1 : 2) + c.fixedOffset + c.size > fixedEnd &&
            rowCols >= columns.size())
            fail(where + " has a row shorter than its fixed columns");
        if (!c.fixed && (c.code == kMemo || c.code == kOle) && c.varIndex + 1 < offsets.size()) {
            const size_t vlen = offsets[c.varIndex + 1] - offsets[c.varIndex];
            if (vlen != 0 && vlen < 12) fail(where + " has a damaged long value");
            // Checked whatever the NULL bit says: better too much than too little.
            if (static_cast<int>(ci) == blobColumn && vlen >= 12)
                blobCheck(readLongValue(row + offsets[c.varIndex], vlen));
        }
    }
}

}  // namespace jet
