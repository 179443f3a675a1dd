// Queries and expressions of the parser.
#include <set>

#include "server/Parser.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"

namespace server {

namespace {

constexpr int kMaxDepth = 120;
// Operator chains build left-deep trees that later passes walk recursively:
// a longer chain is refused as nested too deep before it can exhaust the stack.
constexpr int kMaxChain = 400;

struct DepthGuard {
    int &d;
    explicit DepthGuard(int &depth) : d(depth) { ++d; }
    ~DepthGuard() { --d; }
};

int countDigits(const std::string &s) {
    int n = 0;
    for (char c : s)
        if (c >= '0' && c <= '9') ++n;
    return n;
}

}  // namespace

SelectP Parser::parseSelect() {
    DepthGuard g(depth_);
    if (depth_ > kMaxDepth) fail(peek(), "嵌套过深");
    auto sel = std::make_shared<Select>();
    if (isSymbol("(")) {
        // A parenthesised query as a whole statement or union member.
        next();
        SelectP inner = parseSelect();
        expectSymbol(")");
        *sel = *inner;
    } else {
        sel->cores.push_back(parseSelectCore());
    }
    while (isKeyword("union")) {
        next();
        bool all = acceptKeyword("all");
        sel->unionAll.push_back(all);
        if (isSymbol("(")) {
            next();
            SelectP inner = parseSelect();
            expectSymbol(")");
            if (inner->cores.size() != 1 || !inner->orderBy.empty()) unsupported(peek(), "带括号的 UNION 成员");
            sel->cores.push_back(inner->cores.front());
        } else {
            sel->cores.push_back(parseSelectCore());
        }
        if (sel->cores.back().into) fail(peek());
    }
    if (isKeyword("except") || isKeyword("intersect")) unsupported(peek(), upperAscii(peek().text));
    if (isKeyword("order") && isKeyword("by", 1)) {
        next();
        next();
        sel->orderBy = parseOrderBy();
    }
    if (isKeyword("for")) unsupported(peek(), "FOR 子句");
    if (isKeyword("option")) unsupported(peek(), "OPTION");
    if (isKeyword("compute")) unsupported(peek(), "COMPUTE");
    return sel;
}

std::vector<OrderItem> Parser::parseOrderBy() {
    std::vector<OrderItem> out;
    do {
        OrderItem o;
        o.expr = parseExpr();
        if (o.expr->kind == ExprKind::Literal && o.expr->literalIndex >= 0)
            structural_.push_back(o.expr->literalIndex);  // ORDER BY 2 names a column
        if (acceptKeyword("desc"))
            o.desc = true;
        else
            acceptKeyword("asc");
        out.push_back(o);
    } while (acceptSymbol(","));
    return out;
}

SelectCore Parser::parseSelectCore() {
    SelectCore core;
    expectKeyword("select");
    if (acceptKeyword("distinct"))
        core.distinct = true;
    else
        acceptKeyword("all");
    if (isKeyword("top")) {
        const Token &top = next();
        if (isSymbol("(")) unsupported(top, "TOP (表达式)");
        core.top = expectInteger();
        if (isKeyword("percent") || isKeyword("with")) unsupported(peek(), "TOP PERCENT/WITH TIES");
    }
    parseSelectItems(core);
    if (acceptKeyword("into")) core.into = parseObjectName();
    if (acceptKeyword("from")) core.from = parseFromList();
    if (acceptKeyword("where")) core.where = parseExpr();
    if (isKeyword("group") && isKeyword("by", 1)) {
        next();
        next();
        if (isKeyword("all")) unsupported(peek(), "GROUP BY ALL");
        do {
            core.groupBy.push_back(parseExpr());
        } while (acceptSymbol(","));
        if (isKeyword("with")) unsupported(peek(), "WITH ROLLUP/CUBE");
    }
    if (acceptKeyword("having")) core.having = parseExpr();
    return core;
}

void Parser::parseSelectItems(SelectCore &core) {
    do {
        SelectItem item;
        if (isSymbol("*")) {
            next();
            item.star = true;
        } else if (isNameToken() && isSymbol(".", 1) && isSymbol("*", 2)) {
            item.star = true;
            item.starQualifier = next().text;
            next();
            next();
        } else if (isNameToken() && isSymbol(".", 1) && isNameToken(2) && isSymbol(".", 3) && isSymbol("*", 4)) {
            next();
            next();
            item.star = true;
            item.starQualifier = next().text;
            next();
            next();
        } else if (peek().kind == TokenKind::Variable && isSymbol("=", 1)) {
            item.assignVariable = next().text;
            next();
            item.expr = parseExpr();
        } else if ((peek().kind == TokenKind::String || isNameToken()) && isSymbol("=", 1) &&
                   peek().kind != TokenKind::String) {
            // alias = expression
            item.alias = next().text;
            item.hasAlias = true;
            next();
            item.expr = parseExpr();
        } else {
            item.expr = parseExpr();
            if (acceptKeyword("as")) {
                const Token &t = peek();
                if (t.kind == TokenKind::String || t.kind == TokenKind::Bracketed || t.kind == TokenKind::Identifier) {
                    if (t.kind == TokenKind::Identifier && isReservedWord(t.text)) fail(t);
                    item.alias = next().text;
                    item.hasAlias = true;
                } else {
                    fail(t);
                }
            } else if (isNameToken() || peek().kind == TokenKind::String) {
                item.alias = next().text;
                item.hasAlias = true;
            }
        }
        if (isKeyword("over")) unsupported(peek(), "OVER 窗口函数");
        core.items.push_back(item);
    } while (acceptSymbol(","));
}

std::vector<FromItem> Parser::parseFromList() {
    std::vector<FromItem> out;
    do {
        FromItem item;
        item.first = parseTableRef();
        for (;;) {
            JoinItem j;
            if (isKeyword("join") || (isKeyword("inner") && isKeyword("join", 1))) {
                if (isKeyword("inner")) next();
                next();
                j.type = JoinType::Inner;
            } else if (isKeyword("left") || isKeyword("right")) {
                j.type = isKeyword("left") ? JoinType::Left : JoinType::Right;
                next();
                acceptKeyword("outer");
                expectKeyword("join");
            } else if (isKeyword("full") || isKeyword("cross")) {
                unsupported(peek(), upperAscii(peek().text) + " JOIN");
            } else if (isKeyword("outer") || isKeyword("apply")) {
                unsupported(peek(), "APPLY");
            } else {
                break;
            }
            j.table = parseTableRef();
            expectKeyword("on");
            j.on = parseExpr();
            item.joins.push_back(j);
        }
        out.push_back(item);
    } while (acceptSymbol(","));
    return out;
}

std::string Parser::parseAliasOpt() {
    if (acceptKeyword("as")) return expectName();
    if (isNameToken()) return next().text;
    return {};
}

TableRef Parser::parseTableRef() {
    DepthGuard g(depth_);
    if (depth_ > kMaxDepth) fail(peek(), "嵌套过深");
    TableRef ref;
    if (isSymbol("(")) {
        next();
        if (!isKeyword("select") && !isSymbol("(")) unsupported(peek(), "括号中的联接");
        ref.kind = TableRef::Kind::Derived;
        ref.derived = parseSelect();
        expectSymbol(")");
        ref.alias = parseAliasOpt();
        if (ref.alias.empty()) fail(peek());
        return ref;
    }
    if (isKeyword("opendatasource")) {
        next();
        expectSymbol("(");
        if (peek().kind != TokenKind::String && peek().kind != TokenKind::NString) fail(peek());
        ref.odsProvider = next().text;
        expectSymbol(",");
        if (peek().kind != TokenKind::String && peek().kind != TokenKind::NString) fail(peek());
        ref.odsInit = next().text;
        expectSymbol(")");
        // ...table: three dots, then the table name.
        for (int i = 0; i < 3; ++i) expectSymbol(".");
        ref.kind = TableRef::Kind::OpenDataSource;
        ref.name.name = expectName();
        ref.alias = parseAliasOpt();
        return ref;
    }
    if (isKeyword("openrowset") || isKeyword("openquery")) unsupported(peek(), upperAscii(peek().text));
    ref.name = parseObjectName();
    ref.alias = parseAliasOpt();
    if (isKeyword("with") && isSymbol("(", 1)) unsupported(peek(), "表提示");
    if (isKeyword("pivot") || isKeyword("unpivot")) unsupported(peek(), "PIVOT");
    return ref;
}

// ---- expressions -------------------------------------------------------

ExprP Parser::parseExpr() {
    DepthGuard g(depth_);
    if (depth_ > kMaxDepth) fail(peek(), "嵌套过深");
    return parseOr();
}

ExprP Parser::parseOr() {
    ExprP left = parseAnd();
    int chain = 0;
    while (isKeyword("or")) {
        if (++chain > kMaxChain) throw makeError(191);
        next();
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::Binary;
        e->op = "OR";
        e->args = {left, parseAnd()};
        left = e;
    }
    return left;
}

ExprP Parser::parseAnd() {
    ExprP left = parseNot();
    int chain = 0;
    while (isKeyword("and")) {
        if (++chain > kMaxChain) throw makeError(191);
        next();
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::Binary;
        e->op = "AND";
        e->args = {left, parseNot()};
        left = e;
    }
    return left;
}

ExprP Parser::parseNot() {
    if (isKeyword("not")) {
        DepthGuard g(depth_);
        if (depth_ > kMaxDepth) fail(peek(), "嵌套过深");
        next();
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::Unary;
        e->op = "NOT";
        e->args = {parseNot()};
        return e;
    }
    return parsePredicate();
}

ExprP Parser::parsePredicate() {
    if (isKeyword("exists")) {
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::Exists;
        e->pos = next().pos;
        expectSymbol("(");
        e->select = parseSelect();
        expectSymbol(")");
        return e;
    }
    ExprP left = parseAdditive();
    int chain = 0;
    for (;;) {
        if (++chain > kMaxChain) throw makeError(191);
        const Token &t = peek();
        if (t.kind == TokenKind::Symbol &&
            (t.text == "=" || t.text == "<>" || t.text == "<" || t.text == ">" || t.text == "<=" || t.text == ">=")) {
            next();
            if (isKeyword("all") || isKeyword("any") || isKeyword("some")) unsupported(peek(), "ALL/ANY/SOME");
            auto e = std::make_shared<Expr>();
            e->kind = ExprKind::Binary;
            e->op = t.text;
            e->args = {left, parseAdditive()};
            left = e;
            continue;
        }
        if (t.kind == TokenKind::Symbol && (t.text == "!=" || t.text == "!<" || t.text == "!>"))
            unsupported(t, t.text + " 运算符");
        bool negated = false;
        int ahead = 0;
        if (isKeyword("not") && (isKeyword("in", 1) || isKeyword("like", 1) || isKeyword("between", 1))) {
            negated = true;
            ahead = 1;
        }
        if (isKeyword("in", ahead)) {
            for (int i = 0; i <= ahead; ++i) next();
            expectSymbol("(");
            auto e = std::make_shared<Expr>();
            e->negated = negated;
            if (isKeyword("select") || (isSymbol("(") && isKeyword("select", 1))) {
                e->kind = ExprKind::InSelect;
                e->select = parseSelect();
                e->args = {left};
            } else {
                e->kind = ExprKind::InList;
                e->args = {left};
                do {
                    e->args.push_back(parseExpr());
                } while (acceptSymbol(","));
            }
            expectSymbol(")");
            left = e;
            continue;
        }
        if (isKeyword("like", ahead)) {
            for (int i = 0; i <= ahead; ++i) next();
            auto e = std::make_shared<Expr>();
            e->kind = ExprKind::Like;
            e->negated = negated;
            e->args = {left, parseAdditive()};
            if (isKeyword("escape")) unsupported(peek(), "LIKE ... ESCAPE");
            left = e;
            continue;
        }
        if (isKeyword("between", ahead)) {
            for (int i = 0; i <= ahead; ++i) next();
            auto e = std::make_shared<Expr>();
            e->kind = ExprKind::Between;
            e->negated = negated;
            ExprP lo = parseAdditive();
            expectKeyword("and");
            ExprP hi = parseAdditive();
            e->args = {left, lo, hi};
            left = e;
            continue;
        }
        if (isKeyword("is")) {
            next();
            auto e = std::make_shared<Expr>();
            e->kind = ExprKind::IsNull;
            e->negated = acceptKeyword("not");
            expectKeyword("null");
            e->args = {left};
            left = e;
            continue;
        }
        break;
    }
    return left;
}

ExprP Parser::parseAdditive() {
    ExprP left = parseMultiplicative();
    int chain = 0;
    for (;;) {
        if (++chain > kMaxChain) throw makeError(191);
        const Token &t = peek();
        if (t.kind == TokenKind::Symbol && (t.text == "+" || t.text == "-" || t.text == "&")) {
            next();
            auto e = std::make_shared<Expr>();
            e->kind = ExprKind::Binary;
            e->op = t.text;
            e->pos = t.pos;
            e->args = {left, parseMultiplicative()};
            left = e;
            continue;
        }
        if (t.kind == TokenKind::Symbol && (t.text == "|" || t.text == "^")) unsupported(t, t.text + " 运算符");
        break;
    }
    return left;
}

ExprP Parser::parseMultiplicative() {
    ExprP left = parseUnary();
    int chain = 0;
    for (;;) {
        if (++chain > kMaxChain) throw makeError(191);
        const Token &t = peek();
        if (t.kind == TokenKind::Symbol && (t.text == "*" || t.text == "/")) {
            next();
            auto e = std::make_shared<Expr>();
            e->kind = ExprKind::Binary;
            e->op = t.text;
            e->pos = t.pos;
            e->args = {left, parseUnary()};
            left = e;
            continue;
        }
        if (t.kind == TokenKind::Symbol && t.text == "%") unsupported(t, "% 运算符");
        break;
    }
    return left;
}

ExprP Parser::parseUnary() {
    const Token &t = peek();
    if (t.kind == TokenKind::Symbol && (t.text == "-" || t.text == "+")) {
        DepthGuard g(depth_);
        if (depth_ > kMaxDepth) fail(peek(), "嵌套过深");
        next();
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::Unary;
        e->op = t.text;
        e->args = {parseUnary()};
        return e;
    }
    if (t.kind == TokenKind::Symbol && t.text == "~") unsupported(t, "~ 运算符");
    return parsePrimary();
}

ExprP Parser::literalFrom(const Token &t, bool negative) {
    auto e = std::make_shared<Expr>();
    e->kind = ExprKind::Literal;
    e->pos = t.pos;
    e->literalIndex = t.literalIndex;
    e->text = negative ? "-" + t.text : t.text;
    switch (t.kind) {
    case TokenKind::String:
        e->literalType = SqlType::of(Base::VarChar, std::max(1, cp936Length(t.text)));
        e->text = t.text;
        break;
    case TokenKind::NString:
        e->literalType = SqlType::of(Base::NVarChar, std::max(1, utf16Length(t.text)));
        e->text = t.text;
        break;
    case TokenKind::Integer: {
        std::string digits = t.text;
        size_t nz = digits.find_first_not_of('0');
        digits = nz == std::string::npos ? "0" : digits.substr(nz);
        if (digits.size() < 10 || (digits.size() == 10 && digits <= (negative ? "2147483648" : "2147483647")))
            e->literalType = SqlType::of(Base::Int);
        else if (digits.size() < 19 ||
                 (digits.size() == 19 && digits <= (negative ? "9223372036854775808" : "9223372036854775807")))
            e->literalType = SqlType::of(Base::BigInt);
        else if (digits.size() <= 38)
            e->literalType = SqlType::of(Base::Decimal, 0, int(digits.size()), 0);
        else
            throw makeError(1007, t.text);
        break;
    }
    case TokenKind::Decimal: {
        size_t dot = t.text.find('.');
        int scale = int(t.text.size() - dot - 1);
        std::string whole = t.text.substr(0, dot);
        size_t nz = whole.find_first_not_of('0');
        int wholeDigits = nz == std::string::npos ? 0 : int(whole.size() - nz);
        int prec = std::max(1, wholeDigits + scale);
        if (prec > 38) throw makeError(1007, t.text);
        e->literalType = SqlType::of(Base::Decimal, 0, prec, scale);
        (void)countDigits;
        break;
    }
    case TokenKind::Float: e->literalType = SqlType::of(Base::Float); break;
    default: fail(t);
    }
    return e;
}

ExprP Parser::parsePrimary() {
    const Token &t = peek();
    switch (t.kind) {
    case TokenKind::String:
    case TokenKind::NString:
    case TokenKind::Integer:
    case TokenKind::Decimal:
    case TokenKind::Float: next(); return literalFrom(t, false);
    case TokenKind::Hex: {
        next();
        if (lowerAscii(t.text) != "0x40") unsupported(t, "二进制常量");
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::Literal;
        e->text = "64";
        e->literalType = SqlType::of(Base::Int);
        return e;
    }
    case TokenKind::Param: {
        next();
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::Param;
        e->pos = t.pos;
        e->paramIndex = params_++;
        return e;
    }
    case TokenKind::Variable: {
        next();
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::Variable;
        e->text = t.text;
        e->pos = t.pos;
        return e;
    }
    case TokenKind::SysVariable: {
        next();
        std::string n = lowerAscii(t.text);
        if (n != "@@version" && n != "@@spid" && n != "@@fetch_status") unsupported(t, t.text);
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::SysVar;
        e->text = n;
        e->pos = t.pos;
        return e;
    }
    case TokenKind::Symbol:
        if (t.text == "(") {
            next();
            if (isKeyword("select")) {
                auto e = std::make_shared<Expr>();
                e->kind = ExprKind::Subquery;
                e->pos = t.pos;
                e->select = parseSelect();
                expectSymbol(")");
                return e;
            }
            ExprP inner = parseExpr();
            expectSymbol(")");
            return inner;
        }
        fail(t);
    case TokenKind::Identifier:
    case TokenKind::Bracketed: {
        if (t.kind == TokenKind::Identifier) {
            std::string kw = lowerAscii(t.text);
            if (kw == "null") {
                next();
                auto e = std::make_shared<Expr>();
                e->kind = ExprKind::Null;
                e->pos = t.pos;
                return e;
            }
            if (kw == "case") return parseCase();
            if (kw == "cast" || kw == "convert" || kw == "identity" || (isSymbol("(", 1) && !isReservedWord(kw)) ||
                (kw == "left" || kw == "right")) {
                if (isSymbol("(", 1)) {
                    next();
                    return parseFunction(t);
                }
            }
            if (isReservedWord(kw)) fail(t);
        }
        // Column reference: up to four parts, the last is the column.
        next();
        std::vector<std::string> parts = {t.text};
        while (isSymbol(".")) {
            next();
            if (isSymbol("*")) fail(peek());
            parts.push_back(expectName());
        }
        if (parts.size() > 4) fail(peek());
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::Column;
        e->pos = t.pos;
        e->text = parts.back();
        parts.pop_back();
        // Keep only the table part as the qualifier; db and schema are checked later.
        if (!parts.empty()) e->qualifier = parts.back();
        if (parts.size() >= 2 && !iequals(parts[parts.size() - 2], "dbo"))
            unsupported(t, "架构 " + parts[parts.size() - 2]);
        return e;
    }
    default: fail(t);
    }
}

ExprP Parser::parseCase() {
    auto e = std::make_shared<Expr>();
    e->kind = ExprKind::Case;
    e->pos = next().pos;
    if (!isKeyword("when")) {
        e->hasOperand = true;
        e->args = {parseExpr()};
    }
    if (!isKeyword("when")) fail(peek());
    while (acceptKeyword("when")) {
        e->whens.push_back(parseExpr());
        expectKeyword("then");
        e->thens.push_back(parseExpr());
    }
    if (acceptKeyword("else")) e->elseExpr = parseExpr();
    expectKeyword("end");
    return e;
}

ExprP Parser::parseFunction(const Token &nameTok) {
    std::string name = lowerAscii(nameTok.text);
    auto e = std::make_shared<Expr>();
    e->pos = nameTok.pos;
    expectSymbol("(");
    if (isRejectedFunction(name)) unsupported(nameTok, "函数 " + upperAscii(name));
    if (name == "cast") {
        e->kind = ExprKind::Cast;
        e->op = "CAST";
        e->args = {parseExpr()};
        expectKeyword("as");
        e->castType = parseType();
        expectSymbol(")");
        return e;
    }
    if (name == "convert") {
        e->kind = ExprKind::Cast;
        e->op = "CONVERT";
        e->castType = parseType();
        expectSymbol(",");
        e->args = {parseExpr()};
        if (acceptSymbol(",")) e->style = int(expectInteger());
        expectSymbol(")");
        return e;
    }
    e->kind = ExprKind::Function;
    e->op = upperAscii(name);
    if (isSymbol(")")) {
        next();
        return e;
    }
    if (name == "count" && isSymbol("*")) {
        next();
        e->star = true;
        expectSymbol(")");
        return e;
    }
    if (acceptKeyword("distinct"))
        e->distinct = true;
    else
        acceptKeyword("all");
    do {
        e->args.push_back(parseExpr());
    } while (acceptSymbol(","));
    expectSymbol(")");
    if (isKeyword("over")) unsupported(peek(), "OVER 窗口函数");
    return e;
}

}  // namespace server
