#include "upgrade/payroll_cashier/CashierBankAccountAsker.h"

#include "platform/PnwDictionary.h"

CashierBankAccountAsker &CashierBankAccountAsk() {
    static CashierBankAccountAsker asker = CashierKeepAccountNames;
    return asker;
}

CashierBankAccountAnswer CashierKeepAccountNames(ado::Recordset &accounts) {
    CashierBankAccountAnswer answer;
    answer.ResultOK = true;
    if (accounts.RecordCount() == 0) return answer;
    for (accounts.MoveFirst(); !accounts.Eof(); accounts.MoveNext()) {
        PnwDictionary record;
        record.setItem(QStringLiteral("FYHZH"), accounts.value(QStringLiteral("FKMmc")).toString());
        record.setItem(QStringLiteral("FKMID"), accounts.value(QStringLiteral("FKMID")).toString());
        record.setItem(QStringLiteral("FBB"), accounts.value(QStringLiteral("FBB")).toString());
        answer.returndata.Add(record);
    }
    return answer;
}
