// The source's pay items, their data types and their data columns.
#include "upgrade/payroll_cashier/clsEboPa.h"

int clsEboPa::UpgradePayItems(const QString &connectString) {
    (void)connectString;
    return 0;
}
