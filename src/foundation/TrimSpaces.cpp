#include "foundation/TrimSpaces.h"

QString TrimSpaces(const QString &s) {
    qsizetype a = 0;
    qsizetype b = s.size();
    while (a < b && s.at(a) == QLatin1Char(' ')) ++a;
    while (b > a && s.at(b - 1) == QLatin1Char(' ')) --b;
    return s.mid(a, b - a);
}
