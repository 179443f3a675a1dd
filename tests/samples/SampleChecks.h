// The invariants a consistent source account set keeps, checked on its table
// text. Each check returns the problems it found (empty when the set holds).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "SampleSet.h"

namespace samples {

using Problems = std::vector<std::string>;

struct Check {
    const char *name;
    std::function<Problems(const SampleSet &)> run;
};

// Every check that applies to any set; the edition-specific ones look at GLPref.
const std::vector<Check> &allChecks();

Problems checkLayout(const SampleSet &s);
Problems checkOptions(const SampleSet &s);
Problems checkChart(const SampleSet &s);
Problems checkItems(const SampleSet &s);
Problems checkVouchers(const SampleSet &s);
Problems checkBalances(const SampleSet &s);
Problems checkProfitAndLoss(const SampleSet &s);
Problems checkTransactions(const SampleSet &s);
Problems checkRateAdjustments(const SampleSet &s);
Problems checkFixedAssets(const SampleSet &s);
Problems checkPayroll(const SampleSet &s);
Problems checkCashier(const SampleSet &s);
Problems checkEdition(const SampleSet &s);
Problems checkTemplates(const SampleSet &s);
Problems checkTexts(const SampleSet &s);
Problems checkUsers(const SampleSet &s);

}  // namespace samples
