#include "CashierFixture.h"

#include "foundation/Globals.h"
#include "platform/PnwDictionary.h"

void CashierFixture::SetUp() {
    UpgradeStepFixture::SetUp();
    asked = CashierKeepAccountNames;
    CashierBankAccountAsk() = [this](ado::Recordset &rs) {
        ++askedCount;
        return asked(rs);
    };
}

void CashierFixture::TearDown() {
    CashierBankAccountAsk() = CashierKeepAccountNames;
    UpgradeStepFixture::TearDown();
}

void CashierFixture::seedStandardBase() {
    // Stands in for the base-data step, which rates each currency at the
    // current period's rate (the dollar's opening of the year was 7.1).
    run(QStringLiteral(
        "INSERT INTO T_Currency (FCurrencyID, FNumber, FName, FOperator, FExchangeRate, FScale) VALUES (2, N'USD', "
        "N'美元', N'*', 7.1653, 2)\n"
        "INSERT INTO T_Currency (FCurrencyID, FNumber, FName, FOperator, FExchangeRate, FScale) VALUES (3, N'HKD', "
        "N'港币', N'*', 0.912, 2)\n"
        "INSERT INTO T_Account (FAccountID, FNumber, FName, FLevel, FDetail, FCurrencyID, FIsCash, FIsBank) VALUES "
        "(1001, '1001', "
        "N'库存现金', 1, 1, 1, 0, 0)\n"
        "INSERT INTO T_Account (FAccountID, FNumber, FName, FLevel, FDetail, FCurrencyID, FIsCash, FIsBank) VALUES "
        "(1002, '1002', "
        "N'银行存款', 1, 0, 0, 0, 0)\n"
        "INSERT INTO T_Account (FAccountID, FNumber, FName, FLevel, FDetail, FCurrencyID, FIsCash, FIsBank) VALUES "
        "(1003, '1002.01', "
        "N'工商银行浦东支行', 2, 1, 1, 0, 0)\n"
        "INSERT INTO T_Account (FAccountID, FNumber, FName, FLevel, FDetail, FCurrencyID, FIsCash, FIsBank) VALUES "
        "(1004, '1002.02', "
        "N'中国银行美元户', 2, 1, 2, 0, 0)\n"
        "UPDATE AIS_GLAcct SET FZ8InterID = 1001 WHERE FAcctID = '1001'\n"
        "UPDATE AIS_GLAcct SET FZ8InterID = 1002 WHERE FAcctID = '1002'\n"
        "UPDATE AIS_GLAcct SET FZ8InterID = 1003 WHERE FAcctID = '100201'\n"
        "UPDATE AIS_GLAcct SET FZ8InterID = 1004 WHERE FAcctID = '100202'\n"
        "UPDATE AIS_GLCy SET FZ8InterID = 1 WHERE FCyID = 'RMB'\n"
        "UPDATE AIS_GLCy SET FZ8InterID = 2 WHERE FCyID = 'USD'\n"
        "UPDATE AIS_GLCy SET FZ8InterID = 3 WHERE FCyID = 'HKD'\n"));
}

QString CashierFixture::cashierAccount(int accountId, int currencyId) {
    return targetValue(
        QStringLiteral("SELECT FID FROM cn_Account WHERE FKmID = %1 AND FBbID = %2").arg(accountId).arg(currencyId));
}
