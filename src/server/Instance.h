// A server instance: a folder holding "master" (a SQLite file with the list
// of databases, the logins, the configuration options and the settings:
// the @@VERSION text and the OLE DB providers) and, by default, the database
// files. One Instance object per folder and process (Instance::open shares
// it and keeps it until the process ends or release); it keeps the list of
// live sessions. Single-threaded use only.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "server/SqlFunctions.h"

struct sqlite3;
struct sqlite3_stmt;

namespace server {

// DatabaseInfo::state of a database whose file was lost under a session.
constexpr int kSuspect = 2;

struct DatabaseInfo {
    int dbid = 0;
    std::string name;
    std::string filename;  // the SQLite file; "" for master's own entry and tempdb
    std::string logfile;   // the log file's path (a marker file beside the data)
    int state = 0;         // 1 while restoring (RESTORE ... WITH NORECOVERY), kSuspect when its file was lost
};

struct ProcessInfo {
    int spid = 0;
    int dbid = 0;
    std::string login;
};

class Instance {
public:
    // Opens an existing instance folder. Throws SqlError (the folder has no
    // master: number 17 "server does not exist").
    static std::shared_ptr<Instance> open(const std::string &folder);
    // Makes a new instance folder with master and one login. Fails when
    // the folder already holds a master.
    static void create(const std::string &folder, const std::string &login, const std::string &password);
    // Forgets an instance without sessions (its files close when the last user lets go).
    static void release(const std::string &folder);

    ~Instance();
    Instance(const Instance &) = delete;
    Instance &operator=(const Instance &) = delete;

    const std::string &folder() const { return folder_; }
    std::string masterPath() const;
    bool checkLogin(const std::string &login, const std::string &password);
    std::optional<DatabaseInfo> database(const std::string &name);
    std::optional<DatabaseInfo> databaseById(int dbid);
    std::string setting(const std::string &key, const std::string &fallback = {});
    void setSetting(const std::string &key, const std::string &value);
    std::string versionText();

    // CREATE DATABASE / DROP DATABASE (files live in the instance folder).
    void createDatabase(const std::string &name);
    void dropDatabase(const std::string &name, int requestingSpid);

    // Keeps one handle on a database file open for the instance's life, so
    // that closing a session does not checkpoint and remove the WAL each time.
    void holdFile(const std::string &path);
    // A database whose file was deleted or replaced under a session: it stays
    // listed and every connection to it fails with 926.
    void markSuspect(int dbid);

    // Connections of closed sessions, kept for the next session on the same
    // file with what the session left on them: the callbacks its functions
    // are bound to (refilled by the next session) and its prepared
    // statements (reset), so neither is made again. take gives a null
    // handle when none is free.
    struct PooledConnection {
        sqlite3 *db = nullptr;
        std::unique_ptr<SessionHooks> hooks;
        std::map<std::string, sqlite3_stmt *> statements;
        // The batch translations the session left, with the schema version
        // they hold for (opaque here; see Session).
        std::shared_ptr<void> translations;
    };
    PooledConnection takePooled(const std::string &path);
    void returnPooled(const std::string &path, PooledConnection connection);

    int registerSession(int dbid, const std::string &login);
    void unregisterSession(int spid);
    void setSessionDatabase(int spid, int dbid);
    std::vector<ProcessInfo> processes() const;

    // KILL: ends another session through the handler it registered.
    // Throws 6104 (own spid) and 6106 (no such session).
    void setKillHandler(int spid, std::function<void()> handler);
    void kill(int spid, int requestingSpid);

    // sp_configure / RECONFIGURE (values kept in master). Throws 15123 for
    // an unknown option, or an advanced one while advanced options are hidden.
    void configure(const std::string &option, int64_t value);
    void reconfigure();
    // Whether OpenDataSource may run ('Ad Hoc Distributed Queries' in use).
    bool adHocQueriesEnabled();

    // BACKUP DATABASE name TO DISK = path: a SQLite copy of the database that
    // also records the logical names of its data and log files.
    void backupDatabase(const std::string &name, const std::string &path);
    // RESTORE DATABASE name FROM DISK = path WITH [NO]RECOVERY, MOVE ..., REPLACE.
    void restoreDatabase(const std::string &name, const std::string &path,
                         const std::vector<std::pair<std::string, std::string>> &moves, bool recovery, bool replace);
    // Counts DROP and RESTORE ... REPLACE, so sessions notice files that went away.
    int64_t dropGeneration() const { return drops_; }

    // Delayed durability of a database file (Durability.cpp). While set,
    // commits on the connections whose main file it is do not sync, and its
    // log is checkpointed less often. Clearing it puts the ordinary setting
    // back and checkpoints the file, synced, before it returns; throws
    // SqlError when that checkpoint fails (1222 while a reader holds the log).
    void setDelayedDurability(const std::string &path, bool delayed);
    bool delayedDurability(const std::string &path) const { return delayed_.count(path) > 0; }
    // Counts changes of any file's durability: sessions follow when it moved.
    int64_t durabilityGeneration() const { return durabilityGeneration_; }
    // Puts a connection's main file at the delayed or the ordinary setting.
    static void applyDurability(sqlite3 *db, bool delayed);

private:
    explicit Instance(std::string folder);
    sqlite3 *master();

    std::string folder_;
    sqlite3 *master_ = nullptr;
    std::map<std::string, sqlite3_stmt *> masterStatements_;  // prepared once, reset after each use
    std::map<int, ProcessInfo> sessions_;
    std::map<std::string, sqlite3 *> held_;
    std::map<std::string, std::vector<PooledConnection>> pool_;
    static void closeConnection(PooledConnection &connection);
    void closePooled(const std::string &path);
    int nextSpid_ = 51;
    std::map<int, std::function<void()>> killHandlers_;
    int64_t drops_ = 0;
    void forgetFile(const std::string &path);
    std::set<std::string> delayed_;
    int64_t durabilityGeneration_ = 0;
    void forgetDurability(const std::string &path);
};

}  // namespace server
