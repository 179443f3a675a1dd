// The services of other layers that the wizard calls, each as one
// replaceable function. The program connects them at start-up (upgrade log
// and reports, server configuration, server component, account registry);
// until then each does nothing, or the least that keeps the wizard usable,
// as its comment says. Tests install their own. UI thread only.
#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

// One row of the account registry, as the settings page judges it.
struct RegisteredAccount {
    QString number;  // FAcctNumber
    QString name;    // FAcctName
};

namespace WizardHooks {

// ---- Upgrade log and reports. Defaults do nothing; the paths are "".
// A fresh log table at the start of a run.
extern std::function<void()> InitUpgradeLog;
// One log entry (status 0 success, 1 warning, 2 error), without detail table.
// The writer hands the line on through ShowUpgradeLogLine (wizard/frmMain.h).
extern std::function<void(const QString &project, const QString &description, const QString &detail, int status)>
    WriteUpgradeLog;
// The run's HTML report, written at the end of every run.
extern std::function<void(const QString &title)> WriteHtmlReport;
// Shows a report scrolled to an anchor.
extern std::function<void(const QString &path, const QString &anchor)> OpenReport;
// The last check report and the last upgrade report ("" when none).
extern std::function<QString()> CheckReportPath;
extern std::function<QString()> UpgradeReportPath;

// ---- Server configuration. Default: "" (no template), user and password
// left as they are.
extern std::function<QString(QString &user, QString &password)> GetServerConnectionTemplate;

// ---- The server component. Defaults: no account set exists, deleting
// deletes nothing, and a connection string is g_ConnectStringTemplate with
// the account number for "[AcctNo]".
extern std::function<bool(const QString &acctNum)> ExistAcct;
extern std::function<bool(const QString &acctNum)> DeleteAcct;
extern std::function<QString(const QString &acctNum)> GetConnectString;

// ---- Account registry and server databases, for the settings page.
// The registry rows after the purge of rows whose database is gone; no
// value when the list cannot be had (default: none, so the settings page
// reports a missing installation).
extern std::function<std::optional<QList<RegisteredAccount>>()> PurgeAndListAccounts;
// Names of the databases on the server (default: none).
extern std::function<QStringList()> ListServerDatabases;

// Puts every hook back to its default.
void ResetToDefaults();

}  // namespace WizardHooks
