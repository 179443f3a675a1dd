// Phases not converted yet: they convert nothing and report nothing.
#include "upgrade/ledger/clsEboGL.h"

int clsEboGL::UpgradeTransaction(StepKit &) { return 0; }
