// Turns statements of the syntax tree into SQLite SQL. One translator file
// per statement kind; expressions, functions and name binding are shared.
// Literals of the batch become numbered parameters (?N, N counted from the
// statement's first literal), so a translation is reusable for any values.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "server/Ast.h"
#include "server/Catalog.h"
#include "server/SqlType.h"

struct sqlite3;

namespace server {

struct OutputColumn {
    std::string name;
    std::string sqlName;  // name of the column in the translated SQL ("" = name)
    SqlType type;
    bool nullable = true;
    bool identity = false;  // a plain reference to an identity column (SELECT INTO inherits it)
    int64_t seed = 1, increment = 1;
};

struct TExpr {
    std::string sql;
    SqlType type;
    bool nullable = true;
    bool isNullLiteral = false;
    bool aggregate = false;
    const ColumnInfo *column = nullptr;  // set for a plain column reference
    bool identityColumn = false;
    bool liftedText = false;  // a text literal whose reported length is a cap, not its length
};

// What the translator needs from the session.
class TranslateContext {
public:
    virtual ~TranslateContext() = default;
    // The catalogue of a SQLite schema ("main", "temp", or an attached database).
    virtual Catalog &catalog(const std::string &schema) = 0;
    // The SQLite schema holding a database's tables (attaches it when needed).
    // Throws 911 for an unknown database.
    virtual std::string schemaOfDatabase(const std::string &db) = 0;
    virtual std::string currentDatabase() const = 0;
    virtual std::string masterSchema() = 0;  // "main" when connected to master
    // An OpenDataSource rowset: the SQL table that reads it, open until the
    // statement ends; `columns` gets its columns. Throws SqlError.
    virtual std::string openDataSource(const TableRef &ref, std::vector<OutputColumn> &columns) = 0;
    virtual int spid() const = 0;
    virtual std::string versionText() const = 0;
    virtual std::string identityInsertTable() const = 0;  // collation key or ""
    // The declared type of a variable of the running batch; false when undeclared.
    virtual bool variableType(const std::string &name, SqlType &type) const {
        (void)name;
        (void)type;
        return false;
    }
    // The pseudo-table `inserted` of a running trigger, or null.
    virtual std::shared_ptr<const TableInfo> triggerTable(const std::string &name) const {
        (void)name;
        return nullptr;
    }
};

struct Source {
    std::string name;      // what qualifiers match: alias, else the table name
    std::string sqlAlias;  // quoted alias used in the SQL
    std::vector<OutputColumn> columns;
    std::vector<const ColumnInfo *> infos;  // parallel to columns for tables
    std::shared_ptr<const TableInfo> table;
    bool hasAlias = false;
};

struct Scope {
    std::vector<Source> sources;
    const Scope *parent = nullptr;
    bool aggregateAllowed = true;
};

struct StepPlan {
    std::string sql;
    bool query = false;  // rows go to the client
    std::vector<OutputColumn> columns;
};

struct Plan {
    std::vector<StepPlan> steps;
    // Decimal literals (batch indexes) whose digits shape nothing here: any
    // decimal literal in their place gives the same plan.
    std::vector<int> looseLiterals;
    bool cacheable = true;
    bool refreshProcesses = false;
    bool returnsRows = false;
};

class Translator {
public:
    Translator(TranslateContext &ctx, int literalBase);

    // DML and queries: a plan of SQL steps.
    Plan translate(const Statement &s);

    // Expressions (used by the statement translators).
    TExpr expr(const ExprP &e, const Scope &scope);
    TExpr convertTo(const TExpr &x, const SqlType &to, int mode, int style = -1);
    std::string predicate(const ExprP &e, const Scope &scope);  // boolean SQL
    TExpr function(const Expr &e, const Scope &scope);
    TExpr compare(const TExpr &a, const std::string &op, const TExpr &b);

    // Queries.
    struct SelectOut {
        std::string sql;
        std::vector<OutputColumn> columns;
    };
    // Output columns are named "__c0", "__c1" ... in the SQL.
    SelectOut select(const Select &s, const Scope *parent);
    Scope bindFrom(const std::vector<FromItem> &from, const Scope *parent, std::string &sql);
    Source bindTable(const TableRef &ref, const Scope *parent);
    // A base table as a source under a name (its own name when alias is empty).
    static Source tableSource(std::shared_ptr<const TableInfo> table, const std::string &alias);
    std::shared_ptr<const TableInfo> resolveTable(const ObjectName &n, bool mustExist = true);
    std::string schemaFor(const ObjectName &n);
    TExpr column(const Expr &e, const Scope &scope);

    // Reusable by a later batch of the same shape: reads no variable and
    // nothing of the session (temporary tables, @@spid, ...).
    bool cacheable() const { return cacheable_ && !usesVariables_; }
    // Reusable by a later run of the same procedural batch, whose variables
    // are declared again with the same types.
    bool cacheableWithVariables() const { return cacheable_; }
    bool refreshProcesses() const { return refreshProcesses_; }
    TranslateContext &context() { return ctx_; }
    void markUncacheable() { cacheable_ = false; }
    void setExactLiteralTypes() { liftTextLengths_ = false; }
    // Literals written into the SQL instead of parameters (defaults).
    void setInlineLiterals() { inlineLiterals_ = true; }

    std::string literalParam(const Expr &e);
    std::string newAlias();

private:
    Plan translateInsert(const Statement &s);
    Plan translateUpdate(const Statement &s);
    Plan translateDelete(const Statement &s);
    const Source *fromTarget(const ObjectName &name, const Scope &scope);
    Plan translateSelectStatement(const Statement &s);
    // SELECT @v = ... reading a variable it assigns: evaluated row by row.
    static bool runningAssignment(const Select &s);
    Plan translateAssignSelect(const Statement &s);
    TExpr arithmetic(const std::string &op, TExpr a, TExpr b);
    TExpr caseExpr(const Expr &e, const Scope &scope);
    std::string subqueryScalar(const Select &s, const Scope &scope, SqlType &type);
    bool systemView(const ObjectName &n, Source &out);
    void checkGrouped(const ExprP &e, const Scope &scope, const std::vector<std::string> &groupSqls);

    TranslateContext &ctx_;
    int literalBase_;
    bool cacheable_ = true;
    bool usesVariables_ = false;
    bool refreshProcesses_ = false;
    int aliasCounter_ = 0;
    bool liftTextLengths_ = true;
    bool inlineLiterals_ = false;
    std::string derivedSql_;
    std::set<std::string> liveVariables_;             // read through pnw_var (assigned row by row)
    const std::vector<ExprP> *groupExprs_ = nullptr;  // the FROM text of the last bound table
};

// The SQLite parameter a variable is bound to.
std::string variableParam(const std::string &name);

SqlType decimalOf(const SqlType &t);  // integer and money types seen as decimals
bool containsSubquery(const ExprP &e);

}  // namespace server
