// Trimming as the system's texts are trimmed: blanks only, at both ends;
// tabs and other white space stay.
#pragma once

#include <QString>

QString TrimSpaces(const QString &s);
