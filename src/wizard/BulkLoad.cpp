#include "wizard/BulkLoad.h"

#include <exception>

#include "foundation/SqlText.h"
#include "platform/ado/Connection.h"

namespace {

void setDelayedDurability(const QString &connectString, bool delayed) {
    ado::Connection connection;
    connection.Open(connectString);
    connection.Execute(QStringLiteral("ALTER DATABASE ") + SqlName(connection.database()) +
                       (delayed ? QStringLiteral(" SET DELAYED_DURABILITY = FORCED")
                                : QStringLiteral(" SET DELAYED_DURABILITY = DISABLED")));
    connection.Close();
}

}  // namespace

BulkLoad::BulkLoad(QString connectString) : connectString_(std::move(connectString)) {
    try {
        setDelayedDurability(connectString_, true);
        started_ = true;
    } catch (const std::exception &) {
        // Only slower.
    }
}

BulkLoad::~BulkLoad() {
    if (!started_) return;
    try {
        setDelayedDurability(connectString_, false);
    } catch (const std::exception &) {
        // The set is gone (a cancel deleted it) or is deleted by the retry.
    }
}

void BulkLoad::finish() {
    if (!started_) return;
    started_ = false;
    setDelayedDurability(connectString_, false);
}
