#include <gtest/gtest.h>

#include "jet/JetError.h"
#include "jet/JetText.h"

using namespace jet;

namespace {

struct TextCase {
    const char *utf8;
    bool compressed;  // expected stored form
};

}  // namespace

TEST(JetText, EncodesAndDecodesEveryShape) {
    const TextCase cases[] = {
        {"", false},
        {"AB", false},                 // compression would not be shorter
        {"Account receivable", true},  // all one-byte
        {"café crème", true},          // Latin-1 range is one-byte too
        {"中文", false},               // all two-byte
        {"现金及银行存款", false},
        {"ABCDEFGH中文", true},                   // one-byte run, then two-byte
        {"中文ABCDEFGHIJ", true},                 // two-byte run first
        {"ABCDEFG中文HIJKLMN文字OPQRSTU", true},  // several switches
        {"abcdefgh一", false},                    // U+4E00 has a 00 low byte: never compressed
        {"abcdefgh😀", false},                     // surrogates, one with a 00 low byte
        {"abcdefghij𠀀x", false},                 // a supplementary ideograph
        {"ＡＢＣ全角", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.utf8);
        const std::u16string u = utf8ToUtf16(c.utf8);
        const std::string stored = encodeJetText(u);
        const bool isCompressed = stored.size() >= 2 && stored[0] == '\xFF' && stored[1] == '\xFE';
        EXPECT_EQ(isCompressed, c.compressed);
        if (!isCompressed) {
            EXPECT_EQ(stored.size(), u.size() * 2);
        }
        const auto *b = reinterpret_cast<const unsigned char *>(stored.data());
        EXPECT_EQ(utf16ToUtf8(decodeJetText(b, stored.size())), c.utf8);
    }
}

TEST(JetText, DecodesDamagedBytesWithinBounds) {
    const unsigned char oddPlain[] = {0x41, 0x00, 0x42};
    EXPECT_EQ(decodeJetText(oddPlain, 3), u"A");
    const unsigned char danglingTwoByte[] = {0xFF, 0xFE, 0x41, 0x00, 0x2D};
    EXPECT_EQ(decodeJetText(danglingTwoByte, 5), u"A");
    const unsigned char onlyMarker[] = {0xFF, 0xFE};
    EXPECT_EQ(decodeJetText(onlyMarker, 2), u"");
    const char16_t lone[] = {0xD800, u'x', 0};
    EXPECT_EQ(utf16ToUtf8(lone), "\xEF\xBF\xBDx");
}

TEST(JetText, RejectsMalformedUtf8) {
    for (const char *bad : {"\xC3", "\xE4\xB8", "\xFF", "\xC0\x80", "\xED\xA0\x80", "a\x80"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(utf8ToUtf16(bad), JetError);
    }
}
