// Row counts and order-independent checksums of a database's user tables,
// to tell whether two runs made the same data. Each value is read through
// its column's declared type as the engine hands it out, so equal data
// gives equal sums however SQLite happens to store it; rows are streamed,
// so a table of any size is summed in little memory.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace server {
class Session;
}

struct ColumnSum {
    std::string name;
    uint64_t sum[2] = {0, 0};
};

struct TableSum {
    std::string name;
    int64_t rows = 0;
    uint64_t sum[2] = {0, 0};      // the sum over the rows of each row's hash
    std::vector<ColumnSum> columns;  // per column, the sum of its values' hashes
    std::vector<std::string> ignored;  // columns left out, as created
};

// Keys of ignored columns are "<table>.<column>" in lower case.
std::string IgnoreKey(const std::string &table, const std::string &column);

// Every user table of the session's database, by lower-case name. Throws
// the server's SqlError when a table cannot be read.
std::vector<TableSum> SumTables(server::Session &session, const std::set<std::string> &ignore);

// A 128-bit sum as 32 hex digits.
std::string HexSum(const uint64_t sum[2]);
