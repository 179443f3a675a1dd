// INSERT: VALUES and SELECT forms, with and without a column list (also
// without INTO). Values convert to the column types; missing columns get
// their defaults; identity columns count by themselves.
#include "server/Convert.h"
#include "server/Parser.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Tokenizer.h"
#include "server/Translator.h"

namespace server {

namespace {

// A default is kept as T-SQL text; it is a constant expression.
ExprP parseDefault(const std::string &text) {
    Parser p(tokenize("SELECT " + text));
    Batch b = p.parseBatch();
    return b.statements.at(0)->select->cores.at(0).items.at(0).expr;
}

// An explicit identity value may not be NULL (SQLite would number the row).
std::string identityChecked(const std::string &sql, const ColumnInfo *c, bool identityInsert, const TableInfo &t) {
    if (!identityInsert || !c->identity) return sql;
    return "coalesce(" + sql + ", pnw_raise(515, " + quoteText(c->name) + ", " + quoteText(t.name) + "))";
}

// A decimal literal, alone or negated: its value, not its precision and
// scale, is what a number column stores (the conversion runs on the value
// whatever the digits; a decimal or text column would keep the literal's
// own scale, so those are left out).
int looseDecimalLiteral(const Expr &e, const SqlType &column) {
    switch (column.base) {
    case Base::Bit:
    case Base::TinyInt:
    case Base::SmallInt:
    case Base::Int:
    case Base::BigInt:
    case Base::Money:
    case Base::Float:
    case Base::Real: break;
    default: return -1;
    }
    const Expr *x = &e;
    if (x->kind == ExprKind::Unary && x->op == "-" && x->args.size() == 1) x = x->args[0].get();
    if (x->kind != ExprKind::Literal || x->literalType.base != Base::Decimal) return -1;
    return x->literalIndex;
}

}  // namespace

Plan Translator::translateInsert(const Statement &s) {
    auto table = resolveTable(s.target);
    std::vector<const ColumnInfo *> targets;
    bool identityInsert = !ctx_.identityInsertTable().empty() &&
                          ctx_.identityInsertTable() == collationKey(table->schema + "." + table->name);
    if (identityInsert) cacheable_ = false;
    if (s.hasColumnList) {
        for (const auto &name : s.columns) {
            const ColumnInfo *c = table->column(name);
            if (!c) throw makeError(207, name);
            for (const auto *t : targets)
                if (t == c) throw makeError(264, name);
            if (c->identity && !identityInsert) throw makeError(544, table->name);
            if (c->type.base == Base::Timestamp) throw makeError(273);
            targets.push_back(c);
        }
    } else {
        if (identityInsert && table->identityIndex() >= 0) throw makeError(8101, table->name);
        for (const auto &c : table->columns)
            if (!c.identity && c.type.base != Base::Timestamp) targets.push_back(&c);
    }
    // Columns the statement leaves out: defaults and timestamps.
    std::vector<std::pair<const ColumnInfo *, std::string>> extras;
    Scope empty;
    for (const auto &c : table->columns) {
        bool given = false;
        for (const auto *t : targets)
            if (t == &c) given = true;
        if (given || c.identity) continue;
        if (c.type.base == Base::Timestamp) {
            extras.push_back({&c, "pnw_ts()"});
        } else if (!c.defaultSql.empty()) {
            Translator sub(ctx_, 0);
            sub.setInlineLiterals();
            TExpr d = sub.expr(parseDefault(c.defaultSql), empty);
            d = sub.convertTo(d, c.type, int(ConvertMode::Store));
            extras.push_back({&c, d.sql});
        }
    }
    // SQLite numbers an empty table from 1 whatever its counter says, so a
    // seed of 0 or below is handed out here: the counter plus the row's place.
    const ColumnInfo *counted = nullptr;
    int idIdx = table->identityIndex();
    if (idIdx >= 0 && table->rowidIdentity && table->columns[size_t(idIdx)].seed <= 0) {
        counted = &table->columns[size_t(idIdx)];
        for (const auto *t : targets)
            if (t == counted) counted = nullptr;
    }
    std::string counter = "(SELECT seq FROM " + quoteIdent(table->schema) +
                          ".sqlite_sequence WHERE name = " + quoteText(table->name) + ")";
    if (counted) extras.push_back({counted, {}});
    std::string cols;
    for (const auto *t : targets) cols += (cols.empty() ? "" : ",") + quoteIdent(t->name);
    for (const auto &e : extras) cols += (cols.empty() ? "" : ",") + quoteIdent(e.first->name);
    std::string sql = "INSERT INTO " + table->sqlName() + "(" + cols + ") ";
    std::vector<int> looseLiterals;
    if (!s.values.empty()) {
        if (s.values.size() != targets.size()) {
            if (!s.hasColumnList) throw makeError(213);
            throw makeError(s.values.size() < targets.size() ? 109 : 110);
        }
        std::string vals;
        for (size_t i = 0; i < targets.size(); ++i) {
            if (int loose = looseDecimalLiteral(*s.values[i], targets[i]->type); loose >= 0)
                looseLiterals.push_back(loose);
            TExpr v = expr(s.values[i], empty);
            if (v.aggregate) throw makeError(147);
            v = convertTo(v, targets[i]->type, int(ConvertMode::Store));
            vals += (i ? "," : "") + identityChecked(v.sql, targets[i], identityInsert, *table);
        }
        for (const auto &e : extras)
            vals += (vals.empty() ? "" : ",") + (e.first == counted ? counter + " + 1" : e.second);
        sql += "VALUES(" + vals + ")";
    } else {
        SelectOut src = select(*s.select, nullptr);
        if (src.columns.size() != targets.size()) {
            if (!s.hasColumnList) throw makeError(213);
            throw makeError(src.columns.size() < targets.size() ? 120 : 121);
        }
        std::string list;
        for (size_t i = 0; i < targets.size(); ++i) {
            TExpr v;
            v.sql = "\"__s\".\"__c" + std::to_string(i) + "\"";
            v.type = src.columns[i].type;
            v = convertTo(v, targets[i]->type, int(ConvertMode::Store));
            list += (i ? "," : "") + identityChecked(v.sql, targets[i], identityInsert, *table);
        }
        for (const auto &e : extras)
            list += (list.empty() ? "" : ",") + (e.first == counted ? counter + " + row_number() OVER ()" : e.second);
        // "WHERE true" keeps SQLite's parser from reading ON CONFLICT after the SELECT.
        sql += "SELECT " + list + " FROM (" + src.sql + ") AS \"__s\" WHERE true";
    }
    Plan p;
    StepPlan step;
    step.sql = sql;
    p.steps.push_back(step);
    p.looseLiterals = std::move(looseLiterals);
    return p;
}

}  // namespace server
