#include "upgrade/common/StepKit.h"

#include "foundation/Globals.h"
#include "foundation/ErrorText.h"
#include "foundation/Progress.h"
#include "foundation/UpgradeLog.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/AdoTypes.h"
#include "platform/ado/Connection.h"

namespace {

// The server's error for a linked data source that cannot be initialised.
constexpr int kLinkedSourceError = 7303;

}  // namespace

StepKit::StepKit(ProgressBar *bar, QLabel *label, const QString &connectString)
    : m_bar(bar), m_label(label), m_connectString(connectString.isEmpty() ? g_TargetConnectString : connectString) {}

void StepKit::caption(const QString &text) {
    if (m_label) SetStatusCaption(m_label, text);
}

void StepKit::initProgress(int max) {
    if (m_bar) InitProgress(m_bar, max, true);
}

void StepKit::progress(int value) {
    if (m_bar) SetProgress(m_bar, value);
}

bool StepKit::runPhase(const QString &captionText, int progressAfter, const std::function<int()> &phase,
                       const QString &project) {
    if (failed()) return false;
    if (!captionText.isEmpty()) caption(captionText);
    int phaseResult = 2;
    try {
        phaseResult = phase();
    } catch (const std::exception &e) {
        WriteUpgradeLog(project.isEmpty() ? captionText : project, QStringLiteral("发生错误：") + ErrorDescription(e),
                        QString(), 2);
    }
    fold(phaseResult);
    if (progressAfter >= 0) progress(progressAfter);
    return !failed();
}

void StepKit::fold(int phaseResult) {
    m_last = (phaseResult == 1 || phaseResult == 2) ? phaseResult : 0;
    if (m_last == 1) m_warned = true;
}

int StepKit::result() const {
    if (m_last == 2) return 2;
    return m_warned ? 1 : 0;
}

bool StepKit::execute(const QString &sql, const QString &project, const QString &failureText, bool withStatement) {
    QString error;
    if (m_data.ExecuteSQL(m_connectString, sql, error)) return true;
    QString description = failureText + error;
    if (withStatement) description += QStringLiteral("\r\n") + sql;
    WriteUpgradeLog(project, description, QString(), 2);
    return false;
}

bool StepKit::execute(const QString &sql, QString &error) { return m_data.ExecuteSQL(m_connectString, sql, error); }

std::optional<ado::Recordset> StepKit::query(const QString &sql) {
    QString error;
    return m_data.GetRs(m_connectString, sql, true, error);
}

std::optional<ado::Recordset> StepKit::stream(const QString &sql) {
    try {
        ado::Connection connection;
        connection.ConnectionString = m_connectString;
        connection.CursorLocation = ado::adUseServer;
        connection.Open();
        ado::Recordset rs;
        rs.Open(sql, connection, ado::adOpenForwardOnly, ado::adLockReadOnly);
        rs.LockType = ado::adLockReadOnly;
        return rs;  // the recordset keeps the session open
    } catch (const ado::AdoError &e) {
        if (e.number() == kLinkedSourceError) return std::nullopt;
        throw;
    }
}

void StepKit::indexStagedCopy(const QString &createIndexSql) {
    try {
        query(createIndexSql);
    } catch (const std::exception &) {
        // Already there, or its table is not staged: nothing to index.
    }
}

QVariant StepKit::scalar(const QString &sql) {
    auto rs = query(sql);
    if (!rs || rs->Eof() || rs->fieldCount() < 1) return QVariant();
    return rs->Fields(0).Value;
}
