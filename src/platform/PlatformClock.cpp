#include "platform/PlatformClock.h"

namespace {
QDateTime &fixedNow() {
    static QDateTime moment;
    return moment;
}
}  // namespace

QDateTime PlatformClock::now() { return fixedNow().isValid() ? fixedNow() : QDateTime::currentDateTime(); }

void PlatformClock::setFixedNow(const QDateTime &moment) { fixedNow() = moment; }
