#include "Business.h"

#include <algorithm>
#include <tuple>

#include "Chart.h"

namespace samplegen {

namespace {

// The overseas customer, who buys and pays in dollars: the fourth one ("0104"
// in the standard set); none without foreign currency.
std::string overseasCustomer(const Ledger &l) {
    const auto customers = l.detailItems(1, "01");
    return l.profile.foreignCurrency() && customers.size() > 3 ? customers[3]->code : std::string();
}

const char *const kPreparer = "王芳";
const char *const kCashierUser = "李娜";

}  // namespace

Business::Business(Ledger &ledger, Rng &rng, const Payroll &payroll, const FixedAssets *assets)
    : ledger_(ledger), rng_(rng), payroll_(payroll), assets_(assets) {
    stockAccounts_ = stockAccounts(ledger);
    for (const auto &o : ledger.openings) {
        if (o.qty) stock_[o.acct] += o.qty;
        postedBase_[o.acct] += o.base;
        if (o.cy == "USD") postedUsd_ += o.fcy;
    }
    for (const auto &i : ledger.openItems) {
        if (i.acct == "1122") receivables_.push_back({i.acct, i.obj, i.transId, i.bal});
        if (i.acct == "2202") payables_.push_back({i.acct, i.obj, i.transId, -i.bal});
    }
}

Entry Business::entry(const std::string &acct, Cents debit, Cents credit, const std::string &exp) const {
    Entry e;
    e.acct = acct;
    e.debit = debit;
    e.credit = credit;
    e.fcy = debit + credit;
    e.exp = exp;
    return e;
}

Entry Business::bank(Cents debit, Cents credit, const std::string &exp, const std::string &settle,
                     const std::string &handler) {
    Entry e = entry("100201", debit, credit, exp);
    e.settle = settle;
    if (settle == "转账支票" || settle == "现金支票")
        e.settleNo = (settle == "现金支票" ? "XJ" : "ZZ") + std::to_string(10234500 + ++counter_);
    else if (settle == "电汇")
        e.settleNo = "DH" + std::to_string(88001000 + ++counter_);
    e.handler = handler;
    return e;
}

std::string Business::seq(const char *prefix, int period) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s-%04d%02d-%04d", prefix, ledger_.yearOf(period), ledger_.monthOf(period),
                  ++counter_ % 10000);
    return buf;
}

int Business::entries(const std::vector<Voucher> &v) const {
    int n = 0;
    for (const auto &x : v) n += static_cast<int>(x.entries.size());
    return n;
}

Voucher Business::purchase(int period) {
    const auto suppliers = ledger_.detailItems(1, "02");
    const bool large = ledger_.profile.large;
    // The logistics supplier of the small set sells no goods.
    const Item *s = suppliers[static_cast<size_t>(
        rng_.range(0, std::max<int64_t>(0, static_cast<int64_t>(suppliers.size()) - (large ? 1 : 2))))];
    Voucher v;
    v.period = period;
    v.day = day();
    v.group = "转";
    v.attachments = 2;
    Cents net = 0;
    // A small company restocks what runs low; a large one buys across its range.
    std::vector<const Account *> goods;
    if (large) {
        goods.push_back(rng_.pick(stockAccounts_));
        if (rng_.chance(50)) goods.push_back(rng_.pick(stockAccounts_));
    } else {
        goods = stockAccounts_;
        std::stable_sort(goods.begin(), goods.end(),
                         [&](const Account *a, const Account *b) { return stock_[a->code] < stock_[b->code]; });
        goods.resize(2);
    }
    for (const Account *a : goods) {
        const long q = large ? rng_.range(5, 60) : std::max<long>(50, (300 - stock_[a->code]) / 10 * 10);
        Entry e = entry(a->code, q * a->stdCost, 0, "采购" + a->name);
        e.qty = q;
        e.price = a->stdCost;
        stock_[a->code] += q;
        net += e.debit;
        v.entries.push_back(e);
    }
    const Cents tax = percentOf(net, 13);
    v.entries.push_back(entry("22210101", tax, 0, "采购进项税额"));
    Entry ap = entry("2202", 0, net + tax, "应付" + s->name + "货款");
    ap.cls = 1;
    ap.obj = s->code;
    ap.transId = seq("CG", period);
    ap.due = true;
    payables_.push_back({"2202", s->code, ap.transId, net + tax});
    v.entries.push_back(ap);
    return v;
}

Voucher Business::sale(int period, const std::string &customer) {
    Voucher v;
    v.period = period;
    v.day = day();
    v.group = "转";
    v.attachments = 3;
    std::vector<Entry> revenue, cost;
    Cents net = 0;
    std::vector<const Account *> goods;
    if (ledger_.profile.large) {
        goods.push_back(rng_.pick(stockAccounts_));
        if (rng_.chance(50)) goods.push_back(rng_.pick(stockAccounts_));
    } else {
        goods.push_back(rng_.pick(stockAccounts_));
        const Account *second = goods[0];
        while (second == goods[0]) second = rng_.pick(stockAccounts_);
        goods.push_back(second);
    }
    for (const Account *a : goods) {
        long &onHand = stock_[a->code];
        if (onHand < 2) continue;
        const long q = std::min<long>(onHand / 2, ledger_.profile.large ? rng_.range(1, 40) : rng_.range(4, 16) * 10);
        onHand -= q;
        const Cents price = a->stdCost * 145 / 100;
        Entry r = entry("6001", 0, q * price, "销售" + a->name);
        if (ledger_.profile.customClass()) {
            r.cls = 4;
            r.obj = a->code.rfind("140501", 0) == 0 ? "0101" : "0102";
        }
        revenue.push_back(r);
        Entry c = entry(a->code, 0, q * a->stdCost, "结转" + a->name + "销售成本");
        c.qty = q;
        c.price = a->stdCost;
        cost.push_back(c);
        net += r.credit;
    }
    if (!net) return v;
    const Cents tax = percentOf(net, 13);
    Entry ar = entry("1122", net + tax, 0, "应收" + ledger_.item(1, customer)->name + "货款");
    ar.cls = 1;
    ar.obj = customer;
    ar.transId = seq("XS", period);
    ar.due = true;
    receivables_.push_back({"1122", customer, ar.transId, net + tax});
    v.entries.push_back(ar);
    for (auto &r : revenue) v.entries.push_back(r);
    v.entries.push_back(entry("22210102", 0, tax, "销项税额"));
    Cents costSum = 0;
    for (const auto &c : cost) costSum += c.credit;
    v.entries.push_back(entry("6401", costSum, 0, "结转销售成本"));
    for (auto &c : cost) v.entries.push_back(c);
    return v;
}

bool Business::receipt(int period, Voucher &v, bool dollars) {
    const std::string foreign = ledger_.profile.large ? "" : overseasCustomer(ledger_);
    for (size_t i = 0; i < receivables_.size(); ++i) {
        Open &o =
            receivables_[ledger_.profile.large ? (i + static_cast<size_t>(rng_.range(0, 3))) % receivables_.size() : i];
        if (o.amount < 10000 || (o.obj == foreign) != dollars) continue;  // residues of rounding stay open
        v.period = period;
        v.day = day();
        v.group = "收";
        v.attachments = 1;
        const std::string name = ledger_.item(1, o.obj)->name;
        Cents amount = rng_.chance(80) ? o.amount : o.amount / 2;
        if (dollars) {
            const double rate = ledger_.usdRate[static_cast<size_t>(std::min(period, 12))];
            Entry e = entry("100202", 0, 0, "收到" + name + "美元货款");
            e.cy = "USD";
            e.rate = rate;
            e.fcy = static_cast<Cents>(static_cast<double>(amount) / rate);
            e.debit = convert(e.fcy, rate);
            e.settle = "电汇";
            e.settleNo = "DH" + std::to_string(88001000 + ++counter_);
            e.handler = cashier();
            amount = e.debit;
            v.entries.push_back(e);
        } else {
            v.entries.push_back(
                bank(amount, 0, "收到" + name + "货款", rng_.chance(50) ? "电汇" : "转账支票", someone().name));
        }
        Entry ar = entry("1122", 0, amount, "收到" + name + "货款");
        ar.cls = 1;
        ar.obj = o.obj;
        ar.transId = o.transId;
        ar.due = true;
        v.entries.push_back(ar);
        o.amount = std::max<Cents>(0, o.amount - amount);
        return true;
    }
    return false;
}

bool Business::payment(int period, Voucher &v) {
    for (size_t i = 0; i < payables_.size(); ++i) {
        Open &o = payables_[ledger_.profile.large ? (i + static_cast<size_t>(rng_.range(0, 3))) % payables_.size() : i];
        if (o.amount <= 0) continue;
        v.period = period;
        v.day = day();
        v.group = "付";
        const std::string name = ledger_.item(1, o.obj)->name;
        Entry ap = entry("2202", o.amount, 0, "支付" + name + "货款");
        ap.cls = 1;
        ap.obj = o.obj;
        ap.transId = o.transId;
        ap.due = true;
        v.entries.push_back(ap);
        v.entries.push_back(bank(0, o.amount, "支付" + name + "货款", "转账支票", cashier()));
        o.amount = 0;
        return true;
    }
    return false;
}

Voucher Business::withdrawal(int period) {
    Voucher v;
    v.period = period;
    v.day = static_cast<int>(rng_.range(1, 5));
    v.group = "付";
    v.preparer = kCashierUser;
    const Cents amount = rng_.range(2, 6) * 100000;
    Entry cash = entry("1001", amount, 0, "提取备用金");
    cash.handler = cashier();
    v.entries.push_back(cash);
    v.entries.push_back(bank(0, amount, "提取备用金", "现金支票", cashier()));
    return v;
}

Voucher Business::expense(int period) {
    const Employee &e = someone();
    Voucher v;
    v.period = period;
    v.day = day();
    v.group = "付";
    v.preparer = kCashierUser;
    v.attachments = static_cast<int>(rng_.range(1, 4));
    const bool entertainment = rng_.chance(20);
    const Cents amount = rng_.range(50, 1500) * 100 + rng_.range(0, 99);
    const std::string entertainmentAccount = ledger_.hasAccount("6602050101") ? "6602050101" : "660205";
    Entry x = entry(entertainment ? entertainmentAccount : "660202", amount, 0,
                    entertainment ? "业务招待费" : e.name + "报销办公用品费");
    if (!entertainment) {
        x.cls = 2;
        x.obj = e.dept;
        x.empl = e.code;
    }
    v.entries.push_back(x);
    Entry cash = entry("1001", 0, amount, x.exp);
    cash.handler = e.name;
    v.entries.push_back(cash);
    return v;
}

void Business::travel(int period, std::vector<Voucher> &out) {
    if (!pendingTravel_.empty()) {
        const Employee *e = nullptr;
        for (const auto &x : ledger_.employees)
            if (x.code == pendingTravel_) e = &x;
        Voucher v;
        v.period = period;
        v.day = static_cast<int>(rng_.range(1, 10));
        v.group = "记";
        v.attachments = 6;
        const Cents spent = pendingAdvance_ - rng_.range(1, 40) * 1000;
        Entry x = entry("660203", spent, 0, e->name + "报销差旅费");
        x.cls = 2;
        x.obj = e->dept;
        x.empl = e->code;
        v.entries.push_back(x);
        Entry cash = entry("1001", pendingAdvance_ - spent, 0, e->name + "交回差旅费余款");
        cash.handler = e->name;
        v.entries.push_back(cash);
        Entry adv = entry("1221", 0, pendingAdvance_, e->name + "冲销借款");
        adv.cls = 3;
        adv.obj = e->code;
        v.entries.push_back(adv);
        out.push_back(v);
        pendingTravel_.clear();
        return;
    }
    const Employee &e = someone();
    Voucher v;
    v.period = period;
    v.day = static_cast<int>(rng_.range(11, 24));
    v.group = "付";
    v.preparer = kCashierUser;
    pendingAdvance_ = rng_.range(2, 8) * 100000;
    Entry adv = entry("1221", pendingAdvance_, 0, e.name + "借差旅费");
    adv.cls = 3;
    adv.obj = e.code;
    v.entries.push_back(adv);
    Entry cash = entry("1001", 0, pendingAdvance_, e.name + "借差旅费");
    cash.handler = e.name;
    v.entries.push_back(cash);
    out.push_back(v);
    pendingTravel_ = e.code;
}

void Business::periodVouchers(int period, std::vector<Voucher> &out) {
    const Profile &p = ledger_.profile;
    const bool current = period <= p.currPeriod;
    const auto customers = ledger_.detailItems(1, "01");
    if (current)
        for (auto &v : payroll_.vouchers(period)) out.push_back(v);
    if (current && assets_)
        for (auto &v : assets_->vouchers(period)) out.push_back(v);
    if (current && ledger_.profile.fixedAssets() == false) {
        // Without the fixed-asset module depreciation is booked by hand.
        Voucher v;
        v.period = period;
        v.day = daysInMonth(ledger_.yearOf(period), ledger_.monthOf(period));
        Entry x = entry("660204", 32500, 0, "计提本月折旧");
        x.cls = 2;
        x.obj = "01";
        v.entries.push_back(x);
        v.entries.push_back(entry("1602", 0, 32500, "计提本月折旧"));
        out.push_back(v);
    }
    // VAT of the month before.
    const Cents vat = -postedBase_["222102"];
    if (current && vat > 0) {
        Voucher v;
        v.period = period;
        v.day = 12;
        v.group = "付";
        v.entries.push_back(entry("222102", vat, 0, "缴纳上月增值税"));
        v.entries.push_back(bank(0, vat, "缴纳上月增值税", "网上银行", cashier()));
        out.push_back(v);
    }
    out.push_back(withdrawal(period));
    if (!p.large) {
        out.push_back(purchase(period));
        if (period == 5) out.back().entries[0].exp = "采购入库 单号 RK\\2025\\05";
        // Domestic customers buy every month; the overseas one every third month and pays in dollars.
        std::vector<const Item *> domestic;
        for (const Item *c : customers)
            if (c->code != overseasCustomer(ledger_)) domestic.push_back(c);
        for (int i = 0; i < 2; ++i) {
            const bool overseas = p.foreignCurrency() && i == 1 && period % 3 == 1;
            const std::string customer = overseas
                                             ? overseasCustomer(ledger_)
                                             : domestic[static_cast<size_t>(period * 2 + i) % domestic.size()]->code;
            Voucher v = sale(period, customer);
            if (v.entries.empty()) continue;
            if (period == 4 && i == 0) v.entries[0].exp = "应收货款（客户称'急单'，50% 预付）";
            out.push_back(v);
        }
        Voucher v;
        for (int i = 0; i < 3; ++i) {
            v = Voucher();
            if (receipt(period, v, false)) out.push_back(v);
            v = Voucher();
            if (i < 2 && payment(period, v)) out.push_back(v);
        }
        out.push_back(expense(period));
        if (period % 3 == 1) travel(period, out);
        if (p.foreignCurrency() && period % 3 == 2) {
            v = Voucher();
            if (receipt(period, v, true)) out.push_back(v);
        }
        if (p.foreignCurrency() && period % 2 == 1) {
            v = Voucher();
            v.period = period;
            v.day = day();
            v.group = "付";
            const double rate = ledger_.usdRate[static_cast<size_t>(std::min(period, 12))];
            Entry e = entry("100202", 0, 0, "中国银行外汇手续费");
            e.cy = "USD";
            e.rate = rate;
            e.fcy = 2500;
            e.credit = convert(e.fcy, rate);
            e.settle = "电汇";
            e.handler = cashier();
            v.entries.push_back(entry("660302", e.credit, 0, "中国银行外汇手续费"));
            v.entries.push_back(e);
            out.push_back(v);
        }
        if (period % 3 == 0) {
            v = Voucher();
            v.period = period;
            v.day = 21;
            v.group = "收";
            const Cents interest = rng_.range(200, 900) * 100 + rng_.range(0, 99);
            v.entries.push_back(bank(interest, 0, "收到本季度存款利息", "网上银行", cashier()));
            v.entries.push_back(entry("660301", 0, interest, "收到本季度存款利息"));
            out.push_back(v);
        }
        if (period % 4 == 2) {  // freight billed by the logistics supplier
            v = Voucher();
            v.period = period;
            v.day = day();
            v.group = "转";
            const Item *s = ledger_.detailItems(1, "02").back();
            const Cents freight = rng_.range(8, 30) * 10000;
            v.entries.push_back(entry("660103", freight, 0, "本月运输费"));
            Entry ap = entry("2202", 0, freight, "应付" + s->name + "运输费");
            ap.cls = 1;
            ap.obj = s->code;
            ap.transId = seq("YF", period);
            ap.due = true;
            payables_.push_back({"2202", s->code, ap.transId, freight});
            v.entries.push_back(ap);
            out.push_back(v);
        }
        if (period % 2 == 0) {
            v = Voucher();
            v.period = period;
            v.day = day();
            v.group = "付";
            const Cents ad = rng_.range(5, 20) * 100000;
            v.entries.push_back(entry("660102", ad, 0, "支付网络推广费"));
            v.entries.push_back(bank(0, ad, "支付网络推广费", "电汇", cashier()));
            out.push_back(v);
        }
        return;
    }
    // A large set: random business until the period's share of voucher rows is reached.
    const int target = p.voucherEntries / p.lastVoucherPeriod();
    while (entries(out) < target) {
        const int kind = static_cast<int>(rng_.range(0, 9));
        Voucher v;
        if (kind <= 2) {
            v = purchase(period);
        } else if (kind <= 5) {
            v = sale(period, rng_.pick(customers)->code);
        } else if (kind == 6) {
            if (!receipt(period, v, false)) continue;
        } else if (kind == 7) {
            if (!payment(period, v)) continue;
        } else {
            v = expense(period);
        }
        if (!v.entries.empty()) out.push_back(v);
    }
}

void Business::closing(int period, std::vector<Voucher> &out) {
    const int lastDay = daysInMonth(ledger_.yearOf(period), ledger_.monthOf(period));
    // VAT of the month carried to 未交增值税.
    Cents input = 0, output = 0;
    for (const auto &v : out)
        if (v.posted)
            for (const auto &e : v.entries) {
                if (e.acct == "22210101") input += e.debit - e.credit;
                if (e.acct == "22210102") output += e.credit - e.debit;
            }
    if (input || output) {
        Voucher v;
        v.period = period;
        v.day = lastDay;
        v.group = "转";
        if (output) v.entries.push_back(entry("22210102", output, 0, "结转本月销项税额"));
        if (input) v.entries.push_back(entry("22210101", 0, input, "结转本月进项税额"));
        const Cents due = output - input;
        if (due > 0) v.entries.push_back(entry("222102", 0, due, "结转本月未交增值税"));
        if (due < 0) v.entries.push_back(entry("222102", -due, 0, "结转本月留抵增值税"));
        v.posted = v.checked = true;
        post(v);
        out.push_back(v);
    }
    // Exchange-rate adjustment of the dollar account at the next period's rate.
    if (ledger_.profile.foreignCurrency() && period < 12) {
        RateAdjustment adj;
        adj.period = period;
        adj.begRate = ledger_.usdRate[static_cast<size_t>(period)];
        adj.endRate = ledger_.usdRate[static_cast<size_t>(period + 1)];
        adj.balFor = postedUsd_;
        adj.balBase = postedBase_["100202"];
        adj.balAdj = convert(adj.balFor, adj.endRate);
        ledger_.adjustments.push_back(adj);
        const Cents diff = adj.balAdj - adj.balBase;
        if (diff) {
            Voucher v;
            v.period = period;
            v.day = lastDay;
            v.tag = "rate-adjustment";
            Entry e = entry("100202", diff > 0 ? diff : 0, diff < 0 ? -diff : 0, "期末调汇");
            e.cy = "USD";
            e.rate = adj.endRate;
            e.fcy = 0;
            v.entries.push_back(e);
            v.entries.push_back(entry("660303", diff < 0 ? -diff : 0, diff > 0 ? diff : 0, "期末调汇"));
            v.posted = v.checked = true;
            post(v);
            out.push_back(v);
        }
    }
    // Profit and loss of the period to 本年利润, item by item.
    std::map<std::tuple<std::string, int, std::string, std::string, std::string, std::string>, Cents> pnl;
    for (const auto &v : out)
        if (v.posted)
            for (const auto &e : v.entries)
                if (e.acct[0] == '6') pnl[{e.acct, e.cls, e.obj, e.cust, e.dept, e.empl}] += e.debit - e.credit;
    Voucher v;
    v.period = period;
    v.day = lastDay;
    v.group = "转";
    v.closing = true;
    Cents profit = 0;
    for (const auto &[key, bal] : pnl) {
        if (!bal) continue;
        Entry e = entry(std::get<0>(key), bal < 0 ? -bal : 0, bal > 0 ? bal : 0, "结转本期损益");
        e.cls = std::get<1>(key);
        e.obj = std::get<2>(key);
        e.cust = std::get<3>(key);
        e.dept = std::get<4>(key);
        e.empl = std::get<5>(key);
        v.entries.push_back(e);
        profit -= bal;
    }
    if (v.entries.empty()) return;
    v.entries.push_back(entry("4103", profit < 0 ? -profit : 0, profit > 0 ? profit : 0, "结转本期损益"));
    v.posted = v.checked = true;
    post(v);
    out.push_back(v);
}

void Business::post(const Voucher &v) {
    for (const auto &e : v.entries) {
        postedBase_[e.acct] += e.debit - e.credit;
        if (e.cy == "USD") postedUsd_ += e.debit ? e.fcy : -e.fcy;
    }
}

void Business::finalize(int period, std::vector<Voucher> &vs) {
    const Profile &p = ledger_.profile;
    for (auto &v : vs) {
        if (v.preparer.empty()) v.preparer = kPreparer;
        if (period < p.currPeriod) {
            v.checked = v.posted = true;
        } else if (period == p.currPeriod) {
            // The open period: module vouchers are posted, late business is still being checked.
            const bool late = v.tag.empty() && v.module.empty() && v.day >= 25;
            v.posted = !late;
            v.checked = !late || v.day <= 27;
        } else {
            v.posted = false;
            v.checked = v.day <= 10;
        }
    }
    // A voucher entered twice and deleted, and in the open period two without a group.
    if (period == 6 || period == 9 || (p.large && period % 12 == 6)) {
        for (const auto &v : vs)
            if (v.group && *v.group == "付" && v.tag.empty()) {
                Voucher d = v;
                d.deleted = true;
                d.checked = d.posted = false;
                d.day = std::min(28, d.day + 1);
                d.entries[0].exp = "重复录入，作废";
                vs.push_back(d);
                break;
            }
    }
    if (period == p.currPeriod && !p.large) {
        Voucher a = expense(period), b = expense(period);
        a.day = 26;
        b.day = 29;
        a.group = std::nullopt;
        b.group = std::string();
        a.checked = a.posted = b.checked = b.posted = false;
        a.entries[0].exp = "未选凭证字的报销单";
        b.entries[0].exp = "凭证字为空的报销单";
        vs.push_back(a);
        vs.push_back(b);
    }
    if (p.broad && !p.large) broadShapes(period, vs);
    for (const auto &v : vs)
        if (v.posted) post(v);
}

void Business::broadShapes(int period, std::vector<Voucher> &vs) {
    const Profile &p = ledger_.profile;
    // Stock revalued without moving a quantity: the source marks such entries
    // with the quantity -1 ("none"), on either side.
    if (period == 3 || period == 5) {
        const bool up = period == 3;
        Voucher v;
        v.period = period;
        v.day = 27;
        v.group = "转";
        Entry stock = entry(up ? "14050101" : "14050102", up ? 12000 : 0, up ? 0 : 8000,
                            up ? "内存条调增成本" : "固态硬盘调减成本");
        stock.qty = -1;
        v.entries.push_back(stock);
        v.entries.push_back(entry("6401", up ? 0 : 8000, up ? 12000 : 0, up ? "存货成本调整" : "存货成本调整"));
        v.checked = v.posted = period < p.currPeriod;
        v.preparer = "王芳";
        vs.push_back(v);
    }
    // Interest on the yen loan, accrued in yen (local = yen / rate).
    if (period == 4 || period == 8) {
        Voucher v;
        v.period = period;
        v.day = 28;
        v.group = "转";
        v.entries.push_back(entry("660301", 50000, 0, "计提日元借款利息"));
        Entry loan = entry("2001", 0, 50000, "计提日元借款利息");
        loan.cls = 4;
        loan.obj = yenProject(ledger_);
        loan.cy = "JPY";
        loan.rate = 20;
        loan.fcy = 1000000;
        v.entries.push_back(loan);
        v.checked = v.posted = period < p.currPeriod;
        v.preparer = "王芳";
        vs.push_back(v);
    }
    // In the open period a third group-less voucher, its group all blanks,
    // numbered like the empty-group one.
    if (period == p.currPeriod) {
        Voucher c = expense(period);
        c.day = 30;
        c.group = std::string("   ");
        c.checked = c.posted = false;
        c.entries[0].exp = "凭证字为空格的报销单";
        vs.push_back(c);
    }
}

void Business::run() {
    const Profile &p = ledger_.profile;
    for (int period = 1; period <= p.lastVoucherPeriod(); ++period) {
        std::vector<Voucher> vs;
        periodVouchers(period, vs);
        std::stable_sort(vs.begin(), vs.end(), [](const Voucher &a, const Voucher &b) { return a.day < b.day; });
        finalize(period, vs);
        if (period < p.currPeriod) closing(period, vs);
        for (auto &v : vs)
            if (v.preparer.empty()) v.preparer = kPreparer;
        std::stable_sort(vs.begin(), vs.end(), [](const Voucher &a, const Voucher &b) { return a.day < b.day; });
        std::map<std::string, long> numbers;
        long serial = 0;
        for (auto &v : vs) {
            v.serial = ++serial;
            v.num = ++numbers[v.group ? *v.group : std::string("\x01")];
            for (auto &e : v.entries)
                if (v.preparer == kCashierUser && e.handler.empty() &&
                    (e.acct == "1001" || e.acct.rfind("1002", 0) == 0))
                    e.handler = cashier();
        }
        for (auto &v : vs) ledger_.vouchers.push_back(std::move(v));
    }
}

}  // namespace samplegen
