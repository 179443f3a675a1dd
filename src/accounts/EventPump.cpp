#include "accounts/EventPump.h"

#include <QCoreApplication>

void LetEventsRun() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}
