// The column layout of every table of a source account set: the 56 tables
// the upgrade stages plus the property table of the custom item class.
#pragma once

#include "TableSet.h"

namespace samplegen {

inline constexpr const char *kCustomTable = "CSTM_Project";
// The broad set's second custom class: a property of every Jet type, in a
// table whose name holds a blank.
inline constexpr const char *kEveryTypeTable = "CSTM_设备 参数";

void declareSourceTables(TableSet &set, bool withCustomTable, bool withEveryTypeTable = false);

}  // namespace samplegen
