// The cashier step's check and driver: when the balances-only check refuses,
// whether the module counts as used, the phase order and what a failure
// leaves in the log.
#include "CashierFixture.h"

#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "upgrade/payroll_cashier/clsCn.h"

using CashierDriverTest = CashierFixture;

TEST_F(CashierDriverTest, CheckOfAFullUpgradeQueriesNothing) {
    createFrom(QStringLiteral("standard"));
    run(QStringLiteral("DROP TABLE AIS_TRBankJnl"));  // would fail any query on it
    clsCn step;
    EXPECT_EQ(check(step), 0);
    EXPECT_TRUE(newLogRows().isEmpty());
}

TEST_F(CashierDriverTest, BalancesOnlyIsRefusedWhileTheCurrentPeriodHoldsJournalRows) {
    // Without the statement's rows of the current period 12, the bank
    // journal's rows of that period are found next.
    createFrom(QStringLiteral("standard"));
    setOption(1);
    run(QStringLiteral("DELETE FROM AIS_TRBankChkNote WHERE FPeriod = 12"));
    clsCn step;
    EXPECT_EQ(check(step), 2);
    EXPECT_EQ(newLogRows(),
              QStringList{QStringLiteral(
                  "错误\t出纳管理检测\t检测出纳管理当期有银行存款日记账记录，不能升级。选择只升级余额的方式当期"
                  "不允许有银行存款日记账记录")});
}

TEST_F(CashierDriverTest, BalancesOnlyIsRefusedForACurrentStatementRowFirst) {
    createFrom(QStringLiteral("standard"));
    setOption(1);
    clsCn step;
    EXPECT_EQ(check(step), 2);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].contains(QStringLiteral("当期有银行对账单表记录"))) << rows[0].toStdString();
}

TEST_F(CashierDriverTest, BalancesOnlyPassesWithoutCurrentRowsAndAMissingTableHoldsNone) {
    createFrom(QStringLiteral("mini"));
    setOption(1);
    clsCn step;
    EXPECT_EQ(check(step), 0);
    run(QStringLiteral("DROP TABLE AIS_TRBankChkNote"));
    EXPECT_EQ(check(step), 0);
    EXPECT_TRUE(newLogRows().isEmpty());
}

TEST_F(CashierDriverTest, ACancelEndsTheCheckWithoutAnEntry) {
    createFrom(QStringLiteral("mini"));
    setOption(1);
    g_CancelRequested = true;
    clsCn step;
    EXPECT_EQ(check(step), 2);
    EXPECT_TRUE(newLogRows().isEmpty());
}

TEST_F(CashierDriverTest, ASourceThatNeverUsedTheCashierIsLeftAlone) {
    createFrom(QStringLiteral("mini"));
    clsCn step;
    EXPECT_EQ(upgrade(step), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("警告\t出纳管理\t未启用出纳管理模块，不升级出纳管理")});
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = "
                                         "'CN_INIT_DONE'")),
              QStringLiteral("0"));
    EXPECT_EQ(bar->Value(), 0);
    EXPECT_EQ(askedCount, 0);
    setOption(1);
    EXPECT_EQ(upgrade(step), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("警告\t出纳管理\t未启用出纳管理模块，不升级出纳管理")});
}

// A source without any cashier table (its options still name a cashier
// closed after the start): the stage is skipped with a note in either mode,
// nothing of the cashier is touched.
TEST_F(CashierDriverTest, ASourceWithoutCashierTablesIsSkippedWithANote) {
    createFromEdited(QStringLiteral("standard"), [](SampleTables &tables) {
        DropSampleTables(tables, {QStringLiteral("TRCashJnl"), QStringLiteral("TRBankJnl"),
                                  QStringLiteral("TRBankChkNote"), QStringLiteral("TRBankAccount"),
                                  QStringLiteral("TRBankJnlBal"), QStringLiteral("TRBankChkBal")});
    });
    seedStandardBase();
    const QString note = QStringLiteral("警告\t出纳管理\t源帐套没有出纳管理数据表，跳过出纳管理升级。");
    for (const int option : {0, 1}) {
        SCOPED_TRACE(option);
        setOption(option);
        clsCn step;
        EXPECT_EQ(check(step), 0);
        EXPECT_EQ(upgrade(step), 0);
        EXPECT_EQ(newLogRows(), QStringList{note});
        EXPECT_EQ(bar->Value(), 0);
    }
    EXPECT_EQ(askedCount, 0);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = "
                                         "'CN_INIT_DONE'")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM cn_Account")), QStringLiteral("0"));
}

TEST_F(CashierDriverTest, OneBankAccountRowMakesTheModuleUsed) {
    createFrom(QStringLiteral("mini"));
    run(QStringLiteral("INSERT INTO AIS_TRBankAccount (FAcctID, FCyID, FBankName, FBankAcctNo) VALUES ('1002', "
                       "'RMB', N'银行', '1')"));
    clsCn step;
    EXPECT_EQ(upgrade(step), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t出纳管理银行账号升级\t升级银行账号成功数目：0")});
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = "
                                         "'CN_INIT_DONE'")),
              QStringLiteral("1"));
    EXPECT_EQ(bar->Value(), 100);
}

TEST_F(CashierDriverTest, AClosingDateAfterTheStartMonthMakesTheModuleUsed) {
    createFrom(QStringLiteral("mini"));
    run(QStringLiteral("UPDATE AIS_GLPref SET FTRClosedDate = '2025-01-31'"));
    clsCn step;
    EXPECT_EQ(upgrade(step), 0);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = "
                                         "'CN_INIT_DONE'")),
              QStringLiteral("1"));
    newLogRows();
    run(QStringLiteral("UPDATE AIS_GLPref SET FTRClosedDate = '2025-01-30'"));
    run(QStringLiteral("UPDATE t_SystemProfile SET FValue = '0' WHERE FCategory = 'cn' AND FKey = 'CN_INIT_DONE'"));
    EXPECT_EQ(upgrade(step), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("警告\t出纳管理\t未启用出纳管理模块，不升级出纳管理")});
}

TEST_F(CashierDriverTest, AFailedJournalStatementEndsTheStepWithItsMessageAndStatement) {
    createFrom(QStringLiteral("standard"));
    seedStandardBase();
    run(QStringLiteral("DROP TABLE AIS_TRCashJnl"));
    clsCn step;
    EXPECT_EQ(upgrade(step), 2);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral(
        "错误\t出纳管理\t错误代码18: 升级【出纳管理添加Z8内码】的时候出错：IF NOT EXISTS(SELECT 1 FROM sysobjects")))
        << rows[0].toStdString();
    EXPECT_EQ(bar->Value(), 10);
    EXPECT_EQ(askedCount, 0);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM cn_Account")), QStringLiteral("3"));
}

TEST_F(CashierDriverTest, AClosedBankAccountDialogFailsTheStep) {
    createFrom(QStringLiteral("standard"));
    seedStandardBase();
    asked = [](ado::Recordset &) { return CashierBankAccountAnswer{}; };
    clsCn step;
    EXPECT_EQ(upgrade(step), 2);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 2) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(rows[0],
              QStringLiteral("错误\t银行账户设置\t必须为每个银行都指定对应的账户，您选择了关闭操作导致升级失败！"));
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("错误\t出纳管理\t"))) << rows[1].toStdString();
    EXPECT_EQ(bar->Value(), 20);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM cn_Account WHERE FYhzh <> FKmmc")), QStringLiteral("0"));
}
