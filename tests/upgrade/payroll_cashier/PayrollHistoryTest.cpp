// The pay history and the formulas: values that must arrive intact, rows
// that cannot be written and are named in the log, and the rows' year,
// category and attributes.
#include "PayrollFixture.h"

#include <QLabel>

namespace {

// The history row of an employee and period, with one column.
QString valueSql(const QString &column, const QString &employee, int period) {
    return QStringLiteral("select a.%1 from t_PANewData a inner join t_PA_Item b on b.FItemID=a.FEmpID and "
                          "b.FItemClassID=3 where b.FNumber=N'%2' and a.FPeriod=%3")
        .arg(column, QString(employee).replace(QLatin1Char('\''), QStringLiteral("''")))
        .arg(period);
}

}  // namespace

class PayrollHistoryTest : public PayrollFixture {
protected:
    void SetUp() override {
        PayrollFixture::SetUp();
        createSeeded(QStringLiteral("standard"));
    }
    // The detail rows of the last log entry, cells joined by tabs.
    QStringList lastDetail(int columns) {
        const QString link = server
                                 .rows(QStringLiteral("AcctCtl"),
                                       QStringLiteral("select top 1 FLink from AIS_UpgradeLog_Main order by FID desc"))
                                 .value(0);
        QStringList cells;
        for (int i = 1; i <= columns; ++i) cells << QStringLiteral("F%1").arg(i);
        return server.rows(QStringLiteral("AcctCtl"), QStringLiteral("select ") + cells.join(',') +
                                                          QStringLiteral(" from [") + link +
                                                          QStringLiteral("] order by FID"));
    }
    QString yearsLeftAtZero() { return targetValue(QStringLiteral("select count(*) from t_PANewData where FYear=0")); }
};

// Quotes in a value and in an employee number are stored as they stand.
TEST_F(PayrollHistoryTest, QuotesInValuesAndNumbersArriveIntact) {
    run(QStringLiteral(
        "update AIS_PAData set FData=N'O''Brien -- ;]' where FEmpID='001' and FPeriod=1 and FItemID=2\r\n"
        "insert into t_Item(FItemClassID,FNumber,FName) values(3,N'0''11',N'欧阳')\r\n"
        "insert into AIS_PAData(FEmpID,FPeriod,FClsID,FItemID,FData) values(N'0''11',3,1,5,'4321.5')"));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(targetValue(valueSql(QStringLiteral("FPA1007"), QStringLiteral("001"), 1)),
              QStringLiteral("O'Brien -- ;]"));
    EXPECT_EQ(targetValue(valueSql(QStringLiteral("FPA1007"), QStringLiteral("001"), 2)), QStringLiteral("张伟"));
    EXPECT_EQ(targetValue(valueSql(QStringLiteral("FPA1010"), QStringLiteral("0'11"), 3)), QStringLiteral("4321.5"));
}

// A number no payroll employee carries gets no row (and none with a NULL
// employee); it is logged with its row count, and the rest goes on. That
// holds as well for a number only a department carries (01).
TEST_F(PayrollHistoryTest, UnknownEmployeeNumberIsLoggedNotInserted) {
    run(QStringLiteral("insert into AIS_PAData(FEmpID,FPeriod,FClsID,FItemID,FData) values('999',1,1,5,'100')\r\n"
                       "insert into AIS_PAData(FEmpID,FPeriod,FClsID,FItemID,FData) values('999',2,1,5,'100')\r\n"
                       "insert into AIS_PAData(FEmpID,FPeriod,FClsID,FItemID,FData) values('01',1,1,5,'100')"));
    EXPECT_EQ(upgradePayroll(), 1);
    EXPECT_EQ(newLogRows(),
              (QStringList{
                  QStringLiteral("成功\t工资项目升级\t升级成功数目：11"),
                  QStringLiteral("错误\t工资管理\t工资历史数据中的职员代码在职员中不存在，未升级的职员数：2"),
              }));
    EXPECT_EQ(lastDetail(2), (QStringList{"职员代码\t工资数据行数", "01\t1", "999\t2"}));
    EXPECT_EQ(targetValue(QStringLiteral("select count(*) from t_PANewData where FEmpID is null")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("select count(*) from t_PANewData")), QStringLiteral("120"));
    EXPECT_EQ(yearsLeftAtZero(), QStringLiteral("0"));
}

// Values of an item without a column and a value its column cannot take
// are left out and named; every other value, the attributes and the year
// still arrive.
TEST_F(PayrollHistoryTest, ValuesThatCannotBeWrittenAreNamedAndTheRestArrives) {
    run(QStringLiteral("insert into t_PAItem(FItemName,FIsPayRollData,FSNO,FFieldType) values(N'年终奖',1,9,1)\r\n"
                       "insert into AIS_PAItem(FItemID,FItemName,FIsPayrollData,FSNO,FEmpField) "
                       "values(14,N'年终奖',1,14,'F14')\r\n"
                       "insert into AIS_PAData(FEmpID,FPeriod,FClsID,FItemID,FData) values('001',12,1,14,'5000')\r\n"
                       "update AIS_PAData set FData='abc' where FEmpID='002' and FPeriod=1 and FItemID=5"));
    EXPECT_EQ(upgradePayroll(), 1);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.at(1), QStringLiteral("错误\t工资管理\t工资历史数据未能写入的数据行数：2"));
    const QStringList detail = lastDetail(5);
    ASSERT_EQ(detail.size(), 3);
    EXPECT_EQ(detail.at(0), QStringLiteral("职员代码\t会计期间\t工资项目列\t数据\t原因"));
    EXPECT_TRUE(detail.contains(QStringLiteral("001\t12\t\t5000\t工资项目没有数据列")));
    EXPECT_TRUE(detail.filter(QStringLiteral("002\t1\tFPA1010\tabc\t")).size() == 1) << detail.join('\n').toStdString();
    EXPECT_EQ(targetValue(valueSql(QStringLiteral("FPA1010"), QStringLiteral("002"), 1)), QString());
    EXPECT_EQ(targetValue(valueSql(QStringLiteral("FPA1011"), QStringLiteral("002"), 1)),
              targetValue(QStringLiteral("select FData from AIS_PAData where FEmpID='002' and FPeriod=1 and FItemID=6"))
                  .remove(QStringLiteral(".00")));
    EXPECT_EQ(targetValue(valueSql(QStringLiteral("FPA1001"), QStringLiteral("001"), 12)), QStringLiteral("22200"));
    EXPECT_EQ(yearsLeftAtZero(), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("select count(*) from t_PANewData where FDuty is null")), QStringLiteral("0"));
}

// Two source categories of one employee and period give two rows, both of
// category 1 and both with every value.
TEST_F(PayrollHistoryTest, TwoCategoriesGiveTwoFullRows) {
    run(QStringLiteral("insert into AIS_PAData(FEmpID,FPeriod,FClsID,FItemID,FData) "
                       "select FEmpID,FPeriod,2,FItemID,FData from AIS_PAData where FEmpID='001' and FPeriod=1 "
                       "and FItemID=5"));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(target(valueSql(QStringLiteral("FClsID, a.FPA1010, a.FPA1007, a.FPA1003"), QStringLiteral("001"), 1)),
              (QStringList{"1\t18000\t张伟\t17514", "1\t18000\t张伟\t17514"}));
    EXPECT_EQ(targetValue(QStringLiteral("select count(*) from t_PANewData")), QStringLiteral("121"));
}

// The caption counts the value rows; without any it stays at 0 of 0.
TEST_F(PayrollHistoryTest, CaptionCountsTheValueRows) {
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(label->text(), QStringLiteral("正在升级工资管理- 工资历史数据（ 1560/1560）"));
    run(QStringLiteral("delete from AIS_PAData"));
    EXPECT_EQ(upgradePayroll(), 2);  // the category exists now: logged, failed
    EXPECT_EQ(label->text(), QStringLiteral("正在升级工资管理- 工资历史数据（ 0/0）"));
}

// Every formula gets its own identifier after those present.
TEST_F(PayrollHistoryTest, FormulasGetIdentifiersOfTheirOwn) {
    run(QStringLiteral("insert into t_PAFormula values(5,N'已有',1,0,N'甲=乙')\r\n"
                       "insert into AIS_PAFormula(FFormula) values(N'个人所得税=应发合计*0.03')"));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(target(QStringLiteral("select FForID, FName, left(FFormula,5) from t_PAFormula order by FForID")),
              (QStringList{"5\t已有\t甲=乙", "6\t标准版\t应发合计=", "7\t标准版\t个人所得税"}));
}
