#include "Items.h"

#include <set>

namespace samplegen {

namespace {

const char *const kCustomers[] = {"北京华联商贸有限公司", "杭州西湖文化用品公司", "南京金陵科技有限公司",
                                  "新加坡环宇贸易公司", "苏州工业园区采购中心"};
const char *const kSuppliers[] = {"深圳华强电子有限公司", "东莞龙腾办公设备厂", "上海晨光纸业有限公司",
                                  "宁波海天物流有限公司"};
const char *const kCities[] = {"上海", "北京", "广州", "深圳", "杭州", "南京", "苏州", "成都",
                               "武汉", "西安", "天津", "重庆", "长沙", "郑州", "合肥", "青岛"};
const char *const kTrades[] = {"商贸", "科技", "电子", "文化用品", "信息技术", "办公设备", "网络工程", "贸易"};

struct Staff {
    const char *code, *name, *dept;
    Cents base, allowance;
};

const Staff kStaff[] = {
    {"001", "张伟", "01", 1800000, 300000},   {"002", "陈静", "02", 1200000, 200000},
    {"003", "王芳", "02", 800000, 100000},    {"004", "李娜", "02", 650000, 80000},
    {"005", "刘洋", "0301", 1000000, 150000}, {"006", "赵磊", "0301", 600000, 80000},
    {"007", "孙丽", "0302", 600000, 80000},   {"008", "周杰", "04", 700000, 80000},
    {"009", "吴强", "05", 550000, 60000},     {"010", "郑敏", "0302", 580000, 80000},
};

const char *const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵",
                                 "吴", "周", "徐", "孙", "马", "朱", "胡", "郭"};
const char *const kGiven[] = {"伟", "芳",   "娜",   "敏", "静", "丽", "强", "磊",   "军", "洋",
                              "勇", "艳",   "杰",   "娟", "涛", "明", "超", "秀英", "霞", "平",
                              "刚", "桂英", "建华", "文", "辉", "玲", "鹏", "华",   "飞", "婷"};

std::string pad(int n, int width) {
    std::string s = std::to_string(n);
    while (static_cast<int>(s.size()) < width) s = "0" + s;
    return s;
}

void add(Ledger &l, int cls, const std::string &code, const std::string &name, const std::string &parent, int level,
         bool detail) {
    Item i;
    i.cls = cls;
    i.code = code;
    i.name = name;
    i.parent = parent;
    i.level = level;
    i.detail = detail;
    l.addItem(i);
}

}  // namespace

bool isSalesDept(const std::string &dept) { return dept.rfind("03", 0) == 0; }

void buildItems(Ledger &l, Rng &rng) {
    const Profile &p = l.profile;
    // Business units: customers under 01, suppliers under 02. The broad set
    // puts its customers a level lower, under 0101, the only child of 01.
    add(l, 1, "01", "客户", "", 1, false);
    add(l, 1, "02", "供应商", "", 1, false);
    const std::string customerGroup = p.broad ? "0101" : "01";
    if (p.broad) add(l, 1, customerGroup, "华东区客户", "01", 2, false);
    const int width = p.large ? 3 : 2;
    for (int i = 1; i <= p.customers; ++i) {
        std::string name = i <= 5
                               ? kCustomers[i - 1]
                               : std::string(kCities[i % 16]) + kTrades[(i / 16) % 8] + "有限公司" + std::to_string(i);
        add(l, 1, customerGroup + pad(i, width), name, customerGroup, p.broad ? 3 : 2, true);
    }
    for (int i = 1; i <= p.suppliers; ++i) {
        std::string name =
            i <= 4 ? kSuppliers[i - 1]
                   : std::string(kCities[(i + 5) % 16]) + kTrades[(i / 16 + 3) % 8] + "供应公司" + std::to_string(i);
        add(l, 1, "02" + pad(i, width), name, "02", 2, true);
    }
    // Departments, dotless codes.
    add(l, 2, "01", "总经理办公室", "", 1, true);
    add(l, 2, "02", "财务部", "", 1, true);
    add(l, 2, "03", "销售部", "", 1, false);
    add(l, 2, "0301", "华东销售组", "03", 2, true);
    add(l, 2, "0302", "华南销售组", "03", 2, true);
    add(l, 2, "04", "采购部", "", 1, true);
    add(l, 2, "05", "仓储物流部", "", 1, true);
    if (p.large) {
        static const char *const kRegions[] = {"华北", "华中", "西南", "西北", "东北", "海外"};
        for (int i = 0; i < 6; ++i)
            add(l, 2, "030" + std::to_string(i + 3), std::string(kRegions[i]) + "销售组", "03", 2, true);
        add(l, 2, "06", "技术服务部", "", 1, true);
        add(l, 2, "07", "人力资源部", "", 1, true);
    }
    // Employees: three-digit codes, never equal to a department code but in
    // the broad set.
    std::vector<std::string> depts;
    for (const auto *d : l.detailItems(2)) depts.push_back(d->code);
    std::set<std::string> names;  // cashier journals find handlers by name
    for (int i = 1; i <= p.employees; ++i) {
        Employee e;
        if (i <= 10) {
            const Staff &s = kStaff[i - 1];
            e = {s.code, s.name, s.dept, s.base, s.allowance};
            // The broad set numbers the warehouse keeper like his department.
            if (p.broad && e.code == "009") e.code = "05";
        } else {
            e.code = pad(i, 3);
            const int n = i - 11;
            e.name = std::string(kSurnames[n % 16]) + kGiven[(n / 16) % 30];
            if (n >= 16 * 30 || names.count(e.name)) e.name += std::to_string(n);
            e.dept = depts[static_cast<size_t>(rng.range(0, static_cast<int64_t>(depts.size()) - 1))];
            e.baseSalary = rng.range(45, 150) * 10000;
            e.allowance = rng.range(5, 20) * 5000;
        }
        names.insert(e.name);
        add(l, 3, e.code, e.name, "", 1, true);
        l.employees.push_back(e);
    }
    if (p.customClass()) {
        add(l, 4, "01", "硬件销售", "", 1, false);
        add(l, 4, "0101", "电脑配件销售", "01", 2, true);
        add(l, 4, "0102", "办公设备销售", "01", 2, true);
        add(l, 4, "02", "技术服务", "", 1, true);
    }
    if (p.broad) {
        // A second custom class, its properties of every Jet type; one code
        // holds a dot.
        add(l, 5, "01", "加工设备", "", 1, false);
        add(l, 5, "0101", "数控车床", "01", 2, true);
        add(l, 5, "01.02", "激光切割机", "01", 2, true);
        add(l, 5, "02", "检测设备", "", 1, true);
    }
}

}  // namespace samplegen
