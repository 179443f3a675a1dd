// The probes of the server and of the road by which it reads the source.
#include "accounts/CXRAc.h"
#include "foundation/SqlText.h"
#include "accounts/clsCreateAcct.h"
#include "foundation/Messages.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "foundation/Globals.h"

namespace {

const QString kJet = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
const QString kAce = QStringLiteral("Microsoft.ACE.OLEDB.12.0");

QString serverConnectString() {
    auto admin = ServerAdmin();
    return admin ? admin->g_ConnectString : QString();
}

QString versionText(ado::Connection &connection) {
    return connection.Execute(QStringLiteral("select @@Version")).Fields(0).Value.toString();
}

}  // namespace

QString clsCreateAcct::WorkgroupFile(const QString &source) {
    const int slash = std::max(source.lastIndexOf(QLatin1Char('/')), source.lastIndexOf(QLatin1Char('\\')));
    return source.left(slash + 1) + QStringLiteral("system.mda");
}

QString clsCreateAcct::SourceConnection(const QString &provider, const QString &source) {
    return QStringLiteral("Provider=") + provider + QStringLiteral(";Password=tqlarnvezmbhko") +
           QStringLiteral(";User ID=morningstar;") + QStringLiteral("Data Source=") + SqlLiteral(source) +
           QStringLiteral(";Persist Security Info=True;") + QStringLiteral("Jet OLEDB:System database=") +
           SqlLiteral(WorkgroupFile(source));
}

bool clsCreateAcct::EnableAdHocQueries() {
    try {
        ado::Connection connection;
        connection.Open(serverConnectString());
        connection.Execute(QStringLiteral("exec sp_configure 'show advanced options',1 ") + kCrLf +
                           QStringLiteral("reconfigure") + kCrLf +
                           QStringLiteral("exec sp_configure 'Ad Hoc Distributed Queries',1") + kCrLf +
                           QStringLiteral("reconfigure") + kCrLf);
        connection.Close();
        return true;
    } catch (...) {
        return false;
    }
}

bool clsCreateAcct::ProbeSourceProvider() {
    m_Provider = kJet;
    if (!m_DataInfo) m_DataInfo.emplace();
    QString probe = QStringLiteral("SELECT 1 FROM OpenDataSource( '") + kJet + QStringLiteral("','") +
                    SourceConnection(kJet, m_Source) + QStringLiteral("')...GLpref");
    QString error;
    try {
        m_DataInfo->GetRs(serverConnectString(), probe, true, error);
        return true;
    } catch (...) {}
    probe.replace(kJet, kAce);
    m_Provider = kAce;
    m_DataInfo->GetRs(serverConnectString(), probe, true, error);
    return true;
}

bool clsCreateAcct::ProbeServerUsesAce(const QString &connectString) {
    try {
        ado::Connection connection;
        connection.Open(connectString);
        connection.CommandTimeout = 0;
        const QString version = versionText(connection);
        if (!version.contains(QStringLiteral(" 2000 ")))
            connection.Execute(QStringLiteral("exec sp_configure 'show advanced options', 1;") + kCrLf +
                               QStringLiteral("RECONFIGURE;") + kCrLf +
                               QStringLiteral("exec sp_configure 'Ad Hoc Distributed Queries', 1;") + kCrLf +
                               QStringLiteral("RECONFIGURE;") + kCrLf);
        return (version.contains(QStringLiteral(" 2008 ")) || version.contains(QStringLiteral(" 2012 "))) &&
               version.contains(QStringLiteral("(X64)"));
    } catch (const ado::AdoError &e) {
        ShowMessage(e.description() + connectString, 16, kMessageTitle);
    } catch (const std::exception &e) {
        ShowMessage(QString::fromLocal8Bit(e.what()) + connectString, 16, kMessageTitle);
    }
    return false;
}

bool clsCreateAcct::ProbeServerIs2008Family(const QString &connectString) {
    try {
        ado::Connection connection;
        connection.Open(connectString);
        connection.CommandTimeout = 0;
        const QString version = versionText(connection);
        return version.contains(QStringLiteral(" 2008 ")) || version.contains(QStringLiteral(" 2012 ")) ||
               version.contains(QStringLiteral(" 2014 "));
    } catch (const ado::AdoError &e) {
        ShowMessage(e.description() + connectString, 16, kMessageTitle);
    } catch (const std::exception &e) {
        ShowMessage(QString::fromLocal8Bit(e.what()) + connectString, 16, kMessageTitle);
    }
    return false;
}
