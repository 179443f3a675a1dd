// Original cards and their details on the standard sample (mappings seeded):
// values checked against the sample's text, and the edge cases of the
// card batches: quotes, same-period alterations, cleared cards, options,
// unmapped codes and device numbering.
#include "kit/UpgradeStepFixture.h"

#include "foundation/Globals.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

#include "FaFixture.h"

namespace {

class FaInitCardsTest : public FaFixture {
protected:
    // Base data, then the original cards with their details.
    int runCards() {
        StepKit kit(bar, label, QString());
        FaRun run{kit, QString()};
        int status = clsEboFa::UpgradeFABaseData(run);
        if (status == 0) status = clsEboFa::UpgradeFAInitCards(run);
        errorText = run.errorText;
        return status;
    }
    QString card(const QString &code, const QString &columns) {
        return targetValue(QStringLiteral("SELECT %1 FROM t_FACard WHERE FAssetNumber = '%2'").arg(columns, code));
    }
    QString errorText;
};

TEST_F(FaInitCardsTest, StandardSampleCards) {
    createSeeded();
    ASSERT_EQ(runCards(), 0) << errorText.toStdString();
    // One original record per card, asset ids and alteration ids 1..8 in the
    // staged order, written back into the staging copy.
    EXPECT_EQ(
        target(QStringLiteral("SELECT a.FAssetID, a.FAlterID, a.FYear, a.FPeriod, a.FNew, a.FCleared, c.FAssetNumber "
                              "FROM t_FAAlter a INNER JOIN t_FACard c ON c.FAlterID = a.FAlterID ORDER BY a.FAssetID"))
            .size(),
        8);
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_FACard s INNER JOIN t_FACard c ON c.FAssetNumber = "
                                   "s.FAssetID INNER JOIN t_FAAlter a ON a.FAlterID = c.FAlterID WHERE a.FAssetID = "
                                   "s.FZ8InterID AND a.FYear = 2025 AND a.FPeriod = 0 AND a.FNew = 1")),
        QStringLiteral("8"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FACardItem WHERE FAMulAlterClassID = 0")),
              QStringLiteral("8"));
    // FA001: in service 2019, so the opening value of its period-0 balance;
    // class 1, status 1 -> 2, method 1 with formula type 0 -> 1, life 240,
    // salvage 60000; under option 0 the accumulated depreciation is the
    // service value's 0.
    EXPECT_EQ(card(QStringLiteral("FA001"), QStringLiteral("FOrgVal, FOrgValBuy, FGroupID, FStatusID, FDeprMethodID, "
                                                           "FLifePeriods, FResidueVal, FAccumDepr, FAssetAcctID, "
                                                           "FDeprAcctID, FAlterModeID, FEconomyUseID, FNum")),
              QStringLiteral("1200000\t1200000\t1\t2\t1\t240\t60000\t0\t1601\t1602\t2\t1\t1"));
    // FA007 and FA008 come from their addition vouchers.
    EXPECT_EQ(card(QStringLiteral("FA007"), QStringLiteral("FOrgVal, FGroupID, FLifePeriods, FResidueVal, FAXRZKVal")),
              QStringLiteral("14214.2\t3\t60\t710.71\t0"));
    EXPECT_EQ(card(QStringLiteral("FA008"), QStringLiteral("FOrgVal, FGroupID, FLifePeriods, FResidueVal, FAXRZKVal")),
              QStringLiteral("45000\t2\t96\t2250\t5850"));
    // Quotes in name, model and remark are stored as typed.
    EXPECT_EQ(card(QStringLiteral("FA004"), QStringLiteral("FAssetName, FModel")),
              QStringLiteral("惠普'激光'打印机\tLaserJet M405d \"双面\""));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT a.FExplanation FROM t_FAAlter a INNER JOIN t_FACard c ON c.FAlterID = "
                                         "a.FAlterID WHERE c.FAssetNumber = 'FA004'")),
              QStringLiteral("报废前放在'总经理办公室'"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT l.FName FROM t_FACard c INNER JOIN t_FALocation l ON l.FID = "
                                         "c.FLocationID WHERE c.FAssetNumber = 'FA004'")),
              QStringLiteral("总经理办公室"));

    // Departments: FA007 and FA008 from their additions, the others from
    // the first balance period (FA001 splits 40/30/30).
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FADept")), QStringLiteral("11"));
    EXPECT_EQ(
        target(QStringLiteral("SELECT i.FShortNumber, d.FRate FROM t_FADept d INNER JOIN t_FACard c ON c.FAlterID "
                              "= d.FAlterID INNER JOIN t_Item i ON i.FItemID = d.FItemID WHERE c.FAssetNumber = "
                              "'FA001' ORDER BY i.FShortNumber")),
        QStringList({QStringLiteral("01\t0.4"), QStringLiteral("02\t0.3"), QStringLiteral("04\t0.3")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FADept WHERE FItemID IS NULL")), QStringLiteral("0"));
    // Expenses: FA002 (no item, 100%) takes its first department; FA007's
    // item is department 02.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FAExpense")), QStringLiteral("10"));
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT i.FShortNumber FROM t_FAExpense e INNER JOIN t_FACard c ON c.FAlterID = "
                                   "e.FAlterID INNER JOIN t_Item i ON i.FItemID = e.fdeptid WHERE c.FAssetNumber "
                                   "= 'FA002'")),
        QStringLiteral("05"));
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT i.FShortNumber FROM t_FAExpense e INNER JOIN t_FACard c ON c.FAlterID = "
                                   "e.FAlterID INNER JOIN t_Item i ON i.FItemID = e.fdeptid WHERE c.FAssetNumber "
                                   "= 'FA007'")),
        QStringLiteral("02"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FAExpense WHERE FRate <> 1 OR FAcctID IS NULL")),
              QStringLiteral("0"));
    // Foreign value: FA007's addition in dollars.
    EXPECT_EQ(target(QStringLiteral("SELECT c.FAssetNumber, o.FCyID, o.FAmountFor, o.FAmount FROM t_FAOrgFor o INNER "
                                    "JOIN t_FACard c ON c.FAlterID = o.FAlterID")),
              QStringList({QStringLiteral("FA007\t2\t2000\t14214.2")}));
    // Devices are numbered per card.
    EXPECT_EQ(
        target(QStringLiteral("SELECT c.FAssetNumber, d.FNumber, d.FName, d.FQty, d.FAmount FROM t_FADevice d "
                              "INNER JOIN t_FACard c ON c.FAlterID = d.FAlterID ORDER BY c.FAssetNumber, d.FNumber")),
        QStringList({QStringLiteral("FA001\t001\t中央空调系统\t1\t85000"),
                     QStringLiteral("FA003\t001\tUPS不间断电源\t1\t3200"),
                     QStringLiteral("FA003\t002\t网络机柜\t1\t1800")}));
    EXPECT_EQ(newLogRows().filter(QStringLiteral("没有对应")), QStringList());
}

TEST_F(FaInitCardsTest, QuotesInEveryCardTextAreStoredIntact) {
    createSeeded(
        QStringLiteral("UPDATE AIS_FACard SET FJobUnit = 'h''r', FLocation = 'A''s; --', FProduceFactory = 'O''Neil]' "
                       "WHERE FAssetID = 'FA002';"
                       "UPDATE AIS_FACard SET FAssetID = 'F''9' WHERE FAssetID = 'FA005';"
                       "UPDATE AIS_FABal SET FAssetID = 'F''9' WHERE FAssetID = 'FA005';"
                       "UPDATE AIS_FABalDept SET FAssetID = 'F''9' WHERE FAssetID = 'FA005'"));
    ASSERT_EQ(runCards(), 0) << errorText.toStdString();
    EXPECT_EQ(card(QStringLiteral("FA002"), QStringLiteral("FJobUnit, FManufacturer")), QStringLiteral("h'r\tO'Neil]"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT l.FName FROM t_FACard c INNER JOIN t_FALocation l ON l.FID = "
                                         "c.FLocationID WHERE c.FAssetNumber = 'FA002'")),
              QStringLiteral("A's; --"));
    EXPECT_EQ(card(QStringLiteral("F''9"), QStringLiteral("FOrgValBuy")), QStringLiteral("12000"));
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FADept d INNER JOIN t_FACard c ON c.FAlterID = d.FAlterID "
                                   "WHERE c.FAssetNumber = 'F''9'")),
        QStringLiteral("2"));
}

TEST_F(FaInitCardsTest, EveryAlterationOfTheAdditionPeriodIsFoldedIn) {
    // FA008 (added in period 7) gets two more alterations in period 7, one
    // with a foreign value; FA007's addition in period 3 gets one.
    createSeeded(QStringLiteral(
        "INSERT INTO AIS_FAVch (FSerial, FDate, FPeriod, FType, FTypeNum, FAssetID, FGroup, FNum, FGroupID, FAlterID, "
        "FStatus, FOrgVal, FAccumDepr, FSalvage, FDeprMethod, FLife, FAdjType, FAccumDevalue, FPreparer, FChecker, "
        "FAdjAccumDepr, FEnterDeprAlter, FPosted, FPoster, FTaxAmount) VALUES (11, '2025-07-20', 7, 2, 5, 'FA008', "
        "'记', 9, 2, 4, 1, 1000, 10, 50, 1, 0, 0, 0, 'a', 'b', 0, 0, 1, 'b', 0);"
        "INSERT INTO AIS_FAVch (FSerial, FDate, FPeriod, FType, FTypeNum, FAssetID, FGroup, FNum, FGroupID, FAlterID, "
        "FStatus, FOrgVal, FAccumDepr, FSalvage, FDeprMethod, FLife, FAdjType, FAccumDevalue, FPreparer, FChecker, "
        "FAdjAccumDepr, FEnterDeprAlter, FPosted, FPoster, FTaxAmount) VALUES (12, '2025-07-25', 7, 2, 6, 'FA008', "
        "'记', 10, 2, 4, 1, 500, 5, 25, 1, 12, 0, 0, 'a', 'b', 0, 0, 1, 'b', 0);"
        "INSERT INTO AIS_FAVch (FSerial, FDate, FPeriod, FType, FTypeNum, FAssetID, FGroup, FNum, FGroupID, FAlterID, "
        "FStatus, FOrgVal, FAccumDepr, FSalvage, FDeprMethod, FLife, FAdjType, FAccumDevalue, FPreparer, FChecker, "
        "FAdjAccumDepr, FEnterDeprAlter, FPosted, FPoster, FTaxAmount) VALUES (13, '2025-03-25', 3, 2, 7, 'FA007', "
        "'记', 11, 3, 4, 1, 710.71, 0, 0, 1, 0, 0, 0, 'a', 'b', 0, 0, 1, 'b', 0);"
        "INSERT INTO AIS_FAVchFor (FPeriod, FType, FTypeNum, FAssetID, FCyID, FExchRate, FOrgValFor, FOrgVal) VALUES "
        "(3, 2, 7, 'FA007', 'USD', 7.1071, 100, 710.71)"));
    ASSERT_EQ(runCards(), 0) << errorText.toStdString();
    EXPECT_EQ(card(QStringLiteral("FA008"),
                   QStringLiteral("FOrgVal, FOrgValBuy, FResidueVal, FAccumDepr, FAccumDeprBuy, FLifePeriods")),
              QStringLiteral("46500\t46500\t2325\t15\t15\t108"));
    EXPECT_EQ(card(QStringLiteral("FA007"), QStringLiteral("FOrgVal")), QStringLiteral("14924.91"));
    EXPECT_EQ(target(QStringLiteral("SELECT o.FAmountFor, o.FAmount FROM t_FAOrgFor o")),
              QStringList({QStringLiteral("2100\t14924.91")}));
}

TEST_F(FaInitCardsTest, ClearedCardsAndTheOptionsDepreciation) {
    // FA003 is cleared with no voucher row; FA005 in balances-only takes its
    // earliest balance's accumulated depreciation on top of the service
    // value's.
    createSeeded(QStringLiteral("UPDATE AIS_FABal SET FPost = 2 WHERE FAssetID = 'FA003' AND FPeriod = 12;"
                                "UPDATE AIS_FACard SET FDeprService = 100 WHERE FAssetID = 'FA002';"
                                "UPDATE AIS_FABal SET FDeprMethod = 0 WHERE FAssetID = 'FA006'"));
    setOption(1);
    ASSERT_EQ(runCards(), 0) << errorText.toStdString();
    EXPECT_EQ(targetValue(QStringLiteral("SELECT a.FCleared, a.FNew, a.FNeedVoucher, a.FExplanation FROM t_FAAlter a "
                                         "INNER JOIN t_FACard c ON c.FAlterID = a.FAlterID WHERE c.FAssetNumber = "
                                         "'FA003'")),
              QStringLiteral("true\tfalse\tfalse\t/*此变动由清理功能生成*/"));
    // In service 2023: the opening value comes back from the period-0 row.
    EXPECT_EQ(card(QStringLiteral("FA003"), QStringLiteral("FOrgVal, FOrgValBuy")), QStringLiteral("36000\t0"));
    EXPECT_EQ(card(QStringLiteral("FA002"), QStringLiteral("FAccumDepr, FAccumDeprBuy")),
              QStringLiteral("54962.5\t100"));
    EXPECT_EQ(card(QStringLiteral("FA006"), QStringLiteral("FDeprMethodID, FStatusID")), QStringLiteral("1\t7"));
}

TEST_F(FaInitCardsTest, UnmappedCodesStayEmptyAndAreReported) {
    // Department 04 and currency USD have no target; FA002's expense row
    // follows FA001's mapped one in the cursor and must not take its values.
    createSeeded(QStringLiteral("DELETE FROM t_Item WHERE FItemClassID = 2 AND FShortNumber = '04';"
                                "UPDATE AIS_GLCy SET FZ8InterID = NULL WHERE FCyID = 'USD';"
                                "UPDATE AIS_GLAcct SET FZ8InterID = NULL WHERE FAcctID = '660104'"));
    ASSERT_EQ(runCards(), 0) << errorText.toStdString();
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FADept WHERE FItemID IS NULL")), QStringLiteral("1"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FAExpense WHERE FAcctID IS NULL")),
              QStringLiteral("4"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FAOrgFor WHERE FCyID IS NULL")), QStringLiteral("1"));
    const QStringList rows = newLogRows().filter(QStringLiteral("没有对应"));
    ASSERT_EQ(rows.size(), 1);
    // Department 04 of FA001, account 660104 of FA008's addition and of
    // three balance rows, dollars of FA007: each card named once.
    EXPECT_TRUE(
        rows[0].startsWith(QStringLiteral("警告\t固定资产\t固定资产FA001、FA008、FA002、FA005、FA006、FA007的")))
        << rows[0].toStdString();
}

TEST_F(FaInitCardsTest, DeviceNumbersGoOnPast999) {
    createSeeded(
        QStringLiteral("DECLARE @i INT SET @i = 1 WHILE @i <= 1000 BEGIN INSERT INTO AIS_FAExtra (FAssetID, "
                       "FRowID, FName, FModel, FUnit, FQty, FAmount) VALUES ('FA002', 100 + @i, 'x', 'm', 'u', "
                       "1, 1) SET @i = @i + 1 END"));
    ASSERT_EQ(runCards(), 0) << errorText.toStdString();
    EXPECT_EQ(
        target(QStringLiteral("SELECT d.FNumber FROM t_FADevice d INNER JOIN t_FACard c ON c.FAlterID = d.FAlterID "
                              "WHERE c.FAssetNumber = 'FA002' AND d.FNumber IN ('001', '999', '1000', '000')")),
        QStringList({QStringLiteral("001"), QStringLiteral("999"), QStringLiteral("1000")}));
}

TEST_F(FaInitCardsTest, AFailingCardNamesItselfAndEndsThePhase) {
    // FA004's asset account maps nowhere: its card cannot be written.
    createSeeded(QStringLiteral("UPDATE AIS_FACard SET FAssetAcID = '9999' WHERE FAssetID = 'FA004'"));
    EXPECT_EQ(runCards(), 2);
    EXPECT_TRUE(errorText.startsWith(QStringLiteral("升级【固定资产-原始卡片-基本入账信息】时出错：")));
    EXPECT_TRUE(errorText.endsWith(QStringLiteral("（固定资产代码：FA004）"))) << errorText.toStdString();
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FACard")), QStringLiteral("3"));
}

}  // namespace
