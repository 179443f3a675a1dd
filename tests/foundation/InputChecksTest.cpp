#include <gtest/gtest.h>

#include "foundation/InputChecks.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwError.h"

class InputChecksTest : public ::testing::Test {
protected:
    void SetUp() override { PlatformSettings::setAnsiCodePage(936); }
    void TearDown() override { PlatformSettings::resetToEnvironment(); }
};

TEST_F(InputChecksTest, StartsWithDigit) {
    EXPECT_TRUE(StartsWithDigit(QStringLiteral("  001")));
    EXPECT_TRUE(StartsWithDigit(QStringLiteral("9a")));
    EXPECT_FALSE(StartsWithDigit(QStringLiteral("a1")));
    EXPECT_FALSE(StartsWithDigit(QStringLiteral("１")));  // a full-width digit is double-byte
    EXPECT_THROW(StartsWithDigit(QStringLiteral("   ")), PnwError);
    EXPECT_THROW(StartsWithDigit(QString()), PnwError);
}

TEST_F(InputChecksTest, IsValidName) {
    const struct {
        QString name;
        int maxLen;
        bool doubleByte, dot, spaceParens;
        bool valid;
    } cases[] = {
        {"Acct_2018", 80, false, false, false, true},
        {"acct.2018", 80, false, false, false, false},
        {"Acct 2018", 80, false, false, false, false},
        {"账套", 80, false, false, false, false},
        {"账套", 80, true, false, false, true},
        {"my set (2018).v1", 255, true, true, true, true},
        {"name.", 255, true, true, true, false},
        {"  Acct  ", 4, false, false, false, true},
        {"     ", 255, true, true, true, false},
        {"", 0, true, true, true, false},
        {QString(127, QChar(0x5F20)), 255, true, false, false, true},
        {QString(128, QChar(0x5F20)), 255, true, false, false, false},
        {QString(300, 'a'), 0, false, false, false, true},
        {"a-b", 80, true, true, true, false},
        {"α", 80, true, false, false, true},   // "Α" is double-byte in GBK
        {"é", 80, true, false, false, false},  // "É" is not in GBK: "?"
        {"x\U0001F600", 80, true, false, false, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsValidName(c.name, c.maxLen, c.doubleByte, c.dot, c.spaceParens), c.valid) << qPrintable(c.name);
}

TEST_F(InputChecksTest, CheckCompanyName) {
    QString message = QStringLiteral("before");
    int position = -1;
    EXPECT_FALSE(CheckCompanyName(message, position, QStringLiteral(" a$b'c "), false, 0));
    EXPECT_EQ(message, QStringLiteral("公司名称不能包含$"));
    EXPECT_EQ(position, 2);
    const struct {
        QString name;
        QChar bad;
        int position;
    } cases[] = {{"x'", '\'', 2}, {"\\x", '\\', 1}, {"公司\"", '"', 3}};
    for (const auto &c : cases) {
        EXPECT_FALSE(CheckCompanyName(message, position, c.name, false, 0));
        EXPECT_EQ(message, QStringLiteral("公司名称不能包含") + c.bad);
        EXPECT_EQ(position, c.position);
    }
    message = QStringLiteral("kept");
    position = 9;
    EXPECT_TRUE(CheckCompanyName(message, position, QStringLiteral("岫禾公司"), false, 0));
    EXPECT_FALSE(CheckCompanyName(message, position, QStringLiteral("   "), false, 0));
    EXPECT_FALSE(CheckCompanyName(message, position, QStringLiteral("岫禾公司"), false, 7));
    EXPECT_TRUE(CheckCompanyName(message, position, QStringLiteral("a$"), true, 0));
    EXPECT_EQ(message, QStringLiteral("kept"));
    EXPECT_EQ(position, 9);
}

TEST_F(InputChecksTest, FileExtensionAndTrailingSlash) {
    EXPECT_EQ(GetFileExtension(QStringLiteral("a.b.ais")), QStringLiteral("ais"));
    EXPECT_EQ(GetFileExtension(QStringLiteral("name")), QStringLiteral("name"));
    EXPECT_EQ(GetFileExtension(QStringLiteral("name.")), QString());
    EXPECT_EQ(AddTrailingBackslash(QStringLiteral("  /srv/data  ")), QStringLiteral("/srv/data/"));
    EXPECT_EQ(AddTrailingBackslash(QStringLiteral("/srv/data/")), QStringLiteral("/srv/data/"));
    EXPECT_EQ(AddTrailingBackslash(QStringLiteral("   ")), QString());
}
