#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "dialogs/DialogCalls.h"
#include "dialogs/DialogScript.h"
#include "dialogs/frmBussinessUnits.h"
#include "dialogs/frmPApointDataType.h"
#include "dialogs/frmSetBankAccount.h"
#include "dialogs/frmSubLedgerNature.h"
#include "dialogs/frmUnit.h"
#include "platform/MessageScript.h"
#include "support/QtApp.h"

namespace {

// Each call shows its dialog through the seam and hands back what the
// operator left in it.
TEST(DialogCalls, EachCallRunsItsDialogAndReadsItBack) {
    ensureQtApp();
    DialogScript script;
    script.add<frmSubLedgerNature>([](frmSubLedgerNature &d) {
        click(d.btn_SelectAllSP());
        click(d.btn_OK());
    });
    script.add<frmUnit>([](frmUnit &d) {
        EXPECT_EQ(d.GridUnit()->MaxRows(), 0);
        click(d.btn_OK());  // no account: accepted at once
    });
    script.add<frmBussinessUnits>([](frmBussinessUnits &d) {
        click(d.btnCustomer(1));
        click(d.btn_OK());
    });
    script.add<frmPApointDataType>([](frmPApointDataType &d) { click(d.cmdOK()); });
    script.add<frmSetBankAccount>([](frmSetBankAccount &d) {
        d.fpSpread()->SetText(5, 1, "123");
        click(d.cmdOK());
    });

    PnwList natures;
    natures.Add(record({{"FAcctID", "1"}, {"FAcctName", "甲"}, {"FIsCustomer", 0}, {"FIsSupplier", 0}}));
    PnwList answer;
    EXPECT_TRUE(DialogCalls::AskSubLedgerNatures(QVariant::fromValue(natures), answer));
    EXPECT_TRUE(answer.isSameAs(natures));
    EXPECT_EQ(recordAt(natures, 1).Item("FIsSupplier").toInt(), 1);

    PnwList none;
    EXPECT_TRUE(DialogCalls::AskQuantityUnits(none));

    PnwList units;
    units.Add(record(
        {{"FObjID", "01"}, {"FObjName", "甲"}, {"FParentID", "0"}, {"FFullObjName", "甲"}, {"FFullPath", "01"}}));
    PnwList customers, suppliers;
    QString warning = "x";
    DialogCalls::AskBusinessUnits(units, customers, suppliers, warning);
    EXPECT_EQ(customers.Count(), 1);
    EXPECT_EQ(suppliers.Count(), 0);
    EXPECT_EQ(warning, "");

    const PnwList types =
        DialogCalls::AskPayrollDataTypes(recordset({"FitemName", "FIsPayrollData"}, {{"备注", false}}));
    ASSERT_EQ(types.Count(), 1);
    EXPECT_EQ(recordAt(types, 1).Item("FDataType").toInt(), 200);

    PnwList numbers;
    EXPECT_TRUE(DialogCalls::AskBankAccounts(
        recordset({"FKMID", "FKMdm", "FKMmc", "FBB"}, {{"7", "1002", "银行", "人民币"}}), numbers));
    ASSERT_EQ(numbers.Count(), 1);
    EXPECT_EQ(recordAt(numbers, 1).Item("FYHZH"), QVariant("123"));
    EXPECT_EQ(script.count(), 5);
}

}  // namespace
