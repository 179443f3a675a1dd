#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

#include "platform/MessageBoxSeam.h"
#include "platform/MessageScript.h"
#include "support/QtApp.h"

TEST(MessageScript, AnswersInOrderAndRecordsEachBox) {
    MessageScript script({MsgBox::Yes, MsgBox::Cancel});
    EXPECT_EQ(MessageBoxSeam::show(QStringLiteral("删除吗？"), 68, QStringLiteral("岫禾提示")), MsgBox::Yes);
    EXPECT_EQ(MessageBoxSeam::show(QStringLiteral("继续？"), 67, QStringLiteral("岫禾提示")), MsgBox::Cancel);
    EXPECT_EQ(MessageBoxSeam::show(QStringLiteral("完成"), 64, QStringLiteral("岫禾软件")), MsgBox::Ok);
    EXPECT_EQ(MessageBoxSeam::show(QStringLiteral("是否"), 4, QString()), MsgBox::No);
    ASSERT_EQ(script.count(), 4);
    EXPECT_EQ(script.requests().at(0).prompt, QStringLiteral("删除吗？"));
    EXPECT_EQ(script.requests().at(0).buttons, 68);
    EXPECT_EQ(script.requests().at(2).title, QStringLiteral("岫禾软件"));
}

TEST(MessageScript, ScriptsNest) {
    MessageScript outer({MsgBox::No});
    {
        MessageScript inner({MsgBox::Yes});
        EXPECT_EQ(MessageBoxSeam::show(QStringLiteral("a"), 4, QString()), MsgBox::Yes);
    }
    EXPECT_EQ(MessageBoxSeam::show(QStringLiteral("b"), 4, QString()), MsgBox::No);
    EXPECT_EQ(outer.count(), 1);
}

// The real box: a timer presses one of its buttons once it is open.
static int pressOnRealBox(int buttons, QMessageBox::StandardButton press, QMessageBox::Icon *icon, QStringList *texts) {
    ensureQtApp();
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *icon = box->icon();
        for (QAbstractButton *b : box->buttons()) *texts << QString::number(box->standardButton(b));
        box->button(press)->click();
    });
    return MessageBoxSeam::show(QStringLiteral("提示"), buttons, QStringLiteral("岫禾提示"));
}

TEST(MessageBoxSeam, ARealBoxShowsTheButtonSetAndIcon) {
    // The real box, not the test program's guard against unexpected boxes.
    const MessageBoxSeam::Responder guard = MessageBoxSeam::setResponder(nullptr);
    struct Case {
        int buttons;
        QMessageBox::StandardButton press;
        int result;
        QMessageBox::Icon icon;
        int buttonCount;
    } cases[] = {
        {0, QMessageBox::Ok, 1, QMessageBox::NoIcon, 1},
        {1 + 16, QMessageBox::Cancel, 2, QMessageBox::Critical, 2},
        {3 + 64, QMessageBox::No, 7, QMessageBox::Information, 3},
        {4 + 48, QMessageBox::Yes, 6, QMessageBox::Warning, 2},
    };
    for (const Case &c : cases) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList texts;
        EXPECT_EQ(pressOnRealBox(c.buttons, c.press, &icon, &texts), c.result) << c.buttons;
        EXPECT_EQ(icon, c.icon) << c.buttons;
        EXPECT_EQ(texts.size(), c.buttonCount) << c.buttons;
    }
    MessageBoxSeam::setResponder(guard);
}

// Wherever the focus is, the box stands in the middle of the program's window.
TEST(MessageBoxSeam, ARealBoxIsCentredOnTheMainWindow) {
    ensureQtApp();
    const MessageBoxSeam::Responder guard = MessageBoxSeam::setResponder(nullptr);
    QWidget window;
    window.setGeometry(300, 200, 700, 500);
    auto *field = new QWidget(&window);
    field->setGeometry(600, 400, 100, 20);
    window.show();
    field->setFocus();
    QPoint centre;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        centre = box->frameGeometry().center();
        box->button(QMessageBox::Ok)->click();
    });
    MessageBoxSeam::show(QStringLiteral("路径不存在"), 16, QStringLiteral("岫禾提示"));
    MessageBoxSeam::setResponder(guard);
    EXPECT_LE((centre - window.frameGeometry().center()).manhattanLength(), 10);
}

TEST(MessageBoxSeam, ClosingABoxGivesCancelOrOkOrNo) {
    EXPECT_EQ(MessageBoxSeam::closeResult(0), MsgBox::Ok);
    EXPECT_EQ(MessageBoxSeam::closeResult(1 + 16), MsgBox::Cancel);
    EXPECT_EQ(MessageBoxSeam::closeResult(67), MsgBox::Cancel);
    EXPECT_EQ(MessageBoxSeam::closeResult(68), MsgBox::No);
}

TEST(MessageScript, RepliesReadFromTextAndDefaultButtons) {
    QString error;
    EXPECT_EQ(MessageScript::parseReplies(QStringLiteral("# answers\nyes\n 7 \n\nCANCEL\nok"), &error),
              (QList<int>{MsgBox::Yes, MsgBox::No, MsgBox::Cancel, MsgBox::Ok}));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(MessageScript::parseReplies(QStringLiteral("Retry\n8\nNo"), &error), QList<int>{MsgBox::Retry});
    EXPECT_EQ(error, QStringLiteral("line 2: not a reply: 8"));

    EXPECT_EQ(MessageBoxSeam::defaultResult(MsgBox::YesNo + MsgBox::Question), MsgBox::Yes);
    EXPECT_EQ(MessageBoxSeam::defaultResult(MsgBox::YesNoCancel + MsgBox::DefaultButton2), MsgBox::No);
    EXPECT_EQ(MessageBoxSeam::defaultResult(MsgBox::AbortRetryIgnore + MsgBox::DefaultButton3), MsgBox::Ignore);
    EXPECT_EQ(MessageBoxSeam::defaultResult(MsgBox::OkOnly + MsgBox::DefaultButton3), MsgBox::Ok);
}
