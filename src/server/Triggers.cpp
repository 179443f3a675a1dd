// Triggers: a statement's changed rows are noted through SQLite's
// pre-update hook (the rowids of the new rows, copies of the old rows);
// after the statement each trigger it fires runs its body as a nested batch,
// inside one savepoint with the statement, with `inserted` (the new rows,
// read by rowid) and `deleted` (the old rows) served from memory.
// SQLite's pre-update hook is declared only with this option (the system
// library is built with it).
#define SQLITE_ENABLE_PREUPDATE_HOOK 1
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

namespace {

// Whether `text` holds `word` as a whole word, without regard to case.
bool namesWord(const std::string &text, const char *word) {
    std::string lower = lowerAscii(text);
    size_t n = std::strlen(word);
    auto part = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '#'; };
    for (size_t p = lower.find(word); p != std::string::npos; p = lower.find(word, p + 1)) {
        bool before = p == 0 || !part(lower[p - 1]);
        bool after = p + n >= lower.size() || !part(lower[p + n]);
        if (before && after) return true;
    }
    return false;
}

// Puts `rows` (one per rowid of `rowids`, in the order the statement reached them) in rowid order.
void inRowidOrder(const std::vector<int64_t> &rowids, PseudoRows &rows) {
    if (std::is_sorted(rowids.begin(), rowids.end())) return;
    std::vector<size_t> order(rowids.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return rowids[a] < rowids[b]; });
    rows.reorder(order);
}

}  // namespace

std::shared_ptr<const TableInfo> Interpreter::triggerTable(const std::string &name) const {
    if (triggers_.empty()) return nullptr;
    if (iequals(name, "inserted")) return triggers_.back().inserted;
    if (iequals(name, "deleted")) return triggers_.back().deleted;
    return nullptr;
}

void Interpreter::runWrite(const Statement &st, const Plan &plan, const std::vector<Token> &literals, int literalBase,
                           const std::vector<Value> &params, BatchResult &out) {
    bool fires = st.kind != StmtKind::Select && triggers_.empty() && st.cache && !st.cache->triggerIds.empty();
    if (!fires) {
        s_.runPlan(plan, literals, literalBase, params, out);
        return;
    }
    // Only what the triggers read is noted.
    int op = st.kind == StmtKind::Insert ? SQLITE_INSERT : st.kind == StmtKind::Update ? SQLITE_UPDATE : SQLITE_DELETE;
    bool readsInserted = false, readsDeleted = false;
    Catalog &cat = s_.catalog("main");
    for (int id : st.cache->triggerIds) {
        auto o = cat.objectById(id);
        if (!o || o->disabled) continue;
        if (auto prep = triggerPrep(cat, *o)) {
            readsInserted = readsInserted || prep->readsInserted;
            readsDeleted = readsDeleted || prep->readsDeleted;
        }
    }
    // The restart that takes the write lock must come before the savepoint.
    s_.lockBeforeWrite(plan);
    Savepoint savepoint(s_, Savepoint::kTrigger);
    captured_.clear();
    insertedRows_.clear();
    deletedRows_.clear();
    deletedRowids_.clear();
    deletedSeen_.clear();
    captureTable_ = &st.cache->triggerTable;
    captureOp_ = op;
    captureInserted_ = readsInserted && op != SQLITE_DELETE;
    captureDeleted_ = readsDeleted && op != SQLITE_INSERT;
    // A plan of several steps may change a row twice: its old row is the first seen.
    captureOnce_ = plan.steps.size() > 1;
    if (captureInserted_ || captureDeleted_) {
        sqlite3_preupdate_hook(s_.handle(), &Interpreter::beforeRowChange, this);
        struct Unhook {
            sqlite3 *db;
            ~Unhook() { sqlite3_preupdate_hook(db, nullptr, nullptr); }
        } unhook{s_.handle()};
        s_.runPlan(plan, literals, literalBase, params, out);
    } else {
        s_.runPlan(plan, literals, literalBase, params, out);
    }
    // The pseudo-tables list their rows in rowid order, as a read of the table would.
    if (captureOnce_) {
        std::sort(captured_.begin(), captured_.end());
        captured_.erase(std::unique(captured_.begin(), captured_.end()), captured_.end());
    } else {
        inRowidOrder(captured_, insertedRows_);
    }
    inRowidOrder(deletedRowids_, deletedRows_);
    int64_t changed = out.rowsAffected;
    fireTriggers(st, out);
    out.rowsAffected = changed;
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

std::shared_ptr<const Interpreter::TriggerPrep> Interpreter::triggerPrep(Catalog &cat, const ObjectInfo &o) {
    auto hit = triggerPreps_.find(o.id);
    if (hit != triggerPreps_.end() && hit->second->generation == s_.schemaGeneration()) return hit->second;
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
    auto prep = std::make_shared<TriggerPrep>();
    prep->generation = s_.schemaGeneration();
    prep->body = text.substr(def.statements[0]->bodyPos);
    prep->parsedBody = parsedText(prep->body);
    prep->readsInserted = namesWord(prep->body, "inserted");
    prep->readsDeleted = namesWord(prep->body, "deleted");
    // The columns as SQLite orders them (the order of the pre-update hook's values).
    prep->read = "SELECT * FROM main." + quoteIdent(t->name) + " WHERE rowid = ?1";
    // A fresh statement: a kept one prepared before the table changed would
    // still show the old columns.
    sqlite3_stmt *read = nullptr;
    if (sqlite3_prepare_v2(s_.handle(), prep->read.c_str(), -1, &read, nullptr) != SQLITE_OK) {
        SqlError e = s_.mapError(sqlite3_errcode(s_.handle()));
        sqlite3_finalize(read);
        throw e;
    }
    std::vector<std::string> columns;
    std::string layout;
    for (int i = 0; i < sqlite3_column_count(read); ++i) {
        std::string name = sqlite3_column_name(read, i);
        const ColumnInfo *c = t->column(name);
        columns.push_back(quoteIdent(name) + (c ? " " + c->type.sqliteDecl() : std::string()));
        layout += columns.back() + ',';
    }
    sqlite3_finalize(read);
    std::string suffix = std::to_string(t->id) + "_" + std::to_string(std::hash<std::string>{}(layout) % 1000000007u);
    for (PseudoTable *pt : {&prep->inserted, &prep->deleted}) {
        std::string kind = pt == &prep->inserted ? "inserted" : "deleted";
        pt->name = "__pnw_" + kind + "_" + suffix;
        pt->create = pseudoTableSql(pt->name, kind, columns);
        pt->info = std::make_shared<TableInfo>(*t);
        pt->info->name = pt->name;
        pt->info->schema = "temp";
        pt->info->rowidIdentity = false;
        pt->info->primaryKeyName.clear();
        pt->info->primaryKeyColumns.clear();
    }
    triggerPreps_[o.id] = prep;
    return prep;
}

void Interpreter::ensurePseudoTable(const PseudoTable &t) {
    sqlite3 *db = s_.handle();
    if (pseudoModuleOn_ != db) {
        registerPseudoModule(db, &pseudo_);
        pseudoModuleOn_ = db;
    }
    // Made once per layout and connection; a rollback of the transaction
    // that made it takes it away again.
    if (sqlite3_table_column_metadata(db, "temp", t.name.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr) != SQLITE_OK)
        s_.run(t.create);
}

namespace {

// The row the pre-update hook shows (its old or its new values), appended.
void copyChangedRow(sqlite3 *db, int (*value)(sqlite3 *, int, sqlite3_value **), PseudoRows &rows) {
    int n = sqlite3_preupdate_count(db);
    rows.setColumns(n);
    for (int i = 0; i < n; ++i) {
        sqlite3_value *v = nullptr;
        if (value(db, i, &v) != SQLITE_OK) v = nullptr;
        rows.add(v);
    }
}

}  // namespace

void Interpreter::beforeRowChange(void *self, sqlite3 *db, int op, const char *dbName, const char *table,
                                  long long rowid, long long newRowid) {
    auto *in = static_cast<Interpreter *>(self);
    if (op != in->captureOp_ || std::strcmp(dbName, "main") != 0 || !in->captureTable_ ||
        sqlite3_stricmp(table, in->captureTable_->c_str()) != 0)
        return;
    if (in->captureInserted_) {
        in->captured_.push_back(newRowid);
        // A plan of one step writes each row once: the row it writes is the new row.
        if (!in->captureOnce_) copyChangedRow(db, sqlite3_preupdate_new, in->insertedRows_);
    }
    if (!in->captureDeleted_) return;
    if (in->captureOnce_ && !in->deletedSeen_.insert(rowid).second) return;
    in->deletedRowids_.push_back(rowid);
    copyChangedRow(db, sqlite3_preupdate_old, in->deletedRows_);
}

void Interpreter::fireTriggers(const Statement &st, BatchResult &out) {
    const std::vector<int> ids = st.cache->triggerIds;
    Catalog &cat = s_.catalog("main");
    bool insertedRead = false;
    struct Unset {
        PseudoSource &source;
        PseudoRows &inserted, &deleted;
        ~Unset() {
            source = PseudoSource{};
            inserted.clear();
            deleted.clear();
        }
    } unset{pseudo_, insertedRows_, deletedRows_};
    for (int id : ids) {
        auto o = cat.objectById(id);
        if (!o || o->disabled) continue;
        std::shared_ptr<const TriggerPrep> prep = triggerPrep(cat, *o);
        if (!prep) continue;
        if (prep->readsInserted) {
            ensurePseudoTable(prep->inserted);
            // The new rows as a plan of several steps left them, read once for every trigger.
            if (captureInserted_ && captureOnce_ && !insertedRead) {
                insertedRead = true;
                sqlite3_stmt *read = s_.prepare(prep->read);
                for (int64_t rowid : captured_) {
                    sqlite3_bind_int64(read, 1, rowid);
                    int rc = sqlite3_step(read);
                    if (rc == SQLITE_ROW) {
                        // Counted after the step: a kept statement is prepared again
                        // there when the table has changed.
                        insertedRows_.setColumns(sqlite3_column_count(read));
                        insertedRows_.addRow(read);
                        rc = sqlite3_step(read);
                    }
                    if (rc != SQLITE_DONE) {
                        SqlError e = s_.mapError(rc);
                        sqlite3_reset(read);
                        throw e;
                    }
                    sqlite3_reset(read);
                }
            }
        }
        if (prep->readsDeleted) ensurePseudoTable(prep->deleted);
        pseudo_.inserted = &insertedRows_;
        pseudo_.deleted = &deletedRows_;
        triggers_.push_back(TriggerContext{prep->inserted.info, prep->deleted.info});
        struct Pop {
            std::vector<TriggerContext> &t;
            ~Pop() { t.pop_back(); }
        } pop{triggers_};
        BatchResult inner;
        runParsed(prep->parsedBody, prep->body, inner);
        for (auto &rs : inner.resultSets) out.resultSets.push_back(std::move(rs));
        if (!inner.errors.empty()) throw inner.errors.front();
    }
}

}  // namespace server
