#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/PlatformSettings.h"
#include "platform/PnwError.h"
#include "platform/PnwReg.h"
#include "support/TestFiles.h"

namespace {

const QString kProduct = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\VEQPRODUCT");
const QString kSqlServer = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Microsoft SQL Server");

}  // namespace

class RegistryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file() const { return dir.filePath(QStringLiteral("reg/registry.txt")); }
};

TEST_F(RegistryTest, MissingValuesGiveTheDefault) {
    PnwReg reg(file());
    EXPECT_EQ(reg.GetKeyValue(kProduct, QStringLiteral("Version"), QString()), QString());
    EXPECT_EQ(reg.GetKeyValue(kProduct, QStringLiteral("Path"), QStringLiteral("1")), QStringLiteral("1"));
    EXPECT_FALSE(reg.KeyExists(kProduct));
}

TEST_F(RegistryTest, WrittenValuesReadBackWhateverTheCase) {
    PnwReg reg(file());
    reg.SetKeyValue(kProduct, QStringLiteral("Version"), QStringLiteral("14.1"));
    reg.SetKeyValue(kProduct, QStringLiteral("Path"), QStringLiteral("/opt/veq \"pro\"\\x"));
    reg.SetKeyValue(QStringLiteral("HKLM\\SOFTWARE\\Vantora\\RSPath"), QStringLiteral("主机"),
                    QStringLiteral("/srv/数据"));
    reg.SetKeyValue(kProduct, QStringLiteral("VERSION"), QStringLiteral("14.2"));

    PnwReg again(file());
    EXPECT_EQ(again.GetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\VANTORA\\VEQPRODUCT"),
                                QStringLiteral("version"), QString()),
              QStringLiteral("14.2"));
    EXPECT_EQ(again.GetKeyValue(kProduct, QStringLiteral("Path"), QString()), QStringLiteral("/opt/veq \"pro\"\\x"));
    EXPECT_EQ(again.GetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\RSPath\\"),
                                QStringLiteral("主机"), QString()),
              QStringLiteral("/srv/数据"));
    EXPECT_TRUE(again.DeleteValue(kProduct, QStringLiteral("Path")));
    EXPECT_FALSE(again.DeleteValue(kProduct, QStringLiteral("Path")));
    EXPECT_EQ(again.GetKeyValue(kProduct, QStringLiteral("Path"), QStringLiteral("1")), QStringLiteral("1"));
}

TEST_F(RegistryTest, MultiStringValuesJoinWithNul) {
    WriteFileBytes(dir.filePath(QStringLiteral("r.txt")),
                   "; instances\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Microsoft SQL Server]\n"
                   "\"InstalledInstances\" = multi:\"SQLEXPRESS\", \"MSSQLSERVER\"\r\n"
                   "@=\"default\"\n");
    PnwReg reg(dir.filePath(QStringLiteral("r.txt")));
    EXPECT_EQ(reg.GetKeyValue(kSqlServer, QStringLiteral("InstalledInstances"), QString()),
              QStringLiteral("SQLEXPRESS") + QChar(0) + QStringLiteral("MSSQLSERVER"));
    EXPECT_EQ(reg.GetMultiStringValue(kSqlServer, QStringLiteral("installedinstances")),
              QStringList({"SQLEXPRESS", "MSSQLSERVER"}));
    EXPECT_EQ(reg.GetKeyValue(kSqlServer, QString(), QString()), QStringLiteral("default"));
    reg.SetMultiStringValue(kSqlServer, QStringLiteral("InstalledInstances"),
                            {QStringLiteral("A"), QStringLiteral("B")});
    EXPECT_EQ(PnwReg(reg.file()).GetMultiStringValue(kSqlServer, QStringLiteral("InstalledInstances")),
              QStringList({"A", "B"}));
}

TEST_F(RegistryTest, AFileThatDoesNotParseIsAClearErrorAndIsNeverOverwritten) {
    const QString path = dir.filePath(QStringLiteral("bad.txt"));
    const QByteArray cases[] = {
        "[HKLM\\SOFTWARE\\X]\nVersion=14.1\n",
        "\"Version\"=\"14.1\"\n",
        "[HKLM\\SOFTWARE\\X\n",
        "[HKLM\\SOFTWARE\\X]\n\"Version\"=\"14.1\n",
        "[HKLM\\SOFTWARE\\X]\n\"V\"=multi:\"a\" \"b\"\n",
        "[HKLM\\SOFTWARE\\X]\n\"V\"=\"a\\q\"\n",
        "[HKLM\\SOFTWARE\\X]\n\"V\"=\"\xff\xfe\"\n",
    };
    for (const QByteArray &bytes : cases) {
        WriteFileBytes(path, bytes);
        PnwReg reg(path);
        try {
            reg.GetKeyValue(QStringLiteral("HKLM\\SOFTWARE\\X"), QStringLiteral("Version"), QString());
            ADD_FAILURE() << bytes.constData();
        } catch (const PnwError &e) {
            EXPECT_EQ(e.number(), -1);
            EXPECT_TRUE(e.description().contains(path)) << qPrintable(e.description());
        }
        EXPECT_THROW(reg.SetKeyValue(QStringLiteral("HKLM\\SOFTWARE\\X"), QStringLiteral("A"), QStringLiteral("1")),
                     PnwError);
        EXPECT_EQ(ReadFileBytes(path), bytes);
    }
}

TEST_F(RegistryTest, ErrorsNameTheLine) {
    const QString path = dir.filePath(QStringLiteral("bad.txt"));
    WriteFileBytes(path, "[HKLM\\A]\n\"x\"=\"1\"\n\n\"y\"=2\n");
    try {
        PnwReg(path).GetKeyValue(QStringLiteral("HKLM\\A"), QStringLiteral("x"), QString());
        FAIL();
    } catch (const PnwError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("第 4 行"))) << qPrintable(e.description());
    }
}

TEST_F(RegistryTest, TheStoreFileComesFromTheEnvironment) {
    PlatformSettings::resetToEnvironment();
    qputenv("PNW_REGISTRY_FILE", file().toLocal8Bit());
    PnwReg().SetKeyValue(kProduct, QStringLiteral("Version"), QStringLiteral("13.0"));
    EXPECT_TRUE(QFile::exists(file()));
    qunsetenv("PNW_REGISTRY_FILE");
    EXPECT_TRUE(PlatformSettings::registryFile().endsWith(QStringLiteral("/AcctUpgrade/registry.txt")));
    EXPECT_EQ(PnwReg(file()).GetKeyValue(kProduct, QStringLiteral("Version"), QString()), QStringLiteral("13.0"));
}

TEST_F(RegistryTest, AFailedWriteIsAnErrorAndKeepsTheStore) {
    const QString blocker = dir.filePath(QStringLiteral("file"));
    WriteFileBytes(blocker, "x");
    PnwReg nowhere(blocker + QStringLiteral("/registry.txt"));  // its folder is a file
    EXPECT_THROW(nowhere.SetKeyValue(kProduct, QStringLiteral("Version"), QStringLiteral("1")), PnwError);
    EXPECT_EQ(ReadFileBytes(blocker), QByteArray("x"));

    PnwReg reg(file());
    reg.SetKeyValue(kProduct, QStringLiteral("Version"), QStringLiteral("14.1"));
    const QByteArray before = ReadFileBytes(file());
    QFile::remove(file());
    ASSERT_TRUE(QDir().mkpath(file()));  // a folder in the file's place
    EXPECT_THROW(reg.GetKeyValue(kProduct, QStringLiteral("Version"), QString()), PnwError);
    EXPECT_THROW(reg.SetKeyValue(kProduct, QStringLiteral("Version"), QStringLiteral("15")), PnwError);
    EXPECT_FALSE(before.isEmpty());
}
