// The fields of a table definition in their order.
#pragma once

#include <QString>

#include <vector>

#include "platform/dao/Field.h"

namespace dao {

class Fields {
public:
    explicit Fields(std::vector<Field> fields) : fields_(std::move(fields)) {}

    int Count() const { return static_cast<int>(fields_.size()); }
    // Throws DaoError(kDaoNotInCollection) for an index outside 0..Count()-1.
    const Field &Item(int index) const;
    // Case-insensitive; throws DaoError(kDaoNotInCollection).
    const Field &Item(const QString &name) const;

private:
    std::vector<Field> fields_;
};

}  // namespace dao
