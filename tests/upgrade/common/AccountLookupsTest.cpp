// Account, period and voucher-group lookups on a target made from the
// standard sample (level lengths 4, 2, 2). Target accounts and source
// account names are seeded here where a case needs them.
#include "foundation/Globals.h"
#include "foundation/clsDataInfo.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/common/AccountLookups.h"

namespace {

PnwDictionary lengths(std::initializer_list<int> values) {
    PnwDictionary d;
    int i = 1;
    for (int v : values) d.setItem(QString::number(i++), v);
    return d;
}

class AccountLookupsTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QStringLiteral("standard"));
        cs = g_TargetConnectString;
        // Source accounts of a 1-1-1 structure, the second level of 4x
        // missing; target accounts 1 (id 71) and 1.2 (id 72).
        ASSERT_EQ(targetRun("INSERT INTO AIS_GLAcct (FAcctID, FAcctName, FRateAdj, FJrnl, FDetail, FIsCash, "
                            "FIsBankAc, FBank, FTrans, FQtyAux, FMutiCls, FCustomer, FDepartment, FEmployee) "
                            "SELECT '1', N'一', 0,0,0,0,0,0,0,0,0,0,0,0 UNION ALL "
                            "SELECT '12', N'一二', 0,0,0,0,0,0,0,0,0,0,0,0 UNION ALL "
                            "SELECT '123', N'一二三', 0,0,0,0,0,0,0,0,0,0,0,0 UNION ALL "
                            "SELECT '4', N'四', 0,0,0,0,0,0,0,0,0,0,0,0 UNION ALL "
                            "SELECT '456', N'四五六', 0,0,0,0,0,0,0,0,0,0,0,0"),
                  QString());
        ASSERT_EQ(targetRun("INSERT INTO T_Account (FAccountID, FNumber, FName, FMeasureUnitID) "
                            "VALUES (71, '1', N'一', NULL); "
                            "INSERT INTO T_Account (FAccountID, FNumber, FName, FMeasureUnitID) "
                            "VALUES (72, '1.2', N'一二', 5)"),
                  QString());
    }
    clsDataInfo data;
    QString cs;
};

struct ParseCase {
    const char *code;
    const char *number;
    int parentID;
    int rootID;
    const char *fullName;
};

TEST_F(AccountLookupsTest, ParsesCodesByLevel) {
    const PnwDictionary ones = lengths({1, 1, 1});
    const ParseCase cases[] = {
        {"1", "1", 0, 71, "一"},
        {"12", "1.2", 71, 71, "一_一二"},
        {"123", "1.2.3", 72, 71, "一_一二_一二三"},
        {"456", "4.5.6", 0, 0, "四__四五六"},  // the missing level keeps its "_"
        // Beyond the last level the rest is left over: the separators of a
        // further level stay, and the parent is the whole code's number.
        {"1234", "1.2.3.", 0, 71, "一_一二_一二三_"},
        {"", "", 0, 0, ""},
    };
    for (const ParseCase &c : cases) {
        const AccountNumberInfo info = ParseAccountNumber(3, ones, QString::fromUtf8(c.code), data, cs);
        EXPECT_EQ(info.number, QString::fromUtf8(c.number)) << c.code;
        EXPECT_EQ(info.parentID, c.parentID) << c.code;
        EXPECT_EQ(info.rootID, c.rootID) << c.code;
        EXPECT_EQ(info.fullName, QString::fromUtf8(c.fullName)) << c.code;
    }
    // No structure, or no levels: nothing.
    for (const AccountNumberInfo &info :
         {ParseAccountNumber(3, PnwDictionary(), "123", data, cs), ParseAccountNumber(0, ones, "123", data, cs)}) {
        EXPECT_EQ(info.number, "");
        EXPECT_EQ(info.parentID, 0);
        EXPECT_EQ(info.rootID, 0);
        EXPECT_EQ(info.fullName, "");
    }
    // A code ending inside a level: no number, the names completed so far.
    const AccountNumberInfo cut = ParseAccountNumber(2, lengths({1, 2}), "12", data, cs);
    EXPECT_EQ(cut.number, "");
    EXPECT_EQ(cut.parentID, 0);
    EXPECT_EQ(cut.fullName, "一_");
    // The sample's own structure.
    const AccountNumberInfo sample = ParseAccountNumber(3, lengths({4, 2, 2}), "100201", data, cs);
    EXPECT_EQ(sample.number, "1002.01");
    EXPECT_EQ(sample.fullName, QStringLiteral("银行存款_") + targetValue("SELECT FAcctName FROM AIS_GLAcct "
                                                                         "WHERE FAcctID = '100201'"));
}

TEST_F(AccountLookupsTest, AccountsNamesAndUnits) {
    EXPECT_EQ(GetAccountIDByNumber(data, cs, "1.2"), 72);
    EXPECT_EQ(GetAccountIDByNumber(data, cs, "9.9"), 0);
    EXPECT_EQ(GetAccountIDByNumber(data, cs, "1'2"), 0);
    EXPECT_EQ(GetSourceAccountName(data, cs, "1001"), QStringLiteral("库存现金"));
    EXPECT_EQ(GetSourceAccountName(data, cs, "nope"), "");
    EXPECT_EQ(GetAccountDefaultUnit(data, cs, 72), 5);
    EXPECT_EQ(GetAccountDefaultUnit(data, cs, 71), 0);  // NULL
    EXPECT_EQ(GetAccountDefaultUnit(data, cs, 9999), 0);
}

TEST_F(AccountLookupsTest, YearsAndPeriodsOfEitherSet) {
    // Source options of the sample: start 2025/1, current 2025/12.
    EXPECT_EQ(GetStartYear(data, cs, 0), 2025);
    EXPECT_EQ(GetCurrentYear(data, cs, 2), 2025);
    EXPECT_EQ(GetStartPeriod(data, cs, 0), 1);
    EXPECT_EQ(GetCurrentPeriod(data, cs, 0), 12);
    ASSERT_EQ(targetRun("DELETE FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey IN ('StartYear', "
                        "'CurrentYear', 'StartPeriod', 'CurrentPeriod'); "
                        "INSERT INTO t_SystemProfile (FCategory, FKey, FValue) VALUES ('GL', 'StartYear', '2031'); "
                        "INSERT INTO t_SystemProfile (FCategory, FKey, FValue) VALUES ('GL', 'StartPeriod', 'x'); "
                        "INSERT INTO t_SystemProfile (FCategory, FKey, FValue) VALUES ('GL', 'CurrentPeriod', '7')"),
              QString());
    EXPECT_EQ(GetStartYear(data, cs, 1), 2031);
    EXPECT_EQ(GetCurrentYear(data, cs, 1), 0);  // no key
    EXPECT_EQ(GetStartPeriod(data, cs, 1), 0);  // no number
    EXPECT_EQ(GetCurrentPeriod(data, cs, 1), 7);
}

TEST_F(AccountLookupsTest, StandardVoucherGroup) {
    int id = 1;
    QString name = QStringLiteral("记");
    ASSERT_EQ(targetRun("UPDATE T_VoucherGroup SET FStandard = 0"), QString());
    GetStandardVoucherGroup(data, cs, id, name);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(name, QStringLiteral("记"));
    ASSERT_EQ(targetRun("INSERT INTO T_VoucherGroup (FGroupID, FName, FStandard) VALUES (40, N'标准', 1)"), QString());
    GetStandardVoucherGroup(data, cs, id, name);
    EXPECT_EQ(id, 40);
    EXPECT_EQ(name, QStringLiteral("标准"));
}

}  // namespace
