#include "server/DataSourceText.h"

#include <algorithm>

#include "server/TextUtil.h"

namespace server {

namespace {

const char *kBlanks = " \t\r\n";

std::string trimmed(const std::string &s) {
    size_t b = s.find_first_not_of(kBlanks);
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(kBlanks);
    return s.substr(b, e - b + 1);
}

}  // namespace

DataSourceText::DataSourceText(const std::string &text) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t eq = text.find('=', start);
        size_t semi = text.find(';', start);
        if (eq == std::string::npos || (semi != std::string::npos && semi < eq)) {
            // A part without "=": nothing to keep.
            if (semi == std::string::npos) break;
            start = semi + 1;
            continue;
        }
        std::string key = lowerAscii(trimmed(text.substr(start, eq - start)));
        size_t pos = text.find_first_not_of(kBlanks, eq + 1);
        std::string value;
        size_t end;
        if (pos != std::string::npos && (text[pos] == '"' || text[pos] == '\'')) {
            // A quoted value may hold ";" and "="; its own quote is doubled.
            const char quote = text[pos];
            size_t i = pos + 1;
            for (; i < text.size(); ++i) {
                if (text[i] != quote) {
                    value += text[i];
                } else if (i + 1 < text.size() && text[i + 1] == quote) {
                    value += quote;
                    ++i;
                } else {
                    break;
                }
            }
            end = text.find(';', std::min(i + 1, text.size()));
        } else {
            end = text.find(';', eq + 1);
            value = trimmed(text.substr(eq + 1, (end == std::string::npos ? text.size() : end) - eq - 1));
        }
        if (!key.empty() && !values_.count(key)) values_[key] = value;
        if (end == std::string::npos) break;
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
