// The shared connection holder of the account tools: two held connections
// (the account-control database and a server connection whose default
// database callers switch) and helpers that read a database's version.
// Nothing in the wizard creates one; the account-set tools may. Failures of
// GetConnection and GetDBVersion are reported to the day's text log
// ("错误位于：..." and "描述：...") and give no connection or "". UI thread only.
#pragma once

#include <memory>

#include <QString>
#include <QVariant>

#include "platform/ado/Connection.h"

class CAcctCnnSharp {
public:
    CAcctCnnSharp() = default;
    CAcctCnnSharp(const CAcctCnnSharp &) = delete;
    CAcctCnnSharp &operator=(const CAcctCnnSharp &) = delete;

    // The two held connections (none until a holder of the tools sets them).
    std::shared_ptr<ado::Connection> CnnAcctCtl() const { return m_acctCtl; }
    std::shared_ptr<ado::Connection> DBServerConnection() const { return m_server; }
    void setConnections(std::shared_ptr<ado::Connection> acctCtl, std::shared_ptr<ado::Connection> server);
    bool IsConnected() const { return m_connected; }

    // A new connection to master through the integrated login; failures
    // reach the caller (ado::AdoError).
    std::shared_ptr<ado::Connection> CnnMaster() const;
    // The server connection with strDBName as its database; none on failure.
    std::shared_ptr<ado::Connection> GetConnection(const QString &strDBName);
    // The cached item of a category; the stand-in cache holds none, so the
    // default comes back.
    QVariant GetGlobalValue(const QString &strPropName, const QString &strCategory, const QVariant &vDefault,
                            bool bIsItObject) const;
    // The database's service-pack level (t_SystemProfile Base/ServicePack),
    // "" when it has none or on failure.
    QString GetDBVersion(const QString &strDBName);
    // True when the database's Base/VEQVersion is "8.0".
    bool IsVantoraDB(const QString &strDBName);
    // True when the server connection can switch to strDBName; the previous
    // database is restored either way.
    bool IsExistsDB(const QString &strDBName);

private:
    // Reopens the server connection on a database.
    void reopenOn(const QString &strDBName);
    static void reportError(const QString &member, const QString &strDBName, const std::exception &e);

    std::shared_ptr<ado::Connection> m_acctCtl;
    std::shared_ptr<ado::Connection> m_server;
    bool m_connected = false;
};
