// The engine's own catalogue of one database: every object with its id and
// every column with its declared T-SQL type, kept in two tables inside the
// database file (so DDL and catalogue change in the same transaction).
// Reads are cached per connection and dropped when the schema changes.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "server/SqlType.h"

struct sqlite3;
struct sqlite3_stmt;

namespace server {

struct ColumnInfo {
    std::string name;
    SqlType type;
    bool nullable = true;
    bool identity = false;
    int64_t seed = 1, increment = 1;
    int colid = 0;
    int cdefault = 0;        // id of the default constraint, 0 for none
    std::string defaultSql;  // the default's value as T-SQL text
};

struct TableInfo {
    int id = 0;
    std::string name;    // as created
    std::string schema;  // SQLite schema: "main", "temp" or an attached name
    std::vector<ColumnInfo> columns;
    std::string primaryKeyName;
    std::vector<std::string> primaryKeyColumns;
    bool rowidIdentity = false;  // the identity column is the rowid alias

    const ColumnInfo *column(const std::string &name) const;
    int identityIndex() const;
    std::string sqlName() const;  // schema-qualified, quoted
};

struct ObjectInfo {
    int id = 0;
    std::string name;
    std::string xtype;
    int parent = 0;
    bool disabled = false;
};

class Catalog {
public:
    // Creates the catalogue tables in `schema` when they are missing.
    static void ensure(sqlite3 *db, const std::string &schema);
    // Rebuilds the indexes of a file made under an older text order (the
    // TSQL collation must be registered); kept in the file's user_version.
    static void refreshCollation(sqlite3 *db, const std::string &schema);

    // The database file at path was created, replaced, dropped or opened
    // afresh: no connection reuses a catalogue read of it from before.
    static void forgetFile(const std::string &path);

    Catalog(sqlite3 *db, std::string schema);
    ~Catalog();
    Catalog(const Catalog &) = delete;
    Catalog &operator=(const Catalog &) = delete;

    // Drops the cached reads when another connection changed the schema;
    // true when it did.
    bool refreshIfChanged();
    // The schema version the last refreshIfChanged saw (-2 before the first).
    int64_t seenVersion() const { return seenVersion_; }
    // Takes over what an earlier session on the connection last saw: the
    // first refreshIfChanged then tells whether the schema moved since.
    void assumeSeen(int64_t version) { seenVersion_ = version; }

    // Case-insensitive lookups; null when absent.
    std::shared_ptr<const TableInfo> table(const std::string &name);
    std::optional<ObjectInfo> object(const std::string &name);
    std::optional<ObjectInfo> objectById(int id);
    std::vector<ObjectInfo> objectsOf(int parent);

    // Writers (run inside the caller's transaction).
    int addObject(const std::string &name, const std::string &xtype, int parent);
    void removeObject(int id);  // with its columns and child objects
    void addColumn(int tableId, const ColumnInfo &c);
    void updateColumn(int tableId, const ColumnInfo &c);
    void removeColumn(int tableId, const std::string &name);
    void setDisabled(int id, bool disabled);
    void setInfo(int id, const std::string &info);

    void invalidate();
    // The schema may have changed through DDL that went through the writers
    // (which already raised the shared generation): the next read checks the
    // schema version again and reuses a shared read that is still current.
    void recheck() { loaded_ = false; }
    const std::string &schema() const { return schema_; }

private:
    void load();
    // The catalogue's own statements on this connection, prepared once
    // (temporary tables made and dropped in a loop write and read it each
    // time); reset and unbound before they are handed out.
    sqlite3_stmt *statement(const std::string &sql, int &rc);
    // Runs a writer through its prepared statement; throws the server's error.
    void write(const std::string &sql, const std::function<void(sqlite3_stmt *)> &bind);
    std::map<std::string, sqlite3_stmt *> statements_;
    // A writer ran: this connection reloads, and no connection reuses a
    // catalogue read before the change.
    void changed();

    // What load() reads, shared between connections on the same file while
    // neither the schema nor the catalogue changed.
    struct Snapshot {
        std::map<std::string, std::shared_ptr<TableInfo>> tables;  // key: collation key of the name
        std::map<std::string, ObjectInfo> objects;
    };

    sqlite3 *db_;
    std::string schema_;
    std::string file_;  // the schema's file, canonical; "" when never shared
    bool loaded_ = false;
    int64_t schemaVersion_ = -1;
    int64_t seenVersion_ = -2;
    sqlite3_stmt *versionStmt_ = nullptr;
    std::shared_ptr<const Snapshot> snapshot_ = std::make_shared<const Snapshot>();
};

// Runs SQL without results; throws SqlError on failure.
void execSql(sqlite3 *db, const std::string &sql);
std::string quoteIdent(const std::string &name);
std::string quoteText(const std::string &text);

}  // namespace server
