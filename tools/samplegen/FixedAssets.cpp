#include "FixedAssets.h"

#include <algorithm>
#include <map>

namespace samplegen {

namespace {

struct Mode {
    int id;
    const char *name;
    int mode;
    const char *acct;
    const char *exp;
};

const Mode kModes[] = {
    {1, "购入", 0, "100201", "购入固定资产"},       {2, "投资者投入", 0, "4001", "投资者投入固定资产"},
    {3, "接受捐赠", 0, "", "接受捐赠固定资产"},     {4, "原值调增", 0, "100201", "固定资产原值调增"},
    {5, "出售", 1, "6711", "出售固定资产"},         {6, "报废", 1, "6711", "固定资产报废"},
    {7, "其他减少", 1, "6711", "其他减少固定资产"}, {8, "内部调拨", 0, "", "固定资产内部调拨"},
};

struct Group {
    int id;
    const char *name;
};
const Group kGroups[] = {{1, "房屋及建筑物"}, {2, "运输设备"}, {3, "电子设备"}, {4, "办公家具"}};

Cents salvageOf(Cents org) { return percentOf(org, 5); }

// Splits an amount by percent shares; the last share takes the rounding.
std::vector<Cents> split(Cents amount, const std::vector<std::pair<std::string, double>> &shares) {
    std::vector<Cents> out;
    Cents used = 0;
    for (size_t i = 0; i < shares.size(); ++i) {
        const Cents c = i + 1 == shares.size() ? amount - used : percentOf(amount, shares[i].second);
        out.push_back(c);
        used += c;
    }
    return out;
}

std::string tagOf(const std::string &id, int type) { return "fa:" + id + ":" + std::to_string(type); }

// The department's code as the items write it: the same code, or the same
// digits with points between the levels.
std::string deptCode(const Ledger &ledger, const std::string &digits) {
    for (const auto *d : ledger.detailItems(2)) {
        std::string plain;
        for (char ch : d->code)
            if (ch != '.') plain += ch;
        if (plain == digits) return d->code;
    }
    return digits;
}

}  // namespace

FixedAssets::FixedAssets(const Ledger &ledger, Rng &rng, bool deprMade) : ledger_(ledger), deprMade_(deprMade) {
    const Profile &p = ledger.profile;
    auto card = [](const char *id, const char *name, const char *model, const char *location, int group, int y, int m,
                   int d, Cents org, int life) {
        AssetCard c;
        c.id = id;
        c.name = name;
        c.model = model;
        c.location = location;
        c.group = group;
        c.serviceYear = y;
        c.serviceMonth = m;
        c.serviceDay = d;
        c.org = org;
        c.life = life;
        c.factory = "";
        return c;
    };
    if (!p.large) {
        AssetCard c = card("FA001", "办公楼", "框架结构 1200平方米", "浦东张江", 1, 2019, 6, 15, 120000000, 240);
        c.alterId = 2;
        c.depts = {{"01", 40}, {"02", 30}, {"04", 30}};
        c.factory = "上海建工集团";
        cards_.push_back(c);
        c = card("FA002", "东风厢式货车", "EQ5040XXY 4.2米", "仓库", 2, 2022, 3, 10, 16800000, 96);
        c.depts = {{"05", 100}};
        c.expenseAcct = "660104";
        c.expenseCls = 0;
        c.factory = "东风汽车股份有限公司";
        cards_.push_back(c);
        c = card("FA003", "联想服务器", "ThinkSystem SR650", "机房", 3, 2023, 8, 20, 3600000, 60);
        c.depts = {{"02", 100}};
        c.factory = "联想(北京)有限公司";
        cards_.push_back(c);
        c = card("FA004", "惠普'激光'打印机", "LaserJet M405d \"双面\"", "总经理办公室", 3, 2023, 11, 5, 850000, 36);
        c.depts = {{"01", 100}};
        c.clearPeriod = 10;
        cards_.push_back(c);
        c = card("FA005", "办公桌椅一套", "1.6米主管桌含椅", "销售部", 4, 2024, 2, 18, 1200000, 60);
        c.depts = {{"0301", 50}, {"0302", 50}};
        c.expenseAcct = "660104";
        c.expenseCls = 0;
        c.increasePeriod = 5;
        c.increase = 150000;
        cards_.push_back(c);
        c = card("FA006", "ThinkPad笔记本电脑", "X1 Carbon 14寸", "销售部", 3, 2024, 9, 9, 980000, 36);
        c.depts = {{"0301", 100}};
        c.expenseAcct = "660104";
        c.expenseCls = 0;
        c.transferPeriod = 9;
        c.transferTo = "0302";
        cards_.push_back(c);
        c = card("FA007", "进口文件扫描仪", "Fujitsu fi-7160", "财务部", 3, p.year, 3, 12, 0, 60);
        c.depts = {{"02", 100}};
        c.addedPeriod = 3;
        c.usd = 200000;
        c.org = convert(c.usd, ledger.usdRate[3]);
        cards_.push_back(c);
        c = card("FA008", "电动叉车", "杭叉 CPD15 1.5吨", "仓库", 2, p.year, 7, 8, 4500000, 96);
        c.depts = {{"05", 100}};
        c.expenseAcct = "660104";
        c.expenseCls = 0;
        c.addedPeriod = 7;
        c.tax = 585000;
        cards_.push_back(c);
    } else {
        std::vector<std::string> depts;
        for (const auto *d : ledger.detailItems(2)) depts.push_back(d->code);
        static const char *const kNames[] = {"台式电脑", "笔记本电脑", "打印机", "空调",   "货架",
                                             "叉车",     "办公桌",     "服务器", "投影仪", "复印机"};
        for (int i = 1; i <= p.assets; ++i) {
            const int kind = static_cast<int>(rng.range(0, 9));
            AssetCard c;
            c.id = "ZC" + std::string(i < 10 ? "000" : i < 100 ? "00" : i < 1000 ? "0" : "") + std::to_string(i);
            c.name = std::string(kNames[kind]) + std::to_string(i);
            c.model = "型号" + std::to_string(rng.range(100, 999));
            c.location = "库位" + std::to_string(rng.range(1, 20));
            c.group = kind == 5 ? 2 : kind == 4 || kind == 6 ? 4 : 3;
            c.life = c.group == 2 ? 96 : c.group == 4 ? 60 : 36;
            c.org = rng.range(20, 3000) * 10000;
            c.depts = {{depts[static_cast<size_t>(rng.range(0, static_cast<int64_t>(depts.size()) - 1))], 100}};
            if (rng.chance(20)) {
                c.expenseAcct = "660104";
                c.expenseCls = 0;
            }
            if (i % 40 == 0 && p.currPeriod > 1) {
                c.addedPeriod = static_cast<int>(rng.range(1, p.currPeriod));
                c.serviceYear = p.year;
                c.serviceMonth = c.addedPeriod;
                c.serviceDay = 8;
                c.tax = percentOf(c.org, 13);
            } else {
                c.serviceYear = static_cast<int>(rng.range(p.year - 8, p.year - 1));
                c.serviceMonth = static_cast<int>(rng.range(1, 12));
                c.serviceDay = static_cast<int>(rng.range(1, 28));
                if (i % 50 == 7)
                    c.clearPeriod = static_cast<int>(rng.range(1, p.currPeriod));
                else if (i % 50 == 13) {
                    c.increasePeriod = static_cast<int>(rng.range(1, p.currPeriod));
                    c.increase = rng.range(1, 50) * 10000;
                }
            }
            cards_.push_back(c);
        }
    }
    if (p.broad) addBroadCards();
    for (auto &c : cards_)
        for (auto &d : c.depts) d.first = deptCode(ledger, d.first);
    for (auto &c : cards_) {
        if (!c.transferTo.empty()) c.transferTo = deptCode(ledger, c.transferTo);
        simulate(c);
    }
}

// Cards with the shapes the other small sets lack: two departments of one
// class-2 allocation altered twice in one period, an allocation over two
// expense accounts, a workload card, a fully depreciated card, a card
// altered in its own addition period and a card cleared in an earlier year.
void FixedAssets::addBroadCards() {
    const int year = ledger_.profile.year;
    auto card = [&](const char *id, const char *name, const char *model, const char *location, int group, int y,
                    int m, int d, Cents org, int life, std::vector<std::pair<std::string, double>> depts) {
        AssetCard c;
        c.id = id, c.name = name, c.model = model, c.location = location, c.group = group;
        c.serviceYear = y, c.serviceMonth = m, c.serviceDay = d;
        c.org = org, c.life = life;
        c.depts = std::move(depts);
        return c;
    };
    AssetCard c = card("FA009", "数控车床", "CK6150 数控", "一号车间", 1, year - 4, 4, 10, 36000000, 120,
                       {{"0301", 50}, {"0302", 50}});
    c.increasePeriod = 6, c.increase = 1200000;
    c.sameIncreases = {800000};
    cards_.push_back(c);
    c = card("FA010", "柴油发电机组", "玉柴 YC200GF", "配电房", 2, year - 3, 9, 3, 22363200, 96, {{"05", 100}});
    c.expenseAcct = "660104", c.expenseCls = 0;
    c.accounts = {{"660104", 60}, {"660103", 40}};
    cards_.push_back(c);
    // FA011 and FA012 stand on the base data's departments written with
    // points (06.01, 06.02 under 06).
    c = card("FA011", "注塑成型机", "海天 MA1600", "二号车间", 2, year - 2, 5, 20, 18000000, 96,
             {{"06.01", 100}});
    c.totalWork = 40000;
    c.work = {0, 310, 280, 335, 298, 320, 305, 290, 315, 300, 325, 310, 305, 300};
    cards_.push_back(c);
    cards_.push_back(card("FA012", "旧式复印机", "理光 MP2014", "总经理办公室", 3, year - 6, 1, 5, 1260000, 36,
                          {{"06.02", 60}, {"06.01", 40}}));
    c = card("FA013", "三坐标测量仪", "海克斯康 Global S", "质检室", 3, year, 2, 16, 980000, 60, {{"02", 100}});
    c.addedPeriod = 2;
    c.increasePeriod = 2, c.increase = 120000;
    cards_.push_back(c);
    c = card("FA014", "旧货车", "解放 J6F", "仓库", 2, year - 7, 6, 1, 0, 96, {{"05", 100}});
    c.expenseAcct = "660104", c.expenseCls = 0;
    c.clearedYear = year - 1;
    cards_.push_back(c);
}

void FixedAssets::simulate(AssetCard &c) const {
    const int curr = ledger_.profile.currPeriod;
    AssetState s;
    s.period = c.addedPeriod;
    s.org = c.org;
    s.salvage = salvageOf(c.org);
    s.monthly = (s.org - s.salvage) / c.life;
    s.depts = c.depts;
    if (c.addedPeriod == 0) {
        const int months = (ledger_.year() - c.serviceYear) * 12 - c.serviceMonth;  // depreciated from the next month
        s.periodsDone = std::min(std::max(months, 0), c.life);
        s.accum = std::min(s.monthly * s.periodsDone, s.org - s.salvage);
    } else {
        s.ytdDebitOrg = c.org;
        // An increase of the addition period is part of the value from the start.
        if (c.increasePeriod == c.addedPeriod) {
            s.org += c.increase;
            s.ytdDebitOrg += c.increase;
            s.salvage = salvageOf(s.org);
            s.monthly = (s.org - s.salvage) / c.life;
        }
    }
    c.states.push_back(s);
    const int last = c.clearPeriod ? c.clearPeriod : curr;
    for (int p = c.addedPeriod + 1; p <= last; ++p) {
        s.period = p;
        s.depr = 0;
        if (p == c.clearPeriod) {
            s.ytdCreditOrg += s.org;
            s.ytdCreditDepr += s.accum;
            s.org = 0;
            s.accum = 0;
            s.salvage = 0;
            s.monthly = 0;
            c.states.push_back(s);
            break;
        }
        if ((p < curr || deprMade_) && s.periodsDone < c.life && s.accum < s.org - s.salvage) {
            // A workload card depreciates by the period's hours.
            const Cents due = c.totalWork ? (s.org - s.salvage) * c.work[static_cast<size_t>(p)] / c.totalWork
                                          : s.monthly;
            s.depr = std::min(due, s.org - s.salvage - s.accum);
            s.accum += s.depr;
            s.ytdDepr += s.depr;
            ++s.periodsDone;
        }
        // Alterations of the period take effect after its depreciation.
        if (p == c.increasePeriod) {
            Cents more = c.increase;
            for (Cents x : c.sameIncreases) more += x;
            s.org += more;
            s.ytdDebitOrg += more;
            s.salvage = salvageOf(s.org);
            s.monthly = (s.org - s.salvage) / c.life;
        }
        if (p == c.transferPeriod) s.depts = {{c.transferTo, 100}};
        c.states.push_back(s);
    }
}

Cents FixedAssets::openingOrg() const {
    Cents sum = 0;
    for (const auto &c : cards_)
        if (c.addedPeriod == 0) sum += c.states.front().org;
    return sum;
}

Cents FixedAssets::openingAccum() const {
    Cents sum = 0;
    for (const auto &c : cards_)
        if (c.addedPeriod == 0) sum += c.states.front().accum;
    return sum;
}

std::vector<Voucher> FixedAssets::vouchers(int period) const {
    std::vector<Voucher> out;
    auto entry = [](const std::string &acct, Cents debit, Cents credit, const std::string &exp) {
        Entry e;
        e.acct = acct;
        e.debit = debit;
        e.credit = credit;
        e.fcy = debit + credit;
        e.exp = exp;
        return e;
    };
    const std::string cashier = ledger_.employees.size() > 3 ? ledger_.employees[3].name : ledger_.employees[0].name;
    std::map<std::tuple<std::string, int, std::string>, Cents> expense;
    Cents deprTotal = 0;
    for (const auto &c : cards_) {
        for (const auto &s : c.states) {
            if (s.period != period) continue;
            if (c.addedPeriod == period) {
                Voucher v;
                v.period = period;
                v.day = c.serviceDay;
                v.module = "FAT";
                v.tag = tagOf(c.id, 0);
                v.entries.push_back(entry("1601", c.org, 0, "购入固定资产 " + c.name));
                if (c.tax) v.entries.push_back(entry("22210101", c.tax, 0, "购入固定资产进项税额"));
                Entry bank = entry(c.usd ? "100202" : "100201", 0, c.org + c.tax, "支付" + c.name + "货款");
                if (c.usd) {
                    bank.cy = "USD";
                    bank.rate = ledger_.usdRate[static_cast<size_t>(period)];
                    bank.fcy = c.usd;
                    bank.settle = "电汇";
                } else {
                    bank.settle = "转账支票";
                    bank.settleNo = "ZZ" + std::to_string(30450000 + period * 100 + c.serviceDay);
                }
                bank.handler = cashier;
                v.entries.push_back(bank);
                out.push_back(v);
            }
            if (c.increasePeriod == period) {
                std::vector<Cents> increases = {c.increase};
                increases.insert(increases.end(), c.sameIncreases.begin(), c.sameIncreases.end());
                for (size_t n = 0; n < increases.size(); ++n) {
                    Voucher v;
                    v.period = period;
                    v.day = 15;
                    v.module = "FAT";
                    v.tag = tagOf(c.id, 2) + (n ? ":" + std::to_string(n) : "");
                    v.entries.push_back(entry("1601", increases[n], 0, c.name + "原值调增"));
                    Entry bank = entry("100201", 0, increases[n], c.name + "加装配件");
                    bank.settle = "转账支票";
                    bank.settleNo = "ZZ" + std::to_string(30460000 + period * 10 + static_cast<int>(n));
                    if (!n) bank.settleNo = "ZZ" + std::to_string(30460000 + period);
                    bank.handler = cashier;
                    v.entries.push_back(bank);
                    out.push_back(v);
                }
            }
            if (c.clearPeriod == period) {
                const AssetState &before = c.states[c.states.size() - 2];
                Voucher v;
                v.period = period;
                v.day = 20;
                v.module = "FAT";
                v.tag = tagOf(c.id, 10);
                if (before.accum) v.entries.push_back(entry("1602", before.accum, 0, c.name + "报废转销累计折旧"));
                v.entries.push_back(entry("6711", before.org - before.accum, 0, c.name + "报废净损失"));
                v.entries.push_back(entry("1601", 0, before.org, c.name + "报废"));
                out.push_back(v);
            }
            if (s.depr) {
                deprTotal += s.depr;
                if (!c.accounts.empty()) {
                    const auto parts = split(s.depr, c.accounts);
                    for (size_t i = 0; i < parts.size(); ++i) expense[{c.accounts[i].first, 0, ""}] += parts[i];
                } else if (c.expenseCls == 0) {
                    expense[{c.expenseAcct, 0, ""}] += s.depr;
                } else {
                    const auto parts = split(s.depr, s.depts);
                    for (size_t i = 0; i < parts.size(); ++i) expense[{c.expenseAcct, 2, s.depts[i].first}] += parts[i];
                }
            }
        }
    }
    if (deprTotal) {
        Voucher v;
        v.period = period;
        v.day = daysInMonth(ledger_.yearOf(period), ledger_.monthOf(period));
        v.module = "FD";
        v.tag = "fa-depr";
        for (const auto &[key, amount] : expense) {
            if (!amount) continue;
            Entry e = entry(std::get<0>(key), amount, 0, "计提本月固定资产折旧");
            e.cls = std::get<1>(key);
            e.obj = std::get<2>(key);
            v.entries.push_back(e);
        }
        v.entries.push_back(entry("1602", 0, deprTotal, "计提本月固定资产折旧"));
        out.push_back(v);
    }
    return out;
}

void FixedAssets::write(TableSet &set, const Ledger &ledger) const {
    for (const auto &g : kGroups)
        set.add("FAGroup")("FGroupID", integer(g.id))("FGroupName", g.name)("FDeprMethod", "1")("FSalvageRate", "500");
    for (const auto &m : kModes)
        set.add("FAAlter")("FAlterID", integer(m.id))("FAlterName", m.name)("FMode", integer(m.mode))(
            "FAcctID", m.acct)("FVchGroup", "记")("FExp", m.exp);
    std::map<std::string, const Voucher *> byTag;
    for (const auto &v : ledger.vouchers)
        if (!v.tag.empty()) byTag[v.tag] = &v;
    const std::string zero = "0.00";
    const std::string preparer = "王芳", checker = "陈静";
    int serial = 0, typeNum[11] = {};
    struct Alteration {
        int period, type;
        const AssetCard *card;
        int more = 0;  // 1, 2, ...: the card's further increases of its increase period
    };
    std::vector<Alteration> alterations;
    for (const auto &c : cards_) {
        const std::string service = date(c.serviceYear, c.serviceMonth, c.serviceDay);
        set.add("FACard")("FAssetID", c.id)("FAssetName", c.name)("FModel", c.model)("FUse", "经营用")(
            "FLocation", c.location)("FRemark", c.clearPeriod ? "报废前放在'" + c.location + "'" : "")(
            "FAlterID", integer(c.alterId))("FServiceDate", service)("FOrgValService", money(c.org))(
            "FDeprService", zero)("FUseBeforeService", "0")("FBeginUseDate", service)("FPeriodsBeforeService", "0")(
            "FJobUnit", c.totalWork ? "小时" : "")("FDeprAll", "0")("FFormularyType", "0")("FAssetAcID", "1601")("FDeprAcID", "1602")(
            "FTaxAmount", money(c.tax))("FProduceFactory", c.factory)(
            "FProduceDate", date(c.serviceYear, std::max(1, c.serviceMonth - 1), 1))("FDevalueService",
                                                                                     zero)("FDevalueAcID", "1603");
        if (c.addedPeriod == 0)
            set.add("FAInitBal")("FAssetID", c.id)("FDebitOrg", zero)("FCreditOrg", zero)("FDebitDepr", zero)(
                "FCreditDepr", zero)("FYtdDepr", zero)("FYtdDevalue", zero);
        for (const auto &s : c.states) {
            const std::string per = integer(s.period);
            set.add("FABal")("FPeriod", per)("FAssetID", c.id)("FOrgVal", money(s.org))("FAccumDepr", money(s.accum))(
                "FDepr", money(s.depr))("FDeprPerPeriod", money(s.monthly))("FDebitOrg", money(s.ytdDebitOrg))(
                "FCreditOrg", money(s.ytdCreditOrg))("FDebitDepr", money(s.ytdDepr))(
                "FCreditDepr", money(s.ytdCreditDepr))("FYtdDevalue", zero)("FAccumDevalue", zero)(
                "FGroupID", integer(c.group))("FStatus", "1")("FDeprMethod", c.totalWork ? "2" : "1")(
                "FLife", integer(c.life))(
                "FLifeA", integer(c.life))("FPeriods", integer(s.periodsDone))("FPeriodsA", integer(s.periodsDone))(
                "FSalvage", money(s.salvage))("FPost", c.clearedYear ? "2" : "0")("FFormularyType", "0")(
                "FYtdDebitOrg", money(s.ytdDebitOrg))("FYtdCreditOrg", money(s.ytdCreditOrg))(
                "FYtdDebitDepr", money(s.ytdDepr))("FYtdCreditDepr", money(s.ytdCreditDepr))(
                "FYtdDepr", money(s.ytdDepr))("FOrgValA", money(s.org))("FAccumDeprA", money(s.accum))(
                "FTaxAmount", money(c.tax))("FDevalue", zero)("FDebitDevalue", zero)("FCreditDevalue", zero)(
                "FYtdDebitDevalue", zero)("FYtdCreditDevalue", zero)("FYtdDevalue2", zero)("FAccumDevalue2", zero)(
                "FPreDevalue", zero)("FService", s.period == c.addedPeriod && c.addedPeriod ? "1" : "0");
            const auto shares = split(s.depr, s.depts);
            for (size_t i = 0; i < s.depts.size(); ++i)
                set.add("FABalDept")("FPeriod", per)("FAssetID", c.id)("FDeptClsID", "2")(
                    "FDeptObjID", s.depts[i].first)("FRate", number(s.depts[i].second, 4))("FDepr", money(shares[i]))(
                    "FDevalueRate", "0")("FDevalue", zero);
            if (!c.accounts.empty())
                for (const auto &a : c.accounts)
                    set.add("FABalExpense")("FPeriod", per)("FAssetID", c.id)("FExpenseAcctID", a.first)(
                        "FExpenseClsID", "0")("FExpenseObjID", "")("FRate", number(a.second, 4))("FDepr",
                                                                                                  money(s.depr));
            else if (c.expenseCls == 0)
                set.add("FABalExpense")("FPeriod", per)("FAssetID", c.id)("FExpenseAcctID", c.expenseAcct)(
                    "FExpenseClsID", "0")("FExpenseObjID", "")("FRate", "100")("FDepr", money(s.depr));
            else
                for (const auto &d : s.depts)
                    set.add("FABalExpense")("FPeriod", per)("FAssetID", c.id)("FExpenseAcctID", c.expenseAcct)(
                        "FExpenseClsID", "2")("FExpenseObjID", d.first)("FRate", number(d.second, 4))("FDepr",
                                                                                                      money(s.depr));
            if (c.usd)
                set.add("FABalFor")("FPeriod", per)("FAssetID", c.id)("FCyID", "USD")(
                    "FExchRate", number(ledger.usdRate[static_cast<size_t>(c.addedPeriod)], 4))(
                    "FOrgValFor", money(c.usd))("FOrgVal", money(c.org));
        }
        if (c.totalWork)
            for (const auto &s : c.states)
                if (s.period > 0)
                    set.add("FAJob")("FPeriod", integer(s.period))("FAssetID", c.id)(
                        "FJob", integer(c.work[static_cast<size_t>(s.period)]));
        if (c.addedPeriod) alterations.push_back({c.addedPeriod, 0, &c});
        if (c.increasePeriod) alterations.push_back({c.increasePeriod, 2, &c});
        for (size_t n = 0; n < c.sameIncreases.size(); ++n)
            alterations.push_back({c.increasePeriod, 2, &c, static_cast<int>(n) + 1});
        if (c.transferPeriod) alterations.push_back({c.transferPeriod, 2, &c});
        if (c.clearPeriod) alterations.push_back({c.clearPeriod, 10, &c});
    }
    std::stable_sort(alterations.begin(), alterations.end(),
                     [](const Alteration &a, const Alteration &b) { return a.period < b.period; });
    for (const auto &a : alterations) {
        const AssetCard &c = *a.card;
        const AssetState *s = nullptr;
        for (const auto &st : c.states)
            if (st.period == a.period) s = &st;
        const AssetState &before =
            a.period > c.addedPeriod ? c.states[static_cast<size_t>(a.period - c.addedPeriod - 1)] : *s;
        const bool transfer = a.type == 2 && a.period == c.transferPeriod && a.period != c.increasePeriod;
        const bool more = a.more > 0;
        int alterId = a.type == 0 ? c.alterId : a.type == 10 ? 6 : transfer ? 8 : 4;
        Cents org = 0, accum = 0, salvage = 0;
        int day = 15;
        if (a.type == 0) {
            org = c.org, salvage = salvageOf(c.org), day = c.serviceDay;
        } else if (a.type == 10) {
            org = -before.org, accum = -before.accum, salvage = -before.salvage, day = 20;
        } else if (more) {
            org = c.sameIncreases[static_cast<size_t>(a.more - 1)];
        } else if (!transfer) {
            // In the addition period the addition row holds the first salvage.
            org = c.increase, salvage = s->salvage - (a.period == c.addedPeriod ? salvageOf(c.org) : before.salvage);
        }
        const std::string tag =
            transfer ? "" : tagOf(c.id, a.type) + (more ? ":" + std::to_string(a.more) : std::string());
        const Voucher *v = tag.empty() || !byTag.count(tag) ? nullptr : byTag.at(tag);
        const int num = ++typeNum[a.type];
        const std::string per = integer(a.period), type = integer(a.type), tn = integer(num);
        set.add("FAVch")("FSerial", integer(++serial))("FDate", date(ledger.year(), a.period, day))("FPeriod", per)(
            "FType", type)("FTypeNum", tn)("FAssetID", c.id)("FGroup", v ? jet::Cell(*v->group) : std::nullopt)(
            "FNum", v ? jet::Cell(integer(v->num)) : std::nullopt)("FGroupID", integer(c.group))(
            "FAlterID", integer(alterId))("FStatus", "1")("FOrgVal", money(org))("FAccumDepr", money(accum))(
            "FSalvage", money(salvage))("FDeprMethod", "1")("FLife", integer(c.life))("FAdjType", "0")(
            "FAccumDevalue", zero)("FPreparer", preparer)("FChecker", checker)("FAdjAccumDepr", zero)(
            "FEnterDeprAlter", "0")("FPosted", "1")("FPoster", checker)("FTaxAmount", money(a.type == 0 ? c.tax : 0));
        for (const auto &d : s->depts)
            set.add("FAVchDept")("FPeriod", per)("FType", type)("FTypeNum", tn)("FAssetID", c.id)("FDeptClsID", "2")(
                "FDeptObjID", d.first)("FRate", number(d.second, 4))("FDevalueRate", "0");
        if (c.expenseCls == 0)
            set.add("FAVchExpense")("FPeriod", per)("FType", type)("FTypeNum", tn)("FAssetID", c.id)(
                "FExpenseAcctID", c.expenseAcct)("FExpenseClsID", "0")("FExpenseObjID", "")("FRate", "100");
        else
            for (const auto &d : s->depts)
                set.add("FAVchExpense")("FPeriod", per)("FType", type)("FTypeNum", tn)("FAssetID", c.id)(
                    "FExpenseAcctID", c.expenseAcct)("FExpenseClsID", "2")("FExpenseObjID",
                                                                           d.first)("FRate", number(d.second, 4));
        if (c.usd && a.type == 0)
            set.add("FAVchFor")("FPeriod", per)("FType", type)("FTypeNum", tn)("FAssetID", c.id)("FCyID", "USD")(
                "FExchRate", number(ledger.usdRate[static_cast<size_t>(a.period)], 4))("FOrgValFor", money(c.usd))(
                "FOrgVal", money(c.org));
    }
    // Devices attached to cards; names are unique across all cards.
    struct Device {
        const char *asset, *name, *model, *unit;
        Cents amount;
    };
    static const Device kDevices[] = {{"FA001", "中央空调系统", "大金 VRV", "套", 8500000},
                                      {"FA003", "UPS不间断电源", "山特 C3K", "台", 320000},
                                      {"FA003", "网络机柜", "图腾 42U", "个", 180000}};
    int row = 0;
    for (const auto &d : kDevices)
        for (const auto &c : cards_)
            if (c.id == d.asset)
                set.add("FAExtra")("FAssetID", c.id)("FRowID", integer(++row))("FName", d.name)("FModel", d.model)(
                    "FUnit", d.unit)("FQty", "1")("FAmount", money(d.amount));
}

}  // namespace samplegen
