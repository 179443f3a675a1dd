#include <algorithm>
#include <cmath>

#include "CheckSupport.h"

namespace samples {

namespace {

bool digitsOnly(const std::string &s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string dotless(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '.'), s.end());
    return s;
}

// Items by class and code, with their GLObj row.
std::map<std::pair<int64_t, std::string>, size_t> itemRows(const SampleSet &s) {
    std::map<std::pair<int64_t, std::string>, size_t> out;
    const Table &o = s["GLObj"];
    for (size_t r = 0; r < o.size(); ++r) out[{o.integer(r, "FClsID"), o.str(r, "FObjID")}] = r;
    return out;
}

}  // namespace

Problems checkChart(const SampleSet &s) {
    Report r;
    const Options o = readOptions(s);
    const Table &a = s["GLAcct"];
    const auto rows = accountRows(s);
    r.expect(rows.size() == a.size(), "account codes not unique");
    std::set<std::string> classes, currencies, parents;
    for (size_t i = 0; i < s["GLCls"].size(); ++i) classes.insert(s["GLCls"].str(i, "FClsID"));
    for (size_t i = 0; i < s["GLCy"].size(); ++i) currencies.insert(s["GLCy"].str(i, "FCyID"));
    std::set<std::pair<std::string, std::string>> siblingNames;
    for (size_t i = 0; i < a.size(); ++i) {
        const std::string code = a.str(i, "FAcctID"), name = a.str(i, "FAcctName");
        const auto level = std::find(o.lengths.begin(), o.lengths.end(), code.size());
        r.expect(digitsOnly(code) && code.size() <= 16 && level != o.lengths.end(), "bad account code " + code);
        if (level == o.lengths.end()) continue;
        const int64_t lv = level - o.lengths.begin() + 1;
        r.expect(a.integer(i, "FLevel") == lv, "FLevel of " + code);
        const std::string parent = lv > 1 ? code.substr(0, o.lengths[static_cast<size_t>(lv - 2)]) : "";
        if (!parent.empty()) {
            r.expect(rows.count(parent) != 0, "no parent for " + code);
            parents.insert(parent);
        }
        r.expect(!a.isNull(i, "FAcctName") && !name.empty() && name.find('\'') == std::string::npos,
                 "bad name of " + code);
        r.expect(siblingNames.insert({parent, name}).second, "two accounts named " + name + " under " + parent);
        const std::string cy = a.str(i, "FForCy");
        r.expect(cy.empty() || currencies.count(cy), "unknown currency of " + code);
        if (a.flag(i, "FQtyAux")) {
            const std::string unit = a.str(i, "FUnit");
            r.expect(!unit.empty() && unit != "*" && unit.size() <= 30, "quantity account " + code + " without unit");
        }
        const int64_t cls = a.integer(i, "FClsID");
        r.expect(cls == 0 || classes.count(std::to_string(cls)), "unknown class on " + code);
        if (a.flag(i, "FTrans"))
            r.expect(cls == 1 || a.flag(i, "FCustomer"), code + " keeps transactions without business units");
        if (a.flag(i, "FIsBankAc") || a.flag(i, "FBank"))
            r.expect(a.flag(i, "FIsBankAc") && a.flag(i, "FBank") && a.flag(i, "FJrnl"), "bank flags of " + code);
        if (a.flag(i, "FIsCash")) r.expect(a.flag(i, "FJrnl") && !a.flag(i, "FBank"), "cash flags of " + code);
        if (a.flag(i, "FMutiCls")) r.expect(cls > 0, code + " carries several classes without a main one");
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const std::string code = a.str(i, "FAcctID");
        const bool leaf = !parents.count(code);
        r.expect(a.flag(i, "FDetail") == leaf, "FDetail of " + code);
        if (!leaf) r.expect(a.integer(i, "FClsID") == 0, "parent account " + code + " carries items");
    }
    if (s["FACard"].size()) {
        bool impairment = false;
        for (size_t i = 0; i < a.size(); ++i) impairment = impairment || a.str(i, "FAcctName") == "固定资产减值准备";
        r.expect(impairment, "fixed assets without 固定资产减值准备");
    }
    return r.take();
}

Problems checkItems(const SampleSet &s) {
    Report r;
    const Table &o = s["GLObj"];
    const auto items = itemRows(s);
    r.expect(items.size() == o.size(), "item codes not unique per class");
    std::set<std::pair<int64_t, std::string>> dotlessCodes, parents;
    std::set<std::string> employeeNames;
    for (size_t i = 0; i < o.size(); ++i) {
        const int64_t cls = o.integer(i, "FClsID");
        const std::string code = o.str(i, "FObjID");
        if (code == "*") continue;
        r.expect(code.find('*') == std::string::npos && !code.empty(), "bad item code " + code);
        r.expect(dotlessCodes.insert({cls, dotless(code)}).second, "item codes equal without dots: " + code);
        r.expect(!o.isNull(i, "FObjName") && !o.str(i, "FObjName").empty(), "item without name " + code);
        r.expect(o.str(i, "FObjName").find('\'') == std::string::npos, "item name with a quote " + code);
        if (cls == 3)
            r.expect(employeeNames.insert(o.str(i, "FObjName")).second, "two employees named " + o.str(i, "FObjName"));
        const std::string parent = o.str(i, "FParentID");
        std::string path = code;
        int64_t level = 1;
        if (!parent.empty() && parent != "*") {
            parents.insert({cls, parent});
            const auto it = items.find({cls, parent});
            r.expect(it != items.end(), "no parent of item " + code);
            if (it == items.end()) continue;
            r.expect(code.rfind(parent, 0) == 0 && code.size() > parent.size(),
                     "item " + code + " does not extend its parent");
            level = o.integer(it->second, "FLevel") + 1;
            path = o.str(it->second, "FFullPath") + code;
        } else {
            path = std::to_string(cls) + "*" + code;
        }
        r.expect(o.integer(i, "FLevel") == level, "FLevel of item " + code);
        r.expect(o.str(i, "FFullPath") == path,
                 "FFullPath of item " + code + " is " + o.str(i, "FFullPath") + ", not " + path);
    }
    for (size_t i = 0; i < o.size(); ++i) {
        if (o.str(i, "FObjID") == "*") continue;
        r.expect(o.flag(i, "FDetail") == !parents.count({o.integer(i, "FClsID"), o.str(i, "FObjID")}),
                 "FDetail of item " + o.str(i, "FObjID"));
    }
    auto detail = [&](int64_t cls, const std::string &code) {
        const auto it = items.find({cls, code});
        return it != items.end() && o.flag(it->second, "FDetail");
    };
    std::set<std::string> custRows, empRows;
    for (size_t i = 0; i < s["GLCust"].size(); ++i) custRows.insert(s["GLCust"].str(i, "FObjID"));
    const Table &emp = s["GLEmp"];
    std::set<std::string> duties, degrees, groups;
    for (size_t i = 0; i < s["GLDuty"].size(); ++i) duties.insert(s["GLDuty"].str(i, "FDuty"));
    for (size_t i = 0; i < s["GLDegree"].size(); ++i) degrees.insert(s["GLDegree"].str(i, "FDegree"));
    for (size_t i = 0; i < s["GLEmpGroup"].size(); ++i) groups.insert(s["GLEmpGroup"].str(i, "FEmpGroupID"));
    for (size_t i = 0; i < emp.size(); ++i) {
        empRows.insert(emp.str(i, "FObjID"));
        r.expect(items.count({2, emp.str(i, "FDeptObjID")}) != 0,
                 "employee " + emp.str(i, "FObjID") + " in no department");
        r.expect(duties.count(emp.str(i, "FDuty")) && degrees.count(emp.str(i, "FDegree")) &&
                     groups.count(emp.str(i, "FEmpGroup")),
                 "employee " + emp.str(i, "FObjID") + " names an unknown duty, degree or group");
    }
    for (const auto &[key, row] : items) {
        if (key.second == "*" || !o.flag(row, "FDetail")) continue;
        if (key.first == 1) r.expect(custRows.count(key.second) != 0, "no GLCust row for " + key.second);
        if (key.first == 3) r.expect(empRows.count(key.second) != 0, "no GLEmp row for " + key.second);
    }
    // Every detail business unit is used on an account whose name gives it a nature.
    std::set<std::string> used;
    const Table &acct = s["GLAcct"];
    std::set<std::string> natured;
    for (size_t i = 0; i < acct.size(); ++i)
        for (const char *n : {"应收", "预收", "应付", "预付"})
            if (acct.str(i, "FAcctName").find(n) != std::string::npos) natured.insert(acct.str(i, "FAcctID"));
    const Table &v = s["GLVch"];
    for (size_t i = 0; i < v.size(); ++i)
        if (natured.count(v.str(i, "FAcctID")))
            used.insert(v.integer(i, "FClsID") == 1 ? v.str(i, "FObjID") : v.str(i, "FCustID"));
    const Table &b = s["GLBal"];
    for (size_t i = 0; i < b.size(); ++i)
        if (b.integer(i, "FClsID") == 1 && natured.count(b.str(i, "FAcctID"))) used.insert(b.str(i, "FObjID"));
    // A unit left for the operator to decide says so in its name.
    for (const auto &[key, row] : items)
        if (key.first == 1 && key.second != "*" && o.flag(row, "FDetail"))
            r.expect(used.count(key.second) != 0 || o.str(row, "FObjName").find("（待定）") != std::string::npos,
                     "business unit " + key.second + " is used on no customer or supplier account");
    // Balances name detail items only.
    for (size_t i = 0; i < b.size(); ++i)
        if (b.integer(i, "FClsID"))
            r.expect(detail(b.integer(i, "FClsID"), b.str(i, "FObjID")),
                     "balance of non-detail item " + b.str(i, "FObjID"));
    const Table &cls = s["GLCls"];
    for (size_t i = 0; i < cls.size(); ++i) {
        if (cls.integer(i, "FClsID") <= 3) continue;
        const std::string table = cls.str(i, "FObjTableName");
        r.expect(table.find("CSTM_") != std::string::npos && s.has(table), "custom class without its CSTM_ table");
        if (!s.has(table)) continue;
        const Table &t = s[table];
        for (size_t k = 0; k < t.size(); ++k)
            r.expect(detail(cls.integer(i, "FClsID"), t.str(k, "FObjID")),
                     "property row of unknown item " + t.str(k, "FObjID"));
    }
    return r.take();
}

Problems checkVouchers(const SampleSet &s) {
    Report r;
    const Options o = readOptions(s);
    const Table &v = s["GLVch"];
    const Table &a = s["GLAcct"];
    const auto accounts = accountRows(s);
    const auto items = itemRows(s);
    std::set<std::string> users, groups, settles, currencies;
    for (size_t i = 0; i < s["SysUsers"].size(); ++i) users.insert(s["SysUsers"].str(i, "FUser"));
    for (size_t i = 0; i < s["GLVchGroup"].size(); ++i) groups.insert(s["GLVchGroup"].str(i, "FGroup"));
    for (size_t i = 0; i < s["GLSettle"].size(); ++i) settles.insert(s["GLSettle"].str(i, "FSettCode"));
    for (size_t i = 0; i < s["GLCy"].size(); ++i) currencies.insert(s["GLCy"].str(i, "FCyID"));
    // Currencies whose rate divides: local amount = currency amount / rate.
    std::set<std::string> dividing;
    for (size_t i = 0; i < s["GLCy"].size(); ++i)
        if (s["GLCy"].str(i, "FOper") != "*") dividing.insert(s["GLCy"].str(i, "FCyID"));
    const auto vouchers = groupVouchers(s);
    std::map<std::pair<int, std::string>, std::set<int64_t>> numbers;
    std::map<int, std::set<int64_t>> serials;
    for (const auto &[key, x] : vouchers) {
        const std::string id =
            std::to_string(x.period) + "/" + (x.group ? *x.group : "NULL") + "/" + std::to_string(x.num);
        const size_t first = x.rows.front();
        numbers[{x.period, std::get<1>(key)}].insert(x.num);
        serials[x.period].insert(v.integer(first, "FSerialNum"));
        r.expect(x.rows.size() >= 2, "voucher " + id + " has one entry");
        // NULL, empty and blanks-only groups take the standard group.
        if (x.group && x.group->find_first_not_of(' ') != std::string::npos)
            r.expect(groups.count(*x.group) != 0, "unknown group in " + id);
        r.expect(!x.posted || x.checked, "posted voucher " + id + " not checked");
        r.expect(!x.posted || x.period <= o.period, "voucher " + id + " posted after the current period");
        r.expect(!(x.deleted && x.posted), "deleted voucher " + id + " posted");
        const int year = o.year + (x.period - 1) / 12, month = (x.period - 1) % 12 + 1;
        const std::string day = v.str(first, "FDate");
        r.expect(day >= dateOf(year, month, 1) && day <= dateOf(year, month, monthDays(year, month)),
                 "date of " + id + " outside its period");
        Cents debit = 0, credit = 0;
        for (size_t k = 0; k < x.rows.size(); ++k) {
            const size_t row = x.rows[k];
            for (const char *c : {"FSerialNum", "FDate", "FPreparer", "FChecker", "FPoster", "FModule", "FChecked",
                                  "FPosted", "FAttachment", "FDeleted"})
                r.expect(v.text().rows[row][v.index(c)] == v.text().rows[first][v.index(c)],
                         std::string(c) + " differs within " + id);
            r.expect(v.integer(row, "FEntryID") == static_cast<int64_t>(k),
                     "entries of " + id + " not numbered from 0");
            const Cents d = v.cents(row, "FDebit"), c = v.cents(row, "FCredit");
            r.expect((d != 0) != (c != 0), "entry " + std::to_string(k) + " of " + id + " needs exactly one side");
            debit += d;
            credit += c;
            const std::string acct = v.str(row, "FAcctID");
            const auto ai = accounts.find(acct);
            r.expect(ai != accounts.end() && a.flag(ai->second, "FDetail"),
                     "entry of " + id + " on unknown or parent account " + acct);
            if (ai == accounts.end()) continue;
            const size_t ar = ai->second;
            // Items match the classes the account carries.
            const int64_t cls = v.integer(row, "FClsID");
            r.expect(cls == a.integer(ar, "FClsID"),
                     "class of entry " + std::to_string(k) + " of " + id + " is not the account's");
            if (cls > 0) {
                const auto it = items.find({cls, v.str(row, "FObjID")});
                r.expect(it != items.end() && s["GLObj"].flag(it->second, "FDetail"),
                         "entry of " + id + " without a detail item");
            } else {
                r.expect(v.isNull(row, "FObjID"), "item on an account without items in " + id);
            }
            const std::pair<const char *, const char *> extras[] = {
                {"FCustID", "FCustomer"}, {"FDeptID", "FDepartment"}, {"FEmplID", "FEmployee"}};
            int64_t extraCls = 1;
            for (const auto &[col, accountFlag] : extras) {
                const bool carried = a.flag(ar, accountFlag);
                if (carried) {
                    const auto it = items.find({extraCls, v.str(row, col)});
                    r.expect(it != items.end() && s["GLObj"].flag(it->second, "FDetail"),
                             std::string(col) + " missing in " + id);
                } else {
                    r.expect(v.isNull(row, col), std::string(col) + " on an account without that class in " + id);
                }
                ++extraCls;
            }
            for (const char *col : {"FObjID", "FCustID", "FDeptID", "FEmplID"})
                r.expect(v.str(row, col) != "*", "\"*\" item in " + id);
            // Currency and quantity.
            const std::string cy = v.str(row, "FCyID"), forCy = a.str(ar, "FForCy");
            const Cents amount = d + c, fcy = v.cents(row, "FFCyAmt");
            const double rate = v.real(row, "FExchRate");
            r.expect(currencies.count(cy) && cy != "*", "entry currency " + cy + " in " + id);
            if (forCy.empty()) {
                r.expect(cy == o.baseCy && rate == 1 && fcy == amount,
                         "base-currency entry of " + id + " has another currency amount");
            } else if (fcy == 0) {
                r.expect(a.flag(ar, "FRateAdj") && cy == forCy, "foreign entry of " + id + " without currency amount");
            } else {
                const double local = dividing.count(cy) ? static_cast<double>(fcy) / rate : static_cast<double>(fcy) * rate;
                r.expect(cy == forCy && static_cast<Cents>(std::llround(local)) == amount,
                         "currency amount at its rate of " + id + " is not its amount");
            }
            if (a.flag(ar, "FQtyAux")) {
                // -1 marks an amount-only entry (no quantity moves).
                const double qty = v.real(row, "FQty");
                r.expect(!v.isNull(row, "FQty") &&
                             (qty == -1 || std::llround(qty * v.real(row, "FPrice") * 100) == amount),
                         "quantity times price of " + id + " is not its amount");
            } else {
                r.expect(v.isNull(row, "FQty"), "quantity on a non-quantity account in " + id);
            }
            if (!v.isNull(row, "FSettleCode"))
                r.expect(settles.count(v.str(row, "FSettleCode")) != 0, "unknown settlement in " + id);
            if (v.flag(row, "FDue")) r.expect(!v.isNull(row, "FTransID"), "due entry without transaction in " + id);
        }
        r.expect(debit == credit, "voucher " + id + " does not balance");
        r.expect(users.count(v.str(first, "FPreparer")) != 0, "unknown preparer of " + id);
        r.expect(x.checked == (users.count(v.str(first, "FChecker")) > 0), "checker of " + id);
        r.expect(x.posted == (users.count(v.str(first, "FPoster")) > 0), "poster of " + id);
    }
    for (const auto &[key, nums] : numbers)
        r.expect(*nums.begin() == 1 && *nums.rbegin() == static_cast<int64_t>(nums.size()),
                 "numbers of period " + std::to_string(key.first) + " group " + key.second + " do not run from 1");
    for (const auto &[period, nums] : serials)
        r.expect(*nums.begin() == 1 && *nums.rbegin() == static_cast<int64_t>(nums.size()),
                 "serial numbers of period " + std::to_string(period) + " do not run from 1");
    return r.take();
}

}  // namespace samples
