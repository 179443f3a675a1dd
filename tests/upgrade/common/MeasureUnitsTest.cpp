// Measure units and item inserts on a target made from the standard sample;
// the unit groups and units are seeded here.
#include "foundation/Globals.h"
#include "foundation/clsDataInfo.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/common/MeasureUnits.h"

namespace {

class MeasureUnitsTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QStringLiteral("standard"));
        ASSERT_EQ(targetRun("DELETE FROM T_MeasureUnit; DELETE FROM T_UnitGroup; "
                            "INSERT INTO T_UnitGroup (FUnitGroupID, FName, FDefaultUnitID) VALUES (1, N'数量', 11); "
                            "INSERT INTO T_UnitGroup (FUnitGroupID, FName, FDefaultUnitID) VALUES (2, N'重量', 0); "
                            "INSERT INTO T_MeasureUnit (FMeasureUnitID, FUnitGroupID, FNumber, FName) "
                            "VALUES (10, 1, '*', N'*'); "
                            "INSERT INTO T_MeasureUnit (FMeasureUnitID, FUnitGroupID, FNumber, FName) "
                            "VALUES (11, 1, '002', N'个'); "
                            "INSERT INTO T_MeasureUnit (FMeasureUnitID, FUnitGroupID, FNumber, FName) "
                            "VALUES (12, 1, '001', N'箱'); "
                            "INSERT INTO T_MeasureUnit (FMeasureUnitID, FUnitGroupID, FNumber, FName) "
                            "VALUES (21, 2, '003', N'千克')"),
                  QString());
    }
    static QStringList rows(std::optional<ado::Recordset> rs) {
        QStringList out;
        if (!rs) return {QStringLiteral("<no recordset>")};
        for (; !rs->Eof(); rs->MoveNext())
            out << rs->value("FMeasureUnitID").toString() + "/" + rs->value("FNumber").toString() + "/" +
                       rs->value("FName").toString() + "/" + rs->value("FIsDefault").toString();
        return out;
    }
};

TEST_F(MeasureUnitsTest, ReadsOneUnit) {
    clsDataInfo data;
    const MeasureUnitInfo unit = GetMeasureUnitInfo(data, g_TargetConnectString, 12);
    EXPECT_EQ(unit.unitID, 12);
    EXPECT_EQ(unit.unitGroupID, 1);
    EXPECT_EQ(unit.number, "001");
    const MeasureUnitInfo none = GetMeasureUnitInfo(data, g_TargetConnectString, 999);
    EXPECT_EQ(none.unitID, 0);
    EXPECT_EQ(none.unitGroupID, 0);
    EXPECT_EQ(none.number, "");
}

TEST_F(MeasureUnitsTest, ListsUnitsWithoutTheStar) {
    EXPECT_EQ(
        rows(GetMeasureUnitList(QString())),
        (QStringList{QStringLiteral("12/001/箱/0"), QStringLiteral("11/002/个/1"), QStringLiteral("21/003/千克/0")}));
    EXPECT_EQ(rows(GetMeasureUnitList(QStringLiteral("重量"))), QStringList{QStringLiteral("21/003/千克/0")});
    EXPECT_EQ(rows(GetMeasureUnitList(QStringLiteral("x' OR '1'='1"))), QStringList());
}

TEST_F(MeasureUnitsTest, InsertsItemsAndReadsTheirIdentifier) {
    int id = -5;
    QString error = QStringLiteral("kept");
    ASSERT_TRUE(InsertItem(7, "O'Neil", 0, 1, 0, "O'Neil", "O'Neil", "O'Neil", "O'Neil", id, error));
    EXPECT_EQ(QString::number(id),
              targetValue("SELECT FItemID FROM T_Item WHERE FItemClassID = 7 AND FNumber = N'O''Neil'"));
    EXPECT_EQ(error, "kept");
    int child = -5;
    ASSERT_TRUE(InsertItem(7, "001", id, 2, 1, QStringLiteral("个"), QStringLiteral("个"), QStringLiteral("个"),
                           QStringLiteral("个"), child, error));
    EXPECT_EQ(targetValue("SELECT CAST(FParentID AS varchar(10)) + '/' + CAST(FLevel AS varchar(5)) + '/' + FName "
                          "FROM T_Item WHERE FItemID = " +
                          QString::number(child)),
              QString::number(id) + QStringLiteral("/2/个"));
    // A failed insert (the table is gone): false, the identifier unchanged,
    // the server's error given.
    ASSERT_EQ(targetRun("DROP TABLE T_Item"), QString());
    int unchanged = 33;
    error.clear();
    EXPECT_FALSE(InsertItem(7, "002", 0, 1, 0, "a", "a", "a", "a", unchanged, error));
    EXPECT_EQ(unchanged, 33);
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
