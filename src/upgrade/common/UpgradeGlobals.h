// Program-wide state that the upgrade steps share: the source's account
// structure and the natures of its business-unit accounts (filled by the
// base-data check), the periods per year (filled by the options phase) and
// the general-ledger check's lists. Lives for one run of the program; the
// upgrade of a run reads what the check of the same run left. UI thread only.
#pragma once

#include "platform/PnwDictionary.h"

// Number of levels of the source's account codes (0 until checked).
extern int g_AcctLevelCount;
// Code length of each level alone, keyed "1".."10" (empty until checked).
extern PnwDictionary g_AcctLevelLengths;
// Account code -> nature: 0 customer, 1 supplier only, 2 both (empty until
// the operator confirmed the account-nature dialog).
extern PnwDictionary g_SubLedgerNatures;
// Periods per year of the source options (0 until the options phase ran).
extern int g_PeriodsPerYear;
// Lists the general-ledger check leaves for its upgrade.
extern PnwDictionary g_TransClearAccounts;
extern PnwDictionary g_RateAdjustSkipList;

// Back to the start values (a new run of the program; tests).
void ResetUpgradeGlobals();
