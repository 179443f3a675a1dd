// Parsing of the procedural statements (variables, IF, WHILE, blocks, EXEC,
// cursors, procedures, triggers) and of the server-level statements.
#include <algorithm>

#include "server/Parser.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"

namespace server {

namespace {

bool isValueToken(const Token &t) {
    switch (t.kind) {
    case TokenKind::String:
    case TokenKind::NString:
    case TokenKind::Integer:
    case TokenKind::Decimal:
    case TokenKind::Float:
    case TokenKind::Hex:
    case TokenKind::Variable:
    case TokenKind::SysVariable:
    case TokenKind::Param: return true;
    default: return false;
    }
}

// A search condition: a comparison, a predicate, or AND/OR/NOT of them.
bool isCondition(const ExprP &e) {
    switch (e->kind) {
    case ExprKind::Binary:
        if (e->op == "AND" || e->op == "OR") return isCondition(e->args[0]) && isCondition(e->args[1]);
        return e->op == "=" || e->op == "<>" || e->op == "<" || e->op == ">" || e->op == "<=" || e->op == ">=";
    case ExprKind::Unary: return e->op == "NOT" && isCondition(e->args[0]);
    case ExprKind::Exists:
    case ExprKind::InList:
    case ExprKind::InSelect:
    case ExprKind::Between:
    case ExprKind::Like:
    case ExprKind::IsNull: return true;
    default: return false;
    }
}

}  // namespace

// IF and WHILE take a condition; a plain value (WHILE 1) is error 4145.
ExprP Parser::parseCondition() {
    ExprP e = parseExpr();
    if (!isCondition(e)) throw makeError(4145, peek().kind == TokenKind::End ? std::string() : peek().text);
    return e;
}

StatementP Parser::parseTracked() {
    size_t first = pos_;
    StatementP s = parseStatement();
    s->firstToken = int(first);
    s->endToken = int(pos_);
    s->literalBase = 0;
    for (size_t k = first; k < pos_; ++k)
        if (tokens_[k].literalIndex >= 0) {
            s->literalBase = tokens_[k].literalIndex;
            break;
        }
    return s;
}

std::string Parser::expectString() {
    const Token &t = peek();
    if (t.kind != TokenKind::String && t.kind != TokenKind::NString) fail(t);
    next();
    return t.text;
}

StatementP Parser::parseDeclare() {
    auto s = std::make_shared<Statement>();
    s->pos = next().pos;
    if (peek().kind != TokenKind::Variable) {
        // DECLARE name CURSOR [options] FOR select
        s->kind = StmtKind::DeclareCursor;
        s->variable = expectName();
        if (isKeyword("insensitive") || isKeyword("scroll")) unsupported(peek(), "游标选项 " + peek().text);
        expectKeyword("cursor");
        while (isKeyword("local") || isKeyword("global") || isKeyword("forward_only") || isKeyword("fast_forward") ||
               isKeyword("static") || isKeyword("read_only"))
            next();
        if (!isKeyword("for")) unsupported(peek(), "游标选项 " + peek().text);
        next();
        s->select = parseSelect();
        if (s->select->cores.front().into) fail(peek());
        if (isKeyword("for")) unsupported(peek(), "FOR UPDATE");
        return s;
    }
    s->kind = StmtKind::Declare;
    do {
        const Token &v = peek();
        if (v.kind != TokenKind::Variable) fail(v);
        next();
        VarDecl d;
        d.name = v.text;
        acceptKeyword("as");
        if (isKeyword("cursor") || isKeyword("table")) unsupported(peek(), upperAscii(peek().text) + " 变量");
        d.type = parseType();
        if (isSymbol("=")) unsupported(peek(), "DECLARE 中的初始值");
        std::string key = lowerAscii(d.name);
        if (std::find(declared_.begin(), declared_.end(), key) != declared_.end()) throw makeError(134, d.name);
        declared_.push_back(key);
        s->decls.push_back(d);
    } while (acceptSymbol(","));
    return s;
}

StatementP Parser::parseSetVariable(size_t pos) {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::SetVariable;
    s->pos = pos;
    s->variable = next().text;
    expectSymbol("=");
    s->expr = parseExpr();
    return s;
}

StatementP Parser::parseIf() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::If;
    s->pos = next().pos;
    s->expr = parseCondition();
    while (acceptSymbol(";")) {}
    if (peek().kind == TokenKind::End) fail(peek());
    s->body.push_back(parseTracked());
    while (acceptSymbol(";")) {}
    if (acceptKeyword("else")) {
        if (peek().kind == TokenKind::End) fail(peek());
        s->elseBody.push_back(parseTracked());
    }
    return s;
}

StatementP Parser::parseWhile() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::While;
    s->pos = next().pos;
    s->expr = parseCondition();
    while (acceptSymbol(";")) {}
    if (peek().kind == TokenKind::End) fail(peek());
    s->body.push_back(parseTracked());
    return s;
}

StatementP Parser::parseBlock() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::Block;
    s->pos = next().pos;
    if (isKeyword("tran") || isKeyword("transaction") || isKeyword("distributed")) unsupported(peek(), "BEGIN TRAN");
    if (isKeyword("try") || isKeyword("catch")) unsupported(peek(), "TRY/CATCH");
    while (!isKeyword("end")) {
        if (peek().kind == TokenKind::End) fail(peek());
        if (acceptSymbol(";")) continue;
        s->body.push_back(parseTracked());
    }
    next();
    return s;
}

StatementP Parser::parseExec() {
    auto s = std::make_shared<Statement>();
    s->pos = next().pos;
    if (acceptSymbol("(")) {
        s->kind = StmtKind::ExecDynamic;
        s->expr = parseExpr();
        expectSymbol(")");
        return s;
    }
    if (peek().kind == TokenKind::Variable) unsupported(peek(), "EXEC @变量");
    s->kind = StmtKind::Exec;
    s->target = parseObjectName();
    if (!isValueToken(peek()) && !isSymbol("-") && !isSymbol("+") && !isKeyword("null")) return s;
    do {
        ExecArg a;
        if (peek().kind == TokenKind::Variable && isSymbol("=", 1)) unsupported(peek(), "命名参数");
        a.value = parseExpr();
        if (isKeyword("output") || isKeyword("out")) unsupported(peek(), "OUTPUT 参数");
        s->args.push_back(a);
    } while (acceptSymbol(","));
    return s;
}

std::vector<StatementP> Parser::parseModuleBody() {
    std::vector<StatementP> body;
    while (peek().kind != TokenKind::End) {
        if (acceptSymbol(";")) continue;
        body.push_back(parseTracked());
    }
    return body;
}

StatementP Parser::parseCreateProcedure(size_t pos) {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::CreateProcedure;
    s->pos = pos;
    s->target = parseObjectName();
    bool paren = acceptSymbol("(");
    if (peek().kind == TokenKind::Variable) {
        do {
            const Token &v = peek();
            if (v.kind != TokenKind::Variable) fail(v);
            next();
            ProcParam p;
            p.name = v.text;
            acceptKeyword("as");
            p.type = parseType();
            if (acceptSymbol("=")) p.defaultValue = parseExpr();
            if (isKeyword("output") || isKeyword("out")) unsupported(peek(), "OUTPUT 参数");
            declared_.push_back(lowerAscii(p.name));
            s->params.push_back(p);
        } while (acceptSymbol(","));
    }
    if (paren) expectSymbol(")");
    if (isKeyword("with")) unsupported(peek(), "WITH 选项");
    expectKeyword("as");
    s->bodyPos = peek().pos;
    s->body = parseModuleBody();
    return s;
}

StatementP Parser::parseCreateTrigger(size_t pos) {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::CreateTrigger;
    s->pos = pos;
    ObjectName n = parseObjectName();
    s->itemName = n.name;
    expectKeyword("on");
    s->target = parseObjectName();
    if (!acceptKeyword("for") && !acceptKeyword("after")) {
        if (isKeyword("instead")) unsupported(peek(), "INSTEAD OF");
        fail(peek());
    }
    do {
        if (acceptKeyword("insert"))
            s->events += "I";
        else if (acceptKeyword("update"))
            s->events += "U";
        else if (acceptKeyword("delete"))
            s->events += "D";
        else
            fail(peek());
    } while (acceptSymbol(","));
    expectKeyword("as");
    s->bodyPos = peek().pos;
    s->body = parseModuleBody();
    return s;
}

StatementP Parser::parseCursorStatement() {
    auto s = std::make_shared<Statement>();
    const Token &kw = next();
    s->pos = kw.pos;
    std::string k = lowerAscii(kw.text);
    if (k == "fetch") {
        s->kind = StmtKind::FetchCursor;
        if (isKeyword("prior") || isKeyword("first") || isKeyword("last") || isKeyword("absolute") ||
            isKeyword("relative"))
            unsupported(peek(), "FETCH " + upperAscii(peek().text));
        acceptKeyword("next");
        acceptKeyword("from");
        s->variable = expectName();
        if (acceptKeyword("into")) {
            do {
                const Token &v = peek();
                if (v.kind != TokenKind::Variable) fail(v);
                next();
                s->intoVars.push_back(v.text);
            } while (acceptSymbol(","));
        }
        return s;
    }
    s->kind = k == "open" ? StmtKind::OpenCursor : k == "close" ? StmtKind::CloseCursor : StmtKind::DeallocateCursor;
    acceptKeyword("global");
    s->variable = expectName();
    return s;
}

StatementP Parser::parseToggleTrigger() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::ToggleTrigger;
    const Token &kw = next();
    s->pos = kw.pos;
    s->on = iequals(kw.text, "enable");
    expectKeyword("trigger");
    if (isKeyword("all")) unsupported(peek(), "ALL 触发器");
    s->itemName = parseObjectName().name;
    expectKeyword("on");
    s->target = parseObjectName();
    return s;
}

StatementP Parser::parseKill() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::Kill;
    s->pos = next().pos;
    const Token &t = peek();
    if (t.kind != TokenKind::Integer) fail(t);
    s->expr = parsePrimary();
    return s;
}

StatementP Parser::parseRestore() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::Restore;
    s->pos = next().pos;
    if (!acceptKeyword("database")) unsupported(peek(), "RESTORE " + peek().text);
    s->itemName = expectName();
    expectKeyword("from");
    if (!acceptKeyword("disk")) unsupported(peek(), "RESTORE FROM " + peek().text);
    expectSymbol("=");
    s->disk = expectString();
    if (acceptKeyword("with")) {
        do {
            if (acceptKeyword("recovery")) {
                s->recovery = true;
            } else if (acceptKeyword("norecovery")) {
                s->recovery = false;
            } else if (acceptKeyword("replace")) {
                s->replace = true;
            } else if (acceptKeyword("move")) {
                std::string logical = expectString();
                expectKeyword("to");
                s->moves.push_back({logical, expectString()});
            } else {
                unsupported(peek(), "RESTORE 选项 " + peek().text);
            }
        } while (acceptSymbol(","));
    }
    return s;
}

StatementP Parser::parseBackup() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::Backup;
    s->pos = next().pos;
    if (acceptKeyword("log")) {
        s->option = "log";
        s->itemName = expectName();
        expectKeyword("with");
        if (!acceptKeyword("no_log") && !acceptKeyword("truncate_only"))
            unsupported(peek(), "BACKUP LOG 选项 " + peek().text);
        return s;
    }
    if (!acceptKeyword("database")) unsupported(peek(), "BACKUP " + peek().text);
    s->itemName = expectName();
    expectKeyword("to");
    if (!acceptKeyword("disk")) unsupported(peek(), "BACKUP TO " + peek().text);
    expectSymbol("=");
    s->disk = expectString();
    if (acceptKeyword("with")) {
        do {
            if (!acceptKeyword("init") && !acceptKeyword("format")) unsupported(peek(), "BACKUP 选项 " + peek().text);
        } while (acceptSymbol(","));
    }
    return s;
}

StatementP Parser::parseAlterDatabase(size_t pos) {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::AlterDatabase;
    s->pos = pos;
    s->itemName = expectName();
    if (acceptKeyword("set")) {
        s->kind = StmtKind::SetDurability;
        expectKeyword("delayed_durability");
        expectSymbol("=");
        s->option = expectName();
        return s;
    }
    expectKeyword("modify");
    expectKeyword("file");
    expectSymbol("(");
    // NAME = 'logical' [, option = value ...]
    do {
        std::string opt = lowerAscii(expectName());
        expectSymbol("=");
        const Token &v = next();
        if (opt == "name") s->option = v.text;
    } while (acceptSymbol(","));
    expectSymbol(")");
    return s;
}

}  // namespace server
