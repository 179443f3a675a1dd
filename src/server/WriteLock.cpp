#include "server/WriteLock.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

#include "server/Ast.h"
#include "server/Catalog.h"
#include "server/Session.h"
#include "server/Translator.h"

namespace server {

namespace {

constexpr auto kLockWait = std::chrono::seconds(3);

int busy(void *, int tries) {
    // One wait at a time per thread: its start is kept from the first try.
    thread_local std::chrono::steady_clock::time_point start;
    auto now = std::chrono::steady_clock::now();
    if (tries == 0) start = now;
    if (now - start >= kLockWait) return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(tries < 4 ? 500 : 2000));
    return 1;
}

}  // namespace

void waitForLocks(sqlite3 *db) { sqlite3_busy_handler(db, &busy, nullptr); }

void lockSchema(Session &s, const std::string &schema) {
    // Every database file holds the engine's catalogue; deleting nothing from
    // it is a write, so it waits for the lock by the connection's busy
    // timeout. BEGIN IMMEDIATE would lock master and every attached file too.
    // Prepared once: a client transaction per call takes it every time.
    s.runCached("DELETE FROM " + quoteIdent(schema) + ".__pnw_objects WHERE 0");
}

WriteLockScope::WriteLockScope(Session &s, const std::string &schema) : s_(s) {
    if (schema.empty() || schema == "temp") return;
    sqlite3 *db = s.handle();
    int state = sqlite3_txn_state(db, schema.c_str());
    if (state == SQLITE_TXN_WRITE) return;
    if (!s.inTransaction()) {
        s.run("BEGIN");
        began_ = true;
    } else if (state == SQLITE_TXN_READ && sqlite3_txn_state(db, nullptr) != SQLITE_TXN_WRITE) {
        // Only read so far: nothing is lost by starting again.
        s.run("ROLLBACK");
        s.run("BEGIN");
    }
    try {
        lockSchema(s, schema);
    } catch (...) {
        if (began_) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        began_ = false;
        throw;
    }
}

WriteLockScope::~WriteLockScope() {
    if (began_ && s_.handle() && !sqlite3_get_autocommit(s_.handle()))
        sqlite3_exec(s_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void WriteLockScope::commit() {
    if (!began_) return;
    s_.run("COMMIT");
    began_ = false;
}

std::string ddlSchema(const Statement &st, Translator &tr) {
    switch (st.kind) {
    case StmtKind::CreateTable:
    case StmtKind::Truncate:
    case StmtKind::AlterTable:
    case StmtKind::CreateIndex: return tr.schemaFor(st.target);
    case StmtKind::DropTable:
        for (const auto &target : st.dropTargets)
            if (tr.schemaFor(target) != "temp") return tr.schemaFor(target);
        return "temp";
    case StmtKind::Select:
        return st.select && !st.select->cores.empty() && st.select->cores.front().into
                   ? tr.schemaFor(*st.select->cores.front().into)
                   : "";
    default: return "";
    }
}

}  // namespace server
