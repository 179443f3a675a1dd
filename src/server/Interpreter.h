// The interpreter of a session's batches: variables, IF, WHILE, blocks, EXEC
// of procedures and of dynamic text, cursors and triggers. It runs on the
// session's engine (translation, prepared statements, plans, DDL); the
// session keeps the connection, options, transaction and caches.
// Single-threaded, one per session.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "server/Ast.h"
#include "server/Catalog.h"
#include "server/PseudoTable.h"
#include "server/ResultSet.h"
#include "server/Token.h"
#include "server/Translator.h"
#include "server/Value.h"

struct sqlite3;

namespace server {

class Session;

class Interpreter {
    struct Frame;

public:
    explicit Interpreter(Session &session);
    ~Interpreter();
    Interpreter(const Interpreter &) = delete;
    Interpreter &operator=(const Interpreter &) = delete;

    // The variables, literals and parameters of a top-level batch while it runs.
    class BatchScope {
    public:
        BatchScope(Interpreter &in, const std::vector<Token> &literals, const std::vector<Value> &params,
                   std::string_view text);
        ~BatchScope();
        BatchScope(const BatchScope &) = delete;
        BatchScope &operator=(const BatchScope &) = delete;

    private:
        Interpreter &in_;
        std::unique_ptr<Frame> frame_;
        Frame *saved_;
    };

    // Variables exist for the whole batch, as the server compiles them.
    void declareAll(const std::vector<std::shared_ptr<Statement>> &list);
    void declareIn(const Statement &st);
    // Runs one statement of the batch (Dispatch.cpp); throws SqlError.
    void runStatement(const Statement &st, BatchResult &out);
    // Evaluates an expression of `owner` as SELECT <expr> (slot: the
    // expression's place among the statement's expressions).
    Value evalValue(const Statement &owner, const ExprP &e, size_t slot, SqlType &type);

    // For the translator and the engine: the running batch's variables.
    bool variableType(const std::string &name, SqlType &type) const;
    const Value *variableValue(const char *name) const;  // name: lower-case with '@'
    Value variableOrThrow(const std::string &name);
    int64_t fetchStatus() const { return fetchStatus_; }
    // The pseudo-table of the firing trigger (`inserted`), or null.
    std::shared_ptr<const TableInfo> triggerTable(const std::string &name) const;

    // Lets go of every cursor (the session was killed).
    void clearCursors() { cursors_.clear(); }

private:
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
        std::shared_ptr<TableInfo> inserted, deleted;
    };
    // Parsed module bodies and dynamic texts, reused with their statements' plans.
    struct ParsedText {
        std::vector<Token> literals;
        Batch batch;
        bool makesTables = true;  // may make (temporary) tables
    };
    // What a firing of a trigger needs, worked out once per schema state.
    // `inserted` and `deleted` are virtual tables per table layout on this
    // connection (PseudoTable.h), made once and reading the firing's rows
    // from memory: creating and dropping tables per firing is DDL, after
    // which SQLite re-prepares every statement the caller holds.
    struct PseudoTable {
        std::string name;    // in temp
        std::string create;  // its CREATE VIRTUAL TABLE statement
        std::shared_ptr<TableInfo> info;
    };
    struct TriggerPrep {
        int64_t generation = -1;
        std::string body;
        std::shared_ptr<ParsedText> parsedBody;
        std::string read;  // the parent's row by rowid, all columns
        PseudoTable inserted, deleted;
        // Whether the body names them: rows are only noted for what it reads.
        bool readsInserted = false, readsDeleted = false;
    };

    // Control flow and variables (Interpreter.cpp).
    void runList(const std::vector<std::shared_ptr<Statement>> &list, BatchResult &out);
    void runLeaf(const Statement &st, BatchResult &out);
    void runAssignSelect(const Statement &st, BatchResult &out);
    bool evalCondition(const Statement &owner, const ExprP &e);
    Value stepScalar(const std::string &sql, int literalBase, const SqlType &type);
    void assign(const std::string &name, const Value &v, const SqlType &from);
    Variable &variable(const std::string &name);
    std::shared_ptr<ParsedText> parsedText(const std::string &text);
    void runNestedBatch(const std::string &text, BatchResult &out, const std::vector<Variable> *args = nullptr,
                        const std::vector<std::string> *argNames = nullptr);
    // Runs parsed text (`text`, which must outlive the run) as a nested batch.
    void runParsed(const std::shared_ptr<ParsedText> &held, std::string_view text, BatchResult &out,
                   const std::vector<Variable> *args = nullptr, const std::vector<std::string> *argNames = nullptr);
    void execProcedure(const Statement &st, BatchResult &out);
    void execDynamic(const Statement &st, BatchResult &out);
    void createModule(const Statement &st);
    void dropModule(const Statement &st);
    void toggleTrigger(const Statement &st);
    // Triggers (Triggers.cpp).
    // Runs a write and the triggers it fires as one atomic unit.
    void runWrite(const Statement &st, const Plan &plan, const std::vector<Token> &literals, int literalBase,
                  const std::vector<Value> &params, BatchResult &out);
    void prepareTriggerCapture(const Statement &st);
    void fireTriggers(const Statement &st, BatchResult &out);
    std::shared_ptr<const TriggerPrep> triggerPrep(Catalog &cat, const ObjectInfo &o);
    void ensurePseudoTable(const PseudoTable &t);
    static void beforeRowChange(void *self, sqlite3 *db, int op, const char *dbName, const char *table, long long rowid,
                                long long newRowid);
    // Cursors (Cursors.cpp).
    void declareCursor(const Statement &st);
    void openCursor(const Statement &st);
    void fetchCursor(const Statement &st, BatchResult &out);
    void closeCursor(const Statement &st);
    void deallocateCursor(const Statement &st);
    Cursor &cursor(const std::string &name);

    Session &s_;
    Frame *frame_ = nullptr;
    int64_t fetchStatus_ = -1;
    std::map<std::string, Cursor> cursors_;
    std::vector<TriggerContext> triggers_;
    std::map<int, std::shared_ptr<const TriggerPrep>> triggerPreps_;  // key: trigger id
    // Rows changed by the statement whose triggers are about to fire: the
    // rowids of its new rows, and the old rows themselves.
    std::vector<int64_t> captured_;
    const std::string *captureTable_ = nullptr;
    int captureOp_ = 0;
    bool captureInserted_ = false, captureDeleted_ = false, captureOnce_ = false;
    std::vector<int64_t> deletedRowids_;       // of the old rows held, in the same order
    std::unordered_set<int64_t> deletedSeen_;  // the same, looked up when a plan may change a row twice
    PseudoRows insertedRows_, deletedRows_;
    PseudoSource pseudo_;
    sqlite3 *pseudoModuleOn_ = nullptr;  // the connection the pseudo-table module was registered on
    std::map<std::string, std::shared_ptr<ParsedText>> parsedTexts_;
    int nesting_ = 0;
};

}  // namespace server
