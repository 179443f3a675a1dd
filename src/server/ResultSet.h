// What a batch returns: its result sets (fully fetched, with each column's
// declared type) and its errors, in the order they happened. A batch run
// for a forward-only reader writes its rows to a spool instead.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "server/RowSpool.h"
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
    std::shared_ptr<RowSpool> spool;  // holds the rows instead when set
};

struct BatchResult {
    std::vector<ResultSet> resultSets;
    std::vector<SqlError> errors;
    int64_t rowsAffected = -1;  // of the last data-changing statement, -1 for none
    bool spoolRows = false;     // the client's rows go to spools
    bool ok() const { return errors.empty(); }
};

}  // namespace server
