// Phases of the fixed-asset step that convert nothing yet: each reports done
// so the phases before them can run end to end.
#include "upgrade/assets/clsEboFa.h"

int clsEboFa::UpgradeFAAlterData(FaRun &) { return FaDone; }
int clsEboFa::UpgradeFAAlterCards(FaRun &) { return FaDone; }
int clsEboFa::UpgradeFABalanceData(FaRun &) { return FaDone; }
bool clsEboFa::UpdateFAAllocation(FaRun &) { return true; }
bool clsEboFa::AdjustFADeprPeriods(FaRun &) { return true; }
int clsEboFa::ReportFACards(FaRun &) { return FaDone; }
