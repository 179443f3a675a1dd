// The payroll step (module 5, "工资管理"). The check warns about source pay
// items whose names the target already holds; the upgrade creates the one
// pay category, copies the base data's departments, employee groups, duties,
// degrees and employees into the payroll tables, brings in the pay items
// with a data column each, the pay formulas and the pay history. Rows are
// matched by number and name only; no mapping column is read or written.
//
// Every phase opens its own connection and sends its statements one by one
// without a transaction. A failing phase is logged with status 2 and its
// reason and the next phase still runs; the step then ends with 2, since a
// failed phase is a failed run. Rows a phase had to leave out are logged
// each, and the step then ends with 1. The step holds no state: a new
// object serves each call. UI thread only.
#pragma once

#include <QString>

#include "accounts/interface.h"

class QLabel;

class clsEboPa : public interface {
public:
    // Logs the pay-item name clashes; 0, or 1 when the check failed (logged).
    int CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;
    // Runs the seven phases; 0, 1 when rows were left out, 2 when a phase
    // failed (logged; the later phases still run).
    int UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;

private:
    // Each phase returns 0 when it ran through, 1 when it logged rows it
    // left out, 2 when it failed (logged).
    int CheckPayItemNames(const QString &connectString);
    int UpgradePayCategory(const QString &connectString);
    int UpgradePayDepartments(const QString &connectString);
    int UpgradePayEmpGroups(const QString &connectString);
    int UpgradePayEmployees(const QString &connectString);
    int UpgradePayItems(const QString &connectString);
    int UpgradePayFormula(const QString &connectString);
    int UpgradePayData(const QString &connectString, QLabel *LblObject);
};
