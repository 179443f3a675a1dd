#include <gtest/gtest.h>

#include "platform/AnsiCodec.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwError.h"

class AnsiCodecTest : public ::testing::Test {
protected:
    void TearDown() override { PlatformSettings::resetToEnvironment(); }
};

TEST_F(AnsiCodecTest, EncodesInEachCodePageWithQuestionMarksForTheRest) {
    struct Case {
        int codePage;
        QString text;
        QByteArray bytes;
    } cases[] = {
        {936, QStringLiteral("张三A"),
         QByteArray("\xD5\xC5\xC8\xFD"
                    "A")},
        {936, QStringLiteral("a\U0001F600b"), QByteArray("a?b")},
        {936, QStringLiteral("é"), QByteArray("\xA8\xA6")},
        {950, QStringLiteral("張"), QByteArray("\xB1\x69")},
        {950, QStringLiteral("张x"), QByteArray("?x")},
        {1252, QStringLiteral("café€"), QByteArray("caf\xE9\x80")},
        {1252, QStringLiteral("张x"), QByteArray("?x")},
    };
    for (const Case &c : cases) {
        PlatformSettings::setAnsiCodePage(c.codePage);
        EXPECT_EQ(AnsiCodec::encode(c.text).toHex(), c.bytes.toHex()) << c.codePage;
    }
}

TEST_F(AnsiCodecTest, DecodingTellsWhetherTheBytesWereValid) {
    PlatformSettings::setAnsiCodePage(936);
    bool valid = false;
    EXPECT_EQ(AnsiCodec::decode(QByteArray("\xD5\xC5\xC8\xFD"), &valid), QStringLiteral("张三"));
    EXPECT_TRUE(valid);
    const QString broken = AnsiCodec::decode(QByteArray("a\x81\x20"
                                                        "b"),
                                             &valid);
    EXPECT_FALSE(valid);
    EXPECT_TRUE(broken.startsWith(QLatin1Char('a')));
    EXPECT_TRUE(broken.endsWith(QStringLiteral(" b")));
    AnsiCodec::decode(QByteArray("ab\xD5"), &valid);
    EXPECT_FALSE(valid);
}

TEST_F(AnsiCodecTest, LeftBytesNeverSplitsADoubleByteCharacter) {
    PlatformSettings::setAnsiCodePage(936);
    EXPECT_EQ(AnsiCodec::leftBytes(QStringLiteral("a张三"), 3), QStringLiteral("a张"));
    EXPECT_EQ(AnsiCodec::leftBytes(QStringLiteral("a张三"), 4), QStringLiteral("a张"));
    EXPECT_EQ(AnsiCodec::leftBytes(QStringLiteral("a张三"), 5), QStringLiteral("a张三"));
    EXPECT_EQ(AnsiCodec::leftBytes(QStringLiteral("abc"), 0), QString());
}

TEST_F(AnsiCodecTest, OnlyTheThreeCodePagesAreAccepted) {
    EXPECT_EQ(PlatformSettings::ansiCodePage(), 936);
    EXPECT_THROW(PlatformSettings::setAnsiCodePage(65001), PnwError);
    EXPECT_EQ(PlatformSettings::ansiCodePage(), 936);
}
