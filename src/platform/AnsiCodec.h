// Text to and from the bytes of the ANSI code page (PlatformSettings), the
// way the program's files, INI values and ciphers meet text. Encoding
// writes "?" for a character the code page lacks; decoding never fails but
// says whether the bytes were valid in the code page.
#pragma once

#include <QByteArray>
#include <QString>

class AnsiCodec {
public:
    // The codec name for a code page: 936 "GBK", 950 "Big5", 1252 "windows-1252".
    static const char *codecName(int codePage);

    // Bytes of text in the current code page (or the given one).
    static QByteArray encode(const QString &text);
    static QByteArray encode(const QString &text, int codePage);

    // Text of bytes in the current code page (or the given one). A byte
    // sequence that is not valid there becomes U+FFFD (a lead byte cut off
    // at the end is dropped); *valid (when given) tells whether either
    // happened.
    static QString decode(const QByteArray &bytes, bool *valid = nullptr);
    static QString decode(const QByteArray &bytes, int codePage, bool *valid = nullptr);

    // Number of bytes text takes in the current code page.
    static int byteLength(const QString &text);

    // The first maxBytes bytes of text's encoding, read back as text; a
    // double-byte character cut in half is left out.
    static QString leftBytes(const QString &text, int maxBytes);
};
