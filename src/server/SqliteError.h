// The server's error for a failure SQLite reports (not one of the engine's
// own "PNW#n#text" errors): lock time-out, read-only database, full or
// unreadable file, damaged pages, a missing object, a query too large.
// What no rule covers is reported as an internal error (50000 "内部错误").
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "server/SqlError.h"

struct sqlite3;

namespace server {

// The failure just reported on `db` (result code `rc`). `sql` is the
// statement that failed ("" when unknown): its target names the object of
// 1105. The database is named after the main file of `db`.
SqlError sqliteError(sqlite3 *db, int rc, const std::string &sql = {});

// The name CREATE UNIQUE INDEX gave the unique index of `table` over
// exactly `columns` ("" when there is none: a key of the table itself).
std::string uniqueIndexName(sqlite3 *db, const std::string &table, const std::vector<std::string> &columns);

// The operating-system error of the last failure on `db` as the server
// words it: number and text of the matching Windows error, "2(系统找不到指定的文件。)".
std::string systemErrorText(sqlite3 *db);

// An exception of the engine's own code that is not an SqlError.
SqlError internalError(const std::exception &e);

}  // namespace server
