#include "wizard/WizardServices.h"

#include "accounts/CXRAc.h"
#include "accounts/ServerDrives.h"
#include "foundation/AccountList.h"
#include "foundation/Globals.h"
#include "foundation/HtmlReport.h"
#include "foundation/ServerComponent.h"
#include "foundation/ServerConfig.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDataInfo.h"
#include "platform/PnwError.h"
#include "wizard/WizardHooks.h"
#include "wizard/frmMain.h"

void ConnectWizardServices() {
    WizardHooks::InitUpgradeLog = [] { ::InitUpgradeLog(); };
    WizardHooks::WriteUpgradeLog = [](const QString &project, const QString &description, const QString &detail,
                                      int status) { ::WriteUpgradeLog(project, description, detail, status); };
    WizardHooks::WriteHtmlReport = [](const QString &title) { ::WriteHtmlReport(title); };
    WizardHooks::OpenReport = [](const QString &path, const QString &anchor) { ::OpenReport(path, anchor); };
    WizardHooks::CheckReportPath = [] { return g_CheckReportPath; };
    WizardHooks::UpgradeReportPath = [] { return g_UpgradeReportPath; };
    WizardHooks::GetServerConnectionTemplate = [](QString &user, QString &password) {
        return ::GetServerConnectionTemplate(user, password);
    };
    WizardHooks::PurgeAndListAccounts = []() -> std::optional<QList<RegisteredAccount>> {
        std::optional<ado::Recordset> rs = ::PurgeAndListAccounts();
        if (!rs) return std::nullopt;
        QList<RegisteredAccount> accounts;
        if (rs->RecordCount() > 0) {
            for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
                accounts.append({rs->value(QStringLiteral("FAcctNumber")).toString(),
                                 rs->value(QStringLiteral("FAcctName")).toString()});
        }
        return accounts;
    };
    WizardHooks::ListServerDatabases = [] {
        QStringList names;
        QString err;
        clsDataInfo data;
        std::optional<ado::Recordset> rs =
            data.GetRs(g_AcctCtlConnectString, QStringLiteral("select name from master..sysdatabases"), true, err);
        // Without the list no number can be confirmed free: refuse, never pass.
        if (!rs)
            throw PnwError(-1, QStringLiteral("ctlSetting.ValidateSettings"),
                           QStringLiteral("不能读取服务器的数据库列表。") + err);
        if (rs->RecordCount() > 0)
            for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
                names.append(rs->value(QStringLiteral("name")).toString());
        return names;
    };
    // The drives and folders of the server; the administration class takes
    // its place once it registers its own factory.
    SetServerComponentFactory([] { return std::make_shared<ServerDrives>(); });
    SetUpgradeLogSink([](const UpgradeLogLine &line) { ShowUpgradeLogLine(line); });
    // The account set of a run lives on the server component.
    InstallServerAdministration();
    WizardHooks::ExistAcct = [](const QString &acctNum) {
        auto server = ServerAdmin();
        return server && server->ExistAcct(acctNum);
    };
    WizardHooks::DeleteAcct = [](const QString &acctNum) {
        auto server = ServerAdmin();
        return server && server->DeleteAcct(acctNum);
    };
    WizardHooks::GetConnectString = [](const QString &acctNum) {
        auto server = ServerAdmin();
        return server ? server->GetConnectString(acctNum, QString()) : QString();
    };
}
