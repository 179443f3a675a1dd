// SELECT @v = expr FROM ... where an expression reads a variable the same
// statement assigns (SELECT @s = @s + name + ',' FROM t ORDER BY name): the
// server assigns row by row, so such variables are read live (pnw_var) and
// the session assigns after every row. SQLite evaluates a select list before
// sorting, so with ORDER BY the rows are first put in order by a derived
// table of the columns the expressions read, and the expressions run over it.
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

namespace {

bool readsVariable(const ExprP &e, const std::set<std::string> &names) {
    if (!e) return false;
    if (e->kind == ExprKind::Variable && names.count(lowerAscii(e->text))) return true;
    for (const auto &a : e->args)
        if (readsVariable(a, names)) return true;
    for (const auto &a : e->whens)
        if (readsVariable(a, names)) return true;
    for (const auto &a : e->thens)
        if (readsVariable(a, names)) return true;
    return readsVariable(e->elseExpr, names);
}

// A copy of `e` whose column references read "__r"."__vN" (the derived
// table's columns), collecting the referenced columns in `cols`.
ExprP overOrderedRows(const ExprP &e, std::vector<ExprP> &cols) {
    if (!e) return e;
    auto copy = std::make_shared<Expr>(*e);
    if (e->kind == ExprKind::Column) {
        size_t i = 0;
        while (i < cols.size() &&
               !(collateCompare(cols[i]->text, e->text) == 0 && collateCompare(cols[i]->qualifier, e->qualifier) == 0))
            ++i;
        if (i == cols.size()) cols.push_back(e);
        copy->qualifier = "__r";
        copy->text = "__v" + std::to_string(i);
        return copy;
    }
    for (auto &a : copy->args) a = overOrderedRows(a, cols);
    for (auto &a : copy->whens) a = overOrderedRows(a, cols);
    for (auto &a : copy->thens) a = overOrderedRows(a, cols);
    copy->elseExpr = overOrderedRows(copy->elseExpr, cols);
    return copy;
}

bool aggregates(const ExprP &e) {
    if (!e) return false;
    if (e->kind == ExprKind::Function &&
        (e->op == "COUNT" || e->op == "SUM" || e->op == "MAX" || e->op == "MIN" || e->op == "AVG"))
        return true;
    for (const auto &a : e->args)
        if (aggregates(a)) return true;
    for (const auto &a : e->whens)
        if (aggregates(a)) return true;
    for (const auto &a : e->thens)
        if (aggregates(a)) return true;
    return aggregates(e->elseExpr);
}

}  // namespace

bool Translator::runningAssignment(const Select &s) {
    if (s.cores.size() != 1) return false;
    std::set<std::string> names;
    for (const auto &item : s.cores[0].items)
        if (!item.assignVariable.empty()) names.insert(lowerAscii(item.assignVariable));
    if (names.empty()) return false;
    for (const auto &item : s.cores[0].items)
        if (readsVariable(item.expr, names)) return true;
    return false;
}

Plan Translator::translateAssignSelect(const Statement &st) {
    const Select &s = *st.select;
    const SelectCore &core = s.cores[0];
    for (const auto &item : core.items)
        if (!item.assignVariable.empty()) liveVariables_.insert(lowerAscii(item.assignVariable));
    bool plain = core.groupBy.empty() && !core.having && !core.distinct;
    for (const auto &item : core.items) plain = plain && !aggregates(item.expr) && !containsSubquery(item.expr);
    if (s.orderBy.empty() || !plain) return translateSelectStatement(st);

    std::vector<ExprP> cols;
    Select outer;
    outer.cores.emplace_back();
    SelectCore &oc = outer.cores[0];
    for (const auto &item : core.items) {
        SelectItem copy = item;
        copy.expr = overOrderedRows(item.expr, cols);
        oc.items.push_back(copy);
    }
    auto inner = std::make_shared<Select>();
    inner->cores.push_back(core);
    inner->orderBy = s.orderBy;
    SelectCore &ic = inner->cores[0];
    ic.items.clear();
    for (size_t i = 0; i < cols.size(); ++i) {
        SelectItem it;
        it.expr = cols[i];
        it.alias = "__v" + std::to_string(i);
        it.hasAlias = true;
        ic.items.push_back(it);
    }
    if (ic.items.empty()) {  // no column read: one constant per row
        SelectItem it;
        it.expr = std::make_shared<Expr>();
        it.expr->kind = ExprKind::Literal;
        it.expr->literalType = SqlType::of(Base::Int);
        it.expr->text = "1";
        it.alias = "__v0";
        it.hasAlias = true;
        ic.items.push_back(it);
    }
    FromItem from;
    from.first.kind = TableRef::Kind::Derived;
    from.first.derived = inner;
    from.first.alias = "__r";
    from.first.keepOrder = true;
    oc.from.push_back(from);
    Statement rewritten;
    rewritten.kind = StmtKind::Select;
    rewritten.select = std::make_shared<Select>(outer);
    return translateSelectStatement(rewritten);
}

}  // namespace server
