// Departments with their hierarchy and dotted numbers, employees with their
// attributes, both with help codes and mapped back into the staging copy.
#include <gtest/gtest.h>

#include "foundation/Globals.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/base/BaseSysAccess.h"

namespace {

class BaseDepartmentsTest : public UpgradeStepFixture, public ::testing::WithParamInterface<const char *> {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QString::fromLatin1(GetParam()));
    }
    // The phases before departments that employees rely on.
    void listsAndPaths() {
        ASSERT_EQ(access.UpgradeEmpGroups(), 0);
        ASSERT_EQ(access.UpgradeDuties(), 0);
        ASSERT_EQ(access.UpgradeDegrees(), 0);
        ASSERT_EQ(access.RepairItemFullPath(), 0);
        newLogRows();
    }
    QString item(int itemClass, const QString &number) {
        return targetValue(QStringLiteral("SELECT FItemID FROM T_Item WHERE FItemClassID = %1 AND FNumber = '%2'")
                               .arg(itemClass)
                               .arg(number));
    }
    QString subMessage(int type, const QString &name) {
        return targetValue(QStringLiteral("SELECT FInterID FROM T_SubMessage WHERE FTypeID = %1 AND FName = N'%2'")
                               .arg(type)
                               .arg(name));
    }
    // The detail text of the last log entry.
    QString logDetail() const {
        const QStringList rows = server.rows(
            QStringLiteral("AcctCtl"), QStringLiteral("SELECT FDetail FROM AIS_UpgradeLog_Main ORDER BY FID DESC"));
        return rows.isEmpty() ? QString() : rows.first();
    }
    clsBaseSysTestAccess access;
};

}  // namespace

TEST_P(BaseDepartmentsTest, DepartmentsGetParentsDottedNumbersAndHelpCodes) {
    // 0301 is written 03.01 in the source: its number is built from the
    // codes without dots.
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLObj SET FObjID = '03.01' WHERE FClsID = 2 AND FObjID = '0301'\n"
                                       "UPDATE AIS_GLEmp SET FDeptObjID = '03.01' WHERE FDeptObjID = '0301'")),
              QString());
    listsAndPaths();
    EXPECT_EQ(access.UpgradeDepartment(), 0);
    EXPECT_EQ(
        target(QStringLiteral("SELECT i.FNumber, i.FFullNumber, i.FShortNumber, i.FName, CONVERT(INT, i.FDetail), "
                              "ISNULL(p.FNumber, '-'), d.FNumber, d.FHelpCode FROM T_Item i LEFT JOIN T_Item p ON "
                              "p.FItemID = i.FParentID INNER JOIN t_Department d ON d.FItemID = i.FItemID WHERE "
                              "i.FItemClassID = 2 ORDER BY i.FNumber")),
        QStringList({
            "01\t01\t01\t总经理办公室\t1\t-\t01\tZJLBGS",
            "02\t02\t02\t财务部\t1\t-\t02\tCWB",
            "03\t03\t03\t销售部\t0\t-\t03\tXSB",
            "03.0301\t03.0301\t0301\t华东销售组\t1\t03\t03.0301\tHDXSZ",
            "03.0302\t03.0302\t0302\t华南销售组\t1\t03\t03.0302\tHNXSZ",
            "04\t04\t04\t采购部\t1\t-\t04\tCGB",
            "05\t05\t05\t仓储物流部\t1\t-\t05\tCCWLB",
        }));
    EXPECT_EQ(target(QStringLiteral("SELECT o.FObjID, i.FNumber FROM AIS_GLObj o INNER JOIN T_Item i ON i.FItemID = "
                                    "o.FZ8InterID WHERE o.FClsID = 2 AND o.FObjID IN ('01', '03', '03.01') ORDER BY "
                                    "o.FObjID")),
              QStringList({"01\t01", "03\t03", "03.01\t03.0301"}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM syscolumns WHERE id = OBJECT_ID('t_Item') AND name = "
                                         "'FParentIDTmp'")),
              QStringLiteral("0"));
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0], QStringLiteral("成功\t基础资料-部门\t基础资料-部门数目：7"));

    // A second run adds nothing and keeps the numbers.
    EXPECT_EQ(access.UpgradeDepartment(), 0);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_Department")), QStringLiteral("7"));
    EXPECT_EQ(item(2, QStringLiteral("03.0302")).isEmpty(), false);
    EXPECT_NE(item(2, QStringLiteral("03.0302")), QStringLiteral("<none>"));
}

TEST_P(BaseDepartmentsTest, EmployeesGetTheirAttributesThroughTheListMappings) {
    // A duty of the same name is in the target: the duty list suffixes
    // its copy, and the employees still find the copy.
    ASSERT_EQ(targetRun(QStringLiteral("INSERT INTO T_SubMessage (FBrNo, FInterID, FID, FParentID, FName, FTypeID) "
                                       "VALUES ('', 50, '001', 29, N'总经理', 29)\n"
                                       "UPDATE ICMaxNum SET FMaxNum = 50 WHERE FTableName = N'T_SubMessage'\n"
                                       "UPDATE AIS_GLEmp SET FDeptObjID = '03' WHERE FObjID = '005'")),
              QString());
    listsAndPaths();
    ASSERT_EQ(access.UpgradeDepartment(), 0);
    newLogRows();
    EXPECT_EQ(access.UpgradeEmployee(), 0);

    const QString count =
        targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLObj WHERE FClsID = 3 AND FObjID <> '*'"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_Emp e INNER JOIN T_Item i ON i.FItemID = e.FItemID "
                                         "AND i.FItemClassID = 3 AND i.FNumber = e.FNumber AND i.FParentID = 0")),
              count);
    // Values worked out from the sample's GLEmp, GLDuty, GLDegree and
    // GLEmpGroup text.
    struct Emp {
        const char *code, *name, *help, *address, *id;
        int gender;
        const char *degree, *duty, *group, *department;
    };
    const Emp emps[] = {
        {"001", "张伟", "ZW", "上海市浦东新区锦绣路7弄", "3101151980000131", 1, "硕士研究生", "总经理_", "正式职工",
         "01"},
        {"003", "王芳", "WF", "上海市浦东新区锦绣路21弄", "3101151980000393", 2, "大学专科", "主办会计", "正式职工",
         "02"},
        {"005", "刘洋", "LY", "上海市浦东新区锦绣路35弄", "3101151980000655", 1, "博士研究生", "销售经理", "正式职工",
         "03.0301"},
        {"006", "赵磊", "ZL", "上海市浦东新区锦绣路42弄", "3101151980000786", 2, "硕士研究生", "销售代表", "正式职工",
         "03.0301"},
    };
    for (const Emp &e : emps) {
        SCOPED_TRACE(e.code);
        QString duty = QString::fromUtf8(e.duty);
        if (duty.endsWith(QLatin1Char('_'))) duty += g_SourceEdition;
        const QString expected =
            QStringList({QString::fromUtf8(e.name), QString::fromUtf8(e.help), QString::fromUtf8(e.address),
                         QString::fromUtf8(e.id), QString::number(e.gender),
                         subMessage(23, QString::fromUtf8(e.degree)), subMessage(29, duty),
                         subMessage(30, QString::fromUtf8(e.group)), item(2, QString::fromUtf8(e.department))})
                .join(QLatin1Char('\t'));
        EXPECT_EQ(targetValue(QStringLiteral("SELECT FName, FHelpCode, FAddress, FId, FGender, FDegree, FDuty, "
                                             "FEmpGroup, FDepartmentID FROM t_Emp WHERE FNumber = '%1'")
                                  .arg(QString::fromLatin1(e.code))),
                  expected);
    }
    EXPECT_NE(subMessage(29, QStringLiteral("总经理_") + g_SourceEdition), QStringLiteral("40"));
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT CONVERT(NVARCHAR(20), FBirthday, 23) + ' ' + CONVERT(NVARCHAR(20), "
                                   "FHireDate, 23) + ' ' + FBankAccount + ' ' + FPhone FROM t_Emp WHERE FNumber = "
                                   "'002'")),
        QStringLiteral("1972-03-03 2017-03-01 6222021001002 13800138002"));
    EXPECT_EQ(target(QStringLiteral("SELECT COUNT(*) FROM AIS_GLObj o INNER JOIN T_Item i ON i.FItemID = o.FZ8InterID "
                                    "AND i.FItemClassID = 3 AND i.FShortNumber = o.FObjID WHERE o.FClsID = 3")),
              QStringList({count}));
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0], QStringLiteral("成功\t基础资料-职员\t基础资料-职员数目：") + count);
    // The note on the department that is not a detail item leads the
    // entry's detail text.
    EXPECT_EQ(logDetail(),
              QStringLiteral("职员中的部门不是明细级别内容，升级时默认选择该部门下第一个明细级别内容回填\r\n详细日志"));
}

TEST_P(BaseDepartmentsTest, AFailedDepartmentBatchFailsThePhaseWithItsReason) {
    listsAndPaths();
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLObj SET FObjName = NULL WHERE FClsID = 2 AND FObjID = '04'")),
              QString());
    EXPECT_EQ(access.UpgradeDepartment(), 2);
    const QStringList log = newLogRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].startsWith(QStringLiteral("错误\t基础资料-部门\t错误："))) << log[0].toStdString();
    EXPECT_TRUE(log[0].contains(QStringLiteral("（SQL语句执行错误）\r\nINSERT INTO t_Item")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_Department")), QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(Samples, BaseDepartmentsTest, ::testing::Values("standard", "mini"));

namespace {

class BaseDepartmentDepthTest : public UpgradeStepFixture {};

}  // namespace

TEST_F(BaseDepartmentDepthTest, NumbersHoldFifteenAncestorsAndNamesStayWhole) {
    createFrom(QStringLiteral("standard"));
    // A chain of 17 levels below 05: D1 (under 05) ... D17; a name of 40
    // Chinese characters (the source column's width) on the deepest.
    QString sql;
    QString parent = QStringLiteral("05");
    for (int level = 1; level <= 17; ++level) {
        const QString code = QStringLiteral("D%1").arg(level);
        const QString name = level == 17 ? QString(40, QChar(0x957F)) : QStringLiteral("层%1").arg(level);
        sql += QStringLiteral("INSERT INTO AIS_GLObj (FClsID, FObjID, FObjName, FParentID, FLevel, FDetail, FDeleted, "
                              "FFullPath) VALUES (2, '%1', N'%2', '%3', %4, %5, 0, 'x')\n")
                   .arg(code, name, parent)
                   .arg(level + 1)
                   .arg(level == 17 ? 1 : 0);
        parent = code;
    }
    ASSERT_EQ(targetRun(sql), QString());
    clsBaseSysTestAccess access;
    ASSERT_EQ(access.RepairItemFullPath(), 0);
    EXPECT_EQ(access.UpgradeDepartment(), 0);
    // 05 and D1 are beyond the fifteen nearest ancestors of D17.
    QStringList expected;
    for (int level = 2; level <= 17; ++level) expected << QStringLiteral("D%1").arg(level);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FNumber FROM T_Item WHERE FItemClassID = 2 AND FShortNumber = 'D17'")),
              expected.join(QLatin1Char('.')));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT FNumber FROM T_Item WHERE FItemClassID = 2 AND FShortNumber = 'D3'")),
              QStringLiteral("05.D1.D2.D3"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT LEN(FName) FROM t_Department WHERE FShortNumber = 'D17'")),
              QStringLiteral("40"));
}
