// Balances at the start of the year and the open transactions behind the
// receivables and payables; retained earnings balance the opening position.
#pragma once

#include "FixedAssets.h"
#include "Ledger.h"
#include "Payroll.h"
#include "Rng.h"

namespace samplegen {

void buildOpenings(Ledger &ledger, Rng &rng, const Payroll &payroll, const FixedAssets *assets);

}  // namespace samplegen
