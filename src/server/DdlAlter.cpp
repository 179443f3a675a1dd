// ALTER TABLE: ADD columns (existing rows stay NULL for a nullable column
// with a default), ADD an identity column (the table is rebuilt and its rows
// numbered in insertion order), ALTER COLUMN, DROP COLUMN, DROP CONSTRAINT,
// ENABLE/DISABLE TRIGGER.
#include <sqlite3.h>

#include "server/Convert.h"
#include "server/Ddl.h"
#include "server/DdlLayout.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

namespace {

std::string sqlLiteral(const Value &v) {
    switch (v.kind) {
    case Value::Kind::Null: return "NULL";
    case Value::Kind::Int: return std::to_string(v.i);
    case Value::Kind::Real: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", v.d);
        return buf;
    }
    default: return quoteText(v.s);
    }
}

bool tableHasRows(Session &s, const TableInfo &t) {
    sqlite3_stmt *st = nullptr;
    std::string sql = "SELECT 1 FROM " + t.sqlName() + " LIMIT 1";
    bool rows = false;
    if (sqlite3_prepare_v2(s.handle(), sql.c_str(), -1, &st, nullptr) == SQLITE_OK)
        rows = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    return rows;
}

std::vector<std::string> indexSql(Session &s, const TableInfo &t) {
    std::vector<std::string> out;
    sqlite3_stmt *st = nullptr;
    std::string sql = "SELECT sql FROM " + quoteIdent(t.schema) +
                      ".sqlite_master WHERE type = 'index' AND tbl_name = ?1 AND sql IS NOT NULL";
    if (sqlite3_prepare_v2(s.handle(), sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(st, 1, t.name.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(st) == SQLITE_ROW)
            out.push_back(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    }
    sqlite3_finalize(st);
    return out;
}

// Schema changes that leave SQLite's own schema as it was must still tell
// other connections to reload the catalogue.
void bumpSchema(Session &s, const std::string &schema) {
    std::string n = quoteIdent(schema) + ".\"__pnw_bump\"";
    s.run("CREATE TABLE " + n + "(x)");
    s.run("DROP TABLE " + n);
}

void addIdentityColumn(Session &s, const TableInfo &t, const ColumnInfo &c) {
    if (t.identityIndex() >= 0) throw makeError(2744, t.name);
    std::vector<ColumnInfo> cols = t.columns;
    cols.push_back(c);
    std::string tmp = "__pnw_rebuild";
    std::string tmpName = quoteIdent(t.schema) + "." + quoteIdent(tmp);
    auto indexes = indexSql(s, t);
    s.run(tableDdl(tmpName, cols, t.primaryKeyColumns, {}));
    setIdentitySeed(s, t.schema, tmp, c.seed);
    std::string list;
    for (const auto &oc : t.columns) list += (list.empty() ? "" : ",") + quoteIdent(oc.name);
    // The existing rows are numbered from the seed in their order (SQLite
    // would start an empty table at 1 whatever the seed).
    if (!list.empty())
        s.run("INSERT INTO " + tmpName + "(" + list + "," + quoteIdent(c.name) + ") SELECT " + list + ", " +
              std::to_string(c.seed - 1) + " + row_number() OVER (ORDER BY rowid) FROM " + t.sqlName() +
              " ORDER BY rowid");
    s.run("DROP TABLE " + t.sqlName());
    s.run("ALTER TABLE " + tmpName + " RENAME TO " + quoteIdent(t.name));
    for (const auto &ix : indexes) s.run(ix);
}

}  // namespace

void runAlterTable(Session &s, Translator &tr, const Statement &st) {
    std::string schema = tr.schemaFor(st.target);
    Catalog &cat = s.catalog(schema);
    if (schema == "temp") forgetKeptTempTables(s);
    auto t = cat.table(st.target.name);
    if (!t) throw makeError(4902, st.target.display());
    switch (st.alter) {
    case AlterAction::AddColumns: {
        int nextId = 0;
        for (const auto &c : t->columns) nextId = std::max(nextId, c.colid);
        bool hasRows = tableHasRows(s, *t);
        for (const auto &d : st.columnDefs) {
            t = cat.table(st.target.name);
            if (t->column(d.name)) throw makeError(2705, t->name, d.name);
            if (d.primaryKey || d.unique)
                throw makeError(102, "PRIMARY", "（不支持的语法：ALTER TABLE ... ADD 带约束的列）");
            ColumnInfo c;
            c.name = d.name;
            c.type = d.type.type;
            c.colid = ++nextId;
            c.identity = d.identity;
            c.seed = d.seed;
            c.increment = d.increment;
            c.nullable = !(d.notNull || d.identity);
            if (d.defaultExpr) c.defaultSql = defaultText(*d.defaultExpr);
            if (c.identity && d.increment != 1)
                throw makeError(102, "IDENTITY", "（不支持的语法：增量不为 1 的标识列）");
            Value def;
            if (!c.defaultSql.empty()) def = s.evaluate(c.defaultSql, c.type);
            if (c.identity) {
                addIdentityColumn(s, *t, c);
            } else {
                std::string decl = quoteIdent(c.name) + " " + columnDecl(c);
                if (!c.nullable) {
                    if (c.defaultSql.empty() && hasRows) throw makeError(4901, c.name, t->name);
                    // SQLite needs a value for existing rows; an empty table has none.
                    std::string v = !c.defaultSql.empty() ? sqlLiteral(def)
                                    : c.type.isText()     ? std::string("''")
                                                          : std::string("0");
                    decl += " NOT NULL DEFAULT " + v;
                }
                s.run("ALTER TABLE " + t->sqlName() + " ADD COLUMN " + decl);
            }
            if (!c.defaultSql.empty()) {
                int did = cat.addObject("DF__pending", "D", t->id);
                s.run("UPDATE " + quoteIdent(schema) + ".__pnw_objects SET name = " +
                      quoteText(defaultConstraintName(t->name, c.name, did)) + " WHERE id = " + std::to_string(did));
                c.cdefault = did;
            }
            cat.addColumn(t->id, c);
        }
        break;
    }
    case AlterAction::AlterColumn: {
        const ColumnDef &d = st.columnDefs.front();
        const ColumnInfo *old = t->column(d.name);
        if (!old) throw makeError(4924, d.name, t->name);
        if (old->identity) throw makeError(4928, d.name);
        ColumnInfo c = *old;
        c.type = d.type.type;
        c.nullable = !d.notNull;
        if (!c.nullable && old->nullable) {
            sqlite3_stmt *q = nullptr;
            std::string sql = "SELECT 1 FROM " + t->sqlName() + " WHERE " + quoteIdent(c.name) + " IS NULL LIMIT 1";
            bool nulls = false;
            if (sqlite3_prepare_v2(s.handle(), sql.c_str(), -1, &q, nullptr) == SQLITE_OK)
                nulls = sqlite3_step(q) == SQLITE_ROW;
            sqlite3_finalize(q);
            if (nulls) throw makeError(515, c.name, t->name);
        }
        // Existing values must fit the new type.
        s.run("UPDATE " + t->sqlName() + " SET " + quoteIdent(c.name) + " = pnw_cv(" + quoteIdent(c.name) + "," +
              std::to_string(packType(old->type)) + "," + std::to_string(packType(c.type)) + ",0,-1) WHERE " +
              quoteIdent(c.name) + " IS NOT NULL");
        cat.updateColumn(t->id, c);
        bumpSchema(s, schema);
        break;
    }
    case AlterAction::DropColumn: {
        const ColumnInfo *c = t->column(st.itemName);
        if (!c) throw makeError(4924, st.itemName, t->name);
        auto dependent = [&](const std::string &object) {
            SqlError e = makeError(5074, object, c->name);
            e.then(4922, makeError(4922, c->name).text());
            return e;
        };
        if (c->cdefault) {
            auto d = cat.objectById(c->cdefault);
            throw dependent(d ? d->name : "DF");
        }
        for (const auto &pkc : t->primaryKeyColumns)
            if (collateCompare(pkc, c->name) == 0) throw dependent(t->primaryKeyName);
        if (c->identity) throw dependent("IDENTITY");
        try {
            s.run("ALTER TABLE " + t->sqlName() + " DROP COLUMN " + quoteIdent(c->name));
        } catch (const SqlError &) {
            throw dependent("INDEX");
        }
        cat.removeColumn(t->id, c->name);
        break;
    }
    case AlterAction::DropConstraint: {
        auto o = cat.object(st.itemName);
        if (!o || o->parent != t->id) {
            SqlError e = makeError(3728, st.itemName);
            e.then(3727, makeError(3727).text());
            throw e;
        }
        if (o->xtype == "D") {
            for (const auto &c : t->columns)
                if (c.cdefault == o->id) {
                    ColumnInfo nc = c;
                    nc.cdefault = 0;
                    nc.defaultSql.clear();
                    cat.updateColumn(t->id, nc);
                }
            cat.removeObject(o->id);
            bumpSchema(s, schema);
        } else {
            throw makeError(102, "CONSTRAINT", "（不支持的语法：删除主键约束）");
        }
        break;
    }
    case AlterAction::EnableTrigger:
    case AlterAction::DisableTrigger: {
        auto o = cat.object(st.itemName);
        if (!o || o->xtype != "TR" || o->parent != t->id) throw makeError(8197, st.itemName);
        cat.setDisabled(o->id, st.alter == AlterAction::DisableTrigger);
        bumpSchema(s, schema);
        break;
    }
    }
}

}  // namespace server
