#include "foundation/CAcctCnnSharp.h"

#include <QStringList>

#include "foundation/ErrorText.h"
#include "foundation/TextLog.h"
#include "platform/ado/AdoError.h"

namespace {

const QString kIntegratedLogin =
    QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Data Source=.;"
                   "Initial Catalog=");

// The connection string with another database as its initial catalog.
QString withDatabase(const QString &connectionString, const QString &database) {
    QStringList kept;
    for (const QString &pair : connectionString.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = pair.section(QLatin1Char('='), 0, 0).trimmed().toLower();
        if (key != QLatin1String("initial catalog") && key != QLatin1String("database")) kept << pair;
    }
    QString value = database;
    if (value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('"')))
        value = QLatin1Char('"') + value.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    kept << QStringLiteral("Initial Catalog=") + value;
    return kept.join(QLatin1Char(';'));
}

// Makes database the connection's default database: the connection is
// reopened on it, and stays on its previous database when that fails.
void switchDatabase(ado::Connection &connection, const QString &database) {
    if (connection.State() != ado::adStateOpen) throw ado::objectClosed();
    const QString previous = connection.ConnectionString;
    connection.Close();
    try {
        connection.Open(withDatabase(previous, database));
    } catch (...) {
        connection.Open(previous);
        throw;
    }
}

QVariant firstValue(ado::Connection &connection, const QString &sql) {
    ado::Recordset rs = connection.Execute(sql);
    if (rs.State() == 0 || rs.Eof()) return QVariant();
    return rs.Fields(0).Value;
}

}  // namespace

void CAcctCnnSharp::setConnections(std::shared_ptr<ado::Connection> acctCtl, std::shared_ptr<ado::Connection> server) {
    m_acctCtl = std::move(acctCtl);
    m_server = std::move(server);
    m_connected = m_server && m_server->State() == ado::adStateOpen;
}

std::shared_ptr<ado::Connection> CAcctCnnSharp::CnnMaster() const {
    auto connection = std::make_shared<ado::Connection>();
    connection->Open(kIntegratedLogin + QStringLiteral("master"));
    return connection;
}

std::shared_ptr<ado::Connection> CAcctCnnSharp::GetConnection(const QString &strDBName) {
    try {
        if (!m_server) throw ado::objectClosed();
        switchDatabase(*m_server, strDBName);
        return m_server;
    } catch (const std::exception &e) {
        reportError(QStringLiteral("GetConnection"), strDBName, e);
        return nullptr;
    }
}

QVariant CAcctCnnSharp::GetGlobalValue(const QString &, const QString &, const QVariant &vDefault, bool) const {
    return vDefault;
}

void CAcctCnnSharp::reopenOn(const QString &strDBName) {
    if (!m_server) m_server = std::make_shared<ado::Connection>();
    if (m_server->State() == ado::adStateOpen) m_server->Close();
    m_server->Open(kIntegratedLogin + strDBName);
}

QString CAcctCnnSharp::GetDBVersion(const QString &strDBName) {
    try {
        reopenOn(strDBName);
        const QVariant v = firstValue(
            *m_server,
            QStringLiteral("SELECT FValue From t_SystemProfile WHERE (FCategory = 'Base') AND (FKey = 'ServicePack')"));
        return v.isNull() ? QString() : v.toString();
    } catch (const std::exception &e) {
        reportError(QStringLiteral("GetDBVersion"), strDBName, e);
        return QString();
    }
}

bool CAcctCnnSharp::IsVantoraDB(const QString &strDBName) {
    try {
        reopenOn(strDBName);
        const QVariant v = firstValue(
            *m_server,
            QStringLiteral("Select FValue From t_SystemProfile Where (FCategory = 'Base') And (FKey = 'VEQVersion')"));
        return !v.isNull() && v.toString().trimmed() == QLatin1String("8.0");
    } catch (const std::exception &) {
        return false;
    }
}

bool CAcctCnnSharp::IsExistsDB(const QString &strDBName) {
    if (!m_server || m_server->State() != ado::adStateOpen) return false;
    const QString previous = m_server->database();
    bool exists = false;
    try {
        switchDatabase(*m_server, strDBName);
        exists = true;
    } catch (const std::exception &) {
        exists = false;
    }
    if (exists && !strDBName.isEmpty()) {
        try {
            switchDatabase(*m_server, previous);
        } catch (const std::exception &) {}
    }
    return exists;
}

void CAcctCnnSharp::reportError(const QString &member, const QString &strDBName, const std::exception &e) {
    WriteTextLog(QStringLiteral("错误位于：CAcctCnnSharp.") + member + QLatin1Char('(') + strDBName +
                 QStringLiteral(")\r\n描述：") + ErrorDescription(e));
}
