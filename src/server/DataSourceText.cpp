#include "server/DataSourceText.h"

#include <algorithm>

#include "server/TextUtil.h"

namespace server {

namespace {

std::string trimmed(const std::string &s) {
    const char *ws = " \t\r\n";
    size_t b = s.find_first_not_of(ws);
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

}  // namespace

DataSourceText::DataSourceText(const std::string &text) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        std::string part = text.substr(start, end - start);
        size_t eq = part.find('=');
        if (eq != std::string::npos) {
            std::string key = lowerAscii(trimmed(part.substr(0, eq)));
            if (!key.empty() && !values_.count(key)) values_[key] = trimmed(part.substr(eq + 1));
        }
        start = end + 1;
    }
}

bool DataSourceText::has(const std::string &key) const { return values_.count(lowerAscii(key)) > 0; }

std::string DataSourceText::value(const std::string &key) const {
    auto it = values_.find(lowerAscii(key));
    return it == values_.end() ? std::string() : it->second;
}

std::string DataSourceText::path(const std::string &key) const {
    std::string p = value(key);
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

}  // namespace server
