// What a batch returns: its result sets (fully fetched, with each column's
// declared type) and its errors, in the order they happened.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/SqlError.h"
#include "server/SqlType.h"
#include "server/Value.h"

namespace server {

struct ColumnMeta {
    std::string name;
    SqlType type;
    bool nullable = true;
};

struct ResultSet {
    std::vector<ColumnMeta> columns;
    std::vector<std::vector<Value>> rows;
};

struct BatchResult {
    std::vector<ResultSet> resultSets;
    std::vector<SqlError> errors;
    int64_t rowsAffected = -1;  // of the last data-changing statement, -1 for none
    bool ok() const { return errors.empty(); }
};

}  // namespace server
