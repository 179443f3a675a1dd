#include "foundation/CProfile.h"

#include "platform/IniFile.h"

namespace {
constexpr int kBufferSize = 2048;
}  // namespace

void CProfile::applyFile(const QString &sFile) {
    if (!sFile.isEmpty()) m_filename = sFile;
}

QString CProfile::ProfileString(const QString &sSection, const QString &sKey, const QString &sDefValue,
                                const QString &sFile) {
    applyFile(sFile);
    const IniFile ini(m_filename);
    m_lastError = ini.errorString();
    const QString value = ini.profileString(sSection, sKey, sDefValue, kBufferSize);
    return value.isEmpty() ? sDefValue : value;
}

void CProfile::setProfileString(const QString &sSection, const QString &sKey, const QString &, const QString &sFile,
                                const QString &sNewValue) {
    applyFile(sFile);
    IniFile::writeProfileString(m_filename, sSection, sKey, sNewValue);
}

int CProfile::ProfileInt(const QString &sSection, const QString &sKey, int lDefValue, const QString &sFile) {
    applyFile(sFile);
    const IniFile ini(m_filename);
    m_lastError = ini.errorString();
    return ini.profileInt(sSection, sKey, lDefValue);
}

QStringList CProfile::SectionNames(const QString &sFile) {
    applyFile(sFile);
    const IniFile ini(m_filename);
    m_lastError = ini.errorString();
    return ini.sectionNames();
}
