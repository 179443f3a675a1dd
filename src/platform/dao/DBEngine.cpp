#include "platform/dao/DBEngine.h"

#include <QFileInfo>

#include "jet/JetError.h"
#include "jet/JetReader.h"
#include "jet/Workgroup.h"
#include "platform/dao/DaoError.h"

namespace dao {

namespace {

QString localPath(const QString &name) {
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

}  // namespace

std::unique_ptr<Database> DBEngine::OpenDatabase(const QString &name) const {
    if (!SystemDB.isEmpty()) {
        const QString workgroup = localPath(SystemDB);
        bool accepted = false;
        try {
            if (!QFileInfo(workgroup).isFile()) throw jet::JetError(jet::kErrOpen, "missing");
            accepted = jet::Workgroup::checkLogon(workgroup.toStdString(), DefaultUser.toStdString(),
                                                  DefaultPassword.toStdString());
        } catch (const jet::JetError &) {
            throw DaoError(kDaoNoWorkgroup, QStringLiteral("Can't start your application. The workgroup information "
                                                           "file is missing or opened exclusively by another user."));
        }
        if (!accepted) throw DaoError(kDaoBadLogon, QStringLiteral("Not a valid account name or password."));
    }
    const QString path = localPath(name);
    if (!QFileInfo(path).isFile())
        throw DaoError(kDaoFileNotFound, QStringLiteral("Could not find file '%1'.").arg(name));
    try {
        return std::make_unique<Database>(std::make_unique<jet::JetReader>(path.toStdString()));
    } catch (const jet::JetError &e) {
        if (e.number() == jet::kErrOpen)
            throw DaoError(kDaoFileNotFound, QStringLiteral("Could not find file '%1'.").arg(name));
        throw DaoError(kDaoUnrecognizedFormat, QStringLiteral("Unrecognized database format '%1'.").arg(name));
    }
}

}  // namespace dao
