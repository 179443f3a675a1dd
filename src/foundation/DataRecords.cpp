#include "foundation/DataRecords.h"

#include "platform/PnwConvert.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"

namespace {

PnwDictionary currentRecord(const ado::Recordset &rs) {
    PnwDictionary record;
    for (int i = 0; i < rs.fieldCount(); ++i) {
        const ado::Field f = rs.Fields(i);
        record.setItem(f.Name, f.Value);
    }
    return record;
}

}  // namespace

QVariant RecordsetToRecords(ado::Recordset &rs) {
    if (rs.RecordCount() <= 1) return QVariant::fromValue(currentRecord(rs));
    PnwList records;
    rs.MoveFirst();
    while (!rs.Eof()) {
        records.Add(currentRecord(rs));
        rs.MoveNext();
    }
    return QVariant::fromValue(records);
}

QString SqlText(const QVariant &value) {
    if (!value.isValid() || value.isNull()) return QString();
    QString text = PnwConvert::ToText(value);
    return text.replace(QLatin1Char('\''), QStringLiteral("''"));
}
