#include <gtest/gtest.h>

#include <QFile>

#include "kit/AccountsServer.h"
#include "accounts/AISINFO.h"
#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "platform/AnsiCodec.h"
#include "platform/MessageScript.h"
#include "platform/PlatformSettings.h"
#include "platform/ado/Connection.h"
#include "support/QtApp.h"

class UpgradeScriptsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureQtApp();
        ASSERT_EQ(server.run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE T01")), QString());
        ASSERT_EQ(server.run(QStringLiteral("T01"),
                             QStringLiteral("CREATE TABLE t_SystemProfile (FCategory nvarchar(50) NOT NULL, FKey "
                                            "nvarchar(100) NOT NULL, FValue nvarchar(255) NULL, FReadOnly int NOT NULL "
                                            "DEFAULT 0, FLevel int NULL DEFAULT 0, FDescription nvarchar(255) NULL "
                                            "DEFAULT '')")),
                  QString());
        setProfile(QStringLiteral("AcctType"), QStringLiteral("Industry"));
        setProfile(QStringLiteral("ServicePack"), QStringLiteral("SP000"));
        bar.setMax(100);
    }
    void setProfile(const QString &key, const QString &value) {
        server.run(QStringLiteral("T01"),
                   QStringLiteral("DELETE FROM t_SystemProfile WHERE FCategory='Base' AND FKey='%1'").arg(key));
        server.run(QStringLiteral("T01"), QStringLiteral("INSERT INTO t_SystemProfile (FCategory, FKey, FValue, "
                                                         "FReadonly, FDescription) VALUES ('Base', '%1', '%2', 1, '')")
                                              .arg(key, value));
    }
    QString level() const {
        const QStringList r = server.rows(QStringLiteral("T01"),
                                          QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory='Base' "
                                                         "AND FKey='ServicePack'"));
        return r.isEmpty() ? QString() : r.first();
    }
    QStringList history() const {
        return server.rows(QStringLiteral("T01"),
                           QStringLiteral("SELECT FServicePack, FFileName FROM t_SPHistory ORDER BY FID"));
    }
    void writeScript(const QString &name, const QString &text) {
        QFile f(server.commonFolder() + QStringLiteral("SqlSrv/") + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(AnsiCodec::encode(text));
    }
    bool upgrade() {
        AISINFO info;
        info.ConnectionString = server.connectionString(QStringLiteral("T01"));
        const bool ok = info.UpdateAISINFO(&bar);
        lastError = info.lastError();
        return ok;
    }
    AccountsServer server;
    MessageScript messages;
    ProgressBar bar;
    QString lastError;
};

TEST_F(UpgradeScriptsTest, TheShippedPacksRunByCodePage) {
    struct Case {
        int codePage;
        QStringList history;
        QStringList resources;
    };
    const QString sp1 = QStringLiteral("SP001\tSP001_Base.sql");
    const QString res = QStringLiteral("SP001\tSP001_SysRes.sql");
    const QString cht = QStringLiteral("SP001\tCHT_SP001.sql");
    const QString en = QStringLiteral("SP001\tEN_SP001.sql");
    const QString p2 = QStringLiteral("SP002\tSP002_Precision_V12_2.sql");
    const QString b2 = QStringLiteral("SP002\tSP002_Base.sql");
    const Case cases[] = {
        {936, {sp1, sp1, res, p2, b2}, {QStringLiteral("VEQSysLogo"), QStringLiteral("VEQSysText_CHS")}},
        {1252, {sp1, sp1, res, en, p2, b2}, {QStringLiteral("VEQSysLogo")}},
        {950, {sp1, sp1, res, cht, p2, b2}, {QStringLiteral("VEQSysLogo")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.codePage);
        server.run(QStringLiteral("T01"), QStringLiteral("DROP TABLE t_SPHistory"));
        server.run(QStringLiteral("T01"), QStringLiteral("DROP TABLE t_SysResource"));
        setProfile(QStringLiteral("ServicePack"), QStringLiteral("SP000"));
        PlatformSettings::setAnsiCodePage(c.codePage);
        bar.setValue(0);
        ASSERT_TRUE(upgrade()) << lastError.toStdString();
        EXPECT_EQ(history(), c.history);
        EXPECT_EQ(server.rows(QStringLiteral("T01"), QStringLiteral("SELECT FName FROM t_SysResource ORDER BY FName")),
                  c.resources);
        EXPECT_EQ(bar.Value(), 100);
        EXPECT_EQ(level(), QStringLiteral("SP002"));
    }
    // The logo is stored byte for byte.
    QFile logo(server.commonFolder() + QStringLiteral("VEQSysLogo.bin"));
    ASSERT_TRUE(logo.open(QIODevice::ReadOnly));
    ado::Connection c;
    c.Open(server.connectionString(QStringLiteral("T01")));
    ado::Recordset rs = c.Execute(QStringLiteral("SELECT FData FROM t_SysResource WHERE FName='VEQSysLogo'"));
    EXPECT_EQ(rs.Fields(0).Value.toByteArray(), logo.readAll());
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(UpgradeScriptsTest, ALevelAtTheLastPackRunsNothing) {
    setProfile(QStringLiteral("ServicePack"), QStringLiteral("SP002"));
    EXPECT_TRUE(upgrade());
    EXPECT_NE(server.run(QStringLiteral("T01"), QStringLiteral("SELECT * FROM t_SPHistory")), QString());
    EXPECT_EQ(bar.Value(), 100);
}

TEST_F(UpgradeScriptsTest, FailuresEndTheRunWithoutRecordingTheLevel) {
    struct Case {
        const char *what;
        QString file;   // replaces SP002_Base.sql ("" removes it)
        QString error;  // the engine's failure text ("" any)
    };
    const QString missing = server.commonFolder() + QStringLiteral("SqlSrv/SP002_Base.sql");
    const Case cases[] = {
        {"listed file missing", QString(), QStringLiteral("文件") + missing + QStringLiteral("不存在，执行出错")},
        {"failing batch", QStringLiteral("insert into NoSuchTable values (1)\r\ngo\r\n"), QString()},
        {"reference without name", QStringLiteral("insertfile into t_SPHistory (FNote) values (<>)\r\ngo\r\n"),
         QStringLiteral("文件引用格式有误，执行出错")},
        {"reference never closed",
         QStringLiteral("insertfile into t_SPHistory (FNote) values (<VEQSysLogo.bin\r\ngo\r\n"),
         QStringLiteral("文件引用格式有误，执行出错")},
        {"no reference", QStringLiteral("insertfile into t_SPHistory (FNote) values ('x')\r\ngo\r\n"), QString()},
        {"referenced file missing", QStringLiteral("insertfile into t_SPHistory (FNote) values (<gone.bin>)\r\ngo\r\n"),
         QStringLiteral("文件") + server.commonFolder() + QStringLiteral("gone.bin不存在，执行出错")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        server.run(QStringLiteral("T01"), QStringLiteral("DROP TABLE t_SPHistory"));
        server.run(QStringLiteral("T01"), QStringLiteral("DROP TABLE t_SysResource"));
        setProfile(QStringLiteral("ServicePack"), QStringLiteral("SP000"));
        if (c.file.isNull())
            QFile::remove(missing);
        else
            writeScript(QStringLiteral("SP002_Base.sql"), c.file);
        EXPECT_FALSE(upgrade());
        if (!c.error.isEmpty()) {
            EXPECT_EQ(lastError, c.error);
        }
        EXPECT_EQ(level(), QStringLiteral("SP000"));
        // The files before the failing one stay committed.
        EXPECT_EQ(history().size(), 4);
    }
}

TEST_F(UpgradeScriptsTest, ACancelRunsNothingFurther) {
    g_CancelRequested = true;
    EXPECT_FALSE(upgrade());
    g_CancelRequested = false;
    EXPECT_NE(server.run(QStringLiteral("T01"), QStringLiteral("SELECT * FROM t_SPHistory")), QString());
    EXPECT_EQ(level(), QStringLiteral("SP000"));
}

TEST_F(UpgradeScriptsTest, BatchesEndAtGoLinesAndTrailingTextNeverRuns) {
    writeScript(QStringLiteral("SP002_Base.sql"),
                QStringLiteral("INSERT INTO t_SPHistory (FServicePack, FFileName, FNote) VALUES ('SP002', 'a', 'x')\r\n"
                               "GO;\r\n"
                               "go\r\n"
                               "\r\n"
                               "INSERT INTO t_SPHistory (FServicePack, FFileName, FNote) VALUES ('SP002', 'b', 'y')\r\n"
                               "   Go   \r\n"
                               "INSERT INTO NeverThere VALUES (1)\r\n"));
    // "GO;" is no batch end: the first batch holds it and fails.
    EXPECT_FALSE(upgrade());
    writeScript(QStringLiteral("SP002_Base.sql"),
                QStringLiteral("INSERT INTO t_SPHistory (FServicePack, FFileName, FNote) VALUES ('SP002', 'a', 'x')\r\n"
                               "go\r\n"
                               "\r\n"
                               "INSERT INTO t_SPHistory (FServicePack, FFileName, FNote) VALUES ('SP002', 'b', 'y')\r\n"
                               "   Go   \r\n"
                               "INSERT INTO NeverThere VALUES (1)\r\n"));
    server.run(QStringLiteral("T01"), QStringLiteral("DROP TABLE t_SPHistory"));
    server.run(QStringLiteral("T01"), QStringLiteral("DROP TABLE t_SysResource"));
    EXPECT_TRUE(upgrade()) << lastError.toStdString();
    const QStringList h = history();
    ASSERT_EQ(h.size(), 6);
    EXPECT_EQ(h.at(4), QStringLiteral("SP002\ta"));
    EXPECT_EQ(h.at(5), QStringLiteral("SP002\tb"));
}

TEST_F(UpgradeScriptsTest, OptionsAreStoredIntactWithTheirQuotes) {
    server.run(QStringLiteral("T01"), QStringLiteral("INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadonly, "
                                                     "FDescription) VALUES ('IC', 'AuditChoice', '9', 0, 'kept')"));
    server.run(QStringLiteral("T01"), QStringLiteral("INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadonly, "
                                                     "FDescription) VALUES ('IC', 'CloseInModule', '1', 0, '')"));
    AISINFO info;
    info.ConnectionString = server.connectionString(QStringLiteral("T01"));
    info.CompanyName = QStringLiteral("O'Neil's 公司");
    info.CompanyPhone = QStringLiteral("'010'");
    info.CompanyAddress = QStringLiteral("街道'");
    info.Description = QStringLiteral("本账套由标准版账套升级生成");
    info.CompanyType = 1;
    info.UpdateAISINFO(&bar);
    struct Row {
        const char *category, *key;
        QString row;  // FValue, FReadonly, FDescription
    };
    const Row rows[] = {
        {"General", "CompanyName", QStringLiteral("O'Neil's 公司\t1\t")},
        {"General", "CompanyPhone", QStringLiteral("'010'\t1\t")},
        {"General", "CompanyAddress", QStringLiteral("街道'\t1\t")},
        {"General", "CompanyType", QStringLiteral("1\t1\t")},
        {"IC", "UnderStock", QStringLiteral("0\t1\t")},
        {"IC", "UPSTOCKWHENSAVE", QStringLiteral("0\t1\t")},
        {"IC", "AuditChoice", QStringLiteral("1\t0\tkept")},
        {"IC", "MakeZanGuVoucher", QStringLiteral("1\t1\t")},
    };
    for (const Row &r : rows)
        EXPECT_EQ(server.rows(QStringLiteral("T01"),
                              QStringLiteral("SELECT FValue, CAST(FReadonly AS int), FDescription FROM "
                                             "t_SystemProfile WHERE FCategory='%1' AND FKey='%2'")
                                  .arg(QLatin1String(r.category), QLatin1String(r.key))),
                  QStringList{r.row})
            << r.key;
    EXPECT_TRUE(
        server.rows(QStringLiteral("T01"), QStringLiteral("SELECT 1 FROM t_SystemProfile WHERE FKey='CloseInModule'"))
            .isEmpty());
}

TEST_F(UpgradeScriptsTest, WithoutABarOrADatabaseNothingRuns) {
    AISINFO noBar;
    noBar.ConnectionString = server.connectionString(QStringLiteral("T01"));
    EXPECT_FALSE(noBar.UpdateAISINFO(nullptr));
    AISINFO noDatabase;
    noDatabase.ConnectionString = server.connectionString(QStringLiteral("NoSuchSet"));
    EXPECT_FALSE(noDatabase.UpdateAISINFO(&bar));
    EXPECT_NE(server.run(QStringLiteral("T01"), QStringLiteral("SELECT * FROM t_SPHistory")), QString());
    EXPECT_EQ(level(), QStringLiteral("SP000"));
}
