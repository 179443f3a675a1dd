#include "upgrade/base/BaseSysKit.h"

#include "foundation/UpgradeLog.h"
#include "platform/PnwError.h"
#include "upgrade/common/ValueConvert.h"

namespace basesys {

std::optional<ado::Recordset> open(clsDataInfo &dataInfo, const QString &connectString, const QString &sql) {
    QString error;
    return dataInfo.GetRs(connectString, sql, true, error);
}

ado::Recordset openOrRaise(clsDataInfo &dataInfo, const QString &connectString, const QString &sql,
                           const QString &noRecordsetText) {
    auto rs = open(dataInfo, connectString, sql);
    if (!rs) throw PnwError(-1, QStringLiteral("clsBaseSys"), noRecordsetText);
    return std::move(*rs);
}

QString text(const ado::Recordset &rs, const QString &field) {
    const QVariant value = rs.value(field);
    if (value.isNull()) throw PnwError(94, QStringLiteral("clsBaseSys"), QStringLiteral("无效使用 Null：") + field);
    return value.toString();
}

int number(const ado::Recordset &rs, const QString &field) {
    const QVariant value = rs.value(field);
    if (value.isNull()) throw PnwError(94, QStringLiteral("clsBaseSys"), QStringLiteral("无效使用 Null：") + field);
    int out = 0;
    if (!ToLong(value, out)) throw PnwError(13, QStringLiteral("clsBaseSys"), QStringLiteral("类型不匹配：") + field);
    return out;
}

PnwList row(std::initializer_list<QString> cells) {
    PnwList list;
    for (const QString &cell : cells) AddValueCell(list, cell);
    return list;
}

}  // namespace basesys
