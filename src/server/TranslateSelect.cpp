// SELECT: name binding of FROM, the select list, grouping, UNION and ORDER BY.
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

namespace {

// Same expression, literal values and name spellings aside from case.
bool sameExpr(const ExprP &a, const ExprP &b) {
    if (!a || !b) return !a && !b;
    if (a->kind != b->kind || a->op != b->op || a->negated != b->negated || a->star != b->star ||
        a->distinct != b->distinct || a->args.size() != b->args.size() || a->whens.size() != b->whens.size() ||
        a->thens.size() != b->thens.size() || a->select || b->select)
        return false;
    if (a->kind == ExprKind::Literal
            ? a->text != b->text
            : (collateCompare(a->text, b->text) != 0 || collateCompare(a->qualifier, b->qualifier) != 0))
        return false;
    for (size_t i = 0; i < a->args.size(); ++i)
        if (!sameExpr(a->args[i], b->args[i])) return false;
    for (size_t i = 0; i < a->whens.size(); ++i)
        if (!sameExpr(a->whens[i], b->whens[i]) || !sameExpr(a->thens[i], b->thens[i])) return false;
    return sameExpr(a->elseExpr, b->elseExpr);
}

OutputColumn col(const char *name, SqlType t) {
    OutputColumn c;
    c.name = name;
    c.type = t;
    return c;
}

bool isAggregateCall(const ExprP &e) {
    if (!e) return false;
    if (e->kind == ExprKind::Function && (e->op == "COUNT" || e->op == "SUM" || e->op == "MAX" || e->op == "MIN"))
        return true;
    for (const auto &a : e->args)
        if (isAggregateCall(a)) return true;
    for (const auto &a : e->whens)
        if (isAggregateCall(a)) return true;
    for (const auto &a : e->thens)
        if (isAggregateCall(a)) return true;
    return isAggregateCall(e->elseExpr);
}

}  // namespace

std::string Translator::schemaFor(const ObjectName &n) {
    if (!n.schema.empty() && !iequals(n.schema, "dbo")) throw makeError(208, n.display());
    if (!n.name.empty() && n.name[0] == '#') {
        cacheable_ = false;
        return "temp";
    }
    if (n.db.empty() || collateCompare(n.db, ctx_.currentDatabase()) == 0) return "main";
    if (iequals(n.db, "tempdb")) return "temp";
    return ctx_.schemaOfDatabase(n.db);
}

std::shared_ptr<const TableInfo> Translator::resolveTable(const ObjectName &n, bool mustExist) {
    if (n.db.empty() && n.schema.empty())
        if (auto pseudo = ctx_.triggerTable(n.name)) {
            cacheable_ = false;
            return pseudo;
        }
    std::string schema = schemaFor(n);
    auto t = ctx_.catalog(schema).table(n.name);
    if (!t && mustExist) throw makeError(208, n.display());
    return t;
}

bool Translator::systemView(const ObjectName &n, Source &out) {
    std::string name = lowerAscii(n.name);
    if (name != "sysobjects" && name != "syscolumns" && name != "sysdatabases" && name != "sysprocesses" &&
        name != "sysfiles")
        return false;
    if (!n.schema.empty() && !iequals(n.schema, "dbo")) return false;
    std::string sql;
    if (name == "sysobjects" || name == "syscolumns") {
        std::string schema = schemaFor(n);
        if (schema == "temp") cacheable_ = false;
        std::string q = quoteIdent(schema) + ".";
        if (name == "sysobjects") {
            std::string shown = schema == "temp"
                                    ? "CASE WHEN substr(name,1,1) = '#' THEN substr(name || "
                                      "'____________________________________________________________________"
                                      "________________________________________________', 1, 116) || "
                                      "printf('%012X', id) ELSE name END"
                                    : "name";
            sql = "(SELECT " + shown +
                  " AS name, id, xtype, CASE xtype WHEN 'PK' THEN 'K' ELSE xtype END AS type, 1 AS uid, "
                  "parent_obj, crdate, 0 AS status FROM " +
                  q + "__pnw_objects)";
            out.columns = {col("name", SqlType::of(Base::NVarChar, 128)), col("id", SqlType::of(Base::Int)),
                           col("xtype", SqlType::of(Base::NVarChar, 2)),  col("type", SqlType::of(Base::NVarChar, 2)),
                           col("uid", SqlType::of(Base::SmallInt)),       col("parent_obj", SqlType::of(Base::Int)),
                           col("crdate", SqlType::of(Base::DateTime)),    col("status", SqlType::of(Base::Int))};
        } else {
            sql = "(SELECT name, id, xtype, length, colid, cdefault, isnullable, prec, scale, 0 AS status, "
                  "xtype AS usertype FROM " +
                  q + "__pnw_columns)";
            out.columns = {col("name", SqlType::of(Base::NVarChar, 128)), col("id", SqlType::of(Base::Int)),
                           col("xtype", SqlType::of(Base::TinyInt)),      col("length", SqlType::of(Base::SmallInt)),
                           col("colid", SqlType::of(Base::SmallInt)),     col("cdefault", SqlType::of(Base::Int)),
                           col("isnullable", SqlType::of(Base::Int)),     col("prec", SqlType::of(Base::SmallInt)),
                           col("scale", SqlType::of(Base::Int)),          col("status", SqlType::of(Base::TinyInt)),
                           col("usertype", SqlType::of(Base::SmallInt))};
        }
    } else if (name == "sysdatabases") {
        if (!n.db.empty() && !iequals(n.db, "master") && collateCompare(n.db, ctx_.currentDatabase()) != 0)
            throw makeError(208, n.display());
        // status 256: suspect (its file was lost under a session).
        sql = "(SELECT name, dbid, filename, crdate, CASE WHEN state = 2 THEN 256 ELSE 0 END AS status, "
              "80 AS cmptlevel FROM " +
              quoteIdent(ctx_.masterSchema()) + ".__pnw_databases)";
        out.columns = {col("name", SqlType::of(Base::NVarChar, 128)),
                       col("dbid", SqlType::of(Base::SmallInt)),
                       col("filename", SqlType::of(Base::NVarChar, 260)),
                       col("crdate", SqlType::of(Base::DateTime)),
                       col("status", SqlType::of(Base::Int)),
                       col("cmptlevel", SqlType::of(Base::TinyInt))};
    } else if (name == "sysfiles") {
        sql = "(SELECT fileid, 1 AS groupid, 0 AS size, -1 AS maxsize, 10 AS growth, status, 0 AS perf, name, "
              "filename FROM " +
              quoteIdent(schemaFor(n)) + ".__pnw_files)";
        out.columns = {col("fileid", SqlType::of(Base::SmallInt)),
                       col("groupid", SqlType::of(Base::SmallInt)),
                       col("size", SqlType::of(Base::Int)),
                       col("maxsize", SqlType::of(Base::Int)),
                       col("growth", SqlType::of(Base::Int)),
                       col("status", SqlType::of(Base::Int)),
                       col("perf", SqlType::of(Base::Int)),
                       col("name", SqlType::of(Base::NVarChar, 128)),
                       col("filename", SqlType::of(Base::NVarChar, 260))};
    } else {
        refreshProcesses_ = true;
        cacheable_ = false;
        sql = "(SELECT spid, dbid, loginame, hostname, program_name, status, 0 AS blocked FROM "
              "temp.__pnw_processes)";
        out.columns = {col("spid", SqlType::of(Base::SmallInt)),
                       col("dbid", SqlType::of(Base::SmallInt)),
                       col("loginame", SqlType::of(Base::NVarChar, 128)),
                       col("hostname", SqlType::of(Base::NVarChar, 128)),
                       col("program_name", SqlType::of(Base::NVarChar, 128)),
                       col("status", SqlType::of(Base::NVarChar, 30)),
                       col("blocked", SqlType::of(Base::SmallInt))};
    }
    out.name = out.hasAlias ? out.name : n.name;
    out.sqlAlias = sql;  // the view's SQL; bindTable turns it into the FROM text
    return true;
}

Source Translator::bindTable(const TableRef &ref, const Scope *parent) {
    (void)parent;
    Source src;
    if (ref.kind == TableRef::Kind::OpenDataSource) {
        // The source's path and table are literals: no reuse of the translation.
        markUncacheable();
        derivedSql_ = ctx_.openDataSource(ref, src.columns);
        src.hasAlias = !ref.alias.empty();
        src.name = src.hasAlias ? ref.alias : ref.name.name;
        src.sqlAlias = quoteIdent(src.name);
        return src;
    }
    if (ref.kind == TableRef::Kind::Derived) {
        SelectOut inner = select(*ref.derived, nullptr);
        src.name = ref.alias;
        src.hasAlias = true;
        src.sqlAlias = quoteIdent(ref.alias);
        for (size_t i = 0; i < inner.columns.size(); ++i) {
            OutputColumn c = inner.columns[i];
            if (c.name.empty()) throw makeError(8155, ref.alias, std::to_string(i + 1));
            c.sqlName = "__c" + std::to_string(i);
            src.columns.push_back(c);
        }
        // The caller writes "(inner) AS alias". An OFFSET keeps SQLite from
        // merging the rows' ORDER BY into the outer query.
        derivedSql_ = ref.keepOrder ? "(SELECT * FROM (" + inner.sql + ") LIMIT -1 OFFSET 0)" : "(" + inner.sql + ")";
        return src;
    }
    Source sys;
    sys.hasAlias = !ref.alias.empty();
    sys.name = ref.alias;
    if (systemView(ref.name, sys)) {
        derivedSql_ = sys.sqlAlias;
        sys.name = ref.alias.empty() ? ref.name.name : ref.alias;
        sys.sqlAlias = quoteIdent(sys.name);
        return sys;
    }
    auto t = resolveTable(ref.name);
    derivedSql_ = t->sqlName();
    return tableSource(std::move(t), ref.alias);
}

Source Translator::tableSource(std::shared_ptr<const TableInfo> t, const std::string &alias) {
    Source src;
    src.hasAlias = !alias.empty();
    src.name = alias.empty() ? t->name : alias;
    src.sqlAlias = quoteIdent(src.name);
    for (const auto &c : t->columns) {
        OutputColumn oc;
        oc.name = c.name;
        oc.type = c.type;
        oc.nullable = c.nullable;
        oc.identity = c.identity;
        oc.seed = c.seed;
        oc.increment = c.increment;
        src.columns.push_back(oc);
        src.infos.push_back(&c);
    }
    src.table = std::move(t);
    return src;
}

Scope Translator::bindFrom(const std::vector<FromItem> &from, const Scope *parent, std::string &sql) {
    Scope scope;
    scope.parent = parent;
    sql.clear();
    for (size_t i = 0; i < from.size(); ++i) {
        const FromItem &item = from[i];
        Source s = bindTable(item.first, parent);
        if (i > 0) sql += ", ";
        sql += derivedSql_ + " AS " + s.sqlAlias;
        scope.sources.push_back(s);
        for (const auto &j : item.joins) {
            Source js = bindTable(j.table, parent);
            std::string tableSql = derivedSql_;
            scope.sources.push_back(js);
            Scope onScope = scope;
            onScope.aggregateAllowed = false;
            std::string on = expr(j.on, onScope).sql;
            const char *kw = j.type == JoinType::Inner  ? " JOIN "
                             : j.type == JoinType::Left ? " LEFT JOIN "
                                                        : " RIGHT JOIN ";
            sql += kw + tableSql + " AS " + js.sqlAlias + " ON " + on;
        }
    }
    return scope;
}

Translator::SelectOut Translator::select(const Select &s, const Scope *parent) {
    SelectOut out;
    std::vector<std::string> coreSqls;
    struct CoreParts {
        std::vector<std::string> exprs;
        std::vector<SqlType> types;
        std::string tail;
        bool distinct = false;
        std::optional<int64_t> top;
    };
    std::vector<CoreParts> coreParts;
    // Expressions of the first core, for ORDER BY of a single query.
    std::vector<std::string> firstExprs;
    Scope firstScope;
    std::string firstFrom;
    for (size_t ci = 0; ci < s.cores.size(); ++ci) {
        const SelectCore &core = s.cores[ci];
        std::string fromSql;
        Scope scope = bindFrom(core.from, parent, fromSql);
        std::vector<OutputColumn> cols;
        std::vector<std::string> exprs;
        size_t assigning = 0;
        for (const auto &item : core.items) assigning += item.assignVariable.empty() ? 0 : 1;
        if (assigning > 0 && (assigning != core.items.size() || core.into)) throw makeError(141);
        for (const auto &item : core.items) {
            if (!item.assignVariable.empty()) {
                SqlType ignored;
                if (!ctx_.variableType(item.assignVariable, ignored)) throw makeError(137, item.assignVariable);
                usesVariables_ = true;
            }
            if (item.star) {
                if (scope.sources.empty()) throw makeError(263);
                bool any = false;
                for (const auto &src : scope.sources) {
                    if (!item.starQualifier.empty() && collateCompare(src.name, item.starQualifier) != 0) continue;
                    any = true;
                    for (const auto &c : src.columns) {
                        exprs.push_back(src.sqlAlias + "." + quoteIdent(c.sqlName.empty() ? c.name : c.sqlName));
                        OutputColumn oc = c;
                        oc.sqlName.clear();
                        cols.push_back(oc);
                    }
                }
                if (!any) throw makeError(4104, item.starQualifier + ".*");
                continue;
            }
            TExpr x = expr(item.expr, scope);
            exprs.push_back(x.sql);
            OutputColumn oc;
            oc.type = x.type;
            oc.nullable = x.nullable;
            if (item.hasAlias) {
                oc.name = item.alias;
            } else if (item.expr->kind == ExprKind::Column) {
                oc.name = item.expr->text;
                if (x.column) oc.name = x.column->name;
            }
            if (item.expr->kind == ExprKind::Column && x.identityColumn && x.column) {
                oc.identity = true;
                oc.seed = x.column->seed;
                oc.increment = x.column->increment;
            }
            if (item.expr->kind == ExprKind::Literal || (x.column && !x.column->nullable)) oc.nullable = false;
            cols.push_back(oc);
        }
        std::string tail;
        if (!fromSql.empty()) tail += " FROM " + fromSql;
        if (core.where) {
            Scope ws = scope;
            ws.aggregateAllowed = false;
            tail += " WHERE " + expr(core.where, ws).sql;
        }
        std::vector<std::string> groupSqls;
        if (!core.groupBy.empty()) {
            tail += " GROUP BY ";
            Scope gs = scope;
            gs.aggregateAllowed = false;
            for (size_t i = 0; i < core.groupBy.size(); ++i) {
                TExpr g = expr(core.groupBy[i], gs);
                if (g.type.isLob()) throw makeError(306);
                groupSqls.push_back(g.sql);
                tail += (i ? ", " : "") + g.sql + (g.type.isText() ? " COLLATE TSQL" : "");
            }
        }
        if (core.having) tail += " HAVING " + expr(core.having, scope).sql;
        groupExprs_ = &core.groupBy;
        bool grouped = !core.groupBy.empty();
        for (const auto &item : core.items) grouped = grouped || (item.expr && isAggregateCall(item.expr));
        if (grouped)
            for (const auto &item : core.items) {
                if (item.star) throw makeError(8120, item.starQualifier.empty() ? "*" : item.starQualifier + ".*");
                checkGrouped(item.expr, scope, groupSqls);
            }
        if (ci == 0) {
            firstExprs = exprs;
            firstScope = scope;
            out.columns = cols;
        } else {
            if (cols.size() != out.columns.size()) throw makeError(205);
            for (size_t i = 0; i < cols.size(); ++i) {
                out.columns[i].type = dominantType(out.columns[i].type, cols[i].type);
                out.columns[i].identity = false;
                out.columns[i].nullable = out.columns[i].nullable || cols[i].nullable;
            }
        }
        if (core.distinct)
            for (auto &c : cols)
                if (c.type.isLob()) throw makeError(306);
        CoreParts parts;
        parts.exprs = exprs;
        for (const auto &c : cols) parts.types.push_back(c.type);
        parts.tail = tail;
        parts.distinct = core.distinct;
        parts.top = s.cores.size() > 1 ? core.top : std::nullopt;
        coreParts.push_back(parts);
    }
    // UNION members convert to the column's winning type (text to number fails as on the server).
    for (auto &parts : coreParts) {
        std::string sql = "SELECT ";
        if (parts.distinct) sql += "DISTINCT ";
        for (size_t i = 0; i < parts.exprs.size(); ++i) {
            std::string e = parts.exprs[i];
            const SqlType &from = parts.types[i];
            const SqlType &to = out.columns[i].type;
            if (coreParts.size() > 1 && from.base != Base::Null &&
                (from.isText() != to.isText() || (to.base == Base::DateTime) != (from.base == Base::DateTime))) {
                TExpr x;
                x.sql = e;
                x.type = from;
                e = convertTo(x, to, 2).sql;
            }
            // Text results compare under the collation in DISTINCT, UNION and outer queries.
            if (to.isText()) e += " COLLATE TSQL";
            sql += (i ? ", " : "") + e + " AS \"__c" + std::to_string(i) + "\"";
        }
        sql += parts.tail;
        if (parts.top) sql = "SELECT * FROM (" + sql + " LIMIT " + std::to_string(*parts.top) + ")";
        coreSqls.push_back(sql);
    }
    if (s.cores.size() > 1)
        for (auto &c : out.columns)
            if (c.type.isLob()) throw makeError(306);
    std::string sql;
    for (size_t i = 0; i < coreSqls.size(); ++i) {
        if (i > 0) sql += s.unionAll[i - 1] ? " UNION ALL " : " UNION ";
        sql += coreSqls[i];
    }
    if (!s.orderBy.empty()) {
        bool single = s.cores.size() == 1;
        if (!single) sql = "SELECT * FROM (" + sql + ")";
        std::string order;
        for (size_t i = 0; i < s.orderBy.size(); ++i) {
            const OrderItem &o = s.orderBy[i];
            std::string term;
            SqlType type;
            int pos = -1;
            if (o.expr->kind == ExprKind::Literal && o.expr->literalType.base == Base::Int) {
                pos = o.expr->text.size() > 6 ? -1 : std::stoi(o.expr->text) - 1;
                if (pos < 0 || pos >= int(out.columns.size())) throw makeError(108, o.expr->text);
            } else if (o.expr->kind == ExprKind::Column && o.expr->qualifier.empty()) {
                for (size_t k = 0; k < out.columns.size(); ++k)
                    if (collateCompare(out.columns[k].name, o.expr->text) == 0 &&
                        (!single || s.cores[0].items.size() > 0)) {
                        // An alias of the select list wins over a column of the tables.
                        bool isAlias = false;
                        for (const auto &it : s.cores[0].items)
                            if (it.hasAlias && collateCompare(it.alias, o.expr->text) == 0) isAlias = true;
                        if (isAlias || !single) {
                            pos = int(k);
                            break;
                        }
                    }
            }
            if (pos >= 0) {
                type = out.columns[size_t(pos)].type;
                term = single ? firstExprs[size_t(pos)] : "\"__c" + std::to_string(pos) + "\"";
            } else {
                if (!single) throw makeError(104);
                TExpr x = expr(o.expr, firstScope);
                term = x.sql;
                type = x.type;
            }
            if (type.isLob()) throw makeError(306);
            order += (i ? ", " : "") + term + (type.isText() ? " COLLATE TSQL" : "") + (o.desc ? " DESC" : "");
        }
        sql += " ORDER BY " + order;
    }
    if (s.cores.size() == 1 && s.cores[0].top) sql += " LIMIT " + std::to_string(*s.cores[0].top);
    out.sql = sql;
    for (size_t i = 0; i < out.columns.size(); ++i) out.columns[i].sqlName = "__c" + std::to_string(i);
    return out;
}

void Translator::checkGrouped(const ExprP &e, const Scope &scope, const std::vector<std::string> &groupSqls) {
    if (!e) return;
    if (e->kind == ExprKind::Function && (e->op == "COUNT" || e->op == "SUM" || e->op == "MAX" || e->op == "MIN"))
        return;
    if (e->kind == ExprKind::Subquery || e->kind == ExprKind::Exists || e->kind == ExprKind::InSelect) return;
    if (e->kind == ExprKind::Column) {
        TExpr c = column(*e, scope);
        for (const auto &g : groupSqls)
            if (g == c.sql) return;
        // References to an outer query are the outer query's business.
        bool local = false;
        for (const auto &src : scope.sources)
            if (c.sql.rfind(src.sqlAlias + ".", 0) == 0) local = true;
        if (local) throw makeError(8120, (e->qualifier.empty() ? "" : e->qualifier + ".") + e->text);
        return;
    }
    if (groupExprs_)
        for (const auto &g : *groupExprs_)
            if (sameExpr(g, e)) return;
    for (const auto &a : e->args) checkGrouped(a, scope, groupSqls);
    for (const auto &a : e->whens) checkGrouped(a, scope, groupSqls);
    for (const auto &a : e->thens) checkGrouped(a, scope, groupSqls);
    checkGrouped(e->elseExpr, scope, groupSqls);
}

Plan Translator::translateSelectStatement(const Statement &st) {
    if (liveVariables_.empty() && runningAssignment(*st.select)) return translateAssignSelect(st);
    Plan p;
    SelectOut out = select(*st.select, nullptr);
    StepPlan step;
    step.sql = out.sql;
    step.query = true;
    step.columns = out.columns;
    p.steps.push_back(step);
    p.returnsRows = true;
    return p;
}

}  // namespace server
