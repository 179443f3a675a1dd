#include "Payroll.h"

#include <map>

#include "Items.h"

namespace samplegen {

namespace {

Cents incomeTax(Cents taxable) {
    if (taxable <= 0) return 0;
    struct Band {
        Cents upTo;
        int percent;
        Cents quick;
    };
    static const Band bands[] = {{300000, 3, 0}, {1200000, 10, 21000}, {2500000, 20, 141000}, {INT64_MAX, 25, 266000}};
    for (const auto &b : bands)
        if (taxable <= b.upTo) return percentOf(taxable, b.percent) - b.quick;
    return 0;
}

const char *const kItems[] = {"职员代码", "职员姓名", "部门代码", "银行账号",   "基本工资",   "岗位津贴", "绩效奖金",
                              "应发合计", "养老保险", "医疗保险", "住房公积金", "个人所得税", "实发合计"};

const std::string &cashierName(const Ledger &l) {
    return l.employees.size() > 3 ? l.employees[3].name : l.employees[0].name;
}

}  // namespace

Payroll::Payroll(const Ledger &ledger, Rng &rng) : ledger_(ledger) {
    const int periods = ledger.profile.currPeriod;
    for (const auto &e : ledger.employees) {
        std::vector<PayLine> v;
        for (int p = 0; p <= periods; ++p) {
            PayLine l;
            l.base = e.baseSalary;
            l.allowance = e.allowance;
            l.bonus = rng.range(0, 40) * 5000;
            l.gross = l.base + l.allowance + l.bonus;
            const Cents insured = l.base + l.allowance;
            l.pension = percentOf(insured, 8);
            l.medical = percentOf(insured, 2);
            l.housing = percentOf(insured, 7);
            l.tax = incomeTax(l.gross - l.withheld() - 500000);
            l.net = l.gross - l.withheld() - l.tax;
            v.push_back(l);
        }
        lines_.push_back(std::move(v));
    }
}

Cents Payroll::total(int period, Cents PayLine::*field) const {
    Cents sum = 0;
    for (const auto &v : lines_) sum += v[static_cast<size_t>(period)].*field;
    return sum;
}

std::vector<Voucher> Payroll::vouchers(int period) const {
    std::vector<Voucher> out;
    const int lastDay = daysInMonth(ledger_.yearOf(period), ledger_.monthOf(period));
    const std::string cashier = cashierName(ledger_);
    auto entry = [](const std::string &acct, Cents debit, Cents credit, const std::string &exp) {
        Entry e;
        e.acct = acct;
        e.debit = debit;
        e.credit = credit;
        e.fcy = debit + credit;
        e.exp = exp;
        return e;
    };
    {  // last month's withholdings
        Voucher v;
        v.period = period;
        v.day = 10;
        v.group = "付";
        v.tag = "pay-withheld";
        const Cents social = total(period - 1, &PayLine::pension) + total(period - 1, &PayLine::medical) +
                             total(period - 1, &PayLine::housing);
        const Cents tax = total(period - 1, &PayLine::tax);
        v.entries.push_back(entry("2241", social, 0, "缴纳上月社会保险及住房公积金"));
        if (tax) v.entries.push_back(entry("222103", tax, 0, "缴纳上月代扣个人所得税"));
        Entry bank = entry("100201", 0, social + tax, "缴纳上月社保公积金及个税");
        bank.settle = "网上银行";
        bank.handler = cashier;
        v.entries.push_back(bank);
        out.push_back(v);
    }
    {  // accrual by department
        Voucher v;
        v.period = period;
        v.day = lastDay;
        v.group = "转";
        v.tag = "pay-accrual";
        std::map<std::string, Cents> byDept;
        for (size_t i = 0; i < ledger_.employees.size(); ++i)
            byDept[ledger_.employees[i].dept] += line(i, period).gross;
        Cents sum = 0;
        for (const auto &[dept, gross] : byDept) {
            Entry e = entry(isSalesDept(dept) ? "660101" : "660201", gross, 0, "计提本月工资");
            e.cls = 2;
            e.obj = dept;
            v.entries.push_back(e);
            sum += gross;
        }
        v.entries.push_back(entry("221101", 0, sum, "计提本月工资"));
        out.push_back(v);
    }
    {  // payment
        Voucher v;
        v.period = period;
        v.day = lastDay;
        v.group = "付";
        v.tag = "pay-payment";
        const Cents gross = total(period, &PayLine::gross);
        const Cents withheld =
            total(period, &PayLine::pension) + total(period, &PayLine::medical) + total(period, &PayLine::housing);
        const Cents tax = total(period, &PayLine::tax);
        v.entries.push_back(entry("221101", gross, 0, "发放本月工资"));
        v.entries.push_back(entry("2241", 0, withheld, "代扣社会保险及住房公积金"));
        if (tax) v.entries.push_back(entry("222103", 0, tax, "代扣个人所得税"));
        Entry bank = entry("100201", 0, gross - withheld - tax, "发放本月工资");
        bank.settle = "网上银行";
        bank.handler = cashier;
        v.entries.push_back(bank);
        out.push_back(v);
    }
    return out;
}

void Payroll::write(TableSet &set) const {
    for (size_t i = 0; i < std::size(kItems); ++i)
        set.add("PAItem")("FItemID", integer(static_cast<int64_t>(i + 1)))("FItemName", kItems[i])("FIsPayrollData",
                                                                                                   i >= 4 ? "1" : "0")(
            "FSNO", integer(static_cast<int64_t>(i + 1)))("FEmpField", "F" + integer(static_cast<int64_t>(i + 1)));
    // The broad set: an item named like 绩效奖金 but for the edition's
    // prefix, a text (the grade the bonus was paid for), not an amount.
    const bool grades = ledger_.profile.broad;
    const int64_t gradeItem = static_cast<int64_t>(std::size(kItems)) + 1;
    if (grades)
        set.add("PAItem")("FItemID", integer(gradeItem))("FItemName", "VEQ绩效奖金")("FIsPayrollData", "0")(
            "FSNO", integer(gradeItem))("FEmpField", "F" + integer(gradeItem));
    set.add("PAFormula")("FFormula", "应发合计=基本工资+岗位津贴+绩效奖金\r\n"
                                     "养老保险=(基本工资+岗位津贴)*0.08\r\n"
                                     "医疗保险=(基本工资+岗位津贴)*0.02\r\n"
                                     "住房公积金=(基本工资+岗位津贴)*0.07\r\n"
                                     "实发合计=应发合计-养老保险-医疗保险-住房公积金-个人所得税");
    for (int p = 1; p <= ledger_.profile.currPeriod; ++p) {
        for (size_t i = 0; i < ledger_.employees.size(); ++i) {
            const Employee &e = ledger_.employees[i];
            const PayLine &l = line(i, p);
            const std::string values[] = {e.code,           e.name,
                                          e.dept,           "6222021001" + e.code,
                                          money(l.base),    money(l.allowance),
                                          money(l.bonus),   money(l.gross),
                                          money(l.pension), money(l.medical),
                                          money(l.housing), money(l.tax),
                                          money(l.net)};
            for (size_t k = 0; k < std::size(values); ++k)
                set.add("PAData")("FEmpID", e.code)("FPeriod", integer(p))("FClsID", "1")(
                    "FItemID", integer(static_cast<int64_t>(k + 1)))("FData", values[k]);
            if (grades)
                set.add("PAData")("FEmpID", e.code)("FPeriod", integer(p))("FClsID", "1")(
                    "FItemID", integer(gradeItem))("FData", l.bonus >= 150000  ? "A"
                                                            : l.bonus >= 50000 ? "B"
                                                                               : "C");
        }
    }
}

}  // namespace samplegen
