// Temporary tables kept in SQLite after their DROP TABLE, for the next
// CREATE TABLE or SELECT INTO of the same name and layout (see Ddl.h). The catalogue is
// written as for any table; only SQLite's CREATE and DROP are saved. Every
// path checks that SQLite's table is there: after a rollback the session
// forgets what it kept, and a table left over is dropped before a new one
// of its name is made.
#include <sqlite3.h>

#include "server/Catalog.h"
#include "server/Ddl.h"
#include "server/Session.h"
#include "server/TextUtil.h"

namespace server {

namespace {

bool inSqlite(Session &s, const std::string &name) {
    sqlite3_stmt *st = s.prepare("SELECT 1 FROM temp.sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    sqlite3_bind_text(st, 1, name.data(), int(name.size()), SQLITE_TRANSIENT);
    bool found = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    return found;
}

// What the catalogue holds of the columns, which translations read.
std::string layoutOf(const std::vector<ColumnInfo> &cols) {
    std::string layout;
    for (const auto &c : cols) {
        layout += c.name + '\x01' + c.type.name() + '\x01' + (c.nullable ? "1" : "0") + (c.identity ? "1" : "0") +
                  '\x01' + c.defaultSql + '\x02';
    }
    return layout;
}

}  // namespace

void makeTempTable(Session &s, const std::string &name, const std::string &ddl, const std::vector<ColumnInfo> &cols,
                   bool keepable) {
    auto &kept = s.keptTempTables();
    const std::string key = collationKey(name);
    const std::string layout = layoutOf(cols);
    auto it = kept.find(key);
    if (keepable && it != kept.end() && it->second.dropped && it->second.name == name && it->second.ddl == ddl &&
        inSqlite(s, name)) {
        s.run("DELETE FROM temp." + quoteIdent(name));
        it->second.dropped = false;
        it->second.layout = layout;
        s.keptTempTableChanged();
        return;
    }
    if (it != kept.end()) {
        if (it->second.dropped && inSqlite(s, it->second.name)) s.run("DROP TABLE temp." + quoteIdent(it->second.name));
        kept.erase(it);
    }
    // Not in the catalogue (the caller checked), but left in SQLite.
    if (inSqlite(s, name)) s.run("DROP TABLE temp." + quoteIdent(name));
    s.run(ddl);
    if (keepable) {
        kept[key] = Session::KeptTempTable{name, ddl, layout, false};
        s.keptTempTableChanged();
    }
}

bool keepDroppedTempTable(Session &s, const std::string &name, const std::string &sqlName) {
    auto &kept = s.keptTempTables();
    auto it = kept.find(collationKey(name));
    if (it == kept.end() || it->second.dropped || it->second.name != name) return false;
    s.run("DELETE FROM " + sqlName);
    it->second.dropped = true;
    s.keptTempTableChanged();
    return true;
}

void forgetKeptTempTables(Session &s) {
    // Those dropped for T-SQL stay in SQLite until their name is used again
    // or the session ends; only the live ones change.
    auto &kept = s.keptTempTables();
    std::erase_if(kept, [](const auto &entry) { return !entry.second.dropped; });
}

}  // namespace server
