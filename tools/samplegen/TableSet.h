// The tables of one account set being generated, in their text form. Tables
// are declared once with their column specs; rows are filled by column name,
// every cell not named stays NULL. Writes one "<Table>.tsv" per table.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "jet/TableText.h"

namespace samplegen {

class TableSet {
public:
    // One row being filled; valid until the next add() on the same table.
    class RowRef {
    public:
        RowRef(jet::TableText &table, const std::map<std::string, size_t> &index, size_t row)
            : table_(table), index_(index), row_(row) {}
        RowRef &operator()(const std::string &column, jet::Cell value);

    private:
        jet::TableText &table_;
        const std::map<std::string, size_t> &index_;
        size_t row_;
    };

    // specs: column specs separated by blanks, as in the text header ("FYear:Integer FName:Text(20)!").
    void declare(const std::string &name, const std::string &specs);
    RowRef add(const std::string &table);
    const jet::TableText &table(const std::string &name) const;
    void clearRows(const std::string &name);
    // Replaces every cell of the named columns, in every table that has one,
    // by what change returns for it.
    void changeColumns(const std::set<std::string> &columns, const std::function<jet::Cell(const jet::Cell &)> &change);
    // Writes every table into dir (created when missing), removing other "*.tsv"
    // files there; throws on I/O failure.
    void write(const std::string &dir) const;

private:
    struct Entry {
        jet::TableText table;
        std::map<std::string, size_t> index;
    };
    Entry &entry(const std::string &name);
    std::vector<Entry> tables_;
    std::map<std::string, size_t> byName_;
};

}  // namespace samplegen
