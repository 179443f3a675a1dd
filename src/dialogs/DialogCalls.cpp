#include "dialogs/DialogCalls.h"

#include "dialogs/DialogSeam.h"
#include "dialogs/frmBussinessUnits.h"
#include "dialogs/frmPApointDataType.h"
#include "dialogs/frmSetBankAccount.h"
#include "dialogs/frmSubLedgerNature.h"
#include "dialogs/frmUnit.h"

namespace DialogCalls {

bool AskSubLedgerNatures(const QVariant &data, PnwList &answer) {
    frmSubLedgerNature dialog;
    dialog.setData(data);
    DialogSeam::showModal(dialog);
    answer = dialog.Data();
    return dialog.ResultOK();
}

bool AskQuantityUnits(PnwList &records) {
    frmUnit dialog;
    dialog.setData(QVariant::fromValue(records));
    DialogSeam::showModal(dialog);
    return dialog.ResultOK();
}

void AskBusinessUnits(const PnwList &undecided, PnwList &customers, PnwList &suppliers, QString &warning) {
    frmBussinessUnits dialog;
    dialog.setBussinessUnits(undecided);
    DialogSeam::showModal(dialog);
    customers = dialog.Customer();
    suppliers = dialog.Supplier();
    warning = dialog.WarningMsg();
}

PnwList AskPayrollDataTypes(const ado::Recordset &items) {
    frmPApointDataType dialog;
    dialog.setRs(items);
    DialogSeam::showModal(dialog);
    return dialog.returndata();
}

bool AskBankAccounts(const ado::Recordset &accounts, PnwList &returndata) {
    frmSetBankAccount dialog;
    dialog.setRs(accounts);
    DialogSeam::showModal(dialog);
    if (dialog.ResultOK()) returndata = dialog.returndata();
    return dialog.ResultOK();
}

}  // namespace DialogCalls
