#include <gtest/gtest.h>

#include "foundation/WaitCursor.h"
#include "platform/MessageScript.h"
#include "platform/WaitCursorSeam.h"
#include "support/QtApp.h"

TEST(WaitCursor, NestsAndIgnoresASurplusEnd) {
    ensureQtApp();
    MessageScript messages;
    ASSERT_EQ(WaitCursorDepth(), 0);
    BeginWaitCursor();
    BeginWaitCursor();
    EndWaitCursor();
    EXPECT_TRUE(WaitCursorSeam::isBusy());
    EndWaitCursor();
    EXPECT_FALSE(WaitCursorSeam::isBusy());

    EndWaitCursor();  // no matching Begin: nothing visible, no message
    EXPECT_FALSE(WaitCursorSeam::isBusy());
    EXPECT_EQ(WaitCursorDepth(), 0);
    EXPECT_EQ(messages.count(), 0);
    BeginWaitCursor();  // the hourglass shows again
    EXPECT_TRUE(WaitCursorSeam::isBusy());
    EndWaitCursor();
    EXPECT_FALSE(WaitCursorSeam::isBusy());
}
