#include <gtest/gtest.h>

#include <QDir>

#include "kit/StandinServer.h"
#include "foundation/InputChecks.h"
#include "foundation/ServerComponent.h"
#include "foundation/ServerFolders.h"
#include "platform/MessageScript.h"

namespace {

// A server component over this machine's file system with a fixed drive
// list (the administration class itself is not part of these services).
class LocalComponent : public ServerComponent {
public:
    explicit LocalComponent(QStringList drives) : m_drives(std::move(drives)) {}
    void GetDriverList(const QString &CurrPath, QStringList &vArr, const QString &) override {
        if (!CurrPath.isEmpty() || m_drives.isEmpty()) return;
        if (vArr.isEmpty()) vArr.append(QString());
        vArr.append(m_drives);
    }
    qint64 GetDiskInformation(const QString &, int) override { return 0; }
    bool ExistFolder(const QString &sSpec) override { return QDir(m_root + sSpec).exists(); }

    // Folders are looked up below root (a stand-in for the server's "/").
    QString m_root;

private:
    QStringList m_drives;
};

}  // namespace

class ServerFoldersTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetServerComponentFactory(nullptr);
        SetServerFolderChooser(nullptr);
        ReleaseServerComponent();
    }
    void useDrives(const QStringList &drives, const QString &root = QString()) {
        ReleaseServerComponent();
        SetServerComponentFactory([drives, root] {
            auto component = std::make_shared<LocalComponent>(drives);
            component->m_root = root;
            return component;
        });
    }
    StandinServer server;
    MessageScript messages;
};

TEST_F(ServerFoldersTest, TheComponentIsMadeOnceThroughItsFactory) {
    EXPECT_EQ(GetServerComponent(), nullptr);
    int made = 0;
    SetServerComponentFactory([&made] {
        ++made;
        return std::make_shared<LocalComponent>(QStringList{});
    });
    auto first = GetServerComponent();
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(GetServerComponent(), first);
    EXPECT_EQ(made, 1);
    SetServerComponentFactory([]() -> std::shared_ptr<ServerComponent> { throw std::runtime_error("not installed"); });
    ReleaseServerComponent();
    EXPECT_EQ(GetServerComponent(), nullptr);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(ServerFoldersTest, CheckServerFolderTestsDrivesAndFolders) {
    useDrives({QStringLiteral("C:\\"), QStringLiteral("/")});
    const QString existing = server.path();
    const QString label = QStringLiteral("数据库文件");
    const struct {
        QString path;
        bool ok;
    } cases[] = {
        {QStringLiteral("c:"), true},
        {QStringLiteral("C:\\"), true},
        {QStringLiteral(" / "), true},
        {QStringLiteral("d:"), false},
        {existing, true},
        {existing + QStringLiteral("/none"), false},
    };
    for (const auto &c : cases) {
        MessageScript box;
        EXPECT_EQ(CheckServerFolder(c.path, label), c.ok) << c.path.toStdString();
        EXPECT_EQ(box.count(), c.ok ? 0 : 1);
        if (!c.ok) {
            EXPECT_EQ(box.last().prompt,
                      label + QStringLiteral("路径: ") + c.path + QStringLiteral("不存在，请重新选择或输入。"));
            EXPECT_EQ(box.last().buttons, 16);
        }
    }
    EXPECT_NE(g_ServerObject, nullptr);
}

// A short folder path that is no mount point ("/db") is a folder like any other.
TEST_F(ServerFoldersTest, AShortPathThatIsNoMountPointIsCheckedAsAFolder) {
    ASSERT_TRUE(QDir(server.path()).mkpath(QStringLiteral("db")));
    for (const QStringList &drives : {QStringList{QStringLiteral("/")}, QStringList{}}) {
        useDrives(drives, server.path());
        MessageScript box;
        EXPECT_TRUE(CheckServerFolder(QStringLiteral("/db"), QStringLiteral("数据库文件")));
        EXPECT_FALSE(CheckServerFolder(QStringLiteral("/dx"), QStringLiteral("数据库文件")));
        EXPECT_EQ(box.count(), 1);
    }
}

TEST_F(ServerFoldersTest, CheckServerFolderRefusesWhatItCannotConfirm) {
    EXPECT_FALSE(CheckServerFolder(QString(), QStringLiteral("数据库文件")));
    EXPECT_EQ(messages.last().prompt, QStringLiteral("路径名称不可为空，请重新输入。"));
    EXPECT_FALSE(CheckServerFolder(server.path(), QStringLiteral("数据库文件")));  // no component
    EXPECT_EQ(messages.last().prompt,
              QStringLiteral("无法创建服务器端组件，请重新安装数据库端服务部件或手工输入服务器端路径！"));
    EXPECT_EQ(messages.count(), 2);
    useDrives({});
    EXPECT_FALSE(CheckServerFolder(QStringLiteral("C:"), QStringLiteral("数据库文件")));  // no drive listed
    EXPECT_EQ(messages.count(), 2);
}

TEST_F(ServerFoldersTest, BrowseServerPathHandsThePathToTheChooser) {
    QString path = QStringLiteral("/srv/data");
    EXPECT_FALSE(BrowseServerPath(path, 0, QStringLiteral("RS")));
    EXPECT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().buttons, 16);

    useDrives({QStringLiteral("/")});
    QList<ServerFolderRequest> requests;
    QString answer = QStringLiteral("/srv/new");
    SetServerFolderChooser([&](const ServerFolderRequest &r) {
        requests.append(r);
        return answer;
    });
    EXPECT_TRUE(BrowseServerPath(path, 0, QStringLiteral("RS")));
    EXPECT_EQ(path, QStringLiteral("/srv/new"));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.at(0).CurrFullPath, QStringLiteral("/srv/data"));
    EXPECT_EQ(requests.at(0).CurrExtName, QStringLiteral(".dbb"));
    EXPECT_EQ(requests.at(0).HandleFlag, QStringLiteral("RS"));
    EXPECT_FALSE(requests.at(0).JustExtName);
    answer.clear();  // cancelled
    EXPECT_TRUE(BrowseServerPath(path, 0, QStringLiteral("RS")));
    EXPECT_EQ(path, QStringLiteral("/srv/new"));
}

TEST_F(ServerFoldersTest, FoldersAreRememberedPerComputer) {
    EXPECT_EQ(GetRSPathValue(QStringLiteral("HOST-A")), QString());
    SetRSPathValue(QStringLiteral("HOST-A"), QStringLiteral("/data/a"));
    SetRSPathValue(QStringLiteral("HOST-B"), QStringLiteral("/data/b"));
    SetBKPathValue(QStringLiteral("HOST-A"), QStringLiteral("/backup"));
    EXPECT_EQ(GetRSPathValue(QStringLiteral("HOST-A")), QStringLiteral("/data/a"));
    EXPECT_EQ(GetRSPathValue(QStringLiteral("HOST-B")), QStringLiteral("/data/b"));
    EXPECT_EQ(GetBKPathValue(QStringLiteral("HOST-A")), QStringLiteral("/backup"));
    const QString me = GetLocalComputerName();
    EXPECT_EQ(me, me.toUpper());
    EXPECT_EQ(ReadServerTcp(QString()), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(ReadServerTcp(me.toLower()), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(ReadServerTcp(QStringLiteral("elsewhere.example")), QString());
    EXPECT_TRUE(GetSystemFolderPath().endsWith(QLatin1Char('/')));
}
