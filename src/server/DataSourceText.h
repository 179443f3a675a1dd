// The provider connection text of an OpenDataSource call:
// "key=value;key=value...". Keys compare without regard to case; keys and
// values are trimmed of blanks, tabs and line breaks, so the text may run
// over several lines. A value in double or single quotes is taken as it
// stands between them, ";" and blanks included, its own quote doubled
// inside. A path value reads "\" as "/".
#pragma once

#include <map>
#include <string>

namespace server {

class DataSourceText {
public:
    explicit DataSourceText(const std::string &text);

    bool has(const std::string &key) const;
    // The value of a key ("" when it is missing).
    std::string value(const std::string &key) const;
    // A value read as a path: "\" becomes "/".
    std::string path(const std::string &key) const;

private:
    std::map<std::string, std::string> values_;  // lower-case key -> value
};

}  // namespace server
