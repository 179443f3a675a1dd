#include "accounts/SqlLiteral.h"

#include <QCoreApplication>

void LetEventsRun() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}
