// Reaches the base-data step's checks and phases one by one in tests.
#pragma once

#include "foundation/Globals.h"
#include "upgrade/base/clsBaseSys.h"

class clsBaseSysTestAccess {
public:
    clsBaseSys step;
    clsDataInfo data;
    QString cs() const { return g_TargetConnectString; }

    bool CheckAccountPeriod() { return step.CheckAccountPeriod(data, cs()); }
    bool CheckUser() { return step.CheckUser(data, cs()); }
    bool CheckTransAccounts() { return step.CheckTransAccounts(data, cs()); }
    bool CheckAccountNameQuote() { return step.CheckAccountNameQuote(data, cs()); }
    bool CheckGLAccountLength() { return step.CheckGLAccountLength(data, cs()); }
    bool CheckSubledgerNature() { return step.CheckSubledgerNature(data, cs()); }
    bool CheckSubledger() { return step.CheckSubledger(data, cs()); }
    bool CheckDepartment() { return step.CheckDepartment(data, cs()); }
    bool CheckCustomizeItem() { return step.CheckCustomizeItem(data, cs()); }

    int UpgradeOptions() {
        return step.UpgradeOptions(data, cs(), startYear, yearBeginMonth, yearBeginDay, periodByMonth, periodsPerYear,
                                   daysPerPeriod, currentPeriod, baseCurrency);
    }
    // The outputs of UpgradeOptions (-7 / "unset" until it succeeds).
    int startYear = -7, yearBeginMonth = -7, yearBeginDay = -7, periodByMonth = -7, periodsPerYear = -7,
        daysPerPeriod = -7, currentPeriod = -7;
    QString baseCurrency = QStringLiteral("unset");

    int UpgradePeriods(int startYear, int periodsPerYear, int mode, int beginMonth, int beginDay, int days) {
        return step.UpgradePeriods(startYear, periodsPerYear, mode, beginMonth, beginDay, days, data, cs());
    }
    int UpgradeUsers() { return step.UpgradeUsers(data, cs()); }
    int UpgradeCurrency(int currentPeriod, const QString &base) {
        return step.UpgradeCurrency(data, cs(), currentPeriod, base);
    }
    int UpgradeVoucherGroups() { return step.UpgradeVoucherGroups(data, cs()); }
    int UpgradeVoucherExplanations() { return step.UpgradeVoucherExplanations(data, cs()); }
    int UpgradeSettlements() { return step.UpgradeSettlements(data, cs()); }
    bool SetIntelTransferDefaults(QString &errorText) {
        return step.SetIntelTransferDefaults(data, cs(), nullptr, nullptr, errorText);
    }

    int UpgradeMeteringUnit() { return step.UpgradeMeteringUnit(data, cs()); }
    int UpgradeEmpGroups() { return step.UpgradeEmpGroups(data, cs()); }
    int UpgradeDuties() { return step.UpgradeDuties(data, cs()); }
    int UpgradeDegrees() { return step.UpgradeDegrees(data, cs()); }
    int RepairItemFullPath() { return step.RepairItemFullPath(data, cs()); }
    int UpgradeBusinessUnits() { return step.UpgradeBusinessUnits(data, cs()); }
    int UpgradeDepartment() { return step.UpgradeDepartment(data, cs()); }
    int UpgradeEmployee() { return step.UpgradeEmployee(data, cs()); }
    int UpgradeCustomItems() { return step.UpgradeCustomItems(data, cs()); }
    int UpgradeAccounts() { return step.UpgradeAccounts(data, cs(), nullptr, nullptr); }
};
