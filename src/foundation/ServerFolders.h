// Folders on the database server (this machine, as the server component
// sees it): the server component, the folder chooser opened from the
// settings page, the folders remembered per computer in the registry, the
// computer's name and the server-address lookup. UI thread only.
#pragma once

#include <functional>
#include <memory>

#include <QString>

class ServerComponent;

// g_ServerComponent, created through the registered factory when missing;
// none when there is no factory or it fails. Reports nothing.
std::shared_ptr<ServerComponent> GetServerComponent();

// What the folder chooser is opened with; it answers with its CurrFullPath
// when it closes (OK, Cancel or the close image).
struct ServerFolderRequest {
    QString CurrFullPath;
    QString CurrServer;
    bool JustExtName = false;
    QString CurrExtName;
    int lOperType = 0;
    QString HandleFlag;
};
using ServerFolderChooser = std::function<QString(const ServerFolderRequest &request)>;
// Installs the chooser (the wizard's folder dialog); returns the previous one.
ServerFolderChooser SetServerFolderChooser(ServerFolderChooser chooser);

// Opens the chooser on path; a non-empty answer replaces path. False with
// a message when there is no server component; False when there is no
// chooser or it fails; else True (also after Cancel, path unchanged).
bool BrowseServerPath(QString &path, int lOperType, const QString &HandleFlag);

// The folders last confirmed in the chooser, one value per computer name,
// under "HKEY_LOCAL_MACHINE\SOFTWARE\Vantora\RSPath" (database files) and
// "...\BKPath" (backups); "" when absent. Registry failures are raised
// (PnwError).
QString GetRSPathValue(const QString &name);
QString GetBKPathValue(const QString &name);
void SetRSPathValue(const QString &name, const QString &value);
void SetBKPathValue(const QString &name, const QString &value);

// This computer's name in upper case (at most 127 characters); "" when the
// system does not tell it.
QString GetLocalComputerName();

// The server's address for a server name: "127.0.0.1" for this machine (an
// empty name, ".", "(local)", "localhost" or this computer's name, any
// case); "" for any other server. The installed product's lookup library is
// not here: the database server always runs on this machine.
QString ReadServerTcp(const QString &serverName);

// The system library folder with a trailing "/".
QString GetSystemFolderPath();
