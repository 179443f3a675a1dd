#include <gtest/gtest.h>

#include <QFile>

#include "kit/StandinServer.h"
#include "foundation/CAcctCnnSharp.h"
#include "foundation/TextLog.h"
#include "platform/AnsiCodec.h"
#include "platform/PlatformClock.h"
#include "platform/ado/AdoTypes.h"

namespace {

class CAcctCnnSharpTest : public ::testing::Test {
protected:
    void SetUp() override {
        PlatformClock::setFixedNow(QDateTime(QDate(2018, 3, 7), QTime(9, 5, 1)));
        ASSERT_EQ(server.run(QStringLiteral("master"), QStringLiteral("create database Acct1")), QString());
        ASSERT_EQ(server.run(QStringLiteral("Acct1"),
                             QStringLiteral("create table t_SystemProfile (FCategory nvarchar(30), FKey "
                                            "nvarchar(30), FValue nvarchar(255))\n"
                                            "insert into t_SystemProfile values ('Base', 'ServicePack', 'SP002')\n"
                                            "insert into t_SystemProfile values ('Base', 'VEQVersion', ' 8.0 ')")),
                  QString());
    }
    void TearDown() override { PlatformClock::setFixedNow(QDateTime()); }
    QString textLog() const {
        QFile f(TextLogPath(QDate(2018, 3, 7)));
        return f.open(QIODevice::ReadOnly) ? AnsiCodec::decode(f.readAll()) : QString();
    }
    StandinServer server;
};

TEST_F(CAcctCnnSharpTest, ReadsVersionsAndSwitchesDatabases) {
    CAcctCnnSharp holder;
    EXPECT_FALSE(holder.IsConnected());
    EXPECT_EQ(holder.CnnMaster()->database(), QStringLiteral("master"));
    EXPECT_EQ(holder.GetDBVersion(QStringLiteral("Acct1")), QStringLiteral("SP002"));
    EXPECT_TRUE(holder.IsVantoraDB(QStringLiteral("Acct1")));
    EXPECT_FALSE(holder.IsVantoraDB(QStringLiteral("master")));  // no profile table

    holder.setConnections(nullptr, holder.CnnMaster());
    EXPECT_TRUE(holder.IsConnected());
    EXPECT_TRUE(holder.IsExistsDB(QStringLiteral("Acct1")));
    EXPECT_FALSE(holder.IsExistsDB(QStringLiteral("Missing")));
    EXPECT_EQ(holder.DBServerConnection()->database(), QStringLiteral("master"));
    ASSERT_NE(holder.GetConnection(QStringLiteral("Acct1")), nullptr);
    EXPECT_EQ(holder.DBServerConnection()->database(), QStringLiteral("Acct1"));
    EXPECT_EQ(holder.GetGlobalValue(QStringLiteral("p"), QStringLiteral("AcctInfo"), 5, false), QVariant(5));
}

TEST_F(CAcctCnnSharpTest, FailuresAreReportedAndGiveNothing) {
    CAcctCnnSharp holder;
    EXPECT_EQ(holder.GetConnection(QStringLiteral("Acct1")), nullptr);  // nothing held
    EXPECT_EQ(holder.GetDBVersion(QStringLiteral("Missing")), QString());
    const QString log = textLog();
    EXPECT_TRUE(log.contains(QStringLiteral("错误位于：CAcctCnnSharp.GetConnection(Acct1)\r\n描述：")));
    EXPECT_TRUE(log.contains(QStringLiteral("错误位于：CAcctCnnSharp.GetDBVersion(Missing)\r\n描述：")));
}

}  // namespace
