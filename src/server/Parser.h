// Parses a T-SQL batch into its syntax tree. The whole batch is parsed before
// anything runs: a syntax error anywhere throws SqlError 102 or 156 (with
// "语法错误" and the token in the text) and nothing of the batch runs.
// Constructs outside the subset are syntax errors that name the construct.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "server/Ast.h"
#include "server/Token.h"

namespace server {

class Parser {
public:
    explicit Parser(std::vector<Token> tokens);

    Batch parseBatch();
    // A long batch is parsed twice so it need not be held as a tree: first
    // through checkBatch (every syntax error still comes before anything
    // runs; `seen` gets each statement before it is let go), then again one
    // statement at a time through nextStatement (null at the end).
    void checkBatch(const std::function<void(const Statement &)> &seen);
    StatementP nextStatement();
    // Literal tokens whose value shaped the tree (TOP n, lengths, seeds):
    // a cached translation is valid only for the same values.
    const std::vector<int> &structuralLiterals() const { return structural_; }

    static Batch parse(std::string_view text);

private:
    // statements
    StatementP parseStatement();
    StatementP parseSelectStatement();
    StatementP parseInsert();
    StatementP parseUpdate();
    StatementP parseDelete();
    StatementP parseCreate();
    StatementP parseDrop();
    StatementP parseAlter();
    StatementP parseTruncate();
    StatementP parseSet();
    // procedural and server statements (ParserProc.cpp)
    StatementP parseTracked();  // a statement with its token range and first literal
    StatementP parseDeclare();
    StatementP parseSetVariable(size_t pos);
    StatementP parseIf();
    StatementP parseWhile();
    StatementP parseBlock();
    StatementP parseExec();
    StatementP parseCreateProcedure(size_t pos);
    StatementP parseCreateTrigger(size_t pos);
    StatementP parseCursorStatement();
    StatementP parseToggleTrigger();
    StatementP parseKill();
    StatementP parseRestore();
    StatementP parseBackup();
    StatementP parseAlterDatabase(size_t pos);
    std::vector<StatementP> parseModuleBody();
    std::string expectString();
    void parseColumnDef(ColumnDef &def);
    void parseTableConstraint(std::vector<TableConstraint> &out, const std::string &name);
    TypeSpec parseType();

    // queries
    SelectP parseSelect();
    SelectCore parseSelectCore();
    void parseSelectItems(SelectCore &core);
    std::vector<FromItem> parseFromList();
    TableRef parseTableRef();
    ObjectName parseObjectName();
    std::string parseAliasOpt();
    std::vector<OrderItem> parseOrderBy();

    // expressions
    ExprP parseExpr();
    ExprP parseCondition();
    ExprP parseOr();
    ExprP parseAnd();
    ExprP parseNot();
    ExprP parsePredicate();
    ExprP parseAdditive();
    ExprP parseMultiplicative();
    ExprP parseUnary();
    ExprP parsePrimary();
    ExprP parseFunction(const Token &name);
    ExprP parseCase();
    ExprP literalFrom(const Token &t, bool negative);

    // token helpers
    const Token &peek(int ahead = 0) const;
    const Token &next();
    bool isKeyword(std::string_view kw, int ahead = 0) const;
    bool acceptKeyword(std::string_view kw);
    void expectKeyword(std::string_view kw);
    bool isSymbol(std::string_view sym, int ahead = 0) const;
    bool acceptSymbol(std::string_view sym);
    void expectSymbol(std::string_view sym);
    std::string expectName();  // identifier or bracketed, not a reserved word
    bool isNameToken(int ahead = 0) const;
    int64_t expectInteger();
    [[noreturn]] void fail(const Token &at, const std::string &note = {}) const;
    [[noreturn]] void unsupported(const Token &at, const std::string &construct) const;

    std::vector<Token> tokens_;
    size_t pos_ = 0;
    bool parsedAny_ = false;  // a statement came before: CREATE PROCEDURE may not follow
    bool replaying_ = false;  // second pass of checkBatch
    int depth_ = 0;
    int params_ = 0;
    std::vector<int> structural_;
    std::vector<std::string> declared_;  // variables declared in the batch (lower case)
};

bool isReservedWord(std::string_view word);
bool isRejectedFunction(const std::string &lowerName);

}  // namespace server
