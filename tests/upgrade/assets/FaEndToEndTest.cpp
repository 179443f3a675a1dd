// The fixed-asset step after the real base-data and general-ledger steps,
// as the upgrade run calls them, on the standard sample in both modes: the
// cards find their accounts, departments, currencies and vouchers through
// those steps' mappings.
#include "kit/UpgradeStepFixture.h"

#include "foundation/Globals.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/base/clsBaseSys.h"
#include "upgrade/ledger/clsEboGL.h"

class FaEndToEndTest : public UpgradeStepFixture, public ::testing::WithParamInterface<int> {
protected:
    int upgradeAll() {
        createFrom(QStringLiteral("standard"));
        setOption(GetParam());
        upgradeBaseAndLedger();
        clsEboFa step;
        return upgrade(step);
    }
};

TEST_P(FaEndToEndTest, StandardSample) {
    ASSERT_EQ(upgradeAll(), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(newLogRows().filter(QStringLiteral("没有对应")), QStringList());
    // Every card on the converted fixed-asset accounts.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FACard c INNER JOIN t_Account a ON a.FAccountID = "
                                         "c.FAssetAcctID INNER JOIN t_Account d ON d.FAccountID = c.FDeprAcctID WHERE "
                                         "a.FNumber = '1601' AND d.FNumber = '1602'")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FACard")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FADept WHERE FItemID IS NULL")), QStringLiteral("0"));
    // The last period's balances equal the staged ones and the ledger's
    // fixed-asset account.
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance b INNER JOIN AIS_FABal s ON s.FZ8InterID = "
                                   "b.FAssetID AND s.FPeriod = 12 WHERE b.FPeriod = 12 AND b.FOrgValP = s.FOrgVal "
                                   "AND b.FAccumDeprP = s.FAccumDepr")),
        QStringLiteral("7"));
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT SUM(b.FOrgValP) FROM t_FABalance b INNER JOIN t_FABalCard c ON c.FBalID "
                                   "= b.FBalID INNER JOIN t_Account a ON a.FAccountID = c.FAssetAcctID WHERE "
                                   "b.FPeriod = 12 AND a.FNumber = '1601'")),
        targetValue(QStringLiteral("SELECT FEndBal FROM AIS_GLBal WHERE FAcctID = '1601' AND FPeriod = 12")));
}

INSTANTIATE_TEST_SUITE_P(Options, FaEndToEndTest, ::testing::Values(0, 1));
