#include "server/PseudoTable.h"

#include <sqlite3.h>

#include <cstring>

#include "server/Catalog.h"

namespace server {

void PseudoRows::add(sqlite3_value *v) {
    Value &x = values_.emplace_back();
    switch (v ? sqlite3_value_type(v) : SQLITE_NULL) {
    case SQLITE_INTEGER:
        x.kind = Value::Kind::Int;
        x.i = sqlite3_value_int64(v);
        break;
    case SQLITE_FLOAT:
        x.kind = Value::Kind::Real;
        x.d = sqlite3_value_double(v);
        break;
    case SQLITE_TEXT:
        x.kind = Value::Kind::Text;
        x.s.assign(reinterpret_cast<const char *>(sqlite3_value_text(v)), size_t(sqlite3_value_bytes(v)));
        break;
    case SQLITE_BLOB: {
        x.kind = Value::Kind::Blob;
        const void *p = sqlite3_value_blob(v);
        x.s.assign(p ? static_cast<const char *>(p) : "", size_t(sqlite3_value_bytes(v)));
        break;
    }
    default: break;
    }
}

void PseudoRows::addRow(sqlite3_stmt *st) {
    for (int i = 0; i < columns_; ++i) add(sqlite3_column_value(st, i));
}

void PseudoRows::reorder(const std::vector<size_t> &order) {
    std::vector<Value> sorted;
    sorted.reserve(values_.size());
    size_t n = size_t(columns_);
    for (size_t r : order)
        for (size_t c = 0; c < n; ++c) sorted.push_back(std::move(values_[r * n + c]));
    values_.swap(sorted);
}

namespace {

struct PseudoVtab {
    sqlite3_vtab base{};
    PseudoSource *source = nullptr;
    bool deleted = false;
};

struct PseudoCursor {
    sqlite3_vtab_cursor base{};
    const PseudoRows *rows = nullptr;
    size_t row = 0;
};

// argv[3]: the kind; argv[4..]: the column declarations.
int connect(sqlite3 *db, void *aux, int argc, const char *const *argv, sqlite3_vtab **out, char **err) {
    if (argc < 5) {
        *err = sqlite3_mprintf("pnw_pseudo needs a kind and columns");
        return SQLITE_ERROR;
    }
    std::string decl = "CREATE TABLE x(";
    for (int i = 4; i < argc; ++i) decl += std::string(i > 4 ? ", " : "") + argv[i];
    decl += ")";
    int rc = sqlite3_declare_vtab(db, decl.c_str());
    if (rc != SQLITE_OK) return rc;
    auto *v = new PseudoVtab;
    v->source = static_cast<PseudoSource *>(aux);
    v->deleted = std::strcmp(argv[3], "deleted") == 0;
    *out = &v->base;
    return SQLITE_OK;
}

int bestIndex(sqlite3_vtab *, sqlite3_index_info *info) {
    info->estimatedCost = 10;
    info->estimatedRows = 10;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab *vtab) {
    delete reinterpret_cast<PseudoVtab *>(vtab);
    return SQLITE_OK;
}

int open(sqlite3_vtab *, sqlite3_vtab_cursor **out) {
    *out = &(new PseudoCursor)->base;
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor *cur) {
    delete reinterpret_cast<PseudoCursor *>(cur);
    return SQLITE_OK;
}

int filter(sqlite3_vtab_cursor *cur, int, const char *, int, sqlite3_value **) {
    auto *c = reinterpret_cast<PseudoCursor *>(cur);
    auto *v = reinterpret_cast<PseudoVtab *>(cur->pVtab);
    // Outside a firing (or for the other kind of statement) the table is empty.
    c->rows = v->source ? (v->deleted ? v->source->deleted : v->source->inserted) : nullptr;
    c->row = 0;
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor *cur) {
    ++reinterpret_cast<PseudoCursor *>(cur)->row;
    return SQLITE_OK;
}

int eof(sqlite3_vtab_cursor *cur) {
    auto *c = reinterpret_cast<PseudoCursor *>(cur);
    return !c->rows || c->row >= c->rows->rows();
}

int column(sqlite3_vtab_cursor *cur, sqlite3_context *ctx, int i) {
    auto *c = reinterpret_cast<PseudoCursor *>(cur);
    if (i >= c->rows->columns()) return SQLITE_OK;
    // The rows stay put until the firing ends, after every statement that reads them.
    const Value &v = c->rows->at(c->row, i);
    switch (v.kind) {
    case Value::Kind::Null: break;
    case Value::Kind::Int: sqlite3_result_int64(ctx, v.i); break;
    case Value::Kind::Real: sqlite3_result_double(ctx, v.d); break;
    case Value::Kind::Text: sqlite3_result_text(ctx, v.s.data(), int(v.s.size()), SQLITE_STATIC); break;
    case Value::Kind::Blob: sqlite3_result_blob(ctx, v.s.data(), int(v.s.size()), SQLITE_STATIC); break;
    }
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor *cur, sqlite3_int64 *out) {
    *out = sqlite3_int64(reinterpret_cast<PseudoCursor *>(cur)->row + 1);
    return SQLITE_OK;
}

sqlite3_module makeModule() {
    sqlite3_module m{};
    m.iVersion = 1;
    m.xCreate = connect;
    m.xConnect = connect;
    m.xBestIndex = bestIndex;
    m.xDisconnect = disconnect;
    m.xDestroy = disconnect;
    m.xOpen = open;
    m.xClose = close;
    m.xFilter = filter;
    m.xNext = next;
    m.xEof = eof;
    m.xColumn = column;
    m.xRowid = rowid;
    return m;
}

const sqlite3_module kModule = makeModule();

}  // namespace

void registerPseudoModule(sqlite3 *db, PseudoSource *source) {
    sqlite3_create_module_v2(db, "pnw_pseudo", &kModule, source, nullptr);
}

std::string pseudoTableSql(const std::string &name, const std::string &kind, const std::vector<std::string> &columns) {
    std::string sql = "CREATE VIRTUAL TABLE temp." + quoteIdent(name) + " USING pnw_pseudo(" + kind;
    for (const auto &c : columns) sql += ", " + c;
    return sql + ")";
}

}  // namespace server
