#include "wizard/ServerFolders.h"

#include <QDir>

#include "accounts/CXRAc.h"
#include "accounts/ServerDrives.h"
#include "foundation/ServerFolders.h"
#include "foundation/Messages.h"
#include "wizard/frmSelDir.h"

namespace {


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

// The folder requests of the foundation's BrowseServerPath (and its other
// registry and name helpers) are answered here, by the folder chooser on the
// program's server component.
namespace {

QString ChooseServerFolder(const ServerFolderRequest &request) {
    frmSelDir dialog;
    dialog.CurrFullPath = request.CurrFullPath;
    dialog.CurrServer = request.CurrServer;
    dialog.JustExtName = request.JustExtName;
    dialog.CurrExtName = request.CurrExtName;
    dialog.lOperType = request.lOperType;
    dialog.HandleFlag = request.HandleFlag;
    if (chooserResponder())
        chooserResponder()(dialog);
    else
        dialog.exec();
    return dialog.CurrFullPath;
}

const bool chooserInstalled = [] {
    SetServerFolderChooser(ChooseServerFolder);
    InstallServerAdministration();
    return true;
}();
}  // namespace

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
