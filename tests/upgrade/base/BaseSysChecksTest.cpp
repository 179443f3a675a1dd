// The nine base-data checks on the standard sample, each edge case made by
// changing the staged copies (the sample itself passes every check).
#include "foundation/Globals.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/base/SubLedgerNatureAsker.h"
#include "upgrade/common/UpgradeGlobals.h"

#include "BaseSysAccess.h"

namespace {

class BaseSysChecksTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        previousAsker = SubLedgerNatureAskerHook();
        createFrom(QStringLiteral("standard"));
    }
    void TearDown() override {
        SubLedgerNatureAskerHook() = previousAsker;
        UpgradeStepFixture::TearDown();
    }
    // An account row for AIS_GLAcct with the given code, name and flags.
    QString addAccount(const QString &code, const QString &name, int clsID = 0, int trans = 0, int customer = 0) {
        return targetRun(QStringLiteral("INSERT INTO AIS_GLAcct (FAcctID, FAcctName, FRateAdj, FJrnl, FDetail, "
                                        "FIsCash, FIsBankAc, FBank, FTrans, FQtyAux, FClsID, FMutiCls, FCustomer, "
                                        "FDepartment, FEmployee) VALUES (N'%1', N'%2', 0, 0, 1, 0, 0, 0, %3, 0, "
                                        "%4, 0, %5, 0, 0)")
                             .arg(code, QString(name).replace("'", "''"))
                             .arg(trans)
                             .arg(clsID)
                             .arg(customer));
    }
    SubLedgerNatureAsker previousAsker;
    clsBaseSysTestAccess s;
};

TEST_F(BaseSysChecksTest, PeriodsPerYear) {
    struct Case {
        const char *value;
        bool passes;
        const char *entry;
    } cases[] = {
        {"12", true, "成功\t会计期间设置\t会计期间属于12、13期，可以升级。"},
        {"13", true, "成功\t会计期间设置\t会计期间属于12、13期，可以升级。"},
        {"4", false, "错误\t检测会计期间设置\t系统只允许升级会计期间数为12期或者13期的账套。"},
        {"NULL", false, "错误\t检测会计期间设置\t系统只允许升级会计期间数为12期或者13期的账套。"},
    };
    for (const Case &c : cases) {
        ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLPref SET FPeriodsPerYear = ") + c.value), QString());
        EXPECT_EQ(s.CheckAccountPeriod(), c.passes) << c.value;
        EXPECT_EQ(newLogRows(), QStringList{QString::fromUtf8(c.entry)}) << c.value;
    }
    // No options row at all: an error entry naming the query.
    ASSERT_EQ(targetRun("DELETE FROM AIS_GLPref"), QString());
    EXPECT_FALSE(s.CheckAccountPeriod());
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("错误\t检测会计期间设置\t发生错误：获取会计期间数时发生错误: ")))
        << rows[0].toStdString();
    EXPECT_TRUE(rows[0].contains("SELECT FPeriodsPerYear FROM AIS_GLPref"));
}

TEST_F(BaseSysChecksTest, FailedPeriodCheckStopsTheOtherChecks) {
    g_AcctLevelCount = 77;
    ASSERT_EQ(targetRun("UPDATE AIS_GLPref SET FPeriodsPerYear = 4"), QString());
    clsBaseSys step;
    EXPECT_EQ(check(step), 2);
    EXPECT_EQ(newLogRows().size(), 1);
    EXPECT_EQ(g_AcctLevelCount, 77);
}

TEST_F(BaseSysChecksTest, GroupNamedLikeAUserIsAWarningAndLaterChecksRun) {
    ASSERT_EQ(targetRun("UPDATE AIS_GLUserGroup SET FUserGroupName = N'陈静' WHERE FUserGroupID = 2"), QString());
    clsBaseSys step;
    EXPECT_EQ(check(step), 1);
    const QStringList rows = newLogRows();
    ASSERT_GE(rows.size(), 2);
    EXPECT_EQ(rows[1], QStringLiteral("警告\t用户组及用户设置\t升级后需要重新设置操作员密码。\r\n\r\n存在用户组与用户名"
                                      "称相同的情况，系统升级之后用户组名称将会添加后缀'_组别'，详情见详细日志。"));
    EXPECT_EQ(g_AcctLevelCount, 3);  // the length check still ran
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM TempGLAcctMapping"), "4");
}

TEST_F(BaseSysChecksTest, AccountFindings) {
    // A transaction account without business units, and a quote in a name:
    // warnings only.
    ASSERT_EQ(addAccount("1999", "O'Brien往来", 0, 1, 0), QString());
    EXPECT_TRUE(s.CheckTransAccounts());
    EXPECT_TRUE(s.CheckAccountNameQuote());
    EXPECT_EQ(
        newLogRows(),
        (QStringList{QStringLiteral("警告\t会计科目设置\t某些会计科目设置了核算往来业务，但并未下挂往来单位核算项目，"
                                    "升级后系统自动取消核算往来业务设置。"),
                     QStringLiteral("警告\t会计科目设置\t以下会计科目名称包含系统不支持的特殊字符（单引号），升级后"
                                    "系统自动去掉这些字符。")}));
    // Without such accounts: no entry.
    ASSERT_EQ(targetRun("DELETE FROM AIS_GLAcct WHERE FAcctID = '1999'"), QString());
    EXPECT_TRUE(s.CheckTransAccounts());
    EXPECT_TRUE(s.CheckAccountNameQuote());
    EXPECT_TRUE(newLogRows().isEmpty());
}

TEST_F(BaseSysChecksTest, AccountStructureAndLengths) {
    EXPECT_TRUE(s.CheckGLAccountLength());
    EXPECT_TRUE(newLogRows().isEmpty());
    EXPECT_EQ(g_AcctLevelCount, 3);
    // A code of 9 characters is longer than 4 + 2 + 2.
    ASSERT_EQ(addAccount("100201019", "太长"), QString());
    EXPECT_FALSE(s.CheckGLAccountLength());
    EXPECT_EQ(newLogRows(),
              QStringList{QStringLiteral("错误\t会计科目设置\t某些科目代码长度超过了账套选项中设置的最大长"
                                         "度:8，请修复后再升级。")});
    // No level count: every account is too long, and the structure is
    // still filled.
    ASSERT_EQ(targetRun("UPDATE AIS_GLPref SET FACLevels = NULL, FACLen2 = NULL"), QString());
    EXPECT_FALSE(s.CheckGLAccountLength());
    EXPECT_EQ(newLogRows(),
              QStringList{QStringLiteral("错误\t会计科目设置\t某些科目代码长度超过了账套选项中设置的最大长"
                                         "度:0，请修复后再升级。")});
    EXPECT_EQ(g_AcctLevelCount, 0);
    EXPECT_EQ(g_AcctLevelLengths.Item("2").toInt(), -4);
    EXPECT_EQ(g_AcctLevelLengths.Item("3").toInt(), 8);
    // No options row: the structure is left as it was.
    ASSERT_EQ(targetRun("DELETE FROM AIS_GLPref"), QString());
    EXPECT_FALSE(s.CheckGLAccountLength());
    EXPECT_EQ(newLogRows(),
              QStringList{QStringLiteral("错误\t会计科目设置\t发生错误：无法获取源账套的会计科目结构。")});
    EXPECT_EQ(g_AcctLevelLengths.Item("3").toInt(), 8);
}

TEST_F(BaseSysChecksTest, NaturesAskedConfirmedClosedAndFailed) {
    struct Case {
        const char *name;
        std::function<bool(const QVariant &, PnwList &)> asker;
        bool passes;
        QStringList entries;
        QStringList mapping;
        int natures;
    };
    const Case cases[] = {
        // The preselection marks every account of the sample.
        {"preselected", AcceptPreselectedNatures, true, {}, {"1122\t1", "1123\t8", "2202\t8", "2203\t1"}, 4},
        {"closed",
         [](const QVariant &, PnwList &) { return false; },
         false,
         {QStringLiteral(
             "错误\t会计科目设置\t某些会计科目下挂了往来单位核算项目，但并未指定往来单位性质（客户/供应商）。")},
         {},
         0},
        // The work table disappears while the dialog is open: the inserts
        // fail, which is a failure of the check.
        {"inserts fail",
         [this](const QVariant &data, PnwList &answer) {
             targetRun("DROP TABLE TempGLAcctMapping");
             return AcceptPreselectedNatures(data, answer);
         },
         false,
         {},
         {},
         1},
    };
    for (const Case &c : cases) {
        g_SubLedgerNatures = PnwDictionary();
        SubLedgerNatureAskerHook() = c.asker;
        EXPECT_EQ(s.CheckSubledgerNature(), c.passes) << c.name;
        const QStringList rows = newLogRows();
        if (QString::fromUtf8(c.name) == "inserts fail") {
            ASSERT_EQ(rows.size(), 1);
            EXPECT_TRUE(rows[0].startsWith(QStringLiteral("错误\t会计科目设置\t发生错误："))) << rows[0].toStdString();
            EXPECT_TRUE(rows[0].contains("INSERT INTO TempGLAcctMapping"));
        } else {
            EXPECT_EQ(rows, c.entries) << c.name;
            EXPECT_EQ(target("SELECT FAcctID, FSubledgerType FROM TempGLAcctMapping ORDER BY FAcctID"), c.mapping)
                << c.name;
        }
        EXPECT_EQ(g_SubLedgerNatures.Count(), c.natures) << c.name;
    }
}

TEST_F(BaseSysChecksTest, NoBusinessUnitAccountsAsksNothing) {
    ASSERT_EQ(targetRun("UPDATE AIS_GLAcct SET FClsID = 0, FCustomer = 0; UPDATE AIS_GLBal SET FClsID = 0 WHERE "
                        "FClsID = 1; UPDATE AIS_GLQtyBal SET FClsID = 0 WHERE FClsID = 1"),
              QString());
    bool asked = false;
    SubLedgerNatureAskerHook() = [&](const QVariant &, PnwList &) { return asked = true; };
    EXPECT_TRUE(s.CheckSubledgerNature());
    EXPECT_FALSE(asked);
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM TempGLAcctMapping"), "0");
    EXPECT_EQ(g_SubLedgerNatures.Count(), 0);
}

TEST_F(BaseSysChecksTest, ARecheckForgetsEarlierNatures) {
    g_SubLedgerNatures.setItem("9999", 1);
    clsBaseSys step;
    EXPECT_EQ(check(step), 0);
    EXPECT_FALSE(g_SubLedgerNatures.Exists("9999"));
    EXPECT_EQ(g_SubLedgerNatures.Count(), 4);
}

TEST_F(BaseSysChecksTest, NonDetailItemsInUseAreWarnings) {
    // A business unit, a department and a custom item each used by a
    // voucher get a child, so they become non-detail.
    const QString unit = targetValue("SELECT MIN(FObjID) FROM AIS_GLVch WHERE FClsID = 1");
    // The sample's vouchers name no department in FDeptID: one entry does
    // here, so the department is used through that column.
    ASSERT_EQ(targetRun("UPDATE AIS_GLVch SET FDeptID = '01' WHERE FSerialNum = (SELECT MIN(FSerialNum) FROM "
                        "AIS_GLVch) AND FEntryID = 0"),
              QString());
    const QString dept = QStringLiteral("01");
    const QString custom = targetValue("SELECT MIN(CAST(FClsID AS varchar(5)) + '|' + FObjID) FROM AIS_GLVch WHERE "
                                       "FClsID > 3");
    ASSERT_NE(unit, "<none>");
    EXPECT_TRUE(s.CheckSubledger());
    EXPECT_TRUE(s.CheckDepartment());
    EXPECT_TRUE(s.CheckCustomizeItem());
    EXPECT_TRUE(newLogRows().isEmpty());
    auto child = [this](const QString &cls, const QString &parent) {
        return targetRun(QStringLiteral("INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, "
                                        "FDeleted) VALUES (%1, N'%2.99', N'下级', N'%2', 2, 1, 0)")
                             .arg(cls, parent));
    };
    ASSERT_EQ(child("1", unit), QString());
    ASSERT_EQ(child("2", dept), QString());
    EXPECT_FALSE(s.CheckSubledger());
    EXPECT_FALSE(s.CheckDepartment());
    QStringList expected{
        QStringLiteral("警告\t往来单位\t存在凭证使用非明细往来单位的情况，升级到专业版后，这些非明细项目将不可在凭证中"
                       "输入，详情见详细日志。"),
        QStringLiteral("警告\t部门\t存在凭证使用非明细部门的情况，升级到专业版后，这些非明细项目将不可在凭证中输入，详"
                       "情见详细日志。")};
    if (custom != "<none>" && !custom.isEmpty()) {
        ASSERT_EQ(child(custom.section('|', 0, 0), custom.section('|', 1)), QString());
        EXPECT_FALSE(s.CheckCustomizeItem());
        expected << QStringLiteral("警告\t自定义核算项目\t存在凭证使用非明细自定义核算项目的情况，升级到专业版后，这些"
                                   "非明细项目将不可在凭证中输入，详情见详细日志。");
    }
    EXPECT_EQ(newLogRows(), expected);
    // A child in another class does not make the item non-detail.
    ASSERT_EQ(targetRun("DELETE FROM AIS_GLObj WHERE FObjName = N'下级'"), QString());
    ASSERT_EQ(child("2", unit), QString());
    EXPECT_TRUE(s.CheckSubledger());
}

}  // namespace
