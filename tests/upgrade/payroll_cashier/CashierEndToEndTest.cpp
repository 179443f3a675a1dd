// The cashier step after the real base-data and general-ledger steps, as
// the upgrade run calls them, on both samples and in both modes. Expected
// balances come from the standard sample's text (TRBankJnlBal.tsv and
// TRBankChkBal.tsv: period 1 opening and period 12 closing balances).
#include "CashierFixture.h"

#include "upgrade/base/clsBaseSys.h"
#include "upgrade/ledger/clsEboGL.h"
#include "upgrade/payroll_cashier/clsCn.h"

class CashierEndToEndTest : public CashierFixture {
protected:
    // Base data and ledger, then the cashier; the cashier's result.
    int upgradeAll(const QString &sample, int option) {
        createFrom(sample);
        setOption(option);
        upgradeBaseAndLedger();
        clsCn step;
        return upgrade(step);
    }
    QStringList balances() {
        return target(QStringLiteral("SELECT a.FKmdm, a.FBb, a.FYe, a.FYhdzdYe, a.FYhrjzTzhYe, a.FYhdzdTzhYe FROM "
                                     "cn_Account a ORDER BY a.FKmdm"));
    }
};

TEST_F(CashierEndToEndTest, StandardSampleFullUpgrade) {
    ASSERT_EQ(upgradeAll(QStringLiteral("standard"), 0), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t出纳管理银行账号升级\t升级银行账号成功数目：2")});
    EXPECT_EQ(balances(), (QStringList{QStringLiteral("1001\t人民币\t8560\t0\t8560\t0"),
                                       QStringLiteral("1002.01\t人民币\t2256800\t2257126.5\t2257126.5\t2257126.5"),
                                       QStringLiteral("1002.02\t美元\t50000\t50000\t50000\t50000")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_XJRJZ")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_TRCashJnl")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHRJZ WHERE FJz = 0")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_TRBankJnl")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHDZD WHERE FJz = 0")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_TRBankChkNote")));
    // Both currencies' amounts on every row; the journal's voucher links
    // kept where the ledger converted the voucher, and only there.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHRJZ WHERE FDebitB IS NULL OR FCreditB IS NULL")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_XJRJZ WHERE FDebitB IS NULL OR FCreditB IS NULL")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral(
                  "SELECT COUNT(*) FROM CN_YHRJZ r WHERE r.FVchYear <> 0 AND NOT EXISTS (SELECT 1 FROM t_Voucher v "
                  "INNER JOIN t_VoucherGroup g ON g.FGroupID = v.FGroupID WHERE v.FYear = r.FVchYear AND v.FPeriod = "
                  "r.FVchPeriod AND v.FNumber = r.FNum AND g.FName = r.FGroup)")),
              QStringLiteral("0"));
    EXPECT_NE(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_YHRJZ WHERE FVchYear = 2025")), QStringLiteral("0"));
}

TEST_F(CashierEndToEndTest, StandardSampleBalancesOnly) {
    ASSERT_EQ(upgradeAll(QStringLiteral("standard"), 1), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(balances(),
              (QStringList{QStringLiteral("1001\t人民币\t35112.84\t0\t0\t0"),
                           QStringLiteral("1002.01\t人民币\t1660575.23\t1881783.76\t1660871.73\t1660871.73"),
                           QStringLiteral("1002.02\t美元\t105961.32\t105961.32\t105961.32\t105961.32")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM CN_XJRJZ")), QStringLiteral("0"));
    EXPECT_EQ(target(QStringLiteral("SELECT FYear, FJz, COUNT(*) FROM CN_YHRJZ GROUP BY FYear, FJz ORDER BY FYear")),
              (QStringList{QStringLiteral("0\tfalse\t2"), QStringLiteral("2025\ttrue\t2")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FYear, FJz, COUNT(*) FROM CN_YHDZD GROUP BY FYear, FJz ORDER BY FYear")),
              (QStringList{QStringLiteral("0\tfalse\t2"), QStringLiteral("2025\ttrue\t2")}));
}

class CashierEndToEndMiniTest : public CashierEndToEndTest, public ::testing::WithParamInterface<int> {};

TEST_P(CashierEndToEndMiniTest, MiniSampleHasNoCashier) {
    EXPECT_EQ(upgradeAll(QStringLiteral("mini"), GetParam()), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("警告\t出纳管理\t未启用出纳管理模块，不升级出纳管理")});
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM cn_Account")), QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(BothModes, CashierEndToEndMiniTest, ::testing::Values(0, 1));
