// The cashier's books: bank accounts, cash and bank journals mirroring the
// posted cash and bank entries, journal balances, the bank statements with
// their reconciliation, and the statement balances.
#pragma once

#include "Ledger.h"
#include "TableSet.h"

namespace samplegen {

void writeCashier(TableSet &set, const Ledger &ledger);

}  // namespace samplegen
