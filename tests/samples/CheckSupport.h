// Helpers shared by the sample checks: problem collection, the options the
// checks depend on, and the vouchers grouped as the upgrade groups them.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "SampleChecks.h"

namespace samples {

// Collects problems, keeping the first few of a kind readable.
class Report {
public:
    void add(const std::string &what) {
        if (problems_.size() < 25) problems_.push_back(what);
    }
    void expect(bool ok, const std::string &what) {
        if (!ok) add(what);
    }
    Problems take() { return std::move(problems_); }

private:
    Problems problems_;
};

struct Options {
    int programVersion = 0, year = 0, period = 0, startYear = 0, startPeriod = 0;
    std::string baseCy;
    std::vector<size_t> lengths;  // cumulative code lengths
    bool deprMade = false, bankCheck = false;
};
Options readOptions(const SampleSet &s);

struct Voucher {
    int period = 0;
    std::optional<std::string> group;
    int64_t num = 0;
    std::vector<size_t> rows;  // GLVch rows in entry order
    bool posted = false, deleted = false, checked = false;
    bool transfersProfit = false;  // has an entry on 本年利润
};
// Vouchers keyed by period, group ("\x01" for NULL) and number.
std::map<std::tuple<int, std::string, int64_t>, Voucher> groupVouchers(const SampleSet &s);

// Account codes of the chart, with their row in GLAcct.
std::map<std::string, size_t> accountRows(const SampleSet &s);
// Parent codes of an account code under the cumulative lengths, nearest first.
std::vector<std::string> ancestors(const std::string &code, const std::vector<size_t> &lengths);
std::string dateOf(int year, int month, int day);
int monthDays(int year, int month);

}  // namespace samples
