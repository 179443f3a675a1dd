// The balances phase on the standard sample after the voucher phase, with
// the base data seeded by the fixture: the target's balances checked
// against the staged source balances and against themselves.
#include "LedgerFixture.h"

namespace {

// Rows of t_Balance at account level, all currencies.
const QString kAccountTotals = QStringLiteral("FDetailID = 0 AND FCurrencyID = 0");

class LedgerBalanceTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        createFrom(QStringLiteral("standard"));
        seedBaseData();
    }

    void convert(bool balanceOnly = false) {
        ASSERT_LT(LedgerPhaseProbe::run(LedgerPhaseProbe::voucher, balanceOnly), 2);
        pending().clear();
        newLogRows();
    }

    // Source closing balances of a period in base currency per account,
    // against the target's all-currency account rows.
    QString accountsDifferingFromSource(int period) {
        return targetValue(
            QStringLiteral(
                "SELECT COUNT(*) FROM (SELECT A.FZ8InterID AS FAccountID, SUM(B.FEndBal) AS FEnd, SUM(B.FBegBal) AS "
                "FBeg FROM AIS_GLBal B INNER JOIN AIS_GLAcct A ON A.FAcctID = B.FAcctID WHERE B.FClsID = 0 AND "
                "B.FPeriod = %1 AND (B.FBase <> 0 OR B.FCyID = 'RMB') GROUP BY A.FZ8InterID) S LEFT JOIN t_Balance T "
                "ON T.FAccountID = S.FAccountID AND T.FPeriod = %1 AND T.FDetailID = 0 AND T.FCurrencyID = 0 WHERE "
                "ISNULL(T.FEndBalance, 0) <> S.FEnd OR ISNULL(T.FBeginBalance, 0) <> S.FBeg")
                .arg(period));
    }
};

TEST_F(LedgerBalanceTest, BalancesMatchTheSourceAndAddUp) {
    convert();
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::balance), 0);
    EXPECT_EQ(pending(), QStringList({QStringLiteral("成功\t科目余额\t")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM Tmp_Mult_Item")), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM sysobjects WHERE name = 'TempGLAcctMapping'")),
              QStringLiteral("0"));
    const int periods = targetValue(QStringLiteral("SELECT FCurrPeriod FROM AIS_GLPref")).toInt();
    for (int period = 1; period <= periods; ++period) {
        // Every account's balance is the source's.
        EXPECT_EQ(accountsDifferingFromSource(period), QStringLiteral("0")) << "period " << period;
    }
    // The trial balance of every period balances.
    EXPECT_EQ(target(QStringLiteral("SELECT B.FPeriod, SUM(B.FBeginBalance), SUM(B.FEndBalance), SUM(B.FDebit) - "
                                    "SUM(B.FCredit) FROM t_Balance B INNER JOIN T_Account A ON A.FAccountID = "
                                    "B.FAccountID WHERE A.FDetail = 1 AND B.FDetailID = 0 AND B.FCurrencyID = 0 GROUP "
                                    "BY B.FPeriod HAVING SUM(B.FBeginBalance) <> 0 OR SUM(B.FEndBalance) <> 0 OR "
                                    "SUM(B.FDebit) <> SUM(B.FCredit)")),
              QStringList());
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(DISTINCT FPeriod) FROM t_Balance")), QString::number(periods));
    // Parent totals are the sums of their children.
    EXPECT_EQ(target(QStringLiteral(
                  "SELECT P.FPeriod, P.FAccountID FROM t_Balance P WHERE P.FDetailID = 0 AND P.FCurrencyID = 0 AND "
                  "EXISTS (SELECT 1 FROM T_Account C WHERE C.FParentID = P.FAccountID) AND P.FEndBalance <> (SELECT "
                  "SUM(B.FEndBalance) FROM t_Balance B INNER JOIN T_Account C ON C.FAccountID = B.FAccountID WHERE "
                  "C.FParentID = P.FAccountID AND B.FPeriod = P.FPeriod AND B.FDetailID = 0 AND B.FCurrencyID = 0)")),
              QStringList());
    // The item rows of every account add up to its account row (in every
    // period, for every account with items).
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(DISTINCT FPeriod) FROM t_Balance WHERE FDetailID > 0 AND "
                                         "FCurrencyID = 0")),
              QString::number(periods));
    EXPECT_EQ(target(QStringLiteral(
                  "SELECT A.FPeriod, A.FAccountID, A.FEndBalance, SUM(I.FEndBalance) FROM t_Balance A INNER JOIN "
                  "t_Balance I ON I.FYear = A.FYear AND I.FPeriod = A.FPeriod AND I.FAccountID = A.FAccountID AND "
                  "I.FCurrencyID = A.FCurrencyID AND I.FDetailID > 0 WHERE A.FDetailID = 0 AND A.FCurrencyID = 0 "
                  "GROUP BY A.FPeriod, A.FAccountID, A.FEndBalance HAVING SUM(I.FEndBalance) <> A.FEndBalance")),
              QStringList());
    // Quantities: every account's end quantity is the source's.
    EXPECT_EQ(targetValue(QStringLiteral(
                  "SELECT COUNT(*) FROM AIS_GLQtyBal S INNER JOIN AIS_GLAcct A ON A.FAcctID = S.FAcctID LEFT JOIN "
                  "t_QuantityBalance Q ON Q.FAccountID = A.FZ8InterID AND Q.FPeriod = S.FPeriod AND Q.FDetailID = 0 "
                  "AND Q.FCurrencyID = 0 WHERE S.FClsID = 0 AND ISNULL(Q.FEndQty, 0) <> S.FEndQty")),
              QStringLiteral("0"));
}

TEST_F(LedgerBalanceTest, AnAccountUnderTwoItemClassesIsLeftOutListedAndResetsTheSet) {
    // 1122 gets a second class in its opening balances (period 1).
    run(QStringLiteral("INSERT INTO AIS_GLBal (FAcctID, FClsID, FObjID, FCyID, FPeriod, FBase, FBegBal, FDebit, "
                       "FCredit, FYtdDebit, FYtdCredit, FEndBal) VALUES ('1122', 2, '01', 'RMB', 1, 0, 100, 0, 0, 0, "
                       "0, 100)"));
    convert();
    const QString account = accountID(QStringLiteral("1122"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::balance), 1);
    const QStringList log = pending();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(status(log.first()), QStringLiteral("警告"));
    EXPECT_TRUE(description(log.first()).startsWith(QStringLiteral("无法升级存在多核算项目期初余额的记录")));
    EXPECT_EQ(detailOf(QStringLiteral("科目余额")),
              QStringList({QStringLiteral("科目代码\t科目名称\t余额类型"), QStringLiteral("1122\t应收账款\t金额")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FAccountID, FTableName FROM Tmp_Mult_Item")),
              QStringList({account + QStringLiteral("\tt_Balance")}));
    // Left out, and the set is uninitialised with its vouchers unposted.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_Balance WHERE FAccountID = ") + account),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = "
                                         "'InitClosed'")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_Voucher WHERE FPosted <> 0")), QStringLiteral("0"));
    // Only the start period remains, and the parent of 1122 (none: it is a
    // first-level account) and the trial balance are not checked here; the
    // other accounts keep their opening position.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(DISTINCT FPeriod) FROM t_Balance")), QStringLiteral("1"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_Balance WHERE FDebit <> 0 OR FCredit <> 0")),
              QStringLiteral("0"));
}

TEST_F(LedgerBalanceTest, BalancesOnlyFoldsTheYearIntoPeriodOneAndDropsTheVouchers) {
    setOption(1);
    convert(true);
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::balance, true), 0);
    const QString current = targetValue(QStringLiteral("SELECT FCurrPeriod FROM AIS_GLPref"));
    EXPECT_EQ(target(QStringLiteral("SELECT DISTINCT FPeriod FROM t_Balance ORDER BY FPeriod")),
              QStringList({QStringLiteral("1"), current}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_Voucher")), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_VoucherEntry")), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = "
                                         "'StartPeriod'")),
              current);
    // Period 1 carries the year's movement up to the current period and
    // ends where the current period ends... minus its own movement.
    EXPECT_EQ(accountsDifferingFromSource(current.toInt()), QStringLiteral("0"));
    EXPECT_EQ(
        targetValue(
            QStringLiteral(
                "SELECT COUNT(*) FROM t_Balance P1 INNER JOIN t_Balance PM ON PM.FAccountID = P1.FAccountID AND "
                "PM.FDetailID = P1.FDetailID AND PM.FCurrencyID = P1.FCurrencyID AND PM.FPeriod = %1 WHERE "
                "P1.FPeriod = 1 AND (P1.FDebit <> PM.FYtdDebit OR P1.FEndBalance <> P1.FBeginBalance + PM.FYtdDebit "
                "- PM.FYtdCredit)")
                .arg(current)),
        QStringLiteral("0"));
}

TEST_F(LedgerBalanceTest, AMissingAccountMappingTableFailsTheBatchWhole) {
    convert();
    run(QStringLiteral("DROP TABLE TempGLAcctMapping"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::balance), 2);
    const QStringList log = pending();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(status(log.first()), QStringLiteral("错误"));
    EXPECT_TRUE(description(log.first()).startsWith(QStringLiteral("发生错误：")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_Balance")), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM sysobjects WHERE name = 'Tmp_Mult_Item'")),
              QStringLiteral("0"));
}

// Sources of other shapes than the sample's.
const QString kBalanceColumns = QStringLiteral(
    "FAcctID\tFClsID\tFObjID\tFCyID\tFPeriod\tFBase\tFBegBal\tFDebit\tFCredit\tFYtdDebit\tFYtdCredit\tFEndBal\n");

class LedgerBalanceShapeTest : public LedgerFixture {
protected:
    int convert() {
        EXPECT_LT(LedgerPhaseProbe::run(LedgerPhaseProbe::voucher), 2);
        pending().clear();
        newLogRows();
        return LedgerPhaseProbe::run(LedgerPhaseProbe::balance);
    }
    QString value(const QString &sql) { return targetValue(sql); }
    // Combinations the chart made without item rows (all items of a class),
    // holding the lowest numbers.
    void addChartCombinations() {
        run(QStringLiteral("SET IDENTITY_INSERT t_ItemDetail ON\r\n"
                           "INSERT INTO t_ItemDetail (FDetailID, FDetailCount, F1) VALUES (1, 1, -1)\r\n"
                           "INSERT INTO t_ItemDetail (FDetailID, FDetailCount, F2) VALUES (2, 1, -1)\r\n"
                           "INSERT INTO t_ItemDetail (FDetailID, FDetailCount, F3) VALUES (3, 1, -1)\r\n"
                           "SET IDENTITY_INSERT t_ItemDetail OFF"));
    }
    // Every combination names the item its item row names, and the chart's
    // combinations are left as they were.
    void expectEveryCombinationNamesItsItem() {
        EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM t_ItemDetailV V INNER JOIN t_ItemDetail D ON "
                                       "D.FDetailID = V.FDetailID WHERE V.FItemClassID IN (1, 2, 3) AND V.FItemID <> "
                                       "CASE V.FItemClassID WHEN 1 THEN D.F1 WHEN 2 THEN D.F2 ELSE D.F3 END")),
                  QStringLiteral("0"));
        EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM t_ItemDetail WHERE FDetailID <= 3 AND FDetailCount = 1 "
                                       "AND F1 + F2 + F3 = -1")),
                  QStringLiteral("3"));
    }
    // Account-level rows of a parent in a currency that differ from the sums
    // of its children's rows.
    QString parentsDifferingFromChildren(int currency) {
        return targetValue(
            QStringLiteral(
                "SELECT COUNT(*) FROM t_Balance P WHERE P.FDetailID = 0 AND P.FCurrencyID = %1 AND EXISTS (SELECT 1 "
                "FROM T_Account C WHERE C.FParentID = P.FAccountID) AND (P.FYtdDebit <> (SELECT ISNULL(SUM(B.FYtdDebit), "
                "0) FROM t_Balance B INNER JOIN T_Account C ON C.FAccountID = B.FAccountID WHERE C.FParentID = "
                "P.FAccountID AND B.FPeriod = P.FPeriod AND B.FDetailID = 0 AND B.FCurrencyID = %1) OR "
                "P.FEndBalance <> (SELECT ISNULL(SUM(B.FEndBalance), 0) FROM t_Balance B INNER JOIN T_Account C ON "
                "C.FAccountID = B.FAccountID WHERE C.FParentID = P.FAccountID AND B.FPeriod = P.FPeriod AND "
                "B.FDetailID = 0 AND B.FCurrencyID = %1))")
                .arg(currency));
    }
};

TEST_F(LedgerBalanceShapeTest, NoQuantityMarksCountIntoNoQuantityBalance) {
    // A posted voucher of period 2 between two quantity accounts whose
    // entries carry the source's "no quantity" mark.
    createEdited({TableEdit::add(
        QStringLiteral("GLVch"),
        kVoucherColumns +
            QStringLiteral("903\t2025-02-20\t2\t记\t903\t0\t14050101\t0\t\\N\t\\N\tRMB\t1\t100\t100\t0\t-1\t1\t1\t0\t0\n"
                           "903\t2025-02-20\t2\t记\t903\t1\t14050102\t0\t\\N\t\\N\tRMB\t1\t100\t0\t100\t-1\t1\t1\t0\t0\n"))});
    EXPECT_LT(convert(), 2);
    // Every quantity account's figures of every period are the source's.
    EXPECT_EQ(value(QStringLiteral(
                  "SELECT COUNT(*) FROM AIS_GLQtyBal S INNER JOIN AIS_GLAcct A ON A.FAcctID = S.FAcctID LEFT JOIN "
                  "t_QuantityBalance Q ON Q.FAccountID = A.FZ8InterID AND Q.FPeriod = S.FPeriod AND Q.FDetailID = 0 "
                  "AND Q.FCurrencyID = 0 WHERE S.FClsID = 0 AND (ISNULL(Q.FBeginQty, 0) <> S.FBegQty OR "
                  "ISNULL(Q.FDebitQty, 0) <> S.FDebit OR ISNULL(Q.FCreditQty, 0) <> S.FCredit OR ISNULL(Q.FEndQty, 0) "
                  "<> S.FEndQty)")),
              QStringLiteral("0"));
}

TEST_F(LedgerBalanceShapeTest, AnUnmappedAccountUnderTwoItemClassesIsNamedByItsCode) {
    createEdited({TableEdit::add(QStringLiteral("GLBal"),
                                 kBalanceColumns +
                                     QStringLiteral("1122\t2\t01\tRMB\t1\t0\t100\t0\t0\t0\t0\t100\n"))});
    run(QStringLiteral("UPDATE AIS_GLAcct SET FZ8InterID = NULL WHERE FAcctID = '1122'"));
    EXPECT_EQ(convert(), 1);
    EXPECT_EQ(detailOf(QStringLiteral("科目余额")),
              QStringList({QStringLiteral("科目代码\t科目名称\t余额类型"), QStringLiteral("1122\t应收账款\t金额")}));
    EXPECT_EQ(value(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = "
                                   "'InitClosed'")),
              QStringLiteral("0"));
}

TEST_F(LedgerBalanceShapeTest, ItemMovementsCountOnlyTheVouchersOfTheYear) {
    // A posted voucher of the next year (period 13, its period 1) with an
    // item and a quantity.
    createEdited({TableEdit::add(
        QStringLiteral("GLVch"),
        kVoucherColumns +
            QStringLiteral(
                "904\t2026-01-15\t13\t记\t904\t0\t1122\t1\t0101\t\\N\tRMB\t1\t1000\t1000\t0\t\\N\t1\t1\t0\t0\n"
                "904\t2026-01-15\t13\t记\t904\t1\t14050101\t0\t\\N\t\\N\tRMB\t1\t500\t500\t0\t5\t1\t1\t0\t0\n"
                "904\t2026-01-15\t13\t记\t904\t2\t1001\t0\t\\N\t\\N\tRMB\t1\t1500\t0\t1500\t\\N\t1\t1\t0\t0\n"))});
    EXPECT_EQ(convert(), 0);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM t_Balance WHERE FYear <> 2025")), QStringLiteral("0"));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM t_QuantityBalance WHERE FYear <> 2025")),
              QStringLiteral("0"));
    // The receivable's items still add up to its own row in period 1.
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM t_Balance A WHERE A.FAccountID = %1 AND A.FPeriod = 1 AND "
                                   "A.FDetailID = 0 AND A.FCurrencyID = 0 AND A.FEndBalance <> (SELECT "
                                   "SUM(I.FEndBalance) FROM t_Balance I WHERE I.FAccountID = A.FAccountID AND "
                                   "I.FPeriod = 1 AND I.FDetailID > 0 AND I.FCurrencyID = 0)")
                        .arg(accountID(QStringLiteral("1122")))),
              QStringLiteral("0"));
}

TEST_F(LedgerBalanceShapeTest, NewCombinationsTakeNumbersNoCombinationHolds) {
    createEdited({});
    addChartCombinations();
    // Without vouchers every opening item needs a new combination.
    run(QStringLiteral("DELETE FROM AIS_GLVch"));
    EXPECT_EQ(convert(), 0);
    ASSERT_NE(value(QStringLiteral("SELECT COUNT(*) FROM t_ItemDetailV")), QStringLiteral("0"));
    expectEveryCombinationNamesItsItem();
}

TEST_F(LedgerBalanceShapeTest, AQuantityOpeningAloneTakesANumberNoCombinationHolds) {
    createEdited({});
    addChartCombinations();
    // No voucher and no money opening under an item: a quantity opening
    // under a customer is the first to need a new combination.
    run(QStringLiteral("DELETE FROM AIS_GLVch\r\n"
                       "DELETE FROM AIS_GLBal WHERE FClsID > 0\r\n"
                       "INSERT INTO AIS_GLQtyBal (FAcctID, FClsID, FObjID, FPeriod, FBegQty, FDebit, FCredit, "
                       "FYtdDebit, FYtdCredit, FEndQty) VALUES ('1122', 1, '0101', 1, 10, 0, 0, 0, 0, 10)"));
    EXPECT_EQ(convert(), 0);
    ASSERT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM t_QuantityBalance Q INNER JOIN t_ItemDetailV V ON "
                                   "V.FDetailID = Q.FDetailID WHERE Q.FPeriod = 1 AND Q.FCurrencyID = 1 AND "
                                   "Q.FBeginQty = 10")),
              QStringLiteral("1"));
    expectEveryCombinationNamesItsItem();
}

TEST_F(LedgerBalanceShapeTest, AStartInPeriodFourFillsTheFirstThreePeriods) {
    createEdited({TableEdit::set(QStringLiteral("GLPref"), QStringLiteral("FStartPeriod\n4"))});
    // Expenses under one class only, so the set stays initialised.
    run(QStringLiteral("DELETE FROM AIS_GLBal WHERE FClsID = 3"));
    EXPECT_EQ(convert(), 0);
    EXPECT_EQ(target(QStringLiteral("SELECT DISTINCT FPeriod FROM t_Balance WHERE FPeriod < 5 ORDER BY FPeriod")),
              QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
    for (int q = 1; q <= 3; ++q) {
        // Period 1 carries the movement before the start; 2 and 3 none;
        // each ends where period 4 begins.
        EXPECT_EQ(
            value(QStringLiteral(
                      "SELECT COUNT(*) FROM t_Balance S LEFT JOIN t_Balance Q ON Q.FYear = S.FYear AND Q.FPeriod = %1 "
                      "AND Q.FAccountID = S.FAccountID AND Q.FDetailID = S.FDetailID AND Q.FCurrencyID = "
                      "S.FCurrencyID WHERE S.FPeriod = 4 AND (S.FBeginBalanceFor <> 0 OR S.FYtdDebit - S.FDebit <> 0 "
                      "OR S.FYtdCredit - S.FCredit <> 0) AND (Q.FPeriod IS NULL OR Q.FEndBalance <> S.FBeginBalance "
                      "OR Q.FYtdDebit <> S.FYtdDebit - S.FDebit OR Q.FYtdCredit <> S.FYtdCredit - S.FCredit OR "
                      "Q.FDebit <> CASE WHEN %1 = 1 THEN S.FYtdDebit - S.FDebit ELSE 0 END OR Q.FCredit <> CASE WHEN "
                      "%1 = 1 THEN S.FYtdCredit - S.FCredit ELSE 0 END OR Q.FBeginBalance <> CASE WHEN %1 = 1 THEN "
                      "S.FBeginBalance + (S.FYtdCredit - S.FCredit) - (S.FYtdDebit - S.FDebit) ELSE "
                      "S.FBeginBalance END)")
                      .arg(q)),
            QStringLiteral("0"))
            << "period " << q;
    }
    EXPECT_NE(value(QStringLiteral("SELECT COUNT(*) FROM t_Balance WHERE FPeriod = 1 AND FDebit <> 0")),
              QStringLiteral("0"));
    EXPECT_NE(value(QStringLiteral("SELECT COUNT(*) FROM t_QuantityBalance WHERE FPeriod = 1")), QStringLiteral("0"));
}

// Started in period 4, the expense accounts carry year-to-date amounts
// under departments and employees: the set is reset, they are listed, and
// their parent keeps only its other children, also when an account is kept
// in all currencies.
TEST_F(LedgerBalanceShapeTest, YearToDateAmountsUnderTwoClassesResetTheSetAndLeaveParentsWhole) {
    createEdited({TableEdit::set(QStringLiteral("GLPref"), QStringLiteral("FStartPeriod\n4"))});
    const QString allCurrencies = accountID(QStringLiteral("660202"));
    run(QStringLiteral("UPDATE T_Account SET FCurrencyID = 0 WHERE FAccountID = %1 "
                       "DELETE FROM T_Currency WHERE FCurrencyID = 0")
            .arg(allCurrencies));
    EXPECT_EQ(convert(), 1);
    const QStringList detail = detailOf(QStringLiteral("科目余额"));
    EXPECT_TRUE(detail.contains(QStringLiteral("660202\t办公费\t金额"))) << detail.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(value(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = "
                                   "'StartPeriod'")),
              QStringLiteral("4"));
    EXPECT_EQ(target(QStringLiteral("SELECT DISTINCT FPeriod FROM t_Balance")), QStringList({QStringLiteral("4")}));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM t_Balance WHERE FAccountID = ") + allCurrencies),
              QStringLiteral("0"));
    ASSERT_NE(value(QStringLiteral("SELECT COUNT(*) FROM t_Balance WHERE FAccountID = %1 AND FYtdDebit <> 0")
                        .arg(accountID(QStringLiteral("6602")))),
              QStringLiteral("0"));
    EXPECT_EQ(parentsDifferingFromChildren(1), QStringLiteral("0"));
    EXPECT_EQ(parentsDifferingFromChildren(0), QStringLiteral("0"));
}

}  // namespace
