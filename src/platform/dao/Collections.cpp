#include "platform/dao/DaoError.h"
#include "platform/dao/Fields.h"
#include "platform/dao/TableDefs.h"

namespace dao {

namespace {

[[noreturn]] void notInCollection() {
    throw DaoError(kDaoNotInCollection, QStringLiteral("Item not found in this collection."));
}

}  // namespace

const Field &Fields::Item(int index) const {
    if (index < 0 || index >= Count()) notInCollection();
    return fields_[static_cast<size_t>(index)];
}

const Field &Fields::Item(const QString &name) const {
    for (const auto &f : fields_)
        if (f.Name().compare(name, Qt::CaseInsensitive) == 0) return f;
    notInCollection();
}

const TableDef &TableDefs::Item(int index) const {
    if (index < 0 || index >= Count()) notInCollection();
    return defs_[static_cast<size_t>(index)];
}

const TableDef &TableDefs::Item(const QString &name) const {
    for (const auto &d : defs_)
        if (d.Name().compare(name, Qt::CaseInsensitive) == 0) return d;
    notInCollection();
}

}  // namespace dao
