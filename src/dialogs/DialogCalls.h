// Each mapping dialog run through its whole calling protocol in one call:
// created, given its input, shown modally through DialogSeam, read back and
// released. The shapes fit the steps' asker hooks. UI thread only.
#pragma once

#include <QString>
#include <QVariant>

#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"

namespace DialogCalls {

// The account natures: answer is the dialog's Data (the caller's own list
// when data holds one); true when the operator accepted with OK.
bool AskSubLedgerNatures(const QVariant &data, PnwList &answer);
// The measure units of the records (FUnit and FUnitName written into them);
// true when the operator accepted with OK.
bool AskQuantityUnits(PnwList &records);
// The kinds of the undecided business units.
void AskBusinessUnits(const PnwList &undecided, PnwList &customers, PnwList &suppliers, QString &warning);
// The data types of the new payroll items (FDataType, FItemName per item).
PnwList AskPayrollDataTypes(const ado::Recordset &items);
// The bank account numbers (FYHZH, FKMID, FBB per account); true when the
// operator accepted with OK.
bool AskBankAccounts(const ado::Recordset &accounts, PnwList &returndata);

}  // namespace DialogCalls
