// Monthly pay of every employee: the pay items, the formula, the pay data
// of each period of the current year, and the ledger vouchers that accrue
// and pay the wages (their totals agree with the pay data).
#pragma once

#include <vector>

#include "Ledger.h"
#include "Rng.h"
#include "TableSet.h"

namespace samplegen {

struct PayLine {
    Cents base = 0, allowance = 0, bonus = 0, gross = 0;
    Cents pension = 0, medical = 0, housing = 0, tax = 0, net = 0;
    Cents withheld() const { return pension + medical + housing; }
};

class Payroll {
public:
    // Pay of periods 0 (the month before the start, for the openings) to the current period.
    Payroll(const Ledger &ledger, Rng &rng);

    const PayLine &line(size_t employee, int period) const { return lines_[employee][static_cast<size_t>(period)]; }
    Cents total(int period, Cents PayLine::*field) const;
    // Vouchers of a period of the current year: last month's withholdings paid, wages accrued and paid.
    std::vector<Voucher> vouchers(int period) const;
    void write(TableSet &set) const;

private:
    const Ledger &ledger_;
    std::vector<std::vector<PayLine>> lines_;
};

}  // namespace samplegen
