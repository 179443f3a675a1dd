#include <cmath>

#include "CheckSupport.h"

namespace samples {

namespace {

Cents endBalance(const SampleSet &s, const std::string &acct, const std::string &cy, bool base, int64_t period,
                 bool begin = false) {
    const Table &b = s["GLBal"];
    for (size_t i = 0; i < b.size(); ++i)
        if (b.str(i, "FAcctID") == acct && b.integer(i, "FClsID") == 0 && b.str(i, "FCyID") == cy &&
            b.flag(i, "FBase") == base && b.integer(i, "FPeriod") == period)
            return b.cents(i, begin ? "FBegBal" : "FEndBal");
    return 0;
}

std::set<std::string> employeeNames(const SampleSet &s) {
    std::set<std::string> out;
    const Table &o = s["GLObj"];
    for (size_t i = 0; i < o.size(); ++i)
        if (o.integer(i, "FClsID") == 3 && o.str(i, "FObjID") != "*") out.insert(o.str(i, "FObjName"));
    return out;
}

}  // namespace

Problems checkFixedAssets(const SampleSet &s) {
    Report r;
    const Table &cards = s["FACard"];
    if (cards.size() == 0) return r.take();
    const Options o = readOptions(s);
    const auto accounts = accountRows(s);
    std::set<std::string> departments;
    const Table &items = s["GLObj"];
    for (size_t i = 0; i < items.size(); ++i)
        if (items.integer(i, "FClsID") == 2 && items.flag(i, "FDetail")) departments.insert(items.str(i, "FObjID"));
    std::set<int64_t> modes, groups;
    std::set<std::string> modeNames;
    const Table &alter = s["FAAlter"];
    for (size_t i = 0; i < alter.size(); ++i) {
        modes.insert(alter.integer(i, "FAlterID"));
        r.expect(modeNames.insert(alter.str(i, "FAlterName")).second, "alteration mode named twice");
        r.expect(alter.integer(i, "FAlterID") < 900 && alter.str(i, "FAlterName") != "在建工程转入",
                 "alteration mode " + alter.str(i, "FAlterName"));
        const std::string acct = alter.str(i, "FAcctID");
        r.expect(acct.empty() || accounts.count(acct), "alteration mode on unknown account " + acct);
    }
    r.expect(modeNames.count("其他减少") != 0, "no mode 其他减少");
    for (size_t i = 0; i < s["FAGroup"].size(); ++i) {
        const int64_t g = s["FAGroup"].integer(i, "FGroupID");
        r.expect(g >= 1 && g <= 999, "card class number out of range");
        groups.insert(g);
    }
    std::set<std::string> ids;
    const std::string lastDay = dateOf(o.year, o.period, monthDays(o.year, o.period));
    for (size_t i = 0; i < cards.size(); ++i) {
        const std::string id = cards.str(i, "FAssetID");
        r.expect(ids.insert(id).second && !id.empty() && id.size() <= 20, "card number " + id);
        r.expect(accounts.count(cards.str(i, "FAssetAcID")) && accounts.count(cards.str(i, "FDeprAcID")),
                 "card accounts of " + id);
        r.expect(modes.count(cards.integer(i, "FAlterID")) != 0, "card mode of " + id);
        r.expect(cards.str(i, "FServiceDate") <= lastDay, "future card " + id);
    }
    // Period balances: continuous, and their totals are the ledger's.
    const Table &bal = s["FABal"];
    std::map<int64_t, Cents> org, accum, depr;
    std::map<std::string, std::pair<int64_t, Cents>> last;  // card: period, accumulated depreciation
    std::map<std::pair<std::string, int64_t>, Cents> cardDepr;
    for (size_t i = 0; i < bal.size(); ++i) {
        const std::string id = bal.str(i, "FAssetID");
        const int64_t p = bal.integer(i, "FPeriod");
        r.expect(ids.count(id) != 0 && groups.count(bal.integer(i, "FGroupID")),
                 "FABal row of unknown card or class " + id);
        org[p] += bal.cents(i, "FOrgVal");
        accum[p] += bal.cents(i, "FAccumDepr");
        depr[p] += bal.cents(i, "FDepr");
        cardDepr[{id, p}] = bal.cents(i, "FDepr");
        if (last.count(id)) {
            r.expect(last[id].first + 1 == p, "FABal periods of " + id + " not contiguous");
            if (bal.cents(i, "FOrgVal"))
                r.expect(bal.cents(i, "FAccumDepr") == last[id].second + bal.cents(i, "FDepr"),
                         "accumulated depreciation of " + id);
        }
        last[id] = {p, bal.cents(i, "FAccumDepr")};
        if (p == o.period && !o.deprMade)
            r.expect(bal.cents(i, "FDepr") == 0, "depreciation of the current period not made but filled");
    }
    r.expect(org[0] == endBalance(s, "1601", o.baseCy, false, 1, true) &&
                 -accum[0] == endBalance(s, "1602", o.baseCy, false, 1, true),
             "cards at the start do not make 1601 and 1602");
    for (int64_t p = 1; p <= o.period; ++p) {
        r.expect(org[p] == endBalance(s, "1601", o.baseCy, false, p),
                 "cards do not make 1601 in period " + std::to_string(p));
        r.expect(-accum[p] == endBalance(s, "1602", o.baseCy, false, p),
                 "cards do not make 1602 in period " + std::to_string(p));
    }
    const Table &v = s["GLVch"];
    std::map<int64_t, Cents> booked;
    for (size_t i = 0; i < v.size(); ++i)
        if (v.str(i, "FModule") == "FD" && v.str(i, "FAcctID") == "1602" && v.flag(i, "FPosted"))
            booked[v.integer(i, "FPeriod")] += v.cents(i, "FCredit");
    for (int64_t p = 1; p <= o.period; ++p)
        r.expect(booked[p] == depr[p], "depreciation voucher of period " + std::to_string(p));
    // Department shares and expense allocation.
    std::map<std::pair<std::string, int64_t>, std::pair<double, Cents>> deptShare;
    const Table &dept = s["FABalDept"];
    for (size_t i = 0; i < dept.size(); ++i) {
        auto &d = deptShare[{dept.str(i, "FAssetID"), dept.integer(i, "FPeriod")}];
        d.first += dept.real(i, "FRate");
        d.second += dept.cents(i, "FDepr");
        r.expect(departments.count(dept.str(i, "FDeptObjID")) != 0, "unknown department on a card");
    }
    for (const auto &[k, d] : deptShare) {
        r.expect(std::fabs(d.first - 100) < 1e-9, "department shares of " + k.first + " do not make 100");
        r.expect(d.second == cardDepr[k], "department depreciation of " + k.first + " is not the card's");
    }
    std::map<std::pair<std::string, int64_t>, std::vector<size_t>> expense;
    const Table &ex = s["FABalExpense"];
    for (size_t i = 0; i < ex.size(); ++i) expense[{ex.str(i, "FAssetID"), ex.integer(i, "FPeriod")}].push_back(i);
    for (const auto &[k, rows] : expense) {
        double sum = 0;
        for (size_t i : rows) {
            sum += ex.real(i, "FRate");
            r.expect(ex.cents(i, "FDepr") == cardDepr[k],
                     "expense row of " + k.first + " does not hold the card's depreciation");
            r.expect(accounts.count(ex.str(i, "FExpenseAcctID")) != 0, "expense account of " + k.first);
            // A split goes by department (class 2) or over accounts without item.
            if (rows.size() > 1)
                r.expect(ex.integer(i, "FExpenseClsID") == ex.integer(rows[0], "FExpenseClsID"),
                         "split expense of " + k.first + " mixes departments and accounts");
        }
        if (rows.size() > 1 && ex.integer(rows[0], "FExpenseClsID") == 0) {
            std::set<std::string> accts;
            for (size_t i : rows) accts.insert(ex.str(i, "FExpenseAcctID"));
            r.expect(accts.size() == rows.size(), "split expense of " + k.first + " names one account twice");
        }
        r.expect(std::fabs(sum - 100) < 1e-9, "expense shares of " + k.first + " do not make 100");
    }
    // Alterations name the vouchers that booked them.
    const auto vouchers = groupVouchers(s);
    const Table &fav = s["FAVch"];
    for (size_t i = 0; i < fav.size(); ++i) {
        r.expect(ids.count(fav.str(i, "FAssetID")) && modes.count(fav.integer(i, "FAlterID")),
                 "alteration of unknown card or mode");
        if (!fav.isNull(i, "FGroup"))
            r.expect(vouchers.count({static_cast<int>(fav.integer(i, "FPeriod")), fav.str(i, "FGroup"),
                                     fav.integer(i, "FNum")}) != 0,
                     "alteration of " + fav.str(i, "FAssetID") + " names no voucher");
    }
    return r.take();
}

Problems checkPayroll(const SampleSet &s) {
    Report r;
    const Options o = readOptions(s);
    const Table &items = s["PAItem"];
    std::set<std::string> names;
    std::map<int64_t, std::string> byId;
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string n = items.str(i, "FItemName");
        // "VEQ" only as the edition's prefix.
        const size_t veq = n.find("VEQ");
        r.expect(names.insert(n).second && (veq == std::string::npos || veq == 0), "pay item name " + n);
        byId[items.integer(i, "FItemID")] = n;
    }
    r.expect(s["PAFormula"].size() == 1, "pay formula rows: " + std::to_string(s["PAFormula"].size()));
    std::set<std::string> employees;
    const Table &obj = s["GLObj"];
    for (size_t i = 0; i < obj.size(); ++i) {
        if (obj.str(i, "FObjID") == "*") continue;
        if (obj.integer(i, "FClsID") == 3) employees.insert(obj.str(i, "FObjID"));
    }
    const Table &d = s["PAData"];
    std::set<std::tuple<std::string, int64_t, int64_t>> cells;
    std::set<int64_t> categories;
    std::map<int64_t, Cents> gross;
    for (size_t i = 0; i < d.size(); ++i) {
        const std::string emp = d.str(i, "FEmpID");
        r.expect(employees.count(emp) != 0, "pay data of unknown employee " + emp);
        r.expect(!d.isNull(i, "FData"), "NULL pay value");
        r.expect(byId.count(d.integer(i, "FItemID")) != 0, "pay data of unknown item");
        r.expect(cells.insert({emp, d.integer(i, "FPeriod"), d.integer(i, "FItemID")}).second, "pay value twice");
        categories.insert(d.integer(i, "FClsID"));
        if (byId[d.integer(i, "FItemID")] == "应发合计")
            gross[d.integer(i, "FPeriod")] += parseCents(d.str(i, "FData"));
    }
    r.expect(cells.size() == employees.size() * byId.size() * static_cast<size_t>(o.period), "pay data incomplete");
    r.expect(categories.size() <= 1, "several pay categories");
    // Wages accrued in the ledger (工资 under 2211) are the pay data's gross pay.
    std::string wages;
    const Table &a = s["GLAcct"];
    for (size_t i = 0; i < a.size(); ++i)
        if (a.str(i, "FAcctName") == "工资" && a.integer(i, "FLevel") == 2 && a.str(i, "FAcctID").rfind("2211", 0) == 0)
            wages = a.str(i, "FAcctID");
    for (int64_t p = 1; p <= o.period; ++p) {
        const Table &b = s["GLBal"];
        Cents accrued = 0;
        for (size_t i = 0; i < b.size(); ++i)
            if (b.str(i, "FAcctID") == wages && b.integer(i, "FClsID") == 0 && b.integer(i, "FPeriod") == p)
                accrued = b.cents(i, "FCredit");
        r.expect(accrued == gross[p], "wages accrued in period " + std::to_string(p) + " are not the pay data's");
    }
    return r.take();
}

Problems checkCashier(const SampleSet &s) {
    Report r;
    const Options o = readOptions(s);
    if (!o.bankCheck) return r.take();
    const Table &a = s["GLAcct"];
    std::map<std::pair<std::string, std::string>, bool> books;  // account and currency: bank?
    for (size_t i = 0; i < a.size(); ++i)
        if (a.flag(i, "FDetail") && (a.flag(i, "FIsCash") || a.flag(i, "FBank")))
            books[{a.str(i, "FAcctID"), a.str(i, "FForCy").empty() ? o.baseCy : a.str(i, "FForCy")}] =
                a.flag(i, "FBank");
    std::set<std::string> bankAccounts;
    for (size_t i = 0; i < s["TRBankAccount"].size(); ++i) bankAccounts.insert(s["TRBankAccount"].str(i, "FAcctID"));
    for (const auto &[k, bank] : books)
        if (bank) r.expect(bankAccounts.count(k.first) != 0, "no TRBankAccount row for " + k.first);
    const auto vouchers = groupVouchers(s);
    const Table &v = s["GLVch"];
    const auto handlers = employeeNames(s);
    std::map<std::tuple<std::string, std::string, int64_t>, std::pair<Cents, Cents>> lines;
    // Reconciled journal lines from the cashier start on and before it (the
    // year before, whose vouchers the set need not hold).
    std::map<std::tuple<int, std::string, int64_t, int64_t>, Cents> reconciled, reconciledBefore;
    // The cashier starts in period 1 of the current year when the set
    // started in an earlier one.
    const std::string start = o.startYear < o.year ? dateOf(o.year, 1, 1) : dateOf(o.startYear, o.startPeriod, 1);
    for (const char *table : {"TRCashJnl", "TRBankJnl"}) {
        const Table &j = s[table];
        for (size_t i = 0; i < j.size(); ++i) {
            const auto key =
                std::make_tuple(static_cast<int>(j.integer(i, "FPeriod")), j.str(i, "FGroup"), j.integer(i, "FNum"));
            r.expect(handlers.count(j.str(i, "FHandler")) != 0, "handler " + j.str(i, "FHandler") + " is no employee");
            if (j.str(i, "FDate") < start) {
                r.expect(std::string(table) == "TRBankJnl", "cash line before the cashier start");
                r.expect(j.str(i, "FDate") >= dateOf(o.year - 1, 1, 1), "bank line before the year before");
                if (j.flag(i, "FChecked"))
                    reconciledBefore[{std::get<0>(key), std::get<1>(key), std::get<2>(key), j.integer(i, "FEntryID")}] =
                        j.cents(i, "FDebit") + j.cents(i, "FCredit");
                continue;
            }
            const auto it = vouchers.find(key);
            r.expect(it != vouchers.end() && it->second.posted, std::string(table) + " line names no posted voucher");
            if (it != vouchers.end())
                r.expect(v.str(it->second.rows.front(), "FDate") == j.str(i, "FDate"),
                         "journal date is not the voucher's");
            auto &m = lines[{j.str(i, "FAcctID"), j.str(i, "FCyID"), j.integer(i, "FPeriod")}];
            m.first += j.cents(i, "FDebit");
            m.second += j.cents(i, "FCredit");
            if (std::string(table) == "TRBankJnl") {
                const int64_t entry = j.integer(i, "FEntryID");
                if (it != vouchers.end()) {
                    r.expect(entry >= 0 && static_cast<size_t>(entry) < it->second.rows.size() &&
                                 v.str(it->second.rows[static_cast<size_t>(entry)], "FAcctID") == j.str(i, "FAcctID"),
                             "bank line names the wrong voucher entry");
                }
                if (j.flag(i, "FChecked"))
                    reconciled[{std::get<0>(key), std::get<1>(key), std::get<2>(key), entry}] =
                        j.cents(i, "FDebit") + j.cents(i, "FCredit");
            }
        }
    }
    const Table &jb = s["TRBankJnlBal"];
    std::map<std::pair<std::string, std::string>, std::set<int64_t>> periods;
    for (size_t i = 0; i < jb.size(); ++i) {
        const std::string acct = jb.str(i, "FAcctID"), cy = jb.str(i, "FCyID");
        const int64_t p = jb.integer(i, "FPeriod");
        periods[{acct, cy}].insert(p);
        const auto m = lines.count({acct, cy, p}) ? lines.at({acct, cy, p}) : std::pair<Cents, Cents>{0, 0};
        r.expect(jb.cents(i, "FDebit") == m.first && jb.cents(i, "FCredit") == m.second,
                 "journal balance movement of " + acct);
        r.expect(jb.cents(i, "FEndBal") == jb.cents(i, "FBegBal") + m.first - m.second,
                 "journal end balance of " + acct);
        r.expect(jb.cents(i, "FEndBal") == endBalance(s, acct, cy, false, p),
                 "journal balance of " + acct + " is not the ledger's in period " + std::to_string(p));
    }
    for (const auto &[k, bank] : books)
        r.expect(static_cast<int>(periods[k].size()) == o.period, "journal balances of " + k.first + " lack periods");
    // Statements: reconciled lines pair with journal lines, balances follow the lines.
    const Table &note = s["TRBankChkNote"];
    std::map<std::tuple<std::string, std::string, int64_t>, std::pair<Cents, Cents>> bankMoves;
    for (size_t i = 0; i < note.size(); ++i) {
        const std::string day = note.str(i, "FDate");
        if (note.flag(i, "FChecked")) {
            const auto k = std::make_tuple(static_cast<int>(note.integer(i, "FVPeriod")), note.str(i, "FVGroup"),
                                           note.integer(i, "FVNum"), note.integer(i, "FVEntryID"));
            const auto &pairs = day < start ? reconciledBefore : reconciled;
            r.expect(pairs.count(k) && pairs.at(k) == note.cents(i, "FAmount"),
                     "reconciled statement line without its journal line");
        }
        if (day < start) continue;
        auto &m = bankMoves[{note.str(i, "FAcctID"), note.str(i, "FCyID"), note.integer(i, "FPeriod")}];
        (note.str(i, "FDC") == "C" ? m.second : m.first) += note.cents(i, "FAmount");
    }
    const Table &cb = s["TRBankChkBal"];
    for (size_t i = 0; i < cb.size(); ++i) {
        const auto k = std::make_tuple(cb.str(i, "FAcctID"), cb.str(i, "FCyID"), cb.integer(i, "FPeriod"));
        const auto m = bankMoves.count(k) ? bankMoves.at(k) : std::pair<Cents, Cents>{0, 0};
        r.expect(cb.cents(i, "FDebit") == m.first && cb.cents(i, "FCredit") == m.second,
                 "statement movement of " + std::get<0>(k));
        r.expect(cb.cents(i, "FEndBal") == cb.cents(i, "FBegBal") + cb.cents(i, "FCredit") - cb.cents(i, "FDebit"),
                 "statement balance of " + std::get<0>(k));
    }
    return r.take();
}

}  // namespace samples
