// The interpreter's control flow: variables, IF, WHILE, blocks, EXEC of
// procedures and of dynamic text, CREATE/DROP of modules. Leaf statements
// keep their translation with the statement, so a statement inside a loop is
// translated and prepared once and rerun with its variables bound.
#include "server/Interpreter.h"

#include <sqlite3.h>

#include <algorithm>

#include "server/Convert.h"
#include "server/Parser.h"
#include "server/Savepoint.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Tokenizer.h"
#include "server/WriteLock.h"

namespace server {

StatementCache &cacheOf(const Statement &st, int64_t generation) {
    if (!st.cache || st.cache->generation != generation) {
        st.cache = std::make_shared<StatementCache>();
        st.cache->generation = generation;
    }
    return *st.cache;
}

namespace {

void bumpSchemaOf(Session &s, const std::string &schema) {
    std::string n = quoteIdent(schema) + ".\"__pnw_bump\"";
    s.run("CREATE TABLE " + n + "(x)");
    s.run("DROP TABLE " + n);
}

// Whether running the statements may make a table: CREATE TABLE, SELECT INTO, EXEC.
bool makesTables(const std::vector<StatementP> &list) {
    for (const auto &st : list) {
        switch (st->kind) {
        case StmtKind::CreateTable:
        case StmtKind::Exec:
        case StmtKind::ExecDynamic: return true;
        case StmtKind::Select:
            for (const auto &core : st->select->cores)
                if (core.into) return true;
            break;
        default: break;
        }
        if (makesTables(st->body) || makesTables(st->elseBody)) return true;
    }
    return false;
}

// Pieces of a + b + c, flattened.
void flattenConcat(const ExprP &e, std::vector<ExprP> &out) {
    if (e->kind == ExprKind::Binary && e->op == "+") {
        flattenConcat(e->args[0], out);
        flattenConcat(e->args[1], out);
        return;
    }
    out.push_back(e);
}

}  // namespace

Interpreter::Interpreter(Session &session) : s_(session) {}

Interpreter::~Interpreter() = default;

Interpreter::BatchScope::BatchScope(Interpreter &in, const std::vector<Token> &literals,
                                    const std::vector<Value> &params, std::string_view text)
    : in_(in), frame_(std::make_unique<Frame>()), saved_(in.frame_) {
    frame_->literals = &literals;
    frame_->params = &params;
    frame_->text = text;
    in_.frame_ = frame_.get();
}

Interpreter::BatchScope::~BatchScope() { in_.frame_ = saved_; }

const Value *Interpreter::variableValue(const char *name) const {
    if (!frame_) return nullptr;
    auto it = frame_->vars.find(name);
    return it == frame_->vars.end() ? nullptr : &it->second.value;
}

Value Interpreter::variableOrThrow(const std::string &name) { return variable(name).value; }

bool Interpreter::variableType(const std::string &name, SqlType &type) const {
    if (!frame_) return false;
    auto it = frame_->vars.find(lowerAscii(name));
    if (it == frame_->vars.end()) return false;
    type = it->second.type;
    return true;
}

Interpreter::Variable &Interpreter::variable(const std::string &name) {
    auto it = frame_->vars.find(lowerAscii(name));
    if (it == frame_->vars.end()) throw makeError(137, name);
    return it->second;
}

void Interpreter::assign(const std::string &name, const Value &v, const SqlType &from) {
    Variable &var = variable(name);
    var.value = v.isNull() ? Value::null() : convertValue(v, from, var.type, ConvertMode::Cast);
}

void Interpreter::declareAll(const std::vector<std::shared_ptr<Statement>> &list) {
    for (const auto &st : list) declareIn(*st);
}

void Interpreter::declareIn(const Statement &st) {
    for (const auto &d : st.decls) frame_->vars.emplace(lowerAscii(d.name), Variable{d.type.type, Value::null()});
    declareAll(st.body);
    declareAll(st.elseBody);
}

void Interpreter::runList(const std::vector<std::shared_ptr<Statement>> &list, BatchResult &out) {
    for (const auto &st : list) {
        try {
            runStatement(*st, out);
        } catch (const SqlError &e) {
            if (e.scope() != ErrorScope::Statement) throw;
            out.errors.push_back(e);
            for (const auto &[n, text] : e.followUps()) out.errors.push_back(SqlError(n, text));
        }
    }
}

void Interpreter::runLeaf(const Statement &st, BatchResult &out) {
    bool dml = st.kind == StmtKind::Insert || st.kind == StmtKind::Update || st.kind == StmtKind::Delete;
    bool query = st.kind == StmtKind::Select && !st.select->cores.front().into;
    if (!dml && !query) {
        s_.executeStatement(st, *frame_->literals, st.literalBase, out, *frame_->params);
        return;
    }
    Session::CloseSources closeSources{s_};
    StatementCache &c = cacheOf(st, s_.schemaGeneration());
    std::shared_ptr<Plan> planHolder = std::static_pointer_cast<Plan>(c.plan);
    if (!planHolder) {
        Translator tr(s_, st.literalBase);
        planHolder = std::make_shared<Plan>(tr.translate(st));
        planHolder->cacheable = tr.cacheable();
        planHolder->refreshProcesses = tr.refreshProcesses();
        c.reusable = c.reusable && tr.cacheableWithVariables();
        // An OpenDataSource table lives for this one run of the statement.
        if (!s_.dataSourcesOpen()) c.plan = planHolder;
    }
    const Plan &p = *planHolder;
    if (dml && triggers_.empty()) prepareTriggerCapture(st);
    runWrite(st, p, *frame_->literals, st.literalBase, *frame_->params, out);
}

void Interpreter::runAssignSelect(const Statement &st, BatchResult &out) {
    StatementCache &c = cacheOf(st, s_.schemaGeneration());
    if (!c.plan) {
        Translator tr(s_, st.literalBase);
        auto plan = std::make_shared<Plan>(tr.translate(st));
        plan->refreshProcesses = tr.refreshProcesses();
        c.reusable = c.reusable && tr.cacheableWithVariables();
        c.plan = plan;
    }
    const Plan &plan = *std::static_pointer_cast<Plan>(c.plan);
    if (plan.refreshProcesses) s_.refreshProcesses();
    // One row at a time: the next row's expressions read what this row assigned.
    const auto &items = st.select->cores.front().items;
    const StepPlan &step = plan.steps.at(0);
    sqlite3_stmt *q = s_.prepare(step.sql);
    s_.bindAll(q, *frame_->literals, st.literalBase, *frame_->params);
    int rc;
    try {
        while ((rc = sqlite3_step(q)) == SQLITE_ROW) {
            std::vector<Value> row;
            for (size_t i = 0; i < items.size() && i < step.columns.size(); ++i)
                row.push_back(readSqliteValue(q, int(i), step.columns[i].type));
            for (size_t i = 0; i < row.size(); ++i)
                if (!items[i].assignVariable.empty()) assign(items[i].assignVariable, row[i], step.columns[i].type);
        }
    } catch (...) {
        sqlite3_reset(q);
        throw;
    }
    if (rc != SQLITE_DONE) {
        SqlError e = s_.mapError(rc);
        sqlite3_reset(q);
        throw e;
    }
    sqlite3_reset(q);       // no row: the variables keep their values
    out.rowsAffected = -1;  // a query, not a change
}

Value Interpreter::stepScalar(const std::string &sql, int literalBase, const SqlType &type) {
    sqlite3_stmt *st = s_.prepare(sql);
    s_.bindAll(st, *frame_->literals, literalBase, *frame_->params);
    int rc = sqlite3_step(st);
    Value v;
    if (rc == SQLITE_ROW)
        v = readSqliteValue(st, 0, type);
    else if (rc != SQLITE_DONE) {
        SqlError e = s_.mapError(rc);
        sqlite3_reset(st);
        throw e;
    }
    sqlite3_reset(st);
    return v;
}

Value Interpreter::evalValue(const Statement &owner, const ExprP &e, size_t slot, SqlType &type) {
    StatementCache &c = cacheOf(owner, s_.schemaGeneration());
    if (c.exprSql.size() <= slot) {
        c.exprSql.resize(slot + 1);
        c.exprTypes.resize(slot + 1);
    }
    if (c.exprSql[slot].empty()) {
        Translator tr(s_, owner.literalBase);
        Scope scope;
        TExpr x = tr.expr(e, scope);
        c.exprSql[slot] = "SELECT " + x.sql;
        c.exprTypes[slot] = x.type;
        c.refreshProcesses = c.refreshProcesses || tr.refreshProcesses();
        c.reusable = c.reusable && tr.cacheableWithVariables();
    }
    type = c.exprTypes[slot];
    if (c.refreshProcesses) s_.refreshProcesses();
    return stepScalar(c.exprSql[slot], owner.literalBase, type);
}

bool Interpreter::evalCondition(const Statement &owner, const ExprP &e) {
    StatementCache &c = cacheOf(owner, s_.schemaGeneration());
    if (c.exprSql.empty()) {
        Translator tr(s_, owner.literalBase);
        Scope scope;
        c.exprSql.push_back("SELECT CASE WHEN " + tr.predicate(e, scope) + " THEN 1 ELSE 0 END");
        c.exprTypes.push_back(SqlType::of(Base::Int));
        c.refreshProcesses = tr.refreshProcesses();
        c.reusable = c.reusable && tr.cacheableWithVariables();
    }
    if (c.refreshProcesses) s_.refreshProcesses();
    Value v = stepScalar(c.exprSql[0], owner.literalBase, c.exprTypes[0]);
    return v.kind == Value::Kind::Int && v.i == 1;
}

std::shared_ptr<Interpreter::ParsedText> Interpreter::parsedText(const std::string &text) {
    auto hit = parsedTexts_.find(text);
    if (hit != parsedTexts_.end()) return hit->second;
    auto held = std::make_shared<ParsedText>();
    std::vector<Token> tokens = tokenize(text);
    for (const auto &t : tokens)
        if (t.literalIndex >= 0) held->literals.push_back(t);
    Parser parser(tokens);
    held->batch = parser.parseBatch();
    held->makesTables = makesTables(held->batch.statements);
    if (parsedTexts_.size() >= 64) parsedTexts_.clear();
    parsedTexts_[text] = held;
    return held;
}

void Interpreter::runNestedBatch(const std::string &text, BatchResult &out, const std::vector<Variable> *args,
                                 const std::vector<std::string> *argNames) {
    runParsed(parsedText(text), text, out, args, argNames);
}

void Interpreter::runParsed(const std::shared_ptr<ParsedText> &held, std::string_view text, BatchResult &out,
                            const std::vector<Variable> *args, const std::vector<std::string> *argNames) {
    if (nesting_ >= 32) throw SqlError(217, "超出了存储过程、函数、触发器或视图的最大嵌套层数(最大层数为 32)。");
    const Batch &parsed = held->batch;
    static const std::vector<Value> noParams;
    Frame frame;
    frame.literals = &held->literals;
    frame.params = &noParams;
    frame.text = text;
    if (args)
        for (size_t i = 0; i < args->size(); ++i) frame.vars[lowerAscii((*argNames)[i])] = (*args)[i];
    Frame *saved = frame_;
    frame_ = &frame;
    if (parsed.statements.empty() || parsed.statements[0]->kind != StmtKind::CreateProcedure)
        declareAll(parsed.statements);
    auto tempTables = [this] {
        std::vector<std::string> names;
        sqlite3_stmt *q = s_.prepare("SELECT name FROM temp.__pnw_objects WHERE xtype = 'U'");
        while (sqlite3_step(q) == SQLITE_ROW)
            names.push_back(reinterpret_cast<const char *>(sqlite3_column_text(q, 0)));
        sqlite3_reset(q);
        return names;
    };
    // A text that makes no tables (the usual trigger) needs no look at them.
    std::vector<std::string> before;
    if (held->makesTables) before = tempTables();
    // Temp tables made inside end with the nested batch.
    auto dropNew = [&] {
        if (!held->makesTables) return;
        for (const auto &n : tempTables())
            if (std::find(before.begin(), before.end(), n) == before.end()) {
                BatchResult ignored;
                Statement drop;
                drop.kind = StmtKind::DropTable;
                ObjectName on;
                on.name = n;
                drop.dropTargets.push_back(on);
                drop.target = on;
                try {
                    s_.executeStatement(drop, *frame_->literals, 0, ignored, *frame_->params);
                } catch (const SqlError &) {}
            }
    };
    ++nesting_;
    try {
        runList(parsed.statements, out);
        dropNew();
    } catch (...) {
        dropNew();
        frame_ = saved;
        --nesting_;
        throw;
    }
    frame_ = saved;
    --nesting_;
}

void Interpreter::execDynamic(const Statement &st, BatchResult &out) {
    std::vector<ExprP> pieces;
    flattenConcat(st.expr, pieces);
    std::string text;
    for (size_t i = 0; i < pieces.size(); ++i) {
        SqlType type;
        Value v = evalValue(st, pieces[i], i, type);
        if (v.isNull()) continue;
        Value t = convertValue(v, type, SqlType::of(Base::NVarChar, 4000), ConvertMode::Cast);
        text += t.s;
    }
    BatchResult inner;
    auto passOn = [&] {
        for (auto &rs : inner.resultSets) out.resultSets.push_back(std::move(rs));
        if (inner.rowsAffected >= 0) out.rowsAffected = inner.rowsAffected;
        for (auto &e : inner.errors) out.errors.push_back(e);
    };
    try {
        runNestedBatch(text, inner);
    } catch (const SqlError &e) {
        passOn();
        // A parse error ends only the inner text; a batch-aborting one the caller too.
        if (e.scope() != ErrorScope::Parse) throw;
        out.errors.push_back(e);
        return;
    }
    passOn();
}

void Interpreter::execProcedure(const Statement &st, BatchResult &out) {
    std::string name = st.target.name;
    if (iequals(name, "sp_configure")) {
        s_.runServerStatement(st, out);
        return;
    }
    std::string schema = "main";
    if (!st.target.db.empty()) schema = s_.schemaOfDatabase(st.target.db);
    auto o = s_.catalog(schema).object(name);
    if ((!o || o->xtype != "P") && st.target.db.empty() && lowerAscii(name).rfind("sp_", 0) == 0) {
        schema = s_.masterSchema();
        o = s_.catalog(schema).object(name);
    }
    if ((!o || o->xtype != "P") && lowerAscii(name).rfind("sp_", 0) == 0)
        throw makeError(102, name, "（不支持的语法：系统过程 " + name + "）");
    if (!o || o->xtype != "P") throw makeError(2812, name);
    std::string text;
    {
        sqlite3_stmt *q = s_.prepare("SELECT info FROM " + quoteIdent(schema) + ".__pnw_objects WHERE id = ?1");
        sqlite3_bind_int64(q, 1, o->id);
        if (sqlite3_step(q) == SQLITE_ROW && sqlite3_column_text(q, 0))
            text = reinterpret_cast<const char *>(sqlite3_column_text(q, 0));
        sqlite3_reset(q);
    }
    // The stored text is the CREATE PROCEDURE statement: its parameters first.
    std::shared_ptr<ParsedText> held = parsedText(text);
    const Batch &def = held->batch;
    if (def.statements.empty() || def.statements[0]->kind != StmtKind::CreateProcedure) throw makeError(2812, name);
    const Statement &proc = *def.statements[0];
    if (st.args.size() > proc.params.size()) throw makeError(8144, name);
    std::vector<Variable> values;
    std::vector<std::string> names;
    for (size_t i = 0; i < proc.params.size(); ++i) {
        const ProcParam &p = proc.params[i];
        const ExecArg *arg = nullptr;
        for (size_t k = 0; k < st.args.size(); ++k) {
            if (st.args[k].name.empty() ? k == i : iequals(st.args[k].name, p.name)) arg = &st.args[k];
        }
        Variable v{p.type.type, Value::null()};
        if (arg) {
            SqlType type;
            size_t slot = size_t(arg - st.args.data());
            Value x = evalValue(st, arg->value, slot, type);
            v.value = x.isNull() ? x : convertValue(x, type, p.type.type, ConvertMode::Cast);
        } else if (!p.defaultValue) {
            throw makeError(201, name, p.name);
        } else if (p.defaultValue->kind == ExprKind::Literal) {
            const Expr &d = *p.defaultValue;
            v.value = s_.evaluate(d.literalType.isText() ? quoteText(d.text) : d.text, p.type.type);
        }
        values.push_back(v);
        names.push_back(p.name);
    }
    std::string body = text.substr(proc.bodyPos);
    runNestedBatch(body, out, &values, &names);
}

void Interpreter::createModule(const Statement &st) {
    WriteLockScope lock(s_, "main");
    std::string text(frame_->text.substr(st.pos));
    Catalog &cat = s_.catalog("main");
    std::string name = st.kind == StmtKind::CreateProcedure ? st.target.name : st.itemName;
    if (cat.object(name)) throw makeError(2714, name);
    int parent = 0;
    std::string xtype = "P";
    std::string info = text;
    if (st.kind == StmtKind::CreateTrigger) {
        auto t = cat.table(st.target.name);
        if (!t) throw makeError(8197, st.target.display());
        parent = t->id;
        xtype = "TR";
        info = st.events + "\n" + text;
    }
    Session::SchemaChangedOnExit changed{s_};
    Savepoint savepoint(s_, Savepoint::kDdl);
    int id = cat.addObject(name, xtype, parent);
    cat.setInfo(id, info);
    bumpSchemaOf(s_, "main");
    savepoint.release();
    lock.commit();
}

void Interpreter::dropModule(const Statement &st) {
    WriteLockScope lock(s_, "main");
    Catalog &cat = s_.catalog("main");
    for (const auto &target : st.dropTargets) {
        auto o = cat.object(target.name);
        if (!o || o->xtype != st.option) throw makeError(3701, st.option == "P" ? "过程" : "触发器", target.name);
        cat.removeObject(o->id);
        bumpSchemaOf(s_, "main");
        s_.schemaChanged();
    }
    lock.commit();
}

void Interpreter::toggleTrigger(const Statement &st) {
    WriteLockScope lock(s_, "main");
    Catalog &cat = s_.catalog("main");
    auto t = cat.table(st.target.name);
    auto o = cat.object(st.itemName);
    if (!t || !o || o->xtype != "TR" || o->parent != t->id) throw makeError(8197, st.itemName);
    cat.setDisabled(o->id, !st.on);
    bumpSchemaOf(s_, "main");
    lock.commit();
    s_.schemaChanged();
}

}  // namespace server
