// Plain INI reads with the Windows profile rules (see IniFile): at most 254
// bytes of the code page, the default when the file, section or key is
// missing. Never raise. UI thread only.
#pragma once

#include <QString>

QString ReadIniValue(const QString &file, const QString &section, const QString &key, const QString &defaultValue);
QString GetIniValue(const QString &file, const QString &section, const QString &key, const QString &defaultValue);
