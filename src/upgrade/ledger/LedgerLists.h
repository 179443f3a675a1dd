// Program-wide lists that the general-ledger check fills and the upgrade of
// the same run of the program reads. Nothing empties them: a later check run
// only adds keys. UI thread only.
#pragma once

#include "platform/PnwDictionary.h"

// Source account codes whose transaction history carries business units
// while the account carries none and is no customer account: their opening
// transactions are booked without item detail. Values are 1.
extern PnwDictionary g_TransClearAccounts;
// Items of rate-adjustment history whose item no longer exists, keyed
// "<FClsID> <FObjID>": their history is not converted. Values are 1.
extern PnwDictionary g_RateAdjustSkipList;
