// Custom item classes: the standard sample's class 4 (销售项目, property
// table CSTM_Project) becomes class 3001 with its property table, rights,
// items, hierarchy, numbers and property values.
#include <gtest/gtest.h>

#include <QDir>

#include "foundation/Globals.h"
#include "jet/JetWriter.h"
#include "jet/TableText.h"
#include "jet/Workgroup.h"
#include "kit/UpgradeStepFixture.h"
#include "server/FaultInjection.h"
#include "upgrade/base/BaseSysAccess.h"

namespace {

class BaseCustomItemsTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QStringLiteral("standard"));
    }
    clsBaseSysTestAccess access;
};

// The standard sample with a second custom class, 5 "全类型", whose one
// item A has a property of every Jet type in a table whose name holds a
// blank and a ";".
const char *const kEveryTypeTable = "CSTM_全部 类型;1";
const char *const kEveryTypeText =
    "FClsID:Integer\tFObjID:Text(20)!\tFText:Text(10)\tFMemo:Memo\tFByte:Byte\tFInteger:Integer\tFLong:Long\t"
    "FYesNo:Boolean\tFCurrency:Currency\tFSingle:Single\tFDouble:Double\tFDate:DateTime\tFPicture:OLE\t"
    "FAuto:AutoNumber\n"
    "5\tA\t甲方\t%1\t200\t-12\t70000\t1\t12.3456\t1.5\t2.25\t2025-02-03\t0A0B\t7\n";

class EveryTypeCustomItemsTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        std::vector<jet::TableText> tables = jet::readTableTextFolder(PNW_SOURCE_DIR "/samples/standard");
        for (jet::TableText &table : tables) {
            if (table.name == "GLCls") table.rows.push_back({"5", "全类型", kEveryTypeTable});
            if (table.name == "GLObj") table.rows.push_back({"5", "A", "甲", "*", "1", "1", "0", "5*A"});
        }
        tables.push_back(jet::parseTableText(
            kEveryTypeTable, QString::fromUtf8(kEveryTypeText).arg(QString(300, QChar(0x5907))).toStdString()));
        const QString folder = server.path() + QStringLiteral("/everytype");
        QDir().mkpath(folder);
        source = folder + QStringLiteral("/everytype.ais");
        jet::JetWriter::writeFile(source.toStdString(), tables);
        jet::Workgroup::writeFile((folder + QStringLiteral("/system.mda")).toStdString());
        sourceHash = FileHash(source);
        useSettings(source, kTarget);
        ASSERT_LT(runCreation(), 2) << logRows().join(QLatin1Char('\n')).toStdString();
        newLogRows();
    }
    clsBaseSysTestAccess access;
};

}  // namespace

TEST_F(EveryTypeCustomItemsTest, EachPropertyTakesItsNearestKindAndOneWithoutIsNamed) {
    EXPECT_EQ(access.UpgradeCustomItems(), 1);
    // Integers and Yes/No as whole numbers, Currency and the floating types
    // as numbers, Memo as the longest text; the picture has no kind.
    EXPECT_EQ(target(QStringLiteral("SELECT FPropID, FName, FSQLColumnName, FDataType, FActualType, FPrecision, "
                                    "FActualSize FROM t_ItemPropDesc WHERE FItemClassID = 3002 ORDER BY FPropID")),
              QStringList({"101\tFText\tF_101\t200\t200\t10\t10", "102\tFMemo\tF_102\t200\t200\t8000\t8000",
                           "103\tFByte\tF_103\t3\t3\t0\t0", "104\tFInteger\tF_104\t3\t3\t0\t0",
                           "105\tFLong\tF_105\t3\t3\t0\t0", "106\tFYesNo\tF_106\t3\t3\t0\t0",
                           "107\tFCurrency\tF_107\t5\t5\t0\t0", "108\tFSingle\tF_108\t5\t5\t0\t0",
                           "109\tFDouble\tF_109\t5\t5\t0\t0", "110\tFDate\tF_110\t135\t135\t0\t0",
                           "111\tFAuto\tF_111\t3\t3\t0\t0"}));
    EXPECT_EQ(targetValue(QStringLiteral(
                  "SELECT p.F_101 + '|' + CONVERT(NVARCHAR(10), LEN(p.F_102)) + '|' + CONVERT(NVARCHAR(10), p.F_103) + "
                  "'|' + CONVERT(NVARCHAR(10), p.F_104) + '|' + CONVERT(NVARCHAR(10), p.F_105) + '|' + "
                  "CONVERT(NVARCHAR(10), p.F_106) + '|' + CONVERT(NVARCHAR(10), CONVERT(INT, ROUND(p.F_107 * 10000, "
                  "0))) + '|' + "
                  "CONVERT(NVARCHAR(10), CONVERT(INT, p.F_108 * 10)) + '|' + CONVERT(NVARCHAR(10), CONVERT(INT, "
                  "p.F_109 * 100)) + '|' + CONVERT(NVARCHAR(10), p.F_110, 23) + '|' + CONVERT(NVARCHAR(10), p.F_111) "
                  "FROM t_Item_3002 p INNER JOIN T_Item i ON i.FItemID = p.FItemID WHERE i.FNumber = 'A'")),
              QStringLiteral("甲方|300|200|-12|70000|1|123456|15|225|2025-02-03|7"));
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[1], QStringLiteral("警告\t核算项目-全类型\t以下属性的数据类型无法转换，其数据未升级：FPicture"));
    EXPECT_EQ(log[2], QStringLiteral("成功\t核算项目-全类型\t核算项目-全类型数目：1"));
}

TEST_F(BaseCustomItemsTest, APropertyTableNamedWithBracketsIsQuoted) {
    ASSERT_EQ(targetRun(QStringLiteral(
                  "INSERT INTO AIS_GLCls (FClsID, FClsName, FObjTableName) VALUES (5, N'工程', 'CSTM_a]b; c')\n"
                  "CREATE TABLE [AIS_CSTM_a]]b; c] (FClsID INT, FObjID NVARCHAR(20), FNote NVARCHAR(50), "
                  "FZ8InterID INT)\n"
                  "INSERT INTO [AIS_CSTM_a]]b; c] (FClsID, FObjID, FNote) VALUES (5, 'A', N'备注')\n"
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (5, 'A', N'甲', '*', 1, 1, 0, '5*A')")),
              QString());
    EXPECT_EQ(access.UpgradeCustomItems(), 0);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT p.F_101 FROM t_Item_3002 p INNER JOIN T_Item i ON i.FItemID = "
                                         "p.FItemID WHERE i.FItemClassID = 3002")),
              QStringLiteral("备注"));
}

TEST_F(BaseCustomItemsTest, AFailedReadOfTheClassesSaysWhy) {
    server::FailStatementAfter(1, 8152);
    EXPECT_EQ(access.UpgradeCustomItems(), 2);
    server::ResetFaults();
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0], QStringLiteral("错误\t自定义核算项目\t发生错误：将截断字符串或二进制数据。"));
}

TEST_F(BaseCustomItemsTest, TheClassBecomesAnItemClassWithPropertiesRightsAndItems) {
    // Items of other classes are there already, above the counter and
    // above every staged row's number.
    ASSERT_EQ(targetRun(QStringLiteral("SET IDENTITY_INSERT T_Item ON\n"
                                       "INSERT INTO T_Item (FItemID, FItemClassID, FNumber, FName) VALUES (5000, 2, "
                                       "'01', N'部门')\n"
                                       "SET IDENTITY_INSERT T_Item OFF\n"
                                       "UPDATE ICMaxNum SET FMaxNum = 0 WHERE FTableName = 'T_Item'")),
              QString());
    ASSERT_LT(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLObj")).toInt(), 5000);
    const int before = targetValue(QStringLiteral("SELECT MAX(FItemID) FROM T_Item")).toInt();
    EXPECT_EQ(access.UpgradeCustomItems(), 0);

    EXPECT_EQ(targetValue(QStringLiteral("SELECT FNumber + '|' + FName + '|' + FName_cht + '|' + FName_en + '|' + "
                                         "FSQLTableName FROM t_ItemClass WHERE FItemClassID = 3001")),
              QStringLiteral("3001|销售项目|销售项目|销售项目|t_Item_3001"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FZ8InterID FROM AIS_GLCls WHERE FClsID = 4")), QStringLiteral("3001"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM syscolumns WHERE id = OBJECT_ID('T_ItemDetail') AND "
                                         "name = 'F3001'")),
              QStringLiteral("1"));
    // CSTM_Project.tsv: FManager Text(20), FBudget Double, FStartDate
    // DateTime, FContractNo Long.
    EXPECT_EQ(
        target(QStringLiteral("SELECT FPropID, FName, FSQLColumnName, FDataType, FActualType, FPrecision, "
                              "FActualSize, FScale, FBrNo, FPageName, FName_EN, FPageName_EN FROM t_ItemPropDesc "
                              "WHERE FItemClassID = 3001 ORDER BY FPropID")),
        QStringList({"101\tFManager\tF_101\t200\t200\t20\t20\t0\t0         \t1.基本资料\tFManager\t1. Basic Data",
                     "102\tFBudget\tF_102\t5\t5\t0\t0\t0\t0         \t1.基本资料\tFBudget\t1. Basic Data",
                     "103\tFStartDate\tF_103\t135\t135\t0\t0\t0\t0         \t1.基本资料\tFStartDate\t1. Basic Data",
                     "104\tFContractNo\tF_104\t3\t3\t0\t0\t0\t0         \t1.基本资料\tFContractNo\t1. Basic Data"}));
    EXPECT_EQ(target(QStringLiteral("SELECT c.name, c.xtype FROM syscolumns c WHERE c.id = OBJECT_ID('t_Item_3001') "
                                    "ORDER BY c.colid")),
              QStringList({"FItemID\t56", "FHelpCode\t167", "F_101\t167", "F_102\t62", "F_103\t61", "F_104\t56",
                           "FModifyTime\t189"}));
    // Rights: one object type, groups 1 (2 rights) and 2 (12), 12 kinds.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FName + '|' + ISNULL(FDescription, 'NULL') + '|' + FDescription_en "
                                         "FROM t_ObjectType WHERE FObjectType = 3 AND FObjectID = 3001")),
              QStringLiteral("销售项目|NULL|"));
    EXPECT_EQ(target(QStringLiteral("SELECT FGroupID, COUNT(*) FROM t_objectaccess WHERE FObjectType = 3 AND FObjectID "
                                    "= 3001 GROUP BY FGroupID ORDER BY FGroupID")),
              QStringList({"1\t2", "2\t12"}));
    EXPECT_EQ(
        target(QStringLiteral("SELECT FIndex, FAccessMask, FAccessUse, FName, FName_en, FDescription_en FROM "
                              "t_ObjectAccessType WHERE FObjectID = 3001 AND FIndex IN (0, 3, 11) ORDER BY FIndex")),
        QStringList({"0\t262144\t0\t查看权限\tView Authority\tUser can read security info. of user",
                     "3\t2097152\t1048576\t详细信息\tDetails\t<Not Matched>",
                     "11\t134217728\t3145728\t反审核\tUncheck\t"}));
    // Items (GLObj.tsv class 4): 01 with 0101 and 0102 below it, and 02.
    EXPECT_EQ(target(QStringLiteral("SELECT i.FNumber, i.FName, CONVERT(INT, i.FDetail), i.FLevel, ISNULL(p.FNumber, "
                                    "'-') FROM T_Item i LEFT JOIN T_Item p ON p.FItemID = i.FParentID WHERE "
                                    "i.FItemClassID = 3001 ORDER BY i.FNumber")),
              QStringList({"01\t硬件销售\t0\t1\t-", "01.0101\t电脑配件销售\t1\t2\t01",
                           "01.0102\t办公设备销售\t1\t2\t01", "02\t技术服务\t1\t1\t-"}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT MIN(FItemID) FROM T_Item WHERE FItemClassID = 3001")).toInt() > before,
              true);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FMaxNum FROM ICMaxNum WHERE FTableName = 'T_Item'")),
              targetValue(QStringLiteral("SELECT MAX(FItemID) FROM T_Item")));
    EXPECT_EQ(target(QStringLiteral("SELECT o.FObjID, i.FNumber FROM AIS_GLObj o INNER JOIN T_Item i ON i.FItemID = "
                                    "o.FZ8InterID AND i.FItemClassID = 3001 WHERE o.FClsID = 4 ORDER BY o.FObjID")),
              QStringList({"01\t01", "0101\t01.0101", "0102\t01.0102", "02\t02"}));
    // Property values of the detail items (CSTM_Project.tsv; budgets in
    // tenths).
    EXPECT_EQ(target(QStringLiteral(
                  "SELECT i.FNumber, p.F_101, CONVERT(INT, p.F_102 * 10), CONVERT(NVARCHAR(10), p.F_103, 23), p.F_104 "
                  "FROM t_Item_3001 p INNER JOIN T_Item i ON i.FItemID = p.FItemID ORDER BY i.FNumber")),
              QStringList({"01.0101\t刘洋\t8000000\t2025-01-01\t2025001", "01.0102\t孙丽\t5000000\t2025-01-01\t2025002",
                           "02\t张伟\t1200005\t2025-03-01\t2025003"}));
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0], QStringLiteral("成功\t核算项目-销售项目\t核算项目-销售项目数目：4"));
}

TEST_F(BaseCustomItemsTest, FurtherClassesTakeTheNextIdentifiersAndAClashingNameIsSuffixed) {
    // A class named like the sample's exists; a second source class with
    // its own property table follows.
    ASSERT_EQ(targetRun(QStringLiteral(
                  "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName) VALUES (3001, '3001', N'销售项目')\n"
                  "ALTER TABLE T_ItemDetail ADD F3001 INT NOT NULL DEFAULT(0)\n"
                  "INSERT INTO AIS_GLCls (FClsID, FClsName, FObjTableName) VALUES (5, N'工程', 'CSTM_Work')\n"
                  "CREATE TABLE AIS_CSTM_Work (FClsID INT, FObjID NVARCHAR(20), FNote NVARCHAR(50), FZ8InterID INT)\n"
                  "INSERT INTO AIS_CSTM_Work (FClsID, FObjID, FNote) VALUES (5, 'A', N'甲''s note')\n"
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (5, 'A', NULL, '*', 1, 1, 0, '5*A')")),
              QString());
    EXPECT_EQ(access.UpgradeCustomItems(), 0);
    EXPECT_EQ(
        target(QStringLiteral("SELECT FItemClassID, FName FROM t_ItemClass WHERE FItemClassID > 3000 ORDER BY 1")),
        QStringList({"3001\t销售项目", "3002\t销售项目_" + g_SourceEdition, "3003\t工程"}));
    EXPECT_EQ(target(QStringLiteral("SELECT FClsID, FZ8InterID FROM AIS_GLCls WHERE FClsID > 3 ORDER BY FClsID")),
              QStringList({"4\t3002", "5\t3003"}));
    // An item without a name is written as "0"; a quote in a value stays.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT i.FName + '|' + p.F_101 FROM T_Item i INNER JOIN t_Item_3003 p ON "
                                         "p.FItemID = i.FItemID WHERE i.FItemClassID = 3003")),
              QStringLiteral("0|甲's note"));
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0], QStringLiteral("成功\t核算项目-销售项目\t核算项目-销售项目数目：4"));
    EXPECT_EQ(log[1], QStringLiteral("成功\t核算项目-工程\t核算项目-工程数目：1"));
}

TEST_F(BaseCustomItemsTest, AFailingClassStopsThePhaseAndLeavesNothingOfItself) {
    // The second class's property table is missing: its batch fails.
    ASSERT_EQ(targetRun(QStringLiteral(
                  "INSERT INTO AIS_GLCls (FClsID, FClsName, FObjTableName) VALUES (5, N'工程', 'CSTM_Missing')\n"
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (5, 'A', N'甲', '*', 1, 1, 0, '5*A')")),
              QString());
    EXPECT_EQ(access.UpgradeCustomItems(), 2);
    EXPECT_EQ(target(QStringLiteral("SELECT FItemClassID FROM t_ItemClass WHERE FItemClassID > 3000")),
              QStringList({"3001"}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Item WHERE FItemClassID = 3002")),
              QStringLiteral("0"));
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[1].startsWith(QStringLiteral("错误\t核算项目-工程\t错误："))) << log[1].toStdString();
    EXPECT_TRUE(log[1].contains(QStringLiteral("AIS_CSTM_Missing")));
}

TEST_F(BaseCustomItemsTest, NoCustomClassOrOneWithoutANameWritesNoEntry) {
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLCls SET FClsName = NULL WHERE FClsID = 4")), QString());
    EXPECT_EQ(access.UpgradeCustomItems(), 2);
    ASSERT_EQ(targetRun(QStringLiteral("DELETE FROM AIS_GLCls WHERE FClsID > 3")), QString());
    EXPECT_EQ(access.UpgradeCustomItems(), 0);
    EXPECT_TRUE(newLogRows().isEmpty());
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_ItemClass WHERE FItemClassID > 3000")),
              QStringLiteral("0"));
}
