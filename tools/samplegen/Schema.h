// The column layout of every table of a source account set: the 56 tables
// the upgrade stages plus the property table of the custom item class.
#pragma once

#include "TableSet.h"

namespace samplegen {

inline constexpr const char *kCustomTable = "CSTM_Project";

void declareSourceTables(TableSet &set, bool withCustomTable);

}  // namespace samplegen
