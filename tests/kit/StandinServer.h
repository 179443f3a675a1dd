// The stand-in server as the program reaches it, in a temporary folder, and
// the program-wide state a test leaves behind put back when it ends
// (ResetProgramState, the platform settings back to the environment, no
// fixed clock, every environment variable it set restored). Either
//  - bare: an instance (login sa / "pw") reached as "Data Source=.", the
//    account-control database AcctCtl made from the stand-in script and
//    g_AcctCtlConnectString pointing at it, the data folder and registry
//    store in the same folder, code page 936; or
//  - laid out: the whole installation the stand-in layout tool lays out
//    (product folder, configuration file, base account set's backups), its
//    environment in place; what could not be laid out is in problems().
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "StandinOptions.h"
#include "support/QStringPrint.h"

class TestServer;

class StandinServer {
public:
    StandinServer();
    // Lays the installation out in <path>/installation (options.folder is
    // set here).
    explicit StandinServer(StandinOptions options);
    ~StandinServer();
    StandinServer(const StandinServer &) = delete;
    StandinServer &operator=(const StandinServer &) = delete;

    // The temporary folder everything of the test goes into.
    QString path() const;
    QString instanceFolder() const { return m_instanceFolder; }
    // The program's data folder.
    QString dataFolder() const { return m_dataFolder; }

    QString connectionString(const QString &database) const;
    QString acctCtl() const { return connectionString(QStringLiteral("AcctCtl")); }

    // Runs a batch through ADO with the installation's login; "" or the
    // error's text.
    QString run(const QString &database, const QString &sql) const;
    // Rows of the first result set, cells joined by tabs; an error gives
    // the one row "<error> " + its text.
    QStringList rows(const QString &database, const QString &sql) const;
    // The first cell of the first row, "<none>" without a row.
    QString value(const QString &database, const QString &sql) const;
    bool databaseExists(const QString &name) const;
    // Runs a script file of batches ended by "go" lines (UTF-8).
    QString runScript(const QString &database, const QString &file) const;
    // Makes the run's main log table AIS_UpgradeLog_Main in AcctCtl with
    // plain DDL, for tests that must not depend on the procedural batches.
    QString createMainLogTable() const;

    // A server setting ("version" the @@VERSION text, "providers" the OLE DB
    // providers, ";"-separated).
    void setServerSetting(const QString &key, const QString &value) const;
    // Sets an environment variable until the test ends.
    void setEnvironment(const char *name, const QString &value);

    // What the layout tool could not do (laid out only).
    const std::vector<std::string> &problems() const { return m_problems; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TestServer> m_server;  // bare only
    QString m_instanceFolder, m_dataFolder, m_user, m_password;
    std::vector<std::string> m_problems;
    QList<QPair<QByteArray, QByteArray>> m_savedEnvironment;  // name, previous value
};
