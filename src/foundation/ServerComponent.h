// The server administration object as the foundation services see it: the
// folder members that callers reach on the one program-wide component
// (drives, folder entries, free space, folder test). The administration
// class derives from it and registers its factory at start-up; until one is
// registered there is no server component. UI thread only.
#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QStringList>

class ServerComponent {
public:
    virtual ~ServerComponent() = default;

    // With an empty CurrPath the fixed drives, else the folder entries of
    // CurrPath (sub-folders and files ending in FileExtName or ".adf"),
    // appended at index 1 on (index 0 stays empty); nothing found leaves
    // vArr as it was. Never raises.
    virtual void GetDriverList(const QString &CurrPath, QStringList &vArr,
                               const QString &FileExtName = QStringLiteral(".DBB")) = 0;
    // Free megabytes of the drive (lDiskType 0) or of the folder's drive.
    virtual qint64 GetDiskInformation(const QString &CurrDrive, int lDiskType = 0) = 0;
    // True when the folder exists on the server.
    virtual bool ExistFolder(const QString &sSpec) = 0;

protected:
    ServerComponent() = default;
};

using ServerComponentFactory = std::function<std::shared_ptr<ServerComponent>()>;

// The one component, created on first use (GetServerComponent) and released
// when the main window ends (ReleaseServerComponent).
extern std::shared_ptr<ServerComponent> g_ServerComponent;
// The same component, as the folder chooser and the checks reach it.
extern std::shared_ptr<ServerComponent> g_ServerObject;

// Installs the factory that makes the component; returns the previous one.
ServerComponentFactory SetServerComponentFactory(ServerComponentFactory factory);
// Drops both references.
void ReleaseServerComponent();
