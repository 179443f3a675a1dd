// One QApplication per test program, created before the first test and deleted by the
// test environment before main() returns (left to static destruction it
// would outlive Qt's font and input-device registries). GUI tests run on the
// offscreen platform unless the caller chose another.
#pragma once

#include <QApplication>

QApplication *ensureQtApp();
