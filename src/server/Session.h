// One connection to a server instance: an spid, a current database, its own
// temporary tables and its transaction. Executes T-SQL batches: the whole
// batch is parsed first, then each statement is translated and run on the
// session's SQLite connection. Statement-terminating errors let the batch go
// on; batch-aborting errors skip the rest (an open transaction stays open).
// Translations are cached by the batch's text with its literals lifted out.
// Not copyable; single-threaded.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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

class Session : public TranslateContext {
public:
    // Logs in and opens `database`. Throws SqlError 18456 (login), 4060
    // (no such database). Never creates a file.
    Session(std::shared_ptr<Instance> instance, const std::string &login, const std::string &password,
            const std::string &database, bool integratedSecurity = false);
    ~Session() override;
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Runs a batch; `params` bind the ? markers in order.
    BatchResult execute(std::string_view batch, const std::vector<Value> &params = {});

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
    // Cached reads and translations are stale. After a rollback the shared
    // catalogue reads go too; after DDL that committed to its savepoint the
    // catalogue writers have already retired them (rolledBack false).
    void schemaChanged(bool rolledBack = true);
    // Runs translated SQL with the running statement's literals bound; returns the rows changed.
    int64_t runBound(const std::string &sql);
    // Evaluates a constant T-SQL expression converted to `type`.
    Value evaluate(const std::string &expression, const SqlType &type);

private:
    struct CachedBatch;
    struct Variable {
        SqlType type;
        Value value;
    };
    // The running batch or procedure: its variables, literals and parameters.
    struct Frame {
        std::map<std::string, Variable> vars;  // key: lower-case name with '@'
        const std::vector<Token> *literals = nullptr;
        const std::vector<Value> *params = nullptr;
        std::string_view text;
    };
    struct Cursor {
        std::vector<StepPlan> steps;
        std::vector<Token> literals;
        int literalBase = 0;
        std::map<std::string, Variable> vars;  // values bound when it was declared
        std::vector<std::vector<Value>> rows;
        std::vector<SqlType> types;
        std::vector<ColumnMeta> columns;
        size_t next = 0;
        bool open = false;
        bool refreshProcesses = false;
    };
    struct TriggerContext {
        std::shared_ptr<TableInfo> inserted;
    };

    // The interpreter (SessionProc.cpp).
    void runList(const std::vector<std::shared_ptr<Statement>> &list, BatchResult &out);
    // Variables exist for the whole batch, as the server compiles them.
    void declareAll(const std::vector<std::shared_ptr<Statement>> &list);
    void declareIn(const Statement &st);
    void runStatement(const Statement &st, BatchResult &out);
    void runLeaf(const Statement &st, BatchResult &out);
    void runAssignSelect(const Statement &st, BatchResult &out);
    Value evalValue(const Statement &owner, const ExprP &e, size_t slot, SqlType &type);
    bool evalCondition(const Statement &owner, const ExprP &e);
    Value stepScalar(const std::string &sql, int literalBase, const SqlType &type);
    void assign(const std::string &name, const Value &v, const SqlType &from);
    Variable &variable(const std::string &name);
    void runNestedBatch(const std::string &text, BatchResult &out, const std::vector<Variable> *args = nullptr,
                        const std::vector<std::string> *argNames = nullptr);
    void execProcedure(const Statement &st, BatchResult &out);
    void execDynamic(const Statement &st, BatchResult &out);
    void createModule(const Statement &st);
    void dropModule(const Statement &st);
    void toggleTrigger(const Statement &st);
    void fireTriggers(const Statement &st, BatchResult &out);
    // What a firing of a trigger needs, worked out once per schema state.
    // `inserted` is a work table per table layout on this connection,
    // refilled per firing: creating and dropping it per firing is DDL, after
    // which SQLite re-prepares every statement the caller holds.
    struct TriggerPrep {
        int64_t generation = -1;
        std::string body;
        std::string create, clear, fill;  // the work table's statements
        std::shared_ptr<TableInfo> inserted;
    };
    const TriggerPrep *triggerPrep(Catalog &cat, const ObjectInfo &o);
    static void rowChanged(void *self, int op, const char *db, const char *table, long long rowid);
    void runCached(const std::string &sql);
    // Runs a write and the triggers it fires as one atomic unit.
    void runWrite(const Statement &st, const Plan &plan, const std::vector<Token> &literals, int literalBase,
                  const std::vector<Value> &params, BatchResult &out);
    void prepareTriggerCapture(const Statement &st);
    void declareCursor(const Statement &st);
    void openCursor(const Statement &st);
    void fetchCursor(const Statement &st, BatchResult &out);
    Cursor &cursor(const std::string &name);
    // Server level (SessionServer.cpp).
    void runServerStatement(const Statement &st, BatchResult &out);
    void killSpid(const Value &spid);
    void checkAlive();
    void executeStatement(const struct Statement &st, const std::vector<Token> &tokens, int literalBase,
                          BatchResult &out, const std::vector<Value> &params, std::vector<Plan> *plans);
    void runPlan(const Plan &plan, const std::vector<Token> &tokens, int literalBase, const std::vector<Value> &params,
                 BatchResult &out);
    void executeDdl(const struct Statement &st, Translator &tr, BatchResult &out);
    sqlite3_stmt *prepare(const std::string &sql);
    void bindAll(sqlite3_stmt *st, const std::vector<Token> &tokens, int literalBase, const std::vector<Value> &params);
    SqlError mapError(int rc);
    void refreshProcesses();
    bool resetForReuse();
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
    std::map<std::string, std::shared_ptr<CachedBatch>> batchCache_;
    int64_t schemaGeneration_ = 0;
    std::unique_ptr<SessionHooks> hooks_ = std::make_unique<SessionHooks>();
    std::vector<std::string> dataSources_;  // OpenDataSource tables of the running statement
    const std::vector<Token> *curLiterals_ = nullptr;
    int curBase_ = 0;
    const std::vector<Value> *curParams_ = nullptr;
    Frame *frame_ = nullptr;
    int64_t fetchStatus_ = -1;
    std::map<std::string, Cursor> cursors_;
    std::vector<TriggerContext> triggers_;
    std::map<int, TriggerPrep> triggerPreps_;  // key: trigger id
    // Rows changed by the statement whose triggers are about to fire.
    std::vector<int64_t> captured_;
    const std::string *captureTable_ = nullptr;
    int captureOp_ = 0;
    // Parsed module bodies and dynamic texts, reused with their statements' plans.
    struct ParsedText {
        std::vector<Token> literals;
        Batch batch;
    };
    std::map<std::string, std::shared_ptr<ParsedText>> parsedTexts_;
    std::shared_ptr<ParsedText> parsedText(const std::string &text);
    int nesting_ = 0;
    bool killed_ = false;
    bool fileLost_ = false;
    int64_t dropsSeen_ = 0;
};

// The interpreter's cache of a statement, renewed when the schema changed.
StatementCache &cacheOf(const Statement &st, int64_t generation);

// A column of the current row of a SQLite statement read through its declared type.
Value readSqliteValue(sqlite3_stmt *st, int i, const SqlType &type);

}  // namespace server
