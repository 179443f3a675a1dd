// The payroll copies of departments, employee groups, duties, degrees and
// employees, worked out from the sample's departments and employees.
#include "PayrollFixture.h"

namespace {

QString itemOf(int cls, const char *number) {
    return QStringLiteral("(select FItemID from t_Item where FItemClassID=%1 and FNumber='%2')")
        .arg(cls)
        .arg(QString::fromLatin1(number));
}

}  // namespace

// Groups take the table's own numbers; duties and degrees follow them.
TEST_F(PayrollFixture, ListsAreCopiedWithNumbersFollowingEachOther) {
    createSeeded(QStringLiteral("standard"));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(target(QStringLiteral("select FItemRefID, FType, FNumber, FName from t_PA_ItemRef order by FItemRefID")),
              (QStringList{
                  "1\t90\t1\t正式职工",
                  "2\t90\t2\t劳务派遣工",
                  "3\t90\t3\t实习学生",
                  "4\t101\tD01\t总经理",
                  "5\t101\tD02\t财务经理",
                  "6\t101\tD03\t主办会计",
                  "7\t101\tD04\t出纳员",
                  "8\t101\tD05\t销售经理",
                  "9\t101\tD06\t销售代表",
                  "10\t101\tD07\t采购专员",
                  "11\t101\tD08\t仓库管理员",
                  "12\t102\tX1\t博士研究生",
                  "13\t102\tX2\t硕士研究生",
                  "14\t102\tX3\t大学本科",
                  "15\t102\tX4\t大学专科",
                  "16\t102\tX5\t高中及中专",
              }));
}

// Three duties after a largest identifier of 12 get 13 to 15, the degrees
// follow; deleted rows and rows without a positive FInterID are left out.
// With no group rows the employees have no group.
TEST_F(PayrollFixture, DutiesAndDegreesFollowTheLargestIdentifier) {
    createSeeded(QStringLiteral("standard"));
    run(QStringLiteral("delete from t_SubMessage where FTypeID=30\r\n"
                       "update t_SubMessage set FDeleted=1 where FTypeID=29 and FID>'D03'\r\n"
                       "update t_SubMessage set FDeleted=1 where FTypeID=23 and FID='X5'\r\n"
                       "insert into t_SubMessage(FInterID,FID,FName,FTypeID,FDeleted) values(-5,'D99',N'不要',29,0)\r\n"
                       "set identity_insert t_PA_ItemRef on\r\n"
                       "insert into t_PA_ItemRef(FItemRefID,FType,FNumber,FName) values(12,90,'9',N'已有')\r\n"
                       "set identity_insert t_PA_ItemRef off"));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(
        target(QStringLiteral("select FItemRefID, FNumber from t_PA_ItemRef where FType<>90 order by FItemRefID")),
        (QStringList{"13\tD01", "14\tD02", "15\tD03", "16\tX1", "17\tX2", "18\tX3", "19\tX4"}));
    EXPECT_EQ(targetValue(QStringLiteral("select count(*) from t_PA_Personal where FEmpGroupID is not null")),
              QStringLiteral("0"));
}

// With an empty list table the numbering starts at 1.
TEST_F(PayrollFixture, DutiesStartAtOneWithoutAnyListRow) {
    createSeeded(QStringLiteral("mini"));
    run(QStringLiteral("delete from t_SubMessage where FTypeID=30"));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(targetValue(QStringLiteral("select min(FItemRefID) from t_PA_ItemRef where FType=101")),
              QStringLiteral("1"));
    EXPECT_EQ(targetValue(QStringLiteral("select min(FItemRefID) from t_PA_ItemRef where FType=102")),
              QStringLiteral("9"));
}

// Every department is copied, deleted or parent ones included, with its
// help code; a department the payroll holds already is not copied again,
// and every payroll item gets its category row.
TEST_F(PayrollFixture, DepartmentsAreCopiedWithHelpCodesAndCategoryRows) {
    createSeeded(QStringLiteral("standard"));
    run(QStringLiteral("update t_Item set FDeleted=1 where FItemClassID=2 and FNumber='04'\r\n"
                       "insert into t_PA_Item(FItemID,FItemClassID,FName,FNumber) values(999,2,N'旧办公室','01')"));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(target(QStringLiteral("select FNumber, FName, FDetail from t_PA_Item where FItemClassID=2 "
                                    "order by FNumber")),
              (QStringList{"01\t旧办公室\t", "02\t财务部\ttrue", "03\t销售部\tfalse", "0301\t华东销售组\ttrue",
                           "0302\t华南销售组\ttrue", "04\t采购部\ttrue", "05\t仓储物流部\ttrue"}));
    EXPECT_EQ(
        target(QStringLiteral("select i.FNumber, d.FDepMemoryCode from t_PA_Department d inner join t_Item i "
                              "on i.FItemID=d.FItemID order by i.FNumber")),
        (QStringList{"01\tHC01", "02\tHC02", "03\tHC03", "0301\tHC0301", "0302\tHC0302", "04\tHC04", "05\tHC05"}));
    EXPECT_EQ(target(QStringLiteral("select FItemClassID, count(*), count(FIsDelete), min(FClsID), max(FClsID) "
                                    "from t_pa_ItemClsV group by FItemClassID order by FItemClassID")),
              (QStringList{"2\t7\t0\t1\t1", "3\t10\t10\t1\t1"}));
    EXPECT_EQ(targetValue(QStringLiteral("select count(*) from t_pa_ItemClsV where FItemID=999")), QStringLiteral("1"));
}

// Employee 003 of the sample: 女, 正式职工, 财务部 (02), 主办会计, 大学专科.
// An employee in a deleted or a parent department gets 0; one without
// gender, duty or degree NULL.
TEST_F(PayrollFixture, EmployeesCarryTheirAttributes) {
    createSeeded(QStringLiteral("standard"));
    run(QStringLiteral("update t_Item set FDeleted=1 where FItemClassID=2 and FNumber='04'\r\n"
                       "update t_Emp set FDepartmentID=") +
        itemOf(2, "03") +
        QStringLiteral(" where FNumber='010'\r\n"
                       "update t_Emp set FGender=NULL, FDuty=NULL, FDegree=NULL where FNumber='002'"));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(target(QStringLiteral("select FNumber, FName, FParentID, FLevel, FDetail from t_PA_Item "
                                    "where FItemClassID=3 and FNumber in ('001','010') order by FNumber")),
              (QStringList{"001\t张伟\t0\t1\ttrue", "010\t郑敏\t0\t1\ttrue"}));
    EXPECT_EQ(target(QStringLiteral("select p.FGender, r.FName, p.FItemDepID-") + itemOf(2, "02") +
                     QStringLiteral(", p.FDuty, p.FDegree, p.FBirthday, p.FHireDate, p.FLeaveDate, p.FBankAccount, "
                                    "p.FAddress, p.FPhone, p.FIDCardID, p.FHandsetCode from t_PA_Personal p "
                                    "left join t_PA_ItemRef r on r.FItemRefID=p.FEmpGroupID where p.FItemID=") +
                     itemOf(3, "003")),
              QStringList{"女\t正式职工\t0\t主办会计\t大学专科\t1973-04-04T00:00:00.000\t2018-04-01T00:00:00.000\t\t"
                          "6222021001003\t上海市浦东新区锦绣路21弄\t13800138003\t3101151980000393\t"});
    EXPECT_EQ(target(QStringLiteral("select i.FNumber, p.FItemDepID from t_PA_Personal p inner join t_Item i on "
                                    "i.FItemID=p.FItemID where i.FNumber in ('008','010') order by i.FNumber")),
              (QStringList{"008\t0", "010\t0"}));
    EXPECT_EQ(target(QStringLiteral("select FGender, FDuty, FDegree, FEmpGroupID from t_PA_Personal where FItemID=") +
                     itemOf(3, "002")),
              QStringList{QStringLiteral("\t\t\t1")});
}
