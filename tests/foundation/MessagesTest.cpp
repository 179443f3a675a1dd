#include <gtest/gtest.h>

#include "foundation/Messages.h"
#include "platform/MessageScript.h"

TEST(ShowMessage, PassesPromptButtonsAndTitleAndReturnsTheAnswer) {
    MessageScript script({MsgBox::No});
    EXPECT_EQ(ShowMessage(QStringLiteral("是否删除新建的账套？"), MsgBox::YesNo + MsgBox::Information,
                          QStringLiteral("岫禾提示")),
              MsgBox::No);
    ASSERT_EQ(script.count(), 1);
    EXPECT_EQ(script.last().prompt, QStringLiteral("是否删除新建的账套？"));
    EXPECT_EQ(script.last().buttons, 68);
    EXPECT_EQ(script.last().title, QStringLiteral("岫禾提示"));
}
