// The bank-account question put to the operator through the dialog.
#include "dialogs/DialogSeam.h"
#include "dialogs/frmSetBankAccount.h"
#include "upgrade/payroll_cashier/CashierBankAccountAsker.h"

CashierBankAccountAnswer CashierAskBankAccountDialog(ado::Recordset &accounts) {
    frmSetBankAccount dialog;
    dialog.setRs(accounts);
    DialogSeam::showModal(dialog);
    CashierBankAccountAnswer answer;
    answer.ResultOK = dialog.ResultOK();
    if (answer.ResultOK) answer.returndata = dialog.returndata();
    return answer;
}
