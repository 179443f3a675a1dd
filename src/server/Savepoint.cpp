#include "server/Savepoint.h"

#include <sqlite3.h>

#include "server/Session.h"

namespace server {

Savepoint::Savepoint(Session &session, const char *name)
    : session_(session), release_(std::string("RELEASE ") + name), rollback_(std::string("ROLLBACK TO ") + name) {
    session_.runCached(std::string("SAVEPOINT ") + name);
}

Savepoint::~Savepoint() {
    if (done_) return;
    // An error that ended the transaction took the savepoint with it.
    sqlite3 *db = session_.handle();
    if (!db || sqlite3_get_autocommit(db)) return;
    sqlite3_exec(db, rollback_.c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, release_.c_str(), nullptr, nullptr, nullptr);
}

void Savepoint::release() {
    done_ = true;
    session_.runCached(release_);
}

}  // namespace server
