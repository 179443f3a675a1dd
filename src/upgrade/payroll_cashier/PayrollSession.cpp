#include "upgrade/payroll_cashier/PayrollSession.h"

#include <memory>

#include "platform/ado/AdoTypes.h"
#include "platform/ado/Command.h"
#include "upgrade/payroll_cashier/PayrollLog.h"

PayrollSession::PayrollSession(const QString &connectString) {
    m_connection.ConnectionString = connectString;
    m_connection.CursorLocation = ado::adUseClient;
    m_connection.Open(connectString, QString(), QString());
}

ado::Recordset PayrollSession::execute(const QString &sql) {
    m_lastStatement = sql;
    return m_connection.Execute(sql);
}

ado::Recordset PayrollSession::execute(const QString &sql, const std::vector<QVariant> &values) {
    m_lastStatement = sql;
    ado::Command command;
    command.ActiveConnection = &m_connection;
    command.CommandType = ado::adCmdText;
    command.CommandTimeout = 0;
    command.CommandText = sql;
    for (const QVariant &value : values)
        command.Parameters.push_back(
            ado::Command::CreateParameter(QString(), ado::adVariant, ado::adParamInput, 0, value));
    return command.Execute();
}

int RunPayrollPhase(const QString &connectString, const QString &data,
                    const std::function<int(PayrollSession &session)> &body) {
    std::unique_ptr<PayrollSession> session;
    try {
        session = std::make_unique<PayrollSession>(connectString);
        return body(*session);
    } catch (const std::exception &e) {
        LogPayrollFailure(data, e, session ? session->lastStatement() : QString());
        return 2;
    }
}
