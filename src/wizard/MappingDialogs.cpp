#include "wizard/MappingDialogs.h"

#include "dialogs/DialogCalls.h"
#include "upgrade/base/BaseDataAskers.h"
#include "upgrade/base/SubLedgerNatureAsker.h"
#include "upgrade/payroll_cashier/CashierBankAccountAsker.h"
#include "upgrade/payroll_cashier/PayrollDataTypeAsker.h"

void InstallMappingDialogs() {
    SubLedgerNatureAskerHook() = DialogCalls::AskSubLedgerNatures;
    QuantityUnitAskerHook() = DialogCalls::AskQuantityUnits;
    BusinessUnitAskerHook() = [](const PnwList &undecided) {
        BusinessUnitChoice choice;
        DialogCalls::AskBusinessUnits(undecided, choice.customers, choice.suppliers, choice.warning);
        return choice;
    };
    SetPayrollDataTypeAsker(AskPayrollDataTypesInDialog);
    CashierBankAccountAsk() = CashierAskBankAccountDialog;
}
