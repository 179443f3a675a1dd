// The fixed-asset checks on the standard sample and on staged tables changed
// by a few statements: fatal structure and account findings, the repair of
// NULL alteration modes, and the warnings with their card lists.
#include "kit/UpgradeStepFixture.h"

#include "foundation/Globals.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "server/FaultInjection.h"
#include "upgrade/assets/clsEboFa.h"

#include "FaSeed.h"

namespace {

class FaChecksTest : public UpgradeStepFixture {
protected:
    int runCheck() {
        clsEboFa stage;
        return check(stage);
    }
    // Log rows of one project.
    static QStringList ofProject(const QStringList &rows, const QString &project) {
        QStringList out;
        for (const QString &row : rows)
            if (row.section(QLatin1Char('\t'), 1, 1) == project) out << row;
        return out;
    }
};

TEST_F(FaChecksTest, StandardSampleNeedsNoFinding) {
    createFrom(QStringLiteral("standard"));
    EXPECT_EQ(runCheck(), 0);
    EXPECT_EQ(newLogRows(), QStringList());
}

TEST_F(FaChecksTest, MissingColumnIsFatalAndNamesTheTable) {
    createFrom(QStringLiteral("standard"));
    ASSERT_EQ(targetRun(QStringLiteral("ALTER TABLE AIS_FAVchDept DROP COLUMN FDevalueRate")), QString());
    EXPECT_EQ(runCheck(), 2);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("错误\t固定资产数据检测\t源帐套数据表FAVchDept")))
        << rows[0].toStdString();
    EXPECT_TRUE(rows[0].contains(QStringLiteral("FDevalueRate")));
    EXPECT_EQ(messages.count(), 1);
}

TEST_F(FaChecksTest, CardsWithoutAccountsAreFatal) {
    createFrom(QStringLiteral("standard"));
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_FACard SET FDeprAcID = NULL WHERE FAssetID IN ('FA005', 'FA002')")),
              QString());
    EXPECT_EQ(runCheck(), 2);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0], QStringLiteral("错误\t固定资产会计科目设置检测\t固定资产相关科目缺失，请更正后再重新升级。"));
    EXPECT_EQ(server.rows(QStringLiteral("AcctCtl"),
                          QStringLiteral("SELECT F1, F3, F4 FROM AIS_UpgradeLog_固定资产会计科目设置检测")),
              QStringList({QStringLiteral("固定资产编码\t资产科目\t折旧科目"), QStringLiteral("FA002\t1601\t<空>"),
                           QStringLiteral("FA005\t1601\t<空>")}));
}

TEST_F(FaChecksTest, NullAlterationModesAreRepairedAndWarningsSkipped) {
    createFrom(QStringLiteral("standard"));
    // FA006 is in service in the period after the current one: check 4 would
    // name it, but a repair ends the check first.
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_FAVch SET FAlterID = NULL WHERE FAssetID = 'FA005';"
                                       "UPDATE AIS_FACard SET FServiceDate = '2026-01-01' WHERE FAssetID = 'FA006'")),
              QString());
    EXPECT_EQ(runCheck(), 0);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(rows[0],
              QStringLiteral(
                  "警告\t固定资产变动方式检测\t固定资产变动方式存在不合法的NULL值，默认修复为原始卡片的变动方式。"));
    // FA005's own card has mode 1.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FAlterID FROM AIS_FAVch WHERE FAssetID = 'FA005'")),
              QStringLiteral("1"));
}

// With the period table (current period 12 ends 2025-12-31) and without
// any (then period 12 is December 2025 as a calendar month): the last day
// stays, the next day is after it.
class FaFutureCardsTest : public FaChecksTest, public ::testing::WithParamInterface<bool> {};

TEST_P(FaFutureCardsTest, AreJudgedByThePeriodTableOrElseByCalendarMonth) {
    createFrom(QStringLiteral("standard"));
    if (!GetParam()) {
        ASSERT_EQ(targetRun(QStringLiteral("DELETE FROM AIS_GLPeriod; DELETE FROM t_PeriodDate")), QString());
    }
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_FACard SET FServiceDate = '2025-12-31' WHERE FAssetID = 'FA005';"
                                       "UPDATE AIS_FACard SET FServiceDate = '2026-01-01' WHERE FAssetID = 'FA006'")),
              QString());
    EXPECT_EQ(runCheck(), 0);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(
        rows[0].startsWith(QStringLiteral("警告\t固定资产入账日期检测\t固定资产存在入账时间大于当前期间的数据")));
}

INSTANTIATE_TEST_SUITE_P(PeriodTable, FaFutureCardsTest, ::testing::Bool());

TEST_F(FaChecksTest, ThirteenthPeriodEndsWhereThePeriodTableSays) {
    createFrom(QStringLiteral("standard"));
    // A thirteenth period running to 2026-01-10: a card in service on
    // 2026-01-05 lies inside it.
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLPref SET FCurrPeriod = 13, FPeriodsPerYear = 13;"
                                       "INSERT INTO AIS_GLPeriod (FYear, FPeriod, FStartDate, FEndDate) VALUES "
                                       "(2025, 13, '2026-01-01', '2026-01-10');"
                                       "UPDATE AIS_FACard SET FServiceDate = '2026-01-05' WHERE FAssetID = 'FA005';"
                                       "UPDATE AIS_FACard SET FServiceDate = '2026-01-11' WHERE FAssetID = 'FA006'")),
              QString());
    EXPECT_EQ(runCheck(), 0);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(rows[0].contains(QStringLiteral("固定资产入账日期检测")));
    const QString link = server
                             .rows(QStringLiteral("AcctCtl"), QStringLiteral("SELECT FLink FROM AIS_UpgradeLog_Main "
                                                                             "WHERE FProject = '固定资产入账日期检测'"))
                             .value(0);
    EXPECT_EQ(
        server.rows(QStringLiteral("AcctCtl"), QStringLiteral("SELECT F1, F3 FROM [") + link + QStringLiteral("]")),
        QStringList({QStringLiteral("固定资产代码\t入账日期"), QStringLiteral("FA006\t2026-01-11")}));
}

TEST_F(FaChecksTest, AllocationAndEarlierClearingWarningsNameEachCardOnce) {
    createFrom(QStringLiteral("standard"));
    // FA001 gets a split without item in its latest period; FA003 is cleared
    // in an earlier year (a cleared balance row, no voucher row).
    ASSERT_EQ(
        targetRun(QStringLiteral("UPDATE AIS_FABalExpense SET FRate = 60, FExpenseClsID = 0 WHERE FAssetID = 'FA001';"
                                 "UPDATE AIS_FABal SET FPost = 2 WHERE FAssetID = 'FA003' AND FPeriod = 12")),
        QString());
    EXPECT_EQ(runCheck(), 0);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 2) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(rows[0],
              QStringLiteral("警告\t固定资产折旧费用分配需要整理\t固定资产FA001使用部门与折旧费用科目无法一一对应，"
                             "不符合专业版规则，请升级后在固定资产中进行调整。"));
    EXPECT_EQ(
        rows[1],
        QStringLiteral("警告\t固定资产以前年度清理的卡片\t固定资产FA003是以前年度期间进行清理的，本次升级将不处理。"));
}

TEST_F(FaChecksTest, CurrentPeriodAdditionsAreNamedOnlyForBalancesOnly) {
    createFrom(QStringLiteral("standard"));
    ASSERT_EQ(targetRun(QStringLiteral(
                  "UPDATE AIS_FAVch SET FPeriod = 12 WHERE FAssetID IN ('FA007', 'FA008') AND FType = 0")),
              QString());
    EXPECT_EQ(runCheck(), 0);
    EXPECT_EQ(newLogRows(), QStringList());
    setOption(1);
    EXPECT_EQ(runCheck(), 0);
    EXPECT_EQ(
        newLogRows(),
        QStringList({QStringLiteral(
            "警告\t固定资产只升级余额不处理卡片\t固定资产FA007、FA008在当前期间增加，在本次升级中不进行处理。")}));
}

TEST_F(FaChecksTest, SourceWithoutFixedAssetTablesIsSkippedWithANote) {
    createFrom(QStringLiteral("standard"));
    const char *tables[] = {"FACard",       "FABal",     "FABalExpense", "FABalDept", "FABalDevalue", "FABalFor",
                            "FAExtra",      "FAInitBal", "FAJob",        "FAVch",     "FAVchExpense", "FAVchDept",
                            "FAVchDevalue", "FAVchFor",  "FAAlter",      "FAGroup"};
    for (const char *table : tables)
        ASSERT_EQ(targetRun(QStringLiteral("DROP TABLE AIS_") + QString::fromLatin1(table)), QString()) << table;
    EXPECT_EQ(runCheck(), 0);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("警告\t固定资产数据检测\t源帐套没有固定资产数据表")));
}

TEST_F(FaChecksTest, AlterationRowsWithoutTheirCardAreNamed) {
    createFrom(QStringLiteral("standard"));
    ASSERT_EQ(targetRun(FaAlteration(QStringLiteral("FA099"), 5, 2, QStringLiteral("100")) +
                        FaAlteration(QStringLiteral("FA099"), 6, 10, QStringLiteral("-100"))),
              QString());
    EXPECT_EQ(runCheck(), 0);
    EXPECT_EQ(newLogRows(), QStringList({QStringLiteral("警告\t固定资产变动记录检测\t固定资产FA099的变动记录没有对应"
                                                        "的固定资产卡片，本次升级将不处理这些变动记录。")}));
}

TEST_F(FaChecksTest, AProbeFailingForAnotherReasonIsPassedOverWithItsReason) {
    createFrom(QStringLiteral("standard"));
    // The probe of AIS_FAJob is the first statement that reads that table.
    server::FailStatementWhen([](std::string_view sql) { return sql.find("\"AIS_FAJob\"") != std::string_view::npos; },
                              1105, "文件组已满。");
    const int result = runCheck();
    EXPECT_TRUE(server::FaultFired());
    server::ResetFaults();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(newLogRows(), QStringList({QStringLiteral("警告\t固定资产数据检测\t源帐套数据表FAJob文件组已满。")}));
    EXPECT_EQ(messages.count(), 0);
}

}  // namespace
