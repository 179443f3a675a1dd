// Employees numbered like departments: the pay history is joined on the
// employee's number, so only employees may answer it. The source is the
// standard sample's table text with four departments numbered 10, 20, 30
// and 40 added and the employees 001 to 004 renumbered 10, 20, 30 and 40.
#include "PayrollFixture.h"

namespace {

void numberLikeDepartments(SampleTables &tables) {
    AppendSampleRows(SampleTable(tables, QStringLiteral("GLObj")), QStringLiteral("2\t10\t市场部\t\\N\t1\t1\t0\t2*10\n"
                                                                                  "2\t20\t人事部\t\\N\t1\t1\t0\t2*20\n"
                                                                                  "2\t30\t技术部\t\\N\t1\t1\t0\t2*30\n"
                                                                                  "2\t40\t客服部\t\\N\t1\t1\t0\t2*40"));
    const QList<QPair<QString, QString>> renumbered = {{QStringLiteral("001"), QStringLiteral("10")},
                                                       {QStringLiteral("002"), QStringLiteral("20")},
                                                       {QStringLiteral("003"), QStringLiteral("30")},
                                                       {QStringLiteral("004"), QStringLiteral("40")}};
    for (const auto &[from, to] : renumbered) {
        SetSampleCells(SampleTable(tables, QStringLiteral("GLObj")), QStringLiteral("FObjID"), to,
                       QStringLiteral("FObjID"), {from});
        SetSampleCells(SampleTable(tables, QStringLiteral("GLEmp")), QStringLiteral("FObjID"), to,
                       QStringLiteral("FObjID"), {from});
        SetSampleCells(SampleTable(tables, QStringLiteral("PAData")), QStringLiteral("FEmpID"), to,
                       QStringLiteral("FEmpID"), {from});
    }
}

}  // namespace

class PayrollEmployeesOnlyTest : public PayrollFixture {
protected:
    void SetUp() override {
        PayrollFixture::SetUp();
        createFromEdited(QStringLiteral("standard"), numberLikeDepartments);
        ASSERT_EQ(targetRun(PayrollBaseSeedSql()), QString());
    }
};

// One row per employee and period (10 employees, 12 periods), none for the
// departments that share their numbers, and every row holds exactly the
// source's values of its employee and period.
TEST_F(PayrollEmployeesOnlyTest, ThePayHistoryHoldsExactlyTheEmployeesValues) {
    EXPECT_EQ(upgradePayroll(), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(target(QStringLiteral("select b.FItemClassID, count(*), count(distinct b.FNumber) from t_PANewData a "
                                    "left join t_PA_Item b on b.FItemID=a.FEmpID group by b.FItemClassID")),
              QStringList{QStringLiteral("3\t120\t10")});
    EXPECT_EQ(targetValue(QStringLiteral("select FPA1007 from t_PANewData a inner join t_PA_Item b on "
                                         "b.FItemID=a.FEmpID and b.FItemClassID=3 where b.FNumber='30' and "
                                         "a.FPeriod=4")),
              QStringLiteral("王芳"));
    // Each source value against the column of its item in its row.
    const QStringList columns = target(QStringLiteral(
        "select distinct c.FEmpField from ais_PAItem i inner join t_PAItem c on c.FItemName=i.FItemName"));
    ASSERT_EQ(columns.size(), 13);
    for (const QString &column : columns) {
        SCOPED_TRACE(column.toStdString());
        EXPECT_EQ(targetValue(QStringLiteral("select count(*) from ais_padata d inner join ais_PAItem i on "
                                             "i.FItemID=d.FItemID inner join t_PAItem c on c.FItemName=i.FItemName "
                                             "and c.FEmpField='") +
                              column +
                              QStringLiteral("' inner join t_PA_Item b on b.FNumber=d.FEmpID and b.FItemClassID=3 "
                                             "inner join t_PANewData a on a.FEmpID=b.FItemID and a.FPeriod=d.FPeriod "
                                             "where cast(a.") +
                              column + QStringLiteral(" as nvarchar(50)) is null or cast(a.") + column +
                              QStringLiteral(" as nvarchar(50)) <> d.FData")),
                  QStringLiteral("0"));
    }
}
