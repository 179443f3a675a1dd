#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>

#include "platform/WaitCursorSeam.h"
#include "support/QtApp.h"

TEST(WaitCursorSeam, BusyShowsTheHourglassOnce) {
    ensureQtApp();
    ASSERT_FALSE(WaitCursorSeam::isBusy());
    WaitCursorSeam::setBusy(true);
    WaitCursorSeam::setBusy(true);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_TRUE(WaitCursorSeam::isBusy());
    WaitCursorSeam::setBusy(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(WaitCursorSeam::isBusy());
}
