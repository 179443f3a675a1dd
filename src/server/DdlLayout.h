// The SQLite layout of a table: identity as the rowid alias (AUTOINCREMENT,
// so a deleted value is never issued again), integer columns declared INT so
// that no other column becomes the rowid, text columns with the TSQL
// collation. Shared by CREATE TABLE, ALTER TABLE and SELECT INTO.
#pragma once

#include <string>
#include <vector>

#include "server/Catalog.h"

namespace server {

class Session;

std::string columnDecl(const ColumnInfo &c);
std::string tableDdl(const std::string &sqlName, const std::vector<ColumnInfo> &cols,
                     const std::vector<std::string> &pkCols, const std::vector<std::vector<std::string>> &uniques);
// The next identity value becomes `seed`.
void setIdentitySeed(Session &s, const std::string &schema, const std::string &table, int64_t seed);

}  // namespace server
