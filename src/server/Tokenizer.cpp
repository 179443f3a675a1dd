#include "server/Tokenizer.h"

#include <cctype>

#include "server/SqlError.h"

namespace server {

namespace {

bool isIdentStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '#' || c >= 0x80;
}

bool isIdentPart(unsigned char c) { return isIdentStart(c) || (c >= '0' && c <= '9') || c == '@' || c == '$'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string shortText(std::string_view s) { return std::string(s.substr(0, 40)); }

}  // namespace

std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> out;
    size_t i = 0;
    const size_t n = s.size();
    int literals = 0;
    auto push = [&](TokenKind k, std::string text, size_t pos) {
        Token t;
        t.kind = k;
        t.text = std::move(text);
        t.pos = pos;
        if (k == TokenKind::String || k == TokenKind::NString || k == TokenKind::Integer || k == TokenKind::Decimal ||
            k == TokenKind::Float)
            t.literalIndex = literals++;
        out.push_back(std::move(t));
    };
    while (i < n) {
        char c = s[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            ++i;
            continue;
        }
        if (c == '-' && i + 1 < n && s[i + 1] == '-') {
            while (i < n && s[i] != '\n' && s[i] != '\r') ++i;
            continue;
        }
        if (c == '/' && i + 1 < n && s[i + 1] == '*') {
            // Block comments nest, as on the server.
            int depth = 0;
            size_t j = i;
            while (j < n) {
                if (s[j] == '/' && j + 1 < n && s[j + 1] == '*') {
                    ++depth;
                    j += 2;
                } else if (s[j] == '*' && j + 1 < n && s[j + 1] == '/') {
                    --depth;
                    j += 2;
                    if (depth == 0) break;
                } else {
                    ++j;
                }
            }
            if (depth != 0) throw makeError(113);
            i = j;
            continue;
        }
        size_t start = i;
        bool nstring = (c == 'N' || c == 'n') && i + 1 < n && s[i + 1] == '\'';
        if (c == '\'' || nstring) {
            i += nstring ? 2 : 1;
            std::string text;
            bool closed = false;
            while (i < n) {
                if (s[i] == '\'') {
                    if (i + 1 < n && s[i + 1] == '\'') {
                        text.push_back('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                text.push_back(s[i++]);
            }
            if (!closed) throw makeError(105, shortText(text));
            push(nstring ? TokenKind::NString : TokenKind::String, std::move(text), start);
            continue;
        }
        if (c == '[') {
            ++i;
            std::string text;
            bool closed = false;
            while (i < n) {
                if (s[i] == ']') {
                    if (i + 1 < n && s[i + 1] == ']') {
                        text.push_back(']');
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                text.push_back(s[i++]);
            }
            if (!closed) throw makeError(105, shortText(text));
            push(TokenKind::Bracketed, std::move(text), start);
            continue;
        }
        if (c == '0' && i + 1 < n && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
            i += 2;
            while (i < n && std::isxdigit(static_cast<unsigned char>(s[i]))) ++i;
            push(TokenKind::Hex, std::string(s.substr(start, i - start)), start);
            continue;
        }
        if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(s[i + 1]))) {
            bool dot = false, exp = false;
            while (i < n && isDigit(s[i])) ++i;
            if (i < n && s[i] == '.') {
                dot = true;
                ++i;
                while (i < n && isDigit(s[i])) ++i;
            }
            if (i < n && (s[i] == 'e' || s[i] == 'E')) {
                size_t j = i + 1;
                if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
                if (j < n && isDigit(s[j])) {
                    exp = true;
                    i = j;
                    while (i < n && isDigit(s[i])) ++i;
                }
            }
            push(exp   ? TokenKind::Float
                 : dot ? TokenKind::Decimal
                       : TokenKind::Integer,
                 std::string(s.substr(start, i - start)), start);
            continue;
        }
        if (c == '@') {
            bool sys = i + 1 < n && s[i + 1] == '@';
            i += sys ? 2 : 1;
            while (i < n && isIdentPart(static_cast<unsigned char>(s[i]))) ++i;
            push(sys ? TokenKind::SysVariable : TokenKind::Variable, std::string(s.substr(start, i - start)), start);
            continue;
        }
        if (isIdentStart(static_cast<unsigned char>(c))) {
            while (i < n && isIdentPart(static_cast<unsigned char>(s[i]))) ++i;
            push(TokenKind::Identifier, std::string(s.substr(start, i - start)), start);
            continue;
        }
        if (c == '?') {
            ++i;
            push(TokenKind::Param, "?", start);
            continue;
        }
        static const char *twoChar[] = {"<>", "<=", ">=", "!=", "!<", "!>"};
        bool matched = false;
        for (const char *op : twoChar) {
            if (i + 1 < n && s[i] == op[0] && s[i + 1] == op[1]) {
                push(TokenKind::Symbol, op, start);
                i += 2;
                matched = true;
                break;
            }
        }
        if (matched) continue;
        ++i;
        // Any other single byte is a symbol; the parser rejects what it does not know.
        push(TokenKind::Symbol, std::string(1, c), start);
    }
    Token end;
    end.kind = TokenKind::End;
    end.pos = n;
    out.push_back(end);
    return out;
}

}  // namespace server
