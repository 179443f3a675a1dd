// The general-ledger check on the standard sample: which checks run in each
// mode, what each finds, the lists it fills for the upgrade, and a failing
// query. The staging copies are edited where a case needs a finding.
#include "LedgerFixture.h"

namespace {

class LedgerChecksTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        createFrom(QStringLiteral("standard"));
    }

    // Removes the current period's movement (period 12 in the sample).
    void clearCurrentPeriod() {
        run(QStringLiteral("UPDATE AIS_GLBal SET FDebit = 0, FCredit = 0 WHERE FPeriod = 12 "
                           "UPDATE AIS_GLQtyBal SET FDebit = NULL, FCredit = NULL WHERE FPeriod = 12 "
                           "DELETE FROM AIS_GLVch WHERE FPeriod = 12"));
    }

    QStringList projects() {
        QStringList names;
        for (const QString &row : pending()) names << row.section(QLatin1Char('\t'), 1, 1);
        return names;
    }
};

TEST_F(LedgerChecksTest, FullModeSkipsCurrentPeriodChecksAndWarnsAboutMissingGroups) {
    clsEboGL step;
    const int result = check(step);
    // Current-period amounts do not matter when everything is converted.
    EXPECT_TRUE(logOf(QStringLiteral("科目余额表")).isEmpty());
    EXPECT_TRUE(logOf(QStringLiteral("数量余额表")).isEmpty());
    // The sample has two vouchers without a group (one NULL, one '').
    const QStringList vouchers = logOf(QStringLiteral("凭证"));
    ASSERT_EQ(vouchers.size(), 1);
    EXPECT_EQ(status(vouchers.first()), QStringLiteral("警告"));
    EXPECT_EQ(description(vouchers.first()),
              QStringLiteral("存在凭证缺少凭证字，升级后这些凭证将使用系统默认的凭证字'记'。"));
    EXPECT_EQ(detailOf(QStringLiteral("凭证")),
              QStringList({QStringLiteral("序列号\t凭证号"), QStringLiteral("11\t1"), QStringLiteral("13\t1")}));
    // The sample's rate-adjustment history is account-level only ("*"):
    // nothing is missing, nothing skipped.
    EXPECT_TRUE(logOf(QStringLiteral("调汇记录表")).isEmpty());
    EXPECT_EQ(g_RateAdjustSkipList.Count(), 0);
    EXPECT_EQ(result, 1);
}

TEST_F(LedgerChecksTest, BalancesOnlyRefusesCurrentPeriodAmountsAndStops) {
    setOption(1);
    g_StdVoucherGroupID = 0;
    // One voucher entry of the current period on an account without a
    // balance movement of that period.
    run(QStringLiteral("UPDATE AIS_GLBal SET FDebit = 0, FCredit = 0 WHERE FPeriod = 12 "
                       "DELETE FROM AIS_GLVch WHERE FPeriod = 12 AND NOT (FSerialNum = 11 AND FEntryID = 1)"));
    clsEboGL step;
    EXPECT_EQ(check(step), 2);
    const QStringList rows = logOf(QStringLiteral("科目余额表"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(status(rows.first()), QStringLiteral("错误"));
    EXPECT_EQ(description(rows.first()), QStringLiteral("科目当期有发生额，不允许只升级余额。"));
    EXPECT_EQ(detailOf(QStringLiteral("科目余额表")),
              QStringList({QStringLiteral("科目代码\t科目名称"), QStringLiteral("1001\t库存现金")}));
    // No later check ran, and balances only never reloads the group.
    EXPECT_EQ(projects(), QStringList({QStringLiteral("科目余额表")}));
    EXPECT_EQ(g_StdVoucherGroupID, 0);
}

TEST_F(LedgerChecksTest, BalancesOnlyListsQuantityMovementAndNullAmountsPass) {
    setOption(1);
    clearCurrentPeriod();
    // NULL movement on both sides is no movement; a quantity movement is.
    run(QStringLiteral("UPDATE AIS_GLBal SET FDebit = NULL, FCredit = NULL WHERE FPeriod = 12 AND FAcctID = '1001' "
                       "UPDATE AIS_GLQtyBal SET FDebit = 3 WHERE FPeriod = 12 AND FAcctID = "
                       "(SELECT MIN(FAcctID) FROM AIS_GLQtyBal)"));
    const QString account = targetValue(QStringLiteral("SELECT MIN(FAcctID) FROM AIS_GLQtyBal"));
    clsEboGL step;
    EXPECT_EQ(check(step), 2);
    EXPECT_TRUE(logOf(QStringLiteral("科目余额表")).isEmpty());
    const QStringList rows = logOf(QStringLiteral("数量余额表"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(status(rows.first()), QStringLiteral("错误"));
    const QStringList detail = detailOf(QStringLiteral("数量余额表"));
    ASSERT_EQ(detail.size(), 2);
    EXPECT_EQ(detail.at(1).section(QLatin1Char('\t'), 0, 0), account);
}

TEST_F(LedgerChecksTest, BalancesOnlyWithoutCurrentAmountsRunsNoGroupChecks) {
    setOption(1);
    clearCurrentPeriod();
    run(QStringLiteral("UPDATE AIS_GLRecur SET FVchGroup = NULL"));
    clsEboGL step;
    EXPECT_EQ(check(step), 0);
    EXPECT_TRUE(pending().isEmpty());
}

TEST_F(LedgerChecksTest, TransactionHistoryOnAccountsWithoutBusinessUnitsIsListedOnce) {
    // 1122 keeps its class 1: not listed. 1123 loses it and is no customer
    // account: listed once for its two rows.
    run(QStringLiteral("UPDATE AIS_GLAcct SET FClsID = 0, FCustomer = 0 WHERE FAcctID = '1123' "
                       "INSERT INTO AIS_GLTrans (FAcctID, FClsID, FObjID, FCustID, FTransID, FDate, FCyID, FBal, FQty, "
                       "FDebit, FCredit, FDue) VALUES ('1123', 0, '*', '0201', 'YF-2', '2024-12-16', 'RMB', 5, 0, 0, "
                       "0, 1)"));
    clsEboGL step;
    EXPECT_EQ(check(step), 1);
    const QStringList rows = logOf(QStringLiteral("往来业务余额表"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(status(rows.first()), QStringLiteral("警告"));
    EXPECT_EQ(detailOf(QStringLiteral("往来业务余额表")),
              QStringList({QStringLiteral("科目代码\t科目名称"), QStringLiteral("1123\t预付账款")}));
    EXPECT_EQ(g_TransClearAccounts.Keys(), QStringList({QStringLiteral("1123")}));
    EXPECT_EQ(g_TransClearAccounts.Item(QStringLiteral("1123")).toInt(), 1);
    // A warning stops nothing: the later checks still ran.
    EXPECT_EQ(logOf(QStringLiteral("凭证")).size(), 1);
}

TEST_F(LedgerChecksTest, RateAdjustmentOfAVanishedItemIsSkippedButAccountLevelHistoryIsNot) {
    run(QStringLiteral(
        "INSERT INTO AIS_GLRateAdjHist (FPeriod, FGroup, FAcctID, FClsID, FObjID, FCyID, FBalFor, FBalBase, FBalAdj, "
        "FBegRate, FEndRate) VALUES (1, '记', '1122', 1, 'GONE''1', 'USD', 1, 7, 7, 7, 7) "
        "INSERT INTO AIS_GLRateAdjHist (FPeriod, FGroup, FAcctID, FClsID, FObjID, FCyID, FBalFor, FBalBase, FBalAdj, "
        "FBegRate, FEndRate) VALUES (1, '记', '1122', 77, 'X9', 'USD', 1, 7, 7, 7, 7) "
        "INSERT INTO AIS_GLRateAdjHist (FPeriod, FGroup, FAcctID, FClsID, FObjID, FCyID, FBalFor, FBalBase, FBalAdj, "
        "FBegRate, FEndRate) VALUES (1, '记', '1122', NULL, NULL, 'USD', 1, 7, 7, 7, 7)"));
    const QString className = targetValue(QStringLiteral("SELECT FClsName FROM AIS_GLCls WHERE FClsID = 1"));
    clsEboGL step;
    EXPECT_EQ(check(step), 1);
    const QStringList rows = logOf(QStringLiteral("调汇记录表"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(status(rows.first()), QStringLiteral("警告"));
    QStringList detail = detailOf(QStringLiteral("调汇记录表"));
    ASSERT_EQ(detail.size(), 3);
    EXPECT_EQ(detail.takeFirst(), QStringLiteral("核算项目类别代码\t核算项目类别名称\t核算项目代码"));
    detail.sort();
    EXPECT_EQ(detail, QStringList({QStringLiteral("1\t") + className + QStringLiteral("\tGONE'1"),
                                   QStringLiteral("77\t\tX9")}));
    QStringList keys = g_RateAdjustSkipList.Keys();
    keys.sort();
    EXPECT_EQ(keys, QStringList({QStringLiteral("1 GONE'1"), QStringLiteral("77 X9")}));
}

TEST_F(LedgerChecksTest, TemplatesAndAutoTransfersWithoutGroupNameTheStandardGroup) {
    g_StdVoucherGroupID = 0;
    run(QStringLiteral("UPDATE AIS_GLVchTemplate SET FVchGroup = '  ' WHERE FID = 1003 "
                       "UPDATE AIS_GLRecur SET FVchGroup = NULL WHERE FRecurID = 2"));
    const QStringList standard =
        target(QStringLiteral("SELECT FGroupID, FName FROM t_VoucherGroup WHERE FStandard = 1"));
    ASSERT_EQ(standard.size(), 1);
    clsEboGL step;
    EXPECT_EQ(check(step), 1);
    EXPECT_EQ(QString::number(g_StdVoucherGroupID) + QLatin1Char('\t') + g_StdVoucherGroupName, standard.first());
    const QStringList templates = logOf(QStringLiteral("模式凭证"));
    ASSERT_EQ(templates.size(), 1);
    EXPECT_EQ(description(templates.first()),
              QStringLiteral("存在模式凭证缺少凭证字，升级后这些模式凭证将使用系统默认的凭证字'") +
                  g_StdVoucherGroupName + QStringLiteral("'。"));
    EXPECT_EQ(detailOf(QStringLiteral("模式凭证")),
              QStringList({QStringLiteral("类型\t名称"), QStringLiteral("费用报销\t报销差旅费")}));
    EXPECT_EQ(detailOf(QStringLiteral("自动转账凭证")),
              QStringList({QStringLiteral("名称"), QStringLiteral("结转未交增值税")}));
}

TEST_F(LedgerChecksTest, AFailingQueryIsLoggedWithItsTextAndStopsTheChecks) {
    run(QStringLiteral("DROP TABLE AIS_GLRecur"));
    clsEboGL step;
    EXPECT_EQ(check(step), 2);
    const QStringList rows = logOf(QStringLiteral("自动转账凭证"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(status(rows.first()), QStringLiteral("错误"));
    EXPECT_TRUE(description(rows.first()).startsWith(QStringLiteral("发生错误：")))
        << description(rows.first()).toStdString();
    EXPECT_TRUE(description(rows.first()).contains(QStringLiteral("AIS_GLRecur")));
    // The voucher check comes after it and did not run.
    EXPECT_TRUE(logOf(QStringLiteral("凭证")).isEmpty());
}

}  // namespace
