// The base-data step: checks the staged source's options, users, accounts
// and items in the check run, and converts options, periods, users,
// currencies, voucher groups, explanations, settlement methods, measure
// units, auxiliary lists, departments, employees, business units, custom
// item classes and the chart of accounts in the upgrade run. One object per
// call; each call makes one clsDataInfo and hands it with the connection
// string to every check and phase. Every phase logs its own results; the
// driver logs only its own statements. UI thread only.
#pragma once

#include <QString>

#include "accounts/interface.h"
#include "foundation/clsDataInfo.h"

class ProgressBar;
class QLabel;

class clsBaseSys : public interface {
public:
    int CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;
    int UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;

private:
    // Tests reach the checks and phases one by one through this class.
    friend class clsBaseSysTestAccess;

    // Checks (true: passed; false: a finding was logged or the check failed).
    bool CheckAccountPeriod(clsDataInfo &dataInfo, const QString &connectString);
    bool CheckUser(clsDataInfo &dataInfo, const QString &connectString);
    bool CheckTransAccounts(clsDataInfo &dataInfo, const QString &connectString);
    bool CheckAccountNameQuote(clsDataInfo &dataInfo, const QString &connectString);
    bool CheckGLAccountLength(clsDataInfo &dataInfo, const QString &connectString);
    bool CheckSubledgerNature(clsDataInfo &dataInfo, const QString &connectString);
    bool CheckSubledger(clsDataInfo &dataInfo, const QString &connectString);
    bool CheckDepartment(clsDataInfo &dataInfo, const QString &connectString);
    bool CheckCustomizeItem(clsDataInfo &dataInfo, const QString &connectString);

    // Phases, in the order the upgrade runs them; each returns 0 done,
    // 1 done with warnings, 2 failed.
    // 1: the options row; the outputs are set only on success.
    int UpgradeOptions(clsDataInfo &dataInfo, const QString &connectString, int &startYear, int &yearBeginMonth,
                       int &yearBeginDay, int &periodByMonth, int &periodsPerYear, int &daysPerPeriod,
                       int &currentPeriod, QString &baseCurrency);
    // 2: the accounting periods (-1 calendar months, 0 fixed days, 1 copy).
    int UpgradePeriods(int startYear, int periodsPerYear, int periodByMonth, int yearBeginMonth, int yearBeginDay,
                       int daysPerPeriod, clsDataInfo &dataInfo, const QString &connectString);
    // 3: user groups and users.
    int UpgradeUsers(clsDataInfo &dataInfo, const QString &connectString);
    // 4: currencies, the base currency moved to identifier 1.
    int UpgradeCurrency(clsDataInfo &dataInfo, const QString &connectString, int currentPeriod,
                        const QString &baseCurrency);
    // 5 is the driver's base-currency fix-up.
    // 6-8: voucher groups, voucher explanations, settlement methods.
    int UpgradeVoucherGroups(clsDataInfo &dataInfo, const QString &connectString);
    int UpgradeVoucherExplanations(clsDataInfo &dataInfo, const QString &connectString);
    int UpgradeSettlements(clsDataInfo &dataInfo, const QString &connectString);
    // 9-12 (clsBaseSysUnits.cpp): measure units, employee categories,
    // duties, degrees.
    int UpgradeMeteringUnit(clsDataInfo &dataInfo, const QString &connectString);
    int UpgradeEmpGroups(clsDataInfo &dataInfo, const QString &connectString);
    int UpgradeDuties(clsDataInfo &dataInfo, const QString &connectString);
    int UpgradeDegrees(clsDataInfo &dataInfo, const QString &connectString);
    // 13 and 16 (clsBaseSysBusinessUnits.cpp): repair of item paths, business
    // units.
    int RepairItemFullPath(clsDataInfo &dataInfo, const QString &connectString);
    int UpgradeBusinessUnits(clsDataInfo &dataInfo, const QString &connectString);
    // 14-15 (clsBaseSysDepartments.cpp): departments, employees.
    int UpgradeDepartment(clsDataInfo &dataInfo, const QString &connectString);
    int UpgradeEmployee(clsDataInfo &dataInfo, const QString &connectString);
    // 17 (clsBaseSysCustomItems.cpp): custom item classes.
    int UpgradeCustomItems(clsDataInfo &dataInfo, const QString &connectString);
    // 18 (clsBaseSysAccounts.cpp): chart of accounts.
    int UpgradeAccounts(clsDataInfo &dataInfo, const QString &connectString, ProgressBar *PoBar, QLabel *LblObject);
    // 19: the intelligent-closing defaults (from version "14.1"); false with
    // errorText on failure.
    bool SetIntelTransferDefaults(clsDataInfo &dataInfo, const QString &connectString, ProgressBar *PoBar,
                                  QLabel *LblObject, QString &errorText);

    // The start day (MMDD) of every period of the year, in date order.
    QString GetPeriodStartDays(clsDataInfo &dataInfo, const QString &connectString, int year);
};
