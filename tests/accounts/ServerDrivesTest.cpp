#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "accounts/ServerDrives.h"
#include "platform/PnwError.h"

namespace {

void touch(const QString &path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(ServerDrivesTest, MegabytesRoundHalfToEven) {
    const struct {
        qint64 bytes;
        qint64 mb;
    } cases[] = {{0, 0},
                 {524287, 0},
                 {524288, 0},
                 {524289, 1},
                 {1572864, 2},
                 {2621440, 2},
                 {3670016, 4},
                 {1048576LL * 300, 300},
                 {1048576LL * 300 - 1, 300},
                 {1048576LL * 299 + 524288, 300}};
    for (const auto &c : cases) EXPECT_EQ(ServerDrives::BytesToMegabytes(c.bytes), c.mb) << c.bytes;
}

TEST(ServerDrivesTest, DrivesStandFromIndexOne) {
    ServerDrives drives([] { return QStringList{QStringLiteral("/"), QStringLiteral("/data/")}; });
    QStringList list;
    drives.GetDriverList(QString(), list);
    EXPECT_EQ(list, (QStringList{QString(), QStringLiteral("/"), QStringLiteral("/data/")}));
}

TEST(ServerDrivesTest, RealMachineListsItsRoot) {
    QStringList list;
    ServerDrives().GetDriverList(QString(), list);
    ASSERT_GE(list.size(), 2);
    EXPECT_EQ(list[0], QString());
    EXPECT_TRUE(list.contains(QStringLiteral("/")));
}

TEST(ServerDrivesTest, FolderEntriesKeepFoldersAndKnownFiles) {
    QTemporaryDir tmp;
    const QString root = tmp.path() + QLatin1Char('/');
    QDir(root).mkdir(QStringLiteral("Data"));
    QDir(root).mkdir(QStringLiteral(".hidden"));
    touch(root + QStringLiteral("base.dbb"));
    touch(root + QStringLiteral("old.ADF"));
    touch(root + QStringLiteral("notes.txt"));
    touch(root + QStringLiteral("set.bak"));

    ServerDrives drives;
    QStringList list;
    drives.GetDriverList(root, list);
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[0], QString());
    QStringList entries = list.mid(1);
    entries.sort();
    EXPECT_EQ(entries, (QStringList{QStringLiteral("Data"), QStringLiteral("base.dbb"), QStringLiteral("old.ADF")}));

    QStringList withBak;
    drives.GetDriverList(root, withBak, QStringLiteral(".bak"));
    QStringList bakEntries = withBak.mid(1);
    bakEntries.sort();
    EXPECT_EQ(bakEntries, (QStringList{QStringLiteral("Data"), QStringLiteral("old.ADF"), QStringLiteral("set.bak")}));
}

TEST(ServerDrivesTest, EmptyFolderLeavesTheArrayAlone) {
    QTemporaryDir tmp;
    QStringList list{QStringLiteral("keep")};
    ServerDrives().GetDriverList(tmp.path() + QLatin1Char('/'), list);
    EXPECT_EQ(list, QStringList{QStringLiteral("keep")});
}

TEST(ServerDrivesTest, FreeSpaceAndFolders) {
    QTemporaryDir tmp;
    ServerDrives drives;
    EXPECT_GT(drives.GetDiskInformation(tmp.path()), 0);
    EXPECT_TRUE(drives.ExistFolder(tmp.path()));
    EXPECT_FALSE(drives.ExistFolder(tmp.path() + QStringLiteral("/missing")));
    EXPECT_FALSE(drives.ExistFolder(QString()));
    try {
        drives.GetDiskInformation(tmp.path() + QStringLiteral("/missing"));
        FAIL() << "a missing path must raise";
    } catch (const PnwError &e) {
        EXPECT_EQ(e.number(), 76);
    }
}

}  // namespace
