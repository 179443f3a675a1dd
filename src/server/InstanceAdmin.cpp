// Server administration of an instance: KILL, configuration options, and
// backup and restore of databases in our backup format (a SQLite copy of the
// database holding `__pnw_backup` with the logical names of its files).
#include <sqlite3.h>

#include <filesystem>

#include "server/Catalog.h"
#include "server/Instance.h"
#include "server/SqlError.h"
#include "server/SqliteError.h"
#include "server/SqlFunctions.h"
#include "server/TextUtil.h"

namespace server {

namespace fs = std::filesystem;

namespace {

struct Db {
    sqlite3 *db = nullptr;
    Db(const std::string &path, int flags) {
        if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
            std::string msg = "出现操作系统错误 " + systemErrorText(db) + "。";
            sqlite3_close(db);
            db = nullptr;
            throw SqlError(3201, "无法打开备份设备 '" + path + "'。" + msg);
        }
        sqlite3_busy_timeout(db, 3000);
        // Indexes on text columns use the engine's collation: a copy rebuilds them.
        registerSqlFunctions(db, nullptr);
    }
    ~Db() { sqlite3_close(db); }
    Db(const Db &) = delete;
    Db &operator=(const Db &) = delete;
};

// Reads one row of text columns; false when the query returns none.
bool readRow(sqlite3 *db, const std::string &sql, std::vector<std::string> &out) {
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        return false;
    }
    bool got = sqlite3_step(st) == SQLITE_ROW;
    out.clear();
    if (got)
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const unsigned char *t = sqlite3_column_text(st, i);
            out.push_back(t ? reinterpret_cast<const char *>(t) : "");
        }
    sqlite3_finalize(st);
    return got;
}

// Logical names of a database's data and log files.
std::pair<std::string, std::string> logicalNames(sqlite3 *db, const std::string &dbName) {
    std::vector<std::string> row;
    std::pair<std::string, std::string> names{dbName, dbName + "_log"};
    if (readRow(db, "SELECT name FROM main.__pnw_files WHERE (status & 64) = 0 ORDER BY fileid", row))
        names.first = row[0];
    if (readRow(db, "SELECT name FROM main.__pnw_files WHERE (status & 64) <> 0 ORDER BY fileid", row))
        names.second = row[0];
    return names;
}

}  // namespace

void Instance::setKillHandler(int spid, std::function<void()> handler) { killHandlers_[spid] = std::move(handler); }

void Instance::kill(int spid, int requestingSpid) {
    if (spid == requestingSpid) throw makeError(6104);
    auto it = sessions_.find(spid);
    if (it == sessions_.end()) throw makeError(6106, std::to_string(spid));
    auto h = killHandlers_.find(spid);
    std::function<void()> handler = h != killHandlers_.end() ? h->second : nullptr;
    sessions_.erase(it);
    killHandlers_.erase(spid);
    if (handler) handler();
}

void Instance::configure(const std::string &option, int64_t value) {
    sqlite3 *m = master();
    std::vector<std::string> row;
    std::string name;
    bool advanced = false;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(m, "SELECT name, advanced, minimum, maximum FROM __pnw_config", -1, &st, nullptr);
    int64_t lo = 0, hi = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::string n = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
        if (collateCompare(n, trimRightBlanks(trimLeftBlanks(option))) == 0) {
            name = n;
            advanced = sqlite3_column_int(st, 1) != 0;
            lo = sqlite3_column_int64(st, 2);
            hi = sqlite3_column_int64(st, 3);
        }
    }
    sqlite3_finalize(st);
    if (name.empty()) throw makeError(15123, option);
    if (advanced) {
        readRow(m, "SELECT value_in_use FROM __pnw_config WHERE name = 'show advanced options'", row);
        if (row.empty() || row[0] != "1") throw makeError(15123, option);
    }
    if (value < lo || value > hi)
        throw SqlError(15129, "'" + std::to_string(value) + "' 不是配置选项 '" + name + "' 的有效值。");
    execSql(m, "UPDATE __pnw_config SET value = " + std::to_string(value) + " WHERE name = " + quoteText(name));
}

void Instance::reconfigure() { execSql(master(), "UPDATE __pnw_config SET value_in_use = value"); }

bool Instance::adHocQueriesEnabled() {
    std::vector<std::string> row;
    return readRow(master(), "SELECT value_in_use FROM __pnw_config WHERE name = 'Ad Hoc Distributed Queries'", row) &&
           row[0] == "1";
}

void Instance::backupDatabase(const std::string &name, const std::string &path) {
    auto d = database(name);
    if (!d || d->filename.empty()) throw makeError(911, name);
    std::error_code ec;
    fs::path target(path);
    if (!target.parent_path().empty() && !fs::is_directory(target.parent_path(), ec)) throw makeError(3201, path);
    fs::remove(target, ec);
    Db src(d->filename, SQLITE_OPEN_READWRITE);
    execSql(src.db, "VACUUM INTO " + quoteText(path));
    auto names = logicalNames(src.db, d->name);
    Db out(path, SQLITE_OPEN_READWRITE);
    execSql(out.db, "CREATE TABLE __pnw_backup(dbname TEXT, logical_data TEXT, logical_log TEXT)");
    execSql(out.db, "INSERT INTO __pnw_backup VALUES(" + quoteText(d->name) + "," + quoteText(names.first) + "," +
                        quoteText(names.second) + ")");
}

void Instance::restoreDatabase(const std::string &name, const std::string &path,
                               const std::vector<std::pair<std::string, std::string>> &moves, bool recovery,
                               bool replace) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) throw makeError(3201, path);
    std::string logicalData, logicalLog;
    {
        Db bak(path, SQLITE_OPEN_READONLY);
        std::vector<std::string> row;
        if (!readRow(bak.db, "SELECT logical_data, logical_log FROM __pnw_backup", row))
            throw SqlError(3241, "设备 '" + path + "' 上的介质簇的格式不正确。SQL Server 无法处理此介质簇。");
        logicalData = row[0];
        logicalLog = row[1];
    }
    std::string dataPath = (fs::path(folder_) / (name + ".mdf")).string();
    std::string logPath = (fs::path(folder_) / (name + "_log.ldf")).string();
    for (const auto &[logical, target] : moves) {
        if (collateCompare(logical, logicalData) == 0)
            dataPath = target;
        else if (collateCompare(logical, logicalLog) == 0)
            logPath = target;
        else
            throw makeError(3234, logical, name);
    }
    for (const std::string &p : {dataPath, logPath}) {
        fs::path parent = fs::path(p).parent_path();
        if (!parent.empty() && !fs::is_directory(parent, ec)) throw makeError(5133, p);
    }
    if (fs::path(dataPath) == fs::path(logPath)) throw SqlError(3176, "文件 '" + dataPath + "' 被多次指定。");
    auto existing = database(name);
    if (existing) {
        if (existing->dbid <= 2) throw makeError(3101);
        for (const auto &[spid, p] : sessions_)
            if (p.dbid == existing->dbid) throw makeError(3101);
        if (!replace && existing->state == 0) throw makeError(3159, existing->name);
    }
    // Another database's files are never overwritten.
    for (const std::string &p : {dataPath, logPath}) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(master(), "SELECT name, filename, logfile FROM __pnw_databases", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::string owner = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
            auto col = [&](int i) {
                const unsigned char *t = sqlite3_column_text(st, i);
                return std::string(t ? reinterpret_cast<const char *>(t) : "");
            };
            bool same = (!col(1).empty() && fs::equivalent(col(1), p, ec)) ||
                        (!col(2).empty() && fs::equivalent(col(2), p, ec));
            if (same && !(existing && collateCompare(owner, existing->name) == 0)) {
                sqlite3_finalize(st);
                throw SqlError(1834, "无法覆盖文件 '" + p + "'。数据库 '" + owner + "' 正在使用该文件。");
            }
        }
        sqlite3_finalize(st);
        if (!existing && fs::exists(p, ec) && !replace)
            throw SqlError(5170, "无法创建文件 '" + p + "'，因为它已经存在。");
    }
    // Copy under a temporary name first: a failed copy leaves nothing half-written.
    std::string tmp = dataPath + ".restoring";
    fs::remove(tmp, ec);
    if (!fs::copy_file(path, tmp, fs::copy_options::overwrite_existing, ec))
        throw SqlError(3203, "读取 '" + path + "' 失败：" + ec.message());
    try {
        Db out(tmp, SQLITE_OPEN_READWRITE);
        execSql(out.db, "DROP TABLE IF EXISTS __pnw_backup");
        execSql(out.db, "CREATE TABLE IF NOT EXISTS __pnw_files(fileid INTEGER PRIMARY KEY, name TEXT, filename TEXT, "
                        "status INTEGER)");
        execSql(out.db, "DELETE FROM __pnw_files");
        execSql(out.db, "INSERT INTO __pnw_files VALUES(1," + quoteText(logicalData) + "," + quoteText(dataPath) +
                            ",2),(2," + quoteText(logicalLog) + "," + quoteText(logPath) + ",66)");
        execSql(out.db, "PRAGMA journal_mode=WAL");
    } catch (...) {
        fs::remove(tmp, ec);
        throw;
    }
    if (existing) {
        execSql(master(), "DELETE FROM __pnw_databases WHERE dbid = " + std::to_string(existing->dbid));
        forgetFile(existing->filename);
        fs::remove(existing->filename, ec);
        fs::remove(existing->filename + "-wal", ec);
        fs::remove(existing->filename + "-shm", ec);
        if (!existing->logfile.empty()) fs::remove(existing->logfile, ec);
    }
    forgetFile(dataPath);
    fs::remove(dataPath + "-wal", ec);
    fs::remove(dataPath + "-shm", ec);
    fs::rename(tmp, dataPath, ec);
    if (ec) {
        fs::remove(tmp, ec);
        throw SqlError(3203, "无法写入 '" + dataPath + "'。");
    }
    // The log is a marker file: SQLite keeps its journal beside the data.
    {
        std::FILE *f = std::fopen(logPath.c_str(), "wb");
        if (f) std::fclose(f);
    }
    execSql(master(), "INSERT INTO __pnw_databases(dbid, name, filename, logfile, crdate, state) VALUES((SELECT "
                      "MAX(dbid) + 1 FROM __pnw_databases)," +
                          quoteText(name) + "," + quoteText(dataPath) + "," + quoteText(logPath) +
                          ", strftime('%Y-%m-%d %H:%M:%f','now','localtime')," + (recovery ? "0" : "1") + ")");
}

}  // namespace server
