#include "BaseData.h"

#include <vector>

#include "Schema.h"

namespace samplegen {

namespace {

const char *flag(bool b) { return b ? "1" : "0"; }

std::string fullPath(const Ledger &l, const Item &i) {
    std::string codes = i.code;
    for (const Item *p = l.item(i.cls, i.parent); p; p = l.item(p->cls, p->parent)) codes = p->code + codes;
    return std::to_string(i.cls) + "*" + codes;
}

// The department an employee's record names: in the broad set the head of
// the first sales group (005) is recorded in the whole sales department,
// which is no detail department.
std::string recordedDept(const Ledger &l, const Employee &e) {
    const Item *dept = l.item(2, e.dept);
    return e.code == "005" && dept && !dept->parent.empty() ? dept->parent : e.dept;
}

// The GLObj row of an item.
void addObj(TableSet &set, const Item &i, const std::string &path) {
    set.add("GLObj")("FClsID", integer(i.cls))("FObjID", i.code)("FObjName", i.name)(
        "FParentID", i.parent.empty() ? std::nullopt : jet::Cell(i.parent))("FLevel", integer(i.level))(
        "FDetail", flag(i.detail))("FDeleted", "0")("FFullPath", path);
}

}  // namespace

void writeOptions(TableSet &set, const Ledger &l) {
    const Profile &p = l.profile;
    const bool std15 = p.standard();
    auto row = set.add("GLPref");
    row("FProgramVersion", std15 ? "15" : "1")("FDBVersion", "910")("LastAppWriterID",
                                                                    std15 ? "201310315" : "201300129")("FClosed", "1")(
        "FICClosed", flag(std15))("FPeriodsPerYear", "12")("FStartYear", integer(p.startYear()))("FStartPeriod", integer(p.startPeriod()))(
        "FCurrYear", integer(p.year))("FCurrPeriod", integer(p.currPeriod))("FDaysPerPeriod", "30")("FBaseCy", "RMB")(
        "FAcctYearBeginMonth", "1")("FAcctYearBeginDay", "1")("FCompany", p.broad ? "苏州澄远机电有限公司"
                                                                          : std15 ? "上海岫川商贸有限公司"
                                                                                  : "杭州小禾文具店")(
        "FPhone", std15 ? "021-58881234" : "0571-86653321")("FAddress", std15 ? "上海市浦东新区张江路1688号"
                                                                              : "杭州市西湖区文三路99号")(
        "FTax", std15 ? "91310115MA1H8K2X3Q" : std::optional<std::string>())(
        "FBank", std15 ? "中国工商银行上海张江支行 1001 2345 0900 1234 567"
                       : "")("FAisNo", std15 ? "001" : "002")("FCoType", "22")("FPeriodByMonth", "-1")(
        "FDeprMade", flag(p.fixedAssets() && !p.emptyCurrent));
    // Cumulative code lengths of the levels.
    const std::vector<int> lengths = p.wideCodes() ? std::vector<int>{4, 7, 10, 12} : std::vector<int>{4, 6, 8};
    row("FACLevels", integer(static_cast<long>(lengths.size())));
    for (size_t i = 1; i <= 10; ++i)
        row("FACLen" + std::to_string(i), integer(i <= lengths.size() ? lengths[i - 1] : 0));
    row("FCashAc", "1001")("FBankAc", "1002")("FBankCheck", flag(p.cashier()))(
        "FTRClosedDate",
        p.cashier() ? jet::Cell(date(p.year, p.currPeriod - 1, daysInMonth(p.year, p.currPeriod - 1))) : std::nullopt);
    for (int m = 1; m <= 12; ++m)
        set.add("GLPeriod")("FYear", integer(p.year))("FPeriod", integer(m))("FStartDate", date(p.year, m, 1))(
            "FEndDate", date(p.year, m, daysInMonth(p.year, m)));
}

void writeLists(TableSet &set, const Ledger &l) {
    const Profile &p = l.profile;
    const char *groups[][2] = {{"0", "系统管理员组"}, {"1", "缺省组"}, {"2", "财务会计组"}, {"3", "出纳组"}};
    for (const auto &g : groups) set.add("GLUserGroup")("FUserGroupID", g[0])("FUserGroupName", g[1]);
    const char *users[][3] = {
        {"manager", "312", "0"}, {"陈静", "313", "2"}, {"王芳", "314", "2"}, {"李娜", "315", "3"}};
    for (const auto &u : users) set.add("SysUsers")("FUser", u[0])("FUID", u[1])("FUserGroupID", u[2]);

    set.add("GLCy")("FCyID", "*")("FCyName", "所有币别")("FOper", "*")("FBegRate", "1");
    set.add("GLCy")("FCyID", "RMB")("FCyName", "人民币")("FOper", "*")("FBegRate", "1");
    if (p.foreignCurrency()) {
        set.add("GLCy")("FCyID", "USD")("FCyName", "美元")("FOper", "*")("FBegRate", number(l.usdRate[1], 4));
        set.add("GLCy")("FCyID", "HKD")("FCyName", "港币")("FOper", "*")("FBegRate", "0.912");
        for (int m = 1; m <= p.currPeriod; ++m)
            set.add("GLRate")("FCyID", "USD")("FPeriod", integer(m))("FBegRate",
                                                                     number(l.usdRate[static_cast<size_t>(m)], 4));
        for (int m = 1; m <= p.currPeriod; ++m)
            set.add("GLRate")("FCyID", "HKD")("FPeriod", integer(m))("FBegRate", "0.912");
        if (p.broad && !p.large) {
            set.add("GLCy")("FCyID", "JPY")("FCyName", "日元")("FOper", "/")("FBegRate", "20");
            for (int m = 1; m <= p.currPeriod; ++m)
                set.add("GLRate")("FCyID", "JPY")("FPeriod", integer(m))("FBegRate", "20");
        }
    }

    // 转账 vouchers must not touch cash; the other restrictions stay empty.
    set.add("GLVchGroup")("FGroup", "记")("FOrder", "1");
    set.add("GLVchGroup")("FGroup", "收")("FDRange", "")("FCRange", "")("FDCRange", "")("FNDRange", "")("FNCRange", "")(
        "FNDCRange", "")("FOrder", "2");
    set.add("GLVchGroup")("FGroup", "付")("FDRange", "")("FCRange", "")("FDCRange", "")("FNDRange", "")("FNCRange", "")(
        "FNDCRange", "")("FOrder", "3");
    set.add("GLVchGroup")("FGroup", "转")("FDRange", "")("FCRange", "")("FDCRange", "")("FNDRange", "")("FNCRange", "")(
        "FNDCRange", "1001")("FOrder", "4");
    for (const char *s : {"现金", "现金支票", "转账支票", "电汇", "银行汇票", "网上银行"})
        set.add("GLSettle")("FSettCode", s);
    set.add("GLUnit")("FUnit", "*");
    set.add("GLUnit")("FUnit", "打")("FUnitAux", "个")("FOper", "*")("FCoef", "12");

    const char *expGroups[][2] = {{"1", "常用摘要"}, {"2", "费用报销"}, {"3", "期末处理"}};
    for (const auto &g : expGroups) set.add("GLExpGroup")("FExpGroupID", g[0])("FExpGroupName", g[1]);
    const char *exps[][2] = {{"提取备用金", "1"},   {"采购商品", "1"},       {"销售商品", "1"},     {"收到货款", "1"},
                             {"支付货款", "1"},     {"报销办公用品费", "2"}, {"报销差旅费", "2"},   {"业务招待费", "2"},
                             {"计提本月工资", "3"}, {"发放本月工资", "3"},   {"结转本期损益", "3"}, {"期末调汇", "3"}};
    int id = 0;
    for (const auto &e : exps) set.add("GLExp")("FExpID", integer(++id))("FExp", e[0])("FExpGroupID", e[1]);

    const char *empGroups[][2] = {{"1", "正式职工"}, {"2", "劳务派遣工"}, {"3", "实习学生"}};
    for (const auto &g : empGroups) set.add("GLEmpGroup")("FEmpGroupID", g[0])("FEmpGroupName", g[1]);
    const char *duties[][2] = {{"D01", "总经理"},   {"D02", "财务经理"}, {"D03", "主办会计"}, {"D04", "出纳员"},
                               {"D05", "销售经理"}, {"D06", "销售代表"}, {"D07", "采购专员"}, {"D08", "仓库管理员"}};
    for (const auto &d : duties) set.add("GLDuty")("FDuty", d[0])("FDutyName", d[1]);
    const char *degrees[][2] = {
        {"X1", "博士研究生"}, {"X2", "硕士研究生"}, {"X3", "大学本科"}, {"X4", "大学专科"}, {"X5", "高中及中专"}};
    for (const auto &d : degrees) set.add("GLDegree")("FDegree", d[0])("FDegreeName", d[1]);

    set.add("GLCls")("FClsID", "1")("FClsName", "往来单位")("FObjTableName", "GLCust");
    set.add("GLCls")("FClsID", "2")("FClsName", "部门")("FObjTableName", "");
    set.add("GLCls")("FClsID", "3")("FClsName", "职员")("FObjTableName", "GLEmp");
    if (p.customClass()) set.add("GLCls")("FClsID", "4")("FClsName", "销售项目")("FObjTableName", kCustomTable);
    if (p.broad) set.add("GLCls")("FClsID", "5")("FClsName", "设备参数")("FObjTableName", kEveryTypeTable);
}

void writeChart(TableSet &set, const Ledger &l) {
    for (const auto &a : l.accounts)
        set.add("GLAcct")("FAcctID", a.code)("FAcctName", a.name)("FHelperCode", std::nullopt)("FGroup",
                                                                                               integer(a.group))(
            "FDC", a.debitSide ? "D" : "C")("FForCy", a.forCy)("FRateAdj", flag(a.rateAdj))("FJrnl", flag(a.journal))(
            "FDetail", flag(a.detail))("FIsCash", flag(a.cash))("FIsBankAc", flag(a.bank))("FBank", flag(a.bank))(
            "FTrans", flag(a.trans))("FQtyAux", flag(a.qty))("FUnit", a.qty && !l.profile.openQuestions ? a.unit : "")(
            "FClsID", integer(a.cls))("FLevel", integer(a.level))("FMutiCls", flag(a.multi))(
            "FCustomer", flag(a.extraCust))("FDepartment", flag(a.extraDept))("FEmployee", flag(a.extraEmpl));
}

void writeItems(TableSet &set, const Ledger &l) {
    const Profile &p = l.profile;
    const char *placeholders[] = {"所有往来单位", "所有部门", "所有职员", "所有项目", "所有设备"};
    const int classes = p.broad ? 5 : p.customClass() ? 4 : 3;
    for (int c = 1; c <= classes; ++c)
        set.add("GLObj")("FClsID", integer(c))("FObjID", "*")("FObjName", placeholders[c - 1])(
            "FParentID", std::nullopt)("FLevel", "0")("FDetail", "0")("FDeleted", "0")("FFullPath",
                                                                                       std::to_string(c) + "*");
    for (const auto &i : l.items) addObj(set, i, fullPath(l, i));
    if (p.openQuestions) {
        // A group of business units nothing is booked on: neither customers
        // nor suppliers by their use.
        set.add("GLObj")("FClsID", "1")("FObjID", "03")("FObjName", "其他往来")("FParentID", std::nullopt)(
            "FLevel", "1")("FDetail", "0")("FDeleted", "0")("FFullPath", "1*03");
        set.add("GLObj")("FClsID", "1")("FObjID", "0301")("FObjName", "临时往来单位")("FParentID", "03")("FLevel", "2")(
            "FDetail", "1")("FDeleted", "0")("FFullPath", "1*030301");
    }
    // Units nothing is booked on, left to the operator: one beside the
    // customers under 0101 (01's only child), and a top unit 02.0201 whose
    // dotted code reads like the supplier 0201 under 02.
    std::vector<Item> undecided;
    if (p.broad) {
        undecided.push_back({1, "010199", "华东零星客户（待定）", "0101", 3, true});
        undecided.push_back({1, "02.0201", "外协加工点（待定）", "", 1, true});
    }
    for (const auto &i : undecided) addObj(set, i, fullPath(l, i));
    // Departments with dotted codes, on no card and no voucher (the fixed
    // assets match departments by their codes as they stand).
    if (p.broad) {
        const Item groups[] = {{2, "06", "技术中心", "", 1, false},
                               {2, "06.01", "研发一组", "06", 2, true},
                               {2, "06.02", "研发二组", "06", 2, true}};
        for (const auto &i : groups) addObj(set, i, i.parent.empty() ? "2*06" : "2*06" + i.code);
    }
    std::vector<const Item *> units = l.detailItems(1);
    for (const auto &i : undecided) units.push_back(&i);
    int n = 0;
    for (const auto *u : units) {
        ++n;
        set.add("GLCust")("FObjID", u->code)("FAddress", "上海市浦东新区创新路" + std::to_string(100 + n) + "号")(
            "FZip", "2012" + std::to_string(10 + n % 90))("FFax", "021-6888" + std::to_string(1000 + n))(
            "FPhone", "021-5888" + std::to_string(1000 + n))("FContact", n % 2 ? "刘经理" : "陈小姐")(
            "FTax", "9131000063" + std::to_string(1000000 + n))("FBank",
                                                                "招商银行上海分行 " + std::to_string(121900000000 + n));
    }
    n = 0;
    for (const auto &e : l.employees) {
        ++n;
        static const int kDuties[] = {1, 2, 3, 4, 5, 6, 6, 7, 8, 6};
        const int duty = n <= 10 ? kDuties[n - 1] : 6 + n % 3;
        set.add("GLEmp")("FObjID", e.code)("FAddress", "上海市浦东新区锦绣路" + std::to_string(n * 7) + "弄")(
            "FBankAccount", "6222021001" + e.code)("FSex", integer(n % 3 == 0 ? 0 : 1))(
            "FBirthday", date(1970 + n % 30, 1 + n % 12, 1 + n % 28))("FHireDate", date(2015 + n % 9, 1 + n % 12, 1))(
            "FLeaveDate",
            std::nullopt)("FDegree", "X" + std::to_string(1 + n % 5))("FPhone", "1380013" + std::to_string(8000 + n))(
            "FId", "31011519" + std::to_string(80000000 + n * 131))("FDuty", "D0" + std::to_string(duty))(
            "FEmpGroup", n % 7 == 0 ? "2" : "1")("FDeptObjID", l.profile.broad ? recordedDept(l, e) : e.dept);
    }
    if (p.customClass()) {
        const char *rows[][5] = {{"0101", "刘洋", "800000", "2025-01-01", "2025001"},
                                 {"0102", "孙丽", "500000", "2025-01-01", "2025002"},
                                 {"02", "张伟", "120000.5", "2025-03-01", "2025003"}};
        for (const auto &r : rows)
            set.add(kCustomTable)("FClsID", "4")("FObjID", r[0])("FManager", r[1])("FBudget", r[2])("FStartDate", r[3])(
                "FContractNo", r[4]);
    }
    if (p.broad) {
        const char *rows[][12] = {
            {"0101", "CK6150", "主轴箱2025年大修", "1", "2", "1001", "1", "286000.5", "3.25", "7.5", "2023-05-18",
             "89504E47"},
            {"01.02", "G3015", "光纤激光器，功率可调", "2", "1", "1002", "1", "412500", "6.8", "3000", "2024-02-01",
             "FFD8FF"},
            {"02", "CMM-575", "", "3", "3", "1003", "0", "98000.1234", "0.75", "0.35", "2022-11-30", "00"},
        };
        for (const auto &r : rows)
            set.add(kEveryTypeTable)("FClsID", "5")("FObjID", r[0])("FModel", r[1])("FNote", r[2])("FGrade", r[3])(
                "FCount", r[4])("FSerial", r[5])("FInUse", r[6])("FPrice", r[7])("FWeight", r[8])("FPower", r[9])(
                "FBought", r[10])("FPhoto", r[11]);
    }
}

}  // namespace samplegen
