#include "platform/WaitCursorSeam.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
bool g_busy = false;
bool g_overridden = false;  // whether our override cursor is on the stack
}  // namespace

void WaitCursorSeam::setBusy(bool busy) {
    if (busy == g_busy) return;
    g_busy = busy;
    const bool gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    if (busy && gui) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        g_overridden = true;
    } else if (!busy && g_overridden) {
        if (gui) QGuiApplication::restoreOverrideCursor();
        g_overridden = false;
    }
}

bool WaitCursorSeam::isBusy() { return g_busy; }
