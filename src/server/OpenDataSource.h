// OpenDataSource('<provider>', '<connection text>')...<table> over a Jet
// file. Needs the option 'Ad Hoc Distributed Queries' in use (15281), a
// provider the instance lists (7403), a file the provider can open with a
// workgroup logon it accepts (7303) and the table in it (7314). The rows are
// read through a temporary virtual table that the statement scans; the Jet
// types become the server's as its provider maps them.
#pragma once

#include <string>
#include <vector>

struct sqlite3;

namespace server {

class Instance;
struct TableRef;
struct OutputColumn;

class OpenDataSource {
public:
    // Opens the source and creates a temporary table on `db` that reads it;
    // fills `columns` with the mapped types. Returns the table's name (in
    // the schema "temp", unique in the process). Throws SqlError.
    static std::string open(Instance &instance, sqlite3 *db, const TableRef &ref, std::vector<OutputColumn> &columns);
    // Drops a table made by open (nothing when it is gone already).
    static void close(sqlite3 *db, const std::string &name);
};

}  // namespace server
