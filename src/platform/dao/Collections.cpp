#include "platform/dao/DaoError.h"
#include "platform/dao/Fields.h"
#include "platform/dao/TableDefs.h"

namespace dao {

namespace {

[[noreturn]] void notInCollection() { throw DaoError(kDaoNotInCollection, QStringLiteral("在此集合中没有找到项目。")); }

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

const Fields &TableDef::Fields() const {
    if (!damage_.isEmpty())
        throw DaoError(kDaoUnrecognizedFormat, QStringLiteral("表的定义已损坏，不可识别的数据库格式。"));
    return fields_;
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
