// The rows of one result set, written to an unnamed temporary file as the
// statement steps and read back once, in the order written: a client that
// walks a large result forward holds one row at a time, and the statement
// is done (no read transaction kept open) before the first row is read.
// Falls back to memory when no temporary file can be made. Not copyable;
// single-threaded.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "server/Value.h"

namespace server {

class RowSpool {
public:
    RowSpool();
    ~RowSpool();
    RowSpool(const RowSpool &) = delete;
    RowSpool &operator=(const RowSpool &) = delete;

    // REQUIRES: no row has been read yet.
    void append(const std::vector<Value> &row);
    // The next row, in the order appended; false after the last.
    bool next(std::vector<Value> &row);
    int64_t rowsWritten() const { return written_; }

private:
    std::FILE *file_ = nullptr;
    std::vector<std::vector<Value>> memory_;  // only without a file
    int64_t written_ = 0;
    int64_t read_ = 0;
    bool reading_ = false;
};

}  // namespace server
