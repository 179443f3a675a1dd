#include <algorithm>

#include <gtest/gtest.h>

#include <QList>

#include "foundation/Base64.h"
#include "foundation/DES.h"
#include "platform/AnsiCodec.h"
#include "platform/PlatformSettings.h"

namespace {

const QString kKey = QStringLiteral("mwqTRZej");

std::uint64_t word(const QByteArray &b, qsizetype at) {
    std::uint64_t w = 0;
    for (int i = 0; i < 8; ++i) w = (w << 8) | static_cast<unsigned char>(b[at + i]);
    return w;
}

// CBC-encrypts raw bytes (a whole number of blocks, no padding added) under
// the login key, so tests can choose the decrypted last byte.
QString encryptRaw(const QByteArray &plain) {
    const QByteArray key = kKey.toLatin1();
    std::uint64_t previous = word(key, 0);
    QByteArray out;
    for (qsizetype o = 0; o < plain.size(); o += 8) {
        previous = DES::encryptBlock(word(plain, o) ^ previous, word(key, 0));
        for (int i = 7; i >= 0; --i) out += static_cast<char>((previous >> (8 * i)) & 0xFF);
    }
    return Base64().EncodeBase64Byte(out);
}

}  // namespace

class CipherTest : public ::testing::Test {
protected:
    void SetUp() override { PlatformSettings::setAnsiCodePage(936); }
    void TearDown() override { PlatformSettings::resetToEnvironment(); }
};

TEST_F(CipherTest, BlockFunctionMatchesTheStandardVector) {
    EXPECT_EQ(DES::encryptBlock(0x0123456789ABCDEFull, 0x133457799BBCDFF1ull), 0x85E813540F0AB405ull);
    EXPECT_EQ(DES::decryptBlock(0x85E813540F0AB405ull, 0x133457799BBCDFF1ull), 0x0123456789ABCDEFull);
}

TEST_F(CipherTest, KnownLoginTexts) {
    const struct {
        const char *plain;
        const char *cipher;
    } cases[] = {{"sa", "iU2uOt8VzGg="}, {"", "0gCenaebiME="}, {"12345678", "kaxSY4pDOJ5aQMBIefnDxQ=="}};
    for (const auto &c : cases) {
        DES des;
        EXPECT_EQ(des.EncodeString(QString::fromUtf8(c.plain), kKey), QString::fromUtf8(c.cipher)) << c.plain;
        EXPECT_EQ(des.DecodeString(QString::fromUtf8(c.cipher), kKey), QString::fromUtf8(c.plain)) << c.plain;
    }
    EXPECT_EQ(DES().DecodeString(QStringLiteral("iU2uOt8VzGg"), kKey), QStringLiteral("sa"));
}

TEST_F(CipherTest, RoundTripsAndLengths) {
    const struct {
        QString text;
        int base64Length;
    } cases[] = {
        {QString(), 12},
        {QStringLiteral("a"), 12},
        {QStringLiteral("abcdefg"), 12},
        {QStringLiteral("abcdefgh"), 24},
        {QStringLiteral("abcdefghi"), 24},
        {QStringLiteral("abcdefghijklmnop"), 32},
        {QStringLiteral("张三的密码"), 24},  // 10 GBK bytes
    };
    DES des;  // one object, several calls
    for (const auto &c : cases) {
        const QString cipher = des.EncodeString(c.text, kKey);
        EXPECT_EQ(cipher.size(), c.base64Length) << qPrintable(c.text);
        EXPECT_EQ(des.DecodeString(cipher, kKey), c.text) << qPrintable(c.text);
    }
}

TEST_F(CipherTest, KeyRules) {
    DES des;
    EXPECT_EQ(des.EncodeString(QStringLiteral("x"), QStringLiteral("mwqTRZejEXTRA")),
              des.EncodeString(QStringLiteral("x"), kKey));
    EXPECT_EQ(des.EncodeString(QStringLiteral("x"), QStringLiteral("short")), QString());
    EXPECT_EQ(des.DecodeString(QStringLiteral("iU2uOt8VzGg="), QStringLiteral("short")), QString());
    // Four Chinese characters are 8 GBK bytes: the DES key is their first
    // four bytes zero-filled, the initialisation vector all eight.
    const QString chineseKey = QStringLiteral("密钥密钥");
    const QByteArray keyBytes = AnsiCodec::encode(chineseKey);
    QByteArray raw = keyBytes.left(4) + QByteArray(4, '\0');
    QByteArray block = QByteArray("x") + QByteArray(7, '\7');
    const std::uint64_t expected = DES::encryptBlock(word(block, 0) ^ word(keyBytes, 0), word(raw, 0));
    QByteArray expectedBytes;
    for (int i = 7; i >= 0; --i) expectedBytes += static_cast<char>((expected >> (8 * i)) & 0xFF);
    EXPECT_EQ(des.EncodeString(QStringLiteral("x"), chineseKey), Base64().EncodeBase64Byte(expectedBytes));
    EXPECT_EQ(des.DecodeString(des.EncodeString(QStringLiteral("x"), chineseKey), chineseKey), QStringLiteral("x"));
}

TEST_F(CipherTest, LenientPaddingNeverReadsOutsideTheData) {
    DES des;
    const QByteArray fifteen = "ABCDEFGHIJKLMNO";
    struct Case {
        QByteArray plain;
        QString expected;
    } cases[] = {
        {QByteArray("ABCDEFG") + '\0', QStringLiteral("ABCDEFG") + QChar(0)},  // 0 removes nothing
        {fifteen + '\x09', QStringLiteral("ABCDEFG")},
        {fifteen + '\x0F', QStringLiteral("A")},
        {fifteen + '\x10', QString()},  // the whole message
        {fifteen + '\xFF', QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(des.DecodeString(encryptRaw(c.plain), kKey), c.expected) << c.plain.toHex().constData();
    EXPECT_EQ(des.DecodeString(QString(), kKey), QString());
    EXPECT_EQ(des.DecodeString(QStringLiteral("QUJD"), kKey), QString());  // 3 bytes: not whole blocks
    EXPECT_EQ(des.DecodeString(QStringLiteral("===="), kKey), QString());
    EXPECT_EQ(des.DecodeString(QStringLiteral("!!!!!!!!!!!!!!!!!"), kKey), QString());
}

TEST_F(CipherTest, ProgressEndsAtOneHundred) {
    DES des;
    QList<int> seen;
    des.Progress = [&](int &percent) { seen << percent; };
    des.EncodeString(QString(40, QLatin1Char('x')), kKey);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

TEST_F(CipherTest, Base64Rules) {
    Base64 b;
    EXPECT_EQ(b.EncodeBase64String(QString()), QString());
    EXPECT_EQ(b.EncodeBase64Byte(QByteArray()), QString());
    EXPECT_EQ(b.EncodeBase64String(QStringLiteral("张")), QStringLiteral("1cU="));
    EXPECT_EQ(b.decodeBase64String(QStringLiteral("1cU=")), QStringLiteral("张"));
    const struct {
        const char *text;
        QByteArray bytes;
    } cases[] = {
        {"", QByteArray(1, '\0')},  {"TWFu", "Man"}, {"TWE=", "Ma"}, {"TWE", "Ma"}, {"TQ==", "M"}, {"TQ", "M"},
        {"=", QByteArray(1, '\0')},
    };
    for (const auto &c : cases)
        EXPECT_EQ(b.decodeBase64Byte(QString::fromUtf8(c.text)).toHex(), c.bytes.toHex()) << c.text;
    EXPECT_NE(b.decodeBase64Byte(QStringLiteral("TW\nFu")), b.decodeBase64Byte(QStringLiteral("TWFu")));
}
