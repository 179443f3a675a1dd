// DES (FIPS 46-3) on text in CBC mode with PKCS#5 padding, written as
// Base64: the cipher of the server login. The initialisation vector is the
// key text's first 8 ANSI bytes; the DES key is the first k of those bytes
// (k = the key's character count, at most 8), zero-filled. Text and bytes
// meet through the ANSI code page. Both members return "" on any failure
// and never raise. One object per use; not shared between threads.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include <QByteArray>
#include <QString>

class DES {
public:
    // Raised with 0..100 while a text is processed, ending with 100.
    std::function<void(int &Percent)> Progress;

    QString EncodeString(const QString &text, const QString &key);
    // Keeps the lenient padding rule: the last byte p removes p bytes
    // (0 removes none); p at or above the length, or a length that is not
    // whole blocks, gives "".
    QString DecodeString(const QString &text, const QString &key);

    // One block of the FIPS 46-3 cipher under a raw 8-byte key.
    static std::uint64_t encryptBlock(std::uint64_t block, std::uint64_t key);
    static std::uint64_t decryptBlock(std::uint64_t block, std::uint64_t key);

private:
    using RoundKeys = std::array<std::uint64_t, 16>;
    // False when the key text gives fewer than 8 bytes.
    bool setKey(const QString &key);
    static RoundKeys schedule(std::uint64_t key);
    static std::uint64_t crypt(std::uint64_t block, const RoundKeys &keys, bool decrypt);
    void raiseProgress(qsizetype offset, qsizetype total, double &threshold, int &last);

    QString m_keyText;
    bool m_keyValid = false;
    RoundKeys m_roundKeys{};
    std::uint64_t m_iv = 0;
};
