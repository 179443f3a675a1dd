// Departments and depreciation-expense allocations of alteration cards and
// balance rows (base-data mappings and department combinations seeded): a
// card on three departments, a card split over two expense accounts, and
// department codes written with points, in both options.
#include <ostream>

#include "kit/UpgradeStepFixture.h"

#include "upgrade/assets/clsEboFa.h"

#include "FaFixture.h"

namespace {

class FaAllocationTest : public FaFixture {
protected:
    // The expense rows of one card's balance row in a period: account and
    // amount, or department and whether the combination is the department's
    // own.
    QStringList balanceExpenses(const QString &card, int period, const QString &columns) {
        return target(QStringLiteral("SELECT %3 FROM t_FABalExpense x INNER JOIN t_FABalance b ON b.FBalID = x.FBalID "
                                     "INNER JOIN AIS_FACard s ON s.FZ8InterID = b.FAssetID LEFT JOIN t_Item i ON "
                                     "i.FItemID = x.FDeptID LEFT JOIN t_ItemDetail d ON d.FDetailCount = 1 AND d.F2 = "
                                     "x.FDeptID WHERE s.FAssetID = '%1' AND b.FPeriod = %2 ORDER BY 1")
                          .arg(card, QString::number(period), columns));
    }
};

const QString kOwnCombination =
    QStringLiteral("i.FShortNumber, CASE WHEN x.FDetailID = d.FDetailID THEN 'own' ELSE 'other' END");

// Option 0 makes an alteration card of the value increase, balances only
// folds it into the card; either way the card's latest state has it.
class FaAlteredCardExpenseTest : public FaAllocationTest, public ::testing::WithParamInterface<int> {};

TEST_P(FaAlteredCardExpenseTest, ExpenseRowsNameTheirDepartmentAndCombination) {
    // FA001 depreciates to departments 01, 02 and 04 (40/30/30); a value
    // increase in period 6 changes its card. Department 01 also has a
    // combination with an employee.
    upgradeSeeded(GetParam(),
                  FaDepartmentCombinations() + FaAlteration(QStringLiteral("FA001"), 6, 2, QStringLiteral("1000")));
    EXPECT_EQ(target(QStringLiteral("SELECT i.FShortNumber, CASE WHEN e.FDetailID = d.FDetailID THEN 'own' ELSE "
                                    "'other' END, e.FAcctID FROM t_FAExpense e LEFT JOIN t_Item i ON i.FItemID = "
                                    "e.FDeptID LEFT JOIN t_ItemDetail d ON d.FDetailCount = 1 AND d.F2 = e.FDeptID "
                                    "WHERE e.FAlterID = (SELECT MAX(FAlterID) FROM t_FACard WHERE FAssetNumber = "
                                    "'FA001') ORDER BY 1")),
              QStringList({QStringLiteral("01\town\t660204"), QStringLiteral("02\town\t660204"),
                           QStringLiteral("04\town\t660204")}));
}

INSTANTIATE_TEST_SUITE_P(Options, FaAlteredCardExpenseTest, ::testing::Values(0, 1));

TEST_F(FaAllocationTest, EveryBalanceExpenseRowKeepsItsDepartmentsCombination) {
    upgradeSeeded(0, FaDepartmentCombinations() + FaAlteration(QStringLiteral("FA001"), 6, 2, QStringLiteral("1000")));
    for (int period : {5, 6, 12})
        EXPECT_EQ(balanceExpenses(QStringLiteral("FA001"), period, kOwnCombination),
                  QStringList({QStringLiteral("01\town"), QStringLiteral("02\town"), QStringLiteral("04\town")}))
            << period;
    // No combination that names a department names another one than the
    // row's.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalExpense x INNER JOIN t_ItemDetail d ON "
                                         "d.FDetailID = x.FDetailID WHERE d.F2 <> 0 AND d.F2 <> ISNULL(x.FDeptID, -1)")),
              QStringLiteral("0"));
}

TEST_F(FaAllocationTest, AnAllocationOverTwoAccountsSplitsTheDepreciation) {
    // FA002 (one department) depreciates 60 % to 660104 and 40 % to 660204;
    // each staged expense row holds the card's whole depreciation.
    upgradeSeeded(0, QStringLiteral("INSERT INTO AIS_FABalExpense (FPeriod, FAssetID, FExpenseAcctID, FExpenseClsID, "
                                    "FExpenseObjID, FRate, FDepr) SELECT FPeriod, FAssetID, '660204', 0, '', 40, FDepr "
                                    "FROM AIS_FABalExpense WHERE FAssetID = 'FA002';"
                                    "UPDATE AIS_FABalExpense SET FRate = 60 WHERE FAssetID = 'FA002' AND "
                                    "FExpenseAcctID = '660104'"));
    EXPECT_EQ(balanceExpenses(QStringLiteral("FA002"), 12, QStringLiteral("x.FAcctID, x.FAmount")),
              QStringList({QStringLiteral("660104\t997.5"), QStringLiteral("660204\t665")}));
    // The card's two rows name no department: the upgrade asks for one.
    EXPECT_TRUE(newLogRows().contains(
        QStringLiteral("警告\t固定资产卡片\t卡片 2 需要指定折旧费用分配，请升级完成后在VEQ专业版中使用固定资产的进行卡片调整")));
    // Every balance row's allocation adds up to its depreciation.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalance b WHERE b.FDepr <> 0 AND b.FDepr <> (SELECT "
                                         "SUM(x.FAmount) FROM t_FABalExpense x WHERE x.FBalID = b.FBalID)")),
              QStringLiteral("0"));
}

// Option 0 keeps FA005's and FA006's alteration cards beside their first
// ones; balances only folds each into one card, where FA006 has moved to
// 0302.
struct DottedDepartmentCase {
    const char *name;
    int option;
    QStringList departments;  // card, department, rate, by card
};

void PrintTo(const DottedDepartmentCase &c, std::ostream *os) { *os << c.name; }

class FaDottedDepartmentTest : public FaAllocationTest, public ::testing::WithParamInterface<DottedDepartmentCase> {};

TEST_P(FaDottedDepartmentTest, DepartmentCodesWithPointsFindTheirDepartments) {
    // The sales groups are written 03.01 and 03.02 in the source; base data
    // stores them without points.
    QString changes;
    for (const char *table : {"AIS_FABalDept", "AIS_FAVchDept"})
        changes += QStringLiteral("UPDATE %1 SET FDeptObjID = '03.' + SUBSTRING(FDeptObjID, 3, 2) WHERE FDeptObjID "
                                  "LIKE '030_';")
                       .arg(QString::fromLatin1(table));
    upgradeSeeded(GetParam().option, changes);
    ASSERT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_FABalDept WHERE FDeptObjID LIKE '03.%'")),
              QStringLiteral("39"));
    EXPECT_EQ(target(QStringLiteral("SELECT c.FAssetNumber, i.FShortNumber, d.FRate FROM t_FADept d INNER JOIN "
                                    "t_FACard c ON c.FAlterID = d.FAlterID LEFT JOIN t_Item i ON i.FItemID = d.FItemID "
                                    "WHERE c.FAssetNumber IN ('FA005', 'FA006') ORDER BY d.FAlterID, 2")),
              GetParam().departments);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FABalDept WHERE FItemID IS NULL")),
              QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(
    Options, FaDottedDepartmentTest,
    ::testing::Values(DottedDepartmentCase{"AllData",
                                           0,
                                           {QStringLiteral("FA005\t0301\t0.5"), QStringLiteral("FA005\t0302\t0.5"),
                                            QStringLiteral("FA006\t0301\t1"), QStringLiteral("FA005\t0301\t0.5"),
                                            QStringLiteral("FA005\t0302\t0.5"), QStringLiteral("FA006\t0302\t1")}},
                      DottedDepartmentCase{"BalancesOnly",
                                           1,
                                           {QStringLiteral("FA005\t0301\t0.5"), QStringLiteral("FA005\t0302\t0.5"),
                                            QStringLiteral("FA006\t0302\t1")}}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
