// UPDATE: plain, and UPDATE ... FROM with the target named by an alias or a
// table of the FROM list. Rows are computed from a snapshot taken before the
// first change, and each target row changes once.
#include "server/Convert.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

// The instance of the UPDATE/DELETE target in FROM: an alias spelled as the
// target, else the one reference to the table; of several references the
// one without an alias (an aliased one goes by its alias). Null when the
// table is not in FROM.
const Source *Translator::fromTarget(const ObjectName &name, const Scope &scope) {
    if (name.schema.empty() && name.db.empty())
        for (const auto &src : scope.sources)
            if (src.hasAlias && collateCompare(src.name, name.name) == 0) return &src;
    auto t = resolveTable(name);
    const Source *only = nullptr, *unaliased = nullptr;
    int matches = 0, unaliasedMatches = 0;
    for (const auto &src : scope.sources) {
        if (!src.table || src.table->id != t->id || src.table->schema != t->schema) continue;
        if (!only) only = &src;
        ++matches;
        if (!src.hasAlias) {
            unaliased = &src;
            ++unaliasedMatches;
        }
    }
    if (matches <= 1) return only;
    if (unaliasedMatches != 1) throw makeError(8154, name.name);
    return unaliased;
}

Plan Translator::translateUpdate(const Statement &s) {
    Plan p;
    StepPlan step;
    bool joined = !s.from.empty();
    bool needsSnapshot = joined || containsSubquery(s.where);
    for (const auto &a : s.sets) needsSnapshot = needsSnapshot || containsSubquery(a.value);

    if (!needsSnapshot) {
        auto table = resolveTable(s.target);
        Scope scope;
        Source src = tableSource(table, std::string());
        scope.sources.push_back(src);
        scope.aggregateAllowed = false;
        std::string sets;
        for (const auto &a : s.sets) {
            if (!a.qualifier.empty() && collateCompare(a.qualifier, table->name) != 0)
                throw makeError(4104, a.qualifier + "." + a.column);
            const ColumnInfo *c = table->column(a.column);
            if (!c) throw makeError(207, a.column);
            if (c->identity) throw makeError(8102, c->name);
            TExpr v = convertTo(expr(a.value, scope), c->type, int(ConvertMode::Store));
            sets += (sets.empty() ? "" : ", ") + quoteIdent(c->name) + " = " + v.sql;
        }
        for (const auto &c : table->columns)
            if (c.type.base == Base::Timestamp) sets += ", " + quoteIdent(c.name) + " = pnw_ts()";
        step.sql = "UPDATE " + table->sqlName() + " AS " + src.sqlAlias + " SET " + sets;
        if (s.where) step.sql += " WHERE " + expr(s.where, scope).sql;
        p.steps.push_back(step);
        return p;
    }

    // Bind the FROM list (or the target alone) and find the target instance in it.
    std::vector<FromItem> from = s.from;
    std::string fromSql;
    Scope scope;
    const Source *target = nullptr;
    if (!from.empty()) {
        scope = bindFrom(from, nullptr, fromSql);
        target = fromTarget(s.target, scope);
    }
    if (!target) {
        // The target is not in FROM: it joins the FROM list as one more table.
        FromItem fi;
        fi.first.name = s.target;
        from.push_back(fi);
        scope = bindFrom(from, nullptr, fromSql);
        target = &scope.sources.back();
    }
    if (!target->table) throw makeError(4421, s.target.name);
    auto table = target->table;
    std::string values;
    std::string sets;
    int i = 0;
    for (const auto &a : s.sets) {
        if (!a.qualifier.empty() && collateCompare(a.qualifier, target->name) != 0 &&
            collateCompare(a.qualifier, table->name) != 0)
            throw makeError(4104, a.qualifier + "." + a.column);
        const ColumnInfo *c = table->column(a.column);
        if (!c) throw makeError(207, a.column);
        if (c->identity) throw makeError(8102, c->name);
        Scope vs = scope;
        vs.aggregateAllowed = false;
        TExpr v = convertTo(expr(a.value, vs), c->type, int(ConvertMode::Store));
        std::string vname = "__v" + std::to_string(i++);
        values += ", " + v.sql + " AS " + quoteIdent(vname);
        sets += (sets.empty() ? "" : ", ") + quoteIdent(c->name) + " = \"__u\"." + quoteIdent(vname);
    }
    for (const auto &c : table->columns)
        if (c.type.base == Base::Timestamp) sets += ", " + quoteIdent(c.name) + " = pnw_ts()";
    std::string inner = "SELECT " + target->sqlAlias + ".rowid AS \"__rid\"" + values + " FROM " + fromSql;
    if (s.where) {
        Scope ws = scope;
        ws.aggregateAllowed = false;
        inner += " WHERE " + expr(s.where, ws).sql;
    }
    inner += " GROUP BY " + target->sqlAlias + ".rowid";
    step.sql = "WITH \"__u\" AS MATERIALIZED (" + inner + ") UPDATE " + table->sqlName() + " AS \"__target\" SET " +
               sets + " FROM \"__u\" WHERE \"__target\".rowid = \"__u\".\"__rid\"";
    p.steps.push_back(step);
    return p;
}

}  // namespace server
