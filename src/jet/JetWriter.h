// Builds a whole Jet 4 file from table descriptions: the page-0 header,
// the catalogue MSysObjects (table definition at page 2) listing every
// table, each table's definition, data pages, long-value pages for Memo
// and OLE, and usage maps (inline, or by reference for large tables).
// Tables whose names start with "MSys" are written as system tables.
// Index definitions are written on request (no index pages). For the
// reader's tests it also writes what an engine leaves behind in a file in
// use: rows moved to another page (the old slot a pointer), rows flagged
// deleted, catalogue rows of dropped tables.
// Checked by mdbtools' readers and by JetReader.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "jet/JetFormat.h"
#include "jet/TableText.h"

namespace jet {

class JetWriter {
public:
    struct Options {
        // Adds the empty system tables every Jet file carries besides the
        // catalogue (MSysACEs, MSysQueries, MSysRelationships).
        bool standardSystemTables = true;
        // Tables whose catalogue rows are moved to a later page.
        std::set<std::string> movedCatalogRows = {};
        // Tables written whole whose catalogue rows are flagged deleted
        // (the deleted flag alone, which libmdb still reads).
        std::set<std::string> droppedTables = {};
    };

    // A table whose rows are produced one at a time, so that large tables
    // need not be held as text: next fills the row and returns false at the end.
    struct TableSource {
        std::string name;
        std::vector<ColumnSpec> columns;
        std::function<bool(Row &)> next;
        // Rows (numbered from 1) stored on a page after all others, their own
        // slot holding the pointer to it, as an update that grew them leaves.
        std::set<size_t> movedRows = {};
        // Rows (numbered from 1) written and then flagged deleted with
        // deletedFlags; the table's row count leaves them out.
        std::set<size_t> deletedRows = {};
        uint16_t deletedFlags = format::kRowDeleted | format::kRowOverflow;  // as the engine marks them
        // Columns dropped after the rows were written: their data stays in
        // every row and in the column maximum and variable count of the
        // definition, which lists only the others (the first column stays).
        std::set<std::string> droppedColumns = {};
        // Index definitions on the first column; hiddenIndexes more logical
        // ones share the first, as relationships add them.
        size_t indexes = 0;
        size_t hiddenIndexes = 0;
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
