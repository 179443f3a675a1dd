// Account codes of another structure than the generator's own: the chart and
// every book are built in 4-2-2 codes, and a set with 4-3-3-2 codes gets
// them widened at the end, in every column that names an account.
#pragma once

#include "TableSet.h"

namespace samplegen {

// "660202" becomes "6602002", "14050101" becomes "1405001001",
// "6602050101" becomes "660200500101".
std::string wideCode(const std::string &code);
// Widens every account code of the set (those GLAcct holds) wherever a column
// names an account.
void widenAccountCodes(TableSet &set);

}  // namespace samplegen
