#include <cmath>

#include "CheckSupport.h"

namespace samples {

namespace {

using BalKey =
    std::tuple<std::string, int64_t, std::string, std::string, bool>;  // account, class, item, currency, base

struct Move {
    Cents debit = 0, credit = 0;
};

// Posted movement per balance key and period, as the balance rows should hold it.
std::map<BalKey, std::map<int, Move>> postedMoves(const SampleSet &s, const Options &o) {
    std::map<BalKey, std::map<int, Move>> out;
    const Table &v = s["GLVch"];
    const Table &a = s["GLAcct"];
    const auto accounts = accountRows(s);
    for (size_t r = 0; r < v.size(); ++r) {
        if (!v.flag(r, "FPosted") || v.flag(r, "FDeleted")) continue;
        const int p = static_cast<int>(v.integer(r, "FPeriod"));
        if (p > o.period) continue;
        const std::string acct = v.str(r, "FAcctID"), cy = v.str(r, "FCyID");
        const Cents d = v.cents(r, "FDebit"), c = v.cents(r, "FCredit"), fcy = v.cents(r, "FFCyAmt");
        std::vector<std::pair<int64_t, std::string>> keys = {{0, "*"}};
        if (v.integer(r, "FClsID")) keys.push_back({v.integer(r, "FClsID"), v.str(r, "FObjID")});
        const size_t ar = accounts.at(acct);
        if (a.flag(ar, "FCustomer")) keys.push_back({1, v.str(r, "FCustID")});
        if (a.flag(ar, "FDepartment")) keys.push_back({2, v.str(r, "FDeptID")});
        if (a.flag(ar, "FEmployee")) keys.push_back({3, v.str(r, "FEmplID")});
        std::vector<std::string> codes = ancestors(acct, o.lengths);
        codes.push_back(acct);
        for (const auto &code : codes)
            for (const auto &[cls, obj] : keys) {
                if (cls && code != acct) continue;
                if (cy == o.baseCy) {
                    Move &m = out[{code, cls, obj, cy, false}][p];
                    m.debit += d, m.credit += c;
                } else {
                    Move &m = out[{code, cls, obj, cy, false}][p];
                    (d ? m.debit : m.credit) += fcy;
                    Move &b = out[{code, cls, obj, cy, true}][p];
                    b.debit += d, b.credit += c;
                }
            }
    }
    return out;
}

}  // namespace

Problems checkBalances(const SampleSet &s) {
    Report r;
    const Options o = readOptions(s);
    const Table &b = s["GLBal"];
    const auto accounts = accountRows(s);
    std::map<BalKey, std::map<int, size_t>> rows;
    for (size_t i = 0; i < b.size(); ++i) {
        const BalKey k{b.str(i, "FAcctID"), b.integer(i, "FClsID"), b.str(i, "FObjID"), b.str(i, "FCyID"),
                       b.flag(i, "FBase")};
        r.expect(rows[k].emplace(static_cast<int>(b.integer(i, "FPeriod")), i).second,
                 "duplicate GLBal row of " + std::get<0>(k));
        r.expect(accounts.count(std::get<0>(k)) != 0, "GLBal row of unknown account " + std::get<0>(k));
    }
    const auto moves = postedMoves(s, o);
    for (const auto &[k, m] : moves)
        r.expect(rows.count(k) != 0, "posted movement without GLBal rows: " + std::get<0>(k) + " " + std::get<2>(k));
    std::map<std::tuple<std::string, std::string, bool, int>, Cents>
        parentSums;  // children's account-level rows per parent
    std::map<int, Cents> trial;
    for (const auto &[k, byPeriod] : rows) {
        const std::string id =
            std::get<0>(k) + "/" + std::to_string(std::get<1>(k)) + "/" + std::get<2>(k) + "/" + std::get<3>(k);
        r.expect(static_cast<int>(byPeriod.size()) == o.period && byPeriod.begin()->first == 1,
                 "GLBal periods of " + id);
        Cents beg = b.cents(byPeriod.begin()->second, "FBegBal"), ytdD = 0, ytdC = 0;
        const auto mv = moves.find(k);
        for (const auto &[p, i] : byPeriod) {
            const Cents d = b.cents(i, "FDebit"), c = b.cents(i, "FCredit");
            ytdD += d, ytdC += c;
            r.expect(b.cents(i, "FBegBal") == beg, "FBegBal of " + id + " in period " + std::to_string(p));
            r.expect(b.cents(i, "FEndBal") == beg + d - c, "FEndBal of " + id + " in period " + std::to_string(p));
            r.expect(b.cents(i, "FYtdDebit") == ytdD && b.cents(i, "FYtdCredit") == ytdC, "year to date of " + id);
            Move expected;
            if (mv != moves.end() && mv->second.count(p)) expected = mv->second.at(p);
            r.expect(d == expected.debit && c == expected.credit,
                     "movement of " + id + " in period " + std::to_string(p) + " is not the posted vouchers'");
            beg += d - c;
            if (std::get<1>(k) == 0) {
                const auto up = ancestors(std::get<0>(k), o.lengths);
                if (!up.empty()) {
                    parentSums[{up.front(), std::get<3>(k), std::get<4>(k), p}] += b.cents(i, "FEndBal");
                    parentSums[{up.front(), std::get<3>(k), std::get<4>(k), -p}] += b.cents(i, "FBegBal");
                }
                if (std::get<0>(k).size() == o.lengths.front() && (std::get<3>(k) == o.baseCy || std::get<4>(k))) {
                    trial[p] += b.cents(i, "FEndBal");
                    if (p == 1) trial[0] += b.cents(i, "FBegBal");
                }
            }
        }
    }
    for (const auto &[key, sum] : parentSums) {
        const auto it = rows.find({std::get<0>(key), 0, "*", std::get<1>(key), std::get<2>(key)});
        r.expect(it != rows.end(), "no parent rows for " + std::get<0>(key));
        if (it == rows.end()) continue;
        const int p = std::get<3>(key);
        const size_t row = it->second.at(p < 0 ? -p : p);
        r.expect(b.cents(row, p < 0 ? "FBegBal" : "FEndBal") == sum,
                 "parent " + std::get<0>(key) + " is not the sum of its children");
    }
    for (const auto &[p, sum] : trial)
        r.expect(sum == 0, "trial balance of period " + std::to_string(p) + " is off by " + std::to_string(sum));
    // Item rows add up to their account per class.
    std::map<std::tuple<std::string, int64_t, std::string, bool, int>, Cents> itemSums;
    for (const auto &[k, byPeriod] : rows)
        if (std::get<1>(k))
            for (const auto &[p, i] : byPeriod)
                itemSums[{std::get<0>(k), std::get<1>(k), std::get<3>(k), std::get<4>(k), p}] += b.cents(i, "FEndBal");
    for (const auto &[k, sum] : itemSums) {
        const auto it = rows.find({std::get<0>(k), 0, "*", std::get<2>(k), std::get<3>(k)});
        r.expect(it != rows.end() && b.cents(it->second.at(std::get<4>(k)), "FEndBal") == sum,
                 "item rows of " + std::get<0>(k) + " class " + std::to_string(std::get<1>(k)) + " do not add up");
    }
    const Table &a = s["GLAcct"];
    for (size_t i = 0; i < a.size(); ++i)
        if (a.flag(i, "FDetail") && a.integer(i, "FClsID"))
            r.expect(itemSums.count({a.str(i, "FAcctID"), a.integer(i, "FClsID"),
                                     a.str(i, "FForCy").empty() ? o.baseCy : a.str(i, "FForCy"), false, 1}) ||
                         b.size() == 0 || !rows.count({a.str(i, "FAcctID"), 0, "*", o.baseCy, false}) ||
                         b.cents(rows.at({a.str(i, "FAcctID"), 0, "*", o.baseCy, false}).at(o.period), "FYtdDebit") ==
                             0,
                     "item account " + a.str(i, "FAcctID") + " with movement but no item rows");
    // Quantities.
    const Table &q = s["GLQtyBal"];
    const Table &v = s["GLVch"];
    std::map<std::pair<std::string, int>, std::pair<double, double>> qtyMoves;
    for (size_t i = 0; i < v.size(); ++i)
        // -1 is the "no quantity" mark, which the quantity balances leave out.
        if (v.flag(i, "FPosted") && !v.flag(i, "FDeleted") && !v.isNull(i, "FQty") && v.real(i, "FQty") != -1 &&
            v.integer(i, "FPeriod") <= o.period) {
            auto &m = qtyMoves[{v.str(i, "FAcctID"), static_cast<int>(v.integer(i, "FPeriod"))}];
            (v.cents(i, "FDebit") ? m.first : m.second) += v.real(i, "FQty");
        }
    std::map<std::string, double> qtyEnd;
    std::set<std::string> qtyAccounts;
    for (size_t i = 0; i < q.size(); ++i) {
        const std::string acct = q.str(i, "FAcctID");
        const int p = static_cast<int>(q.integer(i, "FPeriod"));
        qtyAccounts.insert(acct);
        if (p > 1) r.expect(q.real(i, "FBegQty") == qtyEnd[acct], "quantity of " + acct + " not continuous");
        const auto m = qtyMoves.count({acct, p}) ? qtyMoves.at({acct, p}) : std::pair<double, double>{0, 0};
        r.expect(q.real(i, "FDebit") == m.first && q.real(i, "FCredit") == m.second, "quantity movement of " + acct);
        r.expect(q.real(i, "FEndQty") == q.real(i, "FBegQty") + q.real(i, "FDebit") - q.real(i, "FCredit"),
                 "FEndQty of " + acct);
        qtyEnd[acct] = q.real(i, "FEndQty");
    }
    for (size_t i = 0; i < a.size(); ++i)
        if (a.flag(i, "FQtyAux"))
            r.expect(qtyAccounts.count(a.str(i, "FAcctID")) != 0, "no GLQtyBal rows for " + a.str(i, "FAcctID"));
    return r.take();
}

Problems checkProfitAndLoss(const SampleSet &s) {
    Report r;
    const Options o = readOptions(s);
    const Table &b = s["GLBal"];
    for (size_t i = 0; i < b.size(); ++i) {
        const std::string acct = b.str(i, "FAcctID");
        if (acct[0] != '6' || b.integer(i, "FClsID")) continue;
        if (b.integer(i, "FPeriod") < o.period)
            r.expect(b.cents(i, "FEndBal") == 0,
                     "profit-and-loss account " + acct + " not closed in period " + b.str(i, "FPeriod"));
        if (b.integer(i, "FPeriod") == 1) r.expect(b.cents(i, "FBegBal") == 0, acct + " opens with a balance");
    }
    // Actual amounts: posted movement without the transfer to 本年利润, on the account's own side.
    const auto vouchers = groupVouchers(s);
    const Table &v = s["GLVch"];
    const Table &a = s["GLAcct"];
    const auto accounts = accountRows(s);
    std::map<std::tuple<std::string, int64_t, std::string, int>, Cents> actual;
    for (const auto &[key, x] : vouchers) {
        if (!x.posted || x.deleted || x.transfersProfit || x.period > o.period) continue;
        for (size_t row : x.rows) {
            const std::string acct = v.str(row, "FAcctID");
            if (acct[0] != '6') continue;
            const bool debitSide = a.str(accounts.at(acct), "FDC") == "D";
            const Cents amount = debitSide ? v.cents(row, "FDebit") - v.cents(row, "FCredit")
                                           : v.cents(row, "FCredit") - v.cents(row, "FDebit");
            std::vector<std::string> codes = ancestors(acct, o.lengths);
            codes.push_back(acct);
            for (const auto &c : codes) actual[{c, 0, "*", x.period}] += amount;
            if (v.integer(row, "FClsID"))
                actual[{acct, v.integer(row, "FClsID"), v.str(row, "FObjID"), x.period}] += amount;
            if (!v.isNull(row, "FEmplID")) actual[{acct, 3, v.str(row, "FEmplID"), x.period}] += amount;
            if (!v.isNull(row, "FDeptID")) actual[{acct, 2, v.str(row, "FDeptID"), x.period}] += amount;
            if (!v.isNull(row, "FCustID")) actual[{acct, 1, v.str(row, "FCustID"), x.period}] += amount;
        }
    }
    const Table &pnl = s["GLPnl"];
    std::map<std::tuple<std::string, int64_t, std::string>, Cents> ytd;
    std::set<std::tuple<std::string, int64_t, std::string, int>> seen;
    for (size_t i = 0; i < pnl.size(); ++i) {
        const std::tuple<std::string, int64_t, std::string, int> k{pnl.str(i, "FAcctID"), pnl.integer(i, "FClsID"),
                                                                   pnl.str(i, "FObjID"),
                                                                   static_cast<int>(pnl.integer(i, "FPeriod"))};
        seen.insert(k);
        r.expect(!pnl.isNull(i, "FClsID") && !pnl.isNull(i, "FObjID"), "GLPnl row with a NULL key");
        const Cents amt = pnl.cents(i, "FAmt");
        const Cents expected = actual.count(k) ? actual.at(k) : 0;
        r.expect(amt == expected, "GLPnl amount of " + std::get<0>(k) + " " + std::get<2>(k) + " in period " +
                                      std::to_string(std::get<3>(k)));
        Cents &y = ytd[{std::get<0>(k), std::get<1>(k), std::get<2>(k)}];
        y += amt;
        r.expect(pnl.cents(i, "FYtd") == y, "GLPnl year to date of " + std::get<0>(k));
    }
    for (const auto &[k, amount] : actual)
        if (amount) r.expect(seen.count(k) != 0, "no GLPnl row for " + std::get<0>(k) + " " + std::get<2>(k));
    // At the start an account holds amounts under one item class at most.
    std::map<std::string, std::set<int64_t>> classesAtStart;
    for (size_t i = 0; i < b.size(); ++i)
        if (b.integer(i, "FPeriod") == 1 && b.integer(i, "FClsID") &&
            (b.cents(i, "FBegBal") || b.cents(i, "FYtdDebit") != b.cents(i, "FDebit") ||
             b.cents(i, "FYtdCredit") != b.cents(i, "FCredit")))
            classesAtStart[b.str(i, "FAcctID")].insert(b.integer(i, "FClsID"));
    for (const auto &[acct, cls] : classesAtStart)
        r.expect(cls.size() == 1, acct + " starts with amounts under several classes");
    return r.take();
}

Problems checkTransactions(const SampleSet &s) {
    Report r;
    const Table &t = s["GLTrans"];
    const Table &a = s["GLAcct"];
    const Table &b = s["GLBal"];
    const auto accounts = accountRows(s);
    std::map<std::tuple<std::string, std::string, std::string>, Cents> open;
    std::set<std::tuple<std::string, std::string, std::string>> ids;
    for (size_t i = 0; i < t.size(); ++i) {
        const std::string acct = t.str(i, "FAcctID");
        const auto it = accounts.find(acct);
        r.expect(it != accounts.end() && a.flag(it->second, "FTrans") && a.integer(it->second, "FClsID") == 1,
                 "transaction on " + acct + " which keeps none");
        r.expect(ids.insert({acct, t.str(i, "FObjID"), t.str(i, "FTransID")}).second,
                 "transaction number used twice: " + t.str(i, "FTransID"));
        r.expect(t.isNull(i, "FCustID") && t.cents(i, "FDebit") == 0 && t.cents(i, "FCredit") == 0,
                 "transaction " + t.str(i, "FTransID") + " has movement before the start");
        open[{acct, t.str(i, "FObjID"), t.str(i, "FCyID")}] += t.cents(i, "FBal");
    }
    std::map<std::tuple<std::string, std::string, std::string>, Cents> itemOpen;
    for (size_t i = 0; i < b.size(); ++i) {
        const auto it = accounts.find(b.str(i, "FAcctID"));
        if (b.integer(i, "FPeriod") != 1 || b.integer(i, "FClsID") != 1 || b.flag(i, "FBase") || it == accounts.end() ||
            !a.flag(it->second, "FTrans"))
            continue;
        itemOpen[{b.str(i, "FAcctID"), b.str(i, "FObjID"), b.str(i, "FCyID")}] += b.cents(i, "FBegBal");
    }
    for (const auto &[k, sum] : itemOpen)
        r.expect((open.count(k) ? open.at(k) : 0) == sum,
                 "open transactions of " + std::get<0>(k) + " " + std::get<1>(k) + " do not make its opening");
    for (const auto &[k, sum] : open)
        r.expect(itemOpen.count(k) != 0, "transactions without an opening: " + std::get<1>(k));
    return r.take();
}

Problems checkRateAdjustments(const SampleSet &s) {
    Report r;
    const Options o = readOptions(s);
    const Table &h = s["GLRateAdjHist"];
    const Table &b = s["GLBal"];
    const Table &v = s["GLVch"];
    const Table &a = s["GLAcct"];
    const auto accounts = accountRows(s);
    auto balance = [&](const std::string &acct, const std::string &cy, bool base,
                       int64_t period) -> std::optional<Cents> {
        for (size_t i = 0; i < b.size(); ++i)
            if (b.str(i, "FAcctID") == acct && b.integer(i, "FClsID") == 0 && b.str(i, "FCyID") == cy &&
                b.flag(i, "FBase") == base && b.integer(i, "FPeriod") == period)
                return b.cents(i, "FEndBal");
        return std::nullopt;
    };
    std::map<std::pair<std::string, int64_t>, double> endRates;
    for (size_t i = 0; i < h.size(); ++i) {
        const std::string acct = h.str(i, "FAcctID"), cy = h.str(i, "FCyID");
        const int64_t p = h.integer(i, "FPeriod");
        for (const char *c : {"FPeriod", "FAcctID", "FClsID", "FObjID", "FCyID"})
            r.expect(!h.isNull(i, c), std::string("GLRateAdjHist NULL ") + c);
        const auto it = accounts.find(acct);
        r.expect(it != accounts.end() && a.flag(it->second, "FRateAdj"),
                 "adjustment of " + acct + " which is not adjusted");
        const Cents diff = h.cents(i, "FBalAdj") - h.cents(i, "FBalBase");
        r.expect(balance(acct, cy, false, p) == h.cents(i, "FBalFor"),
                 "FBalFor of " + acct + " in period " + std::to_string(p));
        r.expect(balance(acct, cy, true, p) == h.cents(i, "FBalAdj"),
                 "adjusted base balance of " + acct + " in period " + std::to_string(p));
        // A currency whose operator is not "*" divides by its rate.
        bool dividing = false;
        const Table &currencies = s["GLCy"];
        for (size_t k = 0; k < currencies.size(); ++k)
            if (currencies.str(k, "FCyID") == cy) dividing = currencies.str(k, "FOper") != "*";
        const double balFor = static_cast<double>(h.cents(i, "FBalFor"));
        r.expect(std::llround(dividing ? balFor / h.real(i, "FEndRate") : balFor * h.real(i, "FEndRate")) ==
                     h.cents(i, "FBalAdj"),
                 "FBalAdj is not FBalFor at the end rate");
        bool booked = diff == 0;
        for (size_t k = 0; k < v.size(); ++k)
            if (v.integer(k, "FPeriod") == p && v.flag(k, "FPosted") && v.str(k, "FAcctID") == acct &&
                v.cents(k, "FFCyAmt") == 0 && v.cents(k, "FDebit") - v.cents(k, "FCredit") == diff)
                booked = true;
        r.expect(booked, "no voucher books the adjustment of period " + std::to_string(p));
        endRates[{cy, p}] = h.real(i, "FEndRate");
    }
    const Table &rate = s["GLRate"];
    const Table &cy = s["GLCy"];
    std::map<std::string, std::set<int64_t>> ratePeriods;
    for (size_t i = 0; i < rate.size(); ++i) {
        const std::string c = rate.str(i, "FCyID");
        const int64_t p = rate.integer(i, "FPeriod");
        ratePeriods[c].insert(p);
        if (endRates.count({c, p - 1}))
            r.expect(rate.real(i, "FBegRate") == endRates.at({c, p - 1}),
                     "rate of " + c + " in period " + std::to_string(p) + " is not the last adjustment's");
        if (p == 1)
            for (size_t k = 0; k < cy.size(); ++k)
                if (cy.str(k, "FCyID") == c)
                    r.expect(cy.real(k, "FBegRate") == rate.real(i, "FBegRate"), "opening rate of " + c);
    }
    for (size_t k = 0; k < cy.size(); ++k) {
        const std::string c = cy.str(k, "FCyID");
        if (c == "*" || c == o.baseCy) continue;
        r.expect(static_cast<int>(ratePeriods[c].size()) == o.period, "GLRate of " + c + " lacks periods");
    }
    return r.take();
}

}  // namespace samples
