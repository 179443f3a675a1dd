// What the cashier step reads of the run's settings.
#pragma once

// The settings' "Option" as a truth value: true when only balances are
// upgraded. Raises PnwError 9 when there is no settings record.
bool CashierBalancesOnly();
