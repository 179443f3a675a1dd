// CREATE TABLE, DROP TABLE and TRUNCATE TABLE, and the SQLite table layout
// they share with ALTER TABLE and SELECT INTO.
#include <cstdio>

#include "server/Ddl.h"
#include "server/DdlLayout.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

std::string defaultConstraintName(const std::string &table, const std::string &column, int id) {
    auto cut = [](const std::string &s, int n) {
        std::u32string u = decodeUtf8(s);
        return encodeUtf8(u.substr(0, size_t(n)));
    };
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08X", unsigned(uint32_t(id) * 2654435761u));
    return "DF__" + cut(table, 9) + "__" + cut(column, 5) + "__" + hex;
}

std::string defaultText(const Expr &e) {
    switch (e.kind) {
    case ExprKind::Literal:
        if (e.literalType.base == Base::VarChar) return quoteText(e.text);
        if (e.literalType.base == Base::NVarChar) return "N" + quoteText(e.text);
        return e.text;
    case ExprKind::Null: return "NULL";
    case ExprKind::Unary: return e.op + defaultText(*e.args[0]);
    case ExprKind::Function: {
        std::string s = e.op + "(";
        for (size_t i = 0; i < e.args.size(); ++i) s += (i ? "," : "") + defaultText(*e.args[i]);
        return s + ")";
    }
    case ExprKind::Binary: return "(" + defaultText(*e.args[0]) + e.op + defaultText(*e.args[1]) + ")";
    default: throw makeError(128, "DEFAULT");
    }
}

std::string columnDecl(const ColumnInfo &c) {
    if (c.type.isInteger() || c.type.base == Base::Timestamp) return "INT";
    return c.type.sqliteDecl();
}

std::string tableDdl(const std::string &sqlName, const std::vector<ColumnInfo> &cols,
                     const std::vector<std::string> &pkCols, const std::vector<std::vector<std::string>> &uniques) {
    std::string ddl = "CREATE TABLE " + sqlName + "(";
    bool identityIsPk = false;
    bool hasIdentity = false;
    for (const auto &c : cols)
        if (c.identity) {
            hasIdentity = true;
            identityIsPk = pkCols.size() == 1 && collateCompare(pkCols[0], c.name) == 0;
        }
    for (size_t i = 0; i < cols.size(); ++i) {
        const ColumnInfo &c = cols[i];
        ddl += (i ? ", " : "") + quoteIdent(c.name) + " ";
        if (c.identity)
            ddl += "INTEGER PRIMARY KEY AUTOINCREMENT";
        else
            ddl += columnDecl(c) + (c.nullable ? "" : " NOT NULL");
    }
    auto list = [](const std::vector<std::string> &names) {
        std::string s;
        for (size_t i = 0; i < names.size(); ++i) s += (i ? "," : "") + quoteIdent(names[i]);
        return s;
    };
    if (!pkCols.empty() && !identityIsPk)
        ddl += std::string(", ") + (hasIdentity ? "UNIQUE(" : "PRIMARY KEY(") + list(pkCols) + ")";
    for (const auto &u : uniques) ddl += ", UNIQUE(" + list(u) + ")";
    return ddl + ")";
}

void setIdentitySeed(Session &s, const std::string &schema, const std::string &table, int64_t seed) {
    s.run("DELETE FROM " + quoteIdent(schema) + ".sqlite_sequence WHERE name = " + quoteText(table));
    s.run("INSERT INTO " + quoteIdent(schema) + ".sqlite_sequence(name, seq) VALUES(" + quoteText(table) + "," +
          std::to_string(seed - 1) + ")");
}

void runCreateTable(Session &s, Translator &tr, const Statement &st) {
    std::string schema = tr.schemaFor(st.target);
    Catalog &cat = s.catalog(schema);
    const std::string &name = st.target.name;
    if (cat.object(name)) throw makeError(2714, name);
    std::vector<ColumnInfo> cols;
    std::vector<std::string> pk;
    std::string pkName;
    std::vector<std::vector<std::string>> uniques;
    int identities = 0;
    for (size_t i = 0; i < st.columnDefs.size(); ++i) {
        const ColumnDef &d = st.columnDefs[i];
        for (const auto &c : cols)
            if (collateCompare(c.name, d.name) == 0) throw makeError(2705, name, d.name);
        ColumnInfo c;
        c.name = d.name;
        c.type = d.type.type;
        c.colid = int(i) + 1;
        c.identity = d.identity;
        c.seed = d.seed;
        c.increment = d.increment;
        if (d.identity) {
            ++identities;
            if (!c.type.isInteger() && c.type.base != Base::Decimal) throw makeError(2749, d.name);
            if (d.increment != 1) throw makeError(102, "IDENTITY", "（不支持的语法：增量不为 1 的标识列）");
        }
        c.nullable = !(d.notNull || d.primaryKey || d.identity);
        if (d.primaryKey) {
            if (!pk.empty()) throw makeError(8110, name);
            pk.push_back(d.name);
            pkName = d.constraintName;
        }
        if (d.unique) uniques.push_back({d.name});
        if (d.defaultExpr) c.defaultSql = defaultText(*d.defaultExpr);
        cols.push_back(c);
    }
    if (identities > 1) throw makeError(2744, name);
    for (const auto &tc : st.constraints) {
        for (const auto &cn : tc.columns) {
            bool found = false;
            for (auto &c : cols)
                if (collateCompare(c.name, cn) == 0) {
                    found = true;
                    if (tc.primaryKey) c.nullable = false;
                }
            if (!found) throw makeError(1911, cn);
        }
        if (tc.primaryKey) {
            if (!pk.empty()) throw makeError(8110, name);
            pk = tc.columns;
            pkName = tc.name;
        } else {
            uniques.push_back(tc.columns);
        }
    }
    // Check the defaults before anything is created.
    for (const auto &c : cols)
        if (!c.defaultSql.empty()) s.evaluate(c.defaultSql, c.type);
    std::string sqlName = quoteIdent(schema) + "." + quoteIdent(name);
    if (schema == "temp")
        makeTempTable(s, name, tableDdl(sqlName, cols, pk, uniques), cols, identities == 0);
    else
        s.run(tableDdl(sqlName, cols, pk, uniques));
    int id = cat.addObject(name, "U", 0);
    for (auto &c : cols) {
        if (!c.defaultSql.empty()) {
            const ColumnDef *d = nullptr;
            for (const auto &def : st.columnDefs)
                if (def.name == c.name) d = &def;
            std::string dn = d && !d->constraintName.empty() && !d->primaryKey ? d->constraintName : "";
            int did = cat.addObject(dn.empty() ? "DF__pending" : dn, "D", id);
            if (dn.empty()) {
                dn = defaultConstraintName(name, c.name, did);
                s.run("UPDATE " + quoteIdent(schema) + ".__pnw_objects SET name = " + quoteText(dn) +
                      " WHERE id = " + std::to_string(did));
            }
            c.cdefault = did;
        }
        cat.addColumn(id, c);
        if (c.identity) setIdentitySeed(s, schema, name, c.seed);
    }
    if (!pk.empty()) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", unsigned(uint32_t(id) * 2246822519u));
        std::string pn = pkName.empty() ? "PK__" + encodeUtf8(decodeUtf8(name).substr(0, 8)) + "__" + hex : pkName;
        if (cat.object(pn)) throw makeError(2714, pn);
        int pid = cat.addObject(pn, "PK", id);
        std::string info;
        for (size_t i = 0; i < pk.size(); ++i) info += (i ? "," : "") + pk[i];
        cat.setInfo(pid, info);
    }
    cat.invalidate();
}

void runDropTable(Session &s, Translator &tr, const Statement &st) {
    for (const auto &target : st.dropTargets) {
        std::string schema = tr.schemaFor(target);
        Catalog &cat = s.catalog(schema);
        auto t = cat.table(target.name);
        if (!t) throw makeError(3701, target.display());
        if (schema != "temp" || !keepDroppedTempTable(s, t->name, t->sqlName())) s.run("DROP TABLE " + t->sqlName());
        cat.removeObject(t->id);
        if (collateCompare(s.identityInsertTable(), collationKey(schema + "." + t->name)) == 0) s.setIdentityInsert("");
    }
}

void runTruncate(Session &s, Translator &tr, const Statement &st) {
    std::string schema = tr.schemaFor(st.target);
    auto t = s.catalog(schema).table(st.target.name);
    if (!t) throw makeError(4701, st.target.display());
    s.run("DELETE FROM " + t->sqlName());
    int idx = t->identityIndex();
    if (idx >= 0) setIdentitySeed(s, schema, t->name, t->columns[size_t(idx)].seed);
}

}  // namespace server
