#include "accounts/ServerDrives.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include "platform/PnwError.h"

namespace {

const QSet<QByteArray> &skippedTypes() {
    static const QSet<QByteArray> types = {
        "proc",       "sysfs",   "devtmpfs",   "devpts",   "tmpfs",   "cgroup",   "cgroup2",   "mqueue", "pstore",
        "securityfs", "debugfs", "tracefs",    "configfs", "fusectl", "bpf",      "hugetlbfs", "autofs", "binfmt_misc",
        "nsfs",       "ramfs",   "rpc_pipefs", "nfs",      "nfs4",    "cifs",     "smbfs",     "smb3",   "sshfs",
        "fuse.sshfs", "9p",      "squashfs",   "iso9660",  "udf",     "efivarfs", "selinuxfs"};
    return types;
}

void addEntry(QStringList &vArr, int &n, const QString &entry) {
    ++n;
    if (vArr.isEmpty()) vArr.append(QString());
    while (vArr.size() < n + 1) vArr.append(QString());
    while (vArr.size() > n + 1) vArr.removeLast();
    vArr[n] = entry;
}

}  // namespace

ServerDrives::ServerDrives() : m_lister(&ServerDrives::mountedLocalDrives) {}

ServerDrives::ServerDrives(DriveLister lister)
    : m_lister(lister ? std::move(lister) : DriveLister(&ServerDrives::mountedLocalDrives)) {}

QStringList ServerDrives::mountedLocalDrives() {
    QStringList drives;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        const QString root = volume.rootPath();
        if (root != QLatin1String("/") && skippedTypes().contains(volume.fileSystemType())) continue;
        if (!QFileInfo(root).isDir()) continue;  // a single file mounted into place
        QString entry = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
        if (!drives.contains(entry)) drives.append(entry);
    }
    drives.sort();
    return drives;
}

void ServerDrives::GetDriverList(const QString &CurrPath, QStringList &vArr, const QString &FileExtName) {
    int n = 0;
    try {
        if (CurrPath.isEmpty()) {
            for (const QString &drive : m_lister())
                if (!drive.trimmed().isEmpty()) addEntry(vArr, n, drive);
            return;
        }
        const QDir dir(CurrPath);
        const QFileInfoList entries =
            dir.entryInfoList(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Unsorted);
        const QString ext = FileExtName.toUpper();
        for (const QFileInfo &info : entries) {
            const QString name = info.fileName();
            const QString tail = name.right(4).toUpper();
            if (info.isDir() || tail == ext || tail == QLatin1String(".ADF")) addEntry(vArr, n, name.trimmed());
        }
    } catch (...) {
        // A failing listing keeps what was added so far.
    }
}

qint64 ServerDrives::GetDiskInformation(const QString &CurrDrive, int lDiskType) {
    const QStorageInfo volume(CurrDrive);
    if (CurrDrive.isEmpty() || !QFileInfo::exists(CurrDrive) || !volume.isValid() || !volume.isReady())
        throw PnwError(76, QStringLiteral("ServerDrives.GetDiskInformation"),
                       QStringLiteral("路径未找到：") + CurrDrive);
    return BytesToMegabytes(lDiskType == 0 ? volume.bytesAvailable() : volume.bytesFree());
}

bool ServerDrives::ExistFolder(const QString &sSpec) { return !sSpec.isEmpty() && QFileInfo(sSpec).isDir(); }

qint64 ServerDrives::BytesToMegabytes(qint64 bytes) {
    constexpr qint64 mb = 1024 * 1024;
    const qint64 whole = bytes / mb;
    const qint64 rest = bytes % mb;
    if (rest * 2 > mb || (rest * 2 == mb && (whole % 2) == 1)) return whole + 1;
    return whole;
}
