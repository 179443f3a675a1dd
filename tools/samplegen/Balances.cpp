#include "Balances.h"

#include <map>
#include <set>
#include <tuple>

namespace samplegen {

namespace {

const char *flag(bool b) { return b ? "1" : "0"; }

jet::Cell textOrNull(const std::string &s) { return s.empty() ? std::nullopt : jet::Cell(s); }

using Key = std::tuple<std::string, int, std::string, std::string, bool>;  // account, class, item, currency, base

struct Series {
    Cents open = 0;
    std::vector<Cents> debit, credit;
};

struct QtySeries {
    long open = 0;
    std::vector<long> debit, credit;
};

std::vector<std::string> ancestors(const std::string &code) {
    std::vector<std::string> out;
    if (code.size() > 8) out.push_back(code.substr(0, 8));
    if (code.size() > 6) out.push_back(code.substr(0, 6));
    if (code.size() > 4) out.push_back(code.substr(0, 4));
    return out;
}

// The items of an entry per class: the main class and the extra ones.
std::vector<std::pair<int, std::string>> itemsOf(const Entry &e) {
    std::vector<std::pair<int, std::string>> out;
    if (e.cls && !e.obj.empty()) out.push_back({e.cls, e.obj});
    if (!e.cust.empty()) out.push_back({1, e.cust});
    if (!e.dept.empty()) out.push_back({2, e.dept});
    if (!e.empl.empty()) out.push_back({3, e.empl});
    return out;
}

}  // namespace

void writeVouchers(TableSet &set, const Ledger &l) {
    for (const auto &v : l.vouchers) {
        int entryId = 0;
        const std::string day = date(l.yearOf(v.period), l.monthOf(v.period), v.day);
        for (const auto &e : v.entries) {
            set.add("GLVch")("FSerialNum", integer(v.serial))("FDate", day)("FPeriod", integer(v.period))(
                "FGroup", v.group ? jet::Cell(*v.group) : std::nullopt)("FNum", integer(v.num))(
                "FEntryID", integer(entryId++))("FAcctID", e.acct)("FClsID", integer(e.cls))(
                "FObjID", textOrNull(e.obj))("FCustID", textOrNull(e.cust))("FDeptID", textOrNull(e.dept))(
                "FEmplID", textOrNull(e.empl))("FTransID", textOrNull(e.transId))("FCyID", e.cy)(
                "FExchRate", number(e.rate, 4))("FFCyAmt", money(e.fcy))(
                "FPrice", number(static_cast<double>(e.price) / 100.0, 2))("FDebit", money(e.debit))(
                "FCredit", money(e.credit))("FQty", e.qty ? jet::Cell(integer(*e.qty)) : std::nullopt)(
                "FSettleCode", textOrNull(e.settle))("FSettleNo", textOrNull(e.settleNo))("FPreparer", v.preparer)(
                "FChecker", v.checked ? jet::Cell("陈静") : std::nullopt)("FPoster",
                                                                          v.posted ? jet::Cell("陈静") : std::nullopt)(
                "FModule", v.module)("FChecked", flag(v.checked))("FPosted", flag(v.posted))("FExp", e.exp)(
                "FAttachment", integer(v.attachments))("FDue", flag(e.due))("FDeleted", flag(v.deleted));
        }
    }
}

void writeBalances(TableSet &set, const Ledger &l) {
    const int periods = l.profile.currPeriod;
    std::map<Key, Series> bal;
    std::map<std::tuple<std::string, int, std::string>, QtySeries> qty;
    auto series = [&](const Key &k) -> Series & {
        Series &s = bal[k];
        if (s.debit.empty())
            s.debit.assign(static_cast<size_t>(periods + 1), 0), s.credit.assign(static_cast<size_t>(periods + 1), 0);
        return s;
    };
    auto qtySeries = [&](const std::tuple<std::string, int, std::string> &k) -> QtySeries & {
        QtySeries &s = qty[k];
        if (s.debit.empty())
            s.debit.assign(static_cast<size_t>(periods + 1), 0), s.credit.assign(static_cast<size_t>(periods + 1), 0);
        return s;
    };
    // Every account has rows in each currency it (or a child) is kept in.
    for (const auto &a : l.accounts) {
        if (!a.detail) continue;
        const std::string cy = a.forCy.empty() ? "RMB" : a.forCy;
        std::vector<std::string> codes = ancestors(a.code);
        codes.push_back(a.code);
        for (const auto &c : codes) {
            series({c, 0, "*", cy, false});
            if (cy != "RMB") series({c, 0, "*", cy, true});
            if (a.qty && c == a.code) qtySeries({c, 0, "*"});
        }
    }
    auto addOpen = [&](const std::string &acct, int cls, const std::string &obj, const std::string &cy, Cents fcy,
                       Cents base) {
        if (cy == "RMB") {
            series({acct, cls, obj, cy, false}).open += base;
        } else {
            series({acct, cls, obj, cy, false}).open += fcy;
            series({acct, cls, obj, cy, true}).open += base;
        }
    };
    for (const auto &o : l.openings) {
        for (const auto &c : ancestors(o.acct)) addOpen(c, 0, "*", o.cy, o.fcy, o.base);
        addOpen(o.acct, 0, "*", o.cy, o.fcy, o.base);
        if (o.cls) addOpen(o.acct, o.cls, o.obj, o.cy, o.fcy, o.base);
        if (o.qty) qtySeries({o.acct, 0, "*"}).open += o.qty;
    }
    auto addMove = [&](const std::string &acct, int cls, const std::string &obj, const Entry &e, size_t p) {
        const bool debit = e.debit != 0;
        const Cents local = debit ? e.debit : e.credit;
        Series &s = series({acct, cls, obj, e.cy, false});
        (debit ? s.debit : s.credit)[p] += e.cy == "RMB" ? local : e.fcy;
        if (e.cy != "RMB") {
            Series &b = series({acct, cls, obj, e.cy, true});
            (debit ? b.debit : b.credit)[p] += local;
        }
    };
    // Actual profit and loss, without the period-end transfer; natural side positive.
    std::map<std::tuple<std::string, int, std::string>, std::vector<Cents>> pnl;
    for (const auto &v : l.vouchers) {
        if (!v.posted || v.deleted || v.period > periods) continue;
        const size_t p = static_cast<size_t>(v.period);
        for (const auto &e : v.entries) {
            for (const auto &c : ancestors(e.acct)) addMove(c, 0, "*", e, p);
            addMove(e.acct, 0, "*", e, p);
            for (const auto &[cls, obj] : itemsOf(e)) addMove(e.acct, cls, obj, e, p);
            // -1 is the source's "no quantity" mark: its own quantity
            // balances leave it out.
            if (e.qty && *e.qty != -1) {
                QtySeries &q = qtySeries({e.acct, 0, "*"});
                (e.debit ? q.debit : q.credit)[p] += *e.qty;
            }
            if (e.acct[0] != '6' || v.closing) continue;
            std::vector<std::tuple<std::string, int, std::string>> keys = {{e.acct, 0, "*"}};
            for (const auto &c : ancestors(e.acct)) keys.push_back({c, 0, "*"});
            for (const auto &[cls, obj] : itemsOf(e)) keys.push_back({e.acct, cls, obj});
            const Cents natural = l.account(e.acct).debitSide ? e.debit - e.credit : e.credit - e.debit;
            for (const auto &k : keys) {
                auto &amounts = pnl[k];
                if (amounts.empty()) amounts.assign(static_cast<size_t>(periods + 1), 0);
                amounts[p] += natural;
            }
        }
    }
    for (const auto &[k, s] : bal) {
        Cents beg = s.open, ytdD = 0, ytdC = 0;
        for (int p = 1; p <= periods; ++p) {
            const Cents d = s.debit[static_cast<size_t>(p)], c = s.credit[static_cast<size_t>(p)];
            ytdD += d;
            ytdC += c;
            set.add("GLBal")("FAcctID", std::get<0>(k))("FClsID", integer(std::get<1>(k)))("FObjID", std::get<2>(k))(
                "FCyID", std::get<3>(k))("FPeriod", integer(p))("FBase", flag(std::get<4>(k)))("FBegBal", money(beg))(
                "FDebit", money(d))("FCredit", money(c))("FYtdDebit", money(ytdD))("FYtdCredit", money(ytdC))(
                "FEndBal", money(beg + d - c));
            beg += d - c;
        }
    }
    for (const auto &[k, s] : qty) {
        long beg = s.open, ytdD = 0, ytdC = 0;
        for (int p = 1; p <= periods; ++p) {
            const long d = s.debit[static_cast<size_t>(p)], c = s.credit[static_cast<size_t>(p)];
            ytdD += d;
            ytdC += c;
            set.add("GLQtyBal")("FAcctID", std::get<0>(k))("FClsID", integer(std::get<1>(k)))("FObjID", std::get<2>(k))(
                "FPeriod", integer(p))("FBegQty", integer(beg))("FDebit", integer(d))("FCredit", integer(c))(
                "FYtdDebit", integer(ytdD))("FYtdCredit", integer(ytdC))("FEndQty", integer(beg + d - c));
            beg += d - c;
        }
    }
    for (int p = 1; p <= periods; ++p)
        for (const auto &[k, amounts] : pnl) {
            Cents ytd = 0;
            for (int q = 1; q <= p; ++q) ytd += amounts[static_cast<size_t>(q)];
            set.add("GLPnl")("FPeriod", integer(p))("FAcctID", std::get<0>(k))("FClsID", integer(std::get<1>(k)))(
                "FObjID", std::get<2>(k))("FCyID", "RMB")("FBase", "0")("FAmt", money(amounts[static_cast<size_t>(p)]))(
                "FYtd", money(ytd));
        }
    for (const auto &i : l.openItems)
        set.add("GLTrans")("FAcctID", i.acct)("FClsID", "1")("FObjID", i.obj)("FTransID", i.transId)("FDate", i.date)(
            "FCyID", "RMB")("FBal", money(i.bal))("FQty", "0")("FDebit", "0.00")("FCredit", "0.00")("FDue", "1");
    // The yen loan's rate adjustment of period 6, per project: the rate
    // stayed, so nothing is booked.
    if (l.profile.broad && !l.profile.large && l.hasAccount("2001") && periods >= 6) {
        const auto end = [&](bool base) {
            const Series &s = bal.at({"2001", 0, "*", "JPY", base});
            Cents e = s.open;
            for (size_t p = 1; p <= 6; ++p) e += s.debit[p] - s.credit[p];
            return e;
        };
        set.add("GLRateAdjHist")("FPeriod", "6")("FGroup", "转")("FAcctID", "2001")("FClsID", "4")(
            "FObjID", yenProject(l))("FCyID", "JPY")("FBalFor", money(end(false)))("FBalBase", money(end(true)))(
            "FBalAdj", money(end(true)))("FBegRate", "20")("FEndRate", "20");
    }
    for (const auto &a : l.adjustments)
        set.add("GLRateAdjHist")("FPeriod", integer(a.period))("FGroup", "记")("FAcctID", "100202")("FClsID", "0")(
            "FObjID", "*")("FCyID", "USD")("FBalFor", money(a.balFor))("FBalBase", money(a.balBase))(
            "FBalAdj", money(a.balAdj))("FBegRate", number(a.begRate, 4))("FEndRate", number(a.endRate, 4));
}

}  // namespace samplegen
