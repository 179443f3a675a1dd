#include "platform/AnsiCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "platform/PlatformSettings.h"

const char *AnsiCodec::codecName(int codePage) {
    switch (codePage) {
    case 950: return "Big5";
    case 1252: return "windows-1252";
    default: return "GBK";
    }
}

QByteArray AnsiCodec::encode(const QString &text) { return encode(text, PlatformSettings::ansiCodePage()); }

QByteArray AnsiCodec::encode(const QString &text, int codePage) {
    if (text.isEmpty()) return {};
    const char *name = codecName(codePage);
    QStringEncoder encoder(name);
    QByteArray bytes = encoder.encode(text);
    // The converters substitute their own byte (0x1A for windows-1252) for
    // what they cannot map; a round trip finds those and writes "?" instead.
    QStringDecoder check(name, QStringConverter::Flag::Stateless);
    if (!encoder.hasError() && QString(check.decode(bytes)) == text) return bytes;
    QByteArray out;
    out.reserve(bytes.size());
    for (int i = 0; i < text.size();) {
        const int n = (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
        const QString one = text.mid(i, n);
        QStringEncoder single(name);
        const QByteArray b = single.encode(one);
        QStringDecoder back(name, QStringConverter::Flag::Stateless);
        if (!single.hasError() && QString(back.decode(b)) == one)
            out += b;
        else
            out += '?';
        i += n;
    }
    return out;
}

QString AnsiCodec::decode(const QByteArray &bytes, bool *valid) {
    return decode(bytes, PlatformSettings::ansiCodePage(), valid);
}

QString AnsiCodec::decode(const QByteArray &bytes, int codePage, bool *valid) {
    QStringDecoder decoder(codecName(codePage), QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    const bool ok = !decoder.hasError();
    if (valid) *valid = ok;
    return text;
}

int AnsiCodec::byteLength(const QString &text) { return static_cast<int>(encode(text).size()); }

QString AnsiCodec::leftBytes(const QString &text, int maxBytes) {
    if (maxBytes <= 0) return {};
    const int cp = PlatformSettings::ansiCodePage();
    const QByteArray bytes = encode(text, cp);
    if (bytes.size() <= maxBytes) return text;
    // Walk characters so a double-byte character is never split.
    QString out;
    int used = 0;
    for (int i = 0; i < text.size();) {
        const int n = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString one = text.mid(i, n);
        const int len = static_cast<int>(encode(one, cp).size());
        if (used + len > maxBytes) break;
        out += one;
        used += len;
        i += n;
    }
    return out;
}
