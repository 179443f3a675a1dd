// The interpreter of the procedural statements: variables, IF, WHILE, blocks,
// EXEC of procedures and of dynamic text, triggers and cursors. Leaf
// statements keep their translation with the statement, so a statement inside
// a loop is translated and prepared once and rerun with its variables bound.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>

#include "server/Convert.h"
#include "server/Ddl.h"
#include "server/Parser.h"
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

bool isProcedural(StmtKind k) {
    switch (k) {
    case StmtKind::Select:
    case StmtKind::Insert:
    case StmtKind::Update:
    case StmtKind::Delete:
    case StmtKind::CreateTable:
    case StmtKind::DropTable:
    case StmtKind::AlterTable:
    case StmtKind::Truncate:
    case StmtKind::CreateIndex:
    case StmtKind::SetOption:
    case StmtKind::CreateDatabase:
    case StmtKind::DropDatabase:
    case StmtKind::Empty: return false;
    default: return true;
    }
}

bool hasAssignment(const Statement &st) {
    if (st.kind != StmtKind::Select || !st.select) return false;
    for (const auto &core : st.select->cores)
        for (const auto &item : core.items)
            if (!item.assignVariable.empty()) return true;
    return false;
}

void bumpSchemaOf(Session &s, const std::string &schema) {
    std::string n = quoteIdent(schema) + ".\"__pnw_bump\"";
    s.run("CREATE TABLE " + n + "(x)");
    s.run("DROP TABLE " + n);
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

bool Session::variableType(const std::string &name, SqlType &type) const {
    if (!frame_) return false;
    auto it = frame_->vars.find(lowerAscii(name));
    if (it == frame_->vars.end()) return false;
    type = it->second.type;
    return true;
}

std::shared_ptr<const TableInfo> Session::triggerTable(const std::string &name) const {
    if (triggers_.empty() || !iequals(name, "inserted")) return nullptr;
    return triggers_.back().inserted;
}

Session::Variable &Session::variable(const std::string &name) {
    auto it = frame_->vars.find(lowerAscii(name));
    if (it == frame_->vars.end()) throw makeError(137, name);
    return it->second;
}

void Session::assign(const std::string &name, const Value &v, const SqlType &from) {
    Variable &var = variable(name);
    var.value = v.isNull() ? Value::null() : convertValue(v, from, var.type, ConvertMode::Cast);
}

void Session::declareAll(const std::vector<std::shared_ptr<Statement>> &list) {
    for (const auto &st : list) declareIn(*st);
}

void Session::declareIn(const Statement &st) {
    for (const auto &d : st.decls) frame_->vars.emplace(lowerAscii(d.name), Variable{d.type.type, Value::null()});
    declareAll(st.body);
    declareAll(st.elseBody);
}

void Session::runList(const std::vector<std::shared_ptr<Statement>> &list, BatchResult &out) {
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

void Session::runStatement(const Statement &st, BatchResult &out) {
    checkAlive();
    switch (st.kind) {
    case StmtKind::Declare:  // declared when the batch started; met again in a loop it changes nothing
        return;
    case StmtKind::SetVariable: {
        variable(st.variable);
        SqlType type;
        Value v = evalValue(st, st.expr, 0, type);
        assign(st.variable, v, type);
        return;
    }
    case StmtKind::If:
        if (evalCondition(st, st.expr))
            runList(st.body, out);
        else
            runList(st.elseBody, out);
        return;
    case StmtKind::While:
        while (evalCondition(st, st.expr)) runList(st.body, out);
        return;
    case StmtKind::Block: runList(st.body, out); return;
    case StmtKind::CreateProcedure:
    case StmtKind::CreateTrigger: createModule(st); return;
    case StmtKind::DropModule: dropModule(st); return;
    case StmtKind::ToggleTrigger: toggleTrigger(st); return;
    case StmtKind::Exec: execProcedure(st, out); return;
    case StmtKind::ExecDynamic: execDynamic(st, out); return;
    case StmtKind::DeclareCursor: declareCursor(st); return;
    case StmtKind::OpenCursor: openCursor(st); return;
    case StmtKind::FetchCursor: fetchCursor(st, out); return;
    case StmtKind::CloseCursor: {
        Cursor &c = cursor(st.variable);
        if (!c.open) throw makeError(16917);
        c.open = false;
        c.rows.clear();
        return;
    }
    case StmtKind::DeallocateCursor:
        cursor(st.variable);
        cursors_.erase(lowerAscii(st.variable));
        return;
    default: break;
    }
    if (isProcedural(st.kind)) {
        runServerStatement(st, out);
        return;
    }
    if (hasAssignment(st)) {
        runAssignSelect(st, out);
        return;
    }
    runLeaf(st, out);
}

void Session::runLeaf(const Statement &st, BatchResult &out) {
    bool dml = st.kind == StmtKind::Insert || st.kind == StmtKind::Update || st.kind == StmtKind::Delete;
    bool query = st.kind == StmtKind::Select && !st.select->cores.front().into;
    if (!dml && !query) {
        executeStatement(st, *frame_->literals, st.literalBase, out, *frame_->params, nullptr);
        return;
    }
    StatementCache &c = cacheOf(st, schemaGeneration_);
    std::shared_ptr<Plan> planHolder = std::static_pointer_cast<Plan>(c.plan);
    if (!planHolder) {
        Translator tr(*this, st.literalBase);
        planHolder = std::make_shared<Plan>(tr.translate(st));
        planHolder->refreshProcesses = tr.refreshProcesses();
        c.plan = planHolder;
    }
    const Plan &p = *planHolder;
    if (dml && triggers_.empty()) prepareTriggerCapture(st);
    runWrite(st, p, *frame_->literals, st.literalBase, *frame_->params, out);
}

void Session::runWrite(const Statement &st, const Plan &plan, const std::vector<Token> &literals, int literalBase,
                       const std::vector<Value> &params, BatchResult &out) {
    bool fires = st.kind != StmtKind::Select && triggers_.empty() && st.cache && !st.cache->triggerIds.empty();
    if (!fires) {
        runPlan(plan, literals, literalBase, params, out);
        return;
    }
    // The restart that takes the write lock must come before the savepoint.
    lockBeforeWrite(plan);
    runCached("SAVEPOINT \"__trigger\"");
    try {
        // The rows the statement changes in its table are noted as SQLite
        // reports them: cheaper than a capture trigger writing each one.
        captured_.clear();
        captureTable_ = &st.cache->triggerTable;
        captureOp_ = st.kind == StmtKind::Insert   ? SQLITE_INSERT
                     : st.kind == StmtKind::Update ? SQLITE_UPDATE
                                                   : SQLITE_DELETE;
        sqlite3_update_hook(db_, &Session::rowChanged, this);
        struct Unhook {
            sqlite3 *db;
            ~Unhook() { sqlite3_update_hook(db, nullptr, nullptr); }
        };
        {
            Unhook unhook{db_};
            runPlan(plan, literals, literalBase, params, out);
        }
        std::sort(captured_.begin(), captured_.end());
        captured_.erase(std::unique(captured_.begin(), captured_.end()), captured_.end());
        int64_t changed = out.rowsAffected;
        fireTriggers(st, out);
        out.rowsAffected = changed;
    } catch (...) {
        if (db_) {
            sqlite3_exec(db_, "ROLLBACK TO \"__trigger\"", nullptr, nullptr, nullptr);
            sqlite3_exec(db_, "RELEASE \"__trigger\"", nullptr, nullptr, nullptr);
        }
        throw;
    }
    runCached("RELEASE \"__trigger\"");
}

void Session::runAssignSelect(const Statement &st, BatchResult &out) {
    StatementCache &c = cacheOf(st, schemaGeneration_);
    if (!c.plan) {
        Translator tr(*this, st.literalBase);
        auto plan = std::make_shared<Plan>(tr.translate(st));
        plan->refreshProcesses = tr.refreshProcesses();
        c.plan = plan;
    }
    const Plan &plan = *std::static_pointer_cast<Plan>(c.plan);
    if (plan.refreshProcesses) refreshProcesses();
    // One row at a time: the next row's expressions read what this row assigned.
    const auto &items = st.select->cores.front().items;
    const StepPlan &step = plan.steps.at(0);
    sqlite3_stmt *q = prepare(step.sql);
    bindAll(q, *frame_->literals, st.literalBase, *frame_->params);
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
        SqlError e = mapError(rc);
        sqlite3_reset(q);
        throw e;
    }
    sqlite3_reset(q);       // no row: the variables keep their values
    out.rowsAffected = -1;  // a query, not a change
}

Value Session::stepScalar(const std::string &sql, int literalBase, const SqlType &type) {
    sqlite3_stmt *st = prepare(sql);
    bindAll(st, *frame_->literals, literalBase, *frame_->params);
    int rc = sqlite3_step(st);
    Value v;
    if (rc == SQLITE_ROW)
        v = readSqliteValue(st, 0, type);
    else if (rc != SQLITE_DONE) {
        SqlError e = mapError(rc);
        sqlite3_reset(st);
        throw e;
    }
    sqlite3_reset(st);
    return v;
}

Value Session::evalValue(const Statement &owner, const ExprP &e, size_t slot, SqlType &type) {
    StatementCache &c = cacheOf(owner, schemaGeneration_);
    if (c.exprSql.size() <= slot) {
        c.exprSql.resize(slot + 1);
        c.exprTypes.resize(slot + 1);
    }
    if (c.exprSql[slot].empty()) {
        Translator tr(*this, owner.literalBase);
        Scope scope;
        TExpr x = tr.expr(e, scope);
        c.exprSql[slot] = "SELECT " + x.sql;
        c.exprTypes[slot] = x.type;
        c.refreshProcesses = c.refreshProcesses || tr.refreshProcesses();
    }
    type = c.exprTypes[slot];
    if (c.refreshProcesses) refreshProcesses();
    return stepScalar(c.exprSql[slot], owner.literalBase, type);
}

bool Session::evalCondition(const Statement &owner, const ExprP &e) {
    StatementCache &c = cacheOf(owner, schemaGeneration_);
    if (c.exprSql.empty()) {
        Translator tr(*this, owner.literalBase);
        Scope scope;
        c.exprSql.push_back("SELECT CASE WHEN " + tr.predicate(e, scope) + " THEN 1 ELSE 0 END");
        c.exprTypes.push_back(SqlType::of(Base::Int));
        c.refreshProcesses = tr.refreshProcesses();
    }
    if (c.refreshProcesses) refreshProcesses();
    Value v = stepScalar(c.exprSql[0], owner.literalBase, c.exprTypes[0]);
    return v.kind == Value::Kind::Int && v.i == 1;
}

std::shared_ptr<Session::ParsedText> Session::parsedText(const std::string &text) {
    auto hit = parsedTexts_.find(text);
    if (hit != parsedTexts_.end()) return hit->second;
    auto held = std::make_shared<ParsedText>();
    std::vector<Token> tokens = tokenize(text);
    for (const auto &t : tokens)
        if (t.literalIndex >= 0) held->literals.push_back(t);
    Parser parser(tokens);
    held->batch = parser.parseBatch();
    if (parsedTexts_.size() >= 64) parsedTexts_.clear();
    parsedTexts_[text] = held;
    return held;
}

void Session::runNestedBatch(const std::string &text, BatchResult &out, const std::vector<Variable> *args,
                             const std::vector<std::string> *argNames) {
    if (nesting_ >= 32) throw SqlError(217, "超出了存储过程、函数、触发器或视图的最大嵌套层数(最大层数为 32)。");
    std::shared_ptr<ParsedText> held = parsedText(text);
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
        sqlite3_stmt *q = prepare("SELECT name FROM temp.__pnw_objects WHERE xtype = 'U'");
        while (sqlite3_step(q) == SQLITE_ROW)
            names.push_back(reinterpret_cast<const char *>(sqlite3_column_text(q, 0)));
        sqlite3_reset(q);
        return names;
    };
    std::vector<std::string> before = tempTables();
    // Temp tables made inside end with the nested batch.
    auto dropNew = [&] {
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
                    executeStatement(drop, *frame_->literals, 0, ignored, *frame_->params, nullptr);
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

void Session::execDynamic(const Statement &st, BatchResult &out) {
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

void Session::execProcedure(const Statement &st, BatchResult &out) {
    std::string name = st.target.name;
    if (iequals(name, "sp_configure")) {
        runServerStatement(st, out);
        return;
    }
    std::string schema = "main";
    if (!st.target.db.empty()) schema = schemaOfDatabase(st.target.db);
    auto o = catalog(schema).object(name);
    if ((!o || o->xtype != "P") && st.target.db.empty() && lowerAscii(name).rfind("sp_", 0) == 0) {
        schema = masterSchema();
        o = catalog(schema).object(name);
    }
    if ((!o || o->xtype != "P") && lowerAscii(name).rfind("sp_", 0) == 0)
        throw makeError(102, name, "（不支持的语法：系统过程 " + name + "）");
    if (!o || o->xtype != "P") throw makeError(2812, name);
    std::string text;
    {
        sqlite3_stmt *q = prepare("SELECT info FROM " + quoteIdent(schema) + ".__pnw_objects WHERE id = ?1");
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
            v.value = evaluate(d.literalType.isText() ? quoteText(d.text) : d.text, p.type.type);
        }
        values.push_back(v);
        names.push_back(p.name);
    }
    std::string body = text.substr(proc.bodyPos);
    runNestedBatch(body, out, &values, &names);
}

void Session::createModule(const Statement &st) {
    WriteLockScope lock(*this, "main");
    std::string text(frame_->text.substr(st.pos));
    Catalog &cat = catalog("main");
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
    run("SAVEPOINT \"__ddl\"");
    try {
        int id = cat.addObject(name, xtype, parent);
        cat.setInfo(id, info);
        bumpSchemaOf(*this, "main");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK TO \"__ddl\"", nullptr, nullptr, nullptr);
        sqlite3_exec(db_, "RELEASE \"__ddl\"", nullptr, nullptr, nullptr);
        schemaChanged();
        throw;
    }
    run("RELEASE \"__ddl\"");
    lock.commit();
    schemaChanged();
}

void Session::dropModule(const Statement &st) {
    WriteLockScope lock(*this, "main");
    Catalog &cat = catalog("main");
    for (const auto &target : st.dropTargets) {
        auto o = cat.object(target.name);
        if (!o || o->xtype != st.option) throw makeError(3701, st.option == "P" ? "过程" : "触发器", target.name);
        cat.removeObject(o->id);
        bumpSchemaOf(*this, "main");
        schemaChanged();
    }
    lock.commit();
}

void Session::toggleTrigger(const Statement &st) {
    WriteLockScope lock(*this, "main");
    Catalog &cat = catalog("main");
    auto t = cat.table(st.target.name);
    auto o = cat.object(st.itemName);
    if (!t || !o || o->xtype != "TR" || o->parent != t->id) throw makeError(8197, st.itemName);
    cat.setDisabled(o->id, !st.on);
    bumpSchemaOf(*this, "main");
    lock.commit();
    schemaChanged();
}

void Session::prepareTriggerCapture(const Statement &st) {
    StatementCache &c = cacheOf(st, schemaGeneration_);
    if (!c.triggersChecked) {
        c.triggersChecked = true;
        Catalog &cat = catalog("main");
        std::string tableName = st.target.name;
        if (!st.target.db.empty() || !cat.table(tableName)) {
            // UPDATE alias ... FROM table alias
            for (const auto &f : st.from) {
                if (iequals(f.first.alias, tableName)) tableName = f.first.name.name;
                for (const auto &j : f.joins)
                    if (iequals(j.table.alias, tableName)) tableName = j.table.name.name;
            }
        }
        auto t = st.target.db.empty() ? cat.table(tableName) : nullptr;
        if (!t || t->schema != "main") return;
        char ev = st.kind == StmtKind::Insert ? 'I' : st.kind == StmtKind::Update ? 'U' : 'D';
        for (const auto &o : cat.objectsOf(t->id)) {
            if (o.xtype != "TR" || o.disabled) continue;
            sqlite3_stmt *q = prepare("SELECT info FROM main.__pnw_objects WHERE id = ?1");
            sqlite3_bind_int64(q, 1, o.id);
            std::string info;
            if (sqlite3_step(q) == SQLITE_ROW && sqlite3_column_text(q, 0))
                info = reinterpret_cast<const char *>(sqlite3_column_text(q, 0));
            sqlite3_reset(q);
            if (info.substr(0, info.find('\n')).find(ev) != std::string::npos) c.triggerIds.push_back(o.id);
        }
        if (!c.triggerIds.empty()) c.triggerTable = t->name;
    }
}

const Session::TriggerPrep *Session::triggerPrep(Catalog &cat, const ObjectInfo &o) {
    auto hit = triggerPreps_.find(o.id);
    if (hit != triggerPreps_.end() && hit->second.generation == schemaGeneration_) return &hit->second;
    if (hit != triggerPreps_.end()) triggerPreps_.erase(hit);
    auto parent = cat.objectById(o.parent);
    auto t = cat.table(parent ? parent->name : "");
    if (!t) return nullptr;
    std::string info;
    sqlite3_stmt *q = prepare("SELECT info FROM main.__pnw_objects WHERE id = ?1");
    sqlite3_bind_int64(q, 1, o.id);
    if (sqlite3_step(q) == SQLITE_ROW && sqlite3_column_text(q, 0))
        info = reinterpret_cast<const char *>(sqlite3_column_text(q, 0));
    sqlite3_reset(q);
    std::string text = info.substr(info.find('\n') + 1);
    std::shared_ptr<ParsedText> held = parsedText(text);
    const Batch &def = held->batch;
    if (def.statements.empty()) return nullptr;
    TriggerPrep prep;
    prep.generation = schemaGeneration_;
    prep.body = text.substr(def.statements[0]->bodyPos);
    std::string layout;
    for (const auto &c : t->columns) layout += c.name + ' ' + c.type.sqliteDecl() + ',';
    std::string rows = quoteIdent("__pnw_inserted_" + std::to_string(t->id) + "_" +
                                  std::to_string(std::hash<std::string>{}(layout) % 1000000007u));
    std::string parentTable = "main." + quoteIdent(t->name);
    prep.create = "CREATE TEMP TABLE IF NOT EXISTS " + rows + " AS SELECT * FROM " + parentTable + " WHERE 0";
    prep.clear = "DELETE FROM temp." + rows;
    prep.fill = "INSERT INTO temp." + rows + " SELECT * FROM " + parentTable + " WHERE rowid = ?1";
    prep.inserted = std::make_shared<TableInfo>(*t);
    prep.inserted->name = rows.substr(1, rows.size() - 2);
    prep.inserted->schema = "temp";
    prep.inserted->rowidIdentity = false;
    prep.inserted->primaryKeyName.clear();
    prep.inserted->primaryKeyColumns.clear();
    return &(triggerPreps_[o.id] = std::move(prep));
}

// Runs a statement without results through the statement cache: the
// statements of every firing would otherwise be parsed again each time.
void Session::runCached(const std::string &sql) {
    sqlite3_stmt *q = prepare(sql);
    int rc = sqlite3_step(q);
    if (rc != SQLITE_DONE) {
        SqlError e = mapError(rc);
        sqlite3_reset(q);
        throw e;
    }
    sqlite3_reset(q);
}

void Session::rowChanged(void *self, int op, const char *db, const char *table, long long rowid) {
    auto *s = static_cast<Session *>(self);
    if (op == s->captureOp_ && std::strcmp(db, "main") == 0 && s->captureTable_ &&
        sqlite3_stricmp(table, s->captureTable_->c_str()) == 0)
        s->captured_.push_back(rowid);
}

void Session::fireTriggers(const Statement &st, BatchResult &out) {
    const std::vector<int> ids = st.cache->triggerIds;
    Catalog &cat = catalog("main");
    for (int id : ids) {
        auto o = cat.objectById(id);
        if (!o || o->disabled) continue;
        const TriggerPrep *prep = triggerPrep(cat, *o);
        if (!prep) continue;
        // Made once per table layout and connection (the statement is a
        // no-op after that; it also brings the table back after a rollback).
        runCached(prep->create);
        runCached(prep->clear);
        sqlite3_stmt *fill = prepare(prep->fill);
        for (int64_t rowid : captured_) {
            sqlite3_bind_int64(fill, 1, rowid);
            int rc = sqlite3_step(fill);
            if (rc != SQLITE_DONE) {
                SqlError e = mapError(rc);
                sqlite3_reset(fill);
                throw e;
            }
            sqlite3_reset(fill);
        }
        std::string body = prep->body;
        auto pseudo = prep->inserted;
        triggers_.push_back(TriggerContext{pseudo});
        BatchResult inner;
        try {
            runNestedBatch(body, inner);
        } catch (...) {
            triggers_.pop_back();
            throw;
        }
        triggers_.pop_back();
        for (auto &rs : inner.resultSets) out.resultSets.push_back(std::move(rs));
        if (!inner.errors.empty()) throw inner.errors.front();
    }
}

Session::Cursor &Session::cursor(const std::string &name) {
    auto it = cursors_.find(lowerAscii(name));
    if (it == cursors_.end()) throw makeError(16916, name);
    return it->second;
}

void Session::declareCursor(const Statement &st) {
    std::string key = lowerAscii(st.variable);
    if (cursors_.count(key)) throw makeError(16915, st.variable);
    Translator tr(*this, st.literalBase);
    Statement q;
    q.kind = StmtKind::Select;
    q.select = st.select;
    Plan plan = tr.translate(q);
    Cursor c;
    c.steps = plan.steps;
    c.literals = *frame_->literals;
    c.literalBase = st.literalBase;
    c.vars = frame_->vars;
    c.refreshProcesses = plan.refreshProcesses;
    cursors_[key] = std::move(c);
}

void Session::openCursor(const Statement &st) {
    Cursor &c = cursor(st.variable);
    if (c.open) throw makeError(16905);
    // The select sees the variables as they are now.
    Frame frame;
    frame.vars = frame_->vars;
    for (const auto &[k, v] : c.vars) frame.vars.emplace(k, v);
    frame.literals = &c.literals;
    static const std::vector<Value> noParams;
    frame.params = &noParams;
    Frame *saved = frame_;
    frame_ = &frame;
    Plan plan;
    plan.steps = c.steps;
    plan.refreshProcesses = c.refreshProcesses;
    BatchResult rows;
    try {
        runPlan(plan, c.literals, c.literalBase, noParams, rows);
    } catch (...) {
        frame_ = saved;
        throw;
    }
    frame_ = saved;
    c.rows.clear();
    c.types.clear();
    if (!rows.resultSets.empty()) {
        c.rows = std::move(rows.resultSets.back().rows);
        c.columns = rows.resultSets.back().columns;
        for (const auto &col : c.columns) c.types.push_back(col.type);
    }
    c.next = 0;
    c.open = true;
}

void Session::fetchCursor(const Statement &st, BatchResult &out) {
    Cursor &c = cursor(st.variable);
    if (!c.open) throw makeError(16917);
    if (!st.intoVars.empty() && st.intoVars.size() != c.types.size()) throw makeError(16924);
    for (const auto &v : st.intoVars) variable(v);
    if (c.next >= c.rows.size()) {
        fetchStatus_ = -1;
        return;
    }
    const auto &row = c.rows[c.next++];
    for (size_t i = 0; i < st.intoVars.size(); ++i) assign(st.intoVars[i], row[i], c.types[i]);
    fetchStatus_ = 0;
    if (st.intoVars.empty()) {
        // Without INTO the row goes to the client.
        ResultSet rs;
        rs.columns = c.columns;
        rs.rows.push_back(row);
        out.resultSets.push_back(std::move(rs));
    }
}

}  // namespace server
