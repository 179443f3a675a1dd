// Server-level statements of a session: KILL, RESTORE, BACKUP,
// sp_configure / RECONFIGURE, and the harmless log maintenance statements.
#include <sqlite3.h>

#include <cstdlib>

#include "server/Convert.h"
#include "server/Interpreter.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"

namespace server {

void Session::kill() {
    if (killed_) return;
    killed_ = true;
    if (db_) {
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        finalizeStatements();
        catalogs_.clear();
        batchCache_.clear();
        interpreter_->clearCursors();
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void Session::checkAlive() {
    if (killed_ || !db_) throw SqlError(233, "与服务器的连接已断开：会话已被终止(KILL)。");
    if (dropsSeen_ != instance_->dropGeneration() && sqlite3_get_autocommit(db_)) {
        dropsSeen_ = instance_->dropGeneration();
        // A database was dropped or replaced: attached files are let go (and
        // attached again on their next use), so nothing writes into a
        // deleted file.
        if (!attached_.empty()) {
            finalizeStatements();
            batchCache_.clear();
            for (const auto &[key, schema] : attached_) {
                sqlite3_exec(db_, ("DETACH DATABASE " + quoteIdent(schema)).c_str(), nullptr, nullptr, nullptr);
                catalogs_.erase(schema);
            }
            attached_.clear();
            ++schemaGeneration_;
        }
    }
}

void Session::killSpid(const Value &v) {
    int64_t spid = v.kind == Value::Kind::Int ? v.i : v.kind == Value::Kind::Real ? int64_t(v.d) : 0;
    if (v.kind == Value::Kind::Text) spid = std::atoll(v.s.c_str());
    instance_->kill(int(spid), spid_);
}

void Session::runServerStatement(const Statement &st, BatchResult &out) {
    (void)out;
    auto outsideTransaction = [&](const char *what) {
        if (inTransaction()) throw makeError(574, what);
    };
    switch (st.kind) {
    case StmtKind::Kill: {
        SqlType type;
        Value v = interpreter_->evalValue(st, st.expr, 0, type);
        killSpid(v);
        return;
    }
    case StmtKind::Restore: {
        outsideTransaction("RESTORE DATABASE");
        instance_->restoreDatabase(st.itemName, st.disk, st.moves, st.recovery, st.replace);
        return;
    }
    case StmtKind::Backup:
        outsideTransaction(st.option == "log" ? "BACKUP LOG" : "BACKUP DATABASE");
        if (!instance_->database(st.itemName)) throw makeError(911, st.itemName);
        if (st.option != "log") instance_->backupDatabase(st.itemName, st.disk);
        return;
    case StmtKind::Reconfigure:
        outsideTransaction("RECONFIGURE");
        instance_->reconfigure();
        return;
    case StmtKind::AlterDatabase: {
        outsideTransaction("ALTER DATABASE");
        auto info = instance_->database(st.itemName);
        if (!info || info->filename.empty()) throw makeError(911, st.itemName);
        std::string schema = schemaOfDatabase(info->name);
        sqlite3_stmt *q =
            prepare("SELECT COUNT(*) FROM " + quoteIdent(schema) + ".__pnw_files WHERE name = ?1 COLLATE NOCASE");
        sqlite3_bind_text(q, 1, st.option.c_str(), -1, SQLITE_TRANSIENT);
        bool found = sqlite3_step(q) == SQLITE_ROW && sqlite3_column_int(q, 0) > 0;
        sqlite3_reset(q);
        if (!found) throw makeError(5041, st.option);
        return;
    }
    case StmtKind::SetDurability:
        outsideTransaction("ALTER DATABASE");
        setDelayedDurability(st.itemName, st.option);
        return;
    case StmtKind::Exec: {  // sp_configure 'option', value
        if (st.args.size() != 2) throw SqlError(15123, "sp_configure 需要选项名称和值。");
        SqlType t0, t1;
        Value name = interpreter_->evalValue(st, st.args[0].value, 0, t0);
        Value value = interpreter_->evalValue(st, st.args[1].value, 1, t1);
        if (name.isNull() || value.isNull()) throw makeError(15123, "");
        Value n = convertValue(name, t0, SqlType::of(Base::NVarChar, 4000), ConvertMode::Cast);
        Value x = convertValue(value, t1, SqlType::of(Base::BigInt), ConvertMode::Cast);
        instance_->configure(n.s, x.i);
        return;
    }
    default: throw makeError(102, "");
    }
}

}  // namespace server
