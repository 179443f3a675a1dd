// Delayed durability of a database file, for loading a database that a
// failure would have to be rebuilt from scratch anyway:
//   ALTER DATABASE x SET DELAYED_DURABILITY = FORCED
// makes every connection whose main file is x's commit without syncing and
// checkpoint its WAL far less often;
//   ALTER DATABASE x SET DELAYED_DURABILITY = DISABLED (or ALLOWED)
// puts the ordinary setting back on every such connection and checkpoints
// the file, syncing the log and then the data file, before it returns: what
// was committed until then survives a power cut. Other files (master, other
// databases, x attached under another database) keep their setting
// throughout. The setting lives with the instance: a process that ends
// leaves the file at the ordinary setting.
#include <sqlite3.h>

#include <cstdint>
#include <cstring>

#include "server/FileAccess.h"
#include "server/Instance.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/SqliteError.h"
#include "server/TextUtil.h"

namespace server {

namespace {

// SQLite's own default between checkpoints, and the delayed one (4 KB pages:
// about 4 MB and 200 MB of log).
constexpr int kOrdinaryCheckpointPages = 1000;
constexpr intptr_t kDelayedCheckpointPages = 50000;

// SQLite's automatic checkpoint, with the delayed interval for the main file
// only (attached files keep the ordinary one).
int delayedCheckpointHook(void *pages, sqlite3 *db, const char *schema, int frames) {
    const int limit = std::strcmp(schema, "main") == 0 ? int(reinterpret_cast<intptr_t>(pages))
                                                        : kOrdinaryCheckpointPages;
    if (frames >= limit) sqlite3_wal_checkpoint_v2(db, schema, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    return SQLITE_OK;
}

}  // namespace

void Instance::applyDurability(sqlite3 *db, bool delayed) {
    sqlite3_exec(db, delayed ? "PRAGMA main.synchronous=OFF" : "PRAGMA main.synchronous=NORMAL", nullptr, nullptr,
                 nullptr);
    if (delayed)
        sqlite3_wal_hook(db, delayedCheckpointHook, reinterpret_cast<void *>(kDelayedCheckpointPages));
    else
        sqlite3_wal_autocheckpoint(db, kOrdinaryCheckpointPages);
}

void Instance::setDelayedDurability(const std::string &path, bool delayed) {
    const bool was = delayed_.count(path) > 0;
    if (delayed)
        delayed_.insert(path);
    else
        delayed_.erase(path);
    if (was != delayed) {
        ++durabilityGeneration_;
        // Live sessions follow at their next batch; idle connections now.
        auto pooled = pool_.find(path);
        if (pooled != pool_.end())
            for (PooledConnection &c : pooled->second) applyDurability(c.db, delayed);
    }
    if (delayed) return;
    // Everything committed so far into the data file, synced: the log first,
    // then the data file (SQLite's order under synchronous NORMAL).
    OpenTarget target = openTarget(path);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(target.name.c_str(), &db, target.flags, nullptr) != SQLITE_OK) {
        SqlError e = sqliteError(db, sqlite3_errcode(db));
        sqlite3_close(db);
        throw e;
    }
    sqlite3_busy_timeout(db, 3000);
    int logFrames = 0, copied = 0;
    int rc = sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK && !target.readOnly)
        rc = sqlite3_wal_checkpoint_v2(db, "main", SQLITE_CHECKPOINT_TRUNCATE, &logFrames, &copied);
    if (rc != SQLITE_OK) {
        SqlError e = sqliteError(db, rc, "CHECKPOINT");
        sqlite3_close(db);
        throw e;
    }
    sqlite3_close(db);
}

void Instance::forgetDurability(const std::string &path) {
    if (delayed_.erase(path)) ++durabilityGeneration_;
}

void Session::followDurability() {
    durabilitySeen_ = instance_->durabilityGeneration();
    Instance::applyDurability(db_, instance_->delayedDurability(file_));
}

void Session::setDelayedDurability(const std::string &database, const std::string &mode) {
    const std::string m = lowerAscii(mode);
    if (m != "forced" && m != "disabled" && m != "allowed") throw makeError(102, mode);
    auto info = instance_->database(database);
    if (!info || info->filename.empty()) throw makeError(911, database);
    instance_->setDelayedDurability(info->filename, m == "forced");
    if (info->filename == file_) followDurability();
}

}  // namespace server
