// The wizard's access to folders on the database server: the server's
// drives object, the folder chooser, the folders remembered per computer in
// the registry store, and the folder check of the settings page.
// UI thread only.
#pragma once

#include <functional>
#include <memory>

#include <QString>

class ServerDrives;
class frmSelDir;

// The program's drives-and-folders object, made on first use.
ServerDrives &ServerDrivesObject();
// Puts another object in place (tests); nullptr goes back to the default.
void SetServerDrivesObject(std::shared_ptr<ServerDrives> drives);

// How the folder chooser is shown: the default runs it modally. Tests
// install a responder that works the dialog and returns; the dialog is
// already filled, and activation has not run yet.
using FolderChooserResponder = std::function<void(frmSelDir &dialog)>;
// Returns the previous responder; an empty one restores the default.
FolderChooserResponder SetFolderChooserResponder(FolderChooserResponder responder);

// Opens the folder chooser on path. A folder confirmed with OK comes back in
// path; Cancel and close leave it as it was. True unless the chooser could
// not be shown.
bool BrowseServerPath(QString &path, int lOperType, const QString &HandleFlag);

// The remembered folders under "HKEY_LOCAL_MACHINE\SOFTWARE\Vantora\RSPath"
// (database files) and "...\BKPath" (backups), one value per computer;
// "" when absent.
QString GetRSPathValue(const QString &name);
QString GetBKPathValue(const QString &name);
void SetRSPathValue(const QString &name, const QString &value);
void SetBKPathValue(const QString &name, const QString &value);

// This computer's name in upper case ("" when it cannot be had).
QString GetLocalComputerName();
// The address of a named server. The server is this machine and has no
// separate address service, so the answer is always "".
QString ReadServerTcp(const QString &serverName);

// True when path names a drive or an existing folder of the server. An
// empty path shows "路径名称不可为空，请重新输入。"; a path that is not there
// (or not absolute) shows label, "路径: ", the path and
// "不存在，请重新选择或输入。". Both with the critical icon.
bool CheckServerFolder(const QString &path, const QString &label);
