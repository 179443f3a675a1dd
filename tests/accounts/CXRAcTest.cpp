#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>

#include "kit/AccountsServer.h"
#include "accounts/CXRAc.h"
#include "foundation/Globals.h"
#include "platform/AnsiCodec.h"
#include "platform/MessageScript.h"
#include "platform/PnwError.h"
#include "support/QtApp.h"
#include "support/TestFiles.h"

class CXRAcTest : public ::testing::Test {
protected:
    QString writeFile(const QString &name, const QString &text) {
        const QString path = server.path() + QLatin1Char('/') + name;
        WriteFileBytes(path, AnsiCodec::encode(text));
        return path;
    }
    AccountsServer server;
    MessageScript messages;
    CXRAc admin;
};

TEST_F(CXRAcTest, DescriptionFileLinesFillTheVariables) {
    struct Case {
        const char *text;
        bool ok;
        const char *data, *log, *version, *incDup, *dbms;
    };
    const Case cases[] = {
        {"a:1\r\nb:2\r\nc:3\r\nd:4\r\n", false, "", "", "", "", ""},
        {"名称:基础\r\n库: VEQBase\r\n数据:VEQBase\r\n日志:VEQBase_log\r\n域:X\r\n", true, "VEQBase", "VEQBase_log", "",
         "完全备份", "Microsoft Sql Server"},
        {"a:1\r\nb:2\r\nc: x:y:z \r\n  plain line  \r\ne:5\r\nf:6\r\ng:7.5\r\n  备份方式: 增量 "
         "\r\nh:MSSQL\r\nextra:9\r\n",
         true, "x:y:z", "plain line", "7.5", "  备份方式: 增量 ", "MSSQL"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const QString file = writeFile(QStringLiteral("base.dbb"), QString::fromUtf8(c.text));
        EXPECT_EQ(admin.RReadFile(file), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(admin.strDbDataFileName, QString::fromUtf8(c.data));
        EXPECT_EQ(admin.strDbLogFileName, QString::fromUtf8(c.log));
        EXPECT_EQ(admin.StrDBVersion, QString::fromUtf8(c.version));
        EXPECT_EQ(admin.StrIncDup, QString::fromUtf8(c.incDup));
        EXPECT_EQ(admin.StrDBMSName, QString::fromUtf8(c.dbms));
    }
    EXPECT_FALSE(admin.RReadFile(server.path() + QStringLiteral("/missing.dbb")));
    EXPECT_EQ(admin.strDBName, QStringLiteral("'"));
}

TEST_F(CXRAcTest, TheShippedDescriptionFilesNameTheBaseFiles) {
    EXPECT_TRUE(admin.RReadFile(server.commonFolder() + QStringLiteral("SQLDB/SQLDBBack.dbb")));
    EXPECT_EQ(admin.strDbDataFileName, QStringLiteral("VEQBase"));
    EXPECT_EQ(admin.strDbLogFileName, QStringLiteral("VEQBase_log"));
}

TEST_F(CXRAcTest, ExistFileDropsATrailingSeparator) {
    const QString file = writeFile(QStringLiteral("f.bak"), QStringLiteral("x"));
    struct Case {
        QString spec, after;
        bool exists;
    };
    const Case cases[] = {
        {file, file, true},
        {file + QLatin1Char('/'), file, true},
        {server.path() + QLatin1Char('/'), server.path(), false},  // a folder
        {QStringLiteral("/"), QStringLiteral("/"), false},
        {server.path() + QStringLiteral("/none.bak"), server.path() + QStringLiteral("/none.bak"), false},
    };
    for (const Case &c : cases) {
        QString spec = c.spec;
        EXPECT_EQ(admin.ExistFile(spec), c.exists) << c.spec.toStdString();
        EXPECT_EQ(spec, c.after);
    }
}

TEST_F(CXRAcTest, ConnectStringsFollowTheLogin) {
    admin.StrSysUID = QStringLiteral("sa");
    admin.StrSysPWD = QStringLiteral("pw");
    EXPECT_EQ(admin.GetConnectString(QString(), QString()), QString());
    EXPECT_EQ(admin.GetConnectString(QStringLiteral("A01"), QStringLiteral("ignored")),
              QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Password=pw;Data Source=.;Initial Catalog=A01"));
    admin.bWinNt = true;
    EXPECT_TRUE(admin.GetConnectString(QString(), QString()).endsWith(QStringLiteral("Initial Catalog=")));
    EXPECT_TRUE(admin.GetConnectString(QString(), QString()).contains(QStringLiteral("Integrated Security=SSPI")));
}

TEST_F(CXRAcTest, LoginCheckCreatesTheServerWideListOrFails) {
    EXPECT_FALSE(admin.CheckRight(QStringLiteral("sa"), QStringLiteral("wrong"), QStringLiteral("S"), false));
    EXPECT_TRUE(
        admin.strMsg.startsWith(QStringLiteral("登录的用户名/口令/数据库服务器名有误，请重新输入!\r\n错误描述:")));
    EXPECT_TRUE(admin.g_ConnectString.isEmpty());

    ASSERT_TRUE(admin.CheckRight(QStringLiteral("sa"), QStringLiteral("pw"), QStringLiteral("S"), false))
        << admin.strMsg.toStdString();
    EXPECT_FALSE(admin.bWinNt);
    EXPECT_TRUE(admin.g_ConnectString.endsWith(QStringLiteral("Initial Catalog=master")));
    EXPECT_TRUE(server
                    .run(QStringLiteral("master"), QStringLiteral("select cid, cacc_name, cdbname, DBuildDate, "
                                                                  "DDuplicateDate, cDBVersion from t_XRAccount_gl"))
                    .isEmpty());
    // A second check finds the table complete and changes nothing.
    EXPECT_TRUE(admin.CheckRight(QStringLiteral("sa"), QStringLiteral("pw"), QStringLiteral("S"), false));
}

TEST_F(CXRAcTest, LoginCheckWidensAndAddsTheMissingColumns) {
    ASSERT_EQ(server.run(QStringLiteral("master"),
                         QStringLiteral(
                             "create table t_XRAccount_gl (cid smallint, cacc_name varchar(20), cdbname varchar(20), "
                             "DBuildDate datetime, DDuplicateDate datetime)")),
              QString());
    ASSERT_TRUE(admin.CheckRight(QStringLiteral("sa"), QStringLiteral("pw"), QStringLiteral("S"), false))
        << admin.strMsg.toStdString();
    EXPECT_EQ(server.run(QStringLiteral("master"), QStringLiteral("select cid, cDBVersion from t_XRAccount_gl")),
              QString());
    EXPECT_EQ(server.rows(QStringLiteral("master"),
                          QStringLiteral("select c.name, c.length from syscolumns c inner join sysobjects o on c.id = "
                                         "o.id where o.name = 't_XRAccount_gl' and c.name in ('cacc_name', 'cdbname') "
                                         "order by c.colid")),
              (QStringList{QStringLiteral("cacc_name\t255"), QStringLiteral("cdbname\t255")}));
}

TEST_F(CXRAcTest, ExistAcctTellsDatabasesApart) {
    ASSERT_TRUE(admin.CheckRight(QStringLiteral("sa"), QStringLiteral("pw"), QStringLiteral("S"), false));
    EXPECT_TRUE(admin.ExistAcct(QStringLiteral("AcctCtl")));
    EXPECT_FALSE(admin.ExistAcct(QStringLiteral("NoSuchSet")));
    EXPECT_FALSE(admin.ExistAcct(QStringLiteral("O'Brien")));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(CXRAcTest, ExistAcctShowsWhyTheServerCannotBeReached) {
    ASSERT_TRUE(admin.CheckRight(QStringLiteral("sa"), QStringLiteral("pw"), QStringLiteral("S"), false));
    admin.StrSysPWD = QStringLiteral("changed");
    EXPECT_FALSE(admin.ExistAcct(QStringLiteral("AcctCtl")));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().buttons, 16);
    EXPECT_EQ(messages.last().title, QStringLiteral("岫禾提示"));
}

TEST_F(CXRAcTest, DeleteAcctLeavesDatabasesItDidNotRestore) {
    ASSERT_TRUE(admin.CheckRight(QStringLiteral("sa"), QStringLiteral("pw"), QStringLiteral("S"), false));
    ASSERT_EQ(server.run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE Someone")), QString());
    for (const QString &name : {QStringLiteral("Someone"), QStringLiteral("AcctCtl"), QStringLiteral("master")}) {
        EXPECT_FALSE(admin.DeleteAcct(name));
        EXPECT_TRUE(server.databaseExists(name)) << name.toStdString();
    }
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(CXRAcTest, RestoreRefusesANumberThatIsNoPlainName) {
    ASSERT_TRUE(admin.CheckRight(QStringLiteral("sa"), QStringLiteral("pw"), QStringLiteral("S"), false));
    ASSERT_TRUE(admin.RReadFile(server.commonFolder() + QStringLiteral("SQLDB/SQLDBBack.dbb")));
    for (const QString &number :
         {QStringLiteral("a b"), QStringLiteral("x;drop database AcctCtl--"), QStringLiteral("o'k"), QString()}) {
        try {
            admin.ImportDatabase(nullptr, nullptr, server.commonFolder() + QStringLiteral("SQLDB/SQLDBBack.dbb"),
                                 server.dbFolder(), QString(), QStringLiteral("n"), number, QString());
            ADD_FAILURE() << "no error for " << number.toStdString();
        } catch (const PnwError &e) {
            EXPECT_EQ(e.number(), -1);
            EXPECT_EQ(e.description(), QStringLiteral("非法的账套号！"));
        }
    }
    EXPECT_TRUE(server.databaseExists(QStringLiteral("AcctCtl")));
}

TEST_F(CXRAcTest, RestoreWithoutTheBackupFileSaysWhichFile) {
    ASSERT_TRUE(admin.CheckRight(QStringLiteral("sa"), QStringLiteral("pw"), QStringLiteral("S"), false));
    const QString dbb = writeFile(QStringLiteral("lonely.dbb"), QStringLiteral("a:1\r\nb:2\r\nc:D\r\nd:L\r\ne:5\r\n"));
    ASSERT_TRUE(admin.RReadFile(dbb));
    ensureQtApp();
    QLabel label;
    EXPECT_FALSE(admin.ImportDatabase(nullptr, &label, dbb, server.dbFolder(), QString(), QStringLiteral("n"),
                                      QStringLiteral("A01"), QString()));
    EXPECT_EQ(admin.strMsg,
              QStringLiteral("用于恢复的数据文件") + server.path() + QStringLiteral("/lonely.bak不存在，恢复失败!"));
    EXPECT_EQ(label.text(), admin.strMsg);
    EXPECT_FALSE(server.databaseExists(QStringLiteral("A01")));
    EXPECT_TRUE(admin.restoredAccount().isEmpty());
}
