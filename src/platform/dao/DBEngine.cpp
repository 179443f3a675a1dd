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
            throw DaoError(kDaoNoWorkgroup, QStringLiteral("不能启动应用程序。工作组信息文件丢失，或是已被其他"
                                                           "用户以独占方式打开。"));
        }
        if (!accepted) throw DaoError(kDaoBadLogon, QStringLiteral("不是有效的帐户名称或密码。"));
    }
    const QString path = localPath(name);
    if (!QFileInfo(path).isFile()) throw DaoError(kDaoFileNotFound, QStringLiteral("找不到文件 '%1'。").arg(name));
    try {
        return std::make_unique<Database>(std::make_unique<jet::JetReader>(path.toStdString()));
    } catch (const jet::JetError &e) {
        if (e.number() == jet::kErrOpen)
            throw DaoError(kDaoFileNotFound, QStringLiteral("找不到文件 '%1'。").arg(name));
        throw DaoError(kDaoUnrecognizedFormat, QStringLiteral("不可识别的数据库格式 '%1'。").arg(name));
    }
}

}  // namespace dao
