// The chart of accounts (codes of 4, 2 and 2 digits) under the new enterprise
// standard, with cash, bank, foreign-currency, quantity and item accounts.
#pragma once

#include "Ledger.h"
#include "Rng.h"

namespace samplegen {

void buildChart(Ledger &ledger, Rng &rng);
// Stock accounts (quantity leaves under 1405) and expense leaves a business may use.
std::vector<const Account *> stockAccounts(const Ledger &ledger);

}  // namespace samplegen
