#include "foundation/Base64.h"

#include <algorithm>
#include <cstring>

#include "foundation/Messages.h"
#include "platform/AnsiCodec.h"

namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPad = '=';
}  // namespace

bool Base64::buildTables() {
    if (m_ready) return true;
    if (std::strlen(kAlphabet) != 64) {
        ShowMessage(QStringLiteral("编码/解码表初始化失败"), 0, QStringLiteral("错误"));
        return false;
    }
    std::memset(m_decode, 0, sizeof m_decode);
    for (int i = 0; i < 64; ++i) {
        m_encode[i] = kAlphabet[i];
        m_decode[static_cast<unsigned char>(kAlphabet[i])] = static_cast<unsigned char>(i);
    }
    m_ready = true;
    return true;
}

QString Base64::EncodeBase64Byte(const QByteArray &sValue) {
    if (sValue.isEmpty() || !buildTables()) return QString();
    const auto n = sValue.size();
    QByteArray out;
    out.reserve((n + 2) / 3 * 4);
    for (qsizetype i = 0; i < n; i += 3) {
        const unsigned b0 = static_cast<unsigned char>(sValue[i]);
        const unsigned b1 = i + 1 < n ? static_cast<unsigned char>(sValue[i + 1]) : 0u;
        const unsigned b2 = i + 2 < n ? static_cast<unsigned char>(sValue[i + 2]) : 0u;
        const unsigned group = (b0 << 16) | (b1 << 8) | b2;
        out += m_encode[(group >> 18) & 63];
        out += m_encode[(group >> 12) & 63];
        out += i + 1 < n ? m_encode[(group >> 6) & 63] : kPad;
        out += i + 2 < n ? m_encode[group & 63] : kPad;
    }
    return QString::fromLatin1(out);
}

QString Base64::EncodeBase64String(const QString &str2Encode) {
    return EncodeBase64Byte(AnsiCodec::encode(str2Encode));
}

QByteArray Base64::decodeBase64Byte(const QString &str2decode) {
    if (!buildTables()) return QByteArray();
    const QByteArray in = AnsiCodec::encode(str2decode);
    const qsizetype L = in.size();
    qsizetype q = 0;
    for (qsizetype i = L - 1; i >= 0 && i >= L - 11; --i)
        if (in[i] == kPad) ++q;
    // Integer division rounds toward zero, so "" still gives one byte.
    const qsizetype length = ((L - 1 - q) * 3) / 4 + 1;
    // Whole groups of four values give three bytes each; the buffer is at
    // least the result's length so that the cut never reads past it.
    QByteArray out(std::max<qsizetype>(length, (L + 3) / 4 * 3), '\0');
    for (qsizetype g = 0; g * 4 < L; ++g) {
        unsigned group = 0;
        for (int k = 0; k < 4; ++k) {
            const qsizetype i = g * 4 + k;
            group = (group << 6) | (i < L ? m_decode[static_cast<unsigned char>(in[i])] : 0u);
        }
        out[g * 3] = static_cast<char>((group >> 16) & 0xFF);
        out[g * 3 + 1] = static_cast<char>((group >> 8) & 0xFF);
        out[g * 3 + 2] = static_cast<char>(group & 0xFF);
    }
    out.truncate(length);
    return out;
}

QString Base64::decodeBase64String(const QString &str2decode) {
    return AnsiCodec::decode(decodeBase64Byte(str2decode));
}
