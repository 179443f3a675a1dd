#include "kit/AccountsServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "accounts/CXRAc.h"
#include "foundation/Globals.h"
#include "foundation/ServerComponent.h"
#include "platform/PnwReg.h"
#include "upgrade/common/UpgradeGlobals.h"

namespace {

void copyTree(const QString &from, const QString &to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}

}  // namespace

AccountsServer::AccountsServer() {
    QDir().mkpath(dbFolder());
    setEnvironment("CommonProgramFiles", path() + QStringLiteral("/common"));

    copyTree(QStringLiteral(PNW_SOURCE_DIR "/standin/product"), productFolder());
    QDir().mkpath(productFolder() + QStringLiteral("/Advance"));
    QFile::copy(QStringLiteral(PNW_BINARY_DIR "/samples/standard/system.mda"),
                productFolder() + QStringLiteral("/Advance/system_VEQ75.mda"));
    PnwReg reg;
    reg.SetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\VEQPRODUCT"), QStringLiteral("Version"),
                    QStringLiteral("14.1"));
    reg.SetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\VEQPRODUCT"), QStringLiteral("Path"),
                    productFolder());
    reg.SetMultiStringValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Microsoft SQL Server"),
                            QStringLiteral("InstalledInstances"), {QStringLiteral("MSSQLSERVER")});
    reg.SetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SoftWare\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon"),
                    QStringLiteral("DefaultDomainName"), QStringLiteral("VeqServer"));

    g_InstalledVersion = QStringLiteral("14.1");
    g_MinServerVersion = QStringLiteral("13.0");
    g_ConnectStringTemplate = connectionString(QStringLiteral("[AcctNo]"));
    g_ServerUser = QStringLiteral("sa");
    g_ServerPassword = QStringLiteral("pw");
    ResetRunState();
    ReleaseServerComponent();
    InstallServerAdministration();
}

AccountsServer::~AccountsServer() {
    ReleaseServerComponent();
    ResetUpgradeGlobals();
}
