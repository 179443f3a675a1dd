// A target created from a sample for the cashier step, with the results of
// the base-data step that the cashier reads seeded by hand where the test
// asks for them: the currencies, the cash and bank accounts of the chart
// and the staged accounts' and currencies' FZ8InterID mappings.
#pragma once

#include <QString>

#include "kit/UpgradeStepFixture.h"
#include "upgrade/payroll_cashier/CashierBankAccountAsker.h"

class CashierFixture : public UpgradeStepFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // The standard sample's cash and bank accounts and its currencies as
    // the base-data step converts them: 1001 (id 1001, RMB), 1002 (1002, a
    // parent), 1002.01 (1003, RMB), 1002.02 (1004, USD); RMB 1, USD 2,
    // HKD 3. The other accounts are left out.
    void seedStandardBase();
    // The cashier account id of a ledger account id and currency id.
    QString cashierAccount(int accountId, int currencyId);

    // Answers the bank-account question (restored when the test ends).
    CashierBankAccountAsker asked;
    int askedCount = 0;
};
