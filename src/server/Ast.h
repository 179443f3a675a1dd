// The one syntax tree of the T-SQL subset. The parser builds it, the
// translators read it. Variables (@name) already have a node so that the
// procedural layer can bind them as SQLite parameters.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "server/SqlType.h"

namespace server {

struct Select;
using SelectP = std::shared_ptr<Select>;

// A possibly qualified object name: [db.][schema.]name; db..name leaves schema empty.
struct ObjectName {
    std::string db;
    std::string schema;
    std::string name;
    bool bracketed = false;
    std::string display() const;
};

struct TypeSpec {
    SqlType type;
    bool hasLength = false;
};

struct Expr;
using ExprP = std::shared_ptr<Expr>;

enum class ExprKind {
    Literal,  // literalType + text
    Null,
    Column,    // qualifier (may be empty) + name
    Variable,  // @name
    SysVar,    // @@name
    Param,     // ? marker, paramIndex
    Unary,     // op: "-", "+", "NOT"
    Binary,    // op: + - * / & = <> < > <= >= AND OR
    Function,  // name + args (COUNT(*) has star = true)
    Case,      // optional operand (args[0] when hasOperand), whens/thens, elseExpr
    Cast,      // CAST/CONVERT: castType, args[0], style
    Subquery,  // scalar subquery
    Exists,    // select
    InList,    // args[0] IN (args[1..])
    InSelect,  // args[0] IN (select)
    Between,   // args[0] BETWEEN args[1] AND args[2]
    Like,      // args[0] LIKE args[1]
    IsNull,    // args[0] IS [NOT] NULL
};

struct Expr {
    ExprKind kind = ExprKind::Null;
    std::string op;         // operator or function name (upper case)
    std::string text;       // literal text or column/variable name
    std::string qualifier;  // column qualifier (table or alias), may hold "db.schema.t" pieces joined
    SqlType literalType;
    int literalIndex = -1;  // which literal of the batch this is (for lifting)
    int paramIndex = -1;
    bool negated = false;   // NOT IN, NOT LIKE, IS NOT NULL, NOT EXISTS, NOT BETWEEN
    bool star = false;      // COUNT(*)
    bool distinct = false;  // COUNT(DISTINCT x)
    bool hasOperand = false;
    std::vector<ExprP> args;
    std::vector<ExprP> whens, thens;
    ExprP elseExpr;
    TypeSpec castType;
    int style = -1;
    SelectP select;
    size_t pos = 0;
};

struct SelectItem {
    ExprP expr;  // null for a star
    bool star = false;
    std::string starQualifier;  // a.* (empty for *)
    std::string alias;
    bool hasAlias = false;
    std::string assignVariable;  // SELECT @v = expr
};

enum class JoinType { Inner, Left, Right };

struct TableRef {
    enum class Kind { Named, Derived, OpenDataSource } kind = Kind::Named;
    ObjectName name;
    std::string alias;
    SelectP derived;
    bool keepOrder = false;  // the derived rows reach the outer query in their ORDER BY
    // OpenDataSource('provider', 'init string')...table
    std::string odsProvider, odsInit;
};

struct JoinItem {
    JoinType type = JoinType::Inner;
    TableRef table;
    ExprP on;
};

// One comma-separated member of FROM with its chain of joins.
struct FromItem {
    TableRef first;
    std::vector<JoinItem> joins;
};

struct OrderItem {
    ExprP expr;
    bool desc = false;
};

struct SelectCore {
    bool distinct = false;
    std::optional<int64_t> top;
    std::vector<SelectItem> items;
    std::optional<ObjectName> into;
    std::vector<FromItem> from;
    ExprP where;
    std::vector<ExprP> groupBy;
    ExprP having;
};

struct Select {
    std::vector<SelectCore> cores;
    std::vector<bool> unionAll;  // between cores[i] and cores[i+1]
    std::vector<OrderItem> orderBy;
};

struct ColumnDef {
    std::string name;
    TypeSpec type;
    bool notNull = false;
    bool explicitNull = false;
    bool identity = false;
    int64_t seed = 1, increment = 1;
    ExprP defaultExpr;
    bool primaryKey = false;
    bool unique = false;
    std::string constraintName;
};

struct TableConstraint {
    std::string name;
    bool primaryKey = false;  // else UNIQUE
    std::vector<std::string> columns;
};

enum class StmtKind {
    Select,
    Insert,
    Update,
    Delete,
    CreateTable,
    DropTable,
    AlterTable,
    Truncate,
    CreateIndex,
    SetOption,
    CreateDatabase,
    DropDatabase,
    Empty,
    // procedural
    Declare,           // decls
    SetVariable,       // variable = expr
    If,                // expr, body, elseBody
    While,             // expr, body
    Block,             // BEGIN body END
    CreateProcedure,   // target, params, bodyPos
    CreateTrigger,     // itemName, target (table), events, bodyPos
    DropModule,        // DROP PROCEDURE / TRIGGER: dropTargets, option "P" or "TR"
    Exec,              // target, args
    ExecDynamic,       // expr
    DeclareCursor,     // variable (cursor name), select
    OpenCursor,        // variable
    FetchCursor,       // variable, intoVars
    CloseCursor,       // variable
    DeallocateCursor,  // variable
    ToggleTrigger,     // DISABLE/ENABLE TRIGGER itemName ON target (on = enable)
    // server level
    Kill,     // expr
    Restore,  // itemName, disk, moves, recovery, replace
    Backup,   // itemName, disk; option "log" for BACKUP LOG
    Reconfigure,
    AlterDatabase,  // accepted, harmless
    SetDurability,  // ALTER DATABASE itemName SET DELAYED_DURABILITY = option
};

struct VarDecl {
    std::string name;  // with '@'
    TypeSpec type;
};

struct ProcParam {
    std::string name;  // with '@'
    TypeSpec type;
    ExprP defaultValue;
    bool output = false;
};

struct ExecArg {
    std::string name;  // "@p = value" form; empty for positional
    ExprP value;
};

// Compiled forms kept with a statement by the interpreter.
struct StatementCache {
    int64_t generation = -1;
    std::vector<std::string> exprSql;
    std::vector<SqlType> exprTypes;
    std::vector<int> triggerIds;  // triggers the statement fires
    std::string triggerTable;     // the SQLite table whose changed rows they see
    bool triggersChecked = false;
    bool refreshProcesses = false;  // an expression reads sysprocesses
    std::shared_ptr<void> plan;     // the translated plan (owned by the session's code)
    bool reusable = true;           // every translation here may serve a later run of its batch
};

enum class AlterAction { AddColumns, AlterColumn, DropColumn, DropConstraint, EnableTrigger, DisableTrigger };

struct SetAssign {
    std::string qualifier;
    std::string column;
    ExprP value;
};

struct Statement {
    StmtKind kind = StmtKind::Empty;
    size_t pos = 0;
    int firstToken = 0, endToken = 0;
    // SELECT (also INSERT ... SELECT)
    SelectP select;
    // INSERT / UPDATE / DELETE / DDL target
    ObjectName target;
    std::vector<std::string> columns;  // INSERT column list; index columns
    std::vector<ExprP> values;         // INSERT VALUES
    bool hasColumnList = false;
    // UPDATE / DELETE
    std::vector<SetAssign> sets;
    std::vector<FromItem> from;
    ExprP where;
    // CREATE TABLE / ALTER TABLE ADD
    std::vector<ColumnDef> columnDefs;
    std::vector<TableConstraint> constraints;
    AlterAction alter = AlterAction::AddColumns;
    std::string itemName;  // column, constraint, trigger or index name
    // CREATE INDEX
    bool unique = false;
    // SET option
    std::string option;
    bool on = false;
    std::vector<ObjectName> dropTargets;
    // procedural
    int literalBase = 0;  // index of the statement's first literal in the batch
    std::vector<VarDecl> decls;
    std::string variable;  // SET target or cursor name
    ExprP expr;            // condition, value, dynamic text, KILL target
    std::vector<std::shared_ptr<Statement>> body, elseBody;
    std::vector<ProcParam> params;
    std::vector<ExecArg> args;
    std::vector<std::string> intoVars;
    std::string events;  // trigger events: I, U, D
    size_t bodyPos = 0;  // where a module's body starts in the batch text
    // RESTORE / BACKUP
    std::string disk;
    std::vector<std::pair<std::string, std::string>> moves;  // logical name -> path
    bool recovery = true;
    bool replace = false;
    mutable std::shared_ptr<StatementCache> cache;
};

using StatementP = std::shared_ptr<Statement>;

struct Batch {
    std::vector<StatementP> statements;
};

}  // namespace server
