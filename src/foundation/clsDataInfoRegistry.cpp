// The account registry members of clsDataInfo: registration of a new
// account set, the database types and the profile values of an account set.
#include <QDateTime>

#include "foundation/Globals.h"
#include "foundation/VersionText.h"
#include "foundation/clsDataInfo.h"
#include "platform/PnwConvert.h"
#include "platform/PnwError.h"
#include "platform/PnwReg.h"
#include "platform/ado/AdoTypes.h"
#include "platform/ado/Connection.h"

namespace {

QString quoted(const QString &text) {
    QString t = text;
    return QLatin1Char('\'') + t.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// The creation time as the regional date and time text; "" stays "".
QString createTimeText(const QString &sCreateTime) {
    if (sCreateTime.isEmpty()) return QString();
    for (const char *format :
         {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd H:mm:ss", "yyyy-MM-dd", "yyyy/M/d H:mm:ss", "yyyy/M/d"}) {
        const QDateTime moment = QDateTime::fromString(sCreateTime, QLatin1String(format));
        if (moment.isValid()) return PnwConvert::ToText(moment);
    }
    throw PnwError(13, QStringLiteral("clsDataInfo.AddAccount"), QStringLiteral("类型不匹配"));
}

// The server's product-instance identifier that registrations carry from
// version "14.1" on; "" when the installation names none.
QString serverProductId() {
    return PnwReg().GetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Microsoft SQL Server"),
                                QStringLiteral("ProductID"), QString());
}

}  // namespace

std::function<void(const QString &)> &clsDataInfo::cacheService() {
    static std::function<void(const QString &)> service;
    return service;
}

void clsDataInfo::RefreshAccountCache() {
    try {
        if (cacheService()) cacheService()(QStringLiteral("AcctInfo"));
    } catch (...) {
        // The cache refills itself; a registration never fails for it.
    }
}

int clsDataInfo::AddAccount(const QString &sDsn, QString AcctNum, QString AcctName, QString ConnectString, int lNode,
                            int lDBType, QString sServer, QString sSysUser, QString sSysPwd, QString sDBName,
                            QString sVersion, QString sCompany, QString sDescription, QString sCreator,
                            QString sCreateTime, QString sFConnectString) {
    (void)sFConnectString;
    ado::Connection connection;
    connection.CursorLocation = ado::adUseClient;
    connection.Open(sDsn);
    // Neither the connection string nor the password is kept in the registry.
    ConnectString.clear();
    sSysPwd.clear();
    const QString createTime = createTimeText(sCreateTime);
    const bool withPid = VersionAtLeast(g_InstalledVersion, QStringLiteral("14.1"));

    QString sql =
        QStringLiteral("INSERT INTO t_ad_xraccount_gl(FAcctNumber,FAcctName,FConnectString,FNodeID,FDBType, \r\n"
                       " FServer,FSysUser,FSysPwd,FDBName,FVersion,FLevel,FCompanyName,FDescription,FCreator, \r\n"
                       " FCreateTime");
    if (withPid) sql += QStringLiteral(", FPID");
    sql += QStringLiteral(") \r\n VALUES(");
    QStringList values{quoted(AcctNum),          quoted(AcctName), quoted(ConnectString), QString::number(lNode),
                       QString::number(lDBType), quoted(sServer),  quoted(sSysUser),      quoted(sSysPwd),
                       quoted(sDBName),          quoted(sVersion), QStringLiteral("1"),   quoted(sCompany),
                       quoted(sDescription),     quoted(sCreator), quoted(createTime)};
    if (withPid) values.append(quoted(serverProductId()));
    sql += values.join(QLatin1Char(',')) + QLatin1Char(')');
    connection.Execute(sql);

    ado::Recordset rs = connection.Execute(QStringLiteral("Select MAX(FNodeID) from t_ad_xraccount_gl"));
    const int node = rs.Fields(0).Value.toInt();
    RefreshAccountCache();
    return node;
}

std::optional<ado::Recordset> clsDataInfo::GetAd_DBtypeInfo(const QString &sDsn) {
    try {
        QString ignored;
        return GetRs(sDsn, QStringLiteral(" Select * From t_ad_dbtype Where FTypeID=1"), true, ignored);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

QString clsDataInfo::GetSysProfileValue(const QString &sDsn, const QString &strCategory, const QString &strKey) {
    try {
        QString ignored;
        std::optional<ado::Recordset> rs =
            GetRs(sDsn,
                  QStringLiteral("select * from t_Systemprofile where FKey = '") + strKey +
                      QStringLiteral("' and FCategory = '") + strCategory + QStringLiteral("'"),
                  true, ignored);
        if (!rs || rs->State() != ado::adStateOpen || rs->RecordCount() == 0) return QString();
        return PnwConvert::ToText(rs->value(QStringLiteral("FValue")));
    } catch (const std::exception &) {
        return QString();
    }
}

QVariant clsDataInfo::firstValue(const QString &sDsn, const QString &sql) {
    QString ignored;
    std::optional<ado::Recordset> rs = GetRs(sDsn, sql, true, ignored);
    if (!rs || rs->State() != ado::adStateOpen || rs->RecordCount() == 0) return QVariant();
    return rs->Fields(0).Value;
}

qint64 clsDataInfo::countOf(const QString &sDsn, const QString &sql) { return firstValue(sDsn, sql).toLongLong(); }
