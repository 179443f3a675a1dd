#include "wizard/WizardHooks.h"

#include "foundation/Globals.h"

namespace WizardHooks {

std::function<void()> InitUpgradeLog;
std::function<void(const QString &, const QString &, const QString &, int)> WriteUpgradeLog;
std::function<void(const QString &)> WriteHtmlReport;
std::function<void(const QString &, const QString &)> OpenReport;
std::function<QString()> CheckReportPath;
std::function<QString()> UpgradeReportPath;
std::function<QString(QString &, QString &)> GetServerConnectionTemplate;
std::function<bool(const QString &)> ExistAcct;
std::function<bool(const QString &)> DeleteAcct;
std::function<QString(const QString &)> GetConnectString;
std::function<std::optional<QList<RegisteredAccount>>()> PurgeAndListAccounts;
std::function<QStringList()> ListServerDatabases;

void ResetToDefaults() {
    InitUpgradeLog = [] {};
    WriteUpgradeLog = [](const QString &, const QString &, const QString &, int) {};
    WriteHtmlReport = [](const QString &) {};
    OpenReport = [](const QString &, const QString &) {};
    CheckReportPath = [] { return QString(); };
    UpgradeReportPath = [] { return QString(); };
    GetServerConnectionTemplate = [](QString &, QString &) { return QString(); };
    ExistAcct = [](const QString &) { return false; };
    DeleteAcct = [](const QString &) { return false; };
    GetConnectString = [](const QString &acctNum) {
        return QString(g_ConnectStringTemplate).replace(QStringLiteral("[AcctNo]"), acctNum);
    };
    PurgeAndListAccounts = []() -> std::optional<QList<RegisteredAccount>> { return std::nullopt; };
    ListServerDatabases = [] { return QStringList(); };
}

namespace {
const bool initialised = (ResetToDefaults(), true);
}  // namespace

}  // namespace WizardHooks
