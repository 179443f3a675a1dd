#include "kit/AccountsServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "accounts/CXRAc.h"
#include "foundation/Globals.h"
#include "foundation/ServerComponent.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwReg.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "platform/ado/InstanceLocator.h"
#include "server/Instance.h"
#include "server/Session.h"
#include "upgrade/common/UpgradeGlobals.h"
#include "support/ScriptFile.h"

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
    m_previousInstance = qgetenv(ado::kInstanceDirVariable);
    m_previousCommon = qgetenv("CommonProgramFiles");
    const QString instance = m_dir.path() + QStringLiteral("/MSSQLSERVER");
    QDir(m_dir.path()).mkdir(QStringLiteral("MSSQLSERVER"));
    QDir(m_dir.path()).mkdir(QStringLiteral("dbdata"));
    server::Instance::create(instance.toStdString(), "sa", "pw");
    qputenv(ado::kInstanceDirVariable, instance.toLocal8Bit());
    qputenv("CommonProgramFiles", (m_dir.path() + QStringLiteral("/common")).toLocal8Bit());
    PlatformSettings::setDataFolder(m_dir.path() + QStringLiteral("/data"));
    PlatformSettings::setRegistryFile(m_dir.path() + QStringLiteral("/registry.txt"));
    PlatformSettings::setAnsiCodePage(936);

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

    run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE AcctCtl"));
    runScript(QStringLiteral("AcctCtl"), QStringLiteral(PNW_SOURCE_DIR "/standin/acctctl/acctctl.sql"));

    g_InstalledVersion = QStringLiteral("14.1");
    g_MinServerVersion = QStringLiteral("13.0");
    g_ConnectStringTemplate = connectionString(QStringLiteral("[AcctNo]"));
    g_AcctCtlConnectString = connectionString(QStringLiteral("AcctCtl"));
    g_ServerUser = QStringLiteral("sa");
    g_ServerPassword = QStringLiteral("pw");
    ResetRunState();
    ReleaseServerComponent();
    InstallServerAdministration();
}

AccountsServer::~AccountsServer() {
    ReleaseServerComponent();
    ResetProgramState();
    ResetUpgradeGlobals();
    PlatformSettings::resetToEnvironment();
    PlatformClock::setFixedNow(QDateTime());
    if (m_previousInstance.isEmpty())
        qunsetenv(ado::kInstanceDirVariable);
    else
        qputenv(ado::kInstanceDirVariable, m_previousInstance);
    if (m_previousCommon.isEmpty())
        qunsetenv("CommonProgramFiles");
    else
        qputenv("CommonProgramFiles", m_previousCommon);
}

QString AccountsServer::connectionString(const QString &database) const {
    return QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Password=pw;Data Source=.;Initial Catalog=%1").arg(database);
}

QString AccountsServer::run(const QString &database, const QString &sql) const {
    try {
        ado::Connection c;
        c.Open(connectionString(database));
        c.Execute(sql);
        return QString();
    } catch (const ado::AdoError &e) {
        return e.description();
    }
}

QString AccountsServer::runScript(const QString &database, const QString &file) const {
    for (const QString &batch : ScriptFileBatches(file)) {
        const QString error = run(database, batch);
        if (!error.isEmpty()) return error;
    }
    return QString();
}

QStringList AccountsServer::rows(const QString &database, const QString &sql) const {
    ado::Connection c;
    c.Open(connectionString(database));
    ado::Recordset rs = c.Execute(sql);
    QStringList out;
    if (rs.State() != 1) return out;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs.fieldCount(); ++i) cells.append(rs.Fields(i).Value.toString());
        out.append(cells.join(QLatin1Char('\t')));
    }
    return out;
}

bool AccountsServer::databaseExists(const QString &name) const {
    return !rows(QStringLiteral("master"),
                 QStringLiteral("select name from master.dbo.sysdatabases where name='%1'").arg(name))
                .isEmpty();
}

void AccountsServer::setServerSetting(const QString &key, const QString &value) const {
    server::Instance::open((m_dir.path() + QStringLiteral("/MSSQLSERVER")).toStdString())
        ->setSetting(key.toStdString(), value.toStdString());
}
