// The mapping columns on real staging copies of the standard sample: add,
// write and read, with the sentinels for rows not converted and keys that
// match nothing. Rows of AIS_GLObj and AIS_GLVch are seeded here so each
// case knows its keys.
#include <QStringList>

#include "foundation/Globals.h"
#include "foundation/clsDataInfo.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/common/IdentityMapping.h"

namespace {

class IdentityMappingTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QStringLiteral("standard"));
        cs = g_TargetConnectString;
    }
    clsDataInfo data;
    QString cs;
};

TEST_F(IdentityMappingTest, AddsTheColumnOnceAndFailsOnAMissingTable) {
    EXPECT_TRUE(AddInterIDColumn(data, cs, QStringLiteral("AIS_GLObj"), QStringLiteral("FZ8InterID_2")));
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM AIS_GLObj WHERE FZ8InterID_2 IS NULL"),
              targetValue("SELECT COUNT(*) FROM AIS_GLObj"));
    ASSERT_EQ(targetRun("UPDATE AIS_GLObj SET FZ8InterID_2 = 7"), QString());
    EXPECT_TRUE(AddInterIDColumn(data, cs, QStringLiteral("AIS_GLObj"), QStringLiteral("FZ8InterID_2")));
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM AIS_GLObj WHERE FZ8InterID_2 <> 7"), "0");
    EXPECT_FALSE(AddInterIDColumn(data, cs, QStringLiteral("AIS_NoSuchTable"), QStringLiteral("FZ8InterID")));
}

TEST_F(IdentityMappingTest, WritesAndReadsByNameAndByNumber) {
    const QString name = QStringLiteral("转账支票");
    EXPECT_EQ(GetZ8InterIDByName(data, cs, "AIS_GLSettle", "FSettCode", name, false), "0");  // NULL
    EXPECT_TRUE(SetZ8InterIDByName(data, cs, "AIS_GLSettle", "FSettCode", name, 42, false));
    EXPECT_EQ(GetZ8InterIDByName(data, cs, "AIS_GLSettle", "FSettCode", name, false), "42");
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM AIS_GLSettle WHERE FZ8InterID IS NOT NULL"), "1");
    EXPECT_EQ(GetZ8InterIDByName(data, cs, "AIS_GLSettle", "FSettCode", "无此方式", false), "0");
    // A setter with no matching row still ran.
    EXPECT_TRUE(SetZ8InterIDByName(data, cs, "AIS_GLSettle", "FSettCode", "无此方式", 9, false));

    EXPECT_TRUE(SetZ8InterIDByID(data, cs, "AIS_GLExp", "FExpID", 3, 1003, false));
    EXPECT_EQ(GetZ8InterIDByID(data, cs, "AIS_GLExp", "FExpID", 3, false), "1003");
    EXPECT_EQ(targetValue("SELECT FZ8InterID FROM AIS_GLExp WHERE FExpID = 3"), "1003");
    EXPECT_EQ(GetZ8InterIDByID(data, cs, "AIS_GLExp", "FExpID", 999, false), "0");
    // A column that is not there is a failure, read as "0" and false.
    EXPECT_EQ(GetZ8InterIDByID(data, cs, "AIS_GLExp", "FExpID", 3, true), "0");
    EXPECT_FALSE(SetZ8InterIDByID(data, cs, "AIS_GLExp", "FExpID", 3, 5, true));
}

TEST_F(IdentityMappingTest, KeysWithQuotesAndBracketsAreStoredIntact) {
    const QString odd = QStringLiteral("O'Brien]; --x");
    ASSERT_EQ(targetRun("INSERT INTO AIS_GLSettle (FSettCode) VALUES (N'O''Brien]; --x')"), QString());
    EXPECT_TRUE(SetZ8InterIDByName(data, cs, "AIS_GLSettle", "FSettCode", odd, 77, false));
    EXPECT_EQ(GetZ8InterIDByName(data, cs, "AIS_GLSettle", "FSettCode", odd, false), "77");
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM AIS_GLSettle WHERE FZ8InterID = 77"), "1");
}

TEST_F(IdentityMappingTest, ItemsMatchWithoutDotsAndBusinessUnitsUseClassOne) {
    ASSERT_TRUE(AddInterIDColumn(data, cs, "AIS_GLObj", "FZ8InterID_2"));
    // Seeded items: the same code written three ways in three classes.
    ASSERT_EQ(targetRun("INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted) "
                        "VALUES (1, 'T01.02', N'单位', '*', 1, 1, 0); "
                        "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted) "
                        "VALUES (2, 'T0102', N'部门', '*', 1, 1, 0); "
                        "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted) "
                        "VALUES (8, 'T0.102', N'八类', '*', 1, 1, 0); "
                        // Rows inserted now get the column's default 0: make
                        // them unconverted like the copied rows.
                        "UPDATE AIS_GLObj SET FZ8InterID = NULL WHERE FObjID LIKE 'T%'"),
              QString());
    // Not converted yet: -2; no such code: 0.
    EXPECT_EQ(GetObjZ8InterID(data, cs, 2, "T01.02", 0, false), -2);
    EXPECT_EQ(GetObjZ8InterID(data, cs, 2, "T99", 0, false), 0);

    EXPECT_TRUE(SetObjZ8InterID(data, cs, 2, "T.0102", 500, 0));
    EXPECT_EQ(GetObjZ8InterID(data, cs, 2, "T01.02", 0, false), 500);
    // Class 8 writes the business unit (class 1), its supplier column with 1.
    EXPECT_TRUE(SetObjZ8InterID(data, cs, 8, "T0102", 601, 1));
    EXPECT_TRUE(SetObjZ8InterID(data, cs, 1, "T0102", 600, 0));
    EXPECT_EQ(targetValue("SELECT FZ8InterID FROM AIS_GLObj WHERE FClsID = 8 AND FObjID = 'T0.102'"), "");
    EXPECT_EQ(targetValue("SELECT CAST(FZ8InterID AS varchar(10)) + '/' + CAST(FZ8InterID_2 AS varchar(10)) "
                          "FROM AIS_GLObj WHERE FClsID = 1 AND FObjID = 'T01.02'"),
              "600/601");
    EXPECT_EQ(GetObjZ8InterID(data, cs, 5, "T0102", 1, true), 601);
    EXPECT_EQ(GetObjZ8InterID(data, cs, 5, "T0102", 2, true), 600);   // only 1 picks the supplier
    EXPECT_EQ(GetObjZ8InterID(data, cs, 2, "T0102", 1, false), 500);  // which counts only for business units
}

TEST_F(IdentityMappingTest, VoucherMappingsReachEveryEntryOrOne) {
    ASSERT_TRUE(AddInterIDColumn(data, cs, "AIS_GLVch", "FZ8InterID_2"));
    const QString first = targetValue("SELECT TOP 1 CAST(FPeriod AS varchar(5)) + '|' + FGroup + '|' + "
                                      "CAST(FNum AS varchar(10)) FROM AIS_GLVch ORDER BY FPeriod, FNum");
    const QStringList key = first.split(QLatin1Char('|'));
    ASSERT_EQ(key.size(), 3);
    const int period = key[0].toInt(), number = key[2].toInt();
    const QString where =
        QStringLiteral(" WHERE FPeriod = %1 AND FGroup = N'%2' AND FNum = %3").arg(period).arg(key[1]).arg(number);
    const QString entries = targetValue("SELECT COUNT(*) FROM AIS_GLVch" + where);
    ASSERT_GT(entries.toInt(), 1);
    EXPECT_TRUE(SetVoucherZ8InterID(data, cs, period, key[1], number, 3001));
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM AIS_GLVch WHERE FZ8InterID = 3001"), entries);
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM AIS_GLVch" + where + " AND FZ8InterID = 3001"), entries);
    EXPECT_TRUE(SetVoucherEntryZ8InterID(data, cs, period, key[1], number, 1, 9001));
    EXPECT_EQ(targetValue("SELECT FEntryID FROM AIS_GLVch WHERE FZ8InterID_2 = 9001"), "1");
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM AIS_GLVch WHERE FZ8InterID_2 IS NOT NULL"), "1");
}

}  // namespace
