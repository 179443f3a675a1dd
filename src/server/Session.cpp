#include "server/Session.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>

#include "server/Convert.h"
#include "server/FaultInjection.h"
#include "server/FileAccess.h"
#include "server/Interpreter.h"
#include "server/Ddl.h"
#include "server/OpenDataSource.h"
#include "server/Parser.h"
#include "server/Savepoint.h"
#include "server/SqlError.h"
#include "server/SqliteError.h"
#include "server/TextUtil.h"
#include "server/Tokenizer.h"
#include "server/WriteLock.h"

namespace server {

struct Session::CachedBatch {
    Batch batch;                                          // each statement keeps its translation
    std::vector<std::pair<int, std::string>> structural;  // literal index -> text
    std::vector<std::pair<int, std::string>> exactKinds;  // decimal literal index -> literalKind
    int64_t generation = 0;
};

namespace {

// Batches of more tokens than this (about a thousand short statements) are
// parsed and run one statement at a time.
constexpr size_t kStreamedBatchTokens = 20000;

bool isAscii(const std::string &s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

Value literalValue(const Token &t) {
    switch (t.kind) {
    case TokenKind::String: return Value::fromText(isAscii(t.text) ? t.text : toCp936Repertoire(t.text));
    case TokenKind::NString: return Value::fromText(t.text);
    case TokenKind::Integer: {
        errno = 0;
        long long v = std::strtoll(t.text.c_str(), nullptr, 10);
        if (errno == 0) return Value::fromInt(v);
        return Value::fromReal(std::strtod(t.text.c_str(), nullptr));
    }
    default: return Value::fromReal(std::strtod(t.text.c_str(), nullptr));
    }
}

bool isDml(const Statement &st) {
    return (st.kind == StmtKind::Select && !st.select->cores.front().into) || st.kind == StmtKind::Insert ||
           st.kind == StmtKind::Update || st.kind == StmtKind::Delete;
}

// The kinds of statement a kept procedural batch may hold: queries, changes,
// variables and control flow (no DDL, cursors, EXEC or session options).
bool isProceduralKeepable(const Statement &st) {
    switch (st.kind) {
    case StmtKind::Declare:
    case StmtKind::SetVariable:
    case StmtKind::If:
    case StmtKind::While:
    case StmtKind::Block:
    case StmtKind::Empty: break;
    default:
        if (!isDml(st)) return false;
    }
    for (const auto &b : st.body)
        if (!isProceduralKeepable(*b)) return false;
    for (const auto &b : st.elseBody)
        if (!isProceduralKeepable(*b)) return false;
    return true;
}

// Whether every translation kept on the statements (those of this schema
// generation) may serve a later run of the same batch.
bool translationsReusable(const Statement &st, int64_t generation) {
    if (st.cache && st.cache->generation == generation && !st.cache->reusable) return false;
    for (const auto &b : st.body)
        if (!translationsReusable(*b, generation)) return false;
    for (const auto &b : st.elseBody)
        if (!translationsReusable(*b, generation)) return false;
    return true;
}

bool isSymbol(const Token &t, const char *text) { return t.kind == TokenKind::Symbol && t.text == text; }

// The key of a procedural batch: its tokens as written, literals included,
// except an integer literal that is the whole value of SET @v = n (or -n):
// it is only ever bound as an int parameter, so rows handled one batch each
// (SET @Asset = 17 ...) share one parse and translation.
std::string proceduralKey(const std::vector<Token> &tokens) {
    std::string key = "\x05";
    key.reserve(tokens.size() * 8);
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
        if (t.kind == TokenKind::Integer && t.text.size() < 10) {
            size_t at = i >= 1 && isSymbol(tokens[i - 1], "-") ? i - 1 : i;
            bool setValue = at >= 3 && isSymbol(tokens[at - 1], "=") && tokens[at - 2].kind == TokenKind::Variable &&
                            tokens[at - 3].kind == TokenKind::Identifier && iequals(tokens[at - 3].text, "SET");
            bool ends = i + 1 == tokens.size() || tokens[i + 1].kind == TokenKind::End ||
                        tokens[i + 1].kind == TokenKind::Identifier || isSymbol(tokens[i + 1], ";");
            if (setValue && ends) {
                key += "\x01I";
                continue;
            }
        }
        // Kind and length first: no two token lists give the same key.
        key += '\x06';
        key += char('0' + int(t.kind));
        key += std::to_string(t.text.size());
        key += ':';
        key += t.text;
    }
    return key;
}

std::string stripBrackets(std::string s) {
    if (s.size() >= 2 && s.front() == '[' && s.back() == ']') s = s.substr(1, s.size() - 2);
    return s;
}

}  // namespace

Session::Session(std::shared_ptr<Instance> instance, const std::string &login, const std::string &password,
                 const std::string &database, bool integratedSecurity)
    : instance_(std::move(instance)), interpreter_(std::make_unique<Interpreter>(*this)) {
    Instance::SessionStart start = instance_->sessionStart(login, password, database, integratedSecurity);
    if (!start.loginOk) throw makeError(18456, login);
    const auto &info = start.database;
    if (!info || info->filename.empty()) throw makeError(4060, database);
    if (info->state == kSuspect) throw makeError(926, info->name);
    if (info->state != 0) throw makeError(927, info->name);
    dbName_ = info->name;
    dbid_ = info->dbid;
    file_ = info->filename;
    Instance::PooledConnection pooled = instance_->takePooled(file_);
    db_ = pooled.db;
    // A pooled connection's functions stay bound to its callbacks, which
    // this session fills; its statements stay prepared.
    if (db_) {
        hooks_ = std::move(pooled.hooks);
        stmtCache_ = std::move(pooled.statements);
        adoptTranslations(pooled.translations);
    }
    hooks_->objectId = [this](const std::string &n) { return objectId(n); };
    hooks_->objectProperty = [this](int64_t id, const std::string &p) { return objectProperty(id, p); };
    hooks_->dbName = [this](const Value &v) { return dbNameOf(v); };
    hooks_->variable = [this](const std::string &name) { return interpreter_->variableOrThrow(name); };
    if (!db_) {
        OpenTarget target = openTarget(file_);
        if (sqlite3_open_v2(target.name.c_str(), &db_, target.flags, nullptr) != SQLITE_OK) {
            sqlite3_close(db_);
            db_ = nullptr;
            throw makeError(4060, database);
        }
        instance_->holdFile(file_);
        try {
            waitForLocks(db_);
            registerSqlFunctions(db_, hooks_.get());
            // A read-only file is read as it stands: no journal mode, catalogue or order upgrade.
            if (!target.readOnly) {
                run("PRAGMA journal_mode=WAL");
                run("PRAGMA synchronous=NORMAL");
            }
            run("PRAGMA temp_store=MEMORY");
            if (!target.readOnly) {
                Catalog::ensure(db_, "main");
                Catalog::refreshCollation(db_, "main");
            }
            Catalog::ensure(db_, "temp");
            run("CREATE TEMP TABLE IF NOT EXISTS __pnw_processes(spid INTEGER, dbid INTEGER, loginame TEXT, "
                "hostname TEXT, program_name TEXT, status TEXT)");
            if (dbid_ != 1)
                run("ATTACH DATABASE " + quoteText(openTarget(instance_->masterPath()).name) + " AS \"master\"");
            // The file list is written once per database file; a session that finds it
            // complete only reads, so connecting never needs the write lock.
            if (!target.readOnly && !filesListed()) {
                run("CREATE TABLE IF NOT EXISTS main.__pnw_files(fileid INTEGER PRIMARY KEY, name TEXT, "
                    "filename TEXT, status INTEGER)");
                std::string logPath =
                    info->logfile.empty() ? file_.substr(0, file_.rfind('.')) + "_log.ldf" : info->logfile;
                run("INSERT INTO main.__pnw_files SELECT 1, " + quoteText(dbName_) + ", " + quoteText(file_) +
                    ", 2 WHERE NOT EXISTS (SELECT 1 FROM main.__pnw_files)");
                run("INSERT INTO main.__pnw_files SELECT 2, " + quoteText(dbName_ + "_log") + ", " +
                    quoteText(logPath) + ", 66 WHERE (SELECT COUNT(*) FROM main.__pnw_files) = 1");
            }
        } catch (...) {
            sqlite3_close(db_);
            db_ = nullptr;
            throw;
        }
    }
    // A pooled connection is kept at its file's durability; a new one opens
    // at the ordinary setting.
    durabilitySeen_ = pooled.db || !instance_->delayedDurability(file_) ? instance_->durabilityGeneration() : -1;
    sqlite3_commit_hook(db_, &Session::beforeCommit, this);
    tempSchemaAtOpen_ = tempSchemaVersion();
    version_ = start.version;
    spid_ = instance_->registerSession(dbid_, integratedSecurity ? std::string("(integrated)") : login);
    instance_->setKillHandler(spid_, [this] { kill(); });
    dropsSeen_ = instance_->dropGeneration();
}

Session::~Session() {
    if (db_) {
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        for (sqlite3_stmt *st : usedStatements_) {
            sqlite3_reset(st);
            sqlite3_clear_bindings(st);
        }
        usedStatements_.clear();
        std::shared_ptr<void> translations = translationsForReuse();
        catalogs_.clear();
        sqlite3_commit_hook(db_, nullptr, nullptr);
        if (!fileLost_ && resetForReuse()) {
            // Unbound callbacks: nothing may call into this session any more.
            *hooks_ = SessionHooks{};
            if (durabilitySeen_ != instance_->durabilityGeneration()) followDurability();
            instance_->returnPooled(file_, Instance::PooledConnection{db_, std::move(hooks_), std::move(stmtCache_),
                                                                      std::move(translations)});
        } else {
            finalizeStatements();
            sqlite3_close(db_);
        }
        stmtCache_.clear();
    }
    instance_->unregisterSession(spid_);
}

void Session::run(const std::string &sql) {
    try {
        execSql(db_, sql);
    } catch (const SqlError &) {
        if (fileLost_ && sqlite3_extended_errcode(db_) == SQLITE_CONSTRAINT_COMMITHOOK) throw fileLostError();
        throw;
    }
}

bool Session::filesListed() {
    sqlite3_stmt *st = nullptr;
    bool listed = sqlite3_prepare_v2(db_, "SELECT COUNT(*) FROM main.__pnw_files", -1, &st, nullptr) == SQLITE_OK &&
                  sqlite3_step(st) == SQLITE_ROW && sqlite3_column_int(st, 0) >= 2;
    sqlite3_finalize(st);
    return listed;
}

int64_t Session::tempSchemaVersion() {
    try {
        sqlite3_stmt *st = prepare("PRAGMA temp.schema_version");
        int64_t v = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
        sqlite3_reset(st);
        return v;
    } catch (const SqlError &) {
        return -1;
    }
}

bool Session::resetForReuse() {
    // The next session must find no trace of this one: no transaction, no
    // temporary tables, only master attached. The statements are the
    // connection's own prepared ones: a reset happens at every close.
    if (!sqlite3_get_autocommit(db_)) return false;
    // Every temporary object (table, catalogue row, trigger) came with a
    // change of the temp schema: a session that made none has nothing to undo.
    if (attached_.empty() && keptTempTables_.empty() && tempSchemaAtOpen_ >= 0 &&
        tempSchemaVersion() == tempSchemaAtOpen_)
        return true;
    try {
        auto names = [this](const char *sql) {
            std::vector<std::string> found;
            sqlite3_stmt *st = prepare(sql);
            while (sqlite3_step(st) == SQLITE_ROW)
                found.push_back(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
            sqlite3_reset(st);
            return found;
        };
        for (const auto &t : names("SELECT name FROM temp.sqlite_master WHERE type = 'table'")) {
            if (t == "__pnw_objects" || t == "__pnw_columns" || t == "__pnw_processes" || t == "sqlite_sequence")
                continue;
            run("DROP TABLE temp." + quoteIdent(t));
        }
        // The row captures of triggers fired in this session write into a
        // temporary table dropped above; left behind they would break every
        // later schema change on this connection (SQLite re-checks them).
        for (const auto &t : names("SELECT name FROM temp.sqlite_master WHERE type = 'trigger'"))
            run("DROP TRIGGER temp." + quoteIdent(t));
        runCached("DELETE FROM temp.__pnw_objects");
        runCached("DELETE FROM temp.__pnw_columns");
        keptTempTables_.clear();
        for (const auto &[key, schema] : attached_) run("DETACH DATABASE " + quoteIdent(schema));
        attached_.clear();
        return true;
    } catch (const SqlError &) {
        return false;
    }
}

struct Session::CarriedTranslations {
    int64_t schemaVersion = -2;
    int64_t generation = 0;  // the generation the batches were made under carries on
    int64_t handedOut = 0;   // and the numbers used so far
    BatchCache<CachedBatch> batches;
};

std::shared_ptr<void> Session::translationsForReuse() {
    // Cached plans name only this database (temporary tables, variables and
    // the like are never cached); another database attached, or a catalogue
    // other than this database's and tempdb's read, keeps them here.
    if (!attached_.empty() || batchCache_.empty()) return nullptr;
    for (const auto &[schema, c] : catalogs_)
        if (schema != "main" && schema != "temp") return nullptr;
    auto main = catalogs_.find("main");
    if (main == catalogs_.end() || main->second->seenVersion() < 0) return nullptr;
    auto carried = std::make_shared<CarriedTranslations>();
    carried->schemaVersion = main->second->seenVersion();
    carried->generation = schemaGeneration_;
    carried->handedOut = generationsHandedOut_;
    carried->batches = std::move(batchCache_);
    batchCache_.clear();
    return carried;
}

void Session::adoptTranslations(const std::shared_ptr<void> &carried) {
    if (!carried) return;
    auto *t = static_cast<CarriedTranslations *>(carried.get());
    // The first batch's check of the schema version retires them all when
    // the schema moved since they were made.
    catalog("main").assumeSeen(t->schemaVersion);
    schemaGeneration_ = t->generation;
    generationsHandedOut_ = std::max(generationsHandedOut_, t->handedOut);
    batchCache_ = std::move(t->batches);
}

Catalog &Session::catalog(const std::string &schema) {
    auto it = catalogs_.find(schema);
    if (it == catalogs_.end()) it = catalogs_.emplace(schema, std::make_unique<Catalog>(db_, schema)).first;
    return *it->second;
}

std::string Session::masterSchema() { return dbid_ == 1 ? "main" : "master"; }

std::string Session::schemaOfDatabase(const std::string &db) {
    if (collateCompare(db, dbName_) == 0) return "main";
    if (iequals(db, "master")) return masterSchema();
    if (iequals(db, "tempdb")) return "temp";
    std::string key = collationKey(db);
    auto it = attached_.find(key);
    if (it != attached_.end()) return it->second;
    auto info = instance_->database(db);
    if (!info || info->filename.empty()) throw makeError(911, db);
    std::string schema = "db" + std::to_string(info->dbid);
    OpenTarget target = openTarget(info->filename);
    run("ATTACH DATABASE " + quoteText(target.name) + " AS " + quoteIdent(schema));
    if (!target.readOnly) Catalog::refreshCollation(db_, schema);
    attached_[key] = schema;
    return schema;
}

void Session::schemaChanged(bool rolledBack) {
    if (rolledBack) keptTempTables_.clear();
    for (auto &[n, c] : catalogs_) {
        if (rolledBack)
            c->invalidate();
        else
            c->recheck();
    }
    // A loop that makes and drops temporary tables of the same layouts goes
    // through the same few states of the schema: each keeps its generation,
    // so what was translated in a state serves again when the loop is back
    // in it. Any other change starts afresh.
    const bool keptOnly = !rolledBack && keptTempChange_;
    keptTempChange_ = false;
    if (!keptOnly) tempStates_.clear();
    const std::string state = tempStateKey();
    auto known = keptOnly ? tempStates_.find(state) : tempStates_.end();
    if (known != tempStates_.end()) {
        schemaGeneration_ = known->second;
    } else {
        newGeneration();
        if (tempStates_.size() >= 64) tempStates_.clear();
        tempStates_[state] = schemaGeneration_;
    }
}

std::string Session::tempStateKey() const {
    std::string key;
    for (const auto &[name, kept] : keptTempTables_)
        if (!kept.dropped) key += kept.ddl + '\x01' + kept.layout + '\x02';
    return key;
}

bool Session::inTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }

void Session::beginTransaction() {
    checkAlive();
    if (inTransaction()) throw SqlError(3902, "已有打开的事务。");
    run("BEGIN");
}

void Session::commit() {
    checkAlive();
    if (!inTransaction()) throw makeError(3902);
    try {
        run("COMMIT");
    } catch (const SqlError &) {
        if (!fileLost_) throw;
        // The refused commit leaves the transaction open: it is rolled back.
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw fileLostError();
    }
}

void Session::takeWriteLock() {
    // The transaction has only read: its snapshot may predate another
    // session's commit, and SQLite cannot move a stale snapshot on to write.
    // Reads keep no locks here (read committed), so the transaction starts
    // again holding the write lock, waiting for it as any lock (3 s, 1222).
    runCached("ROLLBACK");
    runCached("BEGIN");
    lockSchema(*this, "main");
}

void Session::lockBeforeWrite(const Plan &plan) {
    if (!inTransaction() || sqlite3_txn_state(db_, nullptr) != SQLITE_TXN_READ) return;
    bool writes = false;
    for (const auto &step : plan.steps) writes = writes || !sqlite3_stmt_readonly(prepare(step.sql));
    if (writes) takeWriteLock();
}

int Session::beforeCommit(void *session) {
    auto *self = static_cast<Session *>(session);
    int moved = 0;
    if (sqlite3_file_control(self->db_, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK) moved = 0;
    if (moved) self->fileLost_ = true;
    return moved ? 1 : 0;
}

SqlError Session::fileLostError() {
    instance_->markSuspect(dbid_);
    return makeError(823, file_, "写入", "2(系统找不到指定的文件。)");
}

void Session::rollback() {
    checkAlive();
    if (!inTransaction()) throw makeError(3903);
    run("ROLLBACK");
    // Rolled-back DDL leaves cached catalogue reads stale.
    schemaChanged();
}

sqlite3_stmt *Session::prepare(const std::string &sql) {
    auto it = stmtCache_.find(sql);
    if (it != stmtCache_.end()) {
        usedStatements_.insert(it->second);
        return it->second;
    }
    if (stmtCache_.size() > 400) {
        finalizeStatements();
    }
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v3(db_, sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &st, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        throw mapError(rc, sql);
    }
    stmtCache_[sql] = st;
    usedStatements_.insert(st);
    return st;
}

void Session::finalizeStatements() {
    for (auto &[sql, st] : stmtCache_) sqlite3_finalize(st);
    stmtCache_.clear();
    usedStatements_.clear();
}

SqlError Session::mapError(int rc, const std::string &sql) {
    std::string msg = sqlite3_errmsg(db_);
    int ext = sqlite3_extended_errcode(db_);
    if (fileLost_ && ext == SQLITE_CONSTRAINT_COMMITHOOK) return fileLostError();
    if (msg.rfind("PNW#", 0) == 0) {
        size_t p = msg.find('#', 4);
        if (p != std::string::npos) return SqlError(std::atoi(msg.substr(4, p - 4).c_str()), msg.substr(p + 1));
    }
    if (ext == SQLITE_CONSTRAINT_NOTNULL) {
        std::string what = msg.substr(msg.find(':') + 2);
        size_t dot = what.rfind('.');
        return makeError(515, what.substr(dot + 1), dbName_ + ".dbo." + what.substr(0, dot));
    }
    if (ext == SQLITE_CONSTRAINT_PRIMARYKEY || ext == SQLITE_CONSTRAINT_UNIQUE) {
        std::string what = msg.substr(msg.find(':') + 2);
        std::string table = what.substr(0, what.find('.'));
        std::vector<std::string> cols;
        size_t b = 0;
        while (b < what.size()) {
            size_t e = what.find(", ", b);
            if (e == std::string::npos) e = what.size();
            std::string part = what.substr(b, e - b);
            cols.push_back(part.substr(part.find('.') + 1));
            b = e + 2;
        }
        for (const char *schema : {"main", "temp"}) {
            auto t = catalog(schema).table(table);
            if (t && !t->primaryKeyName.empty() && t->primaryKeyColumns.size() == cols.size()) {
                bool same = true;
                for (size_t i = 0; i < cols.size(); ++i)
                    same = same && collateCompare(cols[i], t->primaryKeyColumns[i]) == 0;
                if (same) return makeError(2627, t->primaryKeyName, "dbo." + table);
            }
        }
        std::string index = uniqueIndexName(db_, table, cols);
        return makeError(2601, index.empty() ? table + "." + (cols.empty() ? "" : cols[0]) : index, "dbo." + table);
    }
    if (rc == SQLITE_READONLY || (ext & 0xFF) == SQLITE_READONLY) return makeError(3906, dbName_);
    return sqliteError(db_, rc, sql);
}

void Session::bindAll(sqlite3_stmt *st, const std::vector<Token> &literals, int literalBase,
                      const std::vector<Value> &params) {
    int n = sqlite3_bind_parameter_count(st);
    for (int i = 1; i <= n; ++i) {
        const char *name = sqlite3_bind_parameter_name(st, i);
        Value v;
        if (!name) continue;
        if (name[0] == ':' && name[1] == 'l') {
            size_t idx = size_t(literalBase + std::atoi(name + 2) - 1);
            if (idx < literals.size()) v = literalValue(literals[idx]);
        } else if (name[0] == ':' && name[1] == 'm') {
            size_t idx = size_t(std::atoi(name + 2));
            if (idx < params.size()) v = params[idx];
        } else if (name[0] == '@') {
            if (name[1] == '_' && name[2] == '_') {
                sqlite3_bind_int64(st, i, interpreter_->fetchStatus());
                continue;
            }
            {
                if (const Value *found = interpreter_->variableValue(name)) {
                    const Value &x = *found;
                    switch (x.kind) {
                    case Value::Kind::Null: sqlite3_bind_null(st, i); break;
                    case Value::Kind::Int: sqlite3_bind_int64(st, i, x.i); break;
                    case Value::Kind::Real: sqlite3_bind_double(st, i, x.d); break;
                    case Value::Kind::Text:
                        sqlite3_bind_text(st, i, x.s.data(), int(x.s.size()), SQLITE_TRANSIENT);
                        break;
                    case Value::Kind::Blob:
                        sqlite3_bind_blob(st, i, x.s.data(), int(x.s.size()), SQLITE_TRANSIENT);
                        break;
                    }
                    continue;
                }
            }
        }
        switch (v.kind) {
        case Value::Kind::Null: sqlite3_bind_null(st, i); break;
        case Value::Kind::Int: sqlite3_bind_int64(st, i, v.i); break;
        case Value::Kind::Real: sqlite3_bind_double(st, i, v.d); break;
        case Value::Kind::Text: sqlite3_bind_text(st, i, v.s.data(), int(v.s.size()), SQLITE_TRANSIENT); break;
        case Value::Kind::Blob: sqlite3_bind_blob(st, i, v.s.data(), int(v.s.size()), SQLITE_TRANSIENT); break;
        }
    }
}

Value readSqliteValue(sqlite3_stmt *st, int i, const SqlType &type) {
    int t = sqlite3_column_type(st, i);
    if (t == SQLITE_NULL) return Value::null();
    if (type.base == Base::Timestamp && t == SQLITE_INTEGER) {
        // Kept as a number so that it orders and compares; read as binary(8).
        uint64_t n = uint64_t(sqlite3_column_int64(st, i));
        std::string bytes(8, '\0');
        for (int k = 7; k >= 0; --k, n >>= 8) bytes[size_t(k)] = char(n & 0xFF);
        return Value::fromBlob(bytes);
    }
    if (type.isInteger() || type.base == Base::Timestamp) {
        if (t == SQLITE_INTEGER) return Value::fromInt(sqlite3_column_int64(st, i));
        return Value::fromInt(int64_t(sqlite3_column_double(st, i)));
    }
    if (type.isNumeric()) {
        double d = sqlite3_column_double(st, i);
        return Value::fromReal(type.isExact() ? roundScale(d, type.scale) : d);
    }
    if (t == SQLITE_BLOB || type.base == Base::Image) {
        const void *p = sqlite3_column_blob(st, i);
        return Value::fromBlob(p ? std::string(static_cast<const char *>(p), size_t(sqlite3_column_bytes(st, i)))
                                 : std::string());
    }
    if (type.base == Base::Null) {
        if (t == SQLITE_INTEGER) return Value::fromInt(sqlite3_column_int64(st, i));
        if (t == SQLITE_FLOAT) return Value::fromReal(sqlite3_column_double(st, i));
    }
    if (type.isText() && t == SQLITE_FLOAT) return Value::fromText(formatFloat(sqlite3_column_double(st, i)));
    const unsigned char *p = sqlite3_column_text(st, i);
    return Value::fromText(p ? std::string(reinterpret_cast<const char *>(p), size_t(sqlite3_column_bytes(st, i)))
                             : std::string());
}

void Session::runPlan(const Plan &plan, const std::vector<Token> &literals, int literalBase,
                      const std::vector<Value> &params, BatchResult &out) {
    CheckStatementFault(plan);
    if (plan.refreshProcesses) refreshProcesses();
    lockBeforeWrite(plan);
    // A statement of several steps is undone as a whole.
    std::optional<Savepoint> savepoint;
    if (plan.steps.size() > 1) savepoint.emplace(*this, Savepoint::kStatement);
    {
        for (const auto &step : plan.steps) {
            sqlite3_stmt *st = prepare(step.sql);
            bindAll(st, literals, literalBase, params);
            ResultSet rs;
            if (step.query) {
                for (const auto &c : step.columns) rs.columns.push_back(ColumnMeta{c.name, c.type, c.nullable});
                if (out.spoolRows) rs.spool = std::make_shared<RowSpool>();
            }
            int rc;
            int ncol = int(step.columns.size());
            std::vector<Value> row;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                if (!step.query) continue;
                row.clear();
                row.reserve(size_t(ncol));
                for (int i = 0; i < ncol; ++i) row.push_back(readSqliteValue(st, i, step.columns[size_t(i)].type));
                if (rs.spool)
                    rs.spool->append(row);
                else
                    rs.rows.push_back(std::move(row));
            }
            if (rc != SQLITE_DONE) {
                SqlError e = mapError(rc, step.sql);
                sqlite3_reset(st);
                throw e;
            }
            sqlite3_reset(st);
            if (step.query)
                out.resultSets.push_back(std::move(rs));
            else
                out.rowsAffected = sqlite3_changes64(db_);
        }
    }
    if (savepoint) savepoint->release();
}

std::string Session::openDataSource(const TableRef &ref, std::vector<OutputColumn> &columns) {
    std::string name = OpenDataSource::open(*instance_, db_, ref, columns);
    dataSources_.push_back(name);
    return "temp." + quoteIdent(name);
}

void Session::closeDataSources() {
    for (const auto &name : dataSources_) OpenDataSource::close(db_, name);
    dataSources_.clear();
}

void Session::executeStatement(const Statement &st, const std::vector<Token> &literals, int literalBase,
                               BatchResult &out, const std::vector<Value> &params) {
    CloseSources closeSources{*this};
    Translator tr(*this, literalBase);
    tr.setExactLiteralTypes();
    curLiterals_ = &literals;
    curBase_ = literalBase;
    curParams_ = &params;
    executeDdl(st, tr, out);
}

void Session::executeDdl(const Statement &st, Translator &tr, BatchResult &out) {
    if (st.kind == StmtKind::CreateDatabase || st.kind == StmtKind::DropDatabase) {
        if (inTransaction())
            throw makeError(226, st.kind == StmtKind::CreateDatabase ? "CREATE DATABASE" : "DROP DATABASE");
        if (st.kind == StmtKind::CreateDatabase) {
            instance_->createDatabase(st.itemName);
        } else {
            auto it = attached_.find(collationKey(st.itemName));
            if (it != attached_.end()) {
                finalizeStatements();
                batchCache_.clear();
                run("DETACH DATABASE " + quoteIdent(it->second));
                catalogs_.erase(it->second);
                attached_.erase(it);
            }
            instance_->dropDatabase(st.itemName, spid_);
        }
        return;
    }
    if (st.kind == StmtKind::SetOption) {
        runSetOption(*this, tr, st);
        return;
    }
    keptTempChange_ = false;
    WriteLockScope lock(*this, ddlSchema(st, tr));
    // Whether kept or undone, cached catalogue reads are stale afterwards.
    SchemaChangedOnExit changed{*this};
    Savepoint savepoint(*this, Savepoint::kDdl);
    switch (st.kind) {
    case StmtKind::CreateTable: runCreateTable(*this, tr, st); break;
    case StmtKind::DropTable: runDropTable(*this, tr, st); break;
    case StmtKind::Truncate: runTruncate(*this, tr, st); break;
    case StmtKind::AlterTable: runAlterTable(*this, tr, st); break;
    case StmtKind::CreateIndex: runCreateIndex(*this, tr, st); break;
    case StmtKind::Select: runSelectInto(*this, tr, st, out); break;
    default: throw makeError(102, "");
    }
    // Only a statement that did nothing but make or drop one kept table.
    if (!(st.kind == StmtKind::CreateTable || st.kind == StmtKind::Select ||
          (st.kind == StmtKind::DropTable && st.dropTargets.size() == 1)))
        keptTempChange_ = false;
    savepoint.release();
    lock.commit();
    changed.kept = true;
}

BatchResult Session::execute(std::string_view batch, const std::vector<Value> &params, bool spoolRows) {
    BatchResult out;
    out.spoolRows = spoolRows;
    try {
        checkAlive();
    } catch (const SqlError &e) {
        out.errors.push_back(e);
        return out;
    }
    if (durabilitySeen_ != instance_->durabilityGeneration()) followDurability();
    // A batch of plain queries and changes is found by its text, its
    // literals read off in one pass; only one not found is tokenized.
    std::string key;
    std::vector<Token> literals;
    std::vector<Token> tokens;
    bool byText = false;
    try {
        byText = literalShape(batch, kStreamedBatchTokens - 1, key, literals);
    } catch (const SqlError &e) {
        out.errors.push_back(e);
        return out;
    }

    // Another session's DDL makes every reused translation stale.
    bool changed = false;
    catalog("main");
    for (auto &[n, c] : catalogs_) changed = c->refreshIfChanged() || changed;
    if (changed) newGeneration();

    // A batch of the same shape run before reuses its tree, whose statements
    // keep their translations.
    std::shared_ptr<CachedBatch> reused;
    auto lookUp = [&] {
        auto hit = batchCache_.find(key);
        if (hit == batchCache_.end() || hit->second->generation != schemaGeneration_) return;
        bool same = true;
        for (const auto &[idx, text] : hit->second->structural)
            same = same && size_t(idx) < literals.size() && literals[size_t(idx)].text == text;
        for (const auto &[idx, kind] : hit->second->exactKinds)
            same = same && size_t(idx) < literals.size() && literalKind(literals[size_t(idx)]) == kind;
        if (same) reused = hit->second;
    };
    if (byText) lookUp();
    bool streamed = false;
    bool procedural = false;
    if (!reused) {
        try {
            tokens = tokenize(batch);
        } catch (const SqlError &e) {
            out.errors.push_back(e);
            return out;
        }
        if (!byText) {
            literals.clear();
            for (const auto &t : tokens)
                if (t.literalIndex >= 0) literals.push_back(t);
            // A long batch (a generated data script) is checked whole, then
            // parsed again and run one statement at a time: neither its tree
            // nor a plan per statement is held all at once, and it is not
            // kept for reuse. A batch with variables or control flow is keyed
            // by its text with some literals lifted (see proceduralKey).
            streamed = tokens.size() > kStreamedBatchTokens;
            procedural = !streamed;
            key = streamed ? std::string() : proceduralKey(tokens);
            if (!streamed) lookUp();
        }
    }

    Interpreter &in = *interpreter_;
    Interpreter::BatchScope scope(in, literals, params, batch);
    Parser parser(reused ? std::vector<Token>() : std::move(tokens));
    Batch parsed;
    bool module = false;
    size_t count = 0;
    try {
        if (reused) {
            parsed = reused->batch;
        } else if (streamed) {
            parser.checkBatch([&](const Statement &st) {
                if (count++ == 0) module = st.kind == StmtKind::CreateProcedure || st.kind == StmtKind::CreateTrigger;
                if (!module) in.declareIn(st);
            });
        } else {
            parsed = parser.parseBatch();
        }
    } catch (const SqlError &e) {
        out.errors.push_back(e);
        return out;
    } catch (const std::exception &e) {
        out.errors.push_back(SqlError(102, std::string("语法错误：") + e.what()));
        return out;
    }
    // Only batches of plain queries and changes without client parameters
    // are kept; their tree must then outlive the run.
    bool keep = !reused && params.empty() && !streamed;
    bool keepProcedural = keep && procedural;
    for (const auto &stp : parsed.statements) {
        keep = keep && isDml(*stp);
        keepProcedural = keepProcedural && isProceduralKeepable(*stp);
    }
    // A procedural batch is kept once it has run, when all its translations
    // may serve again; a reused one is let go when one of them may not.
    auto cached = keep && !keepProcedural ? std::make_shared<CachedBatch>() : nullptr;
    if (cached) cached->batch = parsed;
    std::shared_ptr<CachedBatch> procBatch;
    if (keepProcedural) {
        procBatch = std::make_shared<CachedBatch>();
        procBatch->batch = parsed;
    } else if (reused && procedural) {
        procBatch = reused;
    }
    if (!streamed) {
        module = !parsed.statements.empty() && (parsed.statements[0]->kind == StmtKind::CreateProcedure ||
                                                parsed.statements[0]->kind == StmtKind::CreateTrigger);
        if (!module) in.declareAll(parsed.statements);
    }
    std::set<int> looseLiterals;
    for (size_t i = 0;; ++i) {
        // Each statement, with the translation cached on it, is let go once
        // it has run (unless the batch is kept): nothing later in the batch
        // goes back to it.
        StatementP stp;
        try {
            if (streamed)
                stp = parser.nextStatement();
            else if (i < parsed.statements.size())
                stp = std::move(parsed.statements[i]);
        } catch (const std::exception &e) {
            // The first pass accepted this text; a second pass cannot fail.
            out.errors.push_back(SqlError(50000, std::string("内部错误：") + e.what()));
            break;
        }
        if (!stp) break;
        try {
            in.runStatement(*stp, out);
        } catch (const SqlError &e) {
            out.errors.push_back(e);
            for (const auto &[n, text] : e.followUps()) out.errors.push_back(SqlError(n, text));
            if (e.scope() != ErrorScope::Statement) break;
        } catch (const std::exception &e) {
            // An engine fault is reported, never passed on as a crash.
            out.errors.push_back(internalError(e));
            break;
        }
        if (cached) {
            auto plan = stp->cache ? std::static_pointer_cast<Plan>(stp->cache->plan) : nullptr;
            if (!plan || !plan->cacheable)
                cached.reset();
            else
                looseLiterals.insert(plan->looseLiterals.begin(), plan->looseLiterals.end());
        }
    }
    if (procBatch) {
        bool reusable = out.errors.empty();
        for (const auto &stp : procBatch->batch.statements)
            reusable = reusable && translationsReusable(*stp, schemaGeneration_);
        if (procBatch == reused) {
            if (!reusable) batchCache_.erase(key);
        } else if (reusable) {
            cached = procBatch;
        }
    }
    if (cached && out.errors.empty()) {
        cached->generation = schemaGeneration_;
        for (int idx : parser.structuralLiterals())
            if (idx >= 0 && size_t(idx) < literals.size())
                cached->structural.push_back({idx, literals[size_t(idx)].text});
        // Found by text, a batch's decimals are told apart by their digits
        // only where those shape a plan.
        if (byText)
            for (const auto &t : literals)
                if (t.kind == TokenKind::Decimal && !looseLiterals.count(t.literalIndex))
                    cached->exactKinds.push_back({t.literalIndex, literalKind(t)});
        batchCache_.put(key, cached, batch.size());
    }
    return out;
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

int64_t Session::runBound(const std::string &sql) {
    static const std::vector<Token> noLiterals;
    static const std::vector<Value> noParams;
    Plan p;
    StepPlan step;
    step.sql = sql;
    p.steps.push_back(step);
    BatchResult out;
    runPlan(p, curLiterals_ ? *curLiterals_ : noLiterals, curBase_, curParams_ ? *curParams_ : noParams, out);
    return out.rowsAffected;
}

bool Session::variableType(const std::string &name, SqlType &type) const {
    return interpreter_->variableType(name, type);
}

std::shared_ptr<const TableInfo> Session::triggerTable(const std::string &name) const {
    return interpreter_->triggerTable(name);
}

Value Session::evaluate(const std::string &expression, const SqlType &type) {
    std::string typeName = type.name();
    if (type.base == Base::Timestamp) typeName = "bigint";
    const std::vector<Token> *savedLiterals = curLiterals_;
    int savedBase = curBase_;
    const std::vector<Value> *savedParams = curParams_;
    BatchResult r = execute("SELECT CAST(" + expression + " AS " + typeName + ")");
    curLiterals_ = savedLiterals;
    curBase_ = savedBase;
    curParams_ = savedParams;
    if (!r.errors.empty()) throw r.errors.front();
    if (r.resultSets.empty() || r.resultSets[0].rows.empty()) return Value::null();
    return r.resultSets[0].rows[0][0];
}

void Session::refreshProcesses() {
    run("DELETE FROM temp.__pnw_processes");
    for (const auto &p : instance_->processes())
        run("INSERT INTO temp.__pnw_processes VALUES(" + std::to_string(p.spid) + "," + std::to_string(p.dbid) + "," +
            quoteText(p.login) + ",'','','runnable')");
}

Value Session::objectId(const std::string &raw) {
    // Split "db.schema.name" (brackets allowed, "db..name" too).
    std::vector<std::string> parts;
    std::string cur;
    bool inBracket = false;
    for (char c : raw) {
        if (c == '[')
            inBracket = true;
        else if (c == ']')
            inBracket = false;
        if (c == '.' && !inBracket) {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    parts.push_back(cur);
    for (auto &p : parts) p = stripBrackets(trimRightBlanks(trimLeftBlanks(p)));
    std::string name = parts.back();
    std::string db = parts.size() >= 3 ? parts[parts.size() - 3] : "";
    std::string schema = parts.size() >= 2 ? parts[parts.size() - 2] : "";
    if (!schema.empty() && !iequals(schema, "dbo")) return Value::null();
    std::string sqlSchema = "main";
    try {
        if (!name.empty() && name[0] == '#')
            sqlSchema = "temp";
        else if (!db.empty())
            sqlSchema = schemaOfDatabase(db);
    } catch (const SqlError &) {
        return Value::null();
    }
    if (!name.empty() && name[0] == '#' && !db.empty() && !iequals(db, "tempdb")) return Value::null();
    auto o = catalog(sqlSchema).object(name);
    if (!o) return Value::null();
    return Value::fromInt(o->id);
}

Value Session::objectProperty(int64_t id, const std::string &prop) {
    for (const char *schema : {"main", "temp"}) {
        auto o = catalog(schema).objectById(int(id));
        if (!o) continue;
        if (iequals(prop, "IsTable") || iequals(prop, "IsUserTable")) return Value::fromInt(o->xtype == "U" ? 1 : 0);
        if (iequals(prop, "IsProcedure")) return Value::fromInt(o->xtype == "P" ? 1 : 0);
        if (iequals(prop, "IsTrigger")) return Value::fromInt(o->xtype == "TR" ? 1 : 0);
        return Value::null();
    }
    return Value::null();
}

Value Session::dbNameOf(const Value &id) {
    if (id.isNull()) return Value::fromText(dbName_);
    int64_t n = id.kind == Value::Kind::Int ? id.i : int64_t(id.d);
    if (n == 2) return Value::fromText("tempdb");
    auto info = instance_->databaseById(int(n));
    return info ? Value::fromText(info->name) : Value::null();
}

}  // namespace server
