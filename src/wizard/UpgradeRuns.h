// The wizard's two runs, apart from the pages that show them: the data
// check (account creation, then every module's check) and the upgrade
// (every module's conversion, each on its own bar). Both go through the one
// stage registry, write the run's log and its report, and report usage; a
// run's result is how it ended, never the last log line. The pages and the
// headless runner call these. UI thread only.
#pragma once

#include <array>
#include <functional>

#include <QString>

#include "wizard/RunOutcome.h"

class ProgressBar;
class QLabel;

// Bars of the upgrade run: 0 account creation (unused), 1 base data,
// 2 general ledger, 3 fixed assets, 4 payroll, 5 cashier.
using UpgradeBars = std::array<ProgressBar *, 6>;

// Told after each stage of a run: its step code, its result (0, 1, 2) and
// the seconds it took. The runner prints it; the pages need none.
using StageObserver = std::function<void(int code, int result, double seconds)>;
// Installs the observer and returns the previous one (none: nothing told).
StageObserver SetStageObserver(StageObserver observer);

// The data check on g_UpgradeSettings, with its report. Runs only on step 2
// (g_WizardStep); NotRun otherwise.
RunOutcome RunDataCheck(ProgressBar *bar, QLabel *label);

// The upgrade of the account set the check created, with its report.
// Passed means the account set is upgraded.
RunOutcome RunUpgrade(const UpgradeBars &bars, QLabel *label);
