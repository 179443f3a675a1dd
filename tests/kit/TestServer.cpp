#include "kit/TestServer.h"

#include <QDir>
#include <QFile>

#include "platform/ado/InstanceLocator.h"

TestServer::TestServer(std::initializer_list<const char *> databases, Reach reach) {
    // Other users may pass through to the instance: a test runs the client
    // tool without root's rights on it.
    QFile::setPermissions(m_dir.path(),
                          QFile::permissions(m_dir.path()) | QFileDevice::ExeGroup | QFileDevice::ExeOther);
    QDir(m_dir.path()).mkdir(QStringLiteral("MSSQLSERVER"));
    server::Instance::create(folder(), "sa", "pw");
    instance = server::Instance::open(folder());
    {
        server::Session admin(instance, "sa", "pw", "master");
        for (const char *database : databases) {
            if (m_firstDatabase.empty()) m_firstDatabase = database;
            auto r = admin.execute(std::string("CREATE DATABASE ") + database);
            if (!r.ok()) throw r.errors.front();
        }
    }
    if (reach == Reach::AsDefaultInstance) {
        m_reachable = true;
        m_previousInstance = qgetenv(ado::kInstanceDirVariable);
        qputenv(ado::kInstanceDirVariable, QByteArray::fromStdString(folder()));
    }
}

TestServer::~TestServer() {
    instance.reset();
    server::Instance::release(folder());
    if (!m_reachable) return;
    if (m_previousInstance.isEmpty())
        qunsetenv(ado::kInstanceDirVariable);
    else
        qputenv(ado::kInstanceDirVariable, m_previousInstance);
}

std::unique_ptr<server::Session> TestServer::connect(const std::string &database) {
    return std::make_unique<server::Session>(instance, "sa", "pw", database.empty() ? m_firstDatabase : database);
}

QString TestServer::execute(const std::string &database, const std::string &sql) const {
    server::Session session(instance, "sa", "pw", database);
    server::BatchResult r = session.execute(sql);
    return r.errors.empty() ? QString() : QString::fromStdString(r.errors.front().text());
}

QString TestServer::connectionString(const QString &database) const {
    return QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=%1;User ID=sa;Password=pw")
        .arg(database.isEmpty() ? QString::fromStdString(m_firstDatabase) : database);
}
