#include "upgrade/common/UpgradeGlobals.h"

int g_AcctLevelCount = 0;
PnwDictionary g_AcctLevelLengths;
PnwDictionary g_SubLedgerNatures;
int g_PeriodsPerYear = 0;
PnwDictionary g_TransClearAccounts;
PnwDictionary g_RateAdjustSkipList;

void ResetUpgradeGlobals() {
    g_AcctLevelCount = 0;
    g_AcctLevelLengths = PnwDictionary();
    g_SubLedgerNatures = PnwDictionary();
    g_PeriodsPerYear = 0;
    g_TransClearAccounts = PnwDictionary();
    g_RateAdjustSkipList = PnwDictionary();
}
