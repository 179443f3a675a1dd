// Fixed-asset cards of the current year: classes, alteration modes, cards
// with their period balances and department and expense allocation, the
// alterations, and the ledger vouchers of additions, alterations, clearings
// and depreciation (straight line, from the month after entry).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Ledger.h"
#include "Rng.h"
#include "TableSet.h"

namespace samplegen {

struct AssetState {
    int period = 0;
    Cents org = 0, accum = 0, depr = 0, monthly = 0, salvage = 0;
    Cents ytdDebitOrg = 0, ytdCreditOrg = 0, ytdDepr = 0, ytdCreditDepr = 0;
    int periodsDone = 0;
    std::vector<std::pair<std::string, double>> depts;  // department and share in percent
};

struct AssetCard {
    std::string id, name, model, location, factory;
    int group = 3, alterId = 1;
    int serviceYear = 2024, serviceMonth = 1, serviceDay = 1;
    Cents org = 0, tax = 0;
    Cents usd = 0;  // foreign price, paid from the dollar account
    int life = 60;
    std::string expenseAcct = "660204";
    int expenseCls = 2;  // 2: expense split by the card's departments; 0 one row
    std::vector<std::pair<std::string, double>> depts;
    int addedPeriod = 0;  // 0: carried in from an earlier year
    int increasePeriod = 0;
    Cents increase = 0;
    int transferPeriod = 0;
    std::string transferTo;
    int clearPeriod = 0;
    // The shapes of the broad set.
    std::vector<std::pair<std::string, double>> accounts;  // expense split by accounts (class 0), shares in percent
    std::vector<Cents> sameIncreases;                      // more value increases in increasePeriod
    int clearedYear = 0;                                   // cleared in that earlier year: no value this year
    int totalWork = 0;                                     // workload method: the life's work, in hours
    std::vector<int> work;                                 // hours of periods 1..; depreciation follows them
    std::vector<AssetState> states;  // from the entry period (0 or the addition) on
};

class FixedAssets {
public:
    FixedAssets(const Ledger &ledger, Rng &rng, bool deprMade);

    const std::vector<AssetCard> &cards() const { return cards_; }
    Cents openingOrg() const;
    Cents openingAccum() const;
    std::vector<Voucher> vouchers(int period) const;
    // Writes the sixteen tables; the alterations name the vouchers that booked them.
    void write(TableSet &set, const Ledger &ledger) const;

private:
    void simulate(AssetCard &card) const;
    void addBroadCards();
    const Ledger &ledger_;
    bool deprMade_;
    std::vector<AssetCard> cards_;
};

}  // namespace samplegen
