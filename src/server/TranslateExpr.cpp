// Expressions: types, implicit conversions, operators.
#include <algorithm>

#include "server/Convert.h"
#include "server/ConvertStyles.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

namespace {

bool sameRepresentation(const SqlType &from, const SqlType &to) {
    if (from.base != to.base) return false;
    if (from.base == Base::VarChar || from.base == Base::NVarChar) return from.length <= to.length;
    if (from.base == Base::Decimal)
        return from.scale <= to.scale && from.precision - from.scale <= to.precision - to.scale;
    return true;
}

}  // namespace

SqlType decimalOf(const SqlType &t) {
    switch (t.base) {
    case Base::Bit: return SqlType::of(Base::Decimal, 0, 1, 0);
    case Base::TinyInt: return SqlType::of(Base::Decimal, 0, 3, 0);
    case Base::SmallInt: return SqlType::of(Base::Decimal, 0, 5, 0);
    case Base::Int: return SqlType::of(Base::Decimal, 0, 10, 0);
    case Base::BigInt: return SqlType::of(Base::Decimal, 0, 19, 0);
    case Base::Money: return SqlType::of(Base::Decimal, 0, 19, 4);
    default: return t;
    }
}

bool containsSubquery(const ExprP &e) {
    if (!e) return false;
    if (e->kind == ExprKind::Subquery || e->kind == ExprKind::Exists || e->kind == ExprKind::InSelect) return true;
    for (const auto &a : e->args)
        if (containsSubquery(a)) return true;
    for (const auto &a : e->whens)
        if (containsSubquery(a)) return true;
    for (const auto &a : e->thens)
        if (containsSubquery(a)) return true;
    return containsSubquery(e->elseExpr);
}

Translator::Translator(TranslateContext &ctx, int literalBase) : ctx_(ctx), literalBase_(literalBase) {}

std::string Translator::newAlias() { return "\"__t" + std::to_string(aliasCounter_++) + "\""; }

std::string variableParam(const std::string &name) {
    std::string n = lowerAscii(name);
    if (n.rfind("@@", 0) == 0) return "@__" + n.substr(2);
    return "@" + (n.empty() ? n : n.substr(1));
}

std::string Translator::literalParam(const Expr &e) {
    if (e.literalIndex < 0) return e.text;  // produced by the parser itself (0x40)
    if (inlineLiterals_) {
        if (e.literalType.isText())
            return quoteText(e.literalType.base == Base::VarChar ? toCp936Repertoire(e.text) : e.text);
        if (e.literalType.base == Base::Decimal || e.literalType.base == Base::Float)
            return e.text.find_first_of(".eE") == std::string::npos ? e.text + ".0" : e.text;
        return e.text;
    }
    // Named, so that variables (also named) never share a parameter slot.
    return ":l" + std::to_string(e.literalIndex - literalBase_ + 1);
}

TExpr Translator::convertTo(const TExpr &x, const SqlType &to, int mode, int style) {
    if (x.isNullLiteral) {
        TExpr r = x;
        r.type = to;
        return r;
    }
    // A lifted literal may be longer than its reported length, so storing it is always checked.
    bool mustCheck = x.liftedText && static_cast<ConvertMode>(mode) == ConvertMode::Store;
    if (sameRepresentation(x.type, to) && style < 0 && static_cast<ConvertMode>(mode) != ConvertMode::Cast &&
        !mustCheck) {
        TExpr r = x;
        r.type = x.type.base == to.base && x.type.isText() ? x.type : to;
        return r;
    }
    if (sameRepresentation(x.type, to) && style < 0 && x.type.base == to.base && !x.type.isText() &&
        x.type.base != Base::Decimal) {
        TExpr r = x;
        return r;
    }
    TExpr r;
    r.sql = "pnw_cv(" + x.sql + "," + std::to_string(packType(x.type)) + "," + std::to_string(packType(to)) + "," +
            std::to_string(mode) + "," + std::to_string(style) + ")";
    r.type = to;
    r.nullable = x.nullable;
    return r;
}

TExpr Translator::compare(const TExpr &a0, const std::string &op, const TExpr &b0) {
    TExpr a = a0, b = b0;
    if (a.type.isLob() || b.type.isLob()) throw makeError(306);
    std::string collate;
    if (a.type.isText() && b.type.isText()) {
        collate = " COLLATE TSQL";
    } else if (a.type.base != Base::Null && b.type.base != Base::Null && a.type.base != b.type.base) {
        SqlType dom = dominantType(a.type, b.type);
        if (a.type.isText() || (a.type.base != dom.base && (dom.base == Base::DateTime || b.type.isText())))
            a = convertTo(a, dom, int(ConvertMode::Implicit));
        if (b.type.isText() || (b.type.base != dom.base && (dom.base == Base::DateTime || a.type.isText())))
            b = convertTo(b, dom, int(ConvertMode::Implicit));
        if (dom.base == Base::DateTime) {
            if (a.type.base != Base::DateTime) a = convertTo(a, dom, int(ConvertMode::Implicit));
            if (b.type.isNumeric()) b = convertTo(b, dom, int(ConvertMode::Implicit));
        }
    } else if ((a.type.base == Base::Null) != (b.type.base == Base::Null)) {
        // A parameter marker or NULL against a typed side: compare under the side's rules.
        if (a.type.isText() || b.type.isText()) collate = " COLLATE TSQL";
    }
    TExpr r;
    r.sql = "(" + a.sql + " " + op + " " + b.sql + collate + ")";
    r.type = SqlType::of(Base::Bit);
    return r;
}

TExpr Translator::arithmetic(const std::string &op, TExpr a, TExpr b) {
    if (a.type.isLob() || b.type.isLob()) throw makeError(402, a.type.name(), b.type.name(), op);
    if (a.type.base == Base::UniqueIdentifier || b.type.base == Base::UniqueIdentifier)
        throw makeError(8117, "uniqueidentifier", op);
    // Text and text: concatenation.
    if (op == "+" && a.type.isText() && b.type.isText()) {
        TExpr r;
        r.sql = "(" + a.sql + " || " + b.sql + ")";
        bool unicode = a.type.isUnicode() || b.type.isUnicode();
        int len = std::min(unicode ? 4000 : 8000, a.type.length + b.type.length);
        r.type = SqlType::of(unicode ? Base::NVarChar : Base::VarChar, std::max(1, len));
        return r;
    }
    if (op == "+" &&
        ((a.type.isText() && b.type.base == Base::Null) || (b.type.isText() && a.type.base == Base::Null))) {
        TExpr r;
        r.sql = "(" + a.sql + " || " + b.sql + ")";
        r.type = a.type.isText() ? a.type : b.type;
        return r;
    }
    // Datetime and number: days.
    if (a.type.base == Base::DateTime || b.type.base == Base::DateTime) {
        if (op != "+" && op != "-") throw makeError(8117, "datetime", op);
        if (a.type.base == Base::DateTime && b.type.base == Base::DateTime) throw makeError(8117, "datetime", op);
        TExpr dt = a.type.base == Base::DateTime ? a : b;
        TExpr n = a.type.base == Base::DateTime ? b : a;
        if (n.type.isText()) n = convertTo(n, SqlType::of(Base::Float), int(ConvertMode::Implicit));
        if (op == "-" && a.type.base != Base::DateTime) throw makeError(8117, "datetime", op);
        TExpr r;
        r.sql = "pnw_adddays(" + dt.sql + "," + (op == "-" ? "-(" + n.sql + ")" : n.sql) + ")";
        r.type = SqlType::of(Base::DateTime);
        return r;
    }
    // Number and text: the number wins and the text converts (or fails).
    SqlType dom = dominantType(a.type, b.type);
    if (dom.isText())  // both Null or text with Null
        dom = SqlType::of(Base::Int);
    if (a.type.isText()) a = convertTo(a, dom, int(ConvertMode::Implicit));
    if (b.type.isText()) b = convertTo(b, dom, int(ConvertMode::Implicit));
    if (op == "&") {
        if ((!a.type.isInteger() && a.type.base != Base::Null) || (!b.type.isInteger() && b.type.base != Base::Null))
            throw makeError(402, a.type.name(), b.type.name(), "&");
        TExpr r;
        r.sql = "(" + a.sql + " & " + b.sql + ")";
        r.type = dom;
        return r;
    }
    SqlType ta = a.type.base == Base::Null ? b.type : a.type;
    SqlType tb = b.type.base == Base::Null ? a.type : b.type;
    TExpr r;
    if (ta.isInteger() && tb.isInteger()) {
        r.type = dominantType(ta, tb);
        if (r.type.base == Base::Bit || r.type.base == Base::TinyInt || r.type.base == Base::SmallInt)
            r.type = SqlType::of(Base::Int);
        if (op == "/") {
            r.sql = "pnw_idiv(" + a.sql + "," + b.sql + ")";
        } else {
            // Overflow of int or bigint is an error, as on the server.
            std::string code = op == "+" ? "0" : op == "-" ? "1" : "2";
            r.sql =
                "pnw_iop(" + a.sql + "," + b.sql + "," + code + "," + (r.type.base == Base::BigInt ? "64" : "32") + ")";
        }
        return r;
    }
    if (dom.base == Base::Float || dom.base == Base::Real) {
        r.type = SqlType::of(Base::Float);
        r.sql = op == "/" ? "pnw_div(" + a.sql + "," + b.sql + ",-1)" : "(" + a.sql + " " + op + " " + b.sql + ")";
        return r;
    }
    if (dom.base == Base::Money && (ta.base != Base::Decimal && tb.base != Base::Decimal)) {
        r.type = SqlType::of(Base::Money);
        r.sql = op == "/" ? "pnw_div(" + a.sql + "," + b.sql + ",4)"
                          : "pnw_round(" + a.sql + " " + op + " " + b.sql + ",4)";
        return r;
    }
    // Decimal arithmetic with the server's precision and scale rules.
    SqlType da = decimalOf(ta), db = decimalOf(tb);
    int p1 = da.precision, s1 = da.scale, p2 = db.precision, s2 = db.scale;
    int p, s;
    if (op == "+" || op == "-") {
        s = std::max(s1, s2);
        p = std::max(p1 - s1, p2 - s2) + s + 1;
    } else if (op == "*") {
        p = p1 + p2 + 1;
        s = s1 + s2;
    } else {
        s = std::max(6, s1 + p2 + 1);
        p = p1 - s1 + s2 + s;
    }
    if (p > 38) {
        int whole = p - s;
        s = std::max(std::min(s, 6), 38 - whole);
        s = std::min(s, 38);
        p = 38;
    }
    r.type = SqlType::of(Base::Decimal, 0, p, s);
    r.sql = op == "/" ? "pnw_div(" + a.sql + "," + b.sql + "," + std::to_string(s) + ")"
                      : "pnw_round(" + a.sql + " " + op + " " + b.sql + "," + std::to_string(s) + ")";
    return r;
}

TExpr Translator::column(const Expr &e, const Scope &scope) {
    for (const Scope *sc = &scope; sc; sc = sc->parent) {
        const Source *found = nullptr;
        size_t idx = 0;
        bool qualifierMatched = false;
        for (const auto &src : sc->sources) {
            if (!e.qualifier.empty()) {
                if (collateCompare(src.name, e.qualifier) != 0) continue;
                qualifierMatched = true;
            }
            for (size_t i = 0; i < src.columns.size(); ++i) {
                if (collateCompare(src.columns[i].name, e.text) == 0) {
                    if (found && e.qualifier.empty()) throw makeError(209, e.text);
                    if (!found) {
                        found = &src;
                        idx = i;
                    }
                    break;
                }
            }
        }
        if (found) {
            TExpr r;
            const OutputColumn &oc = found->columns[idx];
            r.sql = found->sqlAlias + "." + quoteIdent(oc.sqlName.empty() ? oc.name : oc.sqlName);
            r.type = found->columns[idx].type;
            r.nullable = found->columns[idx].nullable;
            r.identityColumn = found->columns[idx].identity;
            if (idx < found->infos.size()) r.column = found->infos[idx];
            return r;
        }
        if (qualifierMatched) throw makeError(207, e.text);
    }
    if (!e.qualifier.empty()) throw makeError(4104, e.qualifier + "." + e.text);
    throw makeError(207, e.text);
}

std::string Translator::predicate(const ExprP &e, const Scope &scope) {
    TExpr t = expr(e, scope);
    return t.sql;
}

TExpr Translator::caseExpr(const Expr &e, const Scope &scope) {
    std::vector<TExpr> thens;
    SqlType type = SqlType::of(Base::Null);
    for (const auto &t : e.thens) {
        thens.push_back(expr(t, scope));
        type = dominantType(type, thens.back().type);
    }
    TExpr elseT;
    bool hasElse = e.elseExpr != nullptr;
    if (hasElse) {
        elseT = expr(e.elseExpr, scope);
        type = dominantType(type, elseT.type);
    }
    TExpr operand;
    if (e.hasOperand) operand = expr(e.args[0], scope);
    std::string sql = "CASE";
    for (size_t i = 0; i < e.whens.size(); ++i) {
        std::string cond;
        if (e.hasOperand)
            cond = compare(operand, "=", expr(e.whens[i], scope)).sql;
        else
            cond = expr(e.whens[i], scope).sql;
        TExpr v = thens[i].type.base == type.base ? thens[i] : convertTo(thens[i], type, int(ConvertMode::Implicit));
        sql += " WHEN " + cond + " THEN " + v.sql;
    }
    if (hasElse) {
        TExpr v = elseT.type.base == type.base ? elseT : convertTo(elseT, type, int(ConvertMode::Implicit));
        sql += " ELSE " + v.sql;
    }
    sql += " END";
    TExpr r;
    r.sql = sql;
    r.type = type;
    return r;
}

std::string Translator::subqueryScalar(const Select &s, const Scope &scope, SqlType &type) {
    SelectOut out = select(s, &scope);
    if (out.columns.size() != 1) throw makeError(116);
    type = out.columns[0].type;
    // A subquery that is an aggregate without GROUP BY, or TOP 1, yields at most one row.
    const SelectCore &c = s.cores.front();
    bool single = s.cores.size() == 1 && c.groupBy.empty() &&
                  ((c.top && *c.top <= 1) ||
                   (c.items.size() == 1 && c.items[0].expr && c.items[0].expr->kind == ExprKind::Function &&
                    (c.items[0].expr->op == "MAX" || c.items[0].expr->op == "MIN" || c.items[0].expr->op == "SUM" ||
                     c.items[0].expr->op == "COUNT")));
    if (single) return "(" + out.sql + ")";
    // More than one row is error 512, as on the server.
    return "(SELECT CASE WHEN COUNT(*) > 1 THEN pnw_raise(512) ELSE MIN(\"__c0\") END FROM (" + out.sql + " LIMIT 2))";
}

TExpr Translator::expr(const ExprP &ep, const Scope &scope) {
    const Expr &e = *ep;
    TExpr r;
    switch (e.kind) {
    case ExprKind::Literal:
        r.sql = literalParam(e);
        r.type = e.literalType;
        // A lifted text literal may take any length when the translation is reused.
        if (liftTextLengths_ && r.type.base == Base::VarChar) r.type.length = 8000;
        if (liftTextLengths_ && r.type.base == Base::NVarChar) r.type.length = 4000;
        r.liftedText = liftTextLengths_ && r.type.isText();
        r.nullable = false;
        return r;
    case ExprKind::Null:
        r.sql = "NULL";
        r.type = SqlType::of(Base::Null);
        r.isNullLiteral = true;
        return r;
    case ExprKind::Column: return column(e, scope);
    case ExprKind::Variable:
        if (!ctx_.variableType(e.text, r.type)) throw makeError(137, e.text);
        r.sql = liveVariables_.count(lowerAscii(e.text)) ? "pnw_var(" + quoteText(lowerAscii(e.text)) + ")"
                                                         : variableParam(e.text);
        r.nullable = true;
        usesVariables_ = true;
        return r;
    case ExprKind::SysVar:
        // The session's values: a cached translation may go on to the next
        // session of the connection.
        if (e.text == "@@version") {
            r.sql = quoteText(ctx_.versionText());
            r.type = SqlType::of(Base::NVarChar, 300);
            cacheable_ = false;
        } else if (e.text == "@@spid") {
            r.sql = std::to_string(ctx_.spid());
            r.type = SqlType::of(Base::SmallInt);
            cacheable_ = false;
        } else {
            r.sql = variableParam("@@fetch_status");
            r.type = SqlType::of(Base::Int);
            cacheable_ = false;
        }
        r.nullable = false;
        return r;
    case ExprKind::Param:
        r.sql = ":m" + std::to_string(e.paramIndex);
        r.type = SqlType::of(Base::Null);
        cacheable_ = false;
        return r;
    case ExprKind::Unary: {
        TExpr a = expr(e.args[0], scope);
        if (e.op == "NOT") {
            r.sql = "(NOT " + a.sql + ")";
            r.type = SqlType::of(Base::Bit);
            return r;
        }
        if (a.type.isText()) a = convertTo(a, SqlType::of(Base::Int), int(ConvertMode::Implicit));
        r.sql = e.op == "-" ? "(-" + a.sql + ")" : a.sql;
        r.type = a.type;
        return r;
    }
    case ExprKind::Binary: {
        if (e.op == "AND" || e.op == "OR") {
            r.sql = "(" + expr(e.args[0], scope).sql + " " + e.op + " " + expr(e.args[1], scope).sql + ")";
            r.type = SqlType::of(Base::Bit);
            return r;
        }
        TExpr a = expr(e.args[0], scope);
        TExpr b = expr(e.args[1], scope);
        if (e.op == "=" || e.op == "<>" || e.op == "<" || e.op == ">" || e.op == "<=" || e.op == ">=")
            return compare(a, e.op == "<>" ? "<>" : e.op, b);
        return arithmetic(e.op, a, b);
    }
    case ExprKind::Function: return function(e, scope);
    case ExprKind::Case: return caseExpr(e, scope);
    case ExprKind::Cast: {
        TExpr a = expr(e.args[0], scope);
        int style = e.style;
        if (!convertStyleKnown(style))
            throw makeError(102, "CONVERT", "（不支持的 CONVERT 样式 " + std::to_string(style) + "）");
        SqlType to = e.castType.type;
        if ((to.base == Base::VarChar || to.base == Base::NVarChar) && !e.castType.hasLength) to.length = 30;
        return convertTo(a, to, int(ConvertMode::Cast), style);
    }
    case ExprKind::Subquery: {
        SqlType type;
        r.sql = subqueryScalar(*e.select, scope, type);
        r.type = type;
        return r;
    }
    case ExprKind::Exists: {
        SelectOut out = select(*e.select, &scope);
        r.sql = "(EXISTS (" + out.sql + "))";
        r.type = SqlType::of(Base::Bit);
        return r;
    }
    case ExprKind::InList: {
        TExpr a = expr(e.args[0], scope);
        std::string items;
        bool text = a.type.isText();
        for (size_t i = 1; i < e.args.size(); ++i) {
            TExpr v = expr(e.args[i], scope);
            if (v.type.isLob() || a.type.isLob()) throw makeError(306);
            if (!text && v.type.isText() && a.type.base != Base::Null)
                v = convertTo(v, a.type, int(ConvertMode::Implicit));
            else if (text && !v.type.isText() && v.type.base != Base::Null)
                a = convertTo(a, v.type, int(ConvertMode::Implicit)), text = false;
            items += (i > 1 ? "," : "") + v.sql;
        }
        r.sql = "(" + a.sql + (text ? " COLLATE TSQL" : "") + (e.negated ? " NOT IN (" : " IN (") + items + "))";
        r.type = SqlType::of(Base::Bit);
        return r;
    }
    case ExprKind::InSelect: {
        TExpr a = expr(e.args[0], scope);
        SelectOut out = select(*e.select, &scope);
        if (out.columns.size() != 1) throw makeError(116);
        std::string sub = out.sql;
        const SqlType &st = out.columns[0].type;
        if (a.type.isText() && !st.isText() && st.base != Base::Null)
            a = convertTo(a, st, int(ConvertMode::Implicit));
        else if (!a.type.isText() && st.isText() && a.type.base != Base::Null)
            sub = "SELECT pnw_cv(\"__c0\"," + std::to_string(packType(st)) + "," + std::to_string(packType(a.type)) +
                  ",2,-1) FROM (" + sub + ")";
        bool text = a.type.isText() && st.isText();
        r.sql = "(" + a.sql + (text ? " COLLATE TSQL" : "") + (e.negated ? " NOT IN (" : " IN (") + sub + "))";
        r.type = SqlType::of(Base::Bit);
        return r;
    }
    case ExprKind::Between: {
        TExpr a = expr(e.args[0], scope);
        TExpr lo = compare(a, ">=", expr(e.args[1], scope));
        TExpr hi = compare(a, "<=", expr(e.args[2], scope));
        r.sql = std::string(e.negated ? "(NOT " : "(") + "(" + lo.sql + " AND " + hi.sql + "))";
        r.type = SqlType::of(Base::Bit);
        return r;
    }
    case ExprKind::Like: {
        TExpr a = expr(e.args[0], scope);
        TExpr p = expr(e.args[1], scope);
        if (!a.type.isText() && a.type.base != Base::Null)
            a = convertTo(a, SqlType::of(Base::VarChar, 8000), int(ConvertMode::Cast));
        if (!p.type.isText() && p.type.base != Base::Null)
            p = convertTo(p, SqlType::of(Base::VarChar, 8000), int(ConvertMode::Cast));
        r.sql = std::string(e.negated ? "(NOT " : "(") + "pnw_like(" + a.sql + "," + p.sql + "))";
        r.type = SqlType::of(Base::Bit);
        return r;
    }
    case ExprKind::IsNull: {
        TExpr a = expr(e.args[0], scope);
        r.sql = "(" + a.sql + (e.negated ? " IS NOT NULL)" : " IS NULL)");
        r.type = SqlType::of(Base::Bit);
        return r;
    }
    }
    throw makeError(102, e.text);
}

}  // namespace server
