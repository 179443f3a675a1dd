#include "AdoTestServer.h"

#include <QDir>

#include "platform/ado/InstanceLocator.h"
#include "server/Instance.h"
#include "server/Session.h"

AdoTestServer::AdoTestServer() {
    previous_ = qgetenv(ado::kInstanceDirVariable);
    QDir(dir_.path()).mkdir(QStringLiteral("MSSQLSERVER"));
    server::Instance::create(folder().toStdString(), "sa", "pw");
    qputenv(ado::kInstanceDirVariable, folder().toLocal8Bit());
    auto inst = server::Instance::open(folder().toStdString());
    server::Session admin(inst, "sa", "pw", "master");
    admin.execute("CREATE DATABASE Acct");
}

AdoTestServer::~AdoTestServer() {
    server::Instance::release(folder().toStdString());
    if (previous_.isEmpty())
        qunsetenv(ado::kInstanceDirVariable);
    else
        qputenv(ado::kInstanceDirVariable, previous_);
}

QString AdoTestServer::folder() const { return dir_.path() + QStringLiteral("/MSSQLSERVER"); }

QString AdoTestServer::connectionString(const QString &database) const {
    return QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=%1;User ID=sa;Password=pw").arg(database);
}
