// A Jet database opened read-only through the DAO stand-in. Holds the file
// open until Close() or destruction.
#pragma once

#include <QString>

#include <memory>

#include "platform/dao/TableDefs.h"

namespace jet {
class JetReader;
}

namespace dao {

class Database {
public:
    // REQUIRES: reader is open. Use DBEngine::OpenDatabase.
    explicit Database(std::unique_ptr<jet::JetReader> reader);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &Name() const { return name_; }
    const dao::TableDefs &TableDefs() const { return tableDefs_; }
    void Close();

private:
    QString name_;
    std::unique_ptr<jet::JetReader> reader_;
    dao::TableDefs tableDefs_;
};

}  // namespace dao
