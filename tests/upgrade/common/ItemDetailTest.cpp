// Item-detail combinations found or made for the items of a source row, on
// the standard sample with a few mappings seeded by hand (the item phases
// that write them are tested in the base-data tests).
#include <gtest/gtest.h>

#include "foundation/Globals.h"
#include "foundation/clsDataInfo.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/common/ItemDetail.h"
#include "upgrade/common/UpgradeGlobals.h"

namespace {

class ItemDetailTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QStringLiteral("standard"));
        // Business unit 0101 is customer 501 and supplier 601; 0102 only
        // customer 502. Department 01 and employee 001 are items of the
        // target, mapped; department 02 is not converted. Custom class 4 is
        // class 3001, its item 0101 item 701.
        ASSERT_EQ(
            targetRun(QStringLiteral(
                "ALTER TABLE AIS_GLObj ADD FZ8InterID_2 INT\n"
                "ALTER TABLE T_ItemDetail ADD F3001 INT NOT NULL DEFAULT(0)\n"
                "INSERT INTO T_Item (FItemClassID, FNumber, FName, FShortNumber) VALUES (2, '01', N'总经理办公室', "
                "'01')\n"
                "INSERT INTO T_Item (FItemClassID, FNumber, FName, FShortNumber) VALUES (3, '001', N'张伟', '001')")),
            QString());
        ASSERT_EQ(targetRun(QStringLiteral(
                      "UPDATE AIS_GLObj SET FZ8InterID = 501, FZ8InterID_2 = 601 WHERE FClsID = 1 AND FObjID = '0101'\n"
                      "UPDATE AIS_GLObj SET FZ8InterID = 502 WHERE FClsID = 1 AND FObjID = '0102'\n"
                      "UPDATE AIS_GLObj SET FZ8InterID = (SELECT FItemID FROM T_Item WHERE FItemClassID = 2) "
                      "WHERE FClsID = 2 AND FObjID = '01'\n"
                      "UPDATE AIS_GLObj SET FZ8InterID = (SELECT FItemID FROM T_Item WHERE FItemClassID = 3) "
                      "WHERE FClsID = 3 AND FObjID = '001'\n"
                      "UPDATE AIS_GLObj SET FZ8InterID = 701 WHERE FClsID = 4 AND FObjID = '0101'\n"
                      "UPDATE AIS_GLCls SET FZ8InterID = 3001 WHERE FClsID = 4")),
                  QString());
        g_SubLedgerNatures.RemoveAll();
        g_SubLedgerNatures.setItem(QStringLiteral("1122"), 0);
        g_SubLedgerNatures.setItem(QStringLiteral("2202"), 1);
        g_SubLedgerNatures.setItem(QStringLiteral("2241"), 2);
        dept = targetValue(QStringLiteral("SELECT FItemID FROM T_Item WHERE FItemClassID = 2"));
        emp = targetValue(QStringLiteral("SELECT FItemID FROM T_Item WHERE FItemClassID = 3"));
    }
    void TearDown() override {
        g_SubLedgerNatures.RemoveAll();
        UpgradeStepFixture::TearDown();
    }

    // The combination row: count and the class columns that are not 0.
    QString combination(int detailID) {
        return targetValue(QStringLiteral("SELECT CONVERT(NVARCHAR(10), FDetailCount) + ':' + "
                                          "CASE WHEN F1 <> 0 THEN ' F1=' + CONVERT(NVARCHAR(10), F1) ELSE '' END + "
                                          "CASE WHEN F2 <> 0 THEN ' F2=' + CONVERT(NVARCHAR(10), F2) ELSE '' END + "
                                          "CASE WHEN F3 <> 0 THEN ' F3=' + CONVERT(NVARCHAR(10), F3) ELSE '' END + "
                                          "CASE WHEN F8 <> 0 THEN ' F8=' + CONVERT(NVARCHAR(10), F8) ELSE '' END + "
                                          "CASE WHEN F3001 <> 0 THEN ' F3001=' + CONVERT(NVARCHAR(10), F3001) ELSE '' "
                                          "END FROM T_ItemDetail WHERE FDetailID = ") +
                           QString::number(detailID));
    }
    // Its per-class rows, "class=item" joined by blanks.
    QString perClass(int detailID) {
        return target(QStringLiteral("SELECT CONVERT(NVARCHAR(10), FItemClassID) + '=' + CONVERT(NVARCHAR(10), "
                                     "FItemID) FROM T_ItemDetailV WHERE FDetailID = ") +
                      QString::number(detailID) + QStringLiteral(" ORDER BY FItemClassID"))
            .join(QLatin1Char(' '));
    }

    clsDataInfo data;
    QString dept, emp;
};

}  // namespace

TEST_F(ItemDetailTest, OneItemGivesItsCombinationWithItsPerClassRows) {
    struct Case {
        const char *title;
        int itemClass;
        const char *item, *account;
        QString combination, perClass;
    };
    const QList<Case> cases = {
        {"every customer", 1, "*", "1122", "1: F1=-1", "1=-1"},
        {"a supplier", 1, "0101", "2202", "1: F8=601", "8=601"},
        {"a unit on an account of both natures", 1, "0101", "2241", "2: F1=501 F8=601", "1=501 8=601"},
        {"a department", 2, "01", "6602", "1: F2=" + dept, "2=" + dept},
        {"an employee", 3, "001", "1221", "1: F3=" + emp, "3=" + emp},
        {"every employee", 3, "*", "1221", "1: F3=-1", "3=-1"},
        {"a custom item", 4, "01.01", "6001", "1: F3001=701", "3001=701"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        QString message;
        const int id = HookSingleItemDetail(data, g_TargetConnectString, c.itemClass, QString::fromLatin1(c.item),
                                            QString::fromLatin1(c.account), message);
        ASSERT_GT(id, 0) << message.toStdString();
        EXPECT_EQ(combination(id), c.combination);
        EXPECT_EQ(perClass(id), c.perClass);
    }
}

TEST_F(ItemDetailTest, TheSameItemsFindTheCombinationMadeFirst) {
    QString message;
    const int first = HookSingleItemDetail(data, g_TargetConnectString, 2, QStringLiteral("01"), QString(), message);
    const int second = HookSingleItemDetail(data, g_TargetConnectString, 2, QStringLiteral("01"), QString(), message);
    const int multi = HookMultiItemDetail(data, g_TargetConnectString, QStringLiteral("6602"), 2, QStringLiteral("01"),
                                          QString(), QString(), QString(), message);
    EXPECT_GT(first, 0);
    EXPECT_EQ(second, first);
    EXPECT_EQ(multi, first);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_ItemDetailV WHERE FItemClassID = 2")),
              QStringLiteral("1"));
}

TEST_F(ItemDetailTest, ItemsThatWereNotConvertedAreRefusedWithTheirMessage) {
    struct Case {
        const char *title;
        bool multi;
        int itemClass;
        const char *item, *account, *unit, *department, *employee;
        const char *message;
    };
    const Case cases[] = {
        {"no class", false, 0, "01", "1122", "", "", "", "核算项目类别不存在。"},
        {"supplier not made", false, 1, "0102", "2202", "", "", "",
         "会计科目（2202）下挂了供应商核算项目，但供应商不存在：0102"},
        {"customer unknown", false, 1, "0999", "1122", "", "", "",
         "会计科目（1122）下挂了客户核算项目，但客户不存在：0999"},
        {"department unknown", false, 2, "02", "6602", "", "", "",
         "使用了代码为02的部门核算项目，但此部门未成功升级，请联系技术人员。"},
        {"custom item not converted", false, 4, "02", "6001", "", "", "",
         "使用了代码为02的自定义核算项目，但此核算项目未成功升级，请联系技术人员。"},
        {"department of a row not converted", true, 1, "0101", "2202", "", "02", "",
         "使用了代码为02的部门核算项目，但此部门未成功升级，请联系技术人员。"},
        {"employee of a row unknown", true, 2, "01", "6602", "", "", "099",
         "使用了代码为099的职员核算项目，但此职员未成功升级，请联系技术人员。"},
        {"business unit of a row not made", true, 2, "01", "2202", "0102", "", "",
         "会计科目（2202）下挂了供应商核算项目，但供应商不存在：0102"},
    };
    const QString before = targetValue(QStringLiteral("SELECT COUNT(*) FROM T_ItemDetail"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        QString message;
        const int id =
            c.multi ? HookMultiItemDetail(data, g_TargetConnectString, QString::fromLatin1(c.account), c.itemClass,
                                          QString::fromLatin1(c.item), QString::fromLatin1(c.unit),
                                          QString::fromLatin1(c.department), QString::fromLatin1(c.employee), message)
                    : HookSingleItemDetail(data, g_TargetConnectString, c.itemClass, QString::fromLatin1(c.item),
                                           QString::fromLatin1(c.account), message);
        EXPECT_EQ(id, -1);
        EXPECT_EQ(message, QString::fromUtf8(c.message));
    }
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_ItemDetail")), before);
}

TEST_F(ItemDetailTest, ARowsItemsMakeOneCombination) {
    struct Case {
        const char *title;
        const char *account;
        int itemClass;
        const char *item, *unit, *department, *employee;
        QString combination;
    };
    const QList<Case> cases = {
        {"department with supplier", "2202", 2, "01", "0101", "", "", "2: F2=" + dept + " F8=601"},
        {"unit with department and employee", "1122", 1, "0101", "", "01", "001",
         "3: F1=501 F2=" + dept + " F3=" + emp},
        {"both natures", "2241", 1, "0101", "", "01", "", "3: F1=501 F2=" + dept + " F8=601"},
        {"own class named twice", "6602", 2, "01", "", "01", "", "1: F2=" + dept},
        {"star adds no class", "6602", 2, "01", "*", "*", "*", "1: F2=" + dept},
        {"custom item with employee", "6001", 4, "0101", "", "", "001", "2: F3=" + emp + " F3001=701"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        QString message;
        const int id = HookMultiItemDetail(data, g_TargetConnectString, QString::fromLatin1(c.account), c.itemClass,
                                           QString::fromLatin1(c.item), QString::fromLatin1(c.unit),
                                           QString::fromLatin1(c.department), QString::fromLatin1(c.employee), message);
        ASSERT_GT(id, 0) << message.toStdString();
        EXPECT_EQ(combination(id), c.combination);
        EXPECT_EQ(
            targetValue(QStringLiteral("SELECT COUNT(*) FROM T_ItemDetailV WHERE FDetailID = ") + QString::number(id)),
            c.combination.left(1));
    }
}

TEST_F(ItemDetailTest, IdentifiersAbove32767AreKept) {
    ASSERT_EQ(targetRun(QStringLiteral("SET IDENTITY_INSERT T_ItemDetail ON\n"
                                       "INSERT INTO T_ItemDetail (FDetailID, FDetailCount, F2) VALUES (40000, 1, -1)\n"
                                       "SET IDENTITY_INSERT T_ItemDetail OFF")),
              QString());
    QString message;
    EXPECT_EQ(HookSingleItemDetail(data, g_TargetConnectString, 2, QStringLiteral("*"), QString(), message), 40000);
    EXPECT_EQ(HookMultiItemDetail(data, g_TargetConnectString, QString(), 2, QStringLiteral("*"), QString(), QString(),
                                  QString(), message),
              40000);
}

TEST(ItemDetailRules, NaturesAndClassMapping) {
    g_SubLedgerNatures.RemoveAll();
    g_SubLedgerNatures.setItem(QStringLiteral("1122"), 0);
    g_SubLedgerNatures.setItem(QStringLiteral("2202"), 1);
    EXPECT_EQ(GetSubLedgerNature(QStringLiteral("1122")), 0);
    EXPECT_EQ(GetSubLedgerNature(QStringLiteral("2202")), 1);
    EXPECT_EQ(GetSubLedgerNature(QStringLiteral("9999")), 2);
    EXPECT_EQ(MapItemClassID(1, QString(), QStringLiteral("1122")), 1);
    EXPECT_EQ(MapItemClassID(1, QString(), QStringLiteral("9999")), 8);
    EXPECT_EQ(MapItemClassID(2, QString(), QString()), 2);
    EXPECT_EQ(MapItemClassID(3, QString(), QString()), 3);
    g_SubLedgerNatures.RemoveAll();
}
