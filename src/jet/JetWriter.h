// Builds a whole Jet 4 file from table descriptions: the page-0 header,
// the catalogue MSysObjects (table definition at page 2) listing every
// table, each table's definition, data pages, long-value pages for Memo
// and OLE, and usage maps (inline, or by reference for large tables).
// Tables whose names start with "MSys" are written as system tables.
// No indexes are written. Checked by mdbtools' readers and by JetReader.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "jet/TableText.h"

namespace jet {

class JetWriter {
public:
    struct Options {
        // Adds the empty system tables every Jet file carries besides the
        // catalogue (MSysACEs, MSysQueries, MSysRelationships).
        bool standardSystemTables = true;
    };

    // A table whose rows are produced one at a time, so that large tables
    // need not be held as text: next fills the row and returns false at the end.
    struct TableSource {
        std::string name;
        std::vector<ColumnSpec> columns;
        std::function<bool(Row &)> next;
    };

    // Throws JetError: kErrValue for a cell that does not fit its column
    // (the message names table, row and column), kErrTooLarge for a row
    // beyond a page, kErrWrite when the file cannot be written.
    static void writeFile(const std::string &path, const std::vector<TableText> &tables);
    static void writeFile(const std::string &path, const std::vector<TableText> &tables, const Options &options);
    static void writeFile(const std::string &path, std::vector<TableSource> tables);
    static void writeFile(const std::string &path, std::vector<TableSource> tables, const Options &options);
    static TableSource sourceOf(const TableText &table);
};

}  // namespace jet
