// The current local date and time for everything that stamps files and log
// lines. Tests may fix it to a chosen moment. UI thread only.
#pragma once

#include <QDateTime>

class PlatformClock {
public:
    static QDateTime now();
    // A valid moment fixes now(); an invalid one returns to the real clock.
    static void setFixedNow(const QDateTime &moment);
};
