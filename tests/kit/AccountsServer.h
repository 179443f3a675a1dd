// A stand-in installation for the account-creation tests: a temporary
// server instance (login sa / "pw", "Data Source=."), AcctCtl from the
// stand-in script, the product folder copied from standin/product with the
// workgroup file of the samples under Advance/, the registry values of the
// product and the program-wide state that start-up would set. Restores
// everything it changed when it ends.
#pragma once

#include <ostream>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

class AccountsServer {
public:
    AccountsServer();
    ~AccountsServer();
    AccountsServer(const AccountsServer &) = delete;
    AccountsServer &operator=(const AccountsServer &) = delete;

    QString connectionString(const QString &database) const;
    QString path() const { return m_dir.path(); }
    QString productFolder() const { return m_dir.path() + QStringLiteral("/product"); }
    QString commonFolder() const { return productFolder() + QStringLiteral("/Common/"); }
    QString dataFolder() const { return m_dir.path() + QStringLiteral("/dbdata"); }

    // Runs a batch as sa; "" or the first error's text.
    QString run(const QString &database, const QString &sql) const;
    // Rows of the first result set, cells joined by tabs.
    QStringList rows(const QString &database, const QString &sql) const;
    bool databaseExists(const QString &name) const;
    // Runs a script file of batches ended by "go" lines (UTF-8).
    QString runScript(const QString &database, const QString &file) const;

    // A server setting ("version" the @@VERSION text, "providers" the OLE DB
    // providers, ";"-separated).
    void setServerSetting(const QString &key, const QString &value) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previousInstance;
    QByteArray m_previousCommon;
};
