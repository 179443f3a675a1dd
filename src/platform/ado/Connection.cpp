#include "platform/ado/Connection.h"

#include "platform/ado/AdoError.h"
#include "platform/ado/ConnectionString.h"
#include "platform/ado/InstanceLocator.h"
#include "platform/ado/Variant.h"
#include "server/Instance.h"
#include "server/Session.h"
#include "server/SqlError.h"

namespace ado {

namespace {

const char *kProviderSource = "Microsoft OLE DB Provider for SQL Server";

// Provider result codes: syntax errors and missing names are DB_E_ERRORSINCOMMAND.
quint32 providerCodeFor(int number) {
    switch (number) {
    case 102:
    case 105:
    case 113:
    case 156:
    case 170:
    case 207:
    case 208:
    case 209:
    case 4104: return 0x80040E14u;
    case 2627:
    case 2601:
    case 515:
    case 547: return 0x80040E2Fu;
    case 8152:
    case 8115:
    case 220:
    case 8134: return 0x80040E57u;
    case 245:
    case 8114:
    case 235:
    case 241:
    case 242: return 0x80040E07u;
    case 4060:
    case 18456:
    case 17: return 0x80004005u;
    default: return 0x80040E14u + 1;
    }
}

}  // namespace

AdoError fromServerError(int number, const std::string &text) {
    return AdoError(number, kProviderSource, QString::fromStdString(text), providerCodeFor(number));
}

server::BatchResult runBatch(server::Session &session, const QString &sql, const std::vector<server::Value> &params,
                             bool spoolRows) {
    server::BatchResult r = session.execute(sql.toStdString(), params, spoolRows);
    if (!r.errors.empty()) throw fromServerError(r.errors.front().number(), r.errors.front().text());
    return r;
}

Recordset recordsetFrom(server::BatchResult &result, const std::shared_ptr<server::Session> &session) {
    for (auto &rs : result.resultSets)
        if (!rs.columns.empty()) return Recordset(std::move(rs), session);
    return Recordset();
}

Connection::~Connection() { Close(); }

void Connection::Open(const QString &connectionString, const QString &user, const QString &password) {
    if (session_) throw objectOpen();
    if (!connectionString.isEmpty()) ConnectionString = connectionString;
    ado::ConnectionString cs(ConnectionString);
    QString provider = cs.provider().toLower();
    if (!provider.isEmpty() && !provider.startsWith(QLatin1String("sqloledb")) &&
        !provider.startsWith(QLatin1String("sqlncli")))
        throw AdoError(3706, QStringLiteral("ADODB.Connection"),
                       QStringLiteral("未找到提供程序。该程序可能未正确安装。"), 0x800A0E7Au);
    QString folder = instanceFolder(cs.dataSource());
    if (folder.isEmpty())
        throw fromServerError(17, "[DBNETLIB][ConnectionOpen (Connect()).]SQL Server 不存在或访问被拒绝。");
    QString login = user.isEmpty() ? cs.userId() : user;
    QString pw = password.isEmpty() ? cs.password() : password;
    QString db = cs.initialCatalog();
    if (db.isEmpty()) db = QStringLiteral("master");
    try {
        auto inst = server::Instance::open(folder.toStdString());
        session_ = std::make_shared<server::Session>(inst, login.toStdString(), pw.toStdString(), db.toStdString(),
                                                     cs.integratedSecurity());
    } catch (const server::SqlError &e) {
        throw fromServerError(e.number(), e.text());
    }
}

void Connection::Close() {
    if (!session_) return;
    if (session_->inTransaction()) {
        try {
            session_->rollback();
        } catch (const server::SqlError &) {}
    }
    session_.reset();
}

int Connection::State() const { return session_ ? adStateOpen : adStateClosed; }

QString Connection::database() const {
    return session_ ? QString::fromStdString(session_->currentDatabase()) : QString();
}

Recordset Connection::Execute(const QString &sql, qint64 *recordsAffected, int) {
    if (!session_) throw objectClosed();
    server::BatchResult r = runBatch(*session_, sql, {});
    if (recordsAffected) *recordsAffected = r.rowsAffected;
    return recordsetFrom(r, session_);
}

Recordset Connection::executeForwardOnly(const QString &sql) {
    if (!session_) throw objectClosed();
    server::BatchResult r = runBatch(*session_, sql, {}, true);
    return recordsetFrom(r, session_);
}

void Connection::BeginTrans() {
    if (!session_) throw objectClosed();
    try {
        session_->beginTransaction();
    } catch (const server::SqlError &e) {
        throw fromServerError(e.number(), e.text());
    }
}

void Connection::CommitTrans() {
    if (!session_) throw objectClosed();
    try {
        session_->commit();
    } catch (const server::SqlError &e) {
        throw fromServerError(e.number(), e.text());
    }
}

void Connection::RollbackTrans() {
    if (!session_) throw objectClosed();
    try {
        session_->rollback();
    } catch (const server::SqlError &e) {
        throw fromServerError(e.number(), e.text());
    }
}

}  // namespace ado
