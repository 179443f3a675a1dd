// Every table definition of a database, system tables included, in the
// order of the file's catalogue.
#pragma once

#include <QString>

#include <vector>

#include "platform/dao/TableDef.h"

namespace dao {

class TableDefs {
public:
    explicit TableDefs(std::vector<TableDef> defs) : defs_(std::move(defs)) {}

    int Count() const { return static_cast<int>(defs_.size()); }
    // Throws DaoError(kDaoNotInCollection).
    const TableDef &Item(int index) const;
    // Case-insensitive; throws DaoError(kDaoNotInCollection).
    const TableDef &Item(const QString &name) const;

private:
    std::vector<TableDef> defs_;
};

}  // namespace dao
