#include "jet/JetTableCursor.h"

#include <cstring>

#include "jet/JetError.h"
#include "jet/JetFormat.h"
#include "jet/JetReaderState.h"
#include "jet/JetText.h"

namespace jet {

using namespace format;

namespace {
// 100-01-01 and 9999-12-31 as Jet day numbers (days since 1899-12-30; before
// it the time of day counts forwards from the negative whole day).
constexpr double kFirstJetDay = -657434;
constexpr double kLastJetDay = 2958465;

// Damage found while reading a table is told with the table's name.
JetError namingTable(const JetError &e, const std::string &name) {
    const std::string text = e.what();
    if (text.find("\"" + name + "\"") != std::string::npos) return e;
    return JetError(e.number(), "table \"" + name + "\": " + text);
}
}  // namespace

struct JetCursorState {
    const JetReaderState *reader = nullptr;
    JetTableInfo info;
    MdbHandle *mdb = nullptr;
    MdbTableDef *table = nullptr;
    std::vector<MdbField> fields;
    uint32_t tdefPage = 0;
    std::vector<uint32_t> pages;  // the table's pages, walked in order
    size_t nextPage = 0;
    std::vector<JetFileCheck::RowLocation> rows;  // the live rows from the current page
    size_t nextRow = 0;
    uint32_t loadedPage = 0;  // the page in libmdb's buffer
    bool done = false;
    bool checkDates = true;

    ~JetCursorState() {
        if (table) mdb_free_tabledef(table);
        if (mdb) mdb_close(mdb);
    }

    [[noreturn]] void damaged(const std::string &what) const {
        throw JetError(kErrFormat, reader->path + ": table \"" + info.name + "\": " + what);
    }

    std::string longValue(const unsigned char *h, size_t siz) { return reader->check->readLongValue(h, siz); }

    std::string text(const unsigned char *p, size_t n) {
        if (reader->check->version() == 4) return utf16ToUtf8(decodeJetText(p, n));
        std::string out(n * 4 + 4, '\0');
        const int got = mdb_unicode2ascii(mdb, reinterpret_cast<const char *>(p), n, out.data(), out.size() - 1);
        out.resize(got > 0 ? static_cast<size_t>(got) : 0);
        return out;
    }
};

JetTableCursor::JetTableCursor(const JetReaderState &reader, const JetTableInfo &info, bool checkDates)
    : state_(std::make_unique<JetCursorState>()) {
    JetCursorState &s = *state_;
    s.checkDates = checkDates;
    s.reader = &reader;
    s.info = info;
    MdbCatalogEntry *entry = nullptr;
    for (size_t i = 0; i < reader.tables.size(); ++i)
        if (&reader.tables[i] == &info) entry = reader.entries[i];
    if (!entry) throw JetError(kErrNoTable, "no table " + info.name);
    s.tdefPage = static_cast<uint32_t>(entry->table_pg);
    try {
        reader.check->checkTable(s.tdefPage, info.name, true);
        s.pages = reader.check->dataPages(s.tdefPage);
    } catch (const JetError &e) {
        throw namingTable(e, info.name);
    }
    s.mdb = mdb_clone_handle(reader.mdb);
    if (!s.mdb) throw JetError(kErrFormat, reader.path + ": cannot read table " + info.name);
    MdbCatalogEntry *own = nullptr;
    for (unsigned i = 0; i < s.mdb->num_catalog && s.mdb->catalog && i < s.mdb->catalog->len; ++i) {
        auto *e = static_cast<MdbCatalogEntry *>(g_ptr_array_index(s.mdb->catalog, i));
        if (e->table_pg == entry->table_pg && !std::strcmp(e->object_name, entry->object_name)) own = e;
    }
    if (!own) throw JetError(kErrNoTable, "no table " + info.name);
    s.table = mdb_read_table(own);
    if (!s.table || !mdb_read_columns(s.table))
        throw JetError(kErrFormat, reader.path + ": cannot read table " + info.name);
    if (s.table->num_cols != info.fields.size()) s.damaged("the definition changed while reading");
    s.fields.resize(256 + 1);
}

JetTableCursor::~JetTableCursor() = default;

const JetTableInfo &JetTableCursor::info() const { return state_->info; }

bool JetTableCursor::next(std::vector<Value> &row) {
    JetCursorState &s = *state_;
    if (s.done) return false;
    // Our own walk rather than libmdb's: it takes rows flagged deleted for
    // live ones and passes over rows moved to another page.
    while (s.nextRow >= s.rows.size()) {
        if (s.nextPage >= s.pages.size()) {
            s.done = true;
            return false;
        }
        try {
            s.rows = s.reader->check->liveRows(s.tdefPage, s.pages[s.nextPage++], s.info.name);
        } catch (const JetError &e) {
            throw namingTable(e, s.info.name);
        }
        s.nextRow = 0;
    }
    const JetFileCheck::RowLocation at = s.rows[s.nextRow++];
    const size_t pageSize = s.reader->check->pageSize();
    if (at.page != s.loadedPage) {
        if (mdb_read_pg(s.mdb, at.page) != static_cast<ssize_t>(pageSize)) s.damaged("a page cannot be read");
        s.loadedPage = at.page;
    }
    const int start = static_cast<int>(at.start);
    const size_t size = at.size;
    if (at.start + size > pageSize) s.damaged("a row lies outside its page");
    const size_t n = s.info.fields.size();
    if (n == 0) {
        row.clear();
        return true;
    }
    const int cracked = mdb_crack_row(s.table, start, size, s.fields.data());
    if (cracked < 0) s.damaged("a row cannot be decoded");
    row.assign(n, Value());
    for (size_t i = 0; i < n; ++i) {
        const MdbField &f = s.fields[i];
        if (f.colnum < 0 || static_cast<size_t>(f.colnum) >= n) s.damaged("a row names a missing column");
        const JetFieldInfo &info = s.info.fields[f.colnum];
        Value &v = row[f.colnum];
        if (info.jetType == kBool) {
            v = Value::boolean(!f.is_null);
            continue;
        }
        if (f.is_null) continue;
        if (f.start < 0 || f.siz < 0 || static_cast<size_t>(f.start) + static_cast<size_t>(f.siz) > pageSize)
            s.damaged("a value lies outside its page");
        const unsigned char *p = s.mdb->pg_buf + f.start;
        const size_t siz = static_cast<size_t>(f.siz);
        auto need = [&](size_t bytes) {
            if (siz < bytes) s.damaged("a value is shorter than its type");
        };
        switch (info.jetType) {
        case kByte:
            need(1);
            v = Value::integral(p[0]);
            break;
        case kInt:
            need(2);
            v = Value::integral(static_cast<int16_t>(get16(p)));
            break;
        case kLong:
            need(4);
            v = Value::integral(static_cast<int32_t>(get32(p)));
            break;
        case kMoney: {
            need(8);
            const uint64_t raw = get32(p) | static_cast<uint64_t>(get32(p + 4)) << 32;
            v = Value::currency(static_cast<int64_t>(raw));
            break;
        }
        case kFloat: {
            need(4);
            float x;
            std::memcpy(&x, p, 4);
            v = Value::single(x);
            break;
        }
        case kDouble:
        case kDateTime: {
            need(8);
            double x;
            std::memcpy(&x, p, 8);
            // Jet dates run from 100-01-01 to 9999-12-31; anything else
            // (NaN included) is damage, which callers converting the value
            // to a calendar date must not be handed.
            if (info.jetType == kDateTime && s.checkDates && !(x > kFirstJetDay - 1 && x < kLastJetDay + 1))
                s.damaged("a Date/Time value lies outside the years 100 to 9999");
            v = info.jetType == kDouble ? Value::dbl(x) : Value::dateTime(x);
            break;
        }
        case kText: v = Value::text(s.text(p, siz)); break;
        case kMemo: {
            const std::string raw = s.longValue(p, siz);
            v = Value::text(s.text(reinterpret_cast<const unsigned char *>(raw.data()), raw.size()));
            break;
        }
        case kOle: v = Value::binary(s.longValue(p, siz)); break;
        default: v = Value::binary(std::string(reinterpret_cast<const char *>(p), siz)); break;
        }
    }
    return true;
}

}  // namespace jet
