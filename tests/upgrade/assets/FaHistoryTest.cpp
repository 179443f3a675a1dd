// The whole fixed-asset step with its alteration history on the standard
// sample (base-data mappings seeded): alteration cards, clearing records,
// the balance table of every period and the balance cards, checked against
// the staged balances and the general ledger.
#include "kit/UpgradeStepFixture.h"

#include "upgrade/assets/clsEboFa.h"

#include "FaFixture.h"

namespace {

class FaHistoryTest : public FaFixture {};

TEST_F(FaHistoryTest, LastPeriodBalancesEqualTheSourceAndTheLedger) {
    upgradeSeeded(0);
    // Every staged balance row of period 12 has a balance row with the same
    // original value and accumulated depreciation, and a balance card.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_FABal WHERE FPeriod = 12")), QStringLiteral("7"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance b INNER JOIN AIS_FABal s ON s.FZ8InterID = "
                                         "b.FAssetID AND s.FPeriod = b.FPeriod WHERE b.FPeriod = 12 AND b.FOrgValP = "
                                         "s.FOrgVal AND b.FAccumDeprP = s.FAccumDepr")),
              QStringLiteral("7"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalCard c INNER JOIN t_FABalance b ON b.FBalID = "
                                         "c.FBalID INNER JOIN AIS_FABal s ON s.FZ8InterID = b.FAssetID AND s.FPeriod = "
                                         "b.FPeriod WHERE b.FPeriod = 12 AND c.FOrgVal = s.FOrgVal")),
              QStringLiteral("7"));
    // The fixed-asset account's closing balance in the ledger.
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT SUM(b.FOrgValP) FROM t_FABalance b INNER JOIN t_FABalCard c ON c.FBalID "
                                   "= b.FBalID WHERE b.FPeriod = 12 AND c.FAssetAcctID = 1601")),
        targetValue(QStringLiteral("SELECT FEndBal FROM AIS_GLBal WHERE FAcctID = '1601' AND FPeriod = 12")));
    // One balance row per staged row of the periods kept (the opening rows
    // of cards added this year leave), each with one card and one item row.
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance")),
        targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_FABal WHERE NOT (FPeriod = 0 AND FAssetID IN ('FA007', "
                                   "'FA008'))")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalCardItem")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance")));
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance b WHERE NOT EXISTS (SELECT 1 FROM t_FABalCard "
                                   "c WHERE c.FBalID = b.FBalID)")),
        QStringLiteral("0"));
}

TEST_F(FaHistoryTest, AlterationCardsAndClearing) {
    upgradeSeeded(0);
    // FA007 and FA008 move to their addition periods; FA005 (period 5, a
    // value increase of 1500), FA006 (period 9, a transfer without voucher
    // group or number) and FA004's clearing (period 10) get new records.
    EXPECT_EQ(target(QStringLiteral("SELECT c.FAssetNumber, a.FPeriod, a.FNew, a.FCleared, a.FOtherAlter, c.FOrgVal, "
                                    "c.FAccumDepr, c.FNum FROM t_FAAlter a INNER JOIN t_FACard c ON c.FAlterID = "
                                    "a.FAlterID WHERE a.FPeriod > 0 ORDER BY a.FAlterID")),
              QStringList({QStringLiteral("FA007\t3\ttrue\tfalse\tfalse\t14214.2\t0\t1"),
                           QStringLiteral("FA008\t7\ttrue\tfalse\tfalse\t45000\t0\t1"),
                           QStringLiteral("FA004\t10\tfalse\ttrue\ttrue\t0\t-4934.6\t0"),
                           QStringLiteral("FA005\t5\tfalse\tfalse\ttrue\t13500\t0\t1"),
                           QStringLiteral("FA006\t9\tfalse\tfalse\ttrue\t9800\t0\t1")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FAssetID, FType, FZ8InterID FROM AIS_FAVch ORDER BY FAssetID")),
              QStringList({QStringLiteral("FA004\t10\t4"), QStringLiteral("FA005\t2\t5"), QStringLiteral("FA006\t2\t6"),
                           QStringLiteral("FA007\t0\t7"), QStringLiteral("FA008\t0\t8")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FAVoucher")), QStringLiteral("5"));
    // One clearing record, on the clearing alteration.
    EXPECT_EQ(
        target(QStringLiteral("SELECT c.FAssetID, c.FPeriod, a.FCleared FROM t_FAClear c INNER JOIN t_FAAlter a ON "
                              "a.FAlterID = c.FAlterID")),
        QStringList({QStringLiteral("4\t10\ttrue")}));
    // The clearing period counts FA004's decrease once.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT b.FCleared, b.FNumAlter, b.FOrgValDec, b.FAccumDeprDec, b.FYtdDeprDec "
                                         "FROM t_FABalance b WHERE b.FAssetID = 4 AND b.FPeriod = 10")),
              QStringLiteral("true\t-1\t8500\t4934.6\t4934.6"));
    // Two type-2 alterations give two multi-alteration rows.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FACardMulAlter")), QStringLiteral("2"));
}

TEST_F(FaHistoryTest, SeveralAlterationsOfOnePeriodAddUp) {
    // A second value increase of FA005 in period 5.
    upgradeSeeded(
        0,
        QStringLiteral(
            "INSERT INTO AIS_FAVch (FSerial, FDate, FPeriod, FType, FTypeNum, FAssetID, FGroup, FNum, FGroupID, "
            "FAlterID, "
            "FStatus, FOrgVal, FAccumDepr, FSalvage, FDeprMethod, FLife, FAdjType, FAccumDevalue, FPreparer, FChecker, "
            "FAdjAccumDepr, FEnterDeprAlter, FPosted, FPoster, FTaxAmount) VALUES (21, '2025-05-20', 5, 3, 9, 'FA005', "
            "'记', 7, 4, 4, 1, 500, 20, 0, 1, 60, 0, 0, 'O''Hara', NULL, 0, 0, 1, 'x', 0)"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FOrgValInc, FAccumDeprInc FROM t_FABalance WHERE FAssetID = 5 AND "
                                         "FPeriod = 5")),
              QStringLiteral("2000\t20"));
    EXPECT_EQ(
        target(QStringLiteral("SELECT c.FOrgVal, a.FPreparer, a.FChecker FROM t_FAAlter a INNER JOIN t_FACard c ON "
                              "c.FAlterID = a.FAlterID WHERE a.FAssetID = 5 AND a.FPeriod = 5 ORDER BY a.FAlterID")),
        QStringList({QStringLiteral("13500\t王芳\t陈静"), QStringLiteral("14000\tO'Hara\t")}));
    // One balance card per balance row: the card of the period's last
    // alteration, also in the periods after it.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance b WHERE (SELECT COUNT(*) FROM t_FABalCard c "
                                         "WHERE c.FBalID = b.FBalID) <> 1")),
              QStringLiteral("0"));
    EXPECT_EQ(target(QStringLiteral("SELECT b.FPeriod, c.FOrgVal FROM t_FABalCard c INNER JOIN t_FABalance b ON "
                                    "b.FBalID = c.FBalID WHERE b.FAssetID = 5 AND b.FPeriod IN (4, 5, 12) ORDER BY "
                                    "b.FPeriod")),
              QStringList({QStringLiteral("4\t12000"), QStringLiteral("5\t14000"), QStringLiteral("12\t14000")}));
}

TEST_F(FaHistoryTest, CardsClearedThisYearAndInAnEarlierYear) {
    // FA004 gets a second alteration in its clearing period 10; FA003 was
    // cleared in an earlier year (cleared balance rows, no voucher row).
    upgradeSeeded(0, FaAlteration(QStringLiteral("FA004"), 10, 2, QStringLiteral("0")) +
                         QStringLiteral("UPDATE AIS_FABal SET FPost = 2 WHERE FAssetID = 'FA003'"));
    // One clearing record for FA004, on its clearing alteration; one for
    // FA003 on its cleared original record.
    EXPECT_EQ(target(QStringLiteral("SELECT c.FAssetID, c.FPeriod, a.FCleared, a.FOtherAlter FROM t_FAClear c INNER "
                                    "JOIN t_FAAlter a ON a.FAlterID = c.FAlterID ORDER BY c.FAssetID")),
              QStringList({QStringLiteral("3\t0\ttrue\tfalse"), QStringLiteral("4\t10\ttrue\ttrue")}));
    // The year's decrease counts the cleared value from the clearing period
    // on.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FYtdOrgValDec FROM t_FABalance WHERE FAssetID = 4 AND FPeriod = 10")),
              QStringLiteral("8500"));
    // A clearing of an earlier year asks for no voucher of this year.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FNeedVoucher FROM t_FAAlter WHERE FAssetID = 3")),
              QStringLiteral("false"));
}

TEST_F(FaHistoryTest, ACardAlteredInItsAdditionPeriodKeepsItsValueThere) {
    // FA007 is added in period 1 (instead of 3) at 14214.20 and raised by
    // 1200 in the same period; its balances hold 15414.20 from period 1 on,
    // and the source keeps an opening row of nothing for it.
    upgradeSeeded(
        0, QStringLiteral("UPDATE AIS_FACard SET FServiceDate = '2025-01-12', FBeginUseDate = '2025-01-12' WHERE "
                          "FAssetID = 'FA007';"
                          "UPDATE AIS_FAVch SET FPeriod = 1, FDate = '2025-01-12' WHERE FAssetID = 'FA007';"
                          "UPDATE AIS_FAVchDept SET FPeriod = 1 WHERE FAssetID = 'FA007';"
                          "UPDATE AIS_FAVchExpense SET FPeriod = 1 WHERE FAssetID = 'FA007';"
                          "UPDATE AIS_FABal SET FPeriod = FPeriod - 2, FOrgVal = FOrgVal + 1200, FDebitOrg = "
                          "FDebitOrg + 1200 WHERE FAssetID = 'FA007';"
                          "UPDATE AIS_FABalDept SET FPeriod = FPeriod - 2 WHERE FAssetID = 'FA007';"
                          "UPDATE AIS_FABalExpense SET FPeriod = FPeriod - 2 WHERE FAssetID = 'FA007';") +
               FaAlteration(QStringLiteral("FA007"), 1, 2, QStringLiteral("1200")) +
               QStringLiteral("INSERT INTO AIS_FABal (FPeriod, FAssetID, FOrgVal, FAccumDepr, FDepr, FDeprPerPeriod, "
                              "FDebitOrg, FCreditOrg, FDebitDepr, FCreditDepr, FYtdDevalue, FAccumDevalue, FGroupID, "
                              "FStatus, FDeprMethod, FLife, FLifeA, FPeriods, FPeriodsA, FSalvage, FPost, "
                              "FFormularyType, FService) SELECT 0, FAssetID, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, FGroupID, "
                              "FStatus, FDeprMethod, FLife, FLifeA, 0, 0, 0, 0, FFormularyType, 0 FROM AIS_FABal WHERE "
                              "FAssetID = 'FA007' AND FPeriod = 1"));
    EXPECT_EQ(target(QStringLiteral("SELECT b.FPeriod, b.FOrgValP + b.FOrgValInc - b.FOrgValDec, b.FYtdOrgValInc, "
                                    "c.FOrgVal FROM t_FABalance b INNER JOIN t_FABalCard c ON c.FBalID = b.FBalID "
                                    "WHERE b.FAssetID = 7 AND b.FPeriod IN (1, 2) ORDER BY b.FPeriod")),
              QStringList({QStringLiteral("1\t15414.2\t15414.2\t15414.2"),
                           QStringLiteral("2\t15414.2\t15414.2\t15414.2")}));
}

TEST_F(FaHistoryTest, ASetStartedInAnEarlierYearKeepsEveryPeriod) {
    // Started in period 4 of 2024: this year's fixed assets start in
    // period 1, so periods 1 to 3 keep their balances and depreciation.
    upgradeSeeded(0, QStringLiteral("UPDATE AIS_GLPref SET FStartYear = 2024, FStartPeriod = 4"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance WHERE FPeriod BETWEEN 1 AND 3")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_FABal WHERE FPeriod BETWEEN 1 AND 3")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT SUM(FDepr) FROM t_FABalance WHERE FPeriod BETWEEN 1 AND 3")),
              targetValue(QStringLiteral("SELECT SUM(FDepr) FROM AIS_FABal WHERE FPeriod BETWEEN 1 AND 3")));
}

TEST_F(FaHistoryTest, AlterationMethodsFollowTheAdjustmentType) {
    // Card, source method, adjustment type of an alteration in period 6 (8
    // for the second one of FA003).
    const struct {
        const char *card;
        int method, adjustment, period;
    } rows[] = {{"FA001", 3, 2, 6}, {"FA002", 3, 1, 6}, {"FA003", 1, 2, 6}, {"FA004", 1, 0, 6},
                {"FA005", 4, 2, 6}, {"FA006", 4, 1, 6}, {"FA007", 2, 0, 6}, {"FA003", 0, 2, 8}};
    QString changes;
    for (const auto &r : rows)
        changes += FaAlteration(QString::fromLatin1(r.card), r.period, 2, QStringLiteral("0")) +
                   QStringLiteral("UPDATE AIS_FAVch SET FDeprMethod = %1, FAdjType = %2 WHERE FAssetID = '%3' AND "
                                  "FPeriod = %4;")
                       .arg(r.method)
                       .arg(r.adjustment)
                       .arg(QString::fromLatin1(r.card))
                       .arg(r.period);
    upgradeSeeded(0, changes);
    EXPECT_EQ(target(QStringLiteral("SELECT c.FAssetNumber, a.FPeriod, c.FDeprMethodID, c.FStatusID FROM t_FACard c "
                                    "INNER JOIN t_FAAlter a ON a.FAlterID = c.FAlterID WHERE a.FNew = 0 AND a.FPeriod "
                                    "IN (6, 8) ORDER BY a.FPeriod, c.FAssetNumber")),
              QStringList({QStringLiteral("FA001\t6\t5\t2"), QStringLiteral("FA002\t6\t7\t2"),
                           QStringLiteral("FA003\t6\t1\t2"), QStringLiteral("FA004\t6\t6\t2"),
                           QStringLiteral("FA005\t6\t4\t2"), QStringLiteral("FA006\t6\t8\t2"),
                           QStringLiteral("FA007\t6\t9\t2"), QStringLiteral("FA003\t8\t1\t7")}));
}

// Workloads of a card reach its balance rows: every period its own, and
// with balances only the opening row the year's earlier periods' sum.
class FaWorkloadTest : public FaHistoryTest, public ::testing::WithParamInterface<int> {};

TEST_P(FaWorkloadTest, WorkloadsReachTheBalanceRows) {
    upgradeSeeded(GetParam(), QStringLiteral("INSERT INTO AIS_FAJob (FPeriod, FAssetID, FJob) SELECT FPeriod, "
                                             "FAssetID, FPeriod * 10 FROM AIS_FABal WHERE FAssetID = 'FA002' AND "
                                             "FPeriod > 0"));
    EXPECT_EQ(target(QStringLiteral("SELECT FPeriod, FWorkload FROM t_FABalance WHERE FAssetID = 2 AND FPeriod IN (0, "
                                    "1, 12) ORDER BY FPeriod")),
              GetParam() == 0 ? QStringList({QStringLiteral("0\t0"), QStringLiteral("1\t10"),
                                             QStringLiteral("12\t120")})
                              : QStringList({QStringLiteral("0\t660"), QStringLiteral("12\t120")}));
}

INSTANTIATE_TEST_SUITE_P(Options, FaWorkloadTest, ::testing::Values(0, 1));

}  // namespace
