#include "server/FileAccess.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace server {

namespace {

std::string uriPath(const std::string &path) {
    std::string out;
    for (unsigned char c : path) {
        if (c == '%' || c == '?' || c == '#' || c <= ' ') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out;
}

bool nonEmptyFile(const std::string &path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && std::filesystem::file_size(path, ec) > 0 && !ec;
}

}  // namespace

OpenTarget openTarget(const std::string &path) {
    std::filesystem::path p = std::filesystem::absolute(path);
    std::string folder = p.parent_path().string();
    OpenTarget t;
    if (access(p.c_str(), W_OK) == 0 && access(folder.c_str(), W_OK) == 0) {
        t.name = path;
        t.flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI;
        return t;
    }
    t.readOnly = true;
    t.flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
    // A WAL left by a writer holds committed pages and is read with it; without
    // one nothing can change the file, and SQLite needs no side files for it.
    bool wal = nonEmptyFile(p.string() + "-wal") && nonEmptyFile(p.string() + "-shm");
    t.name = "file:" + uriPath(p.string()) + (wal ? "?mode=ro" : "?immutable=1");
    return t;
}

}  // namespace server
