// Profit-and-loss actuals and rate adjustments of the standard sample, with
// the base data seeded by the fixture.
#include "LedgerFixture.h"

namespace {

class LedgerProfitRateTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        createFrom(QStringLiteral("standard"));
        seedBaseData();
    }
};

TEST_F(LedgerProfitRateTest, ActualsAreCarriedWithTheirItemsAndBaseAmounts) {
    // A foreign-currency row whose base partner has no item code (NULL).
    run(QStringLiteral("INSERT INTO AIS_GLPnl (FPeriod, FAcctID, FClsID, FObjID, FCyID, FBase, FAmt, FYtd) VALUES (3, "
                       "'6603', NULL, NULL, 'USD', 0, 10, 20) "
                       "INSERT INTO AIS_GLPnl (FPeriod, FAcctID, FClsID, FObjID, FCyID, FBase, FAmt, FYtd) VALUES (3, "
                       "'6603', NULL, NULL, 'USD', 1, 71, 142)"));
    const QString rows = targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLPnl WHERE FBase = 0"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::profitAndLoss), 0);
    const QStringList log = logOf(QStringLiteral("损益类科目实际发生额"));
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(description(log.first()), QStringLiteral("损益类科目实际发生额记录数目：") + rows);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_ProfitAndLoss WHERE FYear = 2025")), rows);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT SUM(FAmountFor) FROM T_ProfitAndLoss WHERE FCurrencyID = 1")),
              targetValue(QStringLiteral("SELECT SUM(FAmt) FROM AIS_GLPnl WHERE FBase = 0 AND FCyID = 'RMB'")));
    // Item rows carry a combination; account rows none.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_ProfitAndLoss WHERE FDetailID > 0")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLPnl WHERE FBase = 0 AND FClsID > 0 AND FObjID "
                                         "<> ''")));
    EXPECT_EQ(target(QStringLiteral("SELECT FAmountFor, FYtdAmountFor, FAmount, FYtdAmount FROM T_ProfitAndLoss "
                                    "WHERE FCurrencyID > 1")),
              QStringList({QStringLiteral("10\t20\t71\t142")}));
}

TEST_F(LedgerProfitRateTest, AnUninitialisedSetTakesNoActuals) {
    run(QStringLiteral("UPDATE t_SystemProfile SET FValue = '0' WHERE FCategory = 'GL' AND FKey = 'InitClosed'"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::profitAndLoss), 0);
    EXPECT_EQ(pending(), QStringList({QStringLiteral("成功\t损益类科目实际发生额\t损益类科目实际发生额记录数目：0")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_ProfitAndLoss")), QStringLiteral("0"));
}

TEST_F(LedgerProfitRateTest, AdjustmentsKeepTheLatestRecordAndOneRatePerPeriod) {
    // Period 1 again, later, with a NULL item class (the same key as the
    // sample's class-0 row only when NULL reads as 0: kept apart here);
    // period 2 of another account; and a record of a vanished item.
    run(QStringLiteral(
        "INSERT INTO AIS_GLRateAdjHist (FPeriod, FGroup, FAcctID, FClsID, FObjID, FCyID, FBalFor, FBalBase, FBalAdj, "
        "FBegRate, FEndRate) VALUES (2, '记', '100202', 0, '*', 'USD', 1, 7, 8, 7.0809, 7.1071) "
        "INSERT INTO AIS_GLRateAdjHist (FPeriod, FGroup, FAcctID, FClsID, FObjID, FCyID, FBalFor, FBalBase, FBalAdj, "
        "FBegRate, FEndRate) VALUES (5, '记', '1122', NULL, NULL, 'USD', 2, 14, 15, 7.1221, 7.106) "
        "INSERT INTO AIS_GLRateAdjHist (FPeriod, FGroup, FAcctID, FClsID, FObjID, FCyID, FBalFor, FBalBase, FBalAdj, "
        "FBegRate, FEndRate) VALUES (6, '记', '1122', 1, 'GONE', 'USD', 2, 14, 15, 7.1221, 7.106)"));
    g_RateAdjustSkipList.setItem(QStringLiteral("1 GONE"), 1);
    const QString sourceRows = targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLRateAdjHist"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::rateAdjustment), 0);
    const QStringList log = logOf(QStringLiteral("期末调汇"));
    ASSERT_EQ(log.size(), 1);
    // Every record but the superseded one and the skipped one.
    EXPECT_EQ(description(log.first()), QStringLiteral("期末调汇记录数目：") + QString::number(sourceRows.toInt() - 2));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_RateAdjust")),
              QString::number(sourceRows.toInt() - 2));
    EXPECT_EQ(target(QStringLiteral("SELECT FYear, FEndBalanceFor, FEndBalance, FDifference FROM T_RateAdjust WHERE "
                                    "FPeriod = 2")),
              QStringList({QStringLiteral("2025\t1\t7\t1")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_RateAdjust WHERE FPeriod = 5")), QStringLiteral("2"));
    // One rate per currency and period, with the period's rates.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM (SELECT FCurrencyID, FYear, FPeriod FROM "
                                         "T_CurrencyRate GROUP BY FCurrencyID, FYear, FPeriod HAVING COUNT(*) > 1) T")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_CurrencyRate")), QStringLiteral("11"));
    EXPECT_EQ(target(QStringLiteral("SELECT FCurRate, FAdjustRate FROM T_CurrencyRate WHERE FPeriod = 1")),
              QStringList({QStringLiteral("7.1\t7.0809")}));
}

}  // namespace
