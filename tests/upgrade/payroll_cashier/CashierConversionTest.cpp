// The full cashier conversion of the standard sample, on a target whose
// base-data results are seeded (CashierFixture): options, flags, cashier
// accounts, journals, statement, account numbers, opening balances, totals
// and the carry-forward. Expected values come from the sample's text
// (samples/standard/TR*.tsv) or from queries on the staged source rows.
#include "CashierFixture.h"

#include "platform/PnwDictionary.h"
#include "upgrade/payroll_cashier/clsCn.h"

namespace {

QString cnKey(const char *key) {
    return QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey = '") +
           QString::fromLatin1(key) + QLatin1Char('\'');
}

}  // namespace

class CashierConversionTest : public CashierFixture {
protected:
    void convertStandard() {
        createFrom(QStringLiteral("standard"));
        seedStandardBase();
        clsCn step;
        ASSERT_EQ(upgrade(step), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    }
};

TEST_F(CashierConversionTest, OptionsFlagsAndCashierAccounts) {
    convertStandard();
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t出纳管理银行账号升级\t升级银行账号成功数目：2")});
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(targetValue(cnKey("CN_INIT_DONE")), QStringLiteral("1"));
    EXPECT_EQ(targetValue(cnKey("CN_CURRENT_YEAR")), QStringLiteral("2025"));
    EXPECT_EQ(targetValue(cnKey("CN_CURRENT_PERIOD")), QStringLiteral("12"));
    EXPECT_EQ(targetValue(cnKey("CN_START_YEAR")), QStringLiteral("2025"));
    EXPECT_EQ(targetValue(cnKey("CN_START_PERIOD")), QStringLiteral("1"));
    EXPECT_EQ(target(QStringLiteral("SELECT FNumber, FIsCash, FIsBank FROM T_Account ORDER BY FNumber")),
              (QStringList{QStringLiteral("1001\ttrue\tfalse"), QStringLiteral("1002\tfalse\ttrue"),
                           QStringLiteral("1002.01\tfalse\ttrue"), QStringLiteral("1002.02\tfalse\ttrue")}));
    // One cashier account per detail account and its currency; bank ones
    // hold the number answered (by default the account's name).
    EXPECT_EQ(target(QStringLiteral("SELECT FKmID, FKmdm, FBbID, FBb, FYhzh, FIsCash, FQy FROM cn_Account ORDER BY "
                                    "FKmID")),
              (QStringList{QStringLiteral("1001\t1001\t1\t人民币\t库存现金\ttrue\ttrue"),
                           QStringLiteral("1003\t1002.01\t1\t人民币\t工商银行浦东支行\tfalse\ttrue"),
                           QStringLiteral("1004\t1002.02\t2\t美元\t中国银行美元户\tfalse\ttrue")}));
}

TEST_F(CashierConversionTest, EveryJournalAndStatementRowArrivesOnceWithBothAmounts) {
    convertStandard();
    const QString cash = cashierAccount(1001, 1);
    EXPECT_EQ(target(QStringLiteral("SELECT COUNT(*), SUM(FDebit), SUM(FCredit), SUM(FDebitB), SUM(FCreditB) FROM "
                                    "CN_XJRJZ WHERE FKmID = ") +
                     cash),
              QStringList{QStringLiteral("28\t45410\t18857.16\t45410\t18857.16")});
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_TRCashJnl WHERE FZ8InterID = FID")),
              QStringLiteral("28"));
    // Bank journal and statement, own rows (FJz 0), against the staged rows.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHRJZ WHERE FJz = 0")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_TRBankJnl")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT SUM(FDebit) - SUM(FCredit) FROM CN_YHRJZ WHERE FJz = 0")),
              targetValue(QStringLiteral("SELECT SUM(FDebit) - SUM(FCredit) FROM AIS_TRBankJnl")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHDZD WHERE FJz = 0")), QStringLiteral("107"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT SUM(FCredit) - SUM(FDebit) FROM CN_YHDZD WHERE FJz = 0")),
              targetValue(QStringLiteral("SELECT SUM(CASE WHEN FDC = 'C' THEN FAmount ELSE -FAmount END) FROM "
                                         "AIS_TRBankChkNote")));
    // US dollars: base amounts at each row's rate.
    const QString dollars = cashierAccount(1004, 2);
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT ROUND(SUM(FDebitB + FCreditB), 2) FROM CN_YHRJZ WHERE FKmID = ") + dollars),
        targetValue(QStringLiteral("SELECT ROUND(SUM((FDebit + FCredit) * FExchRate), 2) FROM AIS_TRBankJnl "
                                   "WHERE FCyID = 'USD'")));
    // Own rows point at themselves; no voucher of the target backs them.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHRJZ WHERE FJz = 0 AND FOldID <> FID")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHRJZ WHERE FVchYear <> 0 OR FGroup IS NOT NULL")),
              QStringLiteral("0"));
}

TEST_F(CashierConversionTest, ReconciledPairsShareOneNumber) {
    convertStandard();
    const QString pairs = targetValue(QStringLiteral(
        "SELECT COUNT(*) FROM AIS_TRBankJnl j WHERE j.FChecked = 1 AND EXISTS (SELECT 1 FROM AIS_TRBankChkNote s "
        "WHERE s.FChecked = 1 AND s.FVNum = j.FNum AND s.FVGroup = j.FGroup AND s.FVPeriod = j.FPeriod AND "
        "s.FVEntryID = j.FEntryID)"));
    EXPECT_EQ(pairs, QStringLiteral("105"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHRJZ WHERE FJz = 0 AND FDzNumber <> -1")), pairs);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHRJZ r INNER JOIN CN_YHDZD d ON d.FDzNumber = "
                                         "r.FDzNumber AND d.FKmID = r.FKmID AND d.FDebit = r.FCredit AND d.FCredit = "
                                         "r.FDebit WHERE r.FDzNumber <> -1 AND r.FJz = 0 AND d.FJz = 0")),
              pairs);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHRJZ WHERE FJz = 0 AND FDzAlready = 0 AND "
                                         "FDzNumber = -1")),
              QStringLiteral("2"));
}

TEST_F(CashierConversionTest, OpeningBalancesTotalsAndAdjustedBalances) {
    convertStandard();
    // Opening balances: period 1 of TRBankJnlBal and TRBankChkBal; the
    // dollar account's base opening is the source's (355000.00 at the year's
    // opening rate), not 50000 at today's 7.1653.
    EXPECT_EQ(target(QStringLiteral("SELECT FKmID, FYe, FYeB, FYhdzdYe, FYhrjzTzhYe, FYhdzdTzhYe, FJfje, FDfje FROM "
                                    "cn_Account ORDER BY FKmID")),
              (QStringList{QStringLiteral("1001\t8560\t8560\t0\t8560\t0\t0\t0"),
                           // The statement's item of 2024-12-31 (326.50 credited by the
                           // bank) is the one opening item: both adjusted balances agree.
                           QStringLiteral("1003\t2256800\t2256800\t2257126.5\t2257126.5\t2257126.5\t0\t0"),
                           QStringLiteral("1004\t50000\t355000\t50000\t50000\t50000\t0\t0")}));
    EXPECT_EQ(target(QStringLiteral("SELECT l.FType, a.FKmID, l.FYear, l.FYe, l.FYeB, l.FDebit, l.FCredit FROM "
                                    "Cn_Lcye l INNER JOIN cn_Account a ON a.FID = l.FKmID ORDER BY l.FType, "
                                    "a.FKmID")),
              (QStringList{QStringLiteral("1\t1001\t2025\t8560\t8560\t0\t0"),
                           QStringLiteral("2\t1003\t2025\t2256800\t2256800\t0\t326.5"),
                           QStringLiteral("2\t1004\t2025\t50000\t355000\t0\t0"),
                           QStringLiteral("3\t1003\t2025\t2257126.5\t2257126.5\t0\t0"),
                           // No base opening in the statement balances: today's rate.
                           QStringLiteral("3\t1004\t2025\t50000\t358265\t0\t0")}));
}

TEST_F(CashierConversionTest, TheOpeningItemIsCarriedIntoEveryPeriod) {
    convertStandard();
    EXPECT_EQ(target(QStringLiteral("SELECT FYear, FPeriod, FDate, FCredit, FJz FROM CN_YHDZD WHERE FYear = 0")),
              QStringList{QStringLiteral("0\t0\t2024-12-31T00:00:00.000\t326.5\tfalse")});
    const QString opening = targetValue(QStringLiteral("SELECT FID FROM CN_YHDZD WHERE FYear = 0"));
    EXPECT_EQ(target(QStringLiteral("SELECT FYear, COUNT(*), MIN(FPeriod), MAX(FPeriod), COUNT(DISTINCT FPeriod) "
                                    "FROM CN_YHDZD WHERE FJz = 1 AND FOldID = ") +
                     opening + QStringLiteral(" AND FDzAlready = 0 AND FDzNumber = -1 GROUP BY FYear")),
              QStringList{QStringLiteral("2025\t12\t1\t12\t12")});
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHDZD WHERE FJz = 1")), QStringLiteral("12"));
    // The journal's unreconciled rows lie in the current period: nothing to
    // carry.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHRJZ WHERE FJz = 1")), QStringLiteral("0"));
}

TEST_F(CashierConversionTest, BankAccountNumbersAreStoredAsTyped) {
    createFrom(QStringLiteral("standard"));
    seedStandardBase();
    QStringList shown;
    asked = [&shown](ado::Recordset &rs) {
        CashierBankAccountAnswer answer;
        answer.ResultOK = true;
        const QStringList numbers = {QStringLiteral("0012-AB'34;--]"), QStringLiteral("4563 5120 8876")};
        int i = 0;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext(), ++i) {
            shown << rs.value(QStringLiteral("FKMdm")).toString() + QLatin1Char('/') +
                         rs.value(QStringLiteral("FBB")).toString();
            PnwDictionary record;
            record.setItem(QStringLiteral("FYHZH"), numbers.value(i));
            record.setItem(QStringLiteral("FKMID"), QLatin1Char(' ') + rs.value(QStringLiteral("FKMID")).toString());
            // Trailing blanks in the currency name still match.
            record.setItem(QStringLiteral("FBB"), rs.value(QStringLiteral("FBB")).toString() + QStringLiteral("  "));
            answer.returndata.Add(record);
        }
        return answer;
    };
    clsCn step;
    EXPECT_EQ(upgrade(step), 0);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("1002.01/人民币"), QStringLiteral("1002.02/美元")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FKmID, FYhzh FROM cn_Account ORDER BY FKmID")),
              (QStringList{QStringLiteral("1001\t库存现金"), QStringLiteral("1003\t0012-AB'34;--]"),
                           QStringLiteral("1004\t4563 5120 8876")}));
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t出纳管理银行账号升级\t升级银行账号成功数目：2")});
}

TEST_F(CashierConversionTest, ADividingCurrencyDividesEverywhereAndAZeroRateIsReported) {
    createFrom(QStringLiteral("standard"));
    seedStandardBase();
    run(QStringLiteral("UPDATE T_Currency SET FOperator = '/', FExchangeRate = 2 WHERE FCurrencyID = 2"));
    // A source without base openings: the openings are rated as well.
    run(QStringLiteral("UPDATE AIS_TRBankJnlBal SET FBegBalBase = NULL"));
    run(QStringLiteral("UPDATE AIS_TRBankJnl SET FExchRate = 0 WHERE FCyID = 'USD' AND FPeriod = 1"));
    run(QStringLiteral("UPDATE AIS_TRCashJnl SET FExchRate = NULL WHERE FID = 2"));
    clsCn step;
    EXPECT_EQ(upgrade(step), 1);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 3) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(rows[0],
              QStringLiteral("警告\t出纳管理\t现金日记账有1行的汇率为零或为空，这些行的本位币金额没有按汇率折算。"));
    EXPECT_EQ(rows[1], QStringLiteral(
                           "警告\t出纳管理\t银行存款日记账有1行的汇率为零或为空，这些行的本位币金额没有按汇率折算。"));
    EXPECT_EQ(
        target(QStringLiteral("SELECT FCredit, FCreditB FROM CN_XJRJZ WHERE FExp = N'赵磊借差旅费' AND FPeriod = 1")),
        QStringList{QStringLiteral("3000\t3000")});
    const QString dollars = cashierAccount(1004, 2);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT ROUND(SUM(FDebitB + FCreditB), 2) FROM CN_YHRJZ WHERE FKmID = ") +
                          dollars + QStringLiteral(" AND FPeriod > 1")),
              targetValue(QStringLiteral("SELECT ROUND(SUM((FDebit + FCredit) / FExchRate), 2) FROM AIS_TRBankJnl "
                                         "WHERE FCyID = 'USD' AND FPeriod > 1")));
    EXPECT_EQ(target(QStringLiteral("SELECT FDebitB, FCreditB FROM CN_YHRJZ WHERE FKmID = ") + dollars +
                     QStringLiteral(" AND FPeriod = 1")),
              QStringList{QStringLiteral("0\t25")});
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FYeB FROM cn_Account WHERE FKmID = 1004")), QStringLiteral("25000"));
    EXPECT_EQ(target(QStringLiteral("SELECT l.FType, l.FYeB FROM Cn_Lcye l INNER JOIN cn_Account a ON a.FID = "
                                    "l.FKmID WHERE a.FKmID = 1004 ORDER BY l.FType")),
              (QStringList{QStringLiteral("2\t25000"), QStringLiteral("3\t25000")}));
}

TEST_F(CashierConversionTest, ItemsUnreconciledAtAYearEndReachPeriodOneOfTheNextYear) {
    // A cashier that started in November 2024 (the start keys missing, so
    // the source's own start is taken): the statement item of 2024-12-31 is
    // a row of December 2024 and is carried on into every period of 2025.
    createFrom(QStringLiteral("standard"));
    seedStandardBase();
    run(QStringLiteral("DELETE FROM t_SystemProfile WHERE FCategory = 'cn' AND FKey IN ('CN_START_YEAR', "
                       "'CN_START_PERIOD')"));
    run(QStringLiteral("UPDATE AIS_GLPref SET FStartYear = 2024, FStartPeriod = 11"));
    clsCn step;
    ASSERT_EQ(upgrade(step), 0);
    EXPECT_EQ(targetValue(cnKey("CN_START_YEAR")), QStringLiteral("2024"));
    EXPECT_EQ(targetValue(cnKey("CN_START_PERIOD")), QStringLiteral("11"));
    const QString original = targetValue(QStringLiteral("SELECT FID FROM CN_YHDZD WHERE FYear = 2024"));
    EXPECT_EQ(target(QStringLiteral("SELECT FYear, FPeriod, FJz FROM CN_YHDZD WHERE FID = ") + original),
              QStringList{QStringLiteral("2024\t12\tfalse")});
    EXPECT_EQ(target(QStringLiteral("SELECT FYear, COUNT(*), MIN(FPeriod), MAX(FPeriod) FROM CN_YHDZD WHERE FJz = 1 "
                                    "AND FOldID = ") +
                     original + QStringLiteral(" GROUP BY FYear")),
              QStringList{QStringLiteral("2025\t12\t1\t12")});
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHDZD WHERE FYear = 0")), QStringLiteral("0"));
}

TEST_F(CashierConversionTest, ADividingCurrencyWithoutARateKeepsItsAmountsAndIsReported) {
    createFrom(QStringLiteral("standard"));
    seedStandardBase();
    run(QStringLiteral("UPDATE T_Currency SET FOperator = '/', FExchangeRate = 0 WHERE FCurrencyID = 2"));
    run(QStringLiteral("UPDATE AIS_TRBankJnlBal SET FBegBalBase = NULL"));
    clsCn step;
    EXPECT_EQ(upgrade(step), 1);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 2) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(rows[1],
              QStringLiteral("警告\t出纳管理\t出纳科目有1行的汇率为零或为空，这些行的本位币金额没有按汇率折算。"));
    EXPECT_EQ(target(QStringLiteral("SELECT FYe, FYeB FROM cn_Account WHERE FKmID = 1004")),
              QStringList{QStringLiteral("50000\t50000")});
}

TEST_F(CashierConversionTest, HandlersAreFoundByNameAndPreparersFallBackToThem) {
    createFrom(QStringLiteral("standard"));
    seedStandardBase();
    // Two employees share the name 赵磊: the first of them is taken.
    run(QStringLiteral("INSERT INTO t_Emp (FItemID, FName) VALUES (501, N'赵磊')\n"
                       "INSERT INTO t_Emp (FItemID, FName) VALUES (502, N'刘洋')\n"
                       "INSERT INTO t_Emp (FItemID, FName) VALUES (503, N'赵磊')\n"));
    run(QStringLiteral("UPDATE AIS_TRCashJnl SET FPreparer = NULL WHERE FID = 2"));
    clsCn step;
    ASSERT_EQ(upgrade(step), 0);
    EXPECT_EQ(
        target(QStringLiteral("SELECT FHandlerID, COUNT(*) FROM CN_XJRJZ GROUP BY FHandlerID ORDER BY "
                              "FHandlerID")),
        (QStringList{QStringLiteral("\t") +
                         targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_TRCashJnl WHERE FHandler NOT IN "
                                                    "(N'赵磊', N'刘洋')")),
                     QStringLiteral("501\t") +
                         targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_TRCashJnl WHERE FHandler = N'赵磊'")),
                     QStringLiteral("502\t") +
                         targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_TRCashJnl WHERE FHandler = N'刘洋'"))}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FLyr FROM CN_XJRJZ WHERE FID = 2")), QStringLiteral("赵磊"));
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT FHandlerID FROM CN_YHRJZ WHERE FExp = N'收到杭州西湖文化用品公司货款'")),
        QStringLiteral("502"));
}

TEST_F(CashierConversionTest, RowsWithoutACashierAccountAreLeftOutAndTold) {
    createFrom(QStringLiteral("standard"));
    seedStandardBase();
    // A currency the base data did not convert, and an account that is no
    // cash or bank account.
    run(QStringLiteral("UPDATE AIS_TRCashJnl SET FCyID = 'EUR' WHERE FID = 3"));
    run(QStringLiteral("UPDATE AIS_TRBankChkNote SET FAcctID = '1122' WHERE FDate = '2025-01-14'"));
    clsCn step;
    EXPECT_EQ(upgrade(step), 1);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 3) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(rows[0],
              QStringLiteral("警告\t出纳管理\t现金日记账有1行找不到对应的出纳科目（科目或币别没有升级，或不是现金、"
                             "银行科目），没有升级。"));
    EXPECT_EQ(rows[1],
              QStringLiteral("警告\t出纳管理\t银行对账单有1行找不到对应的出纳科目（科目或币别没有升级，或不是现金、"
                             "银行科目），没有升级。"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_XJRJZ")), QStringLiteral("27"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHDZD WHERE FJz = 0")), QStringLiteral("106"));
    // The detail table names the row: captions, then the row left out.
    EXPECT_EQ(server.rows(QStringLiteral("AcctCtl"),
                          QStringLiteral("SELECT F1, F2, F3, F4 FROM [AIS_UpgradeLog_现金日记账未升级] ORDER BY FID")),
              (QStringList{QStringLiteral("科目\t日期\t摘要\t币别"),
                           QStringLiteral("1001\t2025-01-26\t郑敏报销办公用品费\tEUR")}));
}
