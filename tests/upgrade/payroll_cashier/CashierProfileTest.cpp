// The cashier options, flags, cashier accounts and year-opening rows, and
// the start split of the journals, on the standard sample with seeded base
// data (CashierFixture) changed where a case needs it.
#include "CashierFixture.h"

#include "foundation/Globals.h"
#include "upgrade/payroll_cashier/clsCn.h"

namespace {

QString cnKey(const char *key) {
    return QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = '") +
           QString::fromLatin1(key) + QLatin1Char('\'');
}

}  // namespace

class CashierProfileTest : public CashierFixture {
protected:
    void SetUp() override {
        CashierFixture::SetUp();
        createFrom(QStringLiteral("standard"));
        seedStandardBase();
    }
    int convert() {
        clsCn step;
        return upgrade(step);
    }
};

TEST_F(CashierProfileTest, AnEarlierStartYearMovesTheStartToPeriodOneOfTheCurrentYear) {
    run(QStringLiteral("UPDATE AIS_GLPref SET FStartYear = 2024, FStartPeriod = 7"));
    ASSERT_EQ(convert(), 0);
    EXPECT_EQ(targetValue(cnKey("CN_START_YEAR")), QStringLiteral("2025"));
    EXPECT_EQ(targetValue(cnKey("CN_START_PERIOD")), QStringLiteral("1"));
}

TEST_F(CashierProfileTest, MissingKeysAreInsertedFromTheSourceStart) {
    run(QStringLiteral("DELETE FROM t_SystemProfile WHERE FCategory = 'cn'"));
    run(QStringLiteral("UPDATE AIS_GLPref SET FStartPeriod = 3"));
    ASSERT_EQ(convert(), 0);
    EXPECT_EQ(target(QStringLiteral("SELECT FKey, FValue, FReadOnly, FLevel FROM t_SystemProfile WHERE FCategory = "
                                    "'cn' ORDER BY FKey")),
              (QStringList{QStringLiteral("CN_CURRENT_PERIOD\t12\t0\t2"), QStringLiteral("CN_CURRENT_YEAR\t2025\t0\t2"),
                           QStringLiteral("CN_INIT_DONE\t1\t0\t2"), QStringLiteral("CN_START_PERIOD\t3\t0\t2"),
                           QStringLiteral("CN_START_YEAR\t2025\t0\t2")}));
}

TEST_F(CashierProfileTest, CashFlagsReachSubaccountsAndAllCurrencyAccountsGetEveryCurrency) {
    run(QStringLiteral(
        "INSERT INTO T_Account (FAccountID, FNumber, FName, FLevel, FDetail, FCurrencyID, FIsCash, FIsBank) VALUES "
        "(1005, '1001.02', N'备用金', 2, 1, 1, 0, 0)\n"
        "INSERT INTO T_Account (FAccountID, FNumber, FName, FLevel, FDetail, FCurrencyID, FIsCash, FIsBank) VALUES "
        "(1006, '1002.03', N'外币综合户', 2, 1, 0, 0, 0)\n"
        "INSERT INTO T_Account (FAccountID, FNumber, FName, FLevel, FDetail, FCurrencyID, FIsCash, FIsBank) VALUES "
        "(1007, '1122', N'应收账款', 1, 1, 1, 0, 0)\n"));
    ASSERT_EQ(convert(), 0);
    EXPECT_EQ(target(QStringLiteral("SELECT FNumber FROM T_Account WHERE FIsCash = 1 ORDER BY FNumber")),
              (QStringList{QStringLiteral("1001"), QStringLiteral("1001.02")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FBbID, FIsCash FROM cn_Account WHERE FKmID = 1006 ORDER BY FBbID")),
              (QStringList{QStringLiteral("1\tfalse"), QStringLiteral("2\tfalse"), QStringLiteral("3\tfalse")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FKmID FROM cn_Account WHERE FIsCash = 1 ORDER BY FKmID")),
              (QStringList{QStringLiteral("1001"), QStringLiteral("1005")}));
    // Asked for every bank account and currency.
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t出纳管理银行账号升级\t升级银行账号成功数目：5")});
}

TEST_F(CashierProfileTest, OnlyAccountsWithBalancesInTheLastPeriodGetYearOpeningRows) {
    run(QStringLiteral("DELETE FROM AIS_TRBankJnlBal WHERE FAcctID = '100202' AND FPeriod = 12"));
    ASSERT_EQ(convert(), 0);
    EXPECT_EQ(target(QStringLiteral("SELECT l.FType, a.FKmID FROM Cn_Lcye l INNER JOIN cn_Account a ON a.FID = l.FKmID "
                                    "ORDER BY l.FType, a.FKmID")),
              (QStringList{QStringLiteral("1\t1001"), QStringLiteral("2\t1003"), QStringLiteral("3\t1003"),
                           QStringLiteral("3\t1004")}));
}

TEST_F(CashierProfileTest, RowsBeforeTheStartAreOpeningItemsOrLeftOut) {
    // A bank-journal row and a cash row of December 2024, before the start.
    run(QStringLiteral("UPDATE AIS_TRBankJnl SET FDate = '2024-12-20', FPeriod = 12 WHERE FAcctID = '100201' AND "
                       "FDate = '2025-01-12'"));
    run(QStringLiteral("UPDATE AIS_TRBankJnl SET FChecked = 0, FAutoChecked = 0 WHERE FDate = '2024-12-20'"));
    run(QStringLiteral("UPDATE AIS_TRCashJnl SET FDate = '2024-12-28' WHERE FID = 1"));
    ASSERT_EQ(convert(), 0);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_XJRJZ")), QStringLiteral("27"));
    EXPECT_EQ(target(QStringLiteral("SELECT FYear, FPeriod, FCredit, FDzAlready, FDzNumber FROM CN_YHRJZ WHERE FDate "
                                    "= '2024-12-20' AND FJz = 0")),
              QStringList{QStringLiteral("0\t0\t18500\tfalse\t-1")});
    // The journal's opening item adjusts the statement balance and fills the
    // statement's year-opening movement; the statement's adjusts the journal.
    EXPECT_EQ(target(QStringLiteral("SELECT FYhrjzTzhYe, FYhdzdTzhYe FROM cn_Account WHERE FKmID = 1003")),
              QStringList{QStringLiteral("2257126.5\t2238626.5")});
    EXPECT_EQ(target(QStringLiteral("SELECT l.FDebit, l.FCredit FROM Cn_Lcye l INNER JOIN cn_Account a ON a.FID = "
                                    "l.FKmID WHERE a.FKmID = 1003 AND l.FType = 3")),
              QStringList{QStringLiteral("0\t18500")});
    // Carried into every period of 2025.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHRJZ WHERE FJz = 1 AND FOldID = (SELECT FID FROM "
                                         "CN_YHRJZ WHERE FYear = 0)")),
              QStringLiteral("12"));
}

TEST_F(CashierProfileTest, ACancelInTheFirstPhaseEndsTheStepWithWhatWasDone) {
    g_CancelRequested = true;
    EXPECT_EQ(convert(), 2);
    EXPECT_EQ(targetValue(cnKey("CN_INIT_DONE")), QStringLiteral("1"));
    EXPECT_EQ(targetValue(cnKey("CN_CURRENT_PERIOD")), QStringLiteral("1"));
    // The stop is the cancel's: the run's cancel entry tells it, not an error
    // entry of the step.
    EXPECT_EQ(newLogRows(), QStringList());
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM cn_Account")), QStringLiteral("0"));
}

TEST_F(CashierProfileTest, StatementOpeningBalancesComeFromTheStatementsOwnFirstPeriod) {
    // Statement balances that start one period after the journal balances.
    run(QStringLiteral("DELETE FROM AIS_TRBankChkBal WHERE FPeriod = 1"));
    ASSERT_EQ(convert(), 0);
    EXPECT_EQ(target(QStringLiteral("SELECT FKmID, FYe, FYhdzdYe FROM cn_Account ORDER BY FKmID")),
              (QStringList{QStringLiteral("1001\t8560\t0"), QStringLiteral("1003\t2256800\t2179856.35"),
                           QStringLiteral("1004\t50000\t49975")}));
}
