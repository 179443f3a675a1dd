// Fixed-asset base data on the standard sample: alteration modes numbered
// per kind with the fixed mode after them, mapped by id; card classes with
// their methods and residue rates; one location per distinct name.
#include "kit/UpgradeStepFixture.h"

#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

#include "FaSeed.h"

namespace {

class FaBaseDataTest : public UpgradeStepFixture {
protected:
    int runPhase() {
        StepKit kit(bar, label, QString());
        FaRun run{kit, QString()};
        const int status = clsEboFa::UpgradeFABaseData(run);
        errorText = run.errorText;
        return status;
    }
    QString errorText;
};

TEST_F(FaBaseDataTest, ModesClassesAndLocationsOfTheStandardSample) {
    createFrom(QStringLiteral("standard"));
    ASSERT_EQ(targetRun(FaBaseSeed()), QString());
    ASSERT_EQ(runPhase(), 0) << errorText.toStdString();
    EXPECT_EQ(target(QStringLiteral("SELECT FID, FNumber, FShortNumber, FName, FParentId, FMode, FAcctID, FVchGroupID, "
                                    "FExplanation FROM t_FAAlterMode WHERE FID < 997 ORDER BY FID")),
              QStringList({QStringLiteral("0\t*\t*\t*\t0\t0\t0\t0\t"),
                           QStringLiteral("1\t001.001\t001\t购入\t997\t1\t100201\t1\t购入固定资产"),
                           QStringLiteral("2\t001.002\t002\t投资者投入\t997\t1\t4001\t1\t投资者投入固定资产"),
                           QStringLiteral("3\t001.003\t003\t接受捐赠\t997\t1\t0\t1\t接受捐赠固定资产"),
                           QStringLiteral("4\t001.004\t004\t原值调增\t997\t1\t100201\t1\t固定资产原值调增"),
                           QStringLiteral("5\t002.001\t001\t出售\t998\t0\t6711\t1\t出售固定资产"),
                           QStringLiteral("6\t002.002\t002\t报废\t998\t0\t6711\t1\t固定资产报废"),
                           QStringLiteral("7\t002.003\t003\t其他减少\t998\t0\t6711\t1\t其他减少固定资产"),
                           QStringLiteral("8\t001.005\t005\t内部调拨\t997\t1\t0\t1\t固定资产内部调拨"),
                           QStringLiteral("9\t001.006\t006\t在建工程转入\t997\t1\t0\t1\t在建工程转入固定资产")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_FAAlter WHERE FZ8InterID = FAlterID")),
              QStringLiteral("8"));
    EXPECT_EQ(
        target(QStringLiteral("SELECT FID, FNumber, FName, FDeprMethodID, FResidueRate FROM t_FAGroup WHERE FID > "
                              "0 ORDER BY FID")),
        QStringList({QStringLiteral("1\t001\t房屋及建筑物\t1\t0.05"), QStringLiteral("2\t002\t运输设备\t1\t0.05"),
                     QStringLiteral("3\t003\t电子设备\t1\t0.05"), QStringLiteral("4\t004\t办公家具\t1\t0.05")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FID, FNumber, FName FROM t_FALocation WHERE FNumber = '*'")),
              QStringList({QStringLiteral("0\t*\t*")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FName FROM t_FALocation WHERE FID > 0 ORDER BY FName")).size(), 6);
    EXPECT_EQ(newLogRows(), QStringList({QStringLiteral("成功\t固定资产变动方式类别\t升级变动方式类别成功数目：12"),
                                         QStringLiteral("成功\t固定资产卡片类别\t升级卡片类别成功数目：4"),
                                         QStringLiteral("成功\t固定资产存放地点\t升级存放地点成功数目：6")}));
}

TEST_F(FaBaseDataTest, UnmappedCodesGiveZeroAndEdgeValuesConvert) {
    createFrom(QStringLiteral("standard"));
    // Only mode 1's account maps; mode 2's code maps nowhere and must not
    // take mode 1's id. A decrease mode keeps a NULL explanation; methods 2
    // and 3 become 3 and 5; class 1234 is numbered 234.
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLAcct SET FZ8InterID = 77 WHERE FAcctID = '100201';"
                                       "UPDATE AIS_FAAlter SET FAcctID = '999999' WHERE FAlterID = 2;"
                                       "UPDATE AIS_FAAlter SET FExp = NULL WHERE FAlterID IN (3, 6);"
                                       "UPDATE AIS_FAAlter SET FAlterName = '购入' WHERE FAlterID = 4;"
                                       "UPDATE AIS_FAGroup SET FDeprMethod = 2 WHERE FGroupID = 2;"
                                       "UPDATE AIS_FAGroup SET FDeprMethod = 3, FGroupID = 1234 WHERE FGroupID = 3")),
              QString());
    ASSERT_EQ(runPhase(), 0) << errorText.toStdString();
    EXPECT_EQ(target(QStringLiteral("SELECT FID, FAcctID, FVchGroupID, ISNULL(FExplanation, 'NULL') FROM t_FAAlterMode "
                                    "WHERE FID IN (1, 2, 3, 6) ORDER BY FID")),
              QStringList({QStringLiteral("1\t77\t0\t购入固定资产"), QStringLiteral("2\t0\t0\t投资者投入固定资产"),
                           QStringLiteral("3\t0\t0\t"), QStringLiteral("6\t0\t0\tNULL")}));
    // Two modes of one name keep their own ids.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FZ8InterID FROM AIS_FAAlter WHERE FAlterID = 4")),
              QStringLiteral("4"));
    EXPECT_EQ(target(QStringLiteral("SELECT FID, FNumber, FDeprMethodID FROM t_FAGroup WHERE FID IN (2, 1234) ORDER BY "
                                    "FID")),
              QStringList({QStringLiteral("2\t002\t3"), QStringLiteral("1234\t234\t5")}));
}

TEST_F(FaBaseDataTest, AFailingBatchNamesItsDataAndStops) {
    createFrom(QStringLiteral("standard"));
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_FAGroup SET FGroupName = NULL WHERE FGroupID = 2")), QString());
    EXPECT_EQ(runPhase(), 2);
    EXPECT_TRUE(errorText.startsWith(QStringLiteral("升级【固定资产-基础资料-卡片类别】时出错：")))
        << errorText.toStdString();
    EXPECT_GT(errorText.size(), QStringLiteral("升级【固定资产-基础资料-卡片类别】时出错：").size());
    // Locations were not replaced.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FALocation")), QStringLiteral("1"));
}

}  // namespace
