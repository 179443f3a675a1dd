// The DAO engine stand-in: logs on to a Jet workgroup file and opens Jet
// databases read-only through src/jet. SystemDB names the workgroup file;
// when it is empty no workgroup is checked. File names may use "\" as the
// folder separator. Not shared between threads.
#pragma once

#include <QString>

#include <memory>

#include "platform/dao/Database.h"

namespace dao {

class DBEngine {
public:
    QString SystemDB;
    QString DefaultUser = QStringLiteral("admin");
    QString DefaultPassword;

    // Throws DaoError: kDaoNoWorkgroup when SystemDB is set but missing or
    // not a workgroup file, kDaoBadLogon when it refuses DefaultUser and
    // DefaultPassword, kDaoFileNotFound when name is missing,
    // kDaoUnrecognizedFormat when it is not a readable Jet file.
    std::unique_ptr<Database> OpenDatabase(const QString &name) const;
};

}  // namespace dao
