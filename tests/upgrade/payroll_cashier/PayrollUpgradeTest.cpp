// The whole payroll upgrade on both samples, on seeded base rows and after
// the real base-data step: every source value arrives in its employee's
// row and its item's column, checked against the sample's own text.
#include "PayrollFixture.h"

#include "upgrade/base/clsBaseSys.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QTextStream>

namespace {

// Source item number -> the target column its values go to: the items the
// base account set holds already keep their columns (应发合计 FPA1001,
// 实发合计 FPA1003), the eleven new ones are numbered from FPA1006 in the
// source's order.
const QMap<int, QString> kColumnOfItem{
    {1, "FPA1006"}, {2, "FPA1007"}, {3, "FPA1008"},  {4, "FPA1009"},  {5, "FPA1010"},  {6, "FPA1011"},  {7, "FPA1012"},
    {8, "FPA1001"}, {9, "FPA1013"}, {10, "FPA1014"}, {11, "FPA1015"}, {12, "FPA1016"}, {13, "FPA1003"},
};
// Items 1 to 4 are text (职员代码, 职员姓名, 部门代码, 银行账号), the others
// amounts.
bool isTextItem(int item) { return item <= 4; }

struct SourceValue {
    QString employee;
    int period;
    int item;
    QString data;
};

QList<SourceValue> sampleHistory(const QString &sample) {
    QFile file(QStringLiteral(PNW_SOURCE_DIR "/samples/") + sample + QStringLiteral("/PAData.tsv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&file);
    in.readLine();  // the header
    QList<SourceValue> values;
    while (!in.atEnd()) {
        const QStringList cells = in.readLine().split(QLatin1Char('\t'));
        if (cells.size() < 5) continue;
        values.append({cells[0], cells[1].toInt(), cells[3].toInt(), cells[4]});
    }
    return values;
}

struct SampleCase {
    const char *sample;
    const char *edition;
    int employees;
    bool baseStep;  // the base rows from the base-data step, else seeded
};

}  // namespace

class PayrollUpgradeTest : public PayrollFixture, public ::testing::WithParamInterface<SampleCase> {};

TEST_P(PayrollUpgradeTest, EveryValueArrivesInItsEmployeesRowAndColumn) {
    const SampleCase c = GetParam();
    const QString edition = QString::fromUtf8(c.edition);
    if (c.baseStep) {
        createFrom(QString::fromLatin1(c.sample));
        // As the runs call it: its check first, then its upgrade.
        clsBaseSys base;
        ASSERT_LT(check(base), 2) << newLogRows().join(QLatin1Char(10)).toStdString();
        const int baseResult = upgrade(base);
        ASSERT_LT(baseResult, 2) << newLogRows().join(QLatin1Char(10)).toStdString();
        newLogRows();
    } else {
        createSeeded(QString::fromLatin1(c.sample));
    }
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t工资项目升级\t升级成功数目：11")});

    EXPECT_EQ(targetValue(QStringLiteral("select FClsName, FYear, FPeriod, FPutNO from T_PA_pama where FClsID=1")),
              edition + QStringLiteral("升级专用\t2025\t12\t1"));
    EXPECT_EQ(targetValue(QStringLiteral("select count(*) from syscolumns where id=object_id('t_PAItem') and "
                                         "name='tempsign'")),
              QStringLiteral("0"));

    // One row per employee and period, all filed under the current year.
    EXPECT_EQ(target(QStringLiteral("select count(*), min(FYear), max(FYear), min(FClsID), max(FClsID), min(FPutNo), "
                                    "count(FEmpID) from t_PANewData")),
              QStringList{QStringLiteral("%1\t2025\t2025\t1\t1\t1\t%1").arg(c.employees * 12)});

    QStringList columns;
    for (const QString &column : kColumnOfItem) columns << QStringLiteral("a.") + column;
    QHash<QString, QStringList> rowOf;  // "employee/period" -> cells in item order
    for (const QString &row : target(QStringLiteral("select b.FNumber, a.FPeriod, ") + columns.join(',') +
                                     QStringLiteral(" from t_PANewData a inner join t_PA_Item b on "
                                                    "b.FItemID=a.FEmpID and b.FItemClassID=3"))) {
        QStringList cells = row.split(QLatin1Char('\t'));
        rowOf.insert(cells[0] + QLatin1Char('/') + cells[1], cells.mid(2));
    }
    const QList<SourceValue> history = sampleHistory(QString::fromLatin1(c.sample));
    ASSERT_EQ(history.size(), c.employees * 12 * 13);
    const QList<int> items = kColumnOfItem.keys();
    for (const SourceValue &v : history) {
        const QString key = v.employee + QLatin1Char('/') + QString::number(v.period);
        ASSERT_TRUE(rowOf.contains(key)) << key.toStdString();
        const QString got = rowOf.value(key).at(items.indexOf(v.item));
        if (isTextItem(v.item))
            EXPECT_EQ(got, v.data) << key.toStdString() << " item " << v.item;
        else
            EXPECT_DOUBLE_EQ(got.toDouble(), v.data.toDouble()) << key.toStdString() << " item " << v.item;
    }

    // The employee's attributes stand in every one of its rows: 001 works
    // in 总经理办公室 (01) as 总经理 with 硕士研究生, group 正式职工.
    EXPECT_EQ(
        target(QStringLiteral("select distinct a.FItemDepID-d.FItemID, a.FEmpGroupID-r.FItemRefID, a.FDuty, a.FDegree, "
                              "a.FBankAccount from t_PANewData a inner join t_PA_Item b on b.FItemID=a.FEmpID "
                              "inner join t_Item d on d.FItemClassID=2 and d.FNumber='01' "
                              "inner join t_PA_ItemRef r on r.FType=90 and r.FName=N'正式职工' where b.FNumber='001'")),
        QStringList{QStringLiteral("0\t0\t总经理\t硕士研究生\t6222021001001")});

    EXPECT_EQ(
        target(QStringLiteral("select FForID, FName, FClsID, FType, left(FFormula, 19) from t_PAFormula")),
        QStringList{QStringLiteral("1\t") + edition + QStringLiteral("\t1\t0\t应发合计=基本工资+岗位津贴+绩效奖金")});
}

INSTANTIATE_TEST_SUITE_P(
    Samples, PayrollUpgradeTest,
    ::testing::Values(SampleCase{"standard", "标准版", 10, false}, SampleCase{"mini", "迷你版", 6, false},
                      SampleCase{"standard", "标准版", 10, true}, SampleCase{"mini", "迷你版", 6, true}),
    [](const auto &info) { return std::string(info.param.sample) + (info.param.baseStep ? "AfterBaseData" : ""); });

// The new items with their types as the unanswered dialog gives them (text
// for the four items that are not payroll figures, money for the others),
// their columns and sequence numbers after the highest present.
TEST_F(PayrollFixture, NewItemsGetTypeColumnAndSequence) {
    createSeeded(QStringLiteral("standard"));
    upgradePayroll();
    EXPECT_EQ(target(QStringLiteral("select FItemName, FIsPayRollData, FSNO, FFieldType, FEmpField, FDataType, "
                                    "FFieldSize, FWeisu, FAttrib from t_PAItem where FItemID>3 order by FItemID")),
              (QStringList{
                  "职员代码\tfalse\t13\t1\tFPA1006\t200\t80\t0\t0",
                  "职员姓名\tfalse\t14\t1\tFPA1007\t200\t80\t0\t0",
                  "部门代码\tfalse\t15\t1\tFPA1008\t200\t80\t0\t0",
                  "银行账号\tfalse\t16\t1\tFPA1009\t200\t80\t0\t0",
                  "基本工资\ttrue\t17\t1\tFPA1010\t6\t15\t2\t2",
                  "岗位津贴\ttrue\t18\t1\tFPA1011\t6\t15\t2\t2",
                  "绩效奖金\ttrue\t19\t1\tFPA1012\t6\t15\t2\t2",
                  "养老保险\ttrue\t20\t1\tFPA1013\t6\t15\t2\t2",
                  "医疗保险\ttrue\t21\t1\tFPA1014\t6\t15\t2\t2",
                  "住房公积金\ttrue\t22\t1\tFPA1015\t6\t15\t2\t2",
                  "个人所得税\ttrue\t23\t1\tFPA1016\t6\t15\t2\t2",
              }));
    EXPECT_EQ(target(QStringLiteral("select name, xtype from syscolumns where id=object_id('t_PANewData') and "
                                    "name in ('FPA1006','FPA1010') order by name")),
              (QStringList{"FPA1006\t167", "FPA1010\t60"}));
}
