// Small pieces the base-data phases share when they log: a detail table
// with its captions, one row of cells, and the text of a failed statement.
#pragma once

#include <QString>
#include <QStringList>

#include "foundation/Messages.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "platform/PnwList.h"

// A detail table with its title and caption row.
inline clsDetailLogInfo DetailTable(const QString &title, const QStringList &captions) {
    clsDetailLogInfo table;
    table.setTitle(title);
    for (const QString &caption : captions) table.InsertCaption(caption);
    return table;
}

// Appends one row of cells.
inline void AddDetailRow(clsDetailLogInfo &table, const QStringList &cells) {
    PnwList row;
    for (const QString &cell : cells) AddValueCell(row, cell);
    table.InsertSingleEntry(row);
}

// "（SQL语句执行错误）", a line break and the statement.
inline QString FailedStatement(const QString &sql) { return QStringLiteral("（SQL语句执行错误）") + kCrLf + sql; }
