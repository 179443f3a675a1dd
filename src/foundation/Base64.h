// Base64 (RFC 4648 alphabet, "=" padding, no line breaks) on bytes and on
// the ANSI bytes of text. Decoding is lenient: a byte outside the alphabet
// counts as 0, and a text without its padding decodes to the same bytes.
// Nothing raises. One object per use; not shared between threads.
#pragma once

#include <QByteArray>
#include <QString>

class Base64 {
public:
    // The decoded bytes read as text in the ANSI code page.
    QString decodeBase64String(const QString &str2decode);
    // The decoded bytes: ((L - 1 - q) * 3) / 4 + 1 of them, for L ANSI
    // bytes of which q of the last 11 are "="; "" decodes to one zero byte.
    QByteArray decodeBase64Byte(const QString &str2decode);
    // The Base64 text of the bytes; "" for none.
    QString EncodeBase64Byte(const QByteArray &sValue);
    // The Base64 text of the text's ANSI bytes; "" for "".
    QString EncodeBase64String(const QString &str2Encode);

private:
    bool buildTables();
    bool m_ready = false;
    char m_encode[64] = {};
    unsigned char m_decode[256] = {};
};
