// Splits a T-SQL batch into tokens. Comments and white space (CR and LF
// included) are dropped. Throws SqlError (105, 113) on an unclosed literal,
// bracket or block comment.
#pragma once

#include <string_view>
#include <vector>

#include "server/Token.h"

namespace server {

std::vector<Token> tokenize(std::string_view batch);

}  // namespace server
