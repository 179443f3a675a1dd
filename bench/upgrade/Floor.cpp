#include "Floor.h"

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <vector>

#include "jet/JetError.h"
#include "jet/JetReader.h"
#include "server/SqlFunctions.h"

namespace {

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Tables that hold data: not SQLite's own, not the engine's catalogue.
std::vector<std::string> userTables(sqlite3 *db) {
    std::vector<std::string> names;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
                       "AND name NOT LIKE '\\_\\_pnw%' ESCAPE '\\'",
                       -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) names.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return names;
}

std::string quoted(const std::string &name) { return '"' + name + '"'; }

bool exec(sqlite3 *db, const std::string &sql, std::string &error) {
    char *message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    error = sql.substr(0, 80) + ": " + (message ? message : "");
    sqlite3_free(message);
    return false;
}

void readSource(const std::string &source, Floor &floor) {
    try {
        const auto start = std::chrono::steady_clock::now();
        jet::JetReader reader(source);
        std::vector<jet::Value> row;
        for (const jet::JetTableInfo &table : reader.tables()) {
            if (table.system) continue;
            auto cursor = reader.openTable(table.name);
            while (cursor->next(row)) ++floor.sourceRows;
        }
        floor.readSeconds = since(start);
    } catch (const std::exception &e) {
        floor.error = std::string("source: ") + e.what();
    }
}

void writeTarget(const std::string &target, const std::string &scratch, Floor &floor) {
    sqlite3 *from = nullptr, *to = nullptr;
    std::error_code ec;
    std::filesystem::remove(scratch, ec);
    if (sqlite3_open_v2(target.c_str(), &from, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
        sqlite3_open_v2(scratch.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        floor.error = "cannot open the target or the scratch file";
    } else {
        // The text collation of the indexes, as the server registers it.
        server::registerSqlFunctions(from, nullptr);
        server::registerSqlFunctions(to, nullptr);
        std::vector<std::string> tables = userTables(from);
        std::vector<std::string> layout;
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(from,
                           "SELECT sql FROM sqlite_master WHERE sql IS NOT NULL AND type IN ('table', 'index') "
                           "AND name NOT LIKE 'sqlite_%' ORDER BY type DESC",
                           -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) layout.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        std::string &error = floor.error;
        bool ok = exec(to, "PRAGMA journal_mode=WAL", error) && exec(to, "PRAGMA synchronous=NORMAL", error);
        for (const std::string &sql : layout) ok = ok && exec(to, sql, error);
        const auto start = std::chrono::steady_clock::now();
        ok = ok && exec(to, "BEGIN", error);
        for (const std::string &table : tables) {
            if (!ok) break;
            sqlite3_stmt *read = nullptr, *insert = nullptr;
            sqlite3_prepare_v2(from, ("SELECT * FROM " + quoted(table)).c_str(), -1, &read, nullptr);
            const int columns = read ? sqlite3_column_count(read) : 0;
            std::string values;
            for (int i = 0; i < columns; ++i) values += i ? ",?" : "?";
            if (!read || sqlite3_prepare_v2(to, ("INSERT INTO " + quoted(table) + " VALUES(" + values + ")").c_str(), -1,
                                            &insert, nullptr) != SQLITE_OK) {
                error = table + ": " + sqlite3_errmsg(read ? to : from);
                ok = false;
            }
            while (ok && sqlite3_step(read) == SQLITE_ROW) {
                for (int i = 0; i < columns; ++i) sqlite3_bind_value(insert, i + 1, sqlite3_column_value(read, i));
                if (sqlite3_step(insert) != SQLITE_DONE) {
                    error = table + ": " + sqlite3_errmsg(to);
                    ok = false;
                }
                sqlite3_reset(insert);
                ++floor.targetRows;
            }
            sqlite3_finalize(read);
            sqlite3_finalize(insert);
        }
        ok = ok && exec(to, "COMMIT", error);
        floor.writeSeconds = since(start);
    }
    sqlite3_close(from);
    sqlite3_close(to);
    for (const char *side : {"", "-wal", "-shm"}) std::filesystem::remove(scratch + side, ec);
}

}  // namespace

Floor MeasureFloor(const std::string &source, const std::string &target, const std::string &scratch) {
    Floor floor;
    readSource(source, floor);
    if (floor.error.empty()) writeTarget(target, scratch, floor);
    return floor;
}

std::map<std::string, int64_t> CountRows(const std::string &file) {
    std::map<std::string, int64_t> rows;
    if (!std::filesystem::exists(file)) return rows;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 1000);
        server::registerSqlFunctions(db, nullptr);  // a count may walk an index in the text collation
        for (const std::string &table : userTables(db)) {
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v2(db, ("SELECT COUNT(*) FROM " + quoted(table)).c_str(), -1, &st, nullptr) ==
                    SQLITE_OK &&
                sqlite3_step(st) == SQLITE_ROW)
                rows[table] = sqlite3_column_int64(st, 0);
            sqlite3_finalize(st);
        }
    }
    sqlite3_close(db);
    return rows;
}
