// The pay formulas and the pay history.
#include "upgrade/payroll_cashier/clsEboPa.h"

int clsEboPa::UpgradePayFormula(const QString &connectString) {
    (void)connectString;
    return 0;
}

int clsEboPa::UpgradePayData(const QString &connectString, QLabel *LblObject) {
    (void)connectString, (void)LblObject;
    return 0;
}
