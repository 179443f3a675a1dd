// The cashier step: its check refuses a balances-only upgrade while the
// source's current period still holds cashier rows; its upgrade decides
// whether the source used the cashier at all and then converts options,
// flags, cashier accounts, journals, statements, bank account numbers,
// opening balances, totals and the carry-forward, and in balances-only mode
// folds the journals into the opening balances. One object serves one call.
#pragma once

#include <exception>

#include <QString>

#include "accounts/interface.h"

class StepKit;

class clsCn : public interface {
public:
    // Balances-only conversion, the last phase when the settings ask for
    // balances only. 0 done, 2 failed (strErr set).
    int UpdateCNInfo(StepKit &kit, QString &strErr);

    // 0 passed, 2 failed or cancelled.
    int CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;
    // 0 done (or the module was not in use), 1 with warnings, 2 when a phase
    // failed (logged under "出纳管理"), so that the run ends as failed.
    int UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;

private:
    // The phases: 0 done, 2 failed; strErr gets the failed statement's
    // message and text.
    int UpgradeCnProfile(StepKit &kit, QString &strErr);
    int UpgradeCnJournals(StepKit &kit, QString &strErr);
    int UpgradeCnBankAccounts(StepKit &kit, QString &strErr);
    int UpgradeCnJournalBalance(StepKit &kit, QString &strErr);
    int UpgradeCnStatementBalance(StepKit &kit, QString &strErr);
    int UpgradeCnTotals(StepKit &kit, QString &strErr);

    // The in-use probe: the source used the cashier module.
    bool CashierInUse(StepKit &kit);
    // Runs one statement; on failure strErr = message + statement, false.
    bool Run(StepKit &kit, const QString &sql, const QString &message, QString &strErr);
    // Reports journal rows whose base amounts could not be converted
    // (a dividing currency with a zero or missing rate); true when none.
    bool ReportUnconvertible(StepKit &kit, const QString &sql, const QString &what);
    // Logs a warning with the rows of sql (an identifying column, a date, an
    // explanation, a currency) as its detail table; finding holds "%1" for
    // the row count. True when there is no row.
    bool ReportRows(StepKit &kit, const QString &sql, const QString &title, const QString &firstCaption,
                    const QString &finding);
    // Logs the staged rows of a journal or statement table (filter: more
    // conditions starting with AND over t1) that found no cashier account.
    void ReportUnconverted(StepKit &kit, const QString &table, const QString &what, const QString &filter);
    // Keeps a raised error's description for the driver's entry.
    void NoteRaised(const std::exception &e);

    // The description of the error last raised inside a phase, for the
    // entry of a phase that failed without a statement text.
    QString m_lastRaised;
    // A phase logged a warning of its own.
    bool m_warned = false;
};
