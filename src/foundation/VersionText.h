// Version texts ("13.0", "14.1") are compared as plain text, UTF-16 unit by
// unit and case-sensitive, never as numbers: "14.10" and "9.0" are at or
// above "14.1", and "" is below everything but "".
#pragma once

#include <QString>

// True when version compares at or above minimum.
bool VersionAtLeast(const QString &version, const QString &minimum);
