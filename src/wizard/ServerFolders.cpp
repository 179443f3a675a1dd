#include "wizard/ServerFolders.h"

#include <QDir>
#include <QSysInfo>

#include "accounts/ServerDrives.h"
#include "foundation/Messages.h"
#include "platform/PnwReg.h"
#include "wizard/frmSelDir.h"

namespace {

const QString kRSKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\RSPath");
const QString kBKKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\BKPath");

std::shared_ptr<ServerDrives> &drivesObject() {
    static std::shared_ptr<ServerDrives> drives;
    return drives;
}

FolderChooserResponder &chooserResponder() {
    static FolderChooserResponder responder;
    return responder;
}

}  // namespace

ServerDrives &ServerDrivesObject() {
    if (!drivesObject()) drivesObject() = std::make_shared<ServerDrives>();
    return *drivesObject();
}

void SetServerDrivesObject(std::shared_ptr<ServerDrives> drives) { drivesObject() = std::move(drives); }

FolderChooserResponder SetFolderChooserResponder(FolderChooserResponder responder) {
    FolderChooserResponder previous = std::move(chooserResponder());
    chooserResponder() = std::move(responder);
    return previous;
}

bool BrowseServerPath(QString &path, int lOperType, const QString &HandleFlag) {
    try {
        frmSelDir dialog;
        dialog.CurrFullPath = path;
        dialog.CurrServer = QString();
        dialog.JustExtName = false;
        dialog.CurrExtName = QStringLiteral(".dbb");
        dialog.lOperType = lOperType;
        dialog.HandleFlag = HandleFlag;
        if (chooserResponder())
            chooserResponder()(dialog);
        else
            dialog.exec();
        if (!dialog.CurrFullPath.isEmpty()) path = dialog.CurrFullPath;
        return true;
    } catch (...) {
        return false;
    }
}

QString GetRSPathValue(const QString &name) { return PnwReg().GetKeyValue(kRSKey, name, QString()); }
QString GetBKPathValue(const QString &name) { return PnwReg().GetKeyValue(kBKKey, name, QString()); }
void SetRSPathValue(const QString &name, const QString &value) { PnwReg().SetKeyValue(kRSKey, name, value); }
void SetBKPathValue(const QString &name, const QString &value) { PnwReg().SetKeyValue(kBKKey, name, value); }

QString GetLocalComputerName() { return QSysInfo::machineHostName().left(127).toUpper(); }

QString ReadServerTcp(const QString &) { return QString(); }

bool CheckServerFolder(const QString &path, const QString &label) {
    const QString title = QStringLiteral("岫禾提示");
    if (path.isEmpty()) {
        ShowMessage(QStringLiteral("路径名称不可为空，请重新输入。"), 16, title);
        return false;
    }
    try {
        const QString trimmed = path.trimmed();
        ServerDrives &drives = ServerDrivesObject();
        QStringList list;
        drives.GetDriverList(QString(), list);
        for (int i = 1; i < list.size(); ++i) {
            QString drive = list[i];
            if (trimmed == drive || trimmed + QLatin1Char('/') == drive) return true;
        }
        if (QDir::isAbsolutePath(trimmed) && drives.ExistFolder(path)) return true;
        ShowMessage(label + QStringLiteral("路径: ") + path + QStringLiteral("不存在，请重新选择或输入。"), 16, title);
        return false;
    } catch (...) {
        return false;
    }
}
