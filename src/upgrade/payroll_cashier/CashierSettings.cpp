#include "upgrade/payroll_cashier/CashierSettings.h"

#include "foundation/Globals.h"
#include "platform/PnwDictionary.h"

bool CashierBalancesOnly() { return g_UpgradeSettings.DictionaryItem(1).Item(QStringLiteral("Option")).toInt() != 0; }
