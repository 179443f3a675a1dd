// The database server's drives and folders, as the server administration
// component describes them to the wizard. The server runs on this machine,
// so its "drives" are the machine's mounted local file systems (an entry is
// the mount point followed by "/") and free space is that of the file system
// holding a path. UI thread only.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "foundation/ServerComponent.h"

class ServerDrives : public ServerComponent {
public:
    // Lists the fixed drives; the default reads the mounted local volumes.
    using DriveLister = std::function<QStringList()>;

    ServerDrives();
    explicit ServerDrives(DriveLister lister);

    // With an empty CurrPath: the fixed drives. Otherwise the entries of the
    // folder CurrPath: its sub-folders and the files whose names end in
    // FileExtName or ".adf" (case ignored), hidden entries left out, in the
    // order the file system gives them. Entries stand at vArr[1..n]; vArr[0]
    // stays as it was ("" when the list grows from empty); vArr is resized
    // to n + 1 for every entry. Nothing found leaves vArr untouched. Never
    // raises.
    void GetDriverList(const QString &CurrPath, QStringList &vArr,
                       const QString &FileExtName = QStringLiteral(".DBB")) override;

    // Free megabytes (bytes / 1024 / 1024, halves to even) of the file
    // system holding CurrDrive: available to this user for lDiskType 0,
    // free in all for any other. A path that does not exist raises
    // PnwError 76.
    qint64 GetDiskInformation(const QString &CurrDrive, int lDiskType = 0) override;

    // True when sSpec names an existing folder.
    bool ExistFolder(const QString &sSpec) override;

    // Bytes to whole megabytes, an exact half going to the even neighbour.
    static qint64 BytesToMegabytes(qint64 bytes);

    // The machine's local file systems: real devices and the root, without
    // pseudo, memory and network file systems and without mounted files.
    static QStringList mountedLocalDrives();

private:
    DriveLister m_lister;
};
