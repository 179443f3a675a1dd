// The fixed-asset driver on the standard sample: cards after the current
// period leave every staged table before any phase, and the FA keys of the
// profile follow the option.
#include "kit/UpgradeStepFixture.h"

#include "foundation/Globals.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "server/FaultInjection.h"
#include "upgrade/assets/clsEboFa.h"

#include "FaFixture.h"

namespace {

class FaDriverTest : public FaFixture {
protected:
    int runUpgrade() {
        clsEboFa stage;
        const int result = upgrade(stage);
        if (result != 0) ADD_FAILURE() << newLogRows().join(QLatin1Char('\n')).toStdString();
        return result;
    }
    QString faKey(const QString &key) {
        return targetValue(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'FA' AND FKey = '") +
                           key + QStringLiteral("'"));
    }
    int stagedRowsOf(const QString &code) {
        int rows = 0;
        for (const char *table :
             {"FACard", "FABal", "FABalDept", "FABalDevalue", "FABalExpense", "FABalFor", "FAExtra", "FAInitBal",
              "FAJob", "FAVch", "FAVchDept", "FAVchDevalue", "FAVchExpense", "FAVchFor"})
            rows += targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_%1 WHERE FAssetID = '%2'")
                                    .arg(QString::fromLatin1(table), code))
                        .toInt();
        return rows;
    }
};

TEST_F(FaDriverTest, CardsAfterTheCurrentPeriodLeaveEveryStagedTable) {
    createSeeded();
    // FA001 is in service on the last day of the current period and stays;
    // FA003 (a quote in its code) on the next day and goes, with its
    // balances, devices and opening rows.
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_FACard SET FServiceDate = '2025-12-31' WHERE FAssetID = 'FA001';"
                                       "UPDATE AIS_FACard SET FServiceDate = '2026-01-01' WHERE FAssetID = 'FA003';"
                                       "UPDATE AIS_FAExtra SET FAssetID = 'FA''3' WHERE FAssetID = 'FA003';"
                                       "UPDATE AIS_FABal SET FAssetID = 'FA''3' WHERE FAssetID = 'FA003';"
                                       "UPDATE AIS_FAInitBal SET FAssetID = 'FA''3' WHERE FAssetID = 'FA003';"
                                       "UPDATE AIS_FACard SET FAssetID = 'FA''3' WHERE FAssetID = 'FA003'")),
              QString());
    const int before = stagedRowsOf(QStringLiteral("FA''3"));
    ASSERT_GT(before, 3);
    const int others = targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_FABal")).toInt();
    EXPECT_EQ(runUpgrade(), 0);
    EXPECT_EQ(stagedRowsOf(QStringLiteral("FA''3")), 0);
    EXPECT_GT(stagedRowsOf(QStringLiteral("FA001")), 0);
    EXPECT_LT(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_FABal")).toInt(), others);
}

TEST_F(FaDriverTest, AllDataKeepsCurrentKeysAndSetsTheStart) {
    createSeeded();
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLPref SET FStartPeriod = 4, FDeprMade = 1")), QString());
    EXPECT_EQ(runUpgrade(), 0);
    EXPECT_EQ(faKey(QStringLiteral("StartPeriod")), QStringLiteral("4"));
    EXPECT_EQ(faKey(QStringLiteral("StartYear")), QStringLiteral("2025"));
    EXPECT_EQ(faKey(QStringLiteral("withoutDepr")), QStringLiteral("0"));
    // The base-data upgrade's values (here the base's) stay.
    EXPECT_EQ(faKey(QStringLiteral("CurrentPeriod")), QStringLiteral("1"));
    EXPECT_EQ(faKey(QStringLiteral("CurrentYear")), QStringLiteral("2013"));
}

TEST_F(FaDriverTest, AllDataStartsAtOneWhenTheStartYearIsEarlier) {
    createSeeded();
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLPref SET FStartYear = 2024, FStartPeriod = 4, FDeprMade = 0")),
              QString());
    EXPECT_EQ(runUpgrade(), 0);
    EXPECT_EQ(faKey(QStringLiteral("StartPeriod")), QStringLiteral("1"));
    EXPECT_EQ(faKey(QStringLiteral("withoutDepr")), QStringLiteral("1"));
}

TEST_F(FaDriverTest, BalancesOnlyStartsAtTheCurrentPeriodWithoutDepreciation) {
    createSeeded();
    setOption(1);
    EXPECT_EQ(runUpgrade(), 0);
    EXPECT_EQ(faKey(QStringLiteral("withoutDepr")), QStringLiteral("1"));
    EXPECT_EQ(faKey(QStringLiteral("CurrentPeriod")), QStringLiteral("12"));
    EXPECT_EQ(faKey(QStringLiteral("CurrentYear")), QStringLiteral("2025"));
    EXPECT_EQ(faKey(QStringLiteral("StartPeriod")), QStringLiteral("12"));
    EXPECT_EQ(faKey(QStringLiteral("StartYear")), QStringLiteral("2025"));
}

TEST_F(FaDriverTest, CardsAfterTheCurrentPeriodGoAlsoWithoutAPeriodTable) {
    // No period table knows the current period 12: a card counts as after
    // it from the next calendar month on.
    createSeeded();
    ASSERT_EQ(targetRun(QStringLiteral("DELETE FROM AIS_GLPeriod;"
                                       "DELETE FROM t_PeriodDate;"
                                       "UPDATE AIS_FACard SET FServiceDate = '2025-12-31' WHERE FAssetID = 'FA001';"
                                       "UPDATE AIS_FACard SET FServiceDate = '2026-01-01' WHERE FAssetID = 'FA003'")),
              QString());
    EXPECT_EQ(runUpgrade(), 0);
    EXPECT_EQ(stagedRowsOf(QStringLiteral("FA003")), 0);
    EXPECT_GT(stagedRowsOf(QStringLiteral("FA001")), 0);
}

TEST_F(FaDriverTest, ASourceWithoutFixedAssetTablesIsPassedOverWithANote) {
    createSeeded();
    for (const char *table : {"FACard", "FABal", "FABalExpense", "FABalDept", "FABalDevalue", "FABalFor", "FAExtra",
                              "FAInitBal", "FAJob", "FAVch", "FAVchExpense", "FAVchDept", "FAVchDevalue", "FAVchFor",
                              "FAAlter", "FAGroup"})
        ASSERT_EQ(targetRun(QStringLiteral("DROP TABLE AIS_") + QString::fromLatin1(table)), QString()) << table;
    EXPECT_EQ(runUpgrade(), 0);
    EXPECT_EQ(newLogRows(),
              QStringList({QStringLiteral("警告\t固定资产\t源帐套没有固定资产数据表，跳过固定资产升级。")}));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(FaDriverTest, NoListOfCardsAfterTheCurrentPeriodEndsTheStepBeforeAnyPhase) {
    createSeeded();
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_FACard SET FServiceDate = '2026-01-01' WHERE FAssetID = 'FA003'")),
              QString());
    const QString startYear = faKey(QStringLiteral("StartYear"));
    const QString balances = targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance"));
    // The card query is the first statement that reads the service dates;
    // 7303 gives it no recordset.
    server::FailStatementWhen(
        [](std::string_view sql) {
            return sql.find("\"AIS_FACard\"") != std::string_view::npos &&
                   sql.find("FServiceDate") != std::string_view::npos;
        },
        7303, "无法初始化数据源对象。");
    EXPECT_EQ(runUpgrade(), 0);
    EXPECT_TRUE(server::FaultFired());
    server::ResetFaults();
    EXPECT_EQ(newLogRows(),
              QStringList({QStringLiteral(
                  "警告\t固定资产\t无法读取入账时间大于当前期间的固定资产卡片，本次升级未处理固定资产。")}));
    EXPECT_EQ(messages.count(), 0);
    // Nothing removed, nothing converted, no key rewritten.
    EXPECT_GT(stagedRowsOf(QStringLiteral("FA003")), 0);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance")), balances);
    EXPECT_EQ(faKey(QStringLiteral("StartYear")), startYear);
}

// Either option leaves them out and says so.
class FaRowsWithoutCardTest : public FaDriverTest, public ::testing::WithParamInterface<int> {};

TEST_P(FaRowsWithoutCardTest, AlterationRowsWithoutTheirCardAreLeftOutAndNamed) {
    createSeeded(FaAlteration(QStringLiteral("FA099"), 5, 2, QStringLiteral("100")) +
                 FaAlteration(QStringLiteral("FA099"), 6, 10, QStringLiteral("-100")));
    setOption(GetParam());
    EXPECT_EQ(runUpgrade(), 0);
    const QStringList rows = newLogRows();
    EXPECT_TRUE(rows.contains(QStringLiteral(
        "警告\t固定资产变动卡片\t固定资产FA099的变动记录没有对应的固定资产卡片，未升级这些变动记录。")))
        << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(messages.count(), 0);
    // The other cards' alterations are converted as ever.
    if (GetParam() == 0) {
        EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FAAlter WHERE FNew = 0 AND FPeriod > 0")),
                  QStringLiteral("3"));
    }
}

INSTANTIATE_TEST_SUITE_P(Options, FaRowsWithoutCardTest, ::testing::Values(0, 1));

}  // namespace
