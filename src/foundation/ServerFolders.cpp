#include "foundation/ServerFolders.h"

#include <QSysInfo>

#include "foundation/InputChecks.h"
#include "foundation/Messages.h"
#include "foundation/ServerComponent.h"
#include "platform/PnwReg.h"

std::shared_ptr<ServerComponent> g_ServerComponent;
std::shared_ptr<ServerComponent> g_ServerObject;

namespace {

const QString kRSPathKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\RSPath");
const QString kBKPathKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\BKPath");

ServerComponentFactory &factory() {
    static ServerComponentFactory f;
    return f;
}

ServerFolderChooser &chooser() {
    static ServerFolderChooser c;
    return c;
}

}  // namespace

ServerComponentFactory SetServerComponentFactory(ServerComponentFactory f) {
    ServerComponentFactory previous = std::move(factory());
    factory() = std::move(f);
    return previous;
}

void ReleaseServerComponent() {
    g_ServerObject.reset();
    g_ServerComponent.reset();
}

std::shared_ptr<ServerComponent> GetServerComponent() {
    try {
        if (!g_ServerComponent && factory()) g_ServerComponent = factory()();
    } catch (...) {
        g_ServerComponent.reset();
    }
    return g_ServerComponent;
}

ServerFolderChooser SetServerFolderChooser(ServerFolderChooser c) {
    ServerFolderChooser previous = std::move(chooser());
    chooser() = std::move(c);
    return previous;
}

bool BrowseServerPath(QString &path, int lOperType, const QString &HandleFlag) {
    try {
        g_ServerObject = GetServerComponent();
        if (!g_ServerObject) {
            ShowMessage(QStringLiteral("无法创建服务器端组件，请重新安装数据库端服务部件或手工输入服务器端路径！"),
                        MsgBox::Critical, kMessageTitle);
            return false;
        }
        if (!chooser()) return false;
        ServerFolderRequest request;
        request.CurrFullPath = path;
        request.CurrServer = QString();
        request.JustExtName = false;
        request.CurrExtName = QStringLiteral(".dbb");
        request.lOperType = lOperType;
        request.HandleFlag = HandleFlag;
        const QString chosen = chooser()(request);
        if (!chosen.isEmpty()) path = chosen;
        return true;
    } catch (...) {
        return false;
    }
}

QString GetRSPathValue(const QString &name) { return PnwReg().GetKeyValue(kRSPathKey, name, QString()); }

QString GetBKPathValue(const QString &name) { return PnwReg().GetKeyValue(kBKPathKey, name, QString()); }

void SetRSPathValue(const QString &name, const QString &value) { PnwReg().SetKeyValue(kRSPathKey, name, value); }

void SetBKPathValue(const QString &name, const QString &value) { PnwReg().SetKeyValue(kBKPathKey, name, value); }

QString GetLocalComputerName() {
    const QString name = QSysInfo::machineHostName();
    return name.left(127).toUpper();
}

QString ReadServerTcp(const QString &serverName) {
    const QString name = serverName.trimmed().toUpper();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("(LOCAL)") ||
        name == QLatin1String("LOCALHOST") || name == GetLocalComputerName())
        return QStringLiteral("127.0.0.1");
    return QString();
}

QString GetSystemFolderPath() { return AddTrailingBackslash(QStringLiteral("/usr/lib")); }
