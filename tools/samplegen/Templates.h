// Voucher templates with their categories and entries, and the recurring
// (auto-transfer) vouchers with their formula entries.
#pragma once

#include "Ledger.h"
#include "TableSet.h"

namespace samplegen {

void writeTemplates(TableSet &set, const Ledger &ledger);

}  // namespace samplegen
