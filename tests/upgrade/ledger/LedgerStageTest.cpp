// The whole general-ledger stage through its driver on both samples, both
// options, with the base data seeded by the fixture: the invariants of the
// converted ledger stated as queries against the target and the staging
// copies.
#include "LedgerFixture.h"

#include <QRegularExpression>

namespace {

class LedgerStageTest : public LedgerFixture, public ::testing::WithParamInterface<const char *> {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        createFrom(QString::fromLatin1(GetParam()));
        seedBaseData();
        g_SourceEdition = QStringLiteral("标准版");
    }

    QStringList projects() {
        QStringList names;
        for (const QString &row : pending()) names << row.section(QLatin1Char('\t'), 1, 1);
        names.removeDuplicates();
        return names;
    }

    // Account closing balances of a period that differ from the source's.
    QString closingDifferences(int period) {
        return targetValue(
            QStringLiteral(
                "SELECT COUNT(*) FROM (SELECT A.FZ8InterID AS FAccountID, SUM(B.FEndBal) AS FEnd FROM AIS_GLBal B "
                "INNER JOIN AIS_GLAcct A ON A.FAcctID = B.FAcctID WHERE B.FClsID = 0 AND B.FPeriod = %1 AND (B.FBase "
                "<> 0 OR B.FCyID = 'RMB') GROUP BY A.FZ8InterID) S LEFT JOIN t_Balance T ON T.FAccountID = "
                "S.FAccountID AND T.FPeriod = %1 AND T.FDetailID = 0 AND T.FCurrencyID = 0 WHERE ISNULL(T.FEndBalance, "
                "0) <> S.FEnd")
                .arg(period));
    }

    QString unbalancedPeriods() {
        return targetValue(QStringLiteral(
            "SELECT COUNT(*) FROM (SELECT B.FPeriod FROM t_Balance B INNER JOIN T_Account A ON A.FAccountID = "
            "B.FAccountID WHERE A.FDetail = 1 AND B.FDetailID = 0 AND B.FCurrencyID = 0 GROUP BY B.FPeriod HAVING "
            "SUM(B.FBeginBalance) <> 0 OR SUM(B.FEndBalance) <> 0 OR SUM(B.FDebit) <> SUM(B.FCredit)) T"));
    }
};

TEST_P(LedgerStageTest, AFullUpgradeConvertsTheLedgerWhole) {
    clsEboGL step;
    const int result = upgrade(step);
    EXPECT_LT(result, 2) << pending().join(QLatin1Char('\n')).toStdString();
    for (const QString &row : pending()) EXPECT_NE(status(row), QStringLiteral("错误")) << row.toStdString();
    EXPECT_EQ(projects(), QStringList({QStringLiteral("模式凭证"), QStringLiteral("自动转账"), QStringLiteral("凭证"),
                                       QStringLiteral("科目余额"), QStringLiteral("损益类科目实际发生额"),
                                       QStringLiteral("期末调汇"), QStringLiteral("往来业务")}));
    // Vouchers: one per staged voucher, every one balanced, every staging
    // row written back.
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Voucher")),
        targetValue(QStringLiteral(
            "SELECT COUNT(*) FROM (SELECT FPeriod, FGroup, FNum FROM AIS_GLVch GROUP BY FPeriod, FGroup, FNum) T")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Voucher v WHERE v.FDebitTotal <> v.FCreditTotal OR "
                                         "v.FDebitTotal <> (SELECT SUM(e.FAmount) FROM T_VoucherEntry e WHERE "
                                         "e.FVoucherID = v.FVoucherID AND e.FDC = 1)")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVch WHERE FZ8InterID IS NULL")),
              QStringLiteral("0"));
    // Balances: the trial balance of every period balances and every
    // account closes as in the source.
    EXPECT_EQ(unbalancedPeriods(), QStringLiteral("0"));
    const int current = targetValue(QStringLiteral("SELECT FCurrPeriod FROM AIS_GLPref")).toInt();
    for (int period = 1; period <= current; ++period)
        EXPECT_EQ(closingDifferences(period), QStringLiteral("0")) << "period " << period;
    // The rest arrived, and the work table is gone.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_VoucherTemplate")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVchTemplate")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_AutoTransfer")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLRecur")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_ProfitAndLoss")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLPnl WHERE FBase = 0")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_TransInitBalance")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM (SELECT FAcctID, FTransID FROM AIS_GLTrans GROUP BY "
                                         "FAcctID, FTransID) T")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM sysobjects WHERE name = 'Tmp_Mult_Item'")),
              QStringLiteral("0"));
}

TEST_P(LedgerStageTest, BalancesOnlyConvertsOnlyTheBalances) {
    setOption(1);
    clsEboGL step;
    EXPECT_LT(upgrade(step), 2) << pending().join(QLatin1Char('\n')).toStdString();
    // The voucher phase logs only its warnings in this mode.
    QStringList names = projects();
    names.removeAll(QStringLiteral("凭证"));
    EXPECT_EQ(names, QStringList({QStringLiteral("科目余额")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Voucher")), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_VoucherTemplate")), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_ProfitAndLoss")), QStringLiteral("0"));
    const int current = targetValue(QStringLiteral("SELECT FCurrPeriod FROM AIS_GLPref")).toInt();
    EXPECT_EQ(closingDifferences(current), QStringLiteral("0"));
    EXPECT_EQ(unbalancedPeriods(), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM sysobjects WHERE name = 'Tmp_Mult_Item'")),
              QStringLiteral("0"));
}

TEST_P(LedgerStageTest, AFailedPhaseStopsTheRestAndTheWorkTableStillGoes) {
    run(QStringLiteral("DROP TABLE TempGLAcctMapping"));
    clsEboGL step;
    EXPECT_EQ(upgrade(step), 2);
    const QStringList names = projects();
    EXPECT_TRUE(names.contains(QStringLiteral("科目余额")));
    EXPECT_FALSE(names.contains(QStringLiteral("损益类科目实际发生额")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM sysobjects WHERE name = 'Tmp_Mult_Item'")),
              QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(Samples, LedgerStageTest, ::testing::Values("standard", "mini"));

}  // namespace
