#include "server/SqliteError.h"

#include <sqlite3.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <new>

namespace server {

namespace {

bool startsWith(const std::string &s, const char *prefix) { return s.rfind(prefix, 0) == 0; }

// The operating-system error as the server words it (number and text of the
// Windows error a client would see).
std::string systemError(int err) {
    switch (err) {
    case ENOENT: return "2(系统找不到指定的文件。)";
    case EACCES:
    case EPERM: return "5(拒绝访问。)";
    case ENOSPC:
    case EFBIG: return "112(磁盘空间不足。)";
    case EIO: return "23(数据错误(循环冗余检查)。)";
    default: return "1117(由于 I/O 设备错误，无法运行此项请求。)";
    }
}

std::string stripQuotes(std::string s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '[' || s.front() == '`')) s = s.substr(1, s.size() - 2);
    return s;
}

// The last part of a possibly qualified SQLite name ("main"."t" -> t).
std::string lastPart(const std::string &name) {
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '"') quoted = !quoted;
        if (name[i] == '.' && !quoted) start = i + 1;
    }
    return stripQuotes(name.substr(start));
}

// The table an INSERT, UPDATE, DELETE or CREATE TABLE statement writes.
std::string writtenTable(const std::string &sql) {
    size_t pos = 0;
    auto word = [&] {
        while (pos < sql.size() && sql[pos] == ' ') ++pos;
        size_t b = pos;
        bool quoted = false;
        while (pos < sql.size() && (quoted || (sql[pos] != ' ' && sql[pos] != '('))) {
            if (sql[pos] == '"') quoted = !quoted;
            ++pos;
        }
        std::string w = sql.substr(b, pos - b);
        if (w.empty() || w[0] != '"')
            for (char &c : w) c = char(std::toupper(static_cast<unsigned char>(c)));
        return w;
    };
    std::string verb = word();
    if (verb != "UPDATE" && verb != "INSERT" && verb != "DELETE" && verb != "CREATE") return {};
    std::string next = word();
    while (next == "INTO" || next == "FROM" || next == "OR" || next == "REPLACE" || next == "TABLE" || next == "TEMP" ||
           next == "IF" || next == "NOT" || next == "EXISTS")
        next = word();
    return lastPart(next);
}

// A file name as SQLite reports it: a "file:" URI is decoded.
std::string plainPath(const std::string &name) {
    if (!startsWith(name, "file:")) return name;
    std::string uri = name.substr(5, name.find('?') == std::string::npos ? std::string::npos : name.find('?') - 5);
    std::string out;
    for (size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size()) {
            out += char(std::stoi(uri.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += uri[i];
        }
    }
    return out;
}

std::string mainFile(sqlite3 *db) {
    const char *file = db ? sqlite3_db_filename(db, "main") : nullptr;
    return file ? file : "";
}

std::string databaseName(sqlite3 *db) {
    std::string file = mainFile(db);
    return file.empty() ? std::string("master") : std::filesystem::path(file).stem().string();
}

}  // namespace

SqlError sqliteError(sqlite3 *db, int rc, const std::string &sql) {
    const std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    const int ext = db ? sqlite3_extended_errcode(db) : rc;
    const int primary = ((ext & 0xFF) != 0 ? ext : rc) & 0xFF;
    const std::string database = databaseName(db);
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return makeError(1222);
    case SQLITE_READONLY: return makeError(3906, database);
    case SQLITE_FULL: {
        std::string table = writtenTable(sql);
        return makeError(1105, database, table.empty() ? std::string("dbo") : "dbo." + table);
    }
    case SQLITE_IOERR: {
        bool read = ext == SQLITE_IOERR_READ || ext == SQLITE_IOERR_SHORT_READ;
        return makeError(823, mainFile(db), read ? "读取" : "写入", systemError(db ? sqlite3_system_errno(db) : 0));
    }
    case SQLITE_CORRUPT: return makeError(824, mainFile(db));
    case SQLITE_NOTADB: return makeError(5172, mainFile(db));
    case SQLITE_CANTOPEN: {
        std::string file =
            msg.find(": ") != std::string::npos ? plainPath(msg.substr(msg.find(": ") + 2)) : mainFile(db);
        return makeError(5120, file, systemError(db ? sqlite3_system_errno(db) : ENOENT));
    }
    case SQLITE_NOMEM: return makeError(701);
    case SQLITE_TOOBIG:
        return makeError(7119, std::to_string(db ? sqlite3_limit(db, SQLITE_LIMIT_LENGTH, -1) : 1000000000));
    case SQLITE_CONSTRAINT: {
        // The engine makes no CHECK or FOREIGN KEY constraints; a file made elsewhere may have them.
        size_t colon = msg.find(": ");
        std::string name = colon == std::string::npos ? std::string() : stripQuotes(msg.substr(colon + 2));
        if (ext == SQLITE_CONSTRAINT_CHECK)
            return makeError(547, "语句与 CHECK 约束\"" + name + "\"冲突。该冲突发生于数据库\"" + database + "\"。");
        if (ext == SQLITE_CONSTRAINT_FOREIGNKEY)
            return makeError(547, "语句与 FOREIGN KEY 约束冲突。该冲突发生于数据库\"" + database + "\"。");
        break;
    }
    default: break;
    }
    if (startsWith(msg, "no such table: ")) return makeError(208, lastPart(msg.substr(15)));
    if (startsWith(msg, "no such column: ")) return makeError(207, lastPart(msg.substr(16)));
    if (startsWith(msg, "too many terms in compound SELECT") || startsWith(msg, "too many SQL variables") ||
        startsWith(msg, "too many columns") || startsWith(msg, "at most 64 tables in a join"))
        return makeError(8623);
    if (startsWith(msg, "Expression tree is too large") || startsWith(msg, "parser stack overflow"))
        return makeError(191);
    if (msg == "integer overflow") return makeError(8115, "expression", "bigint");
    return SqlError(50000, "内部错误：" + msg);
}

std::string uniqueIndexName(sqlite3 *db, const std::string &table, const std::vector<std::string> &columns) {
    auto rows = [&](const std::string &sql, int column) {
        std::vector<std::string> out;
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW) {
                const unsigned char *t = sqlite3_column_text(st, column);
                out.push_back(t ? reinterpret_cast<const char *>(t) : "");
            }
        sqlite3_finalize(st);
        return out;
    };
    auto quoted = [](const std::string &name) {
        std::string q = "'";
        for (char c : name) q += c == '\'' ? std::string("''") : std::string(1, c);
        return q + "'";
    };
    // Indexes made by CREATE INDEX are named "<table>$<index>" (DdlIndex.cpp).
    for (const auto &index :
         rows("SELECT name FROM pragma_index_list(" + quoted(table) + ") WHERE \"unique\" AND origin = 'c'", 0)) {
        if (rows("SELECT name FROM pragma_index_info(" + quoted(index) + ")", 0) != columns) continue;
        size_t dollar = index.find('$');
        return dollar == std::string::npos ? index : index.substr(dollar + 1);
    }
    return {};
}

std::string systemErrorText(sqlite3 *db) { return systemError(db ? sqlite3_system_errno(db) : 0); }

SqlError internalError(const std::exception &e) {
    if (dynamic_cast<const std::bad_alloc *>(&e)) return makeError(701);
    return SqlError(50000, std::string("内部错误：") + e.what());
}

}  // namespace server
