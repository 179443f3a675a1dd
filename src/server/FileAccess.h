// How the engine opens a database file. A file that cannot be written, or
// whose folder cannot be (SQLite keeps its WAL side files beside it), is
// opened read-only, so reads still work and writes fail with 3906.
#pragma once

#include <string>

namespace server {

struct OpenTarget {
    std::string name;  // a plain path, or a "file:" URI for a read-only file
    int flags = 0;     // sqlite3_open_v2 flags (always with SQLITE_OPEN_URI)
    bool readOnly = false;
};

OpenTarget openTarget(const std::string &path);

}  // namespace server
