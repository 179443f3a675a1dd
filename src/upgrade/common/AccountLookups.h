// Lookups shared by the base-data and general-ledger steps: target accounts
// by dotted number, source account names, the split of an undotted source
// account code into the target's dotted number, the start and current year
// and period of either account set, and the target's standard voucher
// group. None raises: failures give the stated sentinel. UI thread only.
#pragma once

#include <QString>

#include "platform/PnwDictionary.h"

class clsDataInfo;

// What ParseAccountNumber makes of a source account code.
struct AccountNumberInfo {
    QString number;    // dotted target number ("" after a failure)
    int parentID = 0;  // T_Account.FAccountID of the parent's number, 0 for none
    int rootID = 0;    // T_Account.FAccountID of the first-level account, 0 for none
    QString fullName;  // the source names of the levels joined by "_"
};

// FAccountID of the target account with that dotted number; 0 for none.
int GetAccountIDByNumber(clsDataInfo &dataInfo, const QString &connectString, const QString &number);
// The staged source account's name; "" for none.
QString GetSourceAccountName(clsDataInfo &dataInfo, const QString &connectString, const QString &code);
// T_Account.FMeasureUnitID of an account; 0 for none.
int GetAccountDefaultUnit(clsDataInfo &dataInfo, const QString &connectString, int accountID);

// Splits an undotted code by the level lengths (keyed "1", "2", ...). A code
// that ends inside a level gives number "", both IDs 0 and the names of the
// levels completed so far.
AccountNumberInfo ParseAccountNumber(int levelCount, const PnwDictionary &levelLengths, const QString &code,
                                     clsDataInfo &dataInfo, const QString &connectString);

// source 1 reads the target's GL profile, any other value the staged source
// options. 0 when there is no value or it is no number.
int GetStartYear(clsDataInfo &dataInfo, const QString &connectString, int source);
int GetCurrentYear(clsDataInfo &dataInfo, const QString &connectString, int source);
int GetStartPeriod(clsDataInfo &dataInfo, const QString &connectString, int source);
int GetCurrentPeriod(clsDataInfo &dataInfo, const QString &connectString, int source);

// Loads the target's group with FStandard = 1 into groupID and groupName;
// both unchanged when there is none.
void GetStandardVoucherGroup(clsDataInfo &dataInfo, const QString &connectString, int &groupID, QString &groupName);
