// A SQLite virtual table over one table of an open Jet file: the rows
// stream through a Jet cursor (one page in memory at a time), each value in
// the engine's storage form (Yes/No 1/0, Currency as the exact money double,
// Date/Time as datetime text, text as UTF-8, OLE as a blob). A damaged row
// fails the statement with 7330; a date the server cannot hold with 8115.
#pragma once

#include <memory>
#include <string>

struct sqlite3;

namespace jet {
class JetReader;
struct JetTableInfo;
}  // namespace jet

namespace server {

struct JetRowSource {
    std::string provider;                          // named in error texts
    std::shared_ptr<const jet::JetReader> reader;  // shared with later openings of the same file
    const jet::JetTableInfo *table = nullptr;      // owned by reader
};

class JetVirtualTable {
public:
    static constexpr const char *kModule = "pnw_jet";

    // Makes the module known to a connection (again is harmless).
    static void registerModule(sqlite3 *db);
    // Keeps a source for "CREATE VIRTUAL TABLE ... USING pnw_jet(<token>)".
    static void add(const std::string &token, std::shared_ptr<JetRowSource> source);
    static void remove(const std::string &token);
};

}  // namespace server
