// Phases not converted yet: they convert nothing and report nothing.
#include "upgrade/ledger/clsEboGL.h"

int clsEboGL::UpgradeProfitAndLoss(StepKit &) { return 0; }
int clsEboGL::UpgradeExRateAdjustment(StepKit &) { return 0; }
int clsEboGL::UpgradeTransaction(StepKit &) { return 0; }
