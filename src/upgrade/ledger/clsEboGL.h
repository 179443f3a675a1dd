// The general-ledger stage: checks the staged vouchers, balances, templates,
// auto-transfers, profit and loss, rate adjustments and transactions, and
// converts them into the new account set. Option 1 of the settings converts
// balances only. One object serves one call of CheckData or UpgradeData;
// what the upgrade needs of the check lives in program-wide lists
// (LedgerLists.h). UI thread only.
#pragma once

#include <QString>

#include "accounts/interface.h"

class StepKit;

class clsEboGL : public interface {
public:
    // 0 no findings, 1 warnings only, 2 a fatal finding or a failure.
    int CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;
    // 0 done, 1 done with warnings, 2 failed (a phase's failure is logged).
    int UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;

    // The target period of a voucher dated in a year after the source's
    // current year: the source numbers such periods on past the year's end.
    static int GetVoucherPeriod(int year, int period, int currentYear, int periodsPerYear);

private:
    // Lets the tests run one phase on a target they prepared.
    friend class LedgerPhaseProbe;

    // True when the settings ask for balances only (Option 1).
    static bool ReadBalanceOnly();

    // Checks: True passed (warnings set warned), False fatal or failed.
    bool CheckAccountPeriod(StepKit &kit, bool &warned);
    bool CheckQtyAccountPeriod(StepKit &kit, bool &warned);
    bool CheckGLTrans(StepKit &kit, bool &warned);
    bool CheckRateAdjust(StepKit &kit, bool &warned);
    bool CheckVoucherTemplateGroup(StepKit &kit, bool &warned);
    bool CheckAutoTransferGroup(StepKit &kit, bool &warned);
    bool CheckVoucherGroup(StepKit &kit, bool &warned);

    // Phases: 0 done, 1 warnings, 2 failed; each logs its own entry.
    int UpgradeVoucherTemplate(StepKit &kit);
    int UpgradeAutoTransfer(StepKit &kit);
    int UpgradeVoucher(StepKit &kit);
    int UpgradeGLBalance(StepKit &kit);
    int UpgradeProfitAndLoss(StepKit &kit);
    int UpgradeExRateAdjustment(StepKit &kit);
    int UpgradeTransaction(StepKit &kit);

    // Fills the contra account of every voucher entry; on failure appends
    // the reason to errorText and gives False.
    bool UpdateContraAccount(StepKit &kit, QString &errorText);
    // The two workers of the transactions phase.
    bool UpgradeTransInitBalance(StepKit &kit, int &count, QString &errorText);
    bool UpgradeTransCheckInfo(StepKit &kit, int &count, QString &errorText);

    bool BalanceOnly = false;
};
