// A source account set read back from its table text, with typed access to
// cells by column name, for the invariant checks of the samples.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "jet/TableText.h"

namespace samples {

using Cents = int64_t;

class Table {
public:
    Table() = default;
    explicit Table(jet::TableText text);

    const jet::TableText &text() const { return text_; }
    size_t size() const { return text_.rows.size(); }
    bool has(const std::string &column) const { return index_.count(column) != 0; }
    const jet::ColumnSpec &column(const std::string &name) const;
    bool isNull(size_t row, const std::string &column) const;
    std::string str(size_t row, const std::string &column) const;  // NULL as ""
    int64_t integer(size_t row, const std::string &column) const;  // NULL as 0
    double real(size_t row, const std::string &column) const;      // NULL as 0
    Cents cents(size_t row, const std::string &column) const;      // NULL as 0
    bool flag(size_t row, const std::string &column) const;
    jet::Row &row(size_t r) { return text_.rows[r]; }
    size_t index(const std::string &column) const;

private:
    jet::TableText text_;
    std::map<std::string, size_t> index_;
};

class SampleSet {
public:
    static SampleSet load(const std::string &dir);
    bool has(const std::string &table) const { return tables_.count(table) != 0; }
    const Table &operator[](const std::string &table) const;
    Table &edit(const std::string &table);
    const std::map<std::string, Table> &tables() const { return tables_; }

private:
    std::map<std::string, Table> tables_;
};

// Whole cents of a decimal text ("-12.3" is -1230). Throws on other text.
Cents parseCents(const std::string &text);

}  // namespace samples
