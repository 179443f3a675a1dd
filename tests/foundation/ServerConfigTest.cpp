#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "kit/StandinServer.h"
#include "foundation/AccountList.h"
#include "foundation/DES.h"
#include "foundation/Globals.h"
#include "foundation/IniValues.h"
#include "foundation/ServerConfig.h"
#include "foundation/SqlInstance.h"
#include "foundation/VersionText.h"
#include "foundation/clsDataInfo.h"
#include "platform/AnsiCodec.h"
#include "platform/IniFile.h"
#include "platform/OnlineUpdate.h"
#include "platform/PnwError.h"
#include "platform/PnwReg.h"
#include "platform/ado/ConnectionString.h"

namespace {

const QString kProductKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\VEQPRODUCT");
const QString kSqlKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Microsoft SQL Server");
const QString kPrefix = QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=[AcctNo];User ID=");

}  // namespace

class ServerConfigTest : public ::testing::Test {
protected:
    void SetUp() override { server.setEnvironment("CommonProgramFiles", server.path() + QStringLiteral("/common")); }
    // DBConfig.veq with the DES section and the update component's section.
    void writeConfig(const QString &user, const QString &password) {
        DES des;
        const QString text =
            QStringLiteral("[ServerInfo2015]\r\nUser=%1\r\nPwd=%2\r\n\r\n[ServerInfo]\r\nUser=%3\r\nPwd=%4\r\n")
                .arg(des.EncodeString(user, QStringLiteral("mwqTRZej")),
                     des.EncodeString(password, QStringLiteral("mwqTRZej")), OnlineUpdate::CREncryptData(user),
                     OnlineUpdate::CREncryptData(password));
        ASSERT_TRUE(QDir().mkpath(server.path() + QStringLiteral("/common/Vantora/VEQ")));
        QFile f(ServerConfigFilePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(AnsiCodec::encode(text));
    }
    StandinServer server;
};

TEST(VersionTextTest, ComparesAsTextUnitByUnit) {
    const struct {
        const char *version;
        const char *minimum;
        bool atLeast;
    } cases[] = {
        {"14.1", "14.1", true}, {"14.10", "14.1", true}, {"15", "14.1", true},     {"9.0", "14.1", true},
        {"9.5", "13.0", true},  {"14.0", "14.1", false}, {"", "13.0", false},      {"12.9", "13.0", false},
        {"13.0", "13.0", true}, {"", "", true},          {"14.1a", "14.1A", true}, {"14.1A", "14.1a", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(VersionAtLeast(QString::fromLatin1(c.version), QString::fromLatin1(c.minimum)), c.atLeast)
            << c.version << " vs " << c.minimum;
}

TEST(OnlineUpdateTest, EncodesAndDecodesTheOlderLogins) {
    EXPECT_EQ(OnlineUpdate::CREncryptData(QStringLiteral("sa")), QStringLiteral("293B"));
    EXPECT_EQ(OnlineUpdate::CRDecryptData(QStringLiteral("293b")), QStringLiteral("sa"));
    for (const QString &text : {QString(), QStringLiteral("VEQ#2015sa"), QStringLiteral("管理员 ;x")})
        EXPECT_EQ(OnlineUpdate::CRDecryptData(OnlineUpdate::CREncryptData(text)), text);
    EXPECT_THROW(OnlineUpdate::CRDecryptData(QStringLiteral("293")), PnwError);
    EXPECT_THROW(OnlineUpdate::CRDecryptData(QStringLiteral("zz")), PnwError);
}

TEST_F(ServerConfigTest, TheVersionChoosesSectionAndDecoding) {
    PnwReg reg;
    writeConfig(QStringLiteral("sa"), QStringLiteral("VEQ#2015sa"));
    for (const char *version : {"14.1", "14.10", "9.5", "14.0", "13.0"}) {
        g_InstalledVersion = QString::fromLatin1(version);
        QString user = QStringLiteral("old");
        QString password = QStringLiteral("old");
        EXPECT_EQ(GetServerConnectionTemplate(user, password), kPrefix + QStringLiteral("sa;Password=VEQ#2015sa"))
            << version;
        EXPECT_EQ(user, QStringLiteral("sa"));
        EXPECT_EQ(password, QStringLiteral("VEQ#2015sa"));
    }
    // The DES section is the one read from 14.1 on: spoil the other one.
    QFile f(ServerConfigFilePath());
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("\r\n");
    f.close();
    IniFile::writeProfileString(ServerConfigFilePath(), QStringLiteral("ServerInfo"), QStringLiteral("User"),
                                QStringLiteral("not hex"));
    g_InstalledVersion = QStringLiteral("14.1");
    QString user, password;
    EXPECT_FALSE(GetServerConnectionTemplate(user, password).isEmpty());
    g_InstalledVersion = QStringLiteral("14.0");
    user = QStringLiteral("kept");
    EXPECT_EQ(GetServerConnectionTemplate(user, password), QString());
    EXPECT_EQ(user, QStringLiteral("kept"));
}

TEST_F(ServerConfigTest, NoConfigurationFileGivesAnEmptyLogin) {
    g_InstalledVersion = QStringLiteral("14.1");
    QString user = QStringLiteral("x"), password = QStringLiteral("y");
    EXPECT_EQ(GetServerConnectionTemplate(user, password), kPrefix + QStringLiteral(";Password="));
    EXPECT_EQ(user, QString());
    g_InstalledVersion = QStringLiteral("13.0");
    EXPECT_EQ(GetServerConnectionTemplate(user, password), kPrefix + QStringLiteral(";Password="));
}

TEST_F(ServerConfigTest, ALoginThatTheSyntaxWouldMisreadIsQuoted) {
    writeConfig(QStringLiteral("sa"), QStringLiteral("pa;ss\"w"));
    g_InstalledVersion = QStringLiteral("14.1");
    QString user, password;
    EXPECT_EQ(GetServerConnectionTemplate(user, password), kPrefix + QStringLiteral("sa;Password=\"pa;ss\"\"w\""));
    EXPECT_EQ(password, QStringLiteral("pa;ss\"w"));
    EXPECT_EQ(ConnectionStringValue(QStringLiteral(" lead")), QStringLiteral("\" lead\""));
    EXPECT_EQ(ConnectionStringValue(QStringLiteral("'q")), QStringLiteral("\"'q\""));
    EXPECT_EQ(ConnectionStringValue(QStringLiteral("in ner")), QStringLiteral("in ner"));
}

TEST_F(ServerConfigTest, SetLoginPartTrimsBlanks) {
    SetLoginPart(false, QStringLiteral("  sa "), QStringLiteral(" pw  "));
    EXPECT_EQ(g_LoginPart, QStringLiteral(";User ID=sa;Password=pw"));
    SetLoginPart(false, QStringLiteral("sa"), QStringLiteral(" a;b "));
    EXPECT_EQ(g_LoginPart, QStringLiteral(";User ID=sa;Password=\"a;b\""));
    SetLoginPart(true, QStringLiteral("sa"), QStringLiteral("pw"));
    EXPECT_EQ(g_LoginPart, QStringLiteral(";Integrated Security=SSPI;Persist Security Info=False"));
}

TEST_F(ServerConfigTest, TheFirstListedInstanceDecides) {
    PnwReg reg;
    const struct {
        QStringList list;
        QString instance;
    } cases[] = {
        {{}, QString()},
        {{"MSSQLSERVER", "SQLEXPRESS"}, QString()},
        {{"SQLEXPRESS", "MSSQLSERVER"}, QStringLiteral("SQLEXPRESS")},
        {{"mssqlserver"}, QString()},
    };
    for (const auto &c : cases) {
        if (c.list.isEmpty())
            reg.DeleteValue(kSqlKey, QStringLiteral("InstalledInstances"));
        else
            reg.SetMultiStringValue(kSqlKey, QStringLiteral("InstalledInstances"), c.list);
        EXPECT_EQ(GetLocalSqlInstanceName(), c.instance) << c.list.join(',').toStdString();
    }
    reg.SetMultiStringValue(kSqlKey, QStringLiteral("InstalledInstances"), {QStringLiteral("SQLEXPRESS")});
    EXPECT_EQ(ApplySqlInstance(QStringLiteral("Provider=x;data source=.;Initial Catalog=a;DATA SOURCE=.;")),
              QStringLiteral("Provider=x;Data Source=.\\SQLEXPRESS;Initial Catalog=a;Data Source=.\\SQLEXPRESS;"));
    EXPECT_EQ(ApplySqlInstance(QStringLiteral("Data Source=box;Initial Catalog=a")),
              QStringLiteral("Data Source=box;Initial Catalog=a"));
    reg.SetMultiStringValue(kSqlKey, QStringLiteral("InstalledInstances"), {QStringLiteral("MSSQLSERVER")});
    EXPECT_EQ(ApplySqlInstance(QStringLiteral("Data Source=.;x")), QStringLiteral("Data Source=.;x"));
}

TEST_F(ServerConfigTest, ProductValuesAndIniReads) {
    PnwReg reg;
    EXPECT_EQ(GetProductVersion(), QString());
    EXPECT_EQ(GetProductCommonPath(), QStringLiteral("1/Common/"));
    reg.SetKeyValue(kProductKey, QStringLiteral("Version"), QStringLiteral("14.1"));
    reg.SetKeyValue(kProductKey, QStringLiteral("Path"), QStringLiteral("/opt/veq"));
    EXPECT_EQ(GetProductVersion(), QStringLiteral("14.1"));
    EXPECT_EQ(GetProductCommonPath(), QStringLiteral("/opt/veq/Common/"));
    EXPECT_EQ(GetCommonVendorPath(), server.path() + QStringLiteral("/common/Vantora/"));

    const QString ini = server.path() + QStringLiteral("/list.lst");
    IniFile::writeProfileString(ini, QStringLiteral("Industry"), QStringLiteral("Long"),
                                QString(300, QLatin1Char('x')));
    IniFile::writeProfileString(ini, QStringLiteral("Industry"), QStringLiteral("SqlCount"), QStringLiteral("7"));
    EXPECT_EQ(ReadIniValue(ini, QStringLiteral("Industry"), QStringLiteral("Long"), QString()),
              QString(254, QLatin1Char('x')));
    EXPECT_EQ(GetIniValue(ini, QStringLiteral("industry"), QStringLiteral("sqlcount"), QStringLiteral("0")),
              QStringLiteral("7"));
    EXPECT_EQ(GetIniValue(ini, QStringLiteral("None"), QStringLiteral("SqlCount"), QStringLiteral("0")),
              QStringLiteral("0"));
    EXPECT_EQ(
        ReadIniValue(server.path() + QStringLiteral("/none.ini"), QStringLiteral("a"), QStringLiteral("b"), QString()),
        QString());
}

TEST_F(ServerConfigTest, StartUpBuildsWorkingConnectionStringsOnlyPastTheGate) {
    PnwReg reg;
    writeConfig(QStringLiteral("sa"), QStringLiteral("pw"));
    g_AcctCtlConnectString.clear();
    reg.SetKeyValue(kProductKey, QStringLiteral("Version"), QStringLiteral("12.9"));
    EXPECT_FALSE(LoadServerConfiguration(QStringLiteral("13.0")));
    EXPECT_EQ(g_InstalledVersion, QStringLiteral("12.9"));
    EXPECT_TRUE(g_AcctCtlConnectString.isEmpty());

    reg.SetKeyValue(kProductKey, QStringLiteral("Version"), QStringLiteral("14.1"));
    EXPECT_TRUE(LoadServerConfiguration(QStringLiteral("13.0")));
    EXPECT_EQ(g_ConnectStringTemplate, kPrefix + QStringLiteral("sa;Password=pw"));
    EXPECT_EQ(g_AcctCtlConnectString,
              QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=AcctCtl;User ID=sa;Password=pw"));
    EXPECT_EQ(g_ServerUser, QStringLiteral("sa"));
    clsDataInfo data;
    QString err;
    EXPECT_TRUE(data.ExecuteSQL(g_AcctCtlConnectString, QStringLiteral("select * from t_ad_dbtype"), err))
        << err.toStdString();
}

TEST_F(ServerConfigTest, PurgeAndListAccountsDropsRowsOfVanishedDatabases) {
    ASSERT_EQ(server.run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE A001")), QString());
    for (const char *row : {"(N'002', N'Gone', 1, N'Gone')", "(N'001', N'Here', 1, N'A001')"})
        ASSERT_EQ(server.run(QStringLiteral("AcctCtl"),
                             QStringLiteral(
                                 "insert into t_ad_xrAccount_gl (FAcctNumber, FAcctName, FDBType, FDBName) values ") +
                                 QLatin1String(row)),
                  QString());
    std::optional<ado::Recordset> rs = PurgeAndListAccounts();
    ASSERT_TRUE(rs.has_value());
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->value(QStringLiteral("FAcctName")).toString(), QStringLiteral("Here"));
    EXPECT_EQ(rs->value(QStringLiteral("FDBMSName")).toString(), QStringLiteral("Microsoft SQL Server"));
    EXPECT_EQ(rs->value(QStringLiteral("FDBVersion")).toString(), QStringLiteral("13.0"));
    EXPECT_EQ(server.rows(QStringLiteral("AcctCtl"), QStringLiteral("select count(*) from t_ad_xrAccount_gl")),
              QStringList{"1"});
}
