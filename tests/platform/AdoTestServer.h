// A server instance for ADO tests: a temporary folder with login sa / "pw"
// and the database "Acct", reached as "Data Source=." through
// PNW_SQL_INSTANCE_DIR.
#pragma once

#include <QString>
#include <QTemporaryDir>

class AdoTestServer {
public:
    AdoTestServer();
    ~AdoTestServer();
    QString connectionString(const QString &database = QStringLiteral("Acct")) const;
    QString folder() const;

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};
