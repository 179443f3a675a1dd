#include "upgrade/ledger/LedgerSql.h"

#include <cmath>

#include "foundation/Globals.h"
#include "foundation/SqlText.h"
#include "platform/ado/Recordset.h"
#include "upgrade/common/AccountLookups.h"
#include "upgrade/common/StepKit.h"

namespace ledger {

QString dropIfExists(const QString &table) {
    return SqlText(" IF EXISTS(SELECT [NAME] FROM SysObjects WHERE [NAME] = {name} AND [TYPE] = 'U') \r\n"
                   " DROP TABLE {table} ")
        .text("name", table)
        .raw("table", table)
        .str();
}

void loadStandardVoucherGroup(StepKit &kit) {
    GetStandardVoucherGroup(kit.data(), kit.connectString(), g_StdVoucherGroupID, g_StdVoucherGroupName);
}

QString num(const QVariant &value) {
    if (value.isNull()) return QStringLiteral("0");
    return SqlValue(value);
}

QString num(double value) { return SqlValue(QVariant(value)); }

QVariant field(const ado::Recordset &rs, const char *name, const QVariant &fallback) {
    const QVariant v = rs.value(QString::fromLatin1(name));
    return v.isNull() ? fallback : v;
}

QString text(const ado::Recordset &rs, const char *name) { return field(rs, name, QString()).toString(); }

int integer(const ado::Recordset &rs, const char *name, int fallback) { return field(rs, name, fallback).toInt(); }

double real(const ado::Recordset &rs, const char *name, double fallback) {
    return field(rs, name, fallback).toDouble();
}

}  // namespace ledger
