// Items of the set: business units (class 1), departments (2), employees (3)
// and the projects of the custom class (4), with the employees' pay basics.
#pragma once

#include "Ledger.h"
#include "Rng.h"

namespace samplegen {

void buildItems(Ledger &ledger, Rng &rng);
// The detail departments whose staff sell (their pay goes to selling expenses).
bool isSalesDept(const std::string &dept);

}  // namespace samplegen
