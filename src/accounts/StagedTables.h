// Which source tables account creation copies into the target as staging
// tables ("AIS_" + the source's name).
#pragma once

#include <QString>
#include <QStringList>

// The 56 source tables the upgrade knows, in their order.
const QStringList &StagedTableNames();
// True when the name, in upper case, is one of them or contains "CSTM_".
bool IsStagedTable(const QString &name);
// The staged tables the steps cannot do without, for either edition (the
// fixed-asset check runs on a Mini set too): every listed table but the
// unread GLVchDetail, the payroll tables, whose absence only ends a payroll
// phase, and the cashier tables, whose absence the cashier step notes and
// skips.
QStringList RequiredSourceTables();
