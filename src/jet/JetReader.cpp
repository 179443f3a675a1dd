#include "jet/JetReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <strings.h>

#include <algorithm>
#include <set>

#include "jet/CatalogueMatch.h"
#include "jet/JetError.h"
#include "jet/JetFormat.h"
#include "jet/JetReaderState.h"

namespace jet {

using namespace format;

namespace {


const char *typeName(int code) {
    switch (code) {
    case kBool: return "Boolean";
    case kByte: return "Byte";
    case kInt: return "Integer";
    case kLong: return "Long";
    case kMoney: return "Currency";
    case kFloat: return "Single";
    case kDouble: return "Double";
    case kDateTime: return "DateTime";
    case kBinary: return "Binary";
    case kText: return "Text";
    case kOle: return "OLE";
    case kMemo: return "Memo";
    case kGuid: return "GUID";
    case kNumeric: return "Decimal";
    case kUnknown0D: return "Unknown0D";
    case kUnknown0E: return "Unknown0E";
    case kUnknown11: return "Unknown11";
    case kComplex: return "Complex";
    default: return "Unknown";
    }
}

void readDefinition(const JetReaderState &s, MdbCatalogEntry *entry, JetTableInfo &info) {
    s.check->checkTable(static_cast<uint32_t>(entry->table_pg), info.name, false);
    MdbTableDef *table = mdb_read_table(entry);
    if (!table) throw JetError(kErrFormat, s.path + ": the definition of table " + info.name + " cannot be read");
    if (!mdb_read_columns(table)) {
        mdb_free_tabledef(table);
        throw JetError(kErrFormat, s.path + ": the columns of table " + info.name + " cannot be read");
    }
    info.rowCount = table->num_rows;
    for (unsigned c = 0; c < table->num_cols; ++c) {
        auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
        JetFieldInfo f;
        f.name = col->name;
        f.jetType = col->col_type;
        f.typeName = typeName(col->col_type);
        f.autoNumber = col->is_long_auto;
        if (f.autoNumber && col->col_type == kLong) f.typeName = "AutoNumber";
        f.size = col->col_type == kText                              ? col->col_size / (s.check->version() == 4 ? 2 : 1)
                 : (col->col_type == kMemo || col->col_type == kOle) ? 0
                                                                     : col->col_size;
        if (col->col_type == kBool) f.size = 1;
        if (col->col_type == kNumeric) {
            // The definition holds the precision, then the scale; libmdb
            // files them under each other's name (its own export prints
            // with them so), hence the crossing.
            f.precision = col->col_scale;
            f.scale = col->col_prec;
        }
        const char *req = mdb_col_get_prop(col, "Required");
        f.required = col->col_type == kBool || f.autoNumber || (req && !strcasecmp(req, "yes"));
        info.fields.push_back(f);
    }
    mdb_free_tabledef(table);
}

// The live table rows of the catalogue, read by our own walk; nothing when
// the catalogue cannot be read that way.
std::vector<CatalogueRow> catalogueRows(JetReaderState &s) {
    std::vector<CatalogueRow> out;
    size_t catalogue = s.tables.size();
    for (size_t i = 0; i < s.tables.size(); ++i)
        if (s.entries[i]->table_pg == kCatalogPage && s.tables[i].damage.empty()) catalogue = i;
    if (catalogue == s.tables.size()) return out;
    const auto &fields = s.tables[catalogue].fields;
    auto field = [&fields](const char *name) {
        for (size_t f = 0; f < fields.size(); ++f)
            if (!strcasecmp(fields[f].name.c_str(), name)) return static_cast<int>(f);
        return -1;
    };
    const int id = field("Id"), name = field("Name"), type = field("Type"), flags = field("Flags"),
              props = field("LvProp");
    if (id < 0 || name < 0 || type < 0) return out;
    JetTableCursor cursor(s, s.tables[catalogue], false);
    std::vector<Value> row;
    while (cursor.next(row)) {
        if (row[type].kind != ValueKind::Integer || (row[type].integer & 0x7F) != MDB_TABLE) continue;
        CatalogueRow r;
        r.id = static_cast<uint32_t>(row[id].integer) & 0x00FFFFFFu;
        r.name = row[name].bytes;
        if (flags >= 0) r.flags = row[flags].integer;
        if (props >= 0) r.properties = row[props].bytes;
        out.push_back(std::move(r));
    }
    return out;
}

// libmdb lists the catalogue rows flagged deleted as well (a table dropped
// long ago, perhaps under the name of a live one): keep only the tables our
// own walk of the catalogue finds live.
void keepLiveEntries(JetReaderState &s, const std::vector<CatalogueRow> &rows) {
    if (rows.empty() || rows.size() >= s.tables.size()) return;
    std::multiset<std::pair<unsigned long, std::string>> live;
    for (const auto &r : rows) live.insert({r.id, r.name});
    std::vector<bool> keep(s.tables.size(), false);
    for (size_t i = 0; i < s.tables.size(); ++i) {
        auto it = live.find({s.entries[i]->table_pg, s.tables[i].name});
        if (it == live.end()) continue;
        live.erase(it);
        keep[i] = true;
    }
    // A name libmdb spells otherwise: matched by its definition page alone.
    for (size_t i = 0; i < s.tables.size(); ++i) {
        if (keep[i]) continue;
        auto it =
            std::find_if(live.begin(), live.end(), [&](const auto &e) { return e.first == s.entries[i]->table_pg; });
        if (it == live.end()) continue;
        live.erase(it);
        keep[i] = true;
    }
    std::vector<JetTableInfo> tables;
    std::vector<MdbCatalogEntry *> entries;
    for (size_t i = 0; i < s.tables.size(); ++i)
        if (keep[i]) {
            tables.push_back(std::move(s.tables[i]));
            entries.push_back(s.entries[i]);
        }
    s.tables = std::move(tables);
    s.entries = std::move(entries);
}

}  // namespace

JetReaderState::~JetReaderState() {
    if (mdb) mdb_close(mdb);
    if (fd >= 0) ::close(fd);
}

JetReader::JetReader(const std::string &path) : state_(std::make_unique<JetReaderState>()) {
    JetReaderState &s = *state_;
    s.path = path;
    // Without blocking: a FIFO or device given as the source would wait for
    // a writer for ever. Only a regular file is a database.
    s.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (s.fd < 0) throw JetError(kErrOpen, "cannot open " + path);
    struct stat st {};
    if (fstat(s.fd, &st) != 0 || !S_ISREG(st.st_mode)) throw JetError(kErrFormat, path + " is not a regular file");
    s.check = std::make_unique<JetFileCheck>(s.fd, path);
    s.check->checkCatalog();

    s.mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!s.mdb) throw JetError(kErrFormat, path + " is not a readable Jet file: libmdb cannot open it");
    if (!mdb_read_catalog(s.mdb, MDB_TABLE))
        throw JetError(kErrFormat, path + " is not a readable Jet file: the catalogue cannot be read");
    for (unsigned i = 0; i < s.mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(s.mdb->catalog, i));
        if (entry->object_type != MDB_TABLE) continue;
        JetTableInfo info;
        info.name = entry->object_name;
        info.system = mdb_is_system_table(entry) || (static_cast<unsigned>(entry->flags) & 0x80000002u);
        try {
            readDefinition(s, entry, info);
        } catch (const JetError &e) {
            const std::string text = e.what();
            info.fields.clear();
            info.damage =
                text.find("\"" + info.name + "\"") != std::string::npos ? text : "table \"" + info.name + "\": " + text;
        }
        s.tables.push_back(std::move(info));
        s.entries.push_back(entry);
    }
    // The catalogue lists itself; a file where it does not is damaged there.
    if (std::none_of(s.entries.begin(), s.entries.end(), [](const MdbCatalogEntry *e) {
            return e->table_pg == kCatalogPage && !strcasecmp(e->object_name, "MSysObjects");
        }))
        throw JetError(kErrFormat, path + " is not a readable Jet file: the catalogue does not list itself");
    const std::vector<CatalogueRow> rows = catalogueRows(s);
    keepLiveEntries(s, rows);
    matchCatalogue(s, rows);
}

JetReader::~JetReader() = default;

const std::string &JetReader::path() const { return state_->path; }
int JetReader::jetVersion() const { return state_->check->version(); }
const std::vector<JetTableInfo> &JetReader::tables() const { return state_->tables; }

const JetTableInfo *JetReader::findTable(const std::string &name) const {
    for (const auto &t : state_->tables)
        if (!strcasecmp(t.name.c_str(), name.c_str())) return &t;
    return nullptr;
}

std::unique_ptr<JetTableCursor> JetReader::openTable(const std::string &name) const {
    const JetTableInfo *info = findTable(name);
    if (!info) throw JetError(kErrNoTable, "no table " + name + " in " + state_->path);
    if (!info->damage.empty()) throw JetError(kErrFormat, info->damage);
    return std::make_unique<JetTableCursor>(*state_, *info);
}

}  // namespace jet
