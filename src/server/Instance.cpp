#include "server/Instance.h"
#include "server/FileAccess.h"

#include <sqlite3.h>

#include <cctype>
#include <filesystem>
#include <mutex>

#include "server/Catalog.h"
#include "server/SqlError.h"
#include "server/SqliteError.h"
#include "server/SqlFunctions.h"
#include "server/TextUtil.h"

namespace server {

namespace fs = std::filesystem;

namespace {

// Instances stay open for the life of the process: reopening one per
// connection would close its files and checkpoint their WAL every time.
std::map<std::string, std::shared_ptr<Instance>> &registry() {
    static std::map<std::string, std::shared_ptr<Instance>> r;
    return r;
}

// SQLite counts every allocation under a global mutex for its memory
// statistics, which nothing here reads: off, before SQLite starts (once it
// has started the setting cannot change and the call does nothing).
void configureSqlite() {
    static std::once_flag once;
    std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
}

std::string canonical(const std::string &folder) {
    std::error_code ec;
    auto p = fs::weakly_canonical(fs::absolute(folder), ec);
    return ec ? folder : p.string();
}

const char *kDefaultVersion =
    "Microsoft SQL Server 2008 R2 (SP2) - 10.50.4000.0 (X64) \n\tJun 28 2012 08:36:30 \n\tCopyright (c) "
    "Microsoft Corporation\n\tStandard Edition (64-bit) on Windows NT 6.1 <X64> (Build 7601: Service Pack 1)\n";

struct Stmt {
    sqlite3_stmt *st = nullptr;
    bool kept = false;  // borrowed from a cache: reset, not finalized
    Stmt(sqlite3 *db, const std::string &sql) { prepare(db, sql); }
    // Every session start reads master: its statements are prepared once.
    Stmt(std::map<std::string, sqlite3_stmt *> &cache, sqlite3 *db, const std::string &sql) {
        auto it = cache.find(sql);
        if (it == cache.end()) {
            prepare(db, sql);
            it = cache.emplace(sql, st).first;
        }
        st = it->second;
        kept = true;
    }
    ~Stmt() {
        if (!kept) {
            sqlite3_finalize(st);
            return;
        }
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }
    void prepare(sqlite3 *db, const std::string &sql) {
        if (int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr); rc != SQLITE_OK) {
            SqlError e = sqliteError(db, rc, sql);
            sqlite3_finalize(st);
            st = nullptr;
            throw e;
        }
    }
    void bind(int i, const std::string &s) { sqlite3_bind_text(st, i, s.c_str(), int(s.size()), SQLITE_TRANSIENT); }
    bool step() { return sqlite3_step(st) == SQLITE_ROW; }
    std::string text(int i) {
        const unsigned char *t = sqlite3_column_text(st, i);
        return t ? reinterpret_cast<const char *>(t) : "";
    }
};

}  // namespace

Instance::Instance(std::string folder) : folder_(std::move(folder)) {}

Instance::~Instance() {
    for (auto &[path, list] : pool_)
        for (PooledConnection &connection : list) closeConnection(connection);
    for (auto &[path, db] : held_) sqlite3_close(db);
    for (auto &[sql, st] : masterStatements_) sqlite3_finalize(st);
    if (master_) sqlite3_close(master_);
}

void Instance::release(const std::string &folder) {
    auto it = registry().find(canonical(folder));
    if (it != registry().end() && it->second->sessions_.empty()) registry().erase(it);
}

std::string Instance::masterPath() const { return (fs::path(folder_) / "master").string(); }

std::shared_ptr<Instance> Instance::open(const std::string &folder) {
    configureSqlite();
    std::string key = canonical(folder);
    auto &reg = registry();
    auto it = reg.find(key);
    if (it != reg.end()) return it->second;
    if (!fs::exists(fs::path(key) / "master"))
        throw SqlError(17, "SQL Server 不存在或访问被拒绝。（找不到服务器实例 \"" + folder + "\"）");
    std::shared_ptr<Instance> inst(new Instance(key));
    reg[key] = inst;
    return inst;
}

sqlite3 *Instance::master() {
    if (!master_) {
        OpenTarget target = openTarget(masterPath());
        if (sqlite3_open_v2(target.name.c_str(), &master_, target.flags, nullptr) != SQLITE_OK) {
            std::string msg = "操作系统错误 " + systemErrorText(master_);
            sqlite3_close(master_);
            master_ = nullptr;
            throw SqlError(17, "SQL Server 不存在或访问被拒绝。（" + msg + "）");
        }
        sqlite3_busy_timeout(master_, 5000);
        registerSqlFunctions(master_, nullptr);
    }
    return master_;
}

void Instance::create(const std::string &folder, const std::string &login, const std::string &password) {
    configureSqlite();
    fs::create_directories(folder);
    fs::path m = fs::path(folder) / "master";
    if (fs::exists(m)) throw SqlError(1801, "实例文件夹 \"" + folder + "\" 中已有 master。");
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(m.string().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        SqlError e = makeError(5123, m.string(), systemErrorText(db));
        sqlite3_close(db);
        throw e;
    }
    registerSqlFunctions(db, nullptr);
    try {
        execSql(db, "PRAGMA journal_mode=WAL");
        execSql(db, "BEGIN");
        Catalog::ensure(db, "main");
        execSql(db, "CREATE TABLE __pnw_databases(dbid INTEGER PRIMARY KEY, name TEXT NOT NULL, filename TEXT, "
                    "logfile TEXT, crdate TEXT, state INTEGER NOT NULL DEFAULT 0)");
        execSql(db, "CREATE TABLE __pnw_logins(name TEXT PRIMARY KEY, password TEXT)");
        execSql(db, "CREATE TABLE __pnw_config(name TEXT PRIMARY KEY, minimum INTEGER, maximum INTEGER, "
                    "value INTEGER, value_in_use INTEGER, advanced INTEGER)");
        execSql(db, "CREATE TABLE __pnw_settings(key TEXT PRIMARY KEY, value TEXT)");
        execSql(db, "INSERT INTO __pnw_databases(dbid, name, filename, crdate) VALUES "
                    "(1, 'master', " +
                        quoteText(m.string()) +
                        ", datetime('now','localtime')),"
                        "(2, 'tempdb', '', datetime('now','localtime'))");
        execSql(db, "INSERT INTO __pnw_logins VALUES(" + quoteText(login) + "," + quoteText(password) + ")");
        execSql(db, "INSERT INTO __pnw_config VALUES('show advanced options',0,1,0,0,0),"
                    "('Ad Hoc Distributed Queries',0,1,0,0,1)");
        execSql(db, "INSERT INTO __pnw_settings VALUES('version'," + quoteText(kDefaultVersion) +
                        "),"
                        "('providers','Microsoft.Jet.OLEDB.4.0;Microsoft.ACE.OLEDB.12.0')");
        execSql(db, "COMMIT");
    } catch (...) {
        sqlite3_close(db);
        std::error_code ec;
        fs::remove(m, ec);
        throw;
    }
    sqlite3_close(db);
}

bool Instance::checkLogin(const std::string &login, const std::string &password) {
    Stmt st(masterStatements_, master(), "SELECT password FROM __pnw_logins WHERE name = ?1 COLLATE NOCASE");
    st.bind(1, login);
    if (!st.step()) return false;
    return st.text(0) == password;
}

std::optional<DatabaseInfo> Instance::database(const std::string &name) {
    Stmt st(masterStatements_, master(), "SELECT dbid, name, filename, logfile, state FROM __pnw_databases");
    while (st.step()) {
        if (collateCompare(st.text(1), name) == 0) {
            DatabaseInfo d;
            d.dbid = sqlite3_column_int(st.st, 0);
            d.name = st.text(1);
            d.filename = st.text(2);
            d.logfile = st.text(3);
            d.state = sqlite3_column_int(st.st, 4);
            return d;
        }
    }
    return std::nullopt;
}

std::optional<DatabaseInfo> Instance::databaseById(int dbid) {
    Stmt st(master(), "SELECT dbid, name, filename FROM __pnw_databases WHERE dbid = " + std::to_string(dbid));
    if (!st.step()) return std::nullopt;
    DatabaseInfo d;
    d.dbid = sqlite3_column_int(st.st, 0);
    d.name = st.text(1);
    d.filename = st.text(2);
    return d;
}

std::string Instance::setting(const std::string &key, const std::string &fallback) {
    Stmt st(masterStatements_, master(), "SELECT value FROM __pnw_settings WHERE key = ?1");
    st.bind(1, key);
    return st.step() ? st.text(0) : fallback;
}

void Instance::setSetting(const std::string &key, const std::string &value) {
    execSql(master(), "INSERT OR REPLACE INTO __pnw_settings VALUES(" + quoteText(key) + "," + quoteText(value) + ")");
}

std::string Instance::versionText() { return setting("version", kDefaultVersion); }

namespace {

// The database's name becomes its file name: only names that are safe as one
// file name inside the instance folder are accepted.
bool safeFileName(const std::string &name) {
    if (name.empty() || name.size() > 200 || name[0] == '.' || name[0] == ' ') return false;
    for (char32_t c : decodeUtf8(name)) {
        if (c == 0xFFFD || c < 0x20 || c == 0x7F) return false;
        if (c < 0x80 &&
            !(std::isalnum(int(c)) || c == '_' || c == '-' || c == ' ' || c == '$' || c == '#' || c == '@' || c == '.'))
            return false;
    }
    return true;
}

}  // namespace

void Instance::createDatabase(const std::string &name) {
    if (database(name)) throw makeError(1801, name);
    if (!safeFileName(name)) throw SqlError(5105, "发生文件激活错误。物理文件名 '" + name + ".mdf' 可能不正确。");
    fs::path file = fs::path(folder_) / (name + ".mdf");
    if (fs::exists(file)) throw SqlError(5170, "无法创建文件 '" + file.string() + "'，因为它已经存在。");
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        SqlError e = makeError(5123, file.string(), systemErrorText(db));
        sqlite3_close(db);
        throw e;
    }
    try {
        execSql(db, "PRAGMA journal_mode=WAL");
        Catalog::ensure(db, "main");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
    execSql(master(), "INSERT INTO __pnw_databases(dbid, name, filename, crdate) VALUES((SELECT MAX(dbid) + 1 FROM "
                      "__pnw_databases)," +
                          quoteText(name) + "," + quoteText(file.string()) +
                          ", strftime('%Y-%m-%d %H:%M:%f','now','localtime'))");
}

void Instance::dropDatabase(const std::string &name, int requestingSpid) {
    auto d = database(name);
    if (!d || d->dbid <= 2) throw makeError(3701, name);
    for (const auto &[spid, p] : sessions_)
        if (p.dbid == d->dbid && spid != requestingSpid) throw makeError(3702, d->name);
    for (const auto &[spid, p] : sessions_)
        if (p.dbid == d->dbid) throw makeError(3702, d->name);
    execSql(master(), "DELETE FROM __pnw_databases WHERE dbid = " + std::to_string(d->dbid));
    forgetFile(d->filename);
    std::error_code ec;
    fs::remove(d->filename, ec);
    fs::remove(d->filename + "-wal", ec);
    fs::remove(d->filename + "-shm", ec);
    if (!d->logfile.empty()) fs::remove(d->logfile, ec);
}

void Instance::forgetFile(const std::string &path) {
    ++drops_;
    forgetDurability(path);
    Catalog::forgetFile(path);
    closePooled(path);
    auto held = held_.find(path);
    if (held != held_.end()) {
        sqlite3_close(held->second);
        held_.erase(held);
    }
}

void Instance::markSuspect(int dbid) {
    try {
        execSql(master(), "UPDATE __pnw_databases SET state = " + std::to_string(kSuspect) +
                              " WHERE dbid = " + std::to_string(dbid));
    } catch (const SqlError &) {
        // master itself cannot be written: the session's error still stands.
    }
}

void Instance::holdFile(const std::string &path) {
    if (held_.count(path)) return;
    Catalog::forgetFile(path);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return;
    }
    // A first read attaches the handle to the WAL.
    sqlite3_exec(db, "PRAGMA schema_version", nullptr, nullptr, nullptr);
    held_[path] = db;
}

void Instance::closeConnection(PooledConnection &connection) {
    for (auto &[sql, st] : connection.statements) sqlite3_finalize(st);
    connection.statements.clear();
    sqlite3_close(connection.db);
    connection.db = nullptr;
}

Instance::PooledConnection Instance::takePooled(const std::string &path) {
    auto it = pool_.find(path);
    if (it == pool_.end() || it->second.empty()) return PooledConnection{};
    PooledConnection connection = std::move(it->second.back());
    it->second.pop_back();
    return connection;
}

void Instance::returnPooled(const std::string &path, PooledConnection connection) {
    auto &list = pool_[path];
    if (list.size() >= 4) {
        closeConnection(connection);
        return;
    }
    list.push_back(std::move(connection));
}

void Instance::closePooled(const std::string &path) {
    auto it = pool_.find(path);
    if (it == pool_.end()) return;
    for (PooledConnection &connection : it->second) closeConnection(connection);
    pool_.erase(it);
}

int Instance::registerSession(int dbid, const std::string &login) {
    int spid = nextSpid_++;
    sessions_[spid] = ProcessInfo{spid, dbid, login};
    return spid;
}

void Instance::unregisterSession(int spid) {
    sessions_.erase(spid);
    killHandlers_.erase(spid);
}

void Instance::setSessionDatabase(int spid, int dbid) {
    auto it = sessions_.find(spid);
    if (it != sessions_.end()) it->second.dbid = dbid;
}

std::vector<ProcessInfo> Instance::processes() const {
    std::vector<ProcessInfo> out;
    for (const auto &[spid, p] : sessions_) out.push_back(p);
    return out;
}

}  // namespace server
