// The `inserted` and `deleted` tables of a firing trigger: rows held in
// memory (copies of SQLite's values as they are stored) and read through a virtual table module,
// so a firing writes nothing to fill them. One virtual table per table
// layout and kind is made on the connection once and serves whatever rows
// the running firing holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/Value.h"

struct sqlite3;
struct sqlite3_value;
struct sqlite3_stmt;

namespace server {

// Rows of one pseudo-table: `columns` values per row, row after row. The
// values are the storage values (no declared type applied); copies of our
// own, cheaper to make per firing than SQLite value copies.
class PseudoRows {
public:
    // Drops the rows (keeping the memory for the next firing).
    void clear() { values_.clear(); }
    void setColumns(int n) { columns_ = n; }
    int columns() const { return columns_; }
    size_t rows() const { return columns_ > 0 ? values_.size() / size_t(columns_) : 0; }
    const Value &at(size_t row, int column) const { return values_[row * size_t(columns_) + size_t(column)]; }
    // Appends a copy of the value (null for no value).
    void add(sqlite3_value *v);
    // Appends the current row of a statement (all its columns).
    void addRow(sqlite3_stmt *st);
    // Puts the rows in the order given: row i becomes the old row order[i].
    void reorder(const std::vector<size_t> &order);

private:
    std::vector<Value> values_;
    int columns_ = 0;
};

// What the virtual tables of a connection read: the rows of the running firing.
struct PseudoSource {
    const PseudoRows *inserted = nullptr;
    const PseudoRows *deleted = nullptr;
};

// Registers the module "pnw_pseudo" on `db` reading from `source` (replaces
// a registration made for an earlier session on a pooled connection).
void registerPseudoModule(sqlite3 *db, PseudoSource *source);

// The statement that makes the virtual table `name` in temp for a kind
// ("inserted" or "deleted") and the given column declarations.
std::string pseudoTableSql(const std::string &name, const std::string &kind, const std::vector<std::string> &columns);

}  // namespace server
