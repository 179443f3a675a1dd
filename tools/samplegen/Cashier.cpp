#include "Cashier.h"

#include <map>

namespace samplegen {

namespace {

const char *flag(bool b) { return b ? "1" : "0"; }

std::string withoutQuotes(std::string s) {
    std::string out;
    for (char c : s)
        if (c != '\'') out += c;
    return out;
}

struct Book {
    std::string acct, cy;
    Cents open = 0, openBase = 0;
    std::vector<Cents> debit, credit, debitBase, creditBase;
};

// Bank lines of the year before the cashier start (the broad set): a few
// reconciled with the statement, which are history, and a few still
// outstanding at the start, which the statement's opening reflects.
struct LineBefore {
    int month, day;
    const char *group;
    long num;
    int entry;
    const char *exp;
    const char *side;
    Cents debit, credit;
    int bankDay;  // day the bank took it, 0: still outstanding
};

const LineBefore kLinesBefore[] = {
    {11, 8, "付", 9001, 1, "支付上年设备款", "2202", 0, 1280000, 9},
    {11, 20, "收", 9002, 0, "收到上年货款", "1122", 3650000, 0, 21},
    {12, 18, "付", 9003, 1, "支付上年维修费", "6602", 0, 235000, 19},
    {12, 28, "付", 9004, 1, "支付上年运输费", "6601", 0, 168000, 0},
    {12, 30, "收", 9005, 0, "收到上年押金退回", "1221", 500000, 0, 0},
};

// Writes the lines above on account 100201 and their statement lines, and
// the bank's own outstanding charge; returns what the statement's opening
// differs from the journal's by (the outstanding items on both sides).
Cents writeLinesBefore(TableSet &set, const Ledger &l, Cents opening) {
    const int year = l.year() - 1;
    Cents balance = opening;
    for (const LineBefore &b : kLinesBefore) balance -= b.debit - b.credit;
    Cents difference = 0;
    for (const LineBefore &b : kLinesBefore) {
        balance += b.debit - b.credit;
        const bool in = b.debit != 0;
        const bool cleared = b.bankDay != 0;
        set.add("TRBankJnl")("FOrderID", "1")("FAcctID", "100201")("FCyID", "RMB")("FDate", date(year, b.month, b.day))(
            "FPeriod", integer(b.month))("FGroup", b.group)("FNum", integer(b.num))("FEntryID", integer(b.entry))(
            "FExp", b.exp)("FAcctIDSide", b.side)("FDebit", money(b.debit))("FCredit", money(b.credit))(
            "FExchRate", "1.0000")("FSettleCode", "网上银行")("FSettleNo", "")("FPreparer", "李娜")(
            "FHandler", l.employees[std::min<size_t>(3, l.employees.size() - 1)].name)("FChecked", flag(cleared))(
            "FAutoChecked", flag(cleared))("FBalance", money(balance))("FBalanceBase", money(balance))(
            "FDebitBase", money(b.debit))("FCreditBase", money(b.credit));
        if (!cleared) {
            difference += b.credit - b.debit;  // the bank still holds what the books paid out
            continue;
        }
        set.add("TRBankChkNote")("FAcctID", "100201")("FCyID", "RMB")("FDate", date(year, b.month, b.bankDay))(
            "FPeriod", integer(b.month))("FSettleCode", "网上银行")("FSettleNo", "")("FExp", b.exp)(
            "FDC", in ? "C" : "D")("FAmount", money(in ? b.debit : b.credit))("FPreparer", "李娜")("FHandler", "李娜")(
            "FChecked", "1")("FAutoChecked", "1")("FVNum", integer(b.num))("FVGroup", b.group)(
            "FVPeriod", integer(b.month))("FVEntryID", integer(b.entry));
    }
    set.add("TRBankChkNote")("FAcctID", "100201")("FCyID", "RMB")("FDate", date(year, 12, 29))("FPeriod", "12")(
        "FSettleCode", "网上银行")("FSettleNo", "")("FExp", "银行手续费")("FDC", "D")("FAmount", "45.00")(
        "FPreparer", "李娜")("FHandler", "李娜")("FChecked", "0")("FAutoChecked", "0");
    return difference - 4500;
}

}  // namespace

void writeCashier(TableSet &set, const Ledger &l) {
    const int periods = l.profile.currPeriod;
    const size_t n = static_cast<size_t>(periods + 1);
    std::map<std::string, Book> books;  // by account
    std::map<std::string, Book> statements;
    for (const auto &a : l.accounts) {
        if (!a.detail || !(a.cash || a.bank)) continue;
        Book b{a.code,
               a.forCy.empty() ? "RMB" : a.forCy,
               0,
               0,
               std::vector<Cents>(n),
               std::vector<Cents>(n),
               std::vector<Cents>(n),
               std::vector<Cents>(n)};
        books[a.code] = b;
        if (a.bank) statements[a.code] = b;
    }
    for (const auto &o : l.openings)
        if (books.count(o.acct)) {
            books[o.acct].open += o.fcy;
            books[o.acct].openBase += o.base;
            if (statements.count(o.acct)) statements[o.acct].open += o.fcy;
        }
    // The broad set's banks have long names and numbers with leading zeros,
    // blanks and hyphens.
    const bool broad = l.profile.broad;
    set.add("TRBankAccount")("FAcctID", "100201")("FCyID", "RMB")(
        "FBankName", broad ? "中国工商银行股份有限公司苏州工业园区星海街支行营业部" : "中国工商银行上海张江支行")(
        "FBankAcctNo", broad ? "0012 0345-6789 0001" : "1001234509001234567");
    if (books.count("100202"))
        set.add("TRBankAccount")("FAcctID", "100202")("FCyID", "USD")(
            "FBankName", broad ? "中国银行股份有限公司苏州分行国际结算中心美元账户"
                               : "中国银行上海分行")("FBankAcctNo", broad ? "00-4563 5120-8876" : "4563 5120 8876");
    // An unreconciled statement line from before the start: interest the books had not taken up.
    // The start is the set's own (an earlier year's period for some sets).
    const Profile &p = l.profile;
    const int beforeYear = p.startPeriod() == 1 ? p.startYear() - 1 : p.startYear();
    const int beforeMonth = p.startPeriod() == 1 ? 12 : p.startPeriod() - 1;
    const std::string before = date(beforeYear, beforeMonth, daysInMonth(beforeYear, beforeMonth));
    set.add("TRBankChkNote")("FAcctID", "100201")("FCyID", "RMB")("FDate", before)("FPeriod", integer(beforeMonth))(
        "FSettleCode", "网上银行")("FSettleNo", "")("FExp", "银行结息")("FDC", "C")("FAmount", "326.50")(
        "FPreparer", "李娜")("FHandler", "李娜")("FChecked", "0")("FAutoChecked", "0");
    statements["100201"].open += 32650;
    if (broad) statements["100201"].open += writeLinesBefore(set, l, books["100201"].open);

    std::map<std::string, Cents> running, runningBase;
    for (const auto &[code, b] : books) running[code] = b.open, runningBase[code] = b.openBase;
    std::map<std::pair<std::string, std::string>, long> order;
    long cashId = 0;
    for (const auto &v : l.vouchers) {
        if (!v.posted || v.deleted || v.period > periods) continue;
        const std::string day = date(l.yearOf(v.period), l.monthOf(v.period), v.day);
        for (size_t i = 0; i < v.entries.size(); ++i) {
            const Entry &e = v.entries[i];
            if (!books.count(e.acct) || (e.cy != "RMB" && e.fcy == 0)) continue;  // rate adjustments stay in the ledger
            Book &b = books[e.acct];
            const size_t p = static_cast<size_t>(v.period);
            const bool in = e.debit != 0;
            const Cents amount = e.cy == "RMB" ? (in ? e.debit : e.credit) : e.fcy;
            const Cents base = in ? e.debit : e.credit;
            (in ? b.debit : b.credit)[p] += amount;
            (in ? b.debitBase : b.creditBase)[p] += base;
            running[e.acct] += in ? amount : -amount;
            runningBase[e.acct] += in ? base : -base;
            const std::string side = v.entries[i == 0 ? 1 : 0].acct;
            const std::string handler =
                e.handler.empty() ? l.employees[std::min<size_t>(3, l.employees.size() - 1)].name : e.handler;
            const long ord = ++order[{e.acct, day}];
            const std::string debit = money(in ? amount : 0), credit = money(in ? 0 : amount);
            if (e.acct == "1001") {
                set.add("TRCashJnl")("FID", integer(++cashId))("FOrderID", integer(ord))("FAcctID", e.acct)(
                    "FCyID", e.cy)("FDate", day)("FPeriod", integer(v.period))("FGroup", v.group.value_or(""))(
                    "FNum", integer(v.num))("FExp", withoutQuotes(e.exp))("FAcctIDSide", side)("FDebit", debit)(
                    "FCredit", credit)("FExchRate", number(e.rate, 4))("FPreparer", v.preparer)("FHandler", handler)(
                    "FBalance", money(running[e.acct]))("FBalanceBase", money(runningBase[e.acct]))(
                    "FDebitBase", money(in ? base : 0))("FCreditBase", money(in ? 0 : base));
                continue;
            }
            // Late payments of the open period have not reached the bank yet.
            const bool cleared = !(v.period == periods && v.day >= 20 && !in);
            set.add("TRBankJnl")("FOrderID", integer(ord))("FAcctID", e.acct)("FCyID", e.cy)("FDate", day)(
                "FPeriod", integer(v.period))("FGroup", v.group.value_or(""))("FNum", integer(v.num))(
                "FEntryID", integer(static_cast<int64_t>(i)))("FExp", withoutQuotes(e.exp))("FAcctIDSide", side)(
                "FDebit", debit)("FCredit", credit)("FExchRate", number(e.rate, 4))("FSettleCode", e.settle)(
                "FSettleNo", e.settleNo)("FPreparer", v.preparer)("FHandler", handler)("FChecked", flag(cleared))(
                "FAutoChecked", flag(cleared))("FBalance", money(running[e.acct]))(
                "FBalanceBase", money(runningBase[e.acct]))("FDebitBase", money(in ? base : 0))("FCreditBase",
                                                                                                money(in ? 0 : base));
            if (!cleared) continue;
            Book &s = statements[e.acct];
            // The bank's view: a deposit is a credit.
            (in ? s.credit : s.debit)[p] += amount;
            set.add("TRBankChkNote")("FAcctID", e.acct)("FCyID", e.cy)("FDate", day)("FPeriod", integer(v.period))(
                "FSettleCode", e.settle)("FSettleNo", e.settleNo)("FExp", withoutQuotes(e.exp))("FDC", in ? "C" : "D")(
                "FAmount", money(amount))("FPreparer", "李娜")("FHandler", handler)("FChecked", "1")(
                "FAutoChecked", "1")("FVNum", integer(v.num))("FVGroup", v.group.value_or(""))(
                "FVPeriod", integer(v.period))("FVEntryID", integer(static_cast<int64_t>(i)));
        }
    }
    // A charge the bank took in the open period that the books do not hold
    // yet (none where nothing happened in the open period yet).
    if (!l.profile.emptyCurrent) {
        set.add("TRBankChkNote")("FAcctID", "100201")("FCyID", "RMB")("FDate", date(l.year(), periods, 15))(
            "FPeriod", integer(periods))("FSettleCode", "网上银行")("FSettleNo", "")("FExp", "短信服务费")(
            "FDC", "D")("FAmount", "30.00")("FPreparer", "李娜")("FHandler", "李娜")("FChecked", "0")(
            "FAutoChecked", "0");
        statements["100201"].debit[n - 1] += 3000;
    }

    for (const auto &[code, b] : books) {
        Cents beg = b.open, begBase = b.openBase, yd = 0, yc = 0, ydb = 0, ycb = 0;
        for (size_t p = 1; p < n; ++p) {
            yd += b.debit[p], yc += b.credit[p], ydb += b.debitBase[p], ycb += b.creditBase[p];
            const Cents end = beg + b.debit[p] - b.credit[p], endBase = begBase + b.debitBase[p] - b.creditBase[p];
            set.add("TRBankJnlBal")("FPeriod", integer(static_cast<int64_t>(p)))("FAcctID", code)("FCyID", b.cy)(
                "FBegBal", money(beg))("FDebit", money(b.debit[p]))("FCredit", money(b.credit[p]))(
                "FEndBal", money(end))("FYtdDebit", money(yd))("FYtdCredit", money(yc))("FBegBalBase", money(begBase))(
                "FDebitBase", money(b.debitBase[p]))("FCreditBase", money(b.creditBase[p]))(
                "FEndBalBase", money(endBase))("FYtdDebitBase", money(ydb))("FYtdCreditBase", money(ycb));
            beg = end, begBase = endBase;
        }
    }
    for (const auto &[code, s] : statements) {
        Cents beg = s.open, yd = 0, yc = 0;
        for (size_t p = 1; p < n; ++p) {
            yd += s.debit[p], yc += s.credit[p];
            const Cents end = beg + s.credit[p] - s.debit[p];
            set.add("TRBankChkBal")("FPeriod", integer(static_cast<int64_t>(p)))("FAcctID", code)("FCyID", s.cy)(
                "FBegBal", money(beg))("FDebit", money(s.debit[p]))("FCredit", money(s.credit[p]))(
                "FEndBal", money(end))("FYtdDebit", money(yd))("FYtdCredit", money(yc));
            beg = end;
        }
    }
}

}  // namespace samplegen
