// Triggers: a statement's changed rows are noted through SQLite's update
// hook; after the statement each trigger it fires runs its body as a nested
// batch, inside one savepoint with the statement, with `inserted` filled
// from the noted rows.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>

#include "server/Interpreter.h"
#include "server/Parser.h"
#include "server/Savepoint.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"

namespace server {

std::shared_ptr<const TableInfo> Interpreter::triggerTable(const std::string &name) const {
    if (triggers_.empty() || !iequals(name, "inserted")) return nullptr;
    return triggers_.back().inserted;
}

void Interpreter::runWrite(const Statement &st, const Plan &plan, const std::vector<Token> &literals, int literalBase,
                           const std::vector<Value> &params, BatchResult &out) {
    bool fires = st.kind != StmtKind::Select && triggers_.empty() && st.cache && !st.cache->triggerIds.empty();
    if (!fires) {
        s_.runPlan(plan, literals, literalBase, params, out);
        return;
    }
    // The restart that takes the write lock must come before the savepoint.
    s_.lockBeforeWrite(plan);
    Savepoint savepoint(s_, "\"__trigger\"");
    {
        // The rows the statement changes in its table are noted as SQLite
        // reports them: cheaper than a capture trigger writing each one.
        captured_.clear();
        captureTable_ = &st.cache->triggerTable;
        captureOp_ = st.kind == StmtKind::Insert   ? SQLITE_INSERT
                     : st.kind == StmtKind::Update ? SQLITE_UPDATE
                                                   : SQLITE_DELETE;
        sqlite3_update_hook(s_.handle(), &Interpreter::rowChanged, this);
        struct Unhook {
            sqlite3 *db;
            ~Unhook() { sqlite3_update_hook(db, nullptr, nullptr); }
        };
        {
            Unhook unhook{s_.handle()};
            s_.runPlan(plan, literals, literalBase, params, out);
        }
        std::sort(captured_.begin(), captured_.end());
        captured_.erase(std::unique(captured_.begin(), captured_.end()), captured_.end());
        int64_t changed = out.rowsAffected;
        fireTriggers(st, out);
        out.rowsAffected = changed;
    }
    savepoint.release();
}

void Interpreter::prepareTriggerCapture(const Statement &st) {
    StatementCache &c = cacheOf(st, s_.schemaGeneration());
    if (!c.triggersChecked) {
        c.triggersChecked = true;
        Catalog &cat = s_.catalog("main");
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
            sqlite3_stmt *q = s_.prepare("SELECT info FROM main.__pnw_objects WHERE id = ?1");
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

const Interpreter::TriggerPrep *Interpreter::triggerPrep(Catalog &cat, const ObjectInfo &o) {
    auto hit = triggerPreps_.find(o.id);
    if (hit != triggerPreps_.end() && hit->second.generation == s_.schemaGeneration()) return &hit->second;
    if (hit != triggerPreps_.end()) triggerPreps_.erase(hit);
    auto parent = cat.objectById(o.parent);
    auto t = cat.table(parent ? parent->name : "");
    if (!t) return nullptr;
    std::string info;
    sqlite3_stmt *q = s_.prepare("SELECT info FROM main.__pnw_objects WHERE id = ?1");
    sqlite3_bind_int64(q, 1, o.id);
    if (sqlite3_step(q) == SQLITE_ROW && sqlite3_column_text(q, 0))
        info = reinterpret_cast<const char *>(sqlite3_column_text(q, 0));
    sqlite3_reset(q);
    std::string text = info.substr(info.find('\n') + 1);
    std::shared_ptr<ParsedText> held = parsedText(text);
    const Batch &def = held->batch;
    if (def.statements.empty()) return nullptr;
    TriggerPrep prep;
    prep.generation = s_.schemaGeneration();
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

void Interpreter::rowChanged(void *self, int op, const char *db, const char *table, long long rowid) {
    auto *s = static_cast<Interpreter *>(self);
    if (op == s->captureOp_ && std::strcmp(db, "main") == 0 && s->captureTable_ &&
        sqlite3_stricmp(table, s->captureTable_->c_str()) == 0)
        s->captured_.push_back(rowid);
}

void Interpreter::fireTriggers(const Statement &st, BatchResult &out) {
    const std::vector<int> ids = st.cache->triggerIds;
    Catalog &cat = s_.catalog("main");
    for (int id : ids) {
        auto o = cat.objectById(id);
        if (!o || o->disabled) continue;
        const TriggerPrep *prep = triggerPrep(cat, *o);
        if (!prep) continue;
        // Made once per table layout and connection (the statement is a
        // no-op after that; it also brings the table back after a rollback).
        s_.runCached(prep->create);
        s_.runCached(prep->clear);
        sqlite3_stmt *fill = s_.prepare(prep->fill);
        for (int64_t rowid : captured_) {
            sqlite3_bind_int64(fill, 1, rowid);
            int rc = sqlite3_step(fill);
            if (rc != SQLITE_DONE) {
                SqlError e = s_.mapError(rc);
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

}  // namespace server
