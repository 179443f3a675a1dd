// One lexical token of a T-SQL batch.
#pragma once

#include <string>

namespace server {

enum class TokenKind {
    End,
    Identifier,  // regular identifier or keyword (text as written)
    Bracketed,   // [name] (text without brackets, ]] undone)
    String,      // '...' (text with '' undone)
    NString,     // N'...'
    Integer,
    Decimal,      // 12.34
    Float,        // 1.5E-05
    Hex,          // 0x40
    Variable,     // @name
    SysVariable,  // @@name
    Param,        // ?
    Symbol,       // operators and punctuation
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    size_t pos = 0;         // byte offset in the batch
    int literalIndex = -1;  // ordinal among value literals of the batch
};

}  // namespace server
