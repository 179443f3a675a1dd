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
#include "server/Translator.h"

struct sqlite3;
struct sqlite3_stmt;

namespace server {

struct Token;

class Session : public TranslateContext {
public:
    // Logs in and opens `database`. Throws SqlError 18456 (login), 4060
    // (no such database). Never creates a file.
    Session(std::shared_ptr<Instance> instance, const std::string& login, const std::string& password,
            const std::string& database, bool integratedSecurity = false);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Runs a batch; `params` bind the ? markers in order.
    BatchResult execute(std::string_view batch, const std::vector<Value>& params = {});

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    // TranslateContext
    Catalog& catalog(const std::string& schema) override;
    std::string schemaOfDatabase(const std::string& db) override;
    std::string currentDatabase() const override { return dbName_; }
    std::string masterSchema() override;
    std::string openDataSource(const TableRef& ref, std::vector<OutputColumn>& columns) override;
    int spid() const override { return spid_; }
    std::string versionText() const override { return version_; }
    std::string identityInsertTable() const override { return identityInsert_; }

    Instance& instance() { return *instance_; }
    sqlite3* handle() { return db_; }
    void run(const std::string& sql);  // internal SQL, throws SqlError

    // Used by the DDL statements.
    void setIdentityInsert(const std::string& key) { identityInsert_ = key; }
    void schemaChanged();
    // Runs translated SQL with the running statement's literals bound; returns the rows changed.
    int64_t runBound(const std::string& sql);
    // Evaluates a constant T-SQL expression converted to `type`.
    Value evaluate(const std::string& expression, const SqlType& type);

private:
    struct CachedBatch;
    void executeStatement(const struct Statement& st, const std::vector<Token>& tokens, int literalBase,
                          BatchResult& out, const std::vector<Value>& params, std::vector<Plan>* plans);
    void runPlan(const Plan& plan, const std::vector<Token>& tokens, int literalBase, const std::vector<Value>& params,
                 BatchResult& out);
    void executeDdl(const struct Statement& st, Translator& tr, BatchResult& out);
    sqlite3_stmt* prepare(const std::string& sql);
    void bindAll(sqlite3_stmt* st, const std::vector<Token>& tokens, int literalBase, const std::vector<Value>& params);
    SqlError mapError(int rc);
    void refreshProcesses();
    bool resetForReuse();
    Value objectId(const std::string& name);
    Value objectProperty(int64_t id, const std::string& prop);
    Value dbNameOf(const Value& id);
    void closeDataSources();

    std::shared_ptr<Instance> instance_;
    sqlite3* db_ = nullptr;
    std::string dbName_;
    std::string file_;
    int dbid_ = 0;
    int spid_ = 0;
    std::string version_;
    std::string identityInsert_;
    bool explicitTransaction_ = false;
    std::map<std::string, std::unique_ptr<Catalog>> catalogs_;
    std::map<std::string, std::string> attached_;  // collation key of db name -> schema
    std::map<std::string, sqlite3_stmt*> stmtCache_;
    std::map<std::string, std::shared_ptr<CachedBatch>> batchCache_;
    int64_t schemaGeneration_ = 0;
    SessionHooks hooks_;
    std::vector<std::string> dataSources_;  // OpenDataSource tables of the running statement
    const std::vector<Token>* curLiterals_ = nullptr;
    int curBase_ = 0;
    const std::vector<Value>* curParams_ = nullptr;
};

}  // namespace server
