#include <functional>

#include <QCryptographicHash>
#include <QFile>

#include "kit/CreateAcctFixture.h"
#include "foundation/Globals.h"

namespace {

const QString kError = QStringLiteral("错误");
const QString kProject = QStringLiteral("创建目标账套");

QString entry(const QString &description) {
    return kError + QLatin1Char('\t') + kProject + QLatin1Char('\t') + description;
}

}  // namespace

class CreateAcctFailures : public CreateAcctFixture {};

TEST_F(CreateAcctFailures, AnEmptySettingsListIsLogged) {
    g_TargetConnectString = QStringLiteral("kept");
    EXPECT_EQ(runCreation(), 2);
    EXPECT_EQ(logRows(), QStringList{entry(QStringLiteral("发生错误：未取到升级设置数据，请检查升级设置是否正确。"))});
    EXPECT_EQ(g_TargetConnectString, QStringLiteral("kept"));
    EXPECT_EQ(bar->Value(), 0);
}

TEST_F(CreateAcctFailures, StopsBeforeAnythingIsRestored) {
    struct Case {
        const char *what;
        std::function<void(AccountsServer &)> arrange;
        QString acctNum;
        QString description;  // the logged description after the phase
        int messagesShown;
    };
    const QString phase = QStringLiteral("检查数据库和VEQ版本信息发生错误：");
    const QString typesFile = server.commonFolder() + QStringLiteral("SqlSrv/CreateDB.lst");
    const Case cases[] = {
        {"installed version below the minimum", [](AccountsServer &) { g_InstalledVersion = QStringLiteral("12.9"); },
         QStringLiteral("A01"), phase + QStringLiteral("你当前的专业版版本低于13.0，请升级到13.0或以上版本后再升级。"),
         0},
        {"failed login", [](AccountsServer &) { g_ServerPassword = QStringLiteral("wrong"); }, QStringLiteral("A01"),
         QString(), 1},
        {"number of a database outside the registry",
         [](AccountsServer &s) { s.run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE A01")); },
         QStringLiteral("A01"),
         phase + QStringLiteral("数据库服务器上已经有名为A01的数据库，不能用它的名字作账套号。请换一个账套号。"), 0},
        {"number of the account-control database", [](AccountsServer &) {}, QStringLiteral("AcctCtl"),
         phase + QStringLiteral("数据库服务器上已经有名为AcctCtl的数据库，不能用它的名字作账套号。请换一个账套号。"),
         0},
        // Last: the list stays removed.
        {"no account type", [&typesFile](AccountsServer &) { QFile::remove(typesFile); }, QStringLiteral("A01"),
         phase + QStringLiteral("无法读取可供使用的账套类型，请检查") + typesFile + QStringLiteral("是否存在！"), 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        g_InstalledVersion = QStringLiteral("14.1");
        g_ServerPassword = QStringLiteral("pw");
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        const int shownBefore = messages.count();
        useSettings(copySample(QStringLiteral("standard"), true), c.acctNum);
        c.arrange(server);
        EXPECT_EQ(runCreation(), 2);
        const QStringList log = logRows();
        ASSERT_EQ(log.size(), 1);
        if (!c.description.isEmpty()) {
            EXPECT_EQ(log.first(), entry(c.description));
        } else {
            EXPECT_TRUE(log.first().startsWith(entry(phase + QStringLiteral("登录的用户名/口令/数据库服务器名有误"))))
                << log.first().toStdString();
        }
        EXPECT_EQ(messages.count() - shownBefore, c.messagesShown);
        EXPECT_TRUE(registryRows().isEmpty());
        if (c.acctNum == QLatin1String("A01") && QString::fromUtf8(c.what).startsWith(QLatin1String("number"))) {
            EXPECT_TRUE(server.databaseExists(QStringLiteral("A01")));  // left alone
            server.run(QStringLiteral("master"), QStringLiteral("DROP DATABASE A01"));
        }
        EXPECT_FALSE(server.databaseExists(QStringLiteral("A01")));
        EXPECT_TRUE(server.databaseExists(QStringLiteral("AcctCtl")));
    }
}

TEST_F(CreateAcctFailures, TheWorkgroupFileIsCopiedOnlyWhenMissing) {
    const QString src = copySample(QStringLiteral("standard"), false);
    const QString workgroup = server.path() + QStringLiteral("/src/system.mda");
    useSettings(src, QStringLiteral("A01"));
    g_InstalledVersion = QStringLiteral("12.9");  // stop right after the copy
    EXPECT_EQ(runCreation(), 2);
    EXPECT_EQ(FileHash(workgroup), FileHash(server.productFolder() + QStringLiteral("/Advance/system_VEQ75.mda")));

    QFile f(workgroup);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("mine");
    f.close();
    EXPECT_EQ(runCreation(), 2);
    EXPECT_EQ(FileHash(workgroup), QCryptographicHash::hash("mine", QCryptographicHash::Sha256));
}

TEST_F(CreateAcctFailures, AWorkgroupFileThatCannotBeWrittenIsNamed) {
    useSettings(server.path() + QStringLiteral("/nowhere/x.ais"), QStringLiteral("A01"));
    EXPECT_EQ(runCreation(), 2);
    const QStringList log = logRows();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log.first().contains(QStringLiteral("源账套所在的文件夹可能是只读的"))) << log.first().toStdString();
    EXPECT_TRUE(log.first().contains(server.path() + QStringLiteral("/nowhere/system.mda")));
}
