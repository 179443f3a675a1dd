// Business units become customers, suppliers or both by the natures of the
// accounts they are used on, the rest by the operator; and the repair of
// the staged items' paths.
//
// Usage in the standard sample (vouchers and balances): 0101-0105 on 1122,
// 0103 also on 2203; 0201 on 1123 and 2202, 0202-0204 on 2202. The natures
// the base-data check would record are set by hand.
#include <functional>

#include <QTreeWidget>
#include <gtest/gtest.h>

#include "controls/zqbutton.h"
#include "dialogs/DialogCalls.h"
#include "dialogs/DialogScript.h"
#include "dialogs/frmBussinessUnits.h"
#include "foundation/Globals.h"
#include "kit/UpgradeStepFixture.h"
#include "platform/MessageScript.h"
#include "server/FaultInjection.h"
#include "upgrade/base/BaseDataAskers.h"
#include "upgrade/base/BaseSysAccess.h"
#include "upgrade/common/UpgradeGlobals.h"

namespace {

class BaseBusinessUnitsTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        ResetBaseDataAskers();
        createFrom(QStringLiteral("standard"));
        setNatures({{"1122", 0}, {"2203", 0}, {"1123", 1}, {"2202", 1}});
    }
    void TearDown() override {
        ResetBaseDataAskers();
        g_SubLedgerNatures.RemoveAll();
        UpgradeStepFixture::TearDown();
    }
    static void setNatures(std::initializer_list<std::pair<const char *, int>> natures) {
        g_SubLedgerNatures.RemoveAll();
        for (const auto &[account, nature] : natures) g_SubLedgerNatures.setItem(QString::fromLatin1(account), nature);
    }
    // Items of a class: number, name, full name, level, detail and the
    // parent's number.
    QStringList items(int itemClass) {
        return target(
            QStringLiteral("SELECT i.FNumber, i.FShortNumber, i.FName, i.FFullName, i.FLevel, CONVERT(INT, i.FDetail), "
                           "ISNULL(p.FNumber, '-') FROM T_Item i LEFT JOIN T_Item p ON p.FItemID = "
                           "i.FParentID WHERE i.FItemClassID = %1 ORDER BY i.FNumber")
                .arg(itemClass));
    }
    QStringList numbers(int itemClass) {
        return target(
            QStringLiteral("SELECT FNumber FROM T_Item WHERE FItemClassID = %1 ORDER BY FNumber").arg(itemClass));
    }
    // The rows of the latest detail table of the units' log entry, without
    // the caption row, cells joined by tabs.
    QStringList detailRows() const {
        const QStringList links = server.rows(QStringLiteral("AcctCtl"),
                                              QStringLiteral("select FLink from AIS_UpgradeLog_Main where FProject = "
                                                             "N'核算项目-往来单位' and FLink <> '' order by FID desc"));
        if (links.isEmpty()) return {};
        return server.rows(QStringLiteral("AcctCtl"),
                           QStringLiteral("select F1, F2, F3, F4 from [%1] where FID > 1 order by FID").arg(links[0]));
    }
    // The trigger that fills short numbers is on.
    void expectFullNameTriggerOn() {
        ASSERT_EQ(targetRun(QStringLiteral("INSERT INTO T_Item (FItemClassID, FNumber, FName) VALUES (99, 'T', N'T')")),
                  QString());
        EXPECT_EQ(targetValue(QStringLiteral("SELECT FShortNumber FROM T_Item WHERE FItemClassID = 99")),
                  QStringLiteral("T"));
    }
    clsBaseSysTestAccess access;
};

}  // namespace

TEST_F(BaseBusinessUnitsTest, UsageMakesCustomersAndSuppliersWithTheirDetailsAndHelpCodes) {
    int asked = 0;
    BusinessUnitAskerHook() = [&](const PnwList &) {
        ++asked;
        return BusinessUnitChoice();
    };
    EXPECT_EQ(access.UpgradeBusinessUnits(), 0);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(items(1), QStringList({
                            "01\t01\t客户\t客户\t1\t0\t-",
                            "01.0101\t0101\t北京华联商贸有限公司\t客户_北京华联商贸有限公司\t2\t1\t01",
                            "01.0102\t0102\t杭州西湖文化用品公司\t客户_杭州西湖文化用品公司\t2\t1\t01",
                            "01.0103\t0103\t南京金陵科技有限公司\t客户_南京金陵科技有限公司\t2\t1\t01",
                            "01.0104\t0104\t新加坡环宇贸易公司\t客户_新加坡环宇贸易公司\t2\t1\t01",
                            "01.0105\t0105\t苏州工业园区采购中心\t客户_苏州工业园区采购中心\t2\t1\t01",
                        }));
    EXPECT_EQ(items(8), QStringList({
                            "02\t02\t供应商\t供应商\t1\t0\t-",
                            "02.0201\t0201\t深圳华强电子有限公司\t供应商_深圳华强电子有限公司\t2\t1\t02",
                            "02.0202\t0202\t东莞龙腾办公设备厂\t供应商_东莞龙腾办公设备厂\t2\t1\t02",
                            "02.0203\t0203\t上海晨光纸业有限公司\t供应商_上海晨光纸业有限公司\t2\t1\t02",
                            "02.0204\t0204\t宁波海天物流有限公司\t供应商_宁波海天物流有限公司\t2\t1\t02",
                        }));
    // Detail rows from the sample's GLCust text.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FNumber + '|' + FName + '|' + FAddress + '|' + FPostalCode + '|' + "
                                         "FFax + '|' + FPhone + '|' + FContact + '|' + FTaxNum + '|' + FBank + '|' + "
                                         "FAccount + '|' + CONVERT(NVARCHAR(10), FStatus) + '|' + FHelpCode FROM "
                                         "T_Organization WHERE FShortNumber = '0101'")),
              QStringLiteral("01.0101|北京华联商贸有限公司|上海市浦东新区创新路101号|201211|021-68881001|021-58881001|"
                             "刘经理|91310000631000001|招商银行上海分行 121900000001|招商银行上海分行 121900000001|"
                             "1072|BJHLSMYXGS"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FHelpCode FROM T_Supplier WHERE FShortNumber = '0201'")),
              QStringLiteral("SZHQDZYXGS"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Organization WHERE FValueAddRate = 17")),
              QStringLiteral("5"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Supplier")), QStringLiteral("4"));
    // Each unit knows its customer and its supplier.
    EXPECT_EQ(
        target(QStringLiteral("SELECT o.FObjID, ISNULL(c.FNumber, '-'), ISNULL(s.FNumber, '-') FROM AIS_GLObj o "
                              "LEFT JOIN T_Item c ON c.FItemID = o.FZ8InterID AND c.FItemClassID = 1 "
                              "LEFT JOIN T_Item s ON s.FItemID = o.FZ8InterID_2 AND s.FItemClassID = 8 "
                              "WHERE o.FClsID = 1 AND o.FObjID IN ('01', '0103', '02', '0204') ORDER BY o.FObjID")),
        QStringList({"01\t01\t-", "0103\t01.0103\t-", "02\t-\t02", "0204\t-\t02.0204"}));
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0], QStringLiteral("成功\t核算项目-往来单位\t升级往来单位数目：11"));
    expectFullNameTriggerOn();
}

TEST_F(BaseBusinessUnitsTest, AUnitOnAnAccountOfBothNaturesBecomesBoth) {
    setNatures({{"1122", 0}, {"2203", 2}, {"1123", 1}, {"2202", 1}});
    EXPECT_EQ(access.UpgradeBusinessUnits(), 0);
    EXPECT_EQ(numbers(1), QStringList({"01", "01.0101", "01.0102", "01.0103", "01.0104", "01.0105"}));
    EXPECT_EQ(numbers(8), QStringList({"01", "01.0103", "02", "02.0201", "02.0202", "02.0203", "02.0204"}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FAddress FROM T_Supplier WHERE FNumber = '01.0103'")),
              QStringLiteral("上海市浦东新区创新路103号"));
}

TEST_F(BaseBusinessUnitsTest, UnitsTheUsageLeavesOpenAreDecidedByTheOperator) {
    ASSERT_EQ(targetRun(QStringLiteral("DELETE FROM AIS_GLVch WHERE FObjID = '0105' OR FCustID = '0105'\n"
                                       "DELETE FROM AIS_GLBal WHERE FObjID = '0105'\n"
                                       "DELETE FROM AIS_GLQtyBal WHERE FObjID = '0105'\n"
                                       "ALTER TABLE AIS_GLObj ADD FZ8InterID_2 INT")),
              QString());
    struct Case {
        const char *title;
        bool scripted;
        QStringList customers, suppliers;
        const char *status;
        const char *descriptionEnd;
    };
    const Case cases[] = {
        {"closed without a choice",
         false,
         {"01", "01.0101", "01.0102", "01.0103", "01.0104", "01.0105"},
         {"01", "01.0105", "02", "02.0201", "02.0202", "02.0203", "02.0204"},
         "警告",
         "用户未指定往来单位的性质，因此系统将所有往来单位同时升级为客户和供应商。"},
        {"chosen as supplier",
         true,
         {"01", "01.0101", "01.0102", "01.0103", "01.0104"},
         {"01", "01.0105", "02", "02.0201", "02.0202", "02.0203", "02.0204"},
         "成功",
         "数目：11"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        ASSERT_EQ(targetRun(QStringLiteral("DELETE FROM T_Item WHERE FItemClassID IN (1, 8)\n"
                                           "DELETE FROM T_Organization\nDELETE FROM T_Supplier\n"
                                           "UPDATE AIS_GLObj SET FZ8InterID = NULL, FZ8InterID_2 = NULL")),
                  QString());
        QStringList shown;
        if (c.scripted)
            BusinessUnitAskerHook() = [&](const PnwList &undecided) {
                for (int i = 1; i <= undecided.Count(); ++i)
                    shown << undecided.DictionaryItem(i).Item(QStringLiteral("FObjID")).toString();
                // The operator moves the unit and its parent to the suppliers.
                BusinessUnitChoice choice;
                for (int i = 1; i <= undecided.Count(); ++i) choice.suppliers.Add(undecided.DictionaryItem(i));
                return choice;
            };
        EXPECT_EQ(access.UpgradeBusinessUnits(), c.scripted ? 0 : 1);
        if (c.scripted) {
            EXPECT_EQ(shown, QStringList({"01", "01.0105"}));
        }
        EXPECT_EQ(numbers(1), c.customers);
        EXPECT_EQ(numbers(8), c.suppliers);
        const QStringList log = newLogRows();
        ASSERT_EQ(log.size(), 1);
        EXPECT_TRUE(log[0].startsWith(QString::fromUtf8(c.status) +
                                      QStringLiteral("\t核算项目-往来单位\t升级往来单位数目：11")));
        EXPECT_TRUE(log[0].endsWith(QString::fromUtf8(c.descriptionEnd))) << log[0].toStdString();
    }
}

TEST_F(BaseBusinessUnitsTest, TheDialogShowsEveryAncestorAndEveryUnitOfItsOwn) {
    // R's only child RA holds a customer unit RA1 and an unused RA2; a top
    // unit 03.04 and a unit 04 under 03 read alike as dotted paths.
    ASSERT_EQ(targetRun(QStringLiteral(
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (1, 'R', N'总部', NULL, 1, 0, 0, '1*R')\n"
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (1, 'RA', N'华东', 'R', 2, 0, 0, '1*RRA')\n"
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (1, 'RA1', N'甲', 'RA', 3, 1, 0, '1*RRARA1')\n"
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (1, 'RA2', N'乙', 'RA', 3, 1, 0, '1*RRARA2')\n"
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (1, '03', N'丁', NULL, 1, 0, 0, '1*03')\n"
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (1, '03.04', N'丙', NULL, 1, 1, 0, '1*03.04')\n"
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (1, '04', N'戊', '03', 2, 1, 0, '1*0304')\n"
                  "INSERT INTO AIS_GLBal (FAcctID, FClsID, FObjID, FCyID, FPeriod, FBase) "
                  "VALUES ('1122', 1, 'RA1', 'RMB', 1, 0)")),
              QString());
    // The operator moves the whole pool to the suppliers.
    BusinessUnitAskerHook() = [](const PnwList &undecided) {
        BusinessUnitChoice choice;
        DialogCalls::AskBusinessUnits(undecided, choice.customers, choice.suppliers, choice.warning);
        return choice;
    };
    DialogScript script;
    QStringList shown;
    script.add<frmBussinessUnits>([&](frmBussinessUnits &d) {
        std::function<void(QTreeWidgetItem *)> walk = [&](QTreeWidgetItem *item) {
            shown << item->text(0);
            for (int c = 0; c < item->childCount(); ++c) walk(item->child(c));
        };
        walk(d.TvBussinessUnits()->topLevelItem(0));
        d.btnSupplier(1)->Click();
        d.btn_OK()->Click();
    });
    MessageScript messages;
    EXPECT_EQ(access.UpgradeBusinessUnits(), 0);
    EXPECT_EQ(messages.count(), 0) << (messages.count() ? messages.last().prompt.toStdString() : std::string());
    EXPECT_EQ(shown,
              QStringList({"往来单位", "03(丁)", "03.04(戊)", "03.04(丙)", "R(总部)", "R.RA(华东)", "R.RA.RA2(乙)"}));
    const QStringList suppliers = items(8);
    for (const char *row : {"03\t03\t丁\t丁\t1\t0\t-", "03.04\t04\t戊\t丁_戊\t2\t1\t03", "0304\t0304\t丙\t丙\t1\t1\t-",
                            "R\tR\t总部\t总部\t1\t0\t-", "R.RA\tRA\t华东\t总部_华东\t2\t0\tR",
                            "R.RA.RA2\tRA2\t乙\t总部_华东_乙\t3\t1\tR.RA"})
        EXPECT_TRUE(suppliers.contains(QString::fromUtf8(row))) << row;
    EXPECT_FALSE(suppliers.contains(QStringLiteral("R.RA.RA1\tRA1\t甲\t总部_华东_甲\t3\t1\tR.RA")));
    EXPECT_TRUE(items(1).contains(QStringLiteral("R.RA.RA1\tRA1\t甲\t总部_华东_甲\t3\t1\tR.RA")));
    // Every new unit has its supplier item.
    EXPECT_EQ(target(QStringLiteral("SELECT FObjID FROM AIS_GLObj WHERE FClsID = 1 AND FObjID IN ('R', 'RA', "
                                    "'RA2', '03', '03.04', '04') AND ISNULL(FZ8InterID_2, 0) = 0")),
              QStringList());
}

TEST_F(BaseBusinessUnitsTest, DottedCodesKeepTheirDetailsAndAnOrphanGoesToTheTop) {
    // 0103 written 01.03 in the source; 0204's parent 09 does not exist.
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLObj SET FObjID = '01.03' WHERE FClsID = 1 AND FObjID = '0103'\n"
                                       "UPDATE AIS_GLCust SET FObjID = '01.03' WHERE FObjID = '0103'\n"
                                       "UPDATE AIS_GLVch SET FObjID = '01.03' WHERE FObjID = '0103' AND FClsID = 1\n"
                                       "UPDATE AIS_GLVch SET FCustID = '01.03' WHERE FCustID = '0103'\n"
                                       "UPDATE AIS_GLBal SET FObjID = '01.03' WHERE FObjID = '0103' AND FClsID = 1\n"
                                       "UPDATE AIS_GLObj SET FParentID = '09' WHERE FClsID = 1 AND FObjID = '0204'")),
              QString());
    EXPECT_EQ(access.RepairItemFullPath(), 0);
    EXPECT_EQ(access.UpgradeBusinessUnits(), 1);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FNumber + '|' + FShortNumber + '|' + FAddress FROM T_Organization "
                                         "WHERE FShortNumber = '0103'")),
              QStringLiteral("01.0103|0103|上海市浦东新区创新路103号"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLObj o INNER JOIN T_Item i ON i.FItemID = "
                                         "o.FZ8InterID WHERE o.FObjID = '01.03' AND i.FNumber = '01.0103'")),
              QStringLiteral("1"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FNumber + '|' + CONVERT(NVARCHAR(10), FLevel) + '|' + "
                                         "CONVERT(NVARCHAR(10), FParentID) + '|' + FFullName FROM T_Item WHERE "
                                         "FItemClassID = 8 AND FShortNumber = '0204'")),
              QStringLiteral("0204|1|0|宁波海天物流有限公司"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Supplier WHERE FNumber = '0204'")),
              QStringLiteral("1"));
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0], QStringLiteral("警告\t核算项目-往来单位\t以下往来单位的上级单位不存在，已作为顶级单位升级：0204 "
                                     "宁波海天物流有限公司"));
    EXPECT_EQ(log[1], QStringLiteral("成功\t核算项目-往来单位\t升级往来单位数目：11"));
    // The detail row shows the unit's own code, and its path with the dot
    // of that code, as the operator reads it.
    const QStringList detail = detailRows();
    EXPECT_TRUE(detail.contains(QStringLiteral("01.03\t01.01.03\t南京金陵科技有限公司\t客户")))
        << detail.join(QLatin1Char('\n')).toStdString();
}

TEST_F(BaseBusinessUnitsTest, AFailedInsertFailsThePhaseAndLeavesTheTriggerOn) {
    // The target holds a supplier numbered 02.0202 and allows no second.
    ASSERT_EQ(
        targetRun(QStringLiteral("CREATE UNIQUE INDEX ix_Item_Unique ON T_Item (FItemClassID, FNumber)\n"
                                 "INSERT INTO T_Item (FItemClassID, FNumber, FName) VALUES (8, '02.0202', N'占用')")),
        QString());
    EXPECT_EQ(access.UpgradeBusinessUnits(), 2);
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].startsWith(
        QStringLiteral("错误\t核算项目-往来单位\t升级失败，原因：\r\n插入T_Item供应商SQL语句执行错误:")))
        << log[0].toStdString();
    // No details for the failed kind, the other kind complete.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Supplier")), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Organization")), QStringLiteral("5"));
    expectFullNameTriggerOn();
}

TEST_F(BaseBusinessUnitsTest, NoBusinessUnitsIsNothingToDo) {
    ASSERT_EQ(targetRun(QStringLiteral("DELETE FROM AIS_GLObj WHERE FClsID = 1 AND FObjID <> '*'")), QString());
    EXPECT_EQ(access.UpgradeBusinessUnits(), 0);
    EXPECT_TRUE(newLogRows().isEmpty());
    EXPECT_TRUE(numbers(1).isEmpty());
}

TEST_F(BaseBusinessUnitsTest, PathsAreRebuiltLevelByLevel) {
    // Stale paths, and a third level under 0301 whose parent path is stale
    // too; a child whose parent is missing.
    ASSERT_EQ(targetRun(QStringLiteral(
                  "UPDATE AIS_GLObj SET FFullPath = 'x' WHERE FObjID <> '*'\n"
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (2, '030101', N'一小组', '0301', 3, 1, 0, 'x')\n"
                  "INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, FFullPath) "
                  "VALUES (2, '0901', N'无上级', '09', 2, 1, 0, 'x')")),
              QString());
    EXPECT_EQ(access.RepairItemFullPath(), 0);
    EXPECT_EQ(target(QStringLiteral("SELECT FClsID, FObjID, FFullPath FROM AIS_GLObj WHERE FObjID IN ('01', '0101', "
                                    "'0301', '030101', '0901', '*') AND FClsID IN (1, 2) ORDER BY FClsID, FObjID")),
              QStringList({"1\t*\t1*", "1\t01\t1*01", "1\t0101\t1*010101", "2\t*\t2*", "2\t01\t2*01",
                           "2\t0301\t2*030301", "2\t030101\t2*030301030101", "2\t0901\t2*0901"}));
}

TEST_F(BaseBusinessUnitsTest, AFailedPathRepairSaysWhy) {
    server::FailStatementWhen([](std::string_view sql) { return server::WritesTable(sql, "AIS_GLObj"); }, 8152);
    EXPECT_EQ(access.RepairItemFullPath(), 2);
    server::ResetFaults();
    EXPECT_EQ(newLogRows(),
              QStringList({QStringLiteral("错误\t检查校正核算项目信息\t发生错误：将截断字符串或二进制数据。")}));
}

TEST_F(BaseBusinessUnitsTest, UnitsAreFoundThroughAnIndexOnTheirCodesWithoutDots) {
    // Each unit's statements key into the staged items by the dotless code,
    // through an index, rather than working it out for every staged item.
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLObj SET FObjID = '01.03' WHERE FClsID = 1 AND FObjID = '0103'")),
              QString());
    EXPECT_LT(access.UpgradeBusinessUnits(), 2);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLObj WHERE FObjCodeNoDots <> REPLACE(FObjID, "
                                         "'.', '') OR (FObjCodeNoDots IS NULL AND FObjID IS NOT NULL)")),
              QStringLiteral("0"));
    EXPECT_NE(targetRun(QStringLiteral("CREATE INDEX ix_AIS_GLObj_CodeNoDots ON AIS_GLObj (FObjCodeNoDots, FClsID)")),
              QString())
        << "the index is there";
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLObj o INNER JOIN T_Item i ON i.FItemID = "
                                         "o.FZ8InterID WHERE o.FObjID = '01.03' AND i.FShortNumber = '0103'")),
              QStringLiteral("1"));
}
