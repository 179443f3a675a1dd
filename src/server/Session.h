// One connection to a server instance: an spid, a current database, its own
// temporary tables, its options and its transaction. Executes T-SQL batches:
// the whole batch is parsed first (or taken from the cache of batches by
// their text with the literals lifted out), then its statements are handed to
// the session's Interpreter, which runs them on this session's engine
// (translation, prepared statements, plans, DDL). Statement-terminating
// errors let the batch go on; batch-aborting errors skip the rest (an open
// transaction stays open). Not copyable; single-threaded.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "server/BatchCache.h"
#include "server/Catalog.h"
#include "server/Instance.h"
#include "server/ResultSet.h"
#include "server/SqlFunctions.h"
#include "server/Token.h"
#include "server/Translator.h"
#include "server/Value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace server {

class Interpreter;

class Session : public TranslateContext {
public:
    // Logs in and opens `database`. Throws SqlError 18456 (login), 4060
    // (no such database). Never creates a file.
    Session(std::shared_ptr<Instance> instance, const std::string &login, const std::string &password,
            const std::string &database, bool integratedSecurity = false);
    ~Session() override;
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Runs a batch; `params` bind the ? markers in order. With spoolRows its
    // result sets keep their rows in spools (see RowSpool.h).
    BatchResult execute(std::string_view batch, const std::vector<Value> &params = {}, bool spoolRows = false);

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    // TranslateContext
    Catalog &catalog(const std::string &schema) override;
    std::string schemaOfDatabase(const std::string &db) override;
    std::string currentDatabase() const override { return dbName_; }
    std::string masterSchema() override;
    std::string openDataSource(const TableRef &ref, std::vector<OutputColumn> &columns) override;
    int spid() const override { return spid_; }
    std::string versionText() const override { return version_; }
    std::string identityInsertTable() const override { return identityInsert_; }
    bool variableType(const std::string &name, SqlType &type) const override;
    std::shared_ptr<const TableInfo> triggerTable(const std::string &name) const override;

    // Ends the session from another one (KILL): its transaction rolls back,
    // its connection closes, and every later batch fails.
    void kill();
    bool killed() const { return killed_; }

    Instance &instance() { return *instance_; }
    sqlite3 *handle() { return db_; }
    void run(const std::string &sql);  // internal SQL, throws SqlError
    bool filesListed();                // main.__pnw_files holds the data and log file rows
    // Before SQLite commits a write: a data file deleted or replaced since it
    // was opened refuses the commit, so nothing lost is acknowledged.
    static int beforeCommit(void *session);
    void takeWriteLock();
    // takeWriteLock when a client transaction that has only read runs a plan
    // that writes.
    void lockBeforeWrite(const Plan &plan);  // a client transaction that has only read, before its first write
    SqlError fileLostError();

    // Used by the DDL statements.
    void setIdentityInsert(const std::string &key) { identityInsert_ = key; }
    // Temporary tables a SELECT INTO made, by collation key of the name (see
    // DdlTempTables.cpp); forgotten after a rollback.
    struct KeptTempTable {
        std::string name;  // SQLite's table, as created
        std::string ddl;
        std::string layout;    // the T-SQL columns as the catalogue holds them
        bool dropped = false;  // dropped for T-SQL, kept empty in SQLite
    };
    std::map<std::string, KeptTempTable> &keptTempTables() { return keptTempTables_; }
    // Cached reads and translations are stale. After a rollback the shared
    // catalogue reads go too; after DDL that committed to its savepoint the
    // catalogue writers have already retired them (rolledBack false).
    void schemaChanged(bool rolledBack = true);
    // The DDL running now made or dropped a kept temporary table (and did
    // nothing else): see schemaChanged.
    void keptTempTableChanged() { keptTempChange_ = true; }
    // Runs translated SQL with the running statement's literals bound; returns the rows changed.
    int64_t runBound(const std::string &sql);
    // Evaluates a constant T-SQL expression converted to `type`.
    Value evaluate(const std::string &expression, const SqlType &type);
    // Runs a statement without results through the statement cache.
    void runCached(const std::string &sql);
    // Marks the catalogue reads stale when the scope ends (DDL, kept or undone;
    // kept: its catalogue writers already retired the shared reads).
    struct SchemaChangedOnExit {
        Session &session;
        bool kept = false;
        ~SchemaChangedOnExit() { session.schemaChanged(!kept); }
    };

    // The engine the interpreter runs on.
    Interpreter &interpreter() { return *interpreter_; }
    int64_t schemaGeneration() const { return schemaGeneration_; }
    // A prepared statement kept for reuse (reset, bindings left as they were).
    sqlite3_stmt *prepare(const std::string &sql);
    void finalizeStatements();
    // Binds literals (:lN), client parameters (:mN) and the running batch's variables (@name).
    void bindAll(sqlite3_stmt *st, const std::vector<Token> &tokens, int literalBase, const std::vector<Value> &params);
    SqlError mapError(int rc, const std::string &sql = {});
    // Runs a translated plan: query steps add result sets; a plan of several
    // steps is undone as a whole on error.
    void runPlan(const Plan &plan, const std::vector<Token> &tokens, int literalBase, const std::vector<Value> &params,
                 BatchResult &out);
    // A statement that changes the schema or the session (DDL, SET, SELECT INTO).
    void executeStatement(const struct Statement &st, const std::vector<Token> &tokens, int literalBase,
                          BatchResult &out, const std::vector<Value> &params);
    // KILL, RESTORE, BACKUP, sp_configure and the like (SessionServer.cpp).
    void runServerStatement(const Statement &st, BatchResult &out);
    // ALTER DATABASE ... SET DELAYED_DURABILITY (Durability.cpp).
    void setDelayedDurability(const std::string &database, const std::string &mode);
    // Puts the connection at its file's durability when another session changed it.
    void followDurability();
    void refreshProcesses();  // temp.__pnw_processes from the instance's sessions
    void checkAlive();        // throws 233 once killed; lets go of dropped databases
    // Whether the running statement has opened OpenDataSource tables.
    bool dataSourcesOpen() const { return !dataSources_.empty(); }
    // Closes the OpenDataSource tables of the running statement when it ends.
    struct CloseSources {
        Session &s;
        ~CloseSources() { s.closeDataSources(); }
    };

private:
    struct CachedBatch;
    void killSpid(const Value &spid);
    void executeDdl(const struct Statement &st, Translator &tr, BatchResult &out);
    bool resetForReuse();
    int64_t tempSchemaVersion();
    // Batch translations a pooled connection carries to its next session:
    // those valid now, when they depend on nothing the reset takes away.
    struct CarriedTranslations;
    std::shared_ptr<void> translationsForReuse();
    void adoptTranslations(const std::shared_ptr<void> &carried);
    Value objectId(const std::string &name);
    Value objectProperty(int64_t id, const std::string &prop);
    Value dbNameOf(const Value &id);
    void closeDataSources();

    std::shared_ptr<Instance> instance_;
    sqlite3 *db_ = nullptr;
    std::string dbName_;
    std::string file_;
    int dbid_ = 0;
    int spid_ = 0;
    std::string version_;
    std::string identityInsert_;
    bool explicitTransaction_ = false;
    std::map<std::string, std::unique_ptr<Catalog>> catalogs_;
    std::map<std::string, std::string> attached_;  // collation key of db name -> schema
    std::map<std::string, sqlite3_stmt *> stmtCache_;
    // The cached statements this session ran: only these need a reset when
    // it closes (a pooled connection holds up to hundreds).
    std::unordered_set<sqlite3_stmt *> usedStatements_;
    BatchCache<CachedBatch> batchCache_;
    std::map<std::string, KeptTempTable> keptTempTables_;
    int64_t schemaGeneration_ = 0;
    int64_t generationsHandedOut_ = 0;  // a generation number is never used twice
    // The generations of the sets of live kept temporary tables seen since
    // the last other change (see schemaChanged).
    std::map<std::string, int64_t> tempStates_;
    bool keptTempChange_ = false;
    std::string tempStateKey() const;
    void newGeneration() { schemaGeneration_ = ++generationsHandedOut_; }
    std::unique_ptr<SessionHooks> hooks_ = std::make_unique<SessionHooks>();
    std::vector<std::string> dataSources_;  // OpenDataSource tables of the running statement
    const std::vector<Token> *curLiterals_ = nullptr;
    int curBase_ = 0;
    const std::vector<Value> *curParams_ = nullptr;
    std::unique_ptr<Interpreter> interpreter_;
    int64_t tempSchemaAtOpen_ = -1;  // what resetForReuse compares with
    bool killed_ = false;
    bool fileLost_ = false;
    int64_t dropsSeen_ = 0;
    int64_t durabilitySeen_ = 0;  // the instance's durability generation the connection is at
};

// The interpreter's cache of a statement, renewed when the schema changed.
StatementCache &cacheOf(const Statement &st, int64_t generation);

// A column of the current row of a SQLite statement read through its declared type.
Value readSqliteValue(sqlite3_stmt *st, int i, const SqlType &type);

}  // namespace server
