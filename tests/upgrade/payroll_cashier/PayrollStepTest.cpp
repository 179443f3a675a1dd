// The payroll step as the runs call it: the check's finding on pay-item
// names, the order of the phases, and a failing phase that neither stops
// the next one nor passes for a success.
#include "PayrollFixture.h"

#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "wizard/StageRegistry.h"

namespace {

const QString kClash = QStringLiteral("条工资项目与专业版名称相同，不再重复升级，直接取专业版中的数据");

}  // namespace

class PayrollCheckTest : public PayrollFixture, public ::testing::WithParamInterface<const char *> {};

// Both samples carry 应发合计 and 实发合计, which the base account set holds.
TEST_P(PayrollCheckTest, WarnsOnceAboutItemNamesTheTargetHolds) {
    createFrom(QString::fromLatin1(GetParam()));
    EXPECT_EQ(checkPayroll(), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("警告\t工资项目检测\t存在2") + kClash});
}

INSTANTIATE_TEST_SUITE_P(Samples, PayrollCheckTest, ::testing::Values("standard", "mini"));

TEST_F(PayrollFixture, CheckCountsEveryClashAndLeavesBarAndLabelAlone) {
    createFrom(QStringLiteral("standard"));
    run(QStringLiteral("insert into t_PAItem(FItemName,FIsPayRollData,FSNO,FFieldType,FEmpField) "
                       "values(N'基本工资',1,4,1,'FPA1004')"));
    bar->setValue(7);
    label->setText(QStringLiteral("before"));
    EXPECT_EQ(checkPayroll(), 0);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("警告\t工资项目检测\t存在3") + kClash});
    EXPECT_EQ(bar->Value(), 7);
    EXPECT_EQ(label->text(), QStringLiteral("before"));
}

TEST_F(PayrollFixture, CheckWithoutClashOrItemsWritesNothing) {
    createFrom(QStringLiteral("mini"));
    run(QStringLiteral("update t_PAItem set FItemName=FItemName+N'（专业版）'"));
    EXPECT_EQ(checkPayroll(), 0);
    EXPECT_TRUE(newLogRows().isEmpty());
    run(QStringLiteral("delete from AIS_PAItem"));
    EXPECT_EQ(checkPayroll(), 0);
    EXPECT_TRUE(newLogRows().isEmpty());
}

TEST_F(PayrollFixture, CheckThatCannotReadTheItemsIsLoggedAsFailed) {
    createFrom(QStringLiteral("mini"));
    run(QStringLiteral("drop table AIS_PAItem"));
    EXPECT_EQ(checkPayroll(), 1);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows.first().startsWith(QStringLiteral("错误\t工资项目检测\t检测工资项目时出错：")))
        << rows.first().toStdString();
    EXPECT_TRUE(rows.first().contains(QStringLiteral("ais_PAItem"), Qt::CaseInsensitive)) << rows.first().toStdString();
}

TEST_F(PayrollFixture, UpgradeEndsWithTheBarFullAndTheLastPhaseCaptionStanding) {
    createSeeded(QStringLiteral("standard"));
    bar->setValue(0);
    upgradePayroll();
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(bar->Text2(), QStringLiteral("100%"));
    EXPECT_TRUE(label->text().startsWith(QStringLiteral("正在升级工资管理- "))) << label->text().toStdString();
}

// A refused category insert is logged with its reason; the departments
// and employees are still copied, and the step says it failed.
TEST_F(PayrollFixture, FailingPhaseIsLoggedAndTheNextOneRuns) {
    createSeeded(QStringLiteral("standard"));
    run(QStringLiteral("insert T_PA_pama(FClsID,FClsName) values(1,N'已有')"));
    EXPECT_EQ(upgradePayroll(), 2);
    const QStringList rows = newLogRows();
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_TRUE(rows.first().startsWith(QStringLiteral("错误\t工资管理\t升级【工资管理-工资类别】时出错：")))
        << rows.first().toStdString();
    EXPECT_TRUE(rows.first().contains(QStringLiteral("insert T_PA_pama("))) << rows.first().toStdString();
    EXPECT_EQ(targetValue(QStringLiteral("select FClsName from T_PA_pama where FClsID=1")), QStringLiteral("已有"));
    EXPECT_EQ(targetValue(QStringLiteral("select count(*) from t_PA_Item where FItemClassID=2")), QStringLiteral("7"));
    EXPECT_EQ(targetValue(QStringLiteral("select count(*) from t_PA_Item where FItemClassID=3")), QStringLiteral("10"));
}

TEST_F(PayrollFixture, RegisteredAsThePayrollStage) {
    const StageEntry entry = StageRegistry::stage(StageRegistry::Payroll);
    ASSERT_TRUE(entry.create);
    EXPECT_NE(dynamic_cast<clsEboPa *>(entry.create().get()), nullptr);
}
