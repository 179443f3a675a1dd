// How the base-data check asks the operator whether the business units of
// accounts are customers or suppliers. The wizard installs the account-nature
// dialog here; tests install a scripted answer. Without one, the answer is
// what the dialog shows preselected: a name holding "应收" or "预收" marks
// customers, "应付" or "预付" suppliers (the latter wins), and an account
// left without either cannot be confirmed, which counts as the dialog closed.
#pragma once

#include <functional>

#include <QVariant>

#include "platform/PnwList.h"

// data: the records to ask about (one PnwDictionary, or a PnwList of them)
// with FAcctID, FAcctName, FIsCustomer, FIsSupplier. On confirmation the
// asker returns true and answer holds the records with the choices.
using SubLedgerNatureAsker = std::function<bool(const QVariant &data, PnwList &answer)>;

// The installed asker (the preselection when none was installed).
SubLedgerNatureAsker &SubLedgerNatureAskerHook();
// The preselection answer.
bool AcceptPreselectedNatures(const QVariant &data, PnwList &answer);
