#include "jet/TableText.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace jet {

namespace {

struct TypeName {
    ColumnType type;
    const char *name;
};

constexpr TypeName kTypeNames[] = {
    {ColumnType::Boolean, "Boolean"}, {ColumnType::Byte, "Byte"},         {ColumnType::Integer, "Integer"},
    {ColumnType::Long, "Long"},       {ColumnType::Currency, "Currency"}, {ColumnType::Single, "Single"},
    {ColumnType::Double, "Double"},   {ColumnType::DateTime, "DateTime"}, {ColumnType::Text, "Text"},
    {ColumnType::Memo, "Memo"},       {ColumnType::OLE, "OLE"},           {ColumnType::AutoNumber, "AutoNumber"},
};

std::vector<std::string> splitTabs(const std::string &line) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return out;
}

[[noreturn]] void fail(const std::string &table, size_t line, const std::string &what) {
    throw TableTextError(table + ".tsv line " + std::to_string(line) + ": " + what);
}

ColumnSpec parseSpec(const std::string &table, size_t line, std::string spec) {
    ColumnSpec col;
    if (!spec.empty() && spec.back() == '!') {
        col.required = true;
        spec.pop_back();
    }
    const size_t colon = spec.find(':');
    if (colon == std::string::npos || colon == 0) fail(table, line, "column spec \"" + spec + "\" is not Name:Type");
    col.name = spec.substr(0, colon);
    std::string type = spec.substr(colon + 1);
    const size_t paren = type.find('(');
    if (paren != std::string::npos) {
        if (type.back() != ')') fail(table, line, "bad size in \"" + spec + "\"");
        const std::string size = type.substr(paren + 1, type.size() - paren - 2);
        if (size.empty() || size.size() > 3 || !std::all_of(size.begin(), size.end(), ::isdigit))
            fail(table, line, "bad size in \"" + spec + "\"");
        col.size = std::stoi(size);
        type = type.substr(0, paren);
    }
    auto parsed = columnTypeFromName(type);
    if (!parsed) fail(table, line, "unknown type \"" + type + "\"");
    col.type = *parsed;
    if (col.type == ColumnType::Text) {
        if (col.size < 1 || col.size > 255) fail(table, line, "Text needs a size from 1 to 255 in \"" + spec + "\"");
    } else if (paren != std::string::npos) {
        fail(table, line, "only Text takes a size in \"" + spec + "\"");
    }
    return col;
}

}  // namespace

const char *columnTypeName(ColumnType type) {
    for (const auto &t : kTypeNames)
        if (t.type == type) return t.name;
    return "?";
}

std::optional<ColumnType> columnTypeFromName(const std::string &name) {
    for (const auto &t : kTypeNames)
        if (name == t.name) return t.type;
    return std::nullopt;
}

std::string escapeCell(const std::string &value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    // A lone "\N" text must not read back as NULL: its backslash is escaped above.
    return out;
}

std::string unescapeCell(const std::string &cell) {
    std::string out;
    out.reserve(cell.size());
    for (size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] != '\\' || i + 1 == cell.size()) {
            out += cell[i];
            continue;
        }
        const char next = cell[++i];
        switch (next) {
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default: out += '\\'; out += next;
        }
    }
    return out;
}

TableText parseTableText(const std::string &tableName, const std::string &text) {
    TableText table;
    table.name = tableName;
    std::istringstream in(text);
    std::string line;
    size_t lineNo = 0;
    bool haveHeader = false;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '#') continue;
        if (!haveHeader) {
            if (line.empty()) continue;
            for (const auto &spec : splitTabs(line)) table.columns.push_back(parseSpec(tableName, lineNo, spec));
            haveHeader = true;
            continue;
        }
        if (line.empty() && table.columns.size() != 1) continue;
        auto cells = splitTabs(line);
        if (cells.size() != table.columns.size())
            fail(tableName, lineNo,
                 "has " + std::to_string(cells.size()) + " cells, expected " + std::to_string(table.columns.size()));
        Row row;
        row.reserve(cells.size());
        for (size_t i = 0; i < cells.size(); ++i) {
            if (cells[i] == "\\N") {
                if (table.columns[i].required)
                    fail(tableName, lineNo, "NULL in Required column " + table.columns[i].name);
                row.emplace_back(std::nullopt);
            } else {
                row.emplace_back(unescapeCell(cells[i]));
            }
        }
        table.rows.push_back(std::move(row));
    }
    if (!haveHeader) fail(tableName, lineNo, "no column line");
    return table;
}

TableText readTableTextFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw TableTextError("cannot read " + path);
    std::ostringstream buf;
    buf << in.rdbuf();
    return parseTableText(std::filesystem::path(path).stem().string(), buf.str());
}

std::vector<TableText> readTableTextFolder(const std::string &dir) {
    std::vector<std::string> paths;
    std::error_code ec;
    for (const auto &entry : std::filesystem::directory_iterator(dir, ec))
        if (entry.is_regular_file() && entry.path().extension() == ".tsv") paths.push_back(entry.path().string());
    if (ec) throw TableTextError("cannot list " + dir + ": " + ec.message());
    std::sort(paths.begin(), paths.end());
    std::vector<TableText> tables;
    for (const auto &p : paths) tables.push_back(readTableTextFile(p));
    return tables;
}

std::string formatTableText(const TableText &table) {
    std::string out;
    for (size_t i = 0; i < table.columns.size(); ++i) {
        const auto &c = table.columns[i];
        if (i) out += '\t';
        out += c.name + ':' + columnTypeName(c.type);
        if (c.type == ColumnType::Text) out += '(' + std::to_string(c.size) + ')';
        if (c.required) out += '!';
    }
    out += '\n';
    for (const auto &row : table.rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            if (i) out += '\t';
            out += row[i] ? escapeCell(*row[i]) : std::string("\\N");
        }
        out += '\n';
    }
    return out;
}

}  // namespace jet
