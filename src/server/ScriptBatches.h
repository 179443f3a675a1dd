// Splits a script into batches at lines that read "go" (any case, blanks and
// tabs around), as client tools do; the server itself never sees "go".
// Empty batches are dropped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace server {

std::vector<std::string> splitGoBatches(std::string_view script);

}  // namespace server
