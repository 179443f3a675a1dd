// Which source tables account creation copies into the target as staging
// tables ("AIS_" + the source's name).
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The 56 source tables the upgrade knows, in their order.
const QStringList &StagedTableNames();
// True when the name, in upper case, is one of them or contains "CSTM_".
bool IsStagedTable(const QString &name);
// The staged tables the steps need that the staging lacks (names in upper
// case in `staged`), in list order. The unread GLVchDetail and the payroll
// tables are never needed: their absence only ends a payroll phase. The
// fixed-asset and the cashier tables go as groups: a source without any of a
// group's tables is one that never kept those books (the steps note it and
// skip them), while one holding only some of them lost the others (the
// fixed-asset check runs on a Mini set too). Every other table is needed.
QStringList MissingSourceTables(const QSet<QString> &staged);
