#include "server/Tokenizer.h"

#include <cctype>

#include "server/SqlError.h"
#include "server/TextUtil.h"

namespace server {

namespace {

bool isIdentStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '#' || c >= 0x80;
}

bool isIdentPart(unsigned char c) { return isIdentStart(c) || (c >= '0' && c <= '9') || c == '@' || c == '$'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string shortText(std::string_view s) { return std::string(s.substr(0, 40)); }


// The one scanner of both entry points: hands each token to push(kind,
// text, position), the text of a string or bracketed name unescaped (valid
// during the call only); stops when push returns false.
template <class Push>
void scan(std::string_view s, Push &&push) {
    size_t i = 0;
    const size_t n = s.size();
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
            if (!push(nstring ? TokenKind::NString : TokenKind::String, std::string_view(text), start)) return;
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
            if (!push(TokenKind::Bracketed, std::string_view(text), start)) return;
            continue;
        }
        if (c == '0' && i + 1 < n && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
            i += 2;
            while (i < n && std::isxdigit(static_cast<unsigned char>(s[i]))) ++i;
            if (!push(TokenKind::Hex, s.substr(start, i - start), start)) return;
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
            if (!push(exp   ? TokenKind::Float
                 : dot ? TokenKind::Decimal
                       : TokenKind::Integer,
                 s.substr(start, i - start), start)) return;
            continue;
        }
        if (c == '@') {
            bool sys = i + 1 < n && s[i + 1] == '@';
            i += sys ? 2 : 1;
            while (i < n && isIdentPart(static_cast<unsigned char>(s[i]))) ++i;
            if (!push(sys ? TokenKind::SysVariable : TokenKind::Variable, s.substr(start, i - start), start)) return;
            continue;
        }
        if (isIdentStart(static_cast<unsigned char>(c))) {
            while (i < n && isIdentPart(static_cast<unsigned char>(s[i]))) ++i;
            if (!push(TokenKind::Identifier, s.substr(start, i - start), start)) return;
            continue;
        }
        if (c == '?') {
            ++i;
            if (!push(TokenKind::Param, std::string_view("?"), start)) return;
            continue;
        }
        static const char *twoChar[] = {"<>", "<=", ">=", "!=", "!<", "!>"};
        bool matched = false;
        for (const char *op : twoChar) {
            if (i + 1 < n && s[i] == op[0] && s[i + 1] == op[1]) {
                if (!push(TokenKind::Symbol, std::string_view(op), start)) return;
                i += 2;
                matched = true;
                break;
            }
        }
        if (matched) continue;
        ++i;
        // Any other single byte is a symbol; the parser rejects what it does not know.
        if (!push(TokenKind::Symbol, s.substr(start, 1), start)) return;
    }
}

bool isLiteral(TokenKind k) {
    return k == TokenKind::String || k == TokenKind::NString || k == TokenKind::Integer || k == TokenKind::Decimal ||
           k == TokenKind::Float;
}

}  // namespace

std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> out;
    int literals = 0;
    scan(s, [&](TokenKind k, std::string_view text, size_t pos) {
        Token t;
        t.kind = k;
        t.text = std::string(text);
        t.pos = pos;
        if (isLiteral(k)) t.literalIndex = literals++;
        out.push_back(std::move(t));
        return true;
    });
    Token end;
    end.kind = TokenKind::End;
    end.pos = s.size();
    out.push_back(end);
    return out;
}

std::string literalKind(const Token &t) {
    std::string kind = "\x01";
    switch (t.kind) {
    case TokenKind::String: kind += 'S'; break;
    case TokenKind::NString: kind += 'N'; break;
    case TokenKind::Integer:
        if (t.text.size() < 10) {
            kind += 'I';
        } else {
            kind += 'L';
            kind += std::to_string(t.text.size());
        }
        break;
    case TokenKind::Decimal: {
        const size_t dot = t.text.find('.');
        kind += 'D';
        kind += std::to_string(dot);
        kind += '.';
        kind += std::to_string(t.text.size() - dot - 1);
        break;
    }
    default: kind += 'F'; break;
    }
    return kind;
}

bool literalShape(std::string_view s, size_t maxTokens, std::string &key, std::vector<Token> &literals) {
    key.clear();
    key.push_back(char(7));
    key.reserve(s.size() + 16);
    literals.clear();
    size_t count = 0;
    bool plain = true;
    scan(s, [&](TokenKind k, std::string_view text, size_t pos) {
        if (++count > maxTokens) return plain = false;
        if (!isLiteral(k)) {
            // Variables and control flow are kept by another rule.
            if (k == TokenKind::Variable ||
                (k == TokenKind::Identifier && (iequals(text, "DECLARE") || iequals(text, "IF") ||
                                                iequals(text, "WHILE") || iequals(text, "BEGIN"))))
                return plain = false;
            key += char('a' + int(k));
            key += text;
            key += '\0';
            return true;
        }
        Token t;
        t.kind = k;
        t.text = std::string(text);
        t.pos = pos;
        t.literalIndex = int(literals.size());
        // A decimal's digits are checked by the cache where they matter.
        if (k == TokenKind::Decimal) {
            key += char(1);
            key += 'D';
        } else {
            key += literalKind(t);
        }
        literals.push_back(std::move(t));
        return true;
    });
    return plain;
}

}  // namespace server
