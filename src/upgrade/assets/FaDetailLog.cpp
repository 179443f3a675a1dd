#include "upgrade/assets/FaDetailLog.h"

#include "foundation/UpgradeLog.h"
#include "platform/PnwDictionary.h"
#include "platform/ado/Recordset.h"

FaDetailLog::FaDetailLog(const QString &title, const QStringList &captions) {
    PnwDictionary head;
    head.setItem(QStringLiteral("Project"), title);
    m_list.Add(head);
    m_list.Add(m_rows);
    addRow(captions);
}

void FaDetailLog::addRow(const QStringList &cells) {
    PnwList row;
    for (const QString &cell : cells) AddValueCell(row, cell);
    m_rows.Add(row);
}

QStringList FaDetailLog::cells(const ado::Recordset &rs, const QStringList &columns) {
    QStringList out;
    for (const QString &column : columns) {
        const QVariant value = rs.value(column);
        out << (value.isNull() ? QString() : value.toString());
    }
    return out;
}
