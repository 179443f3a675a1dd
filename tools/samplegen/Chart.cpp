#include "Chart.h"

#include <algorithm>

namespace samplegen {

namespace {

// Account groups: 101/102 current and non-current assets, 201/202 liabilities,
// 401 equity, 600 profit and loss.
struct Row {
    const char *code;
    const char *name;
    int group;
    const char *flags;  // D/C side; c cash, b bank, j journal, t transactions, a rate adjustment
    int cls;
    const char *forCy;
};

const Row kBase[] = {
    {"1001", "库存现金", 101, "Dcj", 0, ""},
    {"1002", "银行存款", 101, "D", 0, ""},
    {"100201", "工商银行浦东支行", 101, "Dbj", 0, ""},
    {"100202", "中国银行美元户", 101, "Dbja", 0, "USD"},
    {"1012", "其他货币资金", 101, "D", 0, ""},
    {"1122", "应收账款", 101, "Dt", 1, ""},
    {"1123", "预付账款", 101, "Dt", 1, ""},
    {"1221", "其他应收款", 101, "D", 3, ""},
    {"1405", "库存商品", 101, "D", 0, ""},
    {"1601", "固定资产", 102, "D", 0, ""},
    {"1602", "累计折旧", 102, "C", 0, ""},
    {"1603", "固定资产减值准备", 102, "C", 0, ""},
    {"2202", "应付账款", 201, "Ct", 1, ""},
    {"2203", "预收账款", 201, "Ct", 1, ""},
    {"2211", "应付职工薪酬", 201, "C", 0, ""},
    {"221101", "工资", 201, "C", 0, ""},
    {"221102", "职工福利", 201, "C", 0, ""},
    {"2221", "应交税费", 201, "C", 0, ""},
    {"222101", "应交增值税", 201, "C", 0, ""},
    {"22210101", "进项税额", 201, "C", 0, ""},
    {"22210102", "销项税额", 201, "C", 0, ""},
    {"222102", "未交增值税", 201, "C", 0, ""},
    {"222103", "应交个人所得税", 201, "C", 0, ""},
    {"2241", "其他应付款", 201, "C", 0, ""},
    {"4001", "实收资本", 401, "C", 0, ""},
    {"4103", "本年利润", 401, "C", 0, ""},
    {"4104", "利润分配", 401, "C", 0, ""},
    {"410401", "未分配利润", 401, "C", 0, ""},
    {"6001", "主营业务收入", 600, "C", 4, ""},
    {"6051", "其他业务收入", 600, "C", 0, ""},
    {"6401", "主营业务成本", 600, "D", 0, ""},
    {"6403", "税金及附加", 600, "D", 0, ""},
    {"6601", "销售费用", 600, "D", 0, ""},
    {"660101", "工资", 600, "D", 2, ""},
    {"660102", "广告费", 600, "D", 0, ""},
    {"660103", "运输费", 600, "D", 0, ""},
    {"660104", "折旧费", 600, "D", 0, ""},
    {"6602", "管理费用", 600, "D", 0, ""},
    {"660201", "工资", 600, "D", 2, ""},
    {"660202", "办公费", 600, "D", 2, ""},
    {"660203", "差旅费", 600, "D", 2, ""},
    {"660204", "折旧费", 600, "D", 2, ""},
    {"660205", "业务招待费", 600, "D", 0, ""},
    {"6603", "财务费用", 600, "D", 0, ""},
    {"660301", "利息收入", 600, "D", 0, ""},
    {"660302", "手续费", 600, "D", 0, ""},
    {"660303", "汇兑损益", 600, "D", 0, ""},
    {"6711", "营业外支出", 600, "D", 0, ""},
};

struct Stock {
    const char *code;
    const char *name;
    const char *unit;
    Cents cost;
};

const Stock kStock[] = {
    {"140501", "电脑配件", "", 0},         {"14050101", "内存条", "条", 48000},
    {"14050102", "固态硬盘", "块", 65000}, {"14050103", "无线键鼠套装", "套", 15900},
    {"140502", "办公设备", "", 0},         {"14050201", "激光打印机", "台", 268000},
    {"14050202", "复印纸", "箱", 13500},   {"14050203", "碎纸机", "台", 98000},
};

bool has(const char *flags, char f) { return std::string(flags).find(f) != std::string::npos; }

int levelOf(const std::string &code) { return code.size() <= 4 ? 1 : code.size() <= 6 ? 2 : code.size() <= 8 ? 3 : 4; }

}  // namespace

void buildChart(Ledger &ledger, Rng &rng) {
    const Profile &p = ledger.profile;
    for (const auto &r : kBase) {
        if (!p.foreignCurrency() && std::string(r.code) == "100202") continue;
        if (!p.fixedAssets() && std::string(r.code) == "1603") continue;
        Account a;
        a.code = r.code;
        a.name = r.name;
        a.level = levelOf(a.code);
        a.group = r.group;
        a.debitSide = has(r.flags, 'D');
        a.cash = has(r.flags, 'c');
        a.bank = has(r.flags, 'b');
        a.journal = has(r.flags, 'j');
        a.trans = has(r.flags, 't');
        a.rateAdj = has(r.flags, 'a');
        a.forCy = r.forCy;
        a.cls = r.cls;
        if (a.cls == 4 && !p.customClass()) a.cls = 0;
        ledger.addAccount(a);
    }
    // Office and travel expenses are kept by department and by employee.
    for (const char *code : {"660202", "660203"}) {
        Account &a = ledger.accounts[ledger.accountIndex.at(code)];
        a.multi = true;
        a.extraEmpl = true;
    }
    for (const auto &s : kStock) {
        Account a;
        a.code = s.code;
        a.name = s.name;
        a.level = levelOf(a.code);
        a.group = 101;
        a.qty = a.level == 3;
        a.unit = s.unit;
        a.stdCost = s.cost;
        ledger.addAccount(a);
    }
    // Entertainment kept on a fourth level (the 4-3-3-2 codes' last two
    // digits).
    if (p.broad && !p.large) {
        const char *const levels[][2] = {
            {"66020501", "招待费用"}, {"6602050101", "客户接待"}, {"6602050102", "内部招待"}};
        for (const auto &l : levels) {
            Account a;
            a.code = l[0];
            a.name = l[1];
            a.level = levelOf(a.code);
            ledger.addAccount(a);
        }
    }
    // A loan kept in yen, a currency whose rate divides ("/": local amount =
    // yen / rate), by project, with rate adjustments per project.
    if (p.broad && !p.large) {
        Account a;
        a.code = "2001";
        a.name = "短期借款";
        a.level = 1;
        a.group = 201;
        a.debitSide = false;
        a.forCy = "JPY";
        a.cls = 4;
        a.rateAdj = true;
        ledger.addAccount(a);
    }
    // A large chart: more stock lines and more expense leaves, up to the target size.
    static const char *const kGoods[] = {"显示器",   "路由器", "交换机", "墨盒",      "硒鼓",   "U盘",
                                         "移动硬盘", "摄像头", "耳机",   "投影仪",    "扫描仪", "电源",
                                         "机箱",     "网线",   "鼠标垫", "笔记本支架"};
    static const char *const kUnits[] = {"台", "个", "盒", "箱", "套", "件"};
    int category = 3;
    while (static_cast<int>(ledger.accounts.size()) < p.accounts && category <= 99) {
        Account parent;
        parent.code = "1405" + std::string(category < 10 ? "0" : "") + std::to_string(category);
        parent.name = "商品类别" + std::to_string(category);
        parent.level = 2;
        ledger.addAccount(parent);
        for (int i = 1; i <= 60 && static_cast<int>(ledger.accounts.size()) < p.accounts; ++i) {
            Account a;
            a.code = parent.code + (i < 10 ? "0" : "") + std::to_string(i);
            a.name =
                std::string(kGoods[(category * 7 + i) % 16]) + "-" + std::to_string(category) + "-" + std::to_string(i);
            a.level = 3;
            a.qty = true;
            a.unit = kUnits[(category + i) % 6];
            a.stdCost = rng.range(20, 3000) * 100;
            ledger.addAccount(a);
        }
        ++category;
    }
    // Parents are detail no more once they have children.
    for (auto &a : ledger.accounts) {
        a.detail = true;
        if (a.level > 1) {
            const std::string parent = a.code.substr(0, a.level == 2 ? 4 : a.level == 3 ? 6 : 8);
            Account &pa = ledger.accounts[ledger.accountIndex.at(parent)];
            pa.detail = false;
            a.group = pa.group;
            a.debitSide = pa.debitSide;
        }
    }
    for (auto &a : ledger.accounts)
        if (!a.detail) a.cls = 0;
    std::sort(ledger.accounts.begin(), ledger.accounts.end(),
              [](const Account &x, const Account &y) { return x.code < y.code; });
    ledger.accountIndex.clear();
    for (size_t i = 0; i < ledger.accounts.size(); ++i) ledger.accountIndex[ledger.accounts[i].code] = i;
}

std::vector<const Account *> stockAccounts(const Ledger &ledger) {
    std::vector<const Account *> out;
    for (const auto &a : ledger.accounts)
        if (a.qty) out.push_back(&a);
    return out;
}

}  // namespace samplegen
