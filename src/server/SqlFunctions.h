// The collation and the SQL functions the translated statements call on a
// SQLite connection. A function that fails reports "PNW#<number>#<text>" as
// its SQLite error; the session turns that back into a SqlError.
#pragma once

#include <functional>
#include <string>

#include "server/Value.h"

struct sqlite3;

namespace server {

// Callbacks into the session for the functions that read server state.
struct SessionHooks {
    std::function<Value(const std::string &)> objectId;
    std::function<Value(int64_t, const std::string &)> objectProperty;
    std::function<Value(const Value &)> dbName;
    std::function<Value(const std::string &)> variable;  // current value of a batch variable ("@name")
};

void registerSqlFunctions(sqlite3 *db, SessionHooks *hooks);

}  // namespace server
