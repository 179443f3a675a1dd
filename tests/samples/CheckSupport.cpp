#include "CheckSupport.h"

#include <cstdio>

namespace samples {

Options readOptions(const SampleSet &s) {
    Options o;
    const Table &p = s["GLPref"];
    if (p.size() == 0) return o;
    o.programVersion = static_cast<int>(p.integer(0, "FProgramVersion"));
    o.year = static_cast<int>(p.integer(0, "FCurrYear"));
    o.period = static_cast<int>(p.integer(0, "FCurrPeriod"));
    o.startYear = static_cast<int>(p.integer(0, "FStartYear"));
    o.startPeriod = static_cast<int>(p.integer(0, "FStartPeriod"));
    o.baseCy = p.str(0, "FBaseCy");
    const int64_t levels = p.integer(0, "FACLevels");
    for (int i = 1; i <= levels && i <= 10; ++i)
        o.lengths.push_back(static_cast<size_t>(p.integer(0, "FACLen" + std::to_string(i))));
    o.deprMade = p.flag(0, "FDeprMade");
    o.bankCheck = p.flag(0, "FBankCheck");
    return o;
}

std::map<std::tuple<int, std::string, int64_t>, Voucher> groupVouchers(const SampleSet &s) {
    std::map<std::tuple<int, std::string, int64_t>, Voucher> out;
    const Table &v = s["GLVch"];
    for (size_t r = 0; r < v.size(); ++r) {
        const int period = static_cast<int>(v.integer(r, "FPeriod"));
        const std::string group = v.isNull(r, "FGroup") ? std::string("\x01") : v.str(r, "FGroup");
        Voucher &x = out[{period, group, v.integer(r, "FNum")}];
        x.period = period;
        if (!v.isNull(r, "FGroup")) x.group = v.str(r, "FGroup");
        x.num = v.integer(r, "FNum");
        x.rows.push_back(r);
        x.posted = v.flag(r, "FPosted");
        x.checked = v.flag(r, "FChecked");
        x.deleted = v.flag(r, "FDeleted");
        if (v.str(r, "FAcctID") == "4103") x.transfersProfit = true;
    }
    return out;
}

std::map<std::string, size_t> accountRows(const SampleSet &s) {
    std::map<std::string, size_t> out;
    const Table &a = s["GLAcct"];
    for (size_t r = 0; r < a.size(); ++r) out[a.str(r, "FAcctID")] = r;
    return out;
}

std::vector<std::string> ancestors(const std::string &code, const std::vector<size_t> &lengths) {
    std::vector<std::string> out;
    for (auto it = lengths.rbegin(); it != lengths.rend(); ++it)
        if (*it < code.size()) out.push_back(code.substr(0, *it));
    return out;
}

std::string dateOf(int year, int month, int day) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
    return buf;
}

int monthDays(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace samples
