#include "Templates.h"

namespace samplegen {

namespace {

struct Line {
    long tmpl;
    const char *acct;
    int cls;
    const char *settle;
    bool debit;
    const char *exp;
};

// Identifiers from 101 and 1001 up, clear of the templates a new set brings.
const Line kLines[] = {
    {1001, "1001", 0, "", true, "提取备用金"},
    {1001, "100201", 0, "现金支票", false, "提取备用金"},
    {1002, "1122", 1, "", true, "销售'办公设备'应收款"},
    {1002, "6001", 4, "", false, "销售商品收入"},
    {1002, "22210102", 0, "", false, "销项税额"},
    {1003, "660203", 2, "", true, "报销差旅费"},
    {1003, "1221", 3, "", false, "冲销借款"},
    {1004, "14050202", 0, "", true, "采购复印纸"},
    {1004, "22210101", 0, "", true, "进项税额"},
    {1004, "2202", 1, "", false, "应付货款"},
};

}  // namespace

void writeTemplates(TableSet &set, const Ledger &l) {
    const bool custom = l.profile.customClass();
    set.add("GLVchTemplateType")("FTypeID", "101")("FTypeName", "日常业务");
    set.add("GLVchTemplateType")("FTypeID", "102")("FTypeName", "费用报销");
    const char *templates[][5] = {{"1001", "提取现金", "101", "付", "1"},
                                  {"1002", "赊销商品", "101", "转", "3"},
                                  {"1003", "报销差旅费", "102", "记", "5"},
                                  {"1004", "采购复印纸", "101", "转", "2"}};
    for (const auto &t : templates)
        set.add("GLVchTemplate")("FID", t[0])("FName", t[1])("FTypeID", t[2])("FVchGroup", t[3])("FAttachment", t[4]);
    int index = 0;
    long last = 0;
    for (const auto &line : kLines) {
        if (line.tmpl != last) index = 0, last = line.tmpl;
        const int cls = line.cls == 4 && !custom ? 0 : line.cls;
        const bool qty = std::string(line.acct) == "14050202";
        set.add("GLVchTemplate1")("FGroupID", integer(line.tmpl))("FIndex", integer(index++))("FAcctID", line.acct)(
            "FClsID", integer(cls))("FObjID", std::nullopt)("FCustID", std::nullopt)("FDeptID", std::nullopt)(
            "FEmplID", std::nullopt)("FCyID", "RMB")("FExchRate", "1")("FFCyAmt", "0.00")("FQty", qty ? jet::Cell("50")
                                                                                                      : std::nullopt)(
            "FPrice", qty ? "120" : "0")("FDebit", line.debit && qty ? "6000.00" : "0.00")("FCredit", "0.00")(
            "FSettleCode", *line.settle ? jet::Cell(line.settle) : std::nullopt)("FSettleNo", std::nullopt)("FExp",
                                                                                                            line.exp);
    }
    set.add("GLRecur")("FRecurID", "1")("FRecurName", "计提城建税及教育费附加")("FVchGroup", "转")("FPeriods", "1-12");
    set.add("GLRecur")("FRecurID", "2")("FRecurName", "结转未交增值税")("FVchGroup", "转")("FPeriods", "1-12");
    auto entry = [&](long id, int n, const char *exp, const char *acct, const char *dc, const char *formula) {
        set.add("GLRecurEntry")("FRecurID", integer(id))("FEntryID", integer(n))("FExp", exp)("FAcctID", acct)(
            "FIsNew", "0")("FClsID", "0")("FObjID", "")("FDC", dc)("FTransType", "0")("FTransRate", "100")(
            "FCyID", "RMB")("FAmountFor", "")("FAmount", formula)("FQty", "");
    };
    entry(1, 0, "计提城建税及教育费附加", "6403", "D", "ACCT(222102,C)*0.12");
    entry(1, 1, "计提城建税及教育费附加", "2241", "C", "ACCT(222102,C)*0.12");
    entry(2, 0, "结转'本月'销项税额", "22210102", "D", "ACCT(22210102,C)");
    entry(2, 1, "结转本月进项税额", "22210101", "C", "ACCT(22210101,D)");
    entry(2, 2, "结转本月未交增值税", "222102", "C", "ACCT(22210102,C)-ACCT(22210101,D)");
}

}  // namespace samplegen
