#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/AnsiCodec.h"
#include "platform/IniFile.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwError.h"
#include "support/TestFiles.h"

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { PlatformSettings::setAnsiCodePage(936); }
    void TearDown() override { PlatformSettings::resetToEnvironment(); }
    QString write(const QByteArray &bytes) {
        const QString path = dir.filePath(QStringLiteral("t.ini"));
        WriteFileBytes(path, bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(IniFileTest, ReadsByTheProfileRules) {
    const QString path = write(AnsiCodec::encode(QStringLiteral("key0=outside\r\n"
                                                                "[ServerInfo]\r\n"
                                                                "  User = sa  \r\n"
                                                                "Pwd=\r\n"
                                                                "Quoted=\"  spaced  \"\r\n"
                                                                "Single='x'\r\n"
                                                                "Half=\"x\r\n"
                                                                "Bare\r\n"
                                                                "Name=张三\r\n"
                                                                "user=second\r\n"
                                                                "[serverinfo]\r\n"
                                                                "Other=hidden\r\n"
                                                                "; Pwd=commented\n"
                                                                "[ServicePack_Industry]\n"
                                                                "Version=14.1.0\n")));
    const IniFile ini(path);
    EXPECT_TRUE(ini.errorString().isEmpty());
    struct Case {
        const char *section;
        const char *key;
        QString defaultValue;
        QString expected;
    } cases[] = {
        {"serverinfo", "USER", "d", "sa"},       {"ServerInfo", "Pwd", "d", ""},
        {"ServerInfo", "Pwd", "", ""},           {"ServerInfo", "Quoted", "", "  spaced  "},
        {"ServerInfo", "Single", "", "x"},       {"ServerInfo", "Half", "", "\"x"},
        {"ServerInfo", "Bare", "dflt", "dflt"},  {"ServerInfo", "Name", "", QStringLiteral("张三")},
        {"ServerInfo", "Other", "none", "none"}, {"ServerInfo", "Missing", "def  ", "def"},
        {"NoSection", "User", "d", "d"},         {"ServicePack_Industry", "version", "", "14.1.0"},
        {"serverinfo", "; Pwd", "d", "d"},       {"", "key0", "d", "d"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ini.profileString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), c.defaultValue, 2048),
                  c.expected)
            << c.section << "/" << c.key;
    EXPECT_EQ(ini.sectionNames(), QStringList({"ServerInfo", "serverinfo", "ServicePack_Industry"}));
}

TEST_F(IniFileTest, ValuesAreCutToTheBufferInCodePageBytes) {
    const QString path =
        write("[S]\nLong=" + QByteArray(300, 'x') + "\nWide=" + AnsiCodec::encode(QString(200, QChar(0x5F20))) +
              "\nHuge=" + QByteArray(3000, 'y') + "\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.profileString(QStringLiteral("S"), QStringLiteral("Long"), QString(), 255), QString(254, 'x'));
    EXPECT_EQ(ini.profileString(QStringLiteral("S"), QStringLiteral("Wide"), QString(), 255),
              QString(127, QChar(0x5F20)));
    EXPECT_EQ(ini.profileString(QStringLiteral("S"), QStringLiteral("Huge"), QString(), 2048), QString(2047, 'y'));
    EXPECT_EQ(ini.profileString(QStringLiteral("S"), QStringLiteral("None"), QString(300, 'd'), 255),
              QString(254, 'd'));
}

TEST_F(IniFileTest, MissingOrUnreadableFilesGiveTheDefault) {
    const IniFile missing(dir.filePath(QStringLiteral("none.ini")));
    EXPECT_FALSE(missing.exists());
    EXPECT_EQ(missing.profileString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d"), 255), "d");
    const IniFile folder(dir.path());  // a folder cannot be read as a file
    EXPECT_EQ(folder.profileString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d"), 255), "d");
    EXPECT_FALSE(folder.errorString().isEmpty());
}

TEST_F(IniFileTest, ABrokenEncodingReadsWithReplacementsAndSaysSo) {
    const QString path = write("[S]\nGood=ok\nBad=a\x81\x20z\n");
    const IniFile ini(path);
    EXPECT_FALSE(ini.errorString().isEmpty());
    EXPECT_TRUE(ini.errorString().contains(path));
    EXPECT_EQ(ini.profileString(QStringLiteral("S"), QStringLiteral("Good"), QString(), 255), "ok");
    EXPECT_TRUE(ini.profileString(QStringLiteral("S"), QStringLiteral("Bad"), QString(), 255)
                    .contains(QChar::ReplacementCharacter));
    EXPECT_THROW(IniFile::writeProfileString(path, QStringLiteral("S"), QStringLiteral("Good"), QStringLiteral("x")),
                 PnwError);
    EXPECT_EQ(ReadFileBytes(path), QByteArray("[S]\nGood=ok\nBad=a\x81\x20z\n"));
}

TEST_F(IniFileTest, ByteOrderMarksChooseUnicode) {
    const QString path = write(QByteArray("\xEF\xBB\xBF") + QStringLiteral("[节]\n键=值\n").toUtf8());
    const IniFile ini(path);
    EXPECT_TRUE(ini.errorString().isEmpty());
    EXPECT_EQ(ini.profileString(QStringLiteral("节"), QStringLiteral("键"), QString(), 255), QStringLiteral("值"));
}

TEST_F(IniFileTest, IntegersAreReadAsThePlatformDoes) {
    const QString path = write("[S]\nA=42\nB= -7x\nC=abc\nD=\nE=4294967297\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.profileInt(QStringLiteral("S"), QStringLiteral("A"), 5), 42);
    EXPECT_EQ(ini.profileInt(QStringLiteral("S"), QStringLiteral("B"), 5), -7);
    EXPECT_EQ(ini.profileInt(QStringLiteral("S"), QStringLiteral("C"), 5), 0);
    EXPECT_EQ(ini.profileInt(QStringLiteral("S"), QStringLiteral("D"), 5), 5);
    EXPECT_EQ(ini.profileInt(QStringLiteral("S"), QStringLiteral("E"), 5), 1);
    EXPECT_EQ(ini.profileInt(QStringLiteral("S"), QStringLiteral("Missing"), 5), 5);
}

TEST_F(IniFileTest, WritingKeepsTheRestOfTheFile) {
    const QString path = write(AnsiCodec::encode(QStringLiteral("; 注释\r\n[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n")));
    IniFile::writeProfileString(path, QStringLiteral("a"), QStringLiteral("Y"), QStringLiteral("二"));
    IniFile::writeProfileString(path, QStringLiteral("A"), QStringLiteral("w"), QStringLiteral("4"));
    IniFile::writeProfileString(path, QStringLiteral("C"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(AnsiCodec::decode(ReadFileBytes(path)),
              QStringLiteral("; 注释\r\n[A]\r\nx=1\r\nY=二\r\nw=4\r\n\r\n[B]\r\nz=3\r\n[C]\r\nk=v\r\n"));
    const QString fresh = dir.filePath(QStringLiteral("new.ini"));
    IniFile::writeProfileString(fresh, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("V"));
    EXPECT_EQ(ReadFileBytes(fresh), QByteArray("[S]\r\nK=V\r\n"));
}
