// One QApplication per test process, created on first use; GUI tests run on
// the offscreen platform unless the caller chose another.
#pragma once

#include <QApplication>

inline QApplication *ensureQtApp() {
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance())) return app;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char arg0[] = "tests";
    static char *argv[] = {arg0, nullptr};
    static QApplication app(argc, argv);
    return &app;
}
