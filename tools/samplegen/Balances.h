// Writes the vouchers and everything derived from them: amount and quantity
// balances of every account, item and currency per period of the current
// year (posted vouchers only), the profit-and-loss amounts, the open
// transactions at the start and the exchange-rate adjustment history.
#pragma once

#include "Ledger.h"
#include "TableSet.h"

namespace samplegen {

void writeVouchers(TableSet &set, const Ledger &ledger);
void writeBalances(TableSet &set, const Ledger &ledger);

}  // namespace samplegen
