// Taking a database file's write lock the way every lock is waited for:
// up to 3 seconds, then error 1222.
//
// SQLite waits for the lock only when a transaction starts writing before it
// has read the file. A transaction that has read first fails at once when
// another session holds the lock, and can never write once another session
// committed after its read (its snapshot is stale). So a statement that
// writes takes the lock before it reads anything: a client transaction that
// has only read starts again (reads keep no locks: read committed), and a
// statement outside a transaction runs in one of its own that begins holding
// the lock.
#pragma once

#include <string>

struct sqlite3;

namespace server {

class Session;
struct Statement;
class Translator;

// Makes `db` wait for a lock held by another connection as the server does:
// up to 3 seconds, checking often (SQLite's own timeout sleeps up to 100 ms
// between tries, so under load a waiter can miss its turn again and again).
void waitForLocks(sqlite3 *db);

// Takes `schema`'s write lock in the connection's open transaction, which has
// not read that file: a write that changes nothing.
void lockSchema(Session &s, const std::string &schema);

// Holds the write lock of `schema` ("" or "temp": none is needed) for one
// statement. Outside a transaction it begins one, committed by commit() and
// rolled back when the scope ends without it.
class WriteLockScope {
public:
    WriteLockScope(Session &s, const std::string &schema);
    ~WriteLockScope();
    WriteLockScope(const WriteLockScope &) = delete;
    WriteLockScope &operator=(const WriteLockScope &) = delete;
    void commit();

private:
    Session &s_;
    bool began_ = false;
};

// The schema a schema-changing statement writes ("temp" for # tables).
std::string ddlSchema(const Statement &st, Translator &tr);

}  // namespace server
