#include "foundation/clsDataInfo.h"

#include "foundation/TextLog.h"
#include "platform/PnwError.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/AdoTypes.h"
#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"

namespace {

// The server's error for a linked data source that cannot be initialised.
constexpr int kLinkedSourceError = 7303;

}  // namespace

std::optional<ado::Recordset> clsDataInfo::GetRs(const QString &strConnString, const QString &strsql, bool bolReadOnly,
                                                 QString &strErrMsg) {
    try {
        ado::Connection connection;
        connection.ConnectionString = strConnString;
        connection.CursorLocation = ado::adUseClient;
        connection.Open();
        ado::Recordset rs;
        rs.Open(strsql, connection, -1, bolReadOnly ? ado::adLockReadOnly : ado::adLockOptimistic);
        rs.LockType = bolReadOnly ? ado::adLockReadOnly : ado::adLockOptimistic;
        return rs;  // the recordset keeps the session open
    } catch (const ado::AdoError &e) {
        strErrMsg = e.description();
        if (e.number() == kLinkedSourceError) return std::nullopt;
        throw;
    }
}

bool clsDataInfo::ExecuteSQL(const QString &strConnString, const QString &strsql, QString &strErrMsg) {
    ado::Connection connection;
    QString error;
    try {
        connection.ConnectionString = strConnString;
        connection.CursorLocation = ado::adUseClient;
        connection.Open();
        connection.BeginTrans();
        ado::Command command;
        command.ActiveConnection = &connection;
        command.CommandType = ado::adCmdText;
        command.CommandTimeout = 0;
        command.CommandText = strsql;
        command.Execute();
        connection.CommitTrans();
        connection.Close();
        return true;
    } catch (const ado::AdoError &e) {
        error = e.description();
    } catch (const PnwError &e) {
        error = e.description();
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
    }
    if (connection.State() == ado::adStateOpen) {
        try {
            connection.RollbackTrans();
        } catch (const std::exception &) {
            // Closing the connection below rolls back what is left.
        }
    }
    connection.Close();
    WriteTextLog(QStringLiteral("执行SQL语句发生错误：") + error);
    WriteTextLog(QStringLiteral("源SQL语句：") + strsql);
    strErrMsg = error;
    return false;
}
