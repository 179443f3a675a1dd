// A database server for the foundation tests: a temporary instance folder
// (login sa / "pw") reached as "Data Source=." with the account-control
// database AcctCtl made from the stand-in installation's script, the data
// folder and the registry store in the same temporary folder, and
// g_AcctCtlConnectString pointing at AcctCtl. Restores everything it
// changed when it ends.
#pragma once

#include <ostream>

#include <QString>
#include <QTemporaryDir>

// Readable QString values in test failures.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

class LogServer {
public:
    LogServer();
    ~LogServer();
    LogServer(const LogServer &) = delete;
    LogServer &operator=(const LogServer &) = delete;

    QString connectionString(const QString &database) const;
    QString acctCtl() const { return connectionString(QStringLiteral("AcctCtl")); }
    QString path() const { return m_dir.path(); }
    QString instanceFolder() const;

    // Runs a batch on a database as sa; "" or the first error's text.
    QString run(const QString &database, const QString &sql) const;
    // Rows of the first result set as tab-joined text, one line per row.
    QStringList rows(const QString &database, const QString &sql) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previousInstance;
};
