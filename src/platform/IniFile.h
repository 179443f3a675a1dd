// INI files read by the rules of the Windows profile functions: sections
// and keys compare case-insensitively, the first matching section and the
// first matching key in it count, names and values lose surrounding blanks,
// one pair of matching quotes around a value is dropped, lines starting
// with ";" are comments, a missing file,
// section or key gives the caller's default (its trailing blanks removed),
// and results are cut to the caller's buffer size in bytes of the ANSI code
// page. Files are text in the ANSI code page unless they start with a UTF-8
// or UTF-16 byte-order mark.
//
// Reading never raises: a file that cannot be read reads as empty and a
// byte sequence invalid in the code page reads as U+FFFD; errorString()
// tells what happened. Writing raises PnwError -1. Not thread-safe.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

class IniFile {
public:
    // Reads and parses path at once.
    explicit IniFile(const QString &path);

    const QString &path() const { return m_path; }
    bool exists() const { return m_exists; }
    // "" when the file was read and decoded cleanly (or does not exist).
    const QString &errorString() const { return m_error; }

    // The value after "=", blanks trimmed, quotes not yet dropped; nullopt
    // when the section or key is missing or the key has no "=".
    std::optional<QString> rawValue(const QString &section, const QString &key) const;
    QStringList sectionNames() const;

    // What GetPrivateProfileString puts into a buffer of bufferSize bytes:
    // the value (quotes dropped) or else the default (trailing blanks
    // removed), at most bufferSize - 1 bytes; a double-byte character that
    // would be cut in half is left out.
    QString profileString(const QString &section, const QString &key, const QString &defaultValue,
                          int bufferSize) const;
    // The value read as a decimal whole number (leading blanks and a sign
    // allowed, reading stops at the first non-digit, no digits give 0);
    // defaultValue when the key is missing or empty.
    int profileInt(const QString &section, const QString &key, int defaultValue) const;

    // Stores key=value in section of path, adding the key at the end of
    // the section and the section at the end of the file when missing; the
    // rest of the file stays as it was. Refuses (PnwError -1) a file that
    // cannot be read or is not valid in its code page, and any write failure.
    static void writeProfileString(const QString &path, const QString &section, const QString &key,
                                   const QString &value);

private:
    struct Line {
        enum Kind { Other, Section, Key } kind = Other;
        QString name;
        std::optional<QString> value;
    };
    int findSection(const QString &section) const;
    void parse(const QString &text);

    QString m_path;
    bool m_exists = false;
    QString m_error;
    QList<Line> m_lines;
};
