// Writes the options row, the calendar, users, currencies and rates, voucher
// groups, settlement methods, units, explanations, item classes and the
// employees' lists, the chart and the items.
#pragma once

#include "Ledger.h"
#include "TableSet.h"

namespace samplegen {

void writeOptions(TableSet &set, const Ledger &ledger);
void writeLists(TableSet &set, const Ledger &ledger);
void writeChart(TableSet &set, const Ledger &ledger);
void writeItems(TableSet &set, const Ledger &ledger);

}  // namespace samplegen
