#include "kit/StandinServer.h"

#include <QDateTime>

#include "StandinLayout.h"
#include "foundation/Globals.h"
#include "kit/TestServer.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformSettings.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "server/Instance.h"
#include "support/ScriptFile.h"

StandinServer::StandinServer()
    : m_server(std::make_unique<TestServer>(std::initializer_list<const char *>{"AcctCtl"},
                                            TestServer::Reach::AsDefaultInstance)),
      m_instanceFolder(QString::fromStdString(m_server->folder())), m_dataFolder(path() + QStringLiteral("/data")),
      m_user(QStringLiteral("sa")), m_password(QStringLiteral("pw")) {
    PlatformSettings::setDataFolder(m_dataFolder);
    PlatformSettings::setRegistryFile(path() + QStringLiteral("/registry.txt"));
    PlatformSettings::setAnsiCodePage(936);
    runScript(QStringLiteral("AcctCtl"), QStringLiteral(PNW_SOURCE_DIR "/standin/acctctl/acctctl.sql"));
    g_AcctCtlConnectString = acctCtl();
}

StandinServer::StandinServer(StandinOptions options) {
    options.folder = (path() + QStringLiteral("/installation")).toStdString();
    m_user = QString::fromStdString(options.login);
    m_password = QString::fromStdString(options.password);
    const StandinLayout::Result layout = StandinLayout::run(options);
    for (const auto &[name, value] : layout.environment) setEnvironment(name.c_str(), QString::fromStdString(value));
    PlatformSettings::resetToEnvironment();
    m_instanceFolder = QString::fromStdString(layout.instanceFolder);
    m_dataFolder = QString::fromStdString(layout.dataFolder);
    m_problems = layout.problems;
}

StandinServer::~StandinServer() {
    ResetProgramState();
    PlatformClock::setFixedNow(QDateTime());
    for (auto it = m_savedEnvironment.crbegin(); it != m_savedEnvironment.crend(); ++it) {
        if (it->second.isEmpty())
            qunsetenv(it->first.constData());
        else
            qputenv(it->first.constData(), it->second);
    }
    PlatformSettings::resetToEnvironment();
}

QString StandinServer::path() const { return m_server ? m_server->path() : m_dir.path(); }

QString StandinServer::connectionString(const QString &database) const {
    return QStringLiteral("Provider=SQLOLEDB.1;User ID=%1;Password=%2;Data Source=.;Initial Catalog=%3")
        .arg(m_user, m_password, database);
}

QString StandinServer::run(const QString &database, const QString &sql) const {
    try {
        ado::Connection c;
        c.Open(connectionString(database));
        c.Execute(sql);
        return QString();
    } catch (const ado::AdoError &e) {
        return e.description();
    }
}

QStringList StandinServer::rows(const QString &database, const QString &sql) const {
    QStringList out;
    try {
        ado::Connection c;
        c.Open(connectionString(database));
        ado::Recordset rs = c.Execute(sql);
        if (rs.State() != 1) return out;
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList cells;
            for (int i = 0; i < rs.fieldCount(); ++i) cells.append(rs.Fields(i).Value.toString());
            out.append(cells.join(QLatin1Char('\t')));
        }
    } catch (const ado::AdoError &e) {
        out.append(QStringLiteral("<error> ") + e.description());
    }
    return out;
}

QString StandinServer::value(const QString &database, const QString &sql) const {
    const QStringList r = rows(database, sql);
    return r.isEmpty() ? QStringLiteral("<none>") : r.first();
}

bool StandinServer::databaseExists(const QString &name) const {
    return !rows(QStringLiteral("master"),
                 QStringLiteral("select name from master.dbo.sysdatabases where name='%1'").arg(name))
                .isEmpty();
}

QString StandinServer::runScript(const QString &database, const QString &file) const {
    for (const QString &batch : ScriptFileBatches(file)) {
        const QString error = run(database, batch);
        if (!error.isEmpty()) return error;
    }
    return QString();
}

QString StandinServer::createMainLogTable() const {
    return run(QStringLiteral("AcctCtl"),
               QStringLiteral("create table [AIS_UpgradeLog_Main]\r\n"
                              "(FID int identity,FStatus nvarchar(10),FTime nvarchar(40),FProject nvarchar(50),"
                              "FDescription nvarchar(4000),\r\nFDetail nvarchar(500),FLink nvarchar(50))"));
}

void StandinServer::setServerSetting(const QString &key, const QString &value) const {
    server::Instance::open(m_instanceFolder.toStdString())->setSetting(key.toStdString(), value.toStdString());
}

void StandinServer::setEnvironment(const char *name, const QString &value) {
    m_savedEnvironment.append({QByteArray(name), qgetenv(name)});
    qputenv(name, value.toLocal8Bit());
}
