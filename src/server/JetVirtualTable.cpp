#include "server/JetVirtualTable.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "jet/JetError.h"
#include "jet/JetExactTypes.h"
#include "jet/JetFormat.h"
#include "jet/JetReader.h"
#include "jet/JetTableCursor.h"
#include "server/Catalog.h"
#include "server/Convert.h"
#include "server/SqlError.h"

namespace server {

namespace {

std::mutex &registryMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, std::shared_ptr<JetRowSource>> &registry() {
    static std::map<std::string, std::shared_ptr<JetRowSource>> r;
    return r;
}

struct JetVtab {
    sqlite3_vtab base{};
    std::shared_ptr<JetRowSource> source;
};

struct JetCursor {
    sqlite3_vtab_cursor base{};
    std::unique_ptr<jet::JetTableCursor> cursor;
    std::vector<jet::Value> row;
    sqlite3_int64 rowid = 0;
    bool eof = true;
};

// Error texts travel to the session as "PNW#<number>#<text>".
char *engineError(int number, const std::string &text) { return sqlite3_mprintf("PNW#%d#%s", number, text.c_str()); }

std::string fetchError(const JetRowSource &s) {
    return "无法从链接服务器 \"(null)\" 的 OLE DB 访问接口 \"" + s.provider + "\" 提取行。";
}

int connect(sqlite3 *db, void *, int argc, const char *const *argv, sqlite3_vtab **out, char **err) {
    if (argc < 4) {
        *err = sqlite3_mprintf("pnw_jet needs a source");
        return SQLITE_ERROR;
    }
    std::shared_ptr<JetRowSource> source;
    {
        std::lock_guard<std::mutex> lock(registryMutex());
        auto it = registry().find(argv[3]);
        if (it != registry().end()) source = it->second;
    }
    // A table whose statement has ended (a rollback brought its definition
    // back) reads nothing and can still be dropped.
    std::string decl = "CREATE TABLE x(";
    if (!source || !source->table) {
        source.reset();
        decl += "\"__closed\"";
    } else {
        for (size_t i = 0; i < source->table->fields.size(); ++i)
            decl += (i ? ", " : "") + quoteIdent(source->table->fields[i].name);
    }
    decl += ")";
    int rc = sqlite3_declare_vtab(db, decl.c_str());
    if (rc != SQLITE_OK) return rc;
    auto *v = new JetVtab;
    v->source = std::move(source);
    *out = &v->base;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab *vtab) {
    delete reinterpret_cast<JetVtab *>(vtab);
    return SQLITE_OK;
}

int bestIndex(sqlite3_vtab *vtab, sqlite3_index_info *info) {
    const auto *v = reinterpret_cast<JetVtab *>(vtab);
    double rows = v->source ? double(std::max<int64_t>(1, v->source->table->rowCount)) : 1.0;
    info->estimatedRows = sqlite3_int64(rows);
    info->estimatedCost = rows * 10;
    return SQLITE_OK;
}

int openCursor(sqlite3_vtab *, sqlite3_vtab_cursor **out) {
    auto *c = new JetCursor;
    *out = &c->base;
    return SQLITE_OK;
}

int closeCursor(sqlite3_vtab_cursor *cur) {
    delete reinterpret_cast<JetCursor *>(cur);
    return SQLITE_OK;
}

int advance(JetCursor *c) {
    auto *v = reinterpret_cast<JetVtab *>(c->base.pVtab);
    try {
        c->eof = !c->cursor->next(c->row);
        ++c->rowid;
        return SQLITE_OK;
    } catch (const std::exception &e) {
        c->eof = true;
        sqlite3_free(v->base.zErrMsg);
        v->base.zErrMsg = engineError(7330, fetchError(*v->source));
        return SQLITE_ERROR;
    }
}

int filter(sqlite3_vtab_cursor *cur, int, const char *, int, sqlite3_value **) {
    auto *c = reinterpret_cast<JetCursor *>(cur);
    auto *v = reinterpret_cast<JetVtab *>(cur->pVtab);
    if (!v->source) {
        c->eof = true;
        sqlite3_free(v->base.zErrMsg);
        v->base.zErrMsg = engineError(7330, "数据源已关闭。");
        return SQLITE_ERROR;
    }
    try {
        c->cursor = v->source->reader->openTable(v->source->table->name);
    } catch (const std::exception &) {
        c->eof = true;
        sqlite3_free(v->base.zErrMsg);
        v->base.zErrMsg = engineError(7330, fetchError(*v->source));
        return SQLITE_ERROR;
    }
    c->rowid = 0;
    return advance(c);
}

int next(sqlite3_vtab_cursor *cur) { return advance(reinterpret_cast<JetCursor *>(cur)); }

int eof(sqlite3_vtab_cursor *cur) { return reinterpret_cast<JetCursor *>(cur)->eof ? 1 : 0; }

// Jet counts days from 1899-12-30 with the time running forwards even
// before that day (-1.25 is 1899-12-29 06:00); the engine counts plain
// days from 1900-01-01.
double engineDays(double jetDays) {
    double whole = std::trunc(jetDays);
    double time = std::fabs(jetDays - whole);
    return whole + time - 2.0;
}

int column(sqlite3_vtab_cursor *cur, sqlite3_context *ctx, int i) {
    auto *c = reinterpret_cast<JetCursor *>(cur);
    if (i < 0 || size_t(i) >= c->row.size()) {
        sqlite3_result_null(ctx);
        return SQLITE_OK;
    }
    const jet::Value &v = c->row[size_t(i)];
    switch (v.kind) {
    case jet::ValueKind::Null: sqlite3_result_null(ctx); break;
    case jet::ValueKind::Boolean:
    case jet::ValueKind::Integer: sqlite3_result_int64(ctx, v.integer); break;
    case jet::ValueKind::Currency: sqlite3_result_double(ctx, double(v.integer) / 10000.0); break;
    case jet::ValueKind::Single:
    case jet::ValueKind::Double: sqlite3_result_double(ctx, v.real); break;
    case jet::ValueKind::DateTime: {
        try {
            std::string text = dateTimeFromDays(engineDays(v.real));
            sqlite3_result_text(ctx, text.data(), int(text.size()), SQLITE_TRANSIENT);
        } catch (const SqlError &e) {
            char *msg = engineError(e.number(), e.text());
            sqlite3_result_error(ctx, msg, -1);
            sqlite3_free(msg);
        }
        break;
    }
    case jet::ValueKind::Text: sqlite3_result_text(ctx, v.bytes.data(), int(v.bytes.size()), SQLITE_TRANSIENT); break;
    case jet::ValueKind::Binary: {
        // Decimal and GUID arrive as the server's decimal and uniqueidentifier.
        const auto *vtab = reinterpret_cast<const JetVtab *>(cur->pVtab);
        const auto &fields = vtab->source->table->fields;
        const int type = size_t(i) < fields.size() ? fields[size_t(i)].jetType : 0;
        const std::string text = type == jet::format::kNumeric ? jet::decimalText(v.bytes, fields[size_t(i)].scale)
                                 : type == jet::format::kGuid  ? jet::guidText(v.bytes)
                                                               : std::string();
        if (text.empty())
            sqlite3_result_blob(ctx, v.bytes.data(), int(v.bytes.size()), SQLITE_TRANSIENT);
        else if (type == jet::format::kNumeric)
            sqlite3_result_double(ctx, std::strtod(text.c_str(), nullptr));
        else
            sqlite3_result_text(ctx, text.data(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor *cur, sqlite3_int64 *out) {
    *out = reinterpret_cast<JetCursor *>(cur)->rowid;
    return SQLITE_OK;
}

const sqlite3_module &module() {
    static const sqlite3_module m = [] {
        sqlite3_module x{};
        x.iVersion = 0;
        x.xCreate = connect;
        x.xConnect = connect;
        x.xBestIndex = bestIndex;
        x.xDisconnect = disconnect;
        x.xDestroy = disconnect;
        x.xOpen = openCursor;
        x.xClose = closeCursor;
        x.xFilter = filter;
        x.xNext = next;
        x.xEof = eof;
        x.xColumn = column;
        x.xRowid = rowid;
        return x;
    }();
    return m;
}

}  // namespace

void JetVirtualTable::registerModule(sqlite3 *db) {
    sqlite3_create_module_v2(db, kModule, &module(), nullptr, nullptr);
}

void JetVirtualTable::add(const std::string &token, std::shared_ptr<JetRowSource> source) {
    std::lock_guard<std::mutex> lock(registryMutex());
    registry()[token] = std::move(source);
}

void JetVirtualTable::remove(const std::string &token) {
    std::lock_guard<std::mutex> lock(registryMutex());
    registry().erase(token);
}

}  // namespace server
