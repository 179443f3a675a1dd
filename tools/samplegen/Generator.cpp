#include "Generator.h"

#include <cmath>
#include <memory>

#include "BaseData.h"
#include "Balances.h"
#include "Business.h"
#include "Cashier.h"
#include "Chart.h"
#include "Codes.h"
#include "FixedAssets.h"
#include "Items.h"
#include "Openings.h"
#include "Payroll.h"
#include "Schema.h"
#include "Templates.h"

namespace samplegen {

TableSet generate(const Profile &profile) {
    Ledger ledger;
    ledger.profile = profile;
    Rng rng(profile.seed);
    // Book rates of the dollar: each period's rate is the last period's closing rate.
    ledger.usdRate.assign(14, 0);
    double rate = 7.1;
    for (size_t p = 1; p <= 13; ++p) {
        ledger.usdRate[p] = rate;
        rate = std::round((rate + static_cast<double>(rng.range(-300, 300)) / 10000.0) * 10000.0) / 10000.0;
    }
    buildChart(ledger, rng);
    buildItems(ledger, rng);
    Payroll payroll(ledger, rng);
    std::unique_ptr<FixedAssets> assets;
    if (profile.fixedAssets()) assets = std::make_unique<FixedAssets>(ledger, rng, !profile.emptyCurrent);
    buildOpenings(ledger, rng, payroll, assets.get());
    Business(ledger, rng, payroll, assets.get()).run();

    TableSet set;
    declareSourceTables(set, profile.customClass(), profile.broad);
    writeOptions(set, ledger);
    writeLists(set, ledger);
    writeChart(set, ledger);
    writeItems(set, ledger);
    writeVouchers(set, ledger);
    writeBalances(set, ledger);
    writeTemplates(set, ledger);
    payroll.write(set);
    if (assets) assets->write(set, ledger);
    if (profile.cashier()) writeCashier(set, ledger);
    if (profile.wideCodes()) widenAccountCodes(set);
    return set;
}

}  // namespace samplegen
