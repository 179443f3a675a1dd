// Dates and times as text in the regional formats of PlatformSettings
// (short date, long time), as Windows' date-to-text conversions give
// them. Formatting ignores the process locale.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

class RegionalFormat {
public:
    static QString shortDate(const QDate &date);
    static QString longTime(const QTime &time);
    // Short date, a blank, long time.
    static QString dateTime(const QDateTime &moment);
    // dateTime() of PlatformClock::now().
    static QString now();
};
