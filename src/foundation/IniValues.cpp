#include "foundation/IniValues.h"

#include "platform/IniFile.h"

namespace {

// The buffer the profile reads fill: 255 bytes with the closing NUL.
constexpr int kBufferSize = 255;

}  // namespace

QString ReadIniValue(const QString &file, const QString &section, const QString &key, const QString &defaultValue) {
    return IniFile(file).profileString(section, key, defaultValue, kBufferSize);
}

QString GetIniValue(const QString &file, const QString &section, const QString &key, const QString &defaultValue) {
    return ReadIniValue(file, section, key, defaultValue);
}
