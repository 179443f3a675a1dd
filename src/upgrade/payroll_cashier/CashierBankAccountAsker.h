// How the cashier step asks the operator for the bank account number of
// each bank cashier account. The step calls the installed asker with the
// accounts (FKMID, FKMdm, FKMmc, FBBID, FBB); the wizard installs one that
// shows the bank-account dialog, tests install a scripted answer.
#pragma once

#include <functional>

#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"

struct CashierBankAccountAnswer {
    // The operator confirmed with every number filled in.
    bool ResultOK = false;
    // One PnwDictionary per account: "FYHZH" the number as typed, "FKMID"
    // and "FBB" the account's ledger account and currency name as text.
    PnwList returndata;
};

using CashierBankAccountAsker = std::function<CashierBankAccountAnswer(ado::Recordset &accounts)>;

// The asker in use (by default CashierKeepAccountNames).
CashierBankAccountAsker &CashierBankAccountAsk();

// The answer of an operator who types each account's name as its number:
// the steps' tests run on it; the program and the runner ask the dialog.
CashierBankAccountAnswer CashierKeepAccountNames(ado::Recordset &accounts);
// Asks the operator through the bank-account dialog, shown modally (the
// wizard installs this one).
CashierBankAccountAnswer CashierAskBankAccountDialog(ado::Recordset &accounts);
