// The CONVERT style codes the engine knows, as one table: which styles read
// a date from text, which write a date as text, and the text layout.
#pragma once

#include <string>

namespace server {

bool convertStyleKnown(int style);  // -1 means "no style"
// A stored datetime ("yyyy-mm-dd hh:mm:ss.fff") as text in a style.
std::string formatDateTimeStyle(const std::string &iso, int style);

}  // namespace server
