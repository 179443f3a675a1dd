#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "foundation/CProfile.h"
#include "platform/AnsiCodec.h"
#include "platform/PlatformSettings.h"

class CProfileTest : public ::testing::Test {
protected:
    void SetUp() override { PlatformSettings::setAnsiCodePage(936); }
    void TearDown() override { PlatformSettings::resetToEnvironment(); }
    QString write(const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(CProfileTest, ReadsTheServicePackVersion) {
    CProfile profile;
    EXPECT_EQ(profile.filename(), QString());
    profile.setFilename(write(
        QStringLiteral("PitchUptVEQ.lst"),
        AnsiCodec::encode(QStringLiteral("[ServicePack_Industry]\r\nVersion=14.1.0.5\r\n说明=补丁\r\nEmpty=\r\n"))));
    EXPECT_EQ(
        profile.ProfileString(QStringLiteral("ServicePack_Industry"), QStringLiteral("Version"), QString(), QString()),
        QStringLiteral("14.1.0.5"));
    EXPECT_EQ(
        profile.ProfileString(QStringLiteral("servicepack_industry"), QStringLiteral("说明"), QString(), QString()),
        QStringLiteral("补丁"));
    EXPECT_EQ(profile.ProfileString(QStringLiteral("ServicePack_Industry"), QStringLiteral("Empty"),
                                    QStringLiteral("d"), QString()),
              QStringLiteral("d"));
    EXPECT_EQ(profile.ProfileString(QStringLiteral("ServicePack_Industry"), QStringLiteral("Missing"),
                                    QStringLiteral("d  "), QString()),
              QStringLiteral("d"));
    EXPECT_EQ(
        profile.ProfileString(QStringLiteral("ServicePack_Industry"), QStringLiteral("Missing"), QString(), QString()),
        QString());
}

TEST_F(CProfileTest, LongValuesAreCutTo2047Bytes) {
    CProfile profile;
    const QString path = write(QStringLiteral("a.ini"), "[S]\nK=" + QByteArray(3000, 'v') + "\n");
    EXPECT_EQ(profile.ProfileString(QStringLiteral("S"), QStringLiteral("K"), QString(), path), QString(2047, 'v'));
}

TEST_F(CProfileTest, ANonEmptyFileArgumentBecomesTheCurrentFile) {
    CProfile profile;
    const QString a = write(QStringLiteral("a.ini"), "[S]\nK=a\nN=12\n");
    const QString b = write(QStringLiteral("b.ini"), "[S]\nK=b\n");
    profile.setFilename(a);
    EXPECT_EQ(profile.ProfileString(QStringLiteral("S"), QStringLiteral("K"), QString(), b), QStringLiteral("b"));
    EXPECT_EQ(profile.filename(), b);
    EXPECT_EQ(profile.ProfileString(QStringLiteral("S"), QStringLiteral("K"), QString(), QString()),
              QStringLiteral("b"));
    EXPECT_EQ(profile.ProfileInt(QStringLiteral("S"), QStringLiteral("N"), 7, a), 12);
    EXPECT_EQ(profile.ProfileInt(QStringLiteral("S"), QStringLiteral("Missing"), 7, QString()), 7);
    EXPECT_EQ(profile.SectionNames(QString()), QStringList({"S"}));
}

TEST_F(CProfileTest, WritesAndReadsBack) {
    CProfile profile;
    profile.setFilename(dir.filePath(QStringLiteral("w.ini")));
    profile.setProfileString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("ignored"), QString(),
                             QStringLiteral("值"));
    EXPECT_EQ(profile.ProfileString(QStringLiteral("S"), QStringLiteral("K"), QString(), QString()),
              QStringLiteral("值"));
}

TEST_F(CProfileTest, UnreadableOrBrokenFilesFallBackToTheDefault) {
    CProfile profile;
    EXPECT_EQ(profile.ProfileString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d"),
                                    dir.filePath(QStringLiteral("none.ini"))),
              QStringLiteral("d"));
    EXPECT_EQ(profile.ProfileString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d"), dir.path()),
              QStringLiteral("d"));
    EXPECT_FALSE(profile.lastError().isEmpty());
    const QString broken = write(QStringLiteral("broken.ini"), "[S]\nK=ok\nB=\x81\x20\n");
    EXPECT_EQ(profile.ProfileString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d"), broken),
              QStringLiteral("ok"));
    EXPECT_FALSE(profile.lastError().isEmpty());
}
