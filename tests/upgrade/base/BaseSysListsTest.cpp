// Voucher groups, voucher explanations and settlement methods on the
// standard sample (GLVchGroup.tsv, GLExp.tsv, GLExpGroup.tsv, GLSettle.tsv),
// merged into or added beside target rows seeded here.
#include "foundation/Globals.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/common/UpgradeGlobals.h"

#include "BaseSysAccess.h"

namespace {

class BaseSysListsTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QStringLiteral("standard"));
    }
    clsBaseSysTestAccess s;
};

TEST_F(BaseSysListsTest, VoucherGroupsMergeByNameAndConvertRanges) {
    // Structure 4-2-2 as the check leaves it; a target group 收 exists
    // already (identifier 7), and 付 restricts its debit side to 100201.
    ASSERT_TRUE(s.CheckGLAccountLength());
    ASSERT_EQ(targetRun("INSERT INTO T_VoucherGroup (FGroupID, FName, FDRange, FStandard) VALUES (7, N'收', "
                        "N'keep', 0); UPDATE AIS_GLVchGroup SET FDRange = '100201' WHERE FGroup = N'付'"),
              QString());
    EXPECT_EQ(s.UpgradeVoucherGroups(), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t凭证字\t凭证字数目：4")});
    EXPECT_EQ(target("SELECT FGroup, FZ8InterID FROM AIS_GLVchGroup ORDER BY FOrder"),
              (QStringList{QStringLiteral("记\t1"), QStringLiteral("收\t7"), QStringLiteral("付\t8"),
                           QStringLiteral("转\t9")}));
    EXPECT_EQ(target("SELECT FGroupID, FDRange, FNDCRange FROM T_VoucherGroup ORDER BY FGroupID"),
              (QStringList{"1\t\t", "7\tkeep\t", "8\t1002.01\t", "9\t\t1001"}));
}

TEST_F(BaseSysListsTest, AFailedGroupUsesUpItsIdentifierAndTheOthersGoOn) {
    // A unique index on one range column lets only one of the groups
    // without that range in: 付, after 收, is refused (转's is 1001 with the
    // structure the check fills).
    ASSERT_TRUE(s.CheckGLAccountLength());
    ASSERT_EQ(targetRun("CREATE UNIQUE INDEX ux_NDCRange ON T_VoucherGroup (FNDCRange)"), QString());
    EXPECT_EQ(s.UpgradeVoucherGroups(), 2);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("错误\t凭证字\t错误：（SQL语句执行错误）"))) << rows[0].toStdString();
    EXPECT_TRUE(rows[0].contains(QStringLiteral("N'付'")) || rows[0].contains(QStringLiteral("'付'")));
    EXPECT_EQ(target("SELECT FGroup, ISNULL(FZ8InterID, -1) FROM AIS_GLVchGroup ORDER BY FOrder"),
              (QStringList{QStringLiteral("记\t1"), QStringLiteral("收\t2"), QStringLiteral("付\t-1"),
                           QStringLiteral("转\t4")}));
}

TEST_F(BaseSysListsTest, TheStandardGroupIsReloaded) {
    g_StdVoucherGroupID = 99;
    g_StdVoucherGroupName = QStringLiteral("旧");
    ASSERT_EQ(targetRun("UPDATE T_VoucherGroup SET FStandard = 0; INSERT INTO T_VoucherGroup (FGroupID, FName, "
                        "FStandard) VALUES (30, N'标', 1)"),
              QString());
    EXPECT_EQ(s.UpgradeVoucherGroups(), 0);
    EXPECT_EQ(g_StdVoucherGroupID, 30);
    EXPECT_EQ(g_StdVoucherGroupName, QStringLiteral("标"));
    // New groups follow the highest identifier.
    EXPECT_EQ(target("SELECT FZ8InterID FROM AIS_GLVchGroup ORDER BY FOrder"), (QStringList{"1", "31", "32", "33"}));
}

TEST_F(BaseSysListsTest, EmptyListsGiveACountOfNothing) {
    ASSERT_EQ(targetRun("DELETE FROM AIS_GLVchGroup; DELETE FROM AIS_GLExp; DELETE FROM AIS_GLSettle"), QString());
    EXPECT_EQ(s.UpgradeVoucherGroups(), 0);
    EXPECT_EQ(s.UpgradeVoucherExplanations(), 0);
    EXPECT_EQ(s.UpgradeSettlements(), 0);
    EXPECT_EQ(newLogRows(), (QStringList{QStringLiteral("成功\t凭证字\t凭证字数目：0"),
                                         QStringLiteral("成功\t会计常用摘要\t会计常用摘要数目：0"),
                                         QStringLiteral("成功\t结算方式\t结算方式数目：0")}));
}

TEST_F(BaseSysListsTest, ExplanationsMergeByTextAndCategoriesByName) {
    // The target has 采购商品 (number 09) in its own category 5, and a
    // category named 费用报销 (identifier 8).
    ASSERT_EQ(targetRun("INSERT INTO T_VoucherExpGroup (FGroupID, FName) VALUES (5, N'目标类'); "
                        "INSERT INTO T_VoucherExpGroup (FGroupID, FName) VALUES (8, N'费用报销'); "
                        "INSERT INTO T_VoucherExp (FVoucherExpID, FGroupID, FNumber, FExplanation, FAccountID) "
                        "VALUES (40, 5, N'09', N'采购商品', 0)"),
              QString());
    EXPECT_EQ(s.UpgradeVoucherExplanations(), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t会计常用摘要\t会计常用摘要数目：12")});
    // 采购商品 (2) is merged and stays in category 5; the others are new,
    // numbered after 09, identifiers after 40.
    EXPECT_EQ(targetValue("SELECT FZ8InterID FROM AIS_GLExp WHERE FExpID = 2"), "40");
    EXPECT_EQ(targetValue("SELECT FGroupID FROM T_VoucherExp WHERE FVoucherExpID = 40"), "5");
    EXPECT_EQ(target("SELECT E.FExpID, V.FVoucherExpID, V.FNumber, V.FGroupID FROM AIS_GLExp E INNER JOIN "
                     "T_VoucherExp V ON V.FVoucherExpID = E.FZ8InterID WHERE E.FExpID IN (1, 3, 6, 9) ORDER BY "
                     "E.FExpID"),
              (QStringList{"1\t41\t10\t9", "3\t42\t11\t9", "6\t45\t14\t8", "9\t48\t17\t10"}));
    EXPECT_EQ(target("SELECT FExpGroupID, FZ8InterID FROM AIS_GLExpGroup ORDER BY FExpGroupID"),
              (QStringList{"1\t9", "2\t8", "3\t10"}));
    EXPECT_EQ(target("SELECT FGroupID, FName FROM T_VoucherExpGroup ORDER BY FGroupID"),
              (QStringList{QStringLiteral("5\t目标类"), QStringLiteral("8\t费用报销"), QStringLiteral("9\t常用摘要"),
                           QStringLiteral("10\t期末处理")}));
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM T_VoucherExp"), "12");
}

TEST_F(BaseSysListsTest, AFailedExplanationStopsThePhaseAtItsRow) {
    // The explanation number of the target is no number: the number query
    // fails at the first new explanation.
    ASSERT_EQ(targetRun("INSERT INTO T_VoucherExp (FVoucherExpID, FGroupID, FNumber, FExplanation, FAccountID) "
                        "VALUES (1, 1, N'A1', N'其他', 0)"),
              QString());
    EXPECT_EQ(s.UpgradeVoucherExplanations(), 2);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("错误\t会计常用摘要\t发生错误："))) << rows[0].toStdString();
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM T_VoucherExp"), "1");
}

TEST_F(BaseSysListsTest, SettlementsAreAddedAndClashingNamesSuffixed) {
    ASSERT_EQ(targetRun("INSERT INTO T_Settle (FItemID, FName, FNumber, FStatus) VALUES (20, N'电汇', '001', 0); "
                        "INSERT INTO AIS_GLSettle (FSettCode) VALUES (N'O''Neil]--')"),
              QString());
    EXPECT_EQ(s.UpgradeSettlements(), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t结算方式\t结算方式数目：7")});
    // In code order as the server sorts the codes; 电汇 gets the edition
    // suffix, the quote is kept.
    const QStringList codes = target("SELECT FSettCode FROM AIS_GLSettle ORDER BY FSettCode");
    ASSERT_EQ(codes.size(), 7);
    QStringList expected;
    for (int i = 0; i < codes.size(); ++i)
        expected << QStringLiteral("%1\t%2\t%3\t%4")
                        .arg(codes[i])
                        .arg(21 + i)
                        .arg(codes[i] == QStringLiteral("电汇") ? QStringLiteral("电汇_标准版") : codes[i])
                        .arg(i + 1, 3, 10, QLatin1Char('0'));
    EXPECT_EQ(target("SELECT S.FSettCode, T.FItemID, T.FName, T.FNumber FROM AIS_GLSettle S INNER JOIN T_Settle T "
                     "ON T.FItemID = S.FZ8InterID ORDER BY T.FItemID"),
              expected);
}

}  // namespace
