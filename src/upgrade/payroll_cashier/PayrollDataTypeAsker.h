// How the payroll step asks the operator for the data types of its new pay
// items. The asker gets the items (fields FitemName and FIsPayrollData) and
// returns one record per item in order, with the keys "FItemName" and
// "FDataType" (11 logic, 135 date, 200 text, 3 integer, 5 real, 6 money).
// AskPayrollDataTypesInDialog shows the data-type dialog; until an asker is
// installed the items get what the dialog shows before the operator changes anything
// (text for items that are not payroll figures; money for the others, which
// the dialog gives to a row left without a choice). Tests install scripted
// answers. UI thread only.
#pragma once

#include <functional>

#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"

using PayrollDataTypeAsker = std::function<PnwList(ado::Recordset &items)>;

// Installs an asker (an empty one restores the default) and returns the
// previous one.
PayrollDataTypeAsker SetPayrollDataTypeAsker(PayrollDataTypeAsker asker);
// Asks the installed asker.
PnwList AskPayrollDataTypes(ado::Recordset &items);
// The default answer described above.
PnwList DefaultPayrollDataTypes(ado::Recordset &items);
// The operator's answer: the data-type dialog shown modally (through the
// dialog seam) with the items; its rows once it closes. The window and the
// runner install it; until one does, the default answers.
PnwList AskPayrollDataTypesInDialog(ado::Recordset &items);
