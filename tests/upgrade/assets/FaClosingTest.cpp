// The closing phases and the driver's ending on the standard sample
// (base-data mappings seeded): the allocation spread, the depreciated
// periods, the card report, a failure told once, a cancel told never.
#include "kit/UpgradeStepFixture.h"

#include <QTimer>

#include "foundation/Globals.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "upgrade/assets/clsEboFa.h"

#include "FaFixture.h"

namespace {

class FaClosingTest : public FaFixture {
protected:
    int runUpgrade(int option) {
        setOption(option);
        clsEboFa stage;
        return upgrade(stage);
    }
};

TEST_F(FaClosingTest, ASingleExpenseRowIsSpreadOverTheDepartments) {
    // FA005's value increase of period 5 brings departments 0301 and 0302
    // at 33.33 and 66.67 and one expense row naming 0301.
    createSeeded(QStringLiteral("UPDATE AIS_FABalDept SET FRate = 33.33 WHERE FAssetID = 'FA005' AND FPeriod = 5 AND "
                                "FDeptObjID = '0301';"
                                "UPDATE AIS_FABalDept SET FRate = 66.67 WHERE FAssetID = 'FA005' AND FPeriod = 5 AND "
                                "FDeptObjID = '0302'"));
    ASSERT_EQ(runUpgrade(1), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(
        target(QStringLiteral("SELECT i.FShortNumber, e.FAcctID, e.FRate FROM t_FAExpense e INNER JOIN t_FACard c ON "
                              "c.FAlterID = e.FAlterID INNER JOIN t_Item i ON i.FItemID = e.FDeptID WHERE "
                              "c.FAssetNumber = 'FA005' ORDER BY i.FShortNumber")),
        QStringList({QStringLiteral("0301\t660104\t0.33"), QStringLiteral("0302\t660104\t0.67")}));
    // A card with one department keeps its single row.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FAExpense e INNER JOIN t_FACard c ON c.FAlterID = "
                                         "e.FAlterID WHERE c.FAssetNumber = 'FA002'")),
              QStringLiteral("1"));
}

TEST_F(FaClosingTest, TheCurrentBalanceRowsSingleExpenseRowIsSpreadOverTheDepartments) {
    // FA005's latest expense row goes to department 0301 alone while the
    // departments share 50/50: the current period's balance row gets one
    // row per department with its share and depreciation; the opening row
    // keeps its one row.
    createSeeded(QStringLiteral("UPDATE AIS_FABalExpense SET FExpenseClsID = 2, FExpenseObjID = '0301' WHERE FAssetID "
                                "= 'FA005' AND FPeriod = 12"));
    ASSERT_EQ(runUpgrade(1), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(target(QStringLiteral("SELECT b.FPeriod, ISNULL(i.FShortNumber, '-'), x.FRate, ISNULL(x.FAmount, 0) FROM "
                                    "t_FABalExpense x INNER JOIN t_FABalance b ON b.FBalID = x.FBalID INNER JOIN "
                                    "AIS_FACard s ON s.FZ8InterID = b.FAssetID LEFT JOIN t_Item i ON i.FItemID = "
                                    "x.FDeptID WHERE s.FAssetID = 'FA005' ORDER BY 1, 2")),
              QStringList({QStringLiteral("0\t0301\t1\t106.875"), QStringLiteral("12\t0301\t0.5\t106.88"),
                           QStringLiteral("12\t0302\t0.5\t106.87")}));
}

TEST_F(FaClosingTest, TheReportCountsNoCardWhenThereIsNone) {
    QString changes;
    for (const char *table : {"FACard", "FABal", "FABalDept", "FABalExpense", "FABalFor", "FAExtra", "FAInitBal",
                              "FAVch", "FAVchDept", "FAVchExpense", "FAVchFor"})
        changes += QStringLiteral("DELETE FROM AIS_%1;").arg(QString::fromLatin1(table));
    createSeeded(changes);
    ASSERT_EQ(runUpgrade(0), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(newLogRows().filter(QStringLiteral("\t固定资产卡片\t")),
              QStringList({QStringLiteral("成功\t固定资产卡片\t升级固定资产卡片成功数目：0")}));
    EXPECT_EQ(server.rows(QStringLiteral("AcctCtl"), QStringLiteral("SELECT FDetail, FLink FROM "
                                                                    "AIS_UpgradeLog_Main WHERE FProject = '固定资产卡片'")),
              QStringList({QStringLiteral("\t")}));
}

TEST_F(FaClosingTest, DepreciatedPeriodsFollowTheStartAndCurrentPeriods) {
    createSeeded(QStringLiteral("UPDATE t_SystemProfile SET FValue = '12' WHERE FCategory = 'FA' AND FKey = "
                                "'CurrentPeriod'"));
    ASSERT_EQ(runUpgrade(0), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    // FA001 depreciated 67 periods by period 1 and 78 by period 12: every
    // depreciating period but the current one counts one more, the current
    // one takes the period before it, the opening row the start period's
    // less one.
    EXPECT_EQ(
        target(QStringLiteral("SELECT FPeriod, FDeprPeriods FROM t_FABalance WHERE FAssetID = 1 AND FPeriod IN (0, 1, "
                              "11, 12) ORDER BY FPeriod")),
        QStringList(
            {QStringLiteral("0\t67"), QStringLiteral("1\t68"), QStringLiteral("11\t78"), QStringLiteral("12\t78")}));
}

TEST_F(FaClosingTest, TheCardReportListsEveryCardState) {
    createSeeded(QStringLiteral("UPDATE AIS_FACard SET FLocation = '' WHERE FAssetID = 'FA002'"));
    ASSERT_EQ(runUpgrade(0), 0);
    const QStringList rows = newLogRows().filter(QStringLiteral("\t固定资产卡片\t"));
    // Eight original cards and three alteration states.
    EXPECT_EQ(rows, QStringList({QStringLiteral("成功\t固定资产卡片\t升级固定资产卡片成功数目：11")}));
    const QString link = server
                             .rows(QStringLiteral("AcctCtl"), QStringLiteral("SELECT FLink FROM AIS_UpgradeLog_Main "
                                                                             "WHERE FProject = '固定资产卡片'"))
                             .value(0);
    const QStringList detail =
        server.rows(QStringLiteral("AcctCtl"), QStringLiteral("SELECT F1, F4, F5, F8, F11 FROM [") + link +
                                                   QStringLiteral("] WHERE F1 IN "
                                                                  "('卡片代码', 'FA002')"));
    EXPECT_EQ(detail, QStringList({QStringLiteral("卡片代码\t资产类别\t使用状况\t经济用途\t存放地点"),
                                   QStringLiteral("FA002\t运输设备\t使用中\t经营用\t")}));
}

TEST_F(FaClosingTest, AFailureIsLoggedAndShownOnce) {
    createSeeded(QStringLiteral("UPDATE AIS_FACard SET FDeprAcID = '9999' WHERE FAssetID = 'FA003'"));
    EXPECT_EQ(runUpgrade(0), 2);
    const QStringList rows = newLogRows().filter(QStringLiteral("错误\t"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("错误\t固定资产\t升级【固定资产-原始卡片-基本入账信息】时出错：")))
        << rows[0].toStdString();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("岫禾提示"));
    EXPECT_EQ(QStringLiteral("错误\t固定资产\t") + messages.last().prompt, rows[0]);
}

TEST_F(FaClosingTest, ACancelEndsTheStepQuietly) {
    createSeeded();
    // The click arrives at the first pass of window events, after the
    // increase modes.
    QTimer::singleShot(0, [] { g_CancelRequested = true; });
    EXPECT_EQ(runUpgrade(0), 0);
    EXPECT_EQ(newLogRows(), QStringList());
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FAAlterMode WHERE FParentId = 997")),
              QStringLiteral("5"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FAAlter")), QStringLiteral("0"));
}

TEST_F(FaClosingTest, ACancelInsideARowStepEndsTheStepQuietly) {
    createSeeded();
    // The click arrives while the balance rows' dates and quantities are
    // being set, one row at a time.
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [this] {
        if (label->text().startsWith(QStringLiteral("正在更新余额表每期原值和数量("))) g_CancelRequested = true;
    });
    watch.start();
    EXPECT_EQ(runUpgrade(0), 0);
    watch.stop();
    EXPECT_TRUE(g_CancelRequested);
    // Only the base data's counts: no failure, and no card report.
    const QStringList rows = newLogRows();
    EXPECT_EQ(rows.filter(QStringLiteral("错误")), QStringList());
    EXPECT_EQ(rows.filter(QStringLiteral("固定资产卡片\t")), QStringList());
    EXPECT_EQ(messages.count(), 0);
    // The work table stays behind; no balance row was written.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM sysobjects WHERE name = 'TempBal'")),
              QStringLiteral("1"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance")), QStringLiteral("0"));
}

}  // namespace
