// What kind of account set to generate: edition, size and the counts that
// the size implies. Small sets are meant to be read; large ones to load.
#pragma once

#include <cstdint>
#include <string>

namespace samplegen {

enum class Edition { Standard, Mini };

struct Profile {
    Edition edition = Edition::Standard;
    bool large = false;
    uint64_t seed = 20250101;

    int year = 2025;         // current year, also the start year
    int currPeriod = 12;     // open period; later periods hold unposted vouchers only
    int years = 2;           // calendar years the vouchers span (periods past 12 are next years);
                             // a small set holds only the first month of the next year
    int voucherEntries = 0;  // target number of voucher rows; 0 lets the business decide
    int accounts = 0;        // target size of the chart; 0 keeps the base chart
    int assets = 8;
    int employees = 10;
    int customers = 5;
    int suppliers = 4;
    // The current period is opened with nothing booked in or after it: the
    // vouchers end with the period before (a set that can be upgraded with
    // its balances only).
    bool emptyCurrent = false;
    // Questions the upgrade must put to the operator: quantity accounts
    // without a unit, and business units that no account uses.
    bool openQuestions = false;
    // The set that carries the shapes the other small sets lack (samples/broad):
    // each part of the generator adds its own under this flag.
    bool broad = false;

    // The set was started in period 4 of the year before the current one
    // (the broad set); the others start in period 1 of the current year.
    int startYear() const { return broad ? year - 1 : year; }
    int startPeriod() const { return broad ? 4 : 1; }
    // Account codes 4-3-3-2 (the broad set) instead of 4-2-2.
    bool wideCodes() const { return broad; }

    bool standard() const { return edition == Edition::Standard; }
    bool fixedAssets() const { return standard(); }
    bool cashier() const { return standard(); }
    bool foreignCurrency() const { return standard(); }
    bool customClass() const { return standard(); }
    // Periods in which vouchers stand: the current year and the years after it.
    int lastVoucherPeriod() const {
        if (emptyCurrent) return currPeriod - 1;
        return large ? years * 12 : years > 1 ? 13 : 12;
    }
};

}  // namespace samplegen
