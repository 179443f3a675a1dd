// CheckServerFolder: the database folder typed on the settings page, tested
// on the server through the server component.
#include <QStringList>

#include "foundation/InputChecks.h"
#include "foundation/Messages.h"
#include "foundation/ServerComponent.h"
#include "foundation/ServerFolders.h"
#include "foundation/TrimSpaces.h"

namespace {

// A drive entry names the typed drive: as typed or upper-cased, with or
// without its closing separator.
bool isDrive(const QString &entry, const QString &typed) {
    for (const QString &t : {typed.toUpper(), typed})
        if (entry == t || entry == t + QLatin1Char('\\') || entry == t + QLatin1Char('/')) return true;
    return false;
}

}  // namespace

bool CheckServerFolder(const QString &path, const QString &label) {
    if (path.isEmpty()) {
        ShowMessage(QStringLiteral("路径名称不可为空，请重新输入。"), MsgBox::Critical, kMessageTitle);
        return false;
    }
    try {
        g_ServerObject = GetServerComponent();
        if (!g_ServerObject) {
            // Without the component no folder can be confirmed.
            ShowMessage(QStringLiteral("无法创建服务器端组件，请重新安装数据库端服务部件或手工输入服务器端路径！"),
                        MsgBox::Critical, kMessageTitle);
            return false;
        }
        const QString trimmed = TrimSpaces(path);
        bool exists = false;
        bool asFolder = trimmed.size() > 3;
        if (!asFolder) {
            QStringList drives;
            g_ServerObject->GetDriverList(QString(), drives);
            for (int i = 1; i < drives.size() && !exists; ++i) exists = isDrive(drives.at(i), trimmed);
            // Here only a mount point is a drive: any other short absolute
            // path ("/db") is an ordinary folder.
            if (!exists && trimmed.startsWith(QLatin1Char('/')))
                asFolder = true;
            else if (drives.size() < 2)
                return false;  // no drive listed: nothing to compare with
        }
        if (asFolder) exists = g_ServerObject->ExistFolder(path);
        if (exists) return true;
        ShowMessage(label + QStringLiteral("路径: ") + path + QStringLiteral("不存在，请重新选择或输入。"),
                    MsgBox::Critical, kMessageTitle);
        return false;
    } catch (...) {
        return false;
    }
}
