#include "server/Parser.h"

#include <algorithm>
#include <set>

#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Tokenizer.h"

namespace server {

namespace {

const std::set<std::string> &reservedWords() {
    static const std::set<std::string> words = {
        "add",
        "all",
        "alter",
        "and",
        "any",
        "as",
        "asc",
        "backup",
        "begin",
        "between",
        "break",
        "by",
        "cascade",
        "case",
        "check",
        "close",
        "clustered",
        "collate",
        "column",
        "commit",
        "compute",
        "constraint",
        "continue",
        "convert",
        "create",
        "cross",
        "current",
        "cursor",
        "database",
        "deallocate",
        "declare",
        "default",
        "delete",
        "deny",
        "desc",
        "distinct",
        "drop",
        "else",
        "end",
        "escape",
        "except",
        "exec",
        "execute",
        "exists",
        "fetch",
        "file",
        "for",
        "foreign",
        "from",
        "full",
        "function",
        "goto",
        "grant",
        "group",
        "having",
        "identity",
        "identity_insert",
        "if",
        "in",
        "index",
        "inner",
        "insert",
        "intersect",
        "into",
        "is",
        "join",
        "key",
        "kill",
        "left",
        "like",
        "merge",
        "nocheck",
        "nonclustered",
        "not",
        "null",
        "of",
        "off",
        "on",
        "open",
        "opendatasource",
        "openquery",
        "openrowset",
        "option",
        "or",
        "order",
        "outer",
        "over",
        "percent",
        "pivot",
        "primary",
        "print",
        "proc",
        "procedure",
        "public",
        "raiserror",
        "reconfigure",
        "references",
        "restore",
        "return",
        "revoke",
        "right",
        "rollback",
        "rowcount",
        "save",
        "schema",
        "select",
        "set",
        "some",
        "table",
        "top",
        "tran",
        "transaction",
        "trigger",
        "truncate",
        "union",
        "unique",
        "update",
        "use",
        "values",
        "view",
        "waitfor",
        "when",
        "where",
        "while",
        "with",
    };
    return words;
}

// Statements outside the subset, rejected by name.
const std::set<std::string> &laterStatements() {
    static const std::set<std::string> words = {"print",  "raiserror", "return",  "goto",    "commit", "rollback",
                                                "save",   "use",       "waitfor", "with",    "merge",  "grant",
                                                "revoke", "deny",      "break",   "continue"};
    return words;
}

// Functions the subset rejects loudly.
const std::set<std::string> &rejectedFunctions() {
    static const std::set<std::string> names = {
        "coalesce", "datalength", "patindex", "stuff",      "upper",      "lower",          "str",
        "space",    "replicate",  "char",     "nchar",      "unicode",    "floor",          "ceiling",
        "sign",     "power",      "sqrt",     "datepart",   "datename",   "getutcdate",     "isnumeric",
        "isdate",   "newid",      "avg",      "count_big",  "stdev",      "scope_identity", "ident_current",
        "identity", "row_number", "rank",     "dense_rank", "openrowset", "openquery"};
    return names;
}

}  // namespace

bool isRejectedFunction(const std::string &lowerName) { return rejectedFunctions().count(lowerName) > 0; }

bool isReservedWord(std::string_view word) { return reservedWords().count(lowerAscii(word)) > 0; }

std::string ObjectName::display() const {
    std::string s;
    if (!db.empty())
        s = db + "." + schema + ".";
    else if (!schema.empty())
        s = schema + ".";
    return s + name;
}

Parser::Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

Batch Parser::parse(std::string_view text) {
    Parser p(tokenize(text));
    return p.parseBatch();
}

const Token &Parser::peek(int ahead) const {
    size_t i = std::min(pos_ + size_t(ahead), tokens_.size() - 1);
    return tokens_[i];
}

const Token &Parser::next() {
    const Token &t = tokens_[pos_];
    if (pos_ + 1 < tokens_.size()) ++pos_;
    return t;
}

bool Parser::isKeyword(std::string_view kw, int ahead) const {
    const Token &t = peek(ahead);
    return t.kind == TokenKind::Identifier && iequals(t.text, kw);
}

bool Parser::acceptKeyword(std::string_view kw) {
    if (!isKeyword(kw)) return false;
    next();
    return true;
}

void Parser::expectKeyword(std::string_view kw) {
    if (!acceptKeyword(kw)) fail(peek());
}

bool Parser::isSymbol(std::string_view sym, int ahead) const {
    const Token &t = peek(ahead);
    return t.kind == TokenKind::Symbol && t.text == sym;
}

bool Parser::acceptSymbol(std::string_view sym) {
    if (!isSymbol(sym)) return false;
    next();
    return true;
}

void Parser::expectSymbol(std::string_view sym) {
    if (!acceptSymbol(sym)) fail(peek());
}

bool Parser::isNameToken(int ahead) const {
    const Token &t = peek(ahead);
    if (t.kind == TokenKind::Bracketed) return true;
    return t.kind == TokenKind::Identifier && !isReservedWord(t.text);
}

std::string Parser::expectName() {
    if (!isNameToken()) {
        const Token &t = peek();
        if (t.kind == TokenKind::Bracketed && t.text.empty()) fail(t);
        fail(t);
    }
    const Token &t = next();
    if (t.text.empty()) fail(t);
    if (t.text.size() > 128 * 3) throw makeError(103, t.text.substr(0, 40));
    return t.text;
}

int64_t Parser::expectInteger() {
    const Token &t = peek();
    if (t.kind != TokenKind::Integer || t.text.size() > 18) fail(t);
    next();
    structural_.push_back(t.literalIndex);
    return std::stoll(t.text);
}

void Parser::fail(const Token &at, const std::string &note) const {
    std::string n = note.empty() ? std::string() : "（" + note + "）";
    if (at.kind == TokenKind::End) {
        // The server names the last token when the batch ends too early.
        if (tokens_.size() >= 2) {
            const Token &last = tokens_[tokens_.size() - 2];
            if (last.kind == TokenKind::Identifier && isReservedWord(last.text))
                throw makeError(156, upperAscii(last.text), n);
            throw makeError(102, last.text.substr(0, 60), n);
        }
        throw makeError(102, "", n);
    }
    if (at.kind == TokenKind::Identifier && isReservedWord(at.text)) throw makeError(156, upperAscii(at.text), n);
    std::string shown = at.text;
    if (at.kind == TokenKind::String) shown = at.text;
    if (at.kind == TokenKind::Bracketed) shown = at.text;
    if (shown.size() > 60) shown = shown.substr(0, 60);
    throw makeError(102, shown, n);
}

void Parser::unsupported(const Token &at, const std::string &construct) const {
    fail(at, "不支持的语法：" + construct);
}

Batch Parser::parseBatch() {
    Batch b;
    while (StatementP s = nextStatement()) b.statements.push_back(s);
    return b;
}

void Parser::checkBatch(const std::function<void(const Statement &)> &seen) {
    while (StatementP s = nextStatement()) seen(*s);
    // The second pass meets the same declarations and structural literals.
    pos_ = 0;
    parsedAny_ = false;
    declared_.clear();
    replaying_ = true;
}

StatementP Parser::nextStatement() {
    while (acceptSymbol(";")) {}
    if (peek().kind == TokenKind::End) return nullptr;
    size_t structural = structural_.size();
    StatementP s = parseTracked();
    if (replaying_) structural_.resize(structural);
    if ((s->kind == StmtKind::CreateProcedure || s->kind == StmtKind::CreateTrigger) && parsedAny_)
        throw SqlError(111, std::string("'CREATE ") + (s->kind == StmtKind::CreateProcedure ? "PROCEDURE" : "TRIGGER") +
                                "' 必须是查询批次中的第一个语句。");
    parsedAny_ = true;
    return s;
}

StatementP Parser::parseStatement() {
    const Token &t = peek();
    if (t.kind == TokenKind::Identifier) {
        std::string kw = lowerAscii(t.text);
        if (kw == "select") return parseSelectStatement();
        if (kw == "insert") return parseInsert();
        if (kw == "update") return parseUpdate();
        if (kw == "delete") return parseDelete();
        if (kw == "create") return parseCreate();
        if (kw == "drop") return parseDrop();
        if (kw == "alter") return parseAlter();
        if (kw == "truncate") return parseTruncate();
        if (kw == "set") return parseSet();
        if (kw == "declare") return parseDeclare();
        if (kw == "if") return parseIf();
        if (kw == "while") return parseWhile();
        if (kw == "begin") return parseBlock();
        if (kw == "exec" || kw == "execute") return parseExec();
        if (kw == "open" || kw == "fetch" || kw == "close" || kw == "deallocate") return parseCursorStatement();
        if (kw == "disable" || kw == "enable") return parseToggleTrigger();
        if (kw == "kill") return parseKill();
        if (kw == "restore") return parseRestore();
        if (kw == "backup") return parseBackup();
        if (kw == "reconfigure") {
            auto s = std::make_shared<Statement>();
            s->kind = StmtKind::Reconfigure;
            s->pos = next().pos;
            return s;
        }
        if (kw == "go") unsupported(t, "GO 是客户端的批分隔符");
        if (laterStatements().count(kw)) unsupported(t, upperAscii(kw) + " 语句");
    }
    if (isSymbol("(")) return parseSelectStatement();
    fail(t);
}

StatementP Parser::parseSelectStatement() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::Select;
    s->pos = peek().pos;
    s->select = parseSelect();
    return s;
}

StatementP Parser::parseInsert() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::Insert;
    s->pos = next().pos;
    acceptKeyword("into");
    if (isKeyword("top")) unsupported(peek(), "INSERT TOP");
    s->target = parseObjectName();
    if (isKeyword("with")) unsupported(peek(), "表提示");
    if (isSymbol("(") && !isKeyword("select", 1)) {
        next();
        s->hasColumnList = true;
        do {
            s->columns.push_back(expectName());
        } while (acceptSymbol(","));
        expectSymbol(")");
    }
    if (isKeyword("output")) unsupported(peek(), "OUTPUT");
    if (acceptKeyword("values")) {
        expectSymbol("(");
        do {
            s->values.push_back(parseExpr());
        } while (acceptSymbol(","));
        expectSymbol(")");
        if (isSymbol(",")) unsupported(peek(), "多行 VALUES");
    } else if (isKeyword("select") || isSymbol("(")) {
        s->select = parseSelect();
        if (s->select->cores.front().into) fail(peek());
    } else if (isKeyword("default")) {
        unsupported(peek(), "DEFAULT VALUES");
    } else if (isKeyword("exec") || isKeyword("execute")) {
        unsupported(peek(), "INSERT ... EXEC");
    } else {
        fail(peek());
    }
    return s;
}

StatementP Parser::parseUpdate() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::Update;
    s->pos = next().pos;
    if (isKeyword("top")) unsupported(peek(), "UPDATE TOP");
    s->target = parseObjectName();
    if (isKeyword("with")) unsupported(peek(), "表提示");
    expectKeyword("set");
    do {
        SetAssign a;
        if (peek().kind == TokenKind::Variable) unsupported(peek(), "UPDATE 中的变量赋值");
        std::string first = expectName();
        if (acceptSymbol(".")) {
            a.qualifier = first;
            a.column = expectName();
        } else {
            a.column = first;
        }
        expectSymbol("=");
        a.value = parseExpr();
        s->sets.push_back(a);
    } while (acceptSymbol(","));
    if (acceptKeyword("from")) s->from = parseFromList();
    if (acceptKeyword("where")) {
        if (isKeyword("current")) unsupported(peek(), "WHERE CURRENT OF");
        s->where = parseExpr();
    }
    if (isKeyword("option")) unsupported(peek(), "OPTION");
    return s;
}

StatementP Parser::parseDelete() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::Delete;
    s->pos = next().pos;
    if (isKeyword("top")) unsupported(peek(), "DELETE TOP");
    acceptKeyword("from");
    s->target = parseObjectName();
    if (isKeyword("with")) unsupported(peek(), "表提示");
    if (acceptKeyword("from")) s->from = parseFromList();
    if (acceptKeyword("where")) {
        if (isKeyword("current")) unsupported(peek(), "WHERE CURRENT OF");
        s->where = parseExpr();
    }
    return s;
}

TypeSpec Parser::parseType() {
    const Token &t = peek();
    if (t.kind != TokenKind::Identifier && t.kind != TokenKind::Bracketed) fail(t);
    Base base;
    if (!typeFromName(t.text, base)) {
        std::string n = lowerAscii(t.text);
        if (n == "char" || n == "nchar" || n == "binary" || n == "varbinary" || n == "numeric" || n == "smallmoney" ||
            n == "smalldatetime" || n == "uniqueidentifier" || n == "sql_variant" || n == "xml" || n == "date" ||
            n == "time" || n == "datetime2" || n == "cursor" || n == "table")
            unsupported(t, "数据类型 " + t.text);
        throw makeError(2715, "");
    }
    next();
    TypeSpec spec;
    spec.type = SqlType::of(base);
    if (base == Base::VarChar || base == Base::NVarChar) {
        spec.type.length = 1;
        if (acceptSymbol("(")) {
            if (isKeyword("max")) unsupported(peek(), "(max)");
            int64_t n = expectInteger();
            int limit = base == Base::VarChar ? 8000 : 4000;
            if (n < 1 || n > limit) throw makeError(131, std::to_string(n));
            spec.type.length = int(n);
            spec.hasLength = true;
            expectSymbol(")");
        }
    } else if (base == Base::Decimal) {
        spec.type.precision = 18;
        spec.type.scale = 0;
        if (acceptSymbol("(")) {
            int64_t p = expectInteger();
            int64_t sc = 0;
            if (acceptSymbol(",")) sc = expectInteger();
            expectSymbol(")");
            if (p < 1 || p > 38 || sc < 0 || sc > p) throw makeError(2750, std::to_string(p));
            spec.type.precision = int(p);
            spec.type.scale = int(sc);
            spec.hasLength = true;
        }
    } else if (base == Base::Float) {
        if (acceptSymbol("(")) {
            int64_t n = expectInteger();
            expectSymbol(")");
            if (n <= 24) spec.type = SqlType::of(Base::Real);
        }
    }
    return spec;
}

void Parser::parseColumnDef(ColumnDef &def) {
    def.name = expectName();
    def.type = parseType();
    for (;;) {
        if (acceptKeyword("identity")) {
            def.identity = true;
            if (acceptSymbol("(")) {
                bool neg = acceptSymbol("-");
                def.seed = expectInteger() * (neg ? -1 : 1);
                expectSymbol(",");
                neg = acceptSymbol("-");
                def.increment = expectInteger() * (neg ? -1 : 1);
                expectSymbol(")");
            }
        } else if (isKeyword("not") && isKeyword("null", 1)) {
            next();
            next();
            def.notNull = true;
        } else if (acceptKeyword("null")) {
            def.explicitNull = true;
        } else if (acceptKeyword("default")) {
            def.defaultExpr = parseUnary();
        } else if (acceptKeyword("collate")) {
            const Token &c = peek();
            if (c.kind != TokenKind::Identifier || !iequals(c.text, "Chinese_PRC_CI_AS"))
                unsupported(c, "排序规则 " + c.text);
            next();
        } else if (acceptKeyword("constraint")) {
            def.constraintName = expectName();
        } else if (acceptKeyword("primary")) {
            expectKeyword("key");
            def.primaryKey = true;
            if (!acceptKeyword("clustered")) acceptKeyword("nonclustered");
        } else if (acceptKeyword("unique")) {
            def.unique = true;
            if (!acceptKeyword("clustered")) acceptKeyword("nonclustered");
        } else if (isKeyword("references") || isKeyword("check") || isKeyword("foreign")) {
            unsupported(peek(), upperAscii(peek().text) + " 约束");
        } else {
            break;
        }
    }
}

void Parser::parseTableConstraint(std::vector<TableConstraint> &out, const std::string &name) {
    TableConstraint c;
    c.name = name;
    if (acceptKeyword("primary")) {
        expectKeyword("key");
        c.primaryKey = true;
    } else if (acceptKeyword("unique")) {
        c.primaryKey = false;
    } else {
        unsupported(peek(), "约束 " + peek().text);
    }
    if (!acceptKeyword("clustered")) acceptKeyword("nonclustered");
    expectSymbol("(");
    do {
        c.columns.push_back(expectName());
        if (!acceptKeyword("asc")) acceptKeyword("desc");
    } while (acceptSymbol(","));
    expectSymbol(")");
    out.push_back(c);
}

StatementP Parser::parseCreate() {
    auto s = std::make_shared<Statement>();
    s->pos = next().pos;
    if (acceptKeyword("table")) {
        s->kind = StmtKind::CreateTable;
        s->target = parseObjectName();
        expectSymbol("(");
        do {
            if (acceptKeyword("constraint")) {
                std::string name = expectName();
                parseTableConstraint(s->constraints, name);
            } else if (isKeyword("primary") || isKeyword("unique")) {
                parseTableConstraint(s->constraints, "");
            } else {
                ColumnDef def;
                parseColumnDef(def);
                s->columnDefs.push_back(def);
            }
        } while (acceptSymbol(","));
        expectSymbol(")");
        if (isKeyword("on")) unsupported(peek(), "文件组");
        return s;
    }
    if (isKeyword("unique") || isKeyword("clustered") || isKeyword("nonclustered") || isKeyword("index")) {
        s->kind = StmtKind::CreateIndex;
        if (acceptKeyword("unique")) s->unique = true;
        if (!acceptKeyword("clustered")) acceptKeyword("nonclustered");
        expectKeyword("index");
        s->itemName = expectName();
        expectKeyword("on");
        s->target = parseObjectName();
        expectSymbol("(");
        do {
            s->columns.push_back(expectName());
            if (!acceptKeyword("asc")) acceptKeyword("desc");
        } while (acceptSymbol(","));
        expectSymbol(")");
        return s;
    }
    if (acceptKeyword("database")) {
        s->kind = StmtKind::CreateDatabase;
        s->itemName = expectName();
        if (isKeyword("on")) unsupported(peek(), "CREATE DATABASE ON");
        return s;
    }
    if (acceptKeyword("procedure") || acceptKeyword("proc")) return parseCreateProcedure(s->pos);
    if (acceptKeyword("trigger")) return parseCreateTrigger(s->pos);
    unsupported(peek(), "CREATE " + peek().text);
}

StatementP Parser::parseDrop() {
    auto s = std::make_shared<Statement>();
    s->pos = next().pos;
    if (acceptKeyword("table")) {
        s->kind = StmtKind::DropTable;
        do {
            s->dropTargets.push_back(parseObjectName());
        } while (acceptSymbol(","));
        s->target = s->dropTargets.front();
        return s;
    }
    if (acceptKeyword("database")) {
        s->kind = StmtKind::DropDatabase;
        s->itemName = expectName();
        return s;
    }
    bool proc = isKeyword("procedure") || isKeyword("proc");
    if (proc || isKeyword("trigger")) {
        next();
        s->kind = StmtKind::DropModule;
        s->option = proc ? "P" : "TR";
        do {
            s->dropTargets.push_back(parseObjectName());
        } while (acceptSymbol(","));
        s->target = s->dropTargets.front();
        return s;
    }
    unsupported(peek(), "DROP " + peek().text);
}

StatementP Parser::parseAlter() {
    auto s = std::make_shared<Statement>();
    s->pos = next().pos;
    if (acceptKeyword("database")) return parseAlterDatabase(s->pos);
    if (!acceptKeyword("table")) unsupported(peek(), "ALTER " + peek().text);
    s->kind = StmtKind::AlterTable;
    s->target = parseObjectName();
    if (acceptKeyword("add")) {
        s->alter = AlterAction::AddColumns;
        if (isKeyword("constraint") || isKeyword("primary") || isKeyword("unique"))
            unsupported(peek(), "ALTER TABLE ... ADD CONSTRAINT");
        do {
            ColumnDef def;
            parseColumnDef(def);
            s->columnDefs.push_back(def);
        } while (acceptSymbol(","));
        return s;
    }
    if (acceptKeyword("alter")) {
        expectKeyword("column");
        s->alter = AlterAction::AlterColumn;
        ColumnDef def;
        def.name = expectName();
        def.type = parseType();
        if (isKeyword("not") && isKeyword("null", 1)) {
            next();
            next();
            def.notNull = true;
        } else {
            acceptKeyword("null");
        }
        s->columnDefs.push_back(def);
        return s;
    }
    if (acceptKeyword("drop")) {
        if (acceptKeyword("column")) {
            s->alter = AlterAction::DropColumn;
            s->itemName = expectName();
            return s;
        }
        if (acceptKeyword("constraint")) {
            s->alter = AlterAction::DropConstraint;
            s->itemName = expectName();
            return s;
        }
        fail(peek());
    }
    if (isKeyword("enable") || isKeyword("disable")) {
        s->alter = lowerAscii(next().text) == "enable" ? AlterAction::EnableTrigger : AlterAction::DisableTrigger;
        expectKeyword("trigger");
        if (isKeyword("all")) unsupported(peek(), "ALL 触发器");
        s->itemName = expectName();
        return s;
    }
    unsupported(peek(), "ALTER TABLE " + peek().text);
}

StatementP Parser::parseTruncate() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::Truncate;
    s->pos = next().pos;
    expectKeyword("table");
    s->target = parseObjectName();
    return s;
}

StatementP Parser::parseSet() {
    auto s = std::make_shared<Statement>();
    s->kind = StmtKind::SetOption;
    s->pos = next().pos;
    if (peek().kind == TokenKind::Variable) return parseSetVariable(s->pos);
    if (acceptKeyword("nocount")) {
        s->option = "nocount";
    } else if (acceptKeyword("identity_insert")) {
        s->option = "identity_insert";
        s->target = parseObjectName();
    } else {
        unsupported(peek(), "SET " + peek().text);
    }
    if (acceptKeyword("on"))
        s->on = true;
    else if (acceptKeyword("off"))
        s->on = false;
    else
        fail(peek());
    return s;
}

ObjectName Parser::parseObjectName() {
    std::vector<std::string> parts;
    bool bracketed = peek().kind == TokenKind::Bracketed;
    parts.push_back(expectName());
    while (isSymbol(".")) {
        next();
        if (isSymbol(".")) {
            parts.push_back("");
            continue;
        }
        parts.push_back(expectName());
        bracketed = tokens_[pos_ - 1].kind == TokenKind::Bracketed;
    }
    if (parts.size() > 3) unsupported(peek(), "链接服务器名称");
    ObjectName n;
    n.bracketed = bracketed;
    n.name = parts.back();
    if (parts.size() >= 2) n.schema = parts[parts.size() - 2];
    if (parts.size() == 3) n.db = parts[0];
    if (n.name.empty()) fail(peek());
    return n;
}

}  // namespace server
