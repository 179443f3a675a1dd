// The vouchers of the set: the trading business of every period, the pay
// and fixed-asset vouchers, and the month-end work of the closed periods
// (VAT carried forward, exchange-rate adjustment, profit and loss to
// 本年利润). Decides which vouchers are checked, posted or deleted and
// numbers them per period and group.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "FixedAssets.h"
#include "Ledger.h"
#include "Payroll.h"
#include "Rng.h"

namespace samplegen {

class Business {
public:
    Business(Ledger &ledger, Rng &rng, const Payroll &payroll, const FixedAssets *assets);
    void run();

private:
    struct Open {
        std::string acct, obj, transId;
        Cents amount;  // still open, positive
    };

    void periodVouchers(int period, std::vector<Voucher> &out);
    Voucher purchase(int period);
    Voucher sale(int period, const std::string &customer);
    bool receipt(int period, Voucher &v, bool dollars);
    bool payment(int period, Voucher &v);
    Voucher withdrawal(int period);
    Voucher expense(int period);
    void travel(int period, std::vector<Voucher> &out);
    void closing(int period, std::vector<Voucher> &out);
    void finalize(int period, std::vector<Voucher> &vouchers);
    // The broad set's voucher shapes: -1 quantities, a blanks-only group.
    void broadShapes(int period, std::vector<Voucher> &vouchers);
    void post(const Voucher &v);

    Entry entry(const std::string &acct, Cents debit, Cents credit, const std::string &exp) const;
    Entry bank(Cents debit, Cents credit, const std::string &exp, const std::string &settle,
               const std::string &handler);
    std::string seq(const char *prefix, int period);
    int day() { return static_cast<int>(rng_.range(1, 28)); }
    const Employee &someone() {
        return ledger_
            .employees[static_cast<size_t>(rng_.range(0, static_cast<int64_t>(ledger_.employees.size()) - 1))];
    }
    const std::string &cashier() const {
        return ledger_.employees[std::min<size_t>(3, ledger_.employees.size() - 1)].name;
    }
    int entries(const std::vector<Voucher> &v) const;

    Ledger &ledger_;
    Rng &rng_;
    const Payroll &payroll_;
    const FixedAssets *assets_;
    std::map<std::string, long> stock_;
    std::vector<Open> receivables_, payables_;
    std::map<std::string, Cents> postedBase_;  // posted balance per account, debit positive
    Cents postedUsd_ = 0;
    int counter_ = 0;
    std::vector<const Account *> stockAccounts_;
    std::string pendingTravel_;  // employee with a travel advance to settle
    Cents pendingAdvance_ = 0;
};

}  // namespace samplegen
