// What an upgrade is measured against, on the same machine in the same run:
// every source row read once with our Jet reader, and every row of the
// finished target (the staged copies and the converted tables alike)
// written once with prepared inserts, in one transaction, into a new file
// of the target's layout (its tables and indexes, WAL, synchronous NORMAL).
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct Floor {
    double readSeconds = 0;
    int64_t sourceRows = 0;
    double writeSeconds = 0;
    int64_t targetRows = 0;
    std::string error;  // "" when measured
    double seconds() const { return readSeconds + writeSeconds; }
};

// scratch: a file path the layout copy may take (removed afterwards).
Floor MeasureFloor(const std::string &source, const std::string &target, const std::string &scratch);

// Rows of each user table of a database file, read without disturbing its
// writer; none when it cannot be read (not made yet).
std::map<std::string, int64_t> CountRows(const std::string &file);
