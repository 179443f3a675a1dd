#include "LogServer.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include "foundation/Globals.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformSettings.h"
#include "platform/ado/Connection.h"
#include "platform/ado/InstanceLocator.h"
#include "server/Instance.h"
#include "server/Session.h"
#include "support/ScriptFile.h"

LogServer::LogServer() {
    m_previousInstance = qgetenv(ado::kInstanceDirVariable);
    QDir(m_dir.path()).mkdir(QStringLiteral("MSSQLSERVER"));
    server::Instance::create(instanceFolder().toStdString(), "sa", "pw");
    qputenv(ado::kInstanceDirVariable, instanceFolder().toLocal8Bit());
    PlatformSettings::setDataFolder(m_dir.path() + QStringLiteral("/data"));
    PlatformSettings::setRegistryFile(m_dir.path() + QStringLiteral("/registry.txt"));
    PlatformSettings::setAnsiCodePage(936);
    run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE AcctCtl"));
    for (const QString &batch : ScriptFileBatches(QStringLiteral(PNW_SOURCE_DIR "/standin/acctctl/acctctl.sql")))
        run(QStringLiteral("AcctCtl"), batch);
    g_AcctCtlConnectString = acctCtl();
}

LogServer::~LogServer() {
    g_AcctCtlConnectString.clear();
    g_InstalledVersion.clear();
    g_WizardStep = 0;
    g_CurrentModule = 0;
    PlatformSettings::resetToEnvironment();
    PlatformClock::setFixedNow(QDateTime());
    if (m_previousInstance.isEmpty())
        qunsetenv(ado::kInstanceDirVariable);
    else
        qputenv(ado::kInstanceDirVariable, m_previousInstance);
}

QString LogServer::instanceFolder() const { return m_dir.path() + QStringLiteral("/MSSQLSERVER"); }

QString LogServer::connectionString(const QString &database) const {
    return QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=%1;User ID=sa;Password=pw").arg(database);
}

QString LogServer::run(const QString &database, const QString &sql) const {
    auto instance = server::Instance::open(instanceFolder().toStdString());
    server::Session session(instance, "sa", "pw", database.toStdString());
    server::BatchResult r = session.execute(sql.toStdString());
    return r.errors.empty() ? QString() : QString::fromStdString(r.errors.front().text());
}

QStringList LogServer::rows(const QString &database, const QString &sql) const {
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
