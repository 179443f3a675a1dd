#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "foundation/TextLog.h"
#include "platform/AnsiCodec.h"
#include "platform/MessageScript.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformSettings.h"
#include "support/TestFiles.h"

class TextLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        PlatformSettings::setDataFolder(dir.path());
        PlatformSettings::setAnsiCodePage(936);
        PlatformClock::setFixedNow(QDateTime(QDate(2018, 3, 7), QTime(9, 5, 1)));
    }
    void TearDown() override {
        PlatformSettings::resetToEnvironment();
        PlatformClock::setFixedNow(QDateTime());
    }
    QString logDir() const { return dir.path() + QStringLiteral("/LOG"); }
    QTemporaryDir dir;
};

TEST_F(TextLogTest, AppendsDatedLinesToTheDaysFile) {
    MessageScript messages;
    EXPECT_TRUE(WriteTextLog(QStringLiteral("执行SQL语句发生错误：x")));
    PlatformClock::setFixedNow(QDateTime(QDate(2018, 3, 7), QTime(23, 59, 59)));
    EXPECT_TRUE(WriteTextLog(QStringLiteral("two\r\nlines")));
    PlatformClock::setFixedNow(QDateTime(QDate(2018, 3, 8), QTime(0, 0, 0)));
    EXPECT_TRUE(WriteTextLog(QStringLiteral("next day")));
    EXPECT_EQ(messages.count(), 0);

    EXPECT_EQ(ReadFileBytes(logDir() + QStringLiteral("/2018-3-7.log")),
              AnsiCodec::encode(QStringLiteral("[2018/3/7 9:05:01]    执行SQL语句发生错误：x\r\n"
                                               "[2018/3/7 23:59:59]    two\r\nlines\r\n")));
    EXPECT_EQ(ReadFileBytes(logDir() + QStringLiteral("/2018-3-8.log")),
              QByteArray("[2018/3/8 0:00:00]    next day\r\n"));
}

TEST_F(TextLogTest, UsesTheRegionalFormats) {
    MessageScript messages;
    PlatformSettings::setShortDateFormat(QStringLiteral("dd.MM.yyyy"));
    PlatformSettings::setLongTimeFormat(QStringLiteral("HH:mm:ss"));
    EXPECT_TRUE(WriteTextLog(QStringLiteral("x")));
    EXPECT_EQ(ReadFileBytes(logDir() + QStringLiteral("/2018-3-7.log")), QByteArray("[07.03.2018 09:05:01]    x\r\n"));
}

TEST_F(TextLogTest, AFailureIsToldAndLosesOnlyThatLine) {
    // "LOG" is a file, so the folder cannot be made.
    {
        QFile blocker(logDir());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.write("keep");
    }
    MessageScript messages;
    EXPECT_FALSE(WriteTextLog(QStringLiteral("lost line")));
    ASSERT_EQ(messages.count(), 1);
    const MessageRequest &m = messages.last();
    EXPECT_TRUE(m.prompt.startsWith(QStringLiteral("写入日志文件失败！       ")));
    EXPECT_TRUE(m.prompt.endsWith(QStringLiteral("\n\r未写入内容：lost line")));
    EXPECT_EQ(m.buttons, 0);
    EXPECT_EQ(m.title, QStringLiteral("岫禾提示"));
    EXPECT_EQ(ReadFileBytes(logDir()), QByteArray("keep"));
}

TEST_F(TextLogTest, ADayFileThatCannotBeOpenedIsTold) {
    ASSERT_TRUE(QDir().mkpath(logDir() + QStringLiteral("/2018-3-7.log")));  // a folder in the file's place
    QFile other(logDir() + QStringLiteral("/2018-3-6.log"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("earlier\r\n");
    other.close();
    MessageScript messages;
    EXPECT_FALSE(WriteTextLog(QStringLiteral("x")));
    EXPECT_EQ(messages.count(), 1);
    EXPECT_EQ(ReadFileBytes(other.fileName()), QByteArray("earlier\r\n"));
    PlatformClock::setFixedNow(QDateTime(QDate(2018, 3, 8), QTime(1, 0)));
    EXPECT_TRUE(WriteTextLog(QStringLiteral("y")));  // the next day works again
}
