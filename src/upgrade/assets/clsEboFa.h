// The fixed-asset stage: checks the staged fixed-asset tables of the source
// and converts them into the target's fixed-asset tables. One object per
// call; every phase works on one FaRun (the call's step kit and error text).
// UI thread only.
#pragma once

#include <QString>

#include "accounts/interface.h"

class StepKit;

// What the phases of one UpgradeData or CheckData call share: the kit (the
// target's connection string, the one clsDataInfo, bar and label) and the
// step's error text, which a failing phase replaces and the driver logs.
struct FaRun {
    StepKit &kit;
    QString errorText;
};

// Phase status: 0 done, 2 failed or cancelled (the driver tells them apart
// by g_CancelRequested).
enum FaStatus : int { FaDone = 0, FaFailed = 2 };

class clsEboFa : public interface {
public:
    // 0, or 2 when a fatal check failed (logged).
    int CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;
    // 0 done or cancelled, 2 failed (logged and shown).
    int UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;

    // The phases, in the order the driver may call them.
    static int UpgradeFABaseData(FaRun &run);
    static int UpgradeFAInitCards(FaRun &run);
    static int UpgradeFAAlterData(FaRun &run);
    static int UpgradeFAAlterCards(FaRun &run);
    static int UpgradeFABalanceData(FaRun &run);
    static bool UpdateFAAllocation(FaRun &run);
    static bool AdjustFADeprPeriods(FaRun &run);
    static int ReportFACards(FaRun &run);

    // The two fatal checks.
    static bool CheckFASourceTables(StepKit &kit);
    static bool CheckFAAccounts(StepKit &kit);
    // Indexes on the staged tables the checks' and phases' statements key
    // into by card number or asset id; one already there is left as it is.
    // The checks index only the fixed-asset tables (AIS_FA*): the ledger
    // makes its own indexes on the voucher table.
    static void IndexStagingCopies(StepKit &kit, bool fixedAssetTablesOnly = false);
    // True when the source staged none of the fixed-asset tables: it keeps
    // no fixed assets, and both the check and the upgrade pass over them.
    static bool NoFixedAssetTables(StepKit &kit);

private:
    // False when the cards after the current period cannot be read.
    static bool RemoveFutureCards(StepKit &kit);
    static int UpgradeFACardDetails(FaRun &run);
    // Steps of the alteration history: the period balance table and the
    // balance cards.
    static int BuildFABalances(FaRun &run);
    static int BuildFABalanceCards(FaRun &run);
};
