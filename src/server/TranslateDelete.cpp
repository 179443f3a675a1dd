// DELETE: with or without FROM before the table, and DELETE ... FROM a join.
// Rows to delete are chosen from a snapshot, then deleted by rowid.
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

Plan Translator::translateDelete(const Statement &s) {
    Plan p;
    StepPlan step;
    if (s.from.empty()) {
        auto table = resolveTable(s.target);
        Source src = tableSource(table, std::string());
        Scope scope;
        scope.sources.push_back(src);
        scope.aggregateAllowed = false;
        if (!s.where) {
            step.sql = "DELETE FROM " + table->sqlName();
        } else if (!containsSubquery(s.where)) {
            step.sql = "DELETE FROM " + table->sqlName() + " AS " + src.sqlAlias + " WHERE " + expr(s.where, scope).sql;
        } else {
            step.sql = "DELETE FROM " + table->sqlName() + " WHERE rowid IN (SELECT " + src.sqlAlias + ".rowid FROM " +
                       table->sqlName() + " AS " + src.sqlAlias + " WHERE " + expr(s.where, scope).sql + ")";
        }
        p.steps.push_back(step);
        return p;
    }
    std::string fromSql;
    Scope scope = bindFrom(s.from, nullptr, fromSql);
    const Source *target = fromTarget(s.target, scope);
    if (!target) {
        std::vector<FromItem> from = s.from;
        FromItem fi;
        fi.first.name = s.target;
        from.push_back(fi);
        scope = bindFrom(from, nullptr, fromSql);
        target = &scope.sources.back();
    }
    if (!target->table) throw makeError(4421, s.target.name);
    std::string inner = "SELECT " + target->sqlAlias + ".rowid FROM " + fromSql;
    if (s.where) {
        Scope ws = scope;
        ws.aggregateAllowed = false;
        inner += " WHERE " + expr(s.where, ws).sql;
    }
    step.sql = "DELETE FROM " + target->table->sqlName() + " WHERE rowid IN (" + inner + ")";
    p.steps.push_back(step);
    return p;
}

}  // namespace server
