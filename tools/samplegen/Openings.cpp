#include "Openings.h"

#include "Chart.h"

namespace samplegen {

namespace {

void amount(Ledger &l, const std::string &acct, Cents debitPositive, int cls = 0, const std::string &obj = "") {
    Opening o;
    o.acct = acct;
    o.cls = cls;
    o.obj = obj;
    o.fcy = debitPositive;
    o.base = debitPositive;
    l.openings.push_back(o);
}

void openItem(Ledger &l, const std::string &acct, const std::string &obj, const std::string &id, const std::string &day,
              Cents debitPositive) {
    l.openItems.push_back({acct, obj, id, day, debitPositive});
    amount(l, acct, debitPositive, 1, obj);
}

}  // namespace

void buildOpenings(Ledger &l, Rng &rng, const Payroll &payroll, const FixedAssets *assets) {
    const Profile &p = l.profile;
    const int prev = p.year - 1;
    const Cents scale = p.large ? 20 : 1;
    amount(l, "1001", 856000);
    amount(l, "100201", 225680000 * scale);
    if (p.foreignCurrency()) {
        Opening o;
        o.acct = "100202";
        o.cy = "USD";
        o.fcy = 5000000;
        o.base = convert(o.fcy, l.usdRate[1]);
        l.openings.push_back(o);
    }
    if (p.broad && !p.large) {
        // Yen at 20 yen a yuan, the rate dividing.
        Opening o;
        o.acct = "2001";
        o.cls = 4;
        o.obj = yenProject(l);
        o.cy = "JPY";
        o.fcy = -200000000;
        o.base = o.fcy / 20;
        l.openings.push_back(o);
    }
    auto customers = l.detailItems(1, "01");
    auto suppliers = l.detailItems(1, "02");
    if (!p.large) {
        auto at = [](const std::vector<const Item *> &v, size_t i) { return v[i % v.size()]; };
        openItem(l, "1122", at(customers, 0)->code, "XS-" + std::to_string(prev) + "-1203", date(prev, 12, 3), 8000000);
        openItem(l, "1122", at(customers, 0)->code, "XS-" + std::to_string(prev) + "-1218", date(prev, 12, 18),
                 4000000);
        openItem(l, "1122", at(customers, 1)->code, "XS-" + std::to_string(prev) + "-1122", date(prev, 11, 22),
                 6540000);
        openItem(l, "2203", at(customers, 2)->code, "YS-" + std::to_string(prev) + "-1209", date(prev, 12, 9),
                 -3000000);
        openItem(l, "1122", at(customers, 3)->code, "XS-" + std::to_string(prev) + "-1225", date(prev, 12, 25),
                 5680000);
        openItem(l, "1122", at(customers, 4)->code, "XS-" + std::to_string(prev) + "-1229", date(prev, 12, 29),
                 2300000);
        openItem(l, "1123", at(suppliers, 0)->code, "YF-" + std::to_string(prev) + "-1215", date(prev, 12, 15),
                 2000000);
        openItem(l, "2202", at(suppliers, 1)->code, "CG-" + std::to_string(prev) + "-1210", date(prev, 12, 10),
                 -8600000);
        openItem(l, "2202", at(suppliers, 2)->code, "CG-" + std::to_string(prev) + "-1220", date(prev, 12, 20),
                 -4520000);
        openItem(l, "2202", at(suppliers, 3)->code, "CG-" + std::to_string(prev) + "-1226", date(prev, 12, 26),
                 -1260000);
        amount(l, "1221", 500000, 3, "006");
    } else {
        int n = 0;
        for (const auto *c : customers) {
            ++n;
            openItem(l, "1122", c->code, "XS-" + std::to_string(prev) + "-" + std::to_string(n),
                     date(prev, 12, 1 + n % 28), rng.range(50, 2000) * 10000);
        }
        for (const auto *s : suppliers) {
            ++n;
            openItem(l, "2202", s->code, "CG-" + std::to_string(prev) + "-" + std::to_string(n),
                     date(prev, 12, 1 + n % 28), -rng.range(50, 2000) * 10000);
        }
    }
    for (const auto *a : stockAccounts(l)) {
        Opening o;
        o.acct = a->code;
        o.qty = p.large ? rng.range(50, 400) : 100 + static_cast<long>(a->code.back() - '0') * 40;
        o.fcy = o.base = o.qty * a->stdCost;
        l.openings.push_back(o);
    }
    if (assets) {
        amount(l, "1601", assets->openingOrg());
        amount(l, "1602", -assets->openingAccum());
    } else {
        amount(l, "1601", 8500000);
        amount(l, "1602", -2340000);
    }
    amount(l, "2241",
           -(payroll.total(0, &PayLine::pension) + payroll.total(0, &PayLine::medical) +
             payroll.total(0, &PayLine::housing)));
    amount(l, "222103", -payroll.total(0, &PayLine::tax));
    amount(l, "222102", -1850000 * scale);
    amount(l, "4001", -200000000 * scale);
    Cents sum = 0;
    for (const auto &o : l.openings) sum += o.base;
    amount(l, "410401", -sum);
}

}  // namespace samplegen
