// The ADO connection of the stand-in: parses the connection string, reaches
// the server instance (see InstanceLocator.h) and opens one server session.
// Execute runs a batch and returns its first result set with columns as a
// recordset (a closed one when the batch returns none); the first error of
// the batch is raised as AdoError with the server's number and text.
// REQUIRES for Execute/transactions: the connection is open.
#pragma once

#include <QString>

#include <memory>

#include "platform/ado/AdoTypes.h"
#include "platform/ado/Recordset.h"
#include "server/ResultSet.h"

namespace server {
class Session;
}

namespace ado {

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    QString ConnectionString;
    int CommandTimeout = 30;  // kept for callers; statements are not timed out
    int ConnectionTimeout = 15;
    int CursorLocation = adUseServer;

    // Opens the session. Fails with the server's 4060 (no such database),
    // 18456 (login failed) or 17 (no such server); never creates anything.
    void Open(const QString &connectionString = {}, const QString &user = {}, const QString &password = {});
    void Close();  // rolls back an open transaction
    int State() const;

    Recordset Execute(const QString &sql, qint64 *recordsAffected = nullptr, int options = -1);
    // A forward-only, read-only recordset: the server keeps the rows and
    // hands them out as the recordset steps (Recordset::Open with
    // adOpenForwardOnly on a server-side connection).
    Recordset executeForwardOnly(const QString &sql);
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    std::shared_ptr<server::Session> session() const { return session_; }
    QString database() const;

private:
    std::shared_ptr<server::Session> session_;
};

// Runs a batch on a session and raises its first error (shared by Command).
// With spoolRows the rows stay with the server (see server/RowSpool.h).
server::BatchResult runBatch(server::Session &session, const QString &sql, const std::vector<server::Value> &params,
                             bool spoolRows = false);
// The recordset for a batch result: its first result set with columns.
Recordset recordsetFrom(server::BatchResult &result, const std::shared_ptr<server::Session> &session);
// A server error as the ADO error the system sees.
class AdoError;
AdoError fromServerError(int number, const std::string &text);

}  // namespace ado
