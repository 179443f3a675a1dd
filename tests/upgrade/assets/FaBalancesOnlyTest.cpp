// Balances only on the standard sample (base-data mappings seeded): earlier
// vouchers folded into the cards, cards disposed of or added in the current
// period removed, two balance rows per asset, the closing phases.
#include "kit/UpgradeStepFixture.h"

#include "foundation/Globals.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "upgrade/assets/clsEboFa.h"

#include "FaFixture.h"

namespace {

class FaBalancesOnlyTest : public FaFixture {};

TEST_F(FaBalancesOnlyTest, OneCardAndTwoBalanceRowsPerAsset) {
    upgradeSeeded(1);
    // FA004 was disposed of in period 10: no card, no balance.
    EXPECT_EQ(
        target(QStringLiteral("SELECT c.FAssetNumber FROM t_FACard c ORDER BY c.FAssetNumber")),
        QStringList({QStringLiteral("FA001"), QStringLiteral("FA002"), QStringLiteral("FA003"), QStringLiteral("FA005"),
                     QStringLiteral("FA006"), QStringLiteral("FA007"), QStringLiteral("FA008")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FAAlter WHERE FNew = 1 AND FPeriod = 0")),
              QStringLiteral("7"));
    // FA005's value increase of period 5 is folded in once.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FOrgVal FROM t_FACard WHERE FAssetNumber = 'FA005'")),
              QStringLiteral("13500"));
    // Both balance rows of every asset carry the staged latest period's
    // original value and accumulated depreciation; the card's accumulated
    // depreciation is the sum of the staged depreciation of every period.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance b INNER JOIN AIS_FABal s ON s.FZ8InterID = "
                                         "b.FAssetID AND s.FPeriod = 12 WHERE b.FPeriod IN (0, 12) AND b.FOrgValP = "
                                         "s.FOrgVal AND b.FAccumDeprP = s.FAccumDepr")),
              QStringLiteral("14"));
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FACard c INNER JOIN (SELECT FAssetID, SUM(FDepr) AS "
                                   "FSum FROM AIS_FABal GROUP BY FAssetID) s ON s.FAssetID = c.FAssetNumber WHERE "
                                   "c.FAccumDepr = s.FSum")),
        QStringLiteral("7"));
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT SUM(b.FOrgValP) FROM t_FABalance b INNER JOIN t_FABalCard c ON c.FBalID "
                                   "= b.FBalID WHERE b.FPeriod = 12 AND c.FAssetAcctID = 1601")),
        targetValue(QStringLiteral("SELECT FEndBal FROM AIS_GLBal WHERE FAcctID = '1601' AND FPeriod = 12")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalCard")), QStringLiteral("14"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalCardItem")), QStringLiteral("14"));
    // FA001's devices on both balance rows, with their own numbers.
    EXPECT_EQ(
        target(QStringLiteral("SELECT d.FNumber, d.FName FROM t_FABalDevice d INNER JOIN t_FABalance b ON b.FBalID "
                              "= d.FBalID WHERE b.FAssetID = 3 AND b.FPeriod = 12 ORDER BY d.FNumber")),
        QStringList({QStringLiteral("001\tUPS不间断电源"), QStringLiteral("002\t网络机柜")}));
    // FA001's expense goes to its three departments 40/30/30.
    EXPECT_EQ(
        target(QStringLiteral("SELECT x.FRate, x.FAmount FROM t_FABalExpense x INNER JOIN t_FABalance b ON b.FBalID "
                              "= x.FBalID WHERE b.FAssetID = 1 AND b.FPeriod = 12 ORDER BY x.FAmount DESC")),
        QStringList({QStringLiteral("0.4\t1900"), QStringLiteral("0.3\t1425"), QStringLiteral("0.3\t1425")}));
    EXPECT_EQ(newLogRows().filter(QStringLiteral("固定资产卡片\t")),
              QStringList({QStringLiteral("成功\t固定资产卡片\t升级固定资产卡片成功数目：7")}));
}

TEST_F(FaBalancesOnlyTest, CurrentPeriodAdditionsLeaveAndExpensesWithoutDepartmentSplit) {
    // FA008's addition moves into the current period; FA002's expense
    // (no item) in the latest period meets two department rows of 60/40.
    upgradeSeeded(1, QStringLiteral("UPDATE AIS_FAVch SET FPeriod = 12 WHERE FAssetID = 'FA008';"
                                    "UPDATE AIS_FABalDept SET FRate = 60 WHERE FAssetID = 'FA002' AND FPeriod = 12;"
                                    "INSERT INTO AIS_FABalDept (FPeriod, FAssetID, FDeptClsID, FDeptObjID, FRate, "
                                    "FDepr, FDevalueRate, FDevalue) "
                                    "VALUES (12, 'FA002', 2, '04', 40, 0, 0, 0)"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FACard WHERE FAssetNumber = 'FA008'")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance WHERE FAssetID = 8")), QStringLiteral("0"));
    EXPECT_EQ(target(QStringLiteral("SELECT x.FAmount FROM t_FABalExpense x INNER JOIN t_FABalance b ON b.FBalID = "
                                    "x.FBalID WHERE b.FAssetID = 2 AND b.FPeriod = 12 ORDER BY x.FAmount DESC")),
              QStringList({QStringLiteral("997.5"), QStringLiteral("665")}));
}

}  // namespace
