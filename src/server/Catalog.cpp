#include "server/Catalog.h"

#include <filesystem>
#include <functional>
#include <mutex>

#include <sqlite3.h>

#include "server/SqlError.h"
#include "server/SqliteError.h"
#include "server/TextUtil.h"

namespace server {

namespace {

// Catalogue reads shared by the connections of the process: per database
// file and schema, the last snapshot read with the schema version and the
// catalogue generation it was read at. Every catalogue writer raises the
// file's generation, so a snapshot never outlives a change made through
// the catalogue, committed or not.
struct SharedReads {
    std::mutex mutex;
    std::map<std::string, int64_t> generation;  // per file
    struct Entry {
        int64_t version = -1;
        int64_t generation = -1;
        std::shared_ptr<const void> snapshot;
    };
    std::map<std::string, Entry> entries;  // per file and schema
};

SharedReads &sharedReads() {
    static SharedReads reads;
    return reads;
}

// The file a schema of the connection lives in; "" for temporary and
// in-memory schemas, which are never shared.
std::string canonicalFile(const std::string &path) {
    // Every session's catalogues ask: an absolute path's answer is kept
    // (resolving asks the file system for each part of the path).
    static std::mutex mutex;
    static std::map<std::string, std::string> known;
    const bool absolute = !path.empty() && path[0] == '/';
    std::lock_guard<std::mutex> lock(mutex);
    if (absolute)
        if (auto it = known.find(path); it != known.end()) return it->second;
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
    if (ec) return path;
    if (absolute && known.size() < 1024) known.emplace(path, canonical.string());
    return canonical.string();
}

std::string fileOf(sqlite3 *db, const std::string &schema) {
    if (schema == "temp") return std::string();
    const char *name = sqlite3_db_filename(db, schema.c_str());
    return name && *name ? canonicalFile(name) : std::string();
}

std::string textCol(sqlite3_stmt *st, int i) {
    const unsigned char *t = sqlite3_column_text(st, i);
    return t ? reinterpret_cast<const char *>(t) : "";
}

}  // namespace

std::string quoteIdent(const std::string &name) {
    std::string r = "\"";
    for (char c : name) {
        if (c == '"')
            r += "\"\"";
        else
            r.push_back(c);
    }
    return r + "\"";
}

std::string quoteText(const std::string &text) {
    std::string r = "'";
    for (char c : text) {
        if (c == '\'')
            r += "''";
        else
            r.push_back(c);
    }
    return r + "'";
}

void execSql(sqlite3 *db, const std::string &sql) {
    char *err = nullptr;
    if (int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err); rc != SQLITE_OK) {
        std::string msg = err ? err : "SQLite error";
        sqlite3_free(err);
        if (msg.rfind("PNW#", 0) == 0) {
            size_t p = msg.find('#', 4);
            throw SqlError(std::atoi(msg.substr(4, p - 4).c_str()), msg.substr(p + 1));
        }
        throw sqliteError(db, rc, sql);
    }
}

const ColumnInfo *TableInfo::column(const std::string &n) const {
    for (const auto &c : columns)
        if (collateCompare(c.name, n) == 0) return &c;
    return nullptr;
}

int TableInfo::identityIndex() const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].identity) return int(i);
    return -1;
}

std::string TableInfo::sqlName() const { return quoteIdent(schema) + "." + quoteIdent(name); }

void Catalog::ensure(sqlite3 *db, const std::string &schema) {
    std::string s = quoteIdent(schema) + ".";
    execSql(db, "CREATE TABLE IF NOT EXISTS " + s +
                    "__pnw_objects(id INTEGER PRIMARY KEY, name TEXT NOT NULL, xtype TEXT NOT NULL, "
                    "parent_obj INTEGER NOT NULL DEFAULT 0, crdate TEXT, disabled INTEGER NOT NULL DEFAULT 0, "
                    "info TEXT)");
    execSql(db, "CREATE TABLE IF NOT EXISTS " + s +
                    "__pnw_columns(id INTEGER NOT NULL, colid INTEGER NOT NULL, name TEXT NOT NULL, "
                    "xtype INTEGER NOT NULL, length INTEGER NOT NULL, prec INTEGER NOT NULL, "
                    "scale INTEGER NOT NULL, isnullable INTEGER NOT NULL, ident INTEGER NOT NULL, "
                    "seed INTEGER, incr INTEGER, cdefault INTEGER NOT NULL DEFAULT 0, defsql TEXT, "
                    "PRIMARY KEY(id, colid))");
}

void Catalog::refreshCollation(sqlite3 *db, const std::string &schema) {
    // 1: Chinese characters in pinyin order (HanOrder.h). An index keeps the
    // order it was built in, so a file from before is reindexed once.
    constexpr int kTextOrder = 1;
    std::string pragma = "PRAGMA " + quoteIdent(schema) + ".user_version";
    sqlite3_stmt *st = nullptr;
    int version = kTextOrder;
    if (sqlite3_prepare_v2(db, pragma.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        version = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    if (version >= kTextOrder) return;
    execSql(db, "REINDEX \"TSQL\"");
    execSql(db, pragma + " = " + std::to_string(kTextOrder));
}

Catalog::Catalog(sqlite3 *db, std::string schema) : db_(db), schema_(std::move(schema)), file_(fileOf(db_, schema_)) {}

void Catalog::forgetFile(const std::string &path) {
    SharedReads &reads = sharedReads();
    std::lock_guard<std::mutex> lock(reads.mutex);
    ++reads.generation[canonicalFile(path)];
}

void Catalog::invalidate() { changed(); }

void Catalog::changed() {
    loaded_ = false;
    if (file_.empty()) return;
    SharedReads &reads = sharedReads();
    std::lock_guard<std::mutex> lock(reads.mutex);
    ++reads.generation[file_];
}

bool Catalog::refreshIfChanged() {
    if (!versionStmt_) {
        std::string sql = "PRAGMA " + quoteIdent(schema_) + ".schema_version";
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &versionStmt_, nullptr) != SQLITE_OK) {
            sqlite3_finalize(versionStmt_);
            versionStmt_ = nullptr;
            loaded_ = false;
            return true;
        }
    }
    int64_t v = -1;
    if (sqlite3_step(versionStmt_) == SQLITE_ROW) v = sqlite3_column_int64(versionStmt_, 0);
    sqlite3_reset(versionStmt_);
    if (v == seenVersion_) return false;
    seenVersion_ = v;
    loaded_ = false;
    return true;
}

Catalog::~Catalog() {
    sqlite3_finalize(versionStmt_);
    for (auto &[sql, st] : statements_) sqlite3_finalize(st);
}

sqlite3_stmt *Catalog::statement(const std::string &sql, int &rc) {
    rc = SQLITE_OK;
    auto it = statements_.find(sql);
    if (it != statements_.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt *st = nullptr;
    rc = sqlite3_prepare_v3(db_, sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &st, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        return nullptr;
    }
    statements_.emplace(sql, st);
    return st;
}

void Catalog::write(const std::string &sql, const std::function<void(sqlite3_stmt *)> &bind) {
    int rc = SQLITE_OK;
    sqlite3_stmt *st = statement(sql, rc);
    if (!st) throw sqliteError(db_, rc, sql);
    bind(st);
    rc = sqlite3_step(st);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        SqlError e = sqliteError(db_, rc, sql);
        sqlite3_reset(st);
        throw e;
    }
    sqlite3_reset(st);
}

namespace {

void bindText(sqlite3_stmt *st, int i, const std::string &text) {
    sqlite3_bind_text(st, i, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

}  // namespace

void Catalog::load() {
    if (loaded_) return;
    int64_t v = -1;
    int rc = SQLITE_OK;
    if (sqlite3_stmt *st = statement("PRAGMA " + quoteIdent(schema_) + ".schema_version", rc)) {
        if (sqlite3_step(st) == SQLITE_ROW) v = sqlite3_column_int64(st, 0);
        sqlite3_reset(st);
    }
    const std::string &file = file_;
    const std::string entryKey = file + '\n' + schema_;
    int64_t generation = 0;
    if (!file.empty()) {
        SharedReads &reads = sharedReads();
        std::lock_guard<std::mutex> lock(reads.mutex);
        generation = reads.generation[file];
        auto found = reads.entries.find(entryKey);
        if (found != reads.entries.end() && found->second.version == v && found->second.generation == generation) {
            snapshot_ = std::static_pointer_cast<const Snapshot>(found->second.snapshot);
            loaded_ = true;
            schemaVersion_ = v;
            return;
        }
    }
    auto snapshot = std::make_shared<Snapshot>();
    auto &tables_ = snapshot->tables;
    auto &objects_ = snapshot->objects;
    std::string s = quoteIdent(schema_) + ".";
    sqlite3_stmt *st = nullptr;
    // A read that fails (busy, damaged, out of memory) is that failure, never
    // an empty catalogue that would make every table unknown (208).
    auto failed = [&](int code, const std::string &text) {
        SqlError e = sqliteError(db_, code, text);
        if (st) sqlite3_reset(st);
        throw e;
    };
    std::string sql = "SELECT id, name, xtype, parent_obj, disabled FROM " + s + "__pnw_objects";
    if (st = statement(sql, rc); !st) {
        // A file made elsewhere, read as it stands, has no catalogue.
        if (std::string(sqlite3_errmsg(db_)).rfind("no such table", 0) != 0) failed(rc, sql);
        snapshot_ = snapshot;
        loaded_ = true;
        schemaVersion_ = v;
        return;
    }
    std::map<int, std::shared_ptr<TableInfo>> byId;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        ObjectInfo o;
        o.id = sqlite3_column_int(st, 0);
        o.name = textCol(st, 1);
        o.xtype = textCol(st, 2);
        o.parent = sqlite3_column_int(st, 3);
        o.disabled = sqlite3_column_int(st, 4) != 0;
        objects_[collationKey(o.name)] = o;
        if (o.xtype == "U") {
            auto t = std::make_shared<TableInfo>();
            t->id = o.id;
            t->name = o.name;
            t->schema = schema_;
            tables_[collationKey(o.name)] = t;
            byId[o.id] = t;
        }
    }
    if (rc != SQLITE_DONE) failed(rc, sql);
    sqlite3_reset(st);
    // Primary keys: objects of type PK carry their columns in info.
    sql = "SELECT parent_obj, name, info FROM " + s + "__pnw_objects WHERE xtype = 'PK'";
    if (st = statement(sql, rc); !st) failed(rc, sql);
    {
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            auto it = byId.find(sqlite3_column_int(st, 0));
            if (it == byId.end()) continue;
            it->second->primaryKeyName = textCol(st, 1);
            std::string cols = textCol(st, 2);
            size_t b = 0;
            while (b <= cols.size()) {
                size_t e = cols.find(',', b);
                if (e == std::string::npos) e = cols.size();
                if (e > b) it->second->primaryKeyColumns.push_back(cols.substr(b, e - b));
                b = e + 1;
            }
        }
        if (rc != SQLITE_DONE) failed(rc, sql);
    }
    sqlite3_reset(st);
    sql = "SELECT id, colid, name, xtype, length, prec, scale, isnullable, ident, seed, incr, cdefault, defsql FROM " +
          s + "__pnw_columns ORDER BY id, colid";
    if (st = statement(sql, rc); !st) failed(rc, sql);
    {
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            auto it = byId.find(sqlite3_column_int(st, 0));
            if (it == byId.end()) continue;
            ColumnInfo c;
            c.colid = sqlite3_column_int(st, 1);
            c.name = textCol(st, 2);
            int xtype = sqlite3_column_int(st, 3);
            int bytes = sqlite3_column_int(st, 4);
            c.type = typeFromXtype(xtype, xtype == 231 ? bytes / 2 : (xtype == 167 ? bytes : 0),
                                   sqlite3_column_int(st, 5), sqlite3_column_int(st, 6));
            c.nullable = sqlite3_column_int(st, 7) != 0;
            c.identity = sqlite3_column_int(st, 8) != 0;
            c.seed = sqlite3_column_int64(st, 9);
            c.increment = sqlite3_column_int64(st, 10);
            c.cdefault = sqlite3_column_int(st, 11);
            if (sqlite3_column_type(st, 12) != SQLITE_NULL) c.defaultSql = textCol(st, 12);
            it->second->columns.push_back(c);
        }
        if (rc != SQLITE_DONE) failed(rc, sql);
    }
    sqlite3_reset(st);
    for (auto &[id, t] : byId) {
        int idx = t->identityIndex();
        t->rowidIdentity = idx >= 0;
    }
    snapshot_ = snapshot;
    loaded_ = true;
    schemaVersion_ = v;
    if (!file.empty()) {
        SharedReads &reads = sharedReads();
        std::lock_guard<std::mutex> lock(reads.mutex);
        // Kept only when no writer ran while it was read.
        if (reads.generation[file] == generation) reads.entries[entryKey] = {v, generation, snapshot};
    }
}

std::shared_ptr<const TableInfo> Catalog::table(const std::string &name) {
    load();
    auto it = snapshot_->tables.find(collationKey(name));
    return it == snapshot_->tables.end() ? nullptr : it->second;
}

std::optional<ObjectInfo> Catalog::object(const std::string &name) {
    load();
    auto it = snapshot_->objects.find(collationKey(name));
    if (it == snapshot_->objects.end()) return std::nullopt;
    return it->second;
}

std::optional<ObjectInfo> Catalog::objectById(int id) {
    load();
    for (const auto &[k, o] : snapshot_->objects)
        if (o.id == id) return o;
    return std::nullopt;
}

std::vector<ObjectInfo> Catalog::objectsOf(int parent) {
    load();
    std::vector<ObjectInfo> out;
    for (const auto &[k, o] : snapshot_->objects)
        if (o.parent == parent) out.push_back(o);
    return out;
}

int Catalog::addObject(const std::string &name, const std::string &xtype, int parent) {
    std::string s = quoteIdent(schema_) + ".";
    // Ids of temporary objects live in their own range so that they never meet the database's.
    int64_t base = schema_ == "temp" ? 1500000000 : 1000000;
    int64_t next = base;
    int rc = SQLITE_OK;
    if (sqlite3_stmt *st = statement("SELECT COALESCE(MAX(id), 0) FROM " + s + "__pnw_objects", rc)) {
        if (sqlite3_step(st) == SQLITE_ROW) next = std::max<int64_t>(base, sqlite3_column_int64(st, 0) + 1);
        sqlite3_reset(st);
    }
    // Spread ids like a server does (not consecutive), but keep them stable.
    next += 16;
    write("INSERT INTO " + s +
              "__pnw_objects(id, name, xtype, parent_obj, crdate) VALUES(?1, ?2, ?3, ?4, "
              "strftime('%Y-%m-%d %H:%M:%f','now','localtime'))",
          [&](sqlite3_stmt *st) {
              sqlite3_bind_int64(st, 1, next);
              bindText(st, 2, name);
              bindText(st, 3, xtype);
              sqlite3_bind_int64(st, 4, parent);
          });
    changed();
    return int(next);
}

void Catalog::removeObject(int id) {
    std::string s = quoteIdent(schema_) + ".";
    auto bindId = [id](sqlite3_stmt *st) { sqlite3_bind_int64(st, 1, id); };
    write("DELETE FROM " + s + "__pnw_columns WHERE id = ?1", bindId);
    write("DELETE FROM " + s + "__pnw_objects WHERE id = ?1 OR parent_obj = ?1", bindId);
    changed();
}

void Catalog::addColumn(int tableId, const ColumnInfo &c) {
    std::string s = quoteIdent(schema_) + ".";
    write("INSERT INTO " + s +
              "__pnw_columns(id, colid, name, xtype, length, prec, scale, isnullable, ident, seed, incr, cdefault, "
              "defsql) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)",
          [&](sqlite3_stmt *st) {
              sqlite3_bind_int64(st, 1, tableId);
              sqlite3_bind_int64(st, 2, c.colid);
              bindText(st, 3, c.name);
              sqlite3_bind_int64(st, 4, c.type.xtype());
              sqlite3_bind_int64(st, 5, c.type.byteLength());
              sqlite3_bind_int64(st, 6, c.type.precision);
              sqlite3_bind_int64(st, 7, c.type.scale);
              sqlite3_bind_int64(st, 8, c.nullable ? 1 : 0);
              sqlite3_bind_int64(st, 9, c.identity ? 1 : 0);
              sqlite3_bind_int64(st, 10, c.seed);
              sqlite3_bind_int64(st, 11, c.increment);
              sqlite3_bind_int64(st, 12, c.cdefault);
              if (c.defaultSql.empty())
                  sqlite3_bind_null(st, 13);
              else
                  bindText(st, 13, c.defaultSql);
          });
    changed();
}

void Catalog::updateColumn(int tableId, const ColumnInfo &c) {
    std::string s = quoteIdent(schema_) + ".";
    execSql(db_, "UPDATE " + s + "__pnw_columns SET xtype = " + std::to_string(c.type.xtype()) +
                     ", length = " + std::to_string(c.type.byteLength()) +
                     ", prec = " + std::to_string(c.type.precision) + ", scale = " + std::to_string(c.type.scale) +
                     ", isnullable = " + (c.nullable ? "1" : "0") + ", cdefault = " + std::to_string(c.cdefault) +
                     ", defsql = " + (c.defaultSql.empty() ? std::string("NULL") : quoteText(c.defaultSql)) +
                     " WHERE id = " + std::to_string(tableId) + " AND colid = " + std::to_string(c.colid));
    changed();
}

void Catalog::removeColumn(int tableId, const std::string &name) {
    std::string s = quoteIdent(schema_) + ".";
    execSql(db_, "DELETE FROM " + s + "__pnw_columns WHERE id = " + std::to_string(tableId) +
                     " AND name = " + quoteText(name));
    changed();
}

void Catalog::setDisabled(int id, bool disabled) {
    std::string s = quoteIdent(schema_) + ".";
    execSql(db_, "UPDATE " + s + "__pnw_objects SET disabled = " + (disabled ? "1" : "0") +
                     " WHERE id = " + std::to_string(id));
    changed();
}

void Catalog::setInfo(int id, const std::string &info) {
    std::string s = quoteIdent(schema_) + ".";
    execSql(db_, "UPDATE " + s + "__pnw_objects SET info = " + quoteText(info) + " WHERE id = " + std::to_string(id));
    changed();
}

}  // namespace server
