// Which source tables account creation copies into the target as staging
// tables ("AIS_" + the source's name).
#pragma once

#include <QString>
#include <QStringList>

// The 56 source tables the upgrade knows, in their order.
const QStringList &StagedTableNames();
// True when the name, in upper case, is one of them or contains "CSTM_".
bool IsStagedTable(const QString &name);
