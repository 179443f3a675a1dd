// The connection one payroll phase works on: opened from the step's
// connection string with client-side cursors, statements sent one by one
// with no transaction, so each statement commits by itself. Every failure
// is raised (ado::AdoError) and the statement that failed is kept for the
// phase's log entry. UI thread only.
#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"

class PayrollSession {
public:
    // Opens the connection; raises when it cannot be opened.
    explicit PayrollSession(const QString &connectString);
    PayrollSession(const PayrollSession &) = delete;
    PayrollSession &operator=(const PayrollSession &) = delete;

    // Runs a statement or batch; its first result set (a closed recordset
    // when there is none).
    ado::Recordset execute(const QString &sql);
    // Runs a statement with values bound to its "?" markers in order, so
    // source text never becomes part of the statement and one text serves
    // every row.
    ado::Recordset execute(const QString &sql, const std::vector<QVariant> &values);

    // The statement last sent (the failing one after a raise).
    const QString &lastStatement() const { return m_lastStatement; }
    ado::Connection &connection() { return m_connection; }

private:
    ado::Connection m_connection;
    QString m_lastStatement;
};

// Runs one phase on a session of its own. A failure (the connection, a
// statement, a conversion) ends the phase: it is logged as the failure of
// the data named, with the statement that failed, and gives 2. Otherwise
// the body's own result.
int RunPayrollPhase(const QString &connectString, const QString &data,
                    const std::function<int(PayrollSession &session)> &body);
