#include "platform/RegionalFormat.h"

#include <QLocale>

#include "platform/PlatformClock.h"
#include "platform/PlatformSettings.h"

QString RegionalFormat::shortDate(const QDate &date) {
    return QLocale::c().toString(date, PlatformSettings::shortDateFormat());
}

QString RegionalFormat::longTime(const QTime &time) {
    return QLocale::c().toString(time, PlatformSettings::longTimeFormat());
}

QString RegionalFormat::dateTime(const QDateTime &moment) {
    return shortDate(moment.date()) + QLatin1Char(' ') + longTime(moment.time());
}

QString RegionalFormat::now() { return dateTime(PlatformClock::now()); }
