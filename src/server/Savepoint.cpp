#include "server/Savepoint.h"

#include <sqlite3.h>

#include "server/Session.h"

namespace server {

const Savepoint::Name Savepoint::kStatement{"SAVEPOINT \"__stmt\"", "RELEASE \"__stmt\"", "ROLLBACK TO \"__stmt\""};
const Savepoint::Name Savepoint::kDdl{"SAVEPOINT \"__ddl\"", "RELEASE \"__ddl\"", "ROLLBACK TO \"__ddl\""};
const Savepoint::Name Savepoint::kTrigger{"SAVEPOINT \"__trigger\"", "RELEASE \"__trigger\"",
                                          "ROLLBACK TO \"__trigger\""};

Savepoint::Savepoint(Session &session, const Name &name) : session_(session), name_(name) {
    session_.runCached(name_.open);
}

Savepoint::~Savepoint() {
    if (done_) return;
    // An error that ended the transaction took the savepoint with it.
    sqlite3 *db = session_.handle();
    if (!db || sqlite3_get_autocommit(db)) return;
    sqlite3_exec(db, name_.rollback.c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, name_.release.c_str(), nullptr, nullptr, nullptr);
}

void Savepoint::release() {
    done_ = true;
    session_.runCached(name_.release);
}

}  // namespace server
