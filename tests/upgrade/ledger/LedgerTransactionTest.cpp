// Transactions of the standard sample after the voucher and balance phases,
// with the base data seeded by the fixture.
#include "LedgerFixture.h"

namespace {

class LedgerTransactionTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        createFrom(QStringLiteral("standard"));
        seedBaseData();
    }

    void convertVouchersAndBalances() {
        ASSERT_LT(LedgerPhaseProbe::run(LedgerPhaseProbe::voucher), 2);
        ASSERT_LT(LedgerPhaseProbe::run(LedgerPhaseProbe::balance), 2);
        pending().clear();
        newLogRows();
    }

    QString dueVoucherRows() { return targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVch WHERE FDue = 1")); }
};

TEST_F(LedgerTransactionTest, OpeningItemsAndCheckRecordsArriveAndPointAtTheirEntries) {
    // A foreign-currency open item and a due entry in USD.
    run(QStringLiteral("INSERT INTO AIS_GLTrans (FAcctID, FClsID, FObjID, FTransID, FDate, FCyID, FBal, FQty, FDebit, "
                       "FCredit, FDue) VALUES ('1122', 1, '0101', 'XS-USD', '2024-12-30', 'USD', 100, 0, 0, 0, 1)"));
    convertVouchersAndBalances();
    const QString histories = targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLTrans"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::transaction), 0);
    const QString checks = QString::number(dueVoucherRows().toInt() + histories.toInt());
    EXPECT_EQ(pending(), QStringList({QStringLiteral("成功\t往来业务\t往来业务余额数目：") + histories +
                                      QStringLiteral("\r\n往来业务核算记录数：") + checks}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_TransInitBalance")), histories);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT SUM(FBeginBalanceFor) FROM T_TransInitBalance WHERE FCurrencyID = 1")),
              targetValue(QStringLiteral("SELECT SUM(FBal) FROM AIS_GLTrans WHERE FCyID = 'RMB'")));
    // Local = currency x rate under "*".
    EXPECT_EQ(target(QStringLiteral("SELECT FBeginBalanceFor, FBeginBalance FROM T_TransInitBalance WHERE FTransNo = "
                                    "'XS-USD'")),
              QStringList({QStringLiteral("100\t710")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_TransCheckInfo")), checks);
    // Every voucher record names the target entry of its row, on its account.
    EXPECT_EQ(targetValue(QStringLiteral(
                  "SELECT COUNT(*) FROM T_TransCheckInfo C INNER JOIN T_VoucherEntry E ON E.FVoucherID = C.FVoucherID "
                  "AND E.FEntryID = C.FEntryID AND E.FAccountID = C.FAccountID WHERE C.FInitBalance = 0")),
              dueVoucherRows());
    // A foreign amount is the local amount divided by the rate under "*".
    EXPECT_EQ(targetValue(QStringLiteral(
                  "SELECT COUNT(*) FROM T_TransCheckInfo C INNER JOIN T_VoucherEntry E ON E.FVoucherID = C.FVoucherID "
                  "AND E.FEntryID = C.FEntryID WHERE C.FInitBalance = 0 AND ABS(C.FCheckAmountFor - "
                  "C.FCheckAmount / E.FExchangeRate) > 0.01")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FValue FROM T_SystemProfile WHERE FCategory = 'GL' AND FKey = "
                                         "'TransCheckStart'")),
              QStringLiteral("1"));
}

TEST_F(LedgerTransactionTest, ClearedAccountsLoseTheirItemsInBothTables) {
    convertVouchersAndBalances();
    g_TransClearAccounts.setItem(QStringLiteral("1122"), 1);
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::transaction), 0);
    const QString account = accountID(QStringLiteral("1122"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_TransInitBalance WHERE FAccountID = %1 AND FDetailID "
                                         "<> 0")
                              .arg(account)),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_TransCheckInfo WHERE FAccountID = %1 AND FDetailID "
                                         "<> 0")
                              .arg(account)),
              QStringLiteral("0"));
    // Items of the other accounts stay.
    EXPECT_NE(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_TransInitBalance WHERE FDetailID <> 0")),
              QStringLiteral("0"));
}

TEST_F(LedgerTransactionTest, UnmappedAndLeftOutAccountsAreNotConvertedAndUnmappedOnesAreTold) {
    convertVouchersAndBalances();
    const QString account2202 = accountID(QStringLiteral("2202"));
    run(QStringLiteral("UPDATE AIS_GLAcct SET FZ8InterID = NULL WHERE FAcctID = '2203' "
                       "INSERT INTO Tmp_Mult_Item (FAccountID, FTableName) VALUES (NULL, 't_Balance') "
                       "INSERT INTO Tmp_Mult_Item (FAccountID, FTableName) VALUES (%1, 't_Balance')")
            .arg(account2202));
    const QString expected =
        targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLTrans WHERE FAcctID NOT IN ('2203', '2202')"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::transaction), 1);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_TransInitBalance")), expected);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_TransCheckInfo WHERE FAccountID = ") + account2202),
              QStringLiteral("0"));
    const QStringList log = logOf(QStringLiteral("往来业务"));
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(status(log.at(1)), QStringLiteral("警告"));
    EXPECT_EQ(detailOf(QStringLiteral("往来业务")).filter(QStringLiteral("2203\t")).size(), 1);
}

TEST_F(LedgerTransactionTest, AnOpenItemWithoutAnOpeningRateIsCountedInBothTables) {
    // A dollar open item, and no opening rate for dollars: neither its
    // opening balance nor its check record has a local amount.
    run(QStringLiteral("INSERT INTO AIS_GLTrans (FAcctID, FClsID, FObjID, FTransID, FDate, FCyID, FBal, FQty, FDebit, "
                       "FCredit, FDue) VALUES ('1122', 1, '0101', 'XS-USD', '2024-12-30', 'USD', 100, 0, 100, 0, 1)"));
    convertVouchersAndBalances();
    run(QStringLiteral("UPDATE AIS_GLCy SET FBegRate = NULL WHERE FCyID = 'USD'"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::transaction), 1);
    EXPECT_EQ(target(QStringLiteral("SELECT ISNULL(CONVERT(NVARCHAR(20), FCheckAmount), 'none'), FCheckAmountFor FROM "
                                    "T_TransCheckInfo WHERE FTransNo = 'XS-USD'")),
              QStringList({QStringLiteral("none\t100")}));
    const QStringList log = logOf(QStringLiteral("往来业务"));
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log.at(1), QStringLiteral("警告\t往来业务\t汇率为零或为空、无法折算金额的往来业务记录数：2"));
}

TEST_F(LedgerTransactionTest, NothingToConvertLeavesTheOptionAlone) {
    convertVouchersAndBalances();
    run(QStringLiteral("DELETE FROM AIS_GLTrans UPDATE AIS_GLVch SET FDue = 0"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::transaction), 0);
    EXPECT_EQ(pending(), QStringList({QStringLiteral("成功\t往来业务\t往来业务余额数目：0\r\n往来业务核算记录数：0")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_SystemProfile WHERE FKey = 'TransCheckStart'")),
              QStringLiteral("0"));
}

// Sources of other shapes than the sample's.
class LedgerTransactionShapeTest : public LedgerFixture {};

TEST_F(LedgerTransactionShapeTest, HistoryAmountsAreInTheirCurrencyAndVoucherRecordsNameTheirTargetEntry) {
    // An open item in dollars (rate 7.1 under "*") with movement before the
    // start, and a due voucher whose entries the source numbers 5 and 9, its
    // due entry marked "no quantity".
    createEdited(
        {TableEdit::add(QStringLiteral("GLTrans"),
                        QStringLiteral("FAcctID\tFClsID\tFObjID\tFTransID\tFDate\tFCyID\tFBal\tFQty\tFDebit\tFCredit\t"
                                       "FDue\n"
                                       "1122\t1\t0101\tUS-1\t2024-12-20\tUSD\t70\t0\t100\t30\t1\n")),
         TableEdit::add(
             QStringLiteral("GLVch"),
             kVoucherColumns +
                 QStringLiteral(
                     "905\t2025-02-21\t2\t记\t905\t5\t1122\t1\t0101\tXS-NEW\tRMB\t1\t500\t500\t0\t-1\t1\t1\t1\t0\n"
                     "905\t2025-02-21\t2\t记\t905\t9\t1001\t0\t\\N\t\\N\tRMB\t1\t500\t0\t500\t\\N\t1\t1\t0\t0\n"))});
    ASSERT_LT(LedgerPhaseProbe::run(LedgerPhaseProbe::voucher), 2);
    ASSERT_LT(LedgerPhaseProbe::run(LedgerPhaseProbe::balance), 2);
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::transaction), 0);
    // The opening balance and its check record read the history row alike:
    // currency amounts, made local with the opening rate.
    EXPECT_EQ(target(QStringLiteral("SELECT FBeginBalanceFor, FBeginBalance, FYtdDebitFor, FYtdCreditFor FROM "
                                    "T_TransInitBalance WHERE FTransNo = 'US-1'")),
              QStringList({QStringLiteral("70\t497\t100\t30")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FCheckAmountFor, FCheckAmount FROM T_TransCheckInfo WHERE FTransNo = "
                                    "'US-1'")),
              QStringList({QStringLiteral("70\t497")}));
    // The voucher's record names the target entry of its row, and its "no
    // quantity" mark (-1) is no quantity.
    EXPECT_EQ(target(QStringLiteral("SELECT E.FEntryID, E.FAmount, C.FCheckQty FROM T_TransCheckInfo C INNER JOIN T_VoucherEntry "
                                    "E ON E.FVoucherID = C.FVoucherID AND E.FEntryID = C.FEntryID AND E.FAccountID = "
                                    "C.FAccountID WHERE C.FTransNo = 'XS-NEW'")),
              QStringList({QStringLiteral("0\t500\t0")}));
}

}  // namespace
