// The in-memory account set the generator builds before writing tables:
// chart, items, vouchers and openings. Amounts in cents, quantities whole.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Format.h"
#include "Profile.h"

namespace samplegen {

struct Account {
    std::string code, name;
    int level = 1;
    int group = 101;
    bool debitSide = true;
    bool detail = true;
    std::string forCy;  // "" base currency only
    bool rateAdj = false, journal = false, cash = false, bank = false, trans = false;
    bool qty = false;
    std::string unit;
    int cls = 0;  // main item class
    bool multi = false, extraCust = false, extraDept = false, extraEmpl = false;
    Cents stdCost = 0;  // unit cost of a stock account
};

struct Item {
    int cls = 0;
    std::string code, name, parent;
    int level = 1;
    bool detail = true;
};

struct Entry {
    std::string acct;
    int cls = 0;
    std::string obj, cust, dept, empl;  // "" when none
    std::string transId;
    bool due = false;
    std::string cy = "RMB";
    double rate = 1;
    Cents fcy = 0;
    Cents debit = 0, credit = 0;
    std::optional<long> qty;
    Cents price = 0;
    std::string settle, settleNo;
    std::string exp;
    std::string handler;  // employee who handled cash or bank, for the cashier journals
};

struct Voucher {
    int period = 1;
    int day = 1;
    std::optional<std::string> group = std::string("记");
    long num = 0;
    long serial = 0;
    std::string preparer;
    std::string module;
    bool checked = false, posted = false, deleted = false;
    int attachments = 1;
    std::vector<Entry> entries;
    bool closing = false;  // the transfer of profit and loss
    std::string tag;       // what made it, for the modules that link back to it
};

struct Employee {
    std::string code, name, dept;
    Cents baseSalary = 0, allowance = 0;
};

// Opening balance of one account, item combination and currency.
struct Opening {
    std::string acct;
    int cls = 0;
    std::string obj;
    std::string cy = "RMB";
    Cents fcy = 0;   // in the currency (signed, debit positive)
    Cents base = 0;  // in base currency
    long qty = 0;
};

struct OpenItem {
    std::string acct, obj, transId, date;
    Cents bal = 0;  // signed, debit positive
};

struct RateAdjustment {
    int period = 0;
    Cents balFor = 0, balBase = 0, balAdj = 0;
    double begRate = 0, endRate = 0;
};

struct Ledger {
    Profile profile;
    std::vector<Account> accounts;
    std::map<std::string, size_t> accountIndex;
    std::vector<Item> items;
    std::vector<Employee> employees;
    std::vector<Voucher> vouchers;
    std::vector<Opening> openings;
    std::vector<OpenItem> openItems;
    std::vector<double> usdRate;  // book rate of each period 1..13 (13: after period 12); [0] unused
    std::vector<RateAdjustment> adjustments;

    const Account &account(const std::string &code) const { return accounts.at(accountIndex.at(code)); }
    bool hasAccount(const std::string &code) const { return accountIndex.count(code) != 0; }
    void addAccount(Account a) {
        accountIndex[a.code] = accounts.size();
        accounts.push_back(std::move(a));
    }
    std::vector<const Item *> detailItems(int cls, const std::string &under = "") const {
        std::vector<const Item *> out;
        for (const auto &i : items)
            if (i.cls == cls && i.detail && i.code.rfind(under, 0) == 0) out.push_back(&i);
        return out;
    }
    std::map<std::pair<int, std::string>, size_t> itemIndex;
    void addItem(Item i) {
        itemIndex[{i.cls, i.code}] = items.size();
        items.push_back(std::move(i));
    }
    const Item *item(int cls, const std::string &code) const {
        const auto it = itemIndex.find({cls, code});
        return it == itemIndex.end() ? nullptr : &items[it->second];
    }
    int year() const { return profile.year; }
    // Calendar year and month of a source period (periods past 12 belong to later years).
    int yearOf(int period) const { return profile.year + (period - 1) / 12; }
    int monthOf(int period) const { return (period - 1) % 12 + 1; }
};

// The project the broad set's yen loan is kept under.
inline std::string yenProject(const Ledger &l) { return l.detailItems(4).front()->code; }

}  // namespace samplegen
