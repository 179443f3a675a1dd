// What the base-data phases ask the operator, through hooks that the
// wizard points at its dialogs (the business-unit dialog, the measure-unit
// dialog) and that tests answer with scripted choices. The defaults answer
// as an operator who leaves each dialog without choosing would.
// UI thread only.
#pragma once

#include <functional>

#include <QString>

#include "platform/PnwList.h"

// The operator's decision about the business units the usage left open.
struct BusinessUnitChoice {
    PnwList customers;  // node records to create as customers
    PnwList suppliers;  // node records to create as suppliers
    QString warning;    // "" unless units were made both kinds by default
};
using BusinessUnitAsker = std::function<BusinessUnitChoice(const PnwList &undecided)>;
// Default: every undecided unit becomes both customer and supplier, with
// the warning the dialog gives when it is closed without a choice.
BusinessUnitAsker &BusinessUnitAskerHook();

// records: one PnwDictionary per quantity account without a unit (FAcctID,
// FAcctName, FUnit, FUnitName). True when the operator confirmed; each
// record's FUnit then holds the chosen FMeasureUnitID. Default: not
// confirmed (no unit is chosen until the operator picks one).
using QuantityUnitAsker = std::function<bool(PnwList &records)>;
QuantityUnitAsker &QuantityUnitAskerHook();

// Both hooks back to their defaults (tests).
void ResetBaseDataAskers();
