// Phases not converted yet: they convert nothing and report nothing.
#include "upgrade/ledger/clsEboGL.h"

int clsEboGL::UpgradeVoucherTemplate(StepKit &) { return 0; }
int clsEboGL::UpgradeAutoTransfer(StepKit &) { return 0; }
int clsEboGL::UpgradeProfitAndLoss(StepKit &) { return 0; }
int clsEboGL::UpgradeExRateAdjustment(StepKit &) { return 0; }
int clsEboGL::UpgradeTransaction(StepKit &) { return 0; }
