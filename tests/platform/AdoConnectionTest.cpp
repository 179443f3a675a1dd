// The ADO stand-in's connection: connection strings, the instance folder,
// login and database failures, transactions and errors.
#include <gtest/gtest.h>

#include <QDir>

#include "kit/TestServer.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "platform/ado/ConnectionString.h"
#include "platform/ado/InstanceLocator.h"

namespace {

TEST(AdoConnectionString, KeysAreCaseInsensitiveAndTrimmed) {
    ado::ConnectionString cs(QStringLiteral(" provider = SQLOLEDB.1 ;DATA SOURCE=.; initial catalog = AcctCtl ;"
                                            "User ID= sa ;Password= p w ;Persist Security Info=True"));
    EXPECT_EQ(cs.provider(), QStringLiteral("SQLOLEDB.1"));
    EXPECT_EQ(cs.dataSource(), QStringLiteral("."));
    EXPECT_EQ(cs.initialCatalog(), QStringLiteral("AcctCtl"));
    EXPECT_EQ(cs.userId(), QStringLiteral("sa"));
    EXPECT_EQ(cs.password(), QStringLiteral("p w"));
    EXPECT_FALSE(cs.integratedSecurity());
    EXPECT_TRUE(ado::ConnectionString(QStringLiteral("Integrated Security=SSPI;Persist Security Info=False"))
                    .integratedSecurity());
}

TEST(AdoInstanceLocator, DefaultAndNamedInstances) {
    QByteArray old = qgetenv(ado::kInstanceDirVariable);
    qputenv(ado::kInstanceDirVariable, "/srv/sql/MSSQLSERVER");
    EXPECT_EQ(ado::instanceFolder(QStringLiteral(".")), QStringLiteral("/srv/sql/MSSQLSERVER"));
    EXPECT_EQ(ado::instanceFolder(QStringLiteral("(local)")), QStringLiteral("/srv/sql/MSSQLSERVER"));
    EXPECT_EQ(ado::instanceFolder(QStringLiteral(".\\SQL2008")), QStringLiteral("/srv/sql/SQL2008"));
    EXPECT_EQ(ado::instanceFolder(QStringLiteral("otherhost")), QString());
    EXPECT_EQ(ado::instanceFolder(QStringLiteral(".\\..")), QString());
    qputenv(ado::kInstanceDirVariable, old);
}

TEST(AdoConnection, OpensAndRunsBatches) {
    TestServer srv{{"Acct"}, TestServer::Reach::AsDefaultInstance};
    ado::Connection cn;
    cn.CursorLocation = ado::adUseClient;
    cn.Open(srv.connectionString());
    EXPECT_EQ(cn.State(), ado::adStateOpen);
    EXPECT_EQ(cn.database(), QStringLiteral("Acct"));
    qint64 affected = 0;
    cn.Execute(QStringLiteral("create table t(a int)\r\ninsert into t values (1)"), &affected);
    EXPECT_EQ(affected, 1);
    ado::Recordset rs = cn.Execute(QStringLiteral("select count(*) from t"));
    EXPECT_EQ(rs.Fields(0).Value.toInt(), 1);
    cn.Close();
    EXPECT_EQ(cn.State(), ado::adStateClosed);
}

TEST(AdoConnection, FailuresCarryServerNumbersAndCreateNothing) {
    TestServer srv{{"Acct"}, TestServer::Reach::AsDefaultInstance};
    QStringList before = QDir(QString::fromStdString(srv.folder())).entryList(QDir::Files);
    struct Row {
        QString cs;
        int number;
    } rows[] = {
        {srv.connectionString(QStringLiteral("NoSuchDb")), 4060},
        {QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=Acct;User ID=sa;Password=bad"), 18456},
        {QStringLiteral("Provider=SQLOLEDB.1;Data Source=elsewhere;Initial Catalog=Acct;User ID=sa;Password=pw"), 17},
    };
    for (const auto &r : rows) {
        ado::Connection cn;
        try {
            cn.Open(r.cs);
            ADD_FAILURE() << r.cs.toStdString();
        } catch (const ado::AdoError &e) {
            EXPECT_EQ(e.number(), r.number) << r.cs.toStdString();
            EXPECT_FALSE(e.description().isEmpty());
        }
        EXPECT_EQ(cn.State(), ado::adStateClosed);
    }
    EXPECT_EQ(QDir(QString::fromStdString(srv.folder())).entryList(QDir::Files), before);
}

TEST(AdoConnection, ErrorsHaveNumberSourceAndProviderCode) {
    TestServer srv{{"Acct"}, TestServer::Reach::AsDefaultInstance};
    ado::Connection cn;
    cn.Open(srv.connectionString());
    struct Row {
        const char *sql;
        int number;
        quint32 code;
        const char *text;
    } rows[] = {
        {"select from", 156, 0x80040E14u, "语法错误"},
        {"select * from t_missing", 208, 0x80040E14u, "t_missing"},
        {"select 1/0", 8134, 0x80040E57u, "除数"},
    };
    for (const auto &r : rows) {
        try {
            cn.Execute(QString::fromUtf8(r.sql));
            ADD_FAILURE() << r.sql;
        } catch (const ado::AdoError &e) {
            EXPECT_EQ(e.number(), r.number) << r.sql;
            EXPECT_EQ(e.providerCode(), r.code) << r.sql;
            EXPECT_TRUE(e.description().contains(QString::fromUtf8(r.text))) << e.description().toStdString();
            EXPECT_FALSE(e.source().isEmpty());
        }
    }
}

TEST(AdoConnection, TransactionsRollBackAndCloseRollsBack) {
    TestServer srv{{"Acct"}, TestServer::Reach::AsDefaultInstance};
    ado::Connection cn;
    cn.Open(srv.connectionString());
    cn.Execute(QStringLiteral("create table t(a int)"));
    cn.BeginTrans();
    cn.Execute(QStringLiteral("insert into t values (1)"));
    cn.RollbackTrans();
    cn.BeginTrans();
    cn.Execute(QStringLiteral("insert into t values (2)"));
    cn.CommitTrans();
    cn.BeginTrans();
    cn.Execute(QStringLiteral("insert into t values (3)"));
    cn.Close();
    cn.Open();
    ado::Recordset rs = cn.Execute(QStringLiteral("select a from t"));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("A")).Value.toInt(), 2);
}

}  // namespace
