// New pay items: the operator's types, the columns they get in the pay
// history table and the work column that marks them while the phase runs.
// The history is emptied here, so only the items phase writes anything.
#include "PayrollFixture.h"

#include <QListWidget>
#include <QTest>

#include "controls/zqbutton.h"
#include "dialogs/DialogScript.h"
#include "dialogs/frmDataType.h"
#include "dialogs/frmPApointDataType.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwError.h"

namespace {

// An answer giving each shown item the type of its name (keys in another
// letter case, which the phase must still find), the rest text; it notes
// what it was shown.
PayrollDataTypeAsker scripted(const QHash<QString, int> &types, QStringList *shown) {
    return [types, shown](ado::Recordset &items) {
        PnwList answer;
        for (items.MoveFirst(); !items.Eof(); items.MoveNext()) {
            const QString name = items.value(QStringLiteral("FitemName")).toString();
            if (shown)
                *shown << name + QLatin1Char('/') +
                              (items.value(QStringLiteral("FIsPayrollData")).toBool() ? QStringLiteral("1")
                                                                                      : QStringLiteral("0"));
            PnwDictionary record;
            record.setItem(QStringLiteral("FITEMNAME"), name);
            record.setItem(QStringLiteral("fdatatype"), types.value(name, 200));
            answer.Add(record);
        }
        return answer;
    };
}

const QString kNoTempsign =
    QStringLiteral("select count(*) from syscolumns where id=object_id('t_PAItem') and name='tempsign'");

}  // namespace

class PayrollItemsTest : public PayrollFixture {
protected:
    void SetUp() override {
        PayrollFixture::SetUp();
        createSeeded(QStringLiteral("standard"));
        run(QStringLiteral("delete from AIS_PAData"));
    }
};

// Each offered type with its size, decimals and column type; a code the
// dialog does not offer gives 80, 2 and text. The four system items get
// attribute 0. Items the target holds already are neither inserted nor
// shown.
TEST_F(PayrollItemsTest, TypesGiveSizesDecimalsAndColumns) {
    QStringList shown;
    SetPayrollDataTypeAsker(scripted({{"职员代码", 200},
                                      {"基本工资", 11},
                                      {"岗位津贴", 6},
                                      {"绩效奖金", 135},
                                      {"养老保险", 3},
                                      {"医疗保险", 5},
                                      {"住房公积金", 7}},
                                     &shown));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(shown, (QStringList{"职员代码/0", "职员姓名/0", "部门代码/0", "银行账号/0", "基本工资/1", "岗位津贴/1",
                                  "绩效奖金/1", "养老保险/1", "医疗保险/1", "住房公积金/1", "个人所得税/1"}));
    EXPECT_EQ(target(QStringLiteral(
                  "select i.FItemName, i.FDataType, i.FFieldSize, i.FWeisu, i.FAttrib, c.xtype from t_PAItem i "
                  "inner join syscolumns c on c.id=object_id('t_PANewData') and c.name=i.FEmpField "
                  "where i.FItemName in (N'职员代码',N'基本工资',N'岗位津贴',N'绩效奖金',N'养老保险',N'医疗保险',"
                  "N'住房公积金') order by i.FItemID")),
              (QStringList{"职员代码\t200\t80\t0\t0\t167", "基本工资\t11\t1\t0\t2\t104", "岗位津贴\t6\t15\t2\t2\t60",
                           "绩效奖金\t135\t10\t0\t2\t61", "养老保险\t3\t10\t0\t2\t56", "医疗保险\t5\t18\t2\t2\t62",
                           "住房公积金\t7\t80\t2\t2\t35"}));
    EXPECT_EQ(target(QStringLiteral("select FItemName, FEmpField, FDataType from t_PAItem where FItemID<=3")),
              (QStringList{"应发合计\tFPA1001\t6", "扣款合计\tFPA1002\t6", "实发合计\tFPA1003\t6"}));
    EXPECT_EQ(targetValue(kNoTempsign), QStringLiteral("0"));
}

struct NumberingCase {
    const char *name;
    const char *targetColumns;  // the seeded items' FEmpField values
    const char *firstTwo;       // the first two new items' columns
};

class PayrollColumnNumberingTest : public PayrollItemsTest, public ::testing::WithParamInterface<NumberingCase> {};

TEST_P(PayrollColumnNumberingTest, NewColumnsFollowTheHighestNumber) {
    const QStringList columns = QString::fromLatin1(GetParam().targetColumns).split(QLatin1Char(','));
    for (int i = 0; i < 3; ++i)
        run(QStringLiteral("update t_PAItem set FEmpField=%1 where FItemID=%2")
                .arg(columns[i] == QStringLiteral("NULL") ? columns[i] : QLatin1Char('\'') + columns[i] + '\'')
                .arg(i + 1));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(target(QStringLiteral("select FEmpField from t_PAItem where FItemID in (4,5) order by FItemID"))
                  .join(QLatin1Char(',')),
              QString::fromLatin1(GetParam().firstTwo));
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t工资项目升级\t升级成功数目：11")});
}

INSTANTIATE_TEST_SUITE_P(Columns, PayrollColumnNumberingTest,
                         ::testing::Values(NumberingCase{"AfterFPA1010", "FPA1001,FPA1010,FPA1003", "FPA1011,FPA1012"},
                                           NumberingCase{"BelowTheRange", "FPA20,FPA3,FPAX", "FPA1006,FPA1007"},
                                           NumberingCase{"NoneYet", "NULL,NULL,NULL", "FPA1006,FPA1007"}),
                         [](const auto &info) { return std::string(info.param.name); });

// A name carrying "VEQ" is matched like any other and gets its column.
TEST_F(PayrollItemsTest, NameWithVeqGetsTypeAndColumn) {
    run(QStringLiteral("insert into AIS_PAItem(FItemID,FItemName,FIsPayrollData,FSNO,FEmpField) "
                       "values(14,N'奖金VEQ',1,14,'F14')"));
    SetPayrollDataTypeAsker(scripted({{"奖金VEQ", 6}}, nullptr));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(
        target(QStringLiteral("select FEmpField, FDataType, FFieldSize from t_PAItem where FItemName=N'奖金VEQ'")),
        QStringList{QStringLiteral("FPA1017\t6\t15")});
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t工资项目升级\t升级成功数目：12")});
}

// Two items whose names differ only by the edition's prefix: each keeps
// the type answered for it and gets one column of that type, and the count
// is the number of items made.
TEST_F(PayrollItemsTest, NamesApartOnlyByThePrefixKeepTheirOwnTypes) {
    run(QStringLiteral("insert into AIS_PAItem(FItemID,FItemName,FIsPayrollData,FSNO,FEmpField) "
                       "values(14,N'VEQ奖金',0,14,'F14')\r\n"
                       "insert into AIS_PAItem(FItemID,FItemName,FIsPayrollData,FSNO,FEmpField) "
                       "values(15,N'奖金',1,15,'F15')"));
    SetPayrollDataTypeAsker(scripted({{"VEQ奖金", 200}, {"奖金", 6}}, nullptr));
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_EQ(target(QStringLiteral("select i.FItemName, i.FDataType, i.FFieldSize, c.xtype, (select count(*) from "
                                    "syscolumns k where k.id=object_id('t_PANewData') and k.name=i.FEmpField) from "
                                    "t_PAItem i left join syscolumns c on c.id=object_id('t_PANewData') and "
                                    "c.name=i.FEmpField where i.FItemName in (N'VEQ奖金',N'奖金') order by i.FItemID")),
              (QStringList{QStringLiteral("VEQ奖金\t200\t80\t167\t1"), QStringLiteral("奖金\t6\t15\t60\t1")}));
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t工资项目升级\t升级成功数目：13")});
}

// A dialog that fails ends the phase with its reason logged; the work
// column is removed all the same and the later phases run.
TEST_F(PayrollItemsTest, FailingAskerIsLoggedAndTheWorkColumnRemoved) {
    SetPayrollDataTypeAsker([](ado::Recordset &) -> PnwList {
        throw PnwError(5, QStringLiteral("frmPApointDataType"), QStringLiteral("对话框失败"));
    });
    EXPECT_EQ(upgradePayroll(), 2);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows.first().startsWith(QStringLiteral("错误\t工资管理\t升级【工资管理-工资项目】时出错：对话框失败")))
        << rows.first().toStdString();
    EXPECT_EQ(targetValue(kNoTempsign), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("select count(*) from t_PAFormula")), QStringLiteral("1"));
}

// With no new item there is nothing to type or count: no dialog, no entry.
TEST_F(PayrollItemsTest, NoNewItemWritesNothing) {
    run(QStringLiteral("delete from AIS_PAItem where FItemName not in (select FItemName from t_PAItem)"));
    bool asked = false;
    SetPayrollDataTypeAsker([&asked](ado::Recordset &) {
        asked = true;
        return PnwList();
    });
    EXPECT_EQ(upgradePayroll(), 0);
    EXPECT_FALSE(asked);
    EXPECT_TRUE(newLogRows().isEmpty());
    EXPECT_EQ(targetValue(kNoTempsign), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("select count(*) from t_PAItem")), QStringLiteral("3"));
}

// The data-type dialog as the operator answers it: every item typed 实数 at
// once through the batch edit, then OK.
TEST_F(PayrollItemsTest, TheDialogsAnswerTypesTheNewItems) {
    SetPayrollDataTypeAsker(AskPayrollDataTypesInDialog);
    DialogScript script;
    script.add<frmPApointDataType>([](frmPApointDataType &dialog) {
        QTest::mouseClick(dialog.cmdBatedit(), Qt::LeftButton);
        QTest::mouseClick(dialog.cmdOK(), Qt::LeftButton);
    });
    script.add<frmDataType>([](frmDataType &picker) {
        picker.listEntry()->item(4)->setSelected(true);
        QTest::mouseClick(picker.cmdOK(), Qt::LeftButton);
    });
    EXPECT_EQ(upgradePayroll(), 0);
    ASSERT_EQ(script.count(), 2);
    EXPECT_FALSE(script.shown()[0].leftOpen);
    EXPECT_EQ(target(QStringLiteral("select distinct FDataType, FFieldSize, FWeisu from t_PAItem where FItemID>3")),
              QStringList{QStringLiteral("5\t18\t2")});
    EXPECT_EQ(targetValue(QStringLiteral("select xtype from syscolumns where id=object_id('t_PANewData') and "
                                         "name='FPA1006'")),
              QStringLiteral("62"));
}
