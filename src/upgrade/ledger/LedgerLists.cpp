#include "upgrade/ledger/LedgerLists.h"

PnwDictionary g_TransClearAccounts;
PnwDictionary g_RateAdjustSkipList;
