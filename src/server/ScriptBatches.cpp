#include "server/ScriptBatches.h"

#include "server/TextUtil.h"

namespace server {

namespace {

bool blank(const std::string &s) {
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    return true;
}

}  // namespace

std::vector<std::string> splitGoBatches(std::string_view script) {
    std::vector<std::string> out;
    std::string cur;
    size_t pos = 0;
    while (pos <= script.size()) {
        size_t nl = script.find('\n', pos);
        std::string_view line = script.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        std::string trimmed;
        for (char c : line)
            if (c != ' ' && c != '\t' && c != '\r') trimmed.push_back(c);
        if (lowerAscii(trimmed) == "go") {
            if (!blank(cur)) out.push_back(cur);
            cur.clear();
        } else {
            cur.append(line);
            if (nl != std::string_view::npos) cur.push_back('\n');
        }
        if (nl == std::string_view::npos) break;
        pos = nl + 1;
    }
    if (!blank(cur)) out.push_back(cur);
    return out;
}

}  // namespace server
