// A client-side recordset: every row is fetched when it opens, so it can be
// counted, filtered and walked both ways after its connection is gone. It
// keeps the session it came from alive until Close (as a client cursor keeps
// its connection). Opened forward-only on a server-side connection it holds
// only the current row: the server hands out the next one at each MoveNext,
// RecordCount is -1, and moving back or filtering fails. Errors are
// AdoError. Single-threaded.
#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

#include "platform/ado/Field.h"
#include "server/ResultSet.h"

namespace server {
class Session;
}

namespace ado {

class Connection;

class Recordset {
public:
    Recordset() = default;
    // Takes a fetched result set (used by Connection::Execute and Command).
    Recordset(server::ResultSet rows, std::shared_ptr<server::Session> keepAlive);

    // Runs `sql` on an open connection and keeps its first result set;
    // forward-only with cursorType adOpenForwardOnly when the connection's
    // CursorLocation is adUseServer.
    void Open(const QString &sql, Connection &connection, int cursorType = -1, int lockType = -1);
    void Close();
    int State() const;

    int RecordCount() const;  // rows visible through the filter; -1 forward-only
    bool Eof() const;         // EOF itself is a C macro
    bool BOF() const;
    void MoveFirst();  // fails (3021) on an empty set
    void MoveLast();
    void MoveNext();      // fails (3021) past the end
    void MovePrevious();  // fails (3021) before the start

    int fieldCount() const;
    Field Fields(int index) const;
    Field Fields(const QString &name) const;  // case-insensitive
    QVariant value(const QString &name) const;  // Fields(name).Value, without making the field

    // Filter "Name='value'" (several joined with AND; =, <>, <, >, <=, >=;
    // texts compare without regard to case). "" removes the filter.
    void setFilter(const QString &filter);
    QString Filter() const { return filter_; }

    int LockType = -1;

private:
    bool forwardOnly() const { return rs_.spool != nullptr; }
    void fetch();  // the spool's next row becomes the current one
    const std::vector<server::Value> &currentRow() const;
    void requireOpen() const;
    void requireCurrent() const;
    int columnIndex(const QString &name) const;  // -1 when no column has the name
    int namedColumn(const QString &name) const;  // open, and the column exists (3265 otherwise)
    void indexColumns();
    Field makeField(int column, bool withValue) const;

    bool open_ = false;
    server::ResultSet rs_;
    std::vector<QString> names_;     // column names as the client sees them
    QHash<QString, int> byName_;     // case-folded name -> first column of that name
    QHash<QString, int> byExact_;    // each column's name as it stands -> the same column as byName_
    std::shared_ptr<server::Session> session_;
    std::vector<int> visible_;            // row indexes passing the filter
    std::vector<server::Value> current_;  // forward-only: the current row
    bool spoolEnded_ = false;             // forward-only: past the last row
    int pos_ = 0;
    QString filter_;
};

}  // namespace ado
