// INI values by section and key around one current file name: set the
// file once (filename, or a non-empty sFile on any call, which then stays
// the current file) and read values. Reads never raise; the write raises
// PnwError. Files are text in the ANSI code page. UI thread only.
#pragma once

#include <QString>
#include <QStringList>

class CProfile {
public:
    const QString &filename() const { return m_filename; }
    void setFilename(const QString &path) { m_filename = path; }

    // The value (at most 2047 bytes of the code page), or sDefValue when
    // the key is missing, its value is empty or the file cannot be read.
    QString ProfileString(const QString &sSection, const QString &sKey, const QString &sDefValue, const QString &sFile);
    // Stores sNewValue under the key (sDefValue plays no part).
    void setProfileString(const QString &sSection, const QString &sKey, const QString &sDefValue, const QString &sFile,
                          const QString &sNewValue);
    // The value read as a whole number, or lDefValue when the key is missing.
    int ProfileInt(const QString &sSection, const QString &sKey, int lDefValue, const QString &sFile);
    // The file's section names in file order; empty on any failure.
    QStringList SectionNames(const QString &sFile);

    // Why the last read fell back (unreadable file, broken encoding); "" if not.
    const QString &lastError() const { return m_lastError; }

private:
    void applyFile(const QString &sFile);
    QString m_filename;
    QString m_lastError;
};
