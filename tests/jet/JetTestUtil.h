// Helpers of the Jet tests: scratch folders, running mdbtools' programs and
// reading their CSV.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "jet/CellValue.h"
#include "jet/JetDate.h"
#include "jet/JetError.h"
#include "jet/JetReader.h"
#include "jet/JetValue.h"

namespace jettest {

// A fresh folder removed at the end of the test.
class ScratchDir {
public:
    ScratchDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "pnwjetXXXXXX").string();
        path_ = mkdtemp(tmpl.data());
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string &name) const { return (std::filesystem::path(path_) / name).string(); }
    const std::string &path() const { return path_; }

private:
    std::string path_;
};

// A whole file's bytes ("" when it cannot be read).
inline std::string readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
// Writes a file's bytes, replacing what was there.
inline void writeBytes(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct CommandResult {
    int status = -1;
    std::string out;
};

inline std::string quote(const std::string &arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline CommandResult run(const std::string &command) {
    CommandResult r;
    const bool keepsErrors = command.find("2>&1") != std::string::npos;
    FILE *p = popen((keepsErrors ? command : command + " 2>/dev/null").c_str(), "r");
    if (!p) return r;
    std::array<char, 65536> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

using CsvField = std::optional<std::string>;  // nullopt: the unquoted NULL marker

// Parses mdb-export output made with -0 '\N': quoted fields are text.
inline std::vector<std::vector<CsvField>> parseCsv(const std::string &s) {
    std::vector<std::vector<CsvField>> rows;
    std::vector<CsvField> row;
    size_t i = 0;
    while (i < s.size()) {
        std::string field;
        bool quoted = false;
        if (s[i] == '"') {
            quoted = true;
            ++i;
            while (i < s.size()) {
                if (s[i] == '"' && i + 1 < s.size() && s[i + 1] == '"') {
                    field += '"';
                    i += 2;
                } else if (s[i] == '"') {
                    ++i;
                    break;
                } else {
                    field += s[i++];
                }
            }
        } else {
            while (i < s.size() && s[i] != ',' && s[i] != '\n') field += s[i++];
        }
        row.push_back(!quoted && field == "\\N" ? CsvField() : CsvField(field));
        if (i < s.size() && s[i] == ',') {
            ++i;
        } else {
            ++i;  // newline or end
            rows.push_back(std::move(row));
            row.clear();
        }
    }
    return rows;
}

// Whether mdb-export shows a value as it is (the form of exportTable).
inline ::testing::AssertionResult exportShows(const jet::Value &v, const CsvField &f) {
    if (v.isNull())
        return f ? ::testing::AssertionFailure() << "NULL exported as \"" << *f << "\"" : ::testing::AssertionSuccess();
    if (!f) return ::testing::AssertionFailure() << "exported as NULL";
    bool same = false;
    switch (v.kind) {
    case jet::ValueKind::Boolean: same = *f == (v.integer ? "1" : "0"); break;
    case jet::ValueKind::Integer: same = *f == std::to_string(v.integer); break;
    case jet::ValueKind::Currency: same = jet::parseCurrency(*f) == v.integer; break;
    case jet::ValueKind::Single:
        same = std::fabs(std::stod(*f) - v.real) <= 1e-6 * std::max(1.0, std::fabs(v.real));
        break;
    case jet::ValueKind::Double:
        same = std::fabs(std::stod(*f) - v.real) <= 1e-15 * std::max(1.0, std::fabs(v.real));
        break;
    case jet::ValueKind::DateTime: {
        jet::DateTimeParts p = jet::jetDateToParts(v.real);
        char buf[40];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                      p.second);
        same = *f == buf;
        break;
    }
    case jet::ValueKind::Text: same = *f == v.bytes; break;
    case jet::ValueKind::Binary: same = *f == *jet::cellFromValue(v); break;
    case jet::ValueKind::Null: break;
    }
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "exported \"" << f->substr(0, 60) << "\", expected \""
                                         << jet::cellFromValue(v).value_or("NULL").substr(0, 60) << "\"";
}

inline std::vector<std::vector<CsvField>> exportTable(const std::string &file, const std::string &table) {
    const CommandResult r =
        run("mdb-export -0 '\\N' -b hex -T '%Y-%m-%d %H:%M:%S' " + quote(file) + " " + quote(table));
    EXPECT_EQ(r.status, 0);
    return parseCsv(r.out);
}

inline std::string binDir() { return std::string(PNW_BINARY_DIR) + "/bin"; }

// Each table's outcome when read to its end: "read", or the text it was
// refused with. `wanted` picks the tables (all when empty).
inline std::map<std::string, std::string> readTables(const std::string &path,
                                                     const std::function<bool(const std::string &)> &wanted = {}) {
    std::map<std::string, std::string> out;
    jet::JetReader reader(path);
    for (const auto &t : reader.tables()) {
        if (wanted && !wanted(t.name)) continue;
        try {
            auto cursor = reader.openTable(t.name);
            std::vector<jet::Value> row;
            while (cursor->next(row)) {}
            out[t.name] = "read";
        } catch (const jet::JetError &e) {
            out[t.name] = e.what();
        }
    }
    return out;
}

}  // namespace jettest
