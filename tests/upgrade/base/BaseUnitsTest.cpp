// Measure units from the units the source accounts name, and the three
// auxiliary lists (employee categories, duties, degrees), on both samples.
#include <gtest/gtest.h>

#include "foundation/Globals.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/base/BaseSysAccess.h"

namespace {

class BaseUnitsTest : public UpgradeStepFixture, public ::testing::WithParamInterface<const char *> {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QString::fromLatin1(GetParam()));
    }
    clsBaseSysTestAccess access;
};

}  // namespace

TEST_P(BaseUnitsTest, EveryUnitTextBecomesAGroupAndAUnitMappedInTheWorkTable) {
    EXPECT_EQ(access.UpgradeMeteringUnit(), 0);
    // Both samples name 条, 块, 套, 台 (twice) and 箱 on their quantity accounts.
    const QStringList units = {QStringLiteral("块"), QStringLiteral("台"), QStringLiteral("套"), QStringLiteral("条"),
                               QStringLiteral("箱")};
    EXPECT_EQ(target(QStringLiteral("SELECT FName FROM T_UnitGroup WHERE FName <> '*' ORDER BY FName")), units);
    EXPECT_EQ(target(QStringLiteral("SELECT FName FROM T_MeasureUnit WHERE FNumber <> '*' ORDER BY FName")), units);
    // Numbers run from 001 in the order of the unit texts; the unit item
    // carries the same number, the group item the text.
    const QStringList units_in_order = target(QStringLiteral("SELECT DISTINCT FUnit FROM AIS_GLAcct WHERE FUnit <> '' "
                                                             "AND FUnit <> '*' ORDER BY FUnit"));
    ASSERT_EQ(units_in_order.size(), 5);
    for (int i = 0; i < units_in_order.size(); ++i) {
        const QString unit = units_in_order[i];
        const QString number = QStringLiteral("%1").arg(i + 1, 3, 10, QLatin1Char('0'));
        SCOPED_TRACE(unit.toStdString());
        EXPECT_EQ(targetValue(QStringLiteral("SELECT u.FNumber + '|' + u.FShortNumber + '|' + i.FNumber + '|' + "
                                             "i.FName + '|' + CONVERT(NVARCHAR(10), i.FLevel) + '|' + g.FName "
                                             "FROM T_MeasureUnit u INNER JOIN T_Item i ON i.FItemID = u.FItemID "
                                             "INNER JOIN T_Item g ON g.FItemID = u.FUnitGroupID "
                                             "WHERE u.FName = N'") +
                              unit + QStringLiteral("' AND i.FItemClassID = 7 AND i.FParentID = g.FItemID")),
                  number + QLatin1Char('|') + number + QLatin1Char('|') + number + QLatin1Char('|') + unit +
                      QStringLiteral("|2|") + unit);
        EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLUnit w INNER JOIN T_MeasureUnit u ON "
                                             "u.FMeasureUnitID = w.FZ8InterID AND u.FUnitGroupID = w.FZ8InterID_2 "
                                             "INNER JOIN T_UnitGroup g ON g.FUnitGroupID = u.FUnitGroupID AND "
                                             "g.FDefaultUnitID = u.FMeasureUnitID WHERE w.FUnit = N'") +
                              unit + QLatin1Char('\'')),
                  QStringLiteral("1"));
    }
    EXPECT_EQ(targetValue(QStringLiteral("SELECT CONVERT(NVARCHAR(10), FZ8InterID) + ',' + "
                                         "CONVERT(NVARCHAR(10), FZ8InterID_2) FROM AIS_GLUnit WHERE FUnit = '*'")),
              QStringLiteral("0,0"));
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0], QStringLiteral("成功\t计量单位\t计量单位数目：5"));
}

TEST_P(BaseUnitsTest, AuxiliaryListsTakeTheNextIdentifiersAndKeepTheirMapping) {
    // A category of the same name is in the target already.
    ASSERT_EQ(targetRun(QStringLiteral("INSERT INTO T_SubMessage (FBrNo, FInterID, FID, FParentID, FName, FTypeID) "
                                       "VALUES ('', 40, '001', 30, N'正式职工', 30)\n"
                                       "UPDATE ICMaxNum SET FMaxNum = 40 WHERE FTableName = N'T_SubMessage'")),
              QString());
    EXPECT_EQ(access.UpgradeEmpGroups(), 0);
    EXPECT_EQ(access.UpgradeDuties(), 0);
    EXPECT_EQ(access.UpgradeDegrees(), 0);

    struct List {
        const char *table, *key, *name;
        int type;
    };
    const List lists[] = {{"AIS_GLEmpGroup", "FEmpGroupID", "FEmpGroupName", 30},
                          {"AIS_GLDuty", "FDuty", "FDutyName", 29},
                          {"AIS_GLDegree", "FDegree", "FDegreeName", 23}};
    int next = 41;
    for (const List &l : lists) {
        SCOPED_TRACE(l.table);
        const QStringList source =
            target(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                       .arg(QString::fromLatin1(l.name), QString::fromLatin1(l.table), QString::fromLatin1(l.key)));
        ASSERT_FALSE(source.isEmpty());
        QStringList expected;
        for (int i = 0; i < source.size(); ++i) {
            QString name = source[i];
            if (l.type == 30 && name == QStringLiteral("正式职工")) name += QStringLiteral("_") + g_SourceEdition;
            expected << QStringLiteral("%1\t%2\t%3\t%4")
                            .arg(next + i)
                            .arg(i + 1, 3, 10, QLatin1Char('0'))
                            .arg(name)
                            .arg(l.type);
        }
        EXPECT_EQ(target(QStringLiteral("SELECT FInterID, FID, FName, FParentID FROM T_SubMessage WHERE FTypeID = %1 "
                                        "AND FInterID > 40 ORDER BY FInterID")
                             .arg(l.type)),
                  expected);
        // Each source row knows its target row.
        EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM %1 s INNER JOIN T_SubMessage t ON t.FInterID = "
                                             "s.FZ8InterID AND t.FTypeID = %2")
                                  .arg(QString::fromLatin1(l.table))
                                  .arg(l.type)),
                  QString::number(source.size()));
        next += source.size();
    }
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FMaxNum FROM ICMaxNum WHERE FTableName = 'T_SubMessage'")),
              QString::number(next - 1));
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[0], QStringLiteral("成功\t辅助资料-职员类别\t辅助资料-职员类别数目：3"));
    EXPECT_TRUE(log[1].startsWith(QStringLiteral("成功\t辅助资料-职员职务\t辅助资料-职员职务数目：")));
    EXPECT_TRUE(log[2].startsWith(QStringLiteral("成功\t辅助资料-文化程度\t辅助资料-文化程度数目：")));
}

TEST_P(BaseUnitsTest, AnEmptyListIsASuccessAndAMissingOneAFailure) {
    ASSERT_EQ(targetRun(QStringLiteral("DELETE FROM AIS_GLDuty\nDROP TABLE AIS_GLDegree")), QString());
    EXPECT_EQ(access.UpgradeDuties(), 0);
    EXPECT_EQ(access.UpgradeDegrees(), 2);
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0], QStringLiteral("成功\t辅助资料-职员职务\t辅助资料-职员职务数目：0"));
    EXPECT_EQ(log[1], QStringLiteral("错误\t辅助资料-文化程度\t发生错误：对象名 'AIS_GLDegree' 无效。"));
}

TEST_P(BaseUnitsTest, AUnitGroupThatCannotBeWrittenIsReportedAndUsesNoNumber) {
    // The group of 台 cannot be written: a unit group with its item id is
    // there already (ids are given by T_Item, the next is predictable).
    const int next = targetValue(QStringLiteral("SELECT ISNULL(MAX(FItemID), 0) FROM T_Item")).toInt();
    const QStringList order = target(QStringLiteral("SELECT DISTINCT FUnit FROM AIS_GLAcct WHERE FUnit <> '' AND "
                                                    "FUnit <> '*' ORDER BY FUnit"));
    ASSERT_EQ(order.size(), 5);
    // The first unit takes items next+1 (group) and next+2 (unit); the
    // second's group is next+3.
    ASSERT_EQ(
        targetRun(QStringLiteral("INSERT INTO T_UnitGroup (FUnitGroupID, FName) VALUES (%1, N'占用')").arg(next + 3)),
        QString());
    EXPECT_EQ(access.UpgradeMeteringUnit(), 2);
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].startsWith(QStringLiteral("错误\t计量单位\t错误：（SQL语句执行错误）"))) << log[0].toStdString();
    EXPECT_TRUE(log[0].contains(order[1]));
    // The others are numbered without a gap.
    EXPECT_EQ(
        target(QStringLiteral("SELECT FNumber FROM T_MeasureUnit WHERE FNumber <> '*' ORDER BY FNumber")),
        QStringList({QStringLiteral("001"), QStringLiteral("002"), QStringLiteral("003"), QStringLiteral("004")}));
}

INSTANTIATE_TEST_SUITE_P(Samples, BaseUnitsTest, ::testing::Values("standard", "mini"));
