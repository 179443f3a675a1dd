#include "TableSet.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace samplegen {

TableSet::RowRef &TableSet::RowRef::operator()(const std::string &column, jet::Cell value) {
    const auto it = index_.find(column);
    if (it == index_.end()) throw std::logic_error("table " + table_.name + " has no column " + column);
    table_.rows[row_][it->second] = std::move(value);
    return *this;
}

void TableSet::declare(const std::string &name, const std::string &specs) {
    std::string header;
    std::istringstream in(specs);
    std::string spec;
    while (in >> spec) header += (header.empty() ? "" : "\t") + spec;
    Entry e;
    e.table = jet::parseTableText(name, header + "\n");
    for (size_t i = 0; i < e.table.columns.size(); ++i) e.index[e.table.columns[i].name] = i;
    byName_[name] = tables_.size();
    tables_.push_back(std::move(e));
}

TableSet::Entry &TableSet::entry(const std::string &name) {
    const auto it = byName_.find(name);
    if (it == byName_.end()) throw std::logic_error("no table " + name);
    return tables_[it->second];
}

TableSet::RowRef TableSet::add(const std::string &table) {
    Entry &e = entry(table);
    e.table.rows.emplace_back(e.table.columns.size());
    return RowRef(e.table, e.index, e.table.rows.size() - 1);
}

const jet::TableText &TableSet::table(const std::string &name) const {
    const auto it = byName_.find(name);
    if (it == byName_.end()) throw std::logic_error("no table " + name);
    return tables_[it->second].table;
}

void TableSet::clearRows(const std::string &name) { entry(name).table.rows.clear(); }

void TableSet::changeColumns(const std::set<std::string> &columns,
                             const std::function<jet::Cell(const jet::Cell &)> &change) {
    for (auto &e : tables_)
        for (size_t c = 0; c < e.table.columns.size(); ++c)
            if (columns.count(e.table.columns[c].name))
                for (auto &row : e.table.rows) row[c] = change(row[c]);
}

void TableSet::write(const std::string &dir) const {
    std::filesystem::create_directories(dir);
    // Tables of an earlier set in the same folder would read as part of this one.
    for (const auto &f : std::filesystem::directory_iterator(dir))
        if (f.is_regular_file() && f.path().extension() == ".tsv" && !byName_.count(f.path().stem().string()))
            std::filesystem::remove(f.path());
    for (const auto &e : tables_) {
        const std::string path = (std::filesystem::path(dir) / (e.table.name + ".tsv")).string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << jet::formatTableText(e.table);
        if (!out) throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace samplegen
