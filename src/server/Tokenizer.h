// Splits a T-SQL batch into tokens. Comments and white space (CR and LF
// included) are dropped. Throws SqlError (105, 113) on an unclosed literal,
// bracket or block comment.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/Token.h"

namespace server {

std::vector<Token> tokenize(std::string_view batch);

// A value literal's kind as a cache of translations tells literals apart:
// text or Unicode text, integer (by size), decimal (by digits before and
// after the point), float.
std::string literalKind(const Token &t);

// The shape of a batch of plain queries and changes read off its text in
// one pass: the key is the text's tokens with each value literal replaced by
// its kind (a decimal's without its digits: the caller checks those where
// they shape the translation), and literals gets the literals as tokenize
// gives them. False
// (key unusable) for a batch with variables or control flow, or of more
// than maxTokens tokens. Throws SqlError as tokenize does.
bool literalShape(std::string_view batch, size_t maxTokens, std::string &key, std::vector<Token> &literals);

}  // namespace server
