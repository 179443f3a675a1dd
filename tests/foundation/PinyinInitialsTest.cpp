#include <gtest/gtest.h>

#include "foundation/PinyinInitials.h"
#include "platform/AnsiCodec.h"
#include "platform/PnwError.h"

namespace {

// The character whose code in code page 936 is code.
QString gbk(int code) {
    QByteArray bytes;
    bytes += static_cast<char>(code >> 8);
    bytes += static_cast<char>(code & 0xFF);
    return AnsiCodec::decode(bytes, 936);
}

}  // namespace

TEST(PinyinInitials, KnownNames) {
    const struct {
        QString text;
        QString initials;
    } cases[] = {
        {QStringLiteral("张三"), QStringLiteral("ZS")},
        {QStringLiteral("财务部"), QStringLiteral("CWB")},
        {QStringLiteral("销售部2"), QStringLiteral("XSB2")},
        {QStringLiteral("A-01 研发中心"), QStringLiteral("A-01 YFZX")},
        {QString(), QString()},
        {QStringLiteral("abc 12,.!"), QStringLiteral("abc 12,.!")},
        {QStringLiteral("啊座"), QStringLiteral("AZ")},
        {QStringLiteral("亍齄丨"), QStringLiteral("CZ[")},
        {QStringLiteral("甲，乙"), QStringLiteral("J，Y")},
        {QStringLiteral("ā"), QStringLiteral("ā")},
        {QStringLiteral("é€"), QStringLiteral("é€")},
        {QStringLiteral("x\U0001F600y"), QStringLiteral("x\U0001F600y")},
    };
    for (const auto &c : cases) EXPECT_EQ(GetPinyinInitials(c.text), c.initials) << qPrintable(c.text);
}

TEST(PinyinInitials, CodeRangesAndEnds) {
    const struct {
        int code;
        QString result;  // "=" stands for the character itself
    } cases[] = {
        {0xB0A1, "A"}, {0xD7F9, "Z"}, {0xBBF6, "H"}, {0xBBF7, "J"}, {0xD8A1, "C"}, {0xF7FE, "Z"},
        {0xD8AD, "["}, {0xA3AC, "="}, {0xA8A1, "="}, {0x8140, "="}, {0xAF40, "="}, {0xF840, "="},
        {0xFE50, "="}, {0xD840, "="}, {0xB140, "B"}, {0xF75D, ""},  {0xF7A0, ""},
    };
    for (const auto &c : cases) {
        const QString ch = gbk(c.code);
        ASSERT_EQ(ch.size(), 1) << std::hex << c.code;
        EXPECT_EQ(GetPinyinInitials(ch), c.result == "=" ? ch : c.result) << std::hex << c.code;
    }
    // Row 0xF7 below 0x5D reaches the letter of another cell of the table.
    const QString f740 = GetPinyinInitials(gbk(0xF740));
    ASSERT_EQ(f740.size(), 1);
    EXPECT_TRUE(f740.at(0).isUpper() || f740 == QStringLiteral("["));
}

TEST(PinyinInitials, TextsOverTheCountLimitAreRefused) {
    EXPECT_EQ(GetPinyinInitials(QString(32767, QLatin1Char('a'))).size(), 32767);
    EXPECT_THROW(GetPinyinInitials(QString(32768, QLatin1Char('a'))), PnwError);
}
