#include "platform/OnlineUpdate.h"

#include "platform/AnsiCodec.h"
#include "platform/PnwError.h"

namespace {

constexpr unsigned char kMask = 0x5A;

int hexDigit(QChar c) {
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

}  // namespace

QString OnlineUpdate::CRDecryptData(const QString &encoded) {
    if (encoded.size() % 2 != 0)
        throw PnwError(5, QStringLiteral("clsOnlineUpdate.CRDecryptData"), QStringLiteral("无效的过程调用或参数"));
    QByteArray bytes;
    bytes.reserve(encoded.size() / 2);
    for (qsizetype i = 0; i < encoded.size(); i += 2) {
        const int hi = hexDigit(encoded.at(i));
        const int lo = hexDigit(encoded.at(i + 1));
        if (hi < 0 || lo < 0)
            throw PnwError(5, QStringLiteral("clsOnlineUpdate.CRDecryptData"), QStringLiteral("无效的过程调用或参数"));
        bytes.append(static_cast<char>(static_cast<unsigned char>(hi * 16 + lo) ^ kMask));
    }
    return AnsiCodec::decode(bytes);
}

QString OnlineUpdate::CREncryptData(const QString &text) {
    QByteArray bytes = AnsiCodec::encode(text);
    for (char &b : bytes) b = static_cast<char>(static_cast<unsigned char>(b) ^ kMask);
    return QString::fromLatin1(bytes.toHex().toUpper());
}
