#include <gtest/gtest.h>

#include <QFile>

#include "kit/StandinServer.h"
#include "foundation/clsDataInfo.h"
#include "platform/AnsiCodec.h"
#include "platform/MessageScript.h"
#include "platform/ado/Connection.h"
#include "support/TestFiles.h"

class ScriptRunnerTest : public ::testing::Test {
protected:
    QString script(const QString &name, const QString &text) {
        const QString path = server.path() + QLatin1Char('/') + name;
        WriteFileBytes(path, AnsiCodec::encode(text));
        return path;
    }
    QStringList names() const {
        return server.rows(QStringLiteral("AcctCtl"), QStringLiteral("select FName from S order by FID"));
    }
    StandinServer server;
    clsDataInfo data;
    MessageScript messages;
};

TEST_F(ScriptRunnerTest, SplitsAtGoLinesAndRunsTheLastBatchWithoutOne) {
    const QString file =
        script(QStringLiteral("a.sql"), QStringLiteral("create table S (FID int identity, FName nvarchar(20))\r\n"
                                                       "go\r\ngo\r\n\r\n"
                                                       "insert into S (FName) values (N'一')\r\n"
                                                       " \t GO\t \r\n"
                                                       "insert into S (FName) values (N'二')\r\n"
                                                       "insert into S (FName) values (N'三')\r\n"));
    EXPECT_TRUE(data.ExecuteSQLFlile(file, server.acctCtl()));
    EXPECT_EQ(names(), (QStringList{"一", "二", "三"}));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(ScriptRunnerTest, AFailedBatchIsShownTwiceAndStopsTheRun) {
    const QString file =
        script(QStringLiteral("b.sql"), QStringLiteral("create table S (FID int identity, FName nvarchar(20))\r\ngo\r\n"
                                                       "insert into Missing values (1)\r\ngo\r\n"
                                                       "insert into S (FName) values (N'never')\r\n"));
    EXPECT_FALSE(data.ExecuteSQLFlile(file, server.acctCtl()));
    EXPECT_TRUE(names().isEmpty());
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.requests().at(0).prompt, messages.requests().at(1).prompt);
    EXPECT_EQ(messages.last().buttons, 16);
    EXPECT_EQ(messages.last().title, QStringLiteral("岫禾提示"));
}

TEST_F(ScriptRunnerTest, InsertFileStoresFilesAndHonoursItsGuard) {
    const QString blob = server.path() + QStringLiteral("/logo.bin");
    {
        QFile f(blob);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x00\x01\xfe\xff", 4));
    }
    const QString file =
        script(QStringLiteral("c.sql"), QStringLiteral("create table R (FName nvarchar(20), FData image)\r\ngo\r\n"
                                                       "insertfile into R (FName, FData) values (N'logo', < %1 >)\r\n"
                                                       "---? select * from R where FName = N'logo'\r\ngo\r\n"
                                                       "insertfile into R (FName, FData) values (N'logo', <%1>)\r\n"
                                                       "---? select * from R where FName = N'logo'\r\ngo\r\n"
                                                       "insertfile into R (FName) values (N'no marker')\r\ngo\r\n")
                                            .arg(blob));
    EXPECT_TRUE(data.ExecuteSQLFlile(file, server.acctCtl()));
    EXPECT_EQ(server.rows(QStringLiteral("AcctCtl"), QStringLiteral("select FName from R")), QStringList{"logo"});
    ado::Connection c;
    c.Open(server.acctCtl());
    EXPECT_EQ(c.Execute(QStringLiteral("select FData from R")).Fields(0).Value.toByteArray(),
              QByteArray("\x00\x01\xfe\xff", 4));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(ScriptRunnerTest, AMissingFileOrScriptIsShown) {
    const QString file =
        script(QStringLiteral("d.sql"), QStringLiteral("create table R (FData image)\r\ngo\r\n"
                                                       "insertfile into R (FData) values (<nothing.bin>)\r\n"));
    EXPECT_FALSE(data.ExecuteSQLFlile(file, server.acctCtl()));
    ASSERT_GE(messages.count(), 1);
    EXPECT_EQ(messages.requests().at(0).prompt, QStringLiteral("nothing.bin 文件不存在，执行出错"));

    MessageScript unclosed;
    const QString broken = script(QStringLiteral("e.sql"), QStringLiteral("insertfile into R (FData) values (<x)\r\n"));
    EXPECT_FALSE(data.ExecuteSQLFlile(broken, server.acctCtl()));
    EXPECT_EQ(unclosed.count(), 2);

    MessageScript more;
    EXPECT_FALSE(data.ExecuteSQLFlile(server.path() + QStringLiteral("/none.sql"), server.acctCtl()));
    EXPECT_EQ(more.count(), 1);
    EXPECT_EQ(more.last().buttons, 16);
}
