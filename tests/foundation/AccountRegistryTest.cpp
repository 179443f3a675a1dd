#include <gtest/gtest.h>

#include "kit/StandinServer.h"
#include "foundation/Globals.h"
#include "foundation/clsDataInfo.h"
#include "platform/MessageScript.h"
#include "platform/PnwReg.h"
#include "platform/ado/AdoError.h"

class AccountRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        PnwReg().SetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Microsoft SQL Server"),
                             QStringLiteral("ProductID"), QStringLiteral("PID-1"));
        previous = clsDataInfo::cacheService();
        clsDataInfo::cacheService() = [this](const QString &category) { refreshed.append(category); };
    }
    void TearDown() override { clsDataInfo::cacheService() = previous; }
    int add(const QString &number, int node, const QString &company, const QString &createTime) {
        return data.AddAccount(server.acctCtl(), number, QStringLiteral("账套") + number, QStringLiteral("conn"), node,
                               1, QStringLiteral("VEQSERVER"), QStringLiteral("sa"), QStringLiteral("secret"),
                               QStringLiteral("A") + number, QStringLiteral("SP002"), company, QStringLiteral("说明"),
                               QStringLiteral("Administrator"), createTime, QStringLiteral("f"));
    }
    QStringList registry() const {
        return server.rows(
            QStringLiteral("AcctCtl"),
            QStringLiteral("select FAcctNumber,FConnectString,FNodeID,FSysPwd,FLevel,FCompanyName,FCreateTime,"
                           "isnull(FPID,'null') from t_ad_xrAccount_gl order by FAcctID"));
    }
    StandinServer server;
    clsDataInfo data;
    QStringList refreshed;
    std::function<void(const QString &)> previous;
};

TEST_F(AccountRegistryTest, AddAccountWritesTheRowOfTheInstalledVersion) {
    g_InstalledVersion = QStringLiteral("13.0");
    EXPECT_EQ(add(QStringLiteral("001"), 8, QStringLiteral("O'Neil 公司"), QStringLiteral("2018-03-07 09:05:01")), 8);
    g_InstalledVersion = QStringLiteral("14.1");
    EXPECT_EQ(add(QStringLiteral("002"), 3, QStringLiteral("乙"), QString()), 8);  // an older row has the larger node
    EXPECT_EQ(registry(),
              (QStringList{"001\t\t8\t\t1\tO'Neil 公司\t2018/3/7 9:05:01\tnull", "002\t\t3\t\t1\t乙\t\tPID-1"}));
    EXPECT_EQ(refreshed, (QStringList{"AcctInfo", "AcctInfo"}));
}

TEST_F(AccountRegistryTest, AddAccountRaisesAndACacheFailureIsHarmless) {
    g_InstalledVersion = QStringLiteral("14.1");
    clsDataInfo::cacheService() = [](const QString &) { throw std::runtime_error("no cache service"); };
    EXPECT_EQ(add(QStringLiteral("003"), 5, QStringLiteral("丙"), QString()), 5);
    EXPECT_THROW(data.AddAccount(
                     QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=Nowhere;User ID=sa;Password=pw"),
                     QStringLiteral("1"), QStringLiteral("n"), QString(), 1, 1, QString(), QString(), QString(),
                     QString(), QString(), QString(), QString(), QString(), QString(), QString()),
                 ado::AdoError);
}

TEST_F(AccountRegistryTest, DatabaseTypesAndProfileValues) {
    std::optional<ado::Recordset> types = data.GetAd_DBtypeInfo(server.acctCtl());
    ASSERT_TRUE(types.has_value());
    ASSERT_EQ(types->RecordCount(), 1);
    EXPECT_EQ(types->value(QStringLiteral("FName")).toString(), QStringLiteral("SQL Server"));
    EXPECT_EQ(types->value(QStringLiteral("FVersion")).toString(), QStringLiteral("13.0"));
    EXPECT_FALSE(data.GetAd_DBtypeInfo(server.connectionString(QStringLiteral("Nowhere"))).has_value());

    ASSERT_EQ(server.run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE A001")), QString());
    ASSERT_EQ(server.run(
                  QStringLiteral("A001"),
                  QStringLiteral(
                      "create table t_SystemProfile (FCategory nvarchar(30), FKey nvarchar(30), FValue nvarchar(255))\n"
                      "insert into t_SystemProfile values (N'GL', N'CurrentYear', N'2018')\n"
                      "insert into t_SystemProfile values (N'GL', N'CurrentPeriod', N'3')\n"
                      "create table t_PeriodDate (FYear int, FPeriod int, FStartDate datetime, FEndDate datetime)\n"
                      "insert into t_PeriodDate values (2018, 3, '2018-03-01', '2018-03-31')\n"
                      "insert into t_PeriodDate values (2018, 4, '2018-04-01', '2018-04-30')")),
              QString());
    const QString a001 = server.connectionString(QStringLiteral("A001"));
    EXPECT_EQ(data.GetSysProfileValue(a001, QStringLiteral("GL"), QStringLiteral("CurrentYear")),
              QStringLiteral("2018"));
    EXPECT_EQ(data.GetSysProfileValue(a001, QStringLiteral("GL"), QStringLiteral("Missing")), QString());
    EXPECT_EQ(data.GetPeriodDate(a001, QStringLiteral("GL"), QStringLiteral("0"), true), QStringLiteral("2018-03-01"));
    EXPECT_EQ(data.GetPeriodDate(a001, QStringLiteral("GL"), QStringLiteral("0"), false), QStringLiteral("2018-03-31"));
    EXPECT_EQ(data.GetMaxPeriod(a001), 4);
    EXPECT_EQ(data.GetMaxPeriod(server.acctCtl()), 12);
}
