#include <QClipboard>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QToolTip>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "dialogs/DialogScript.h"
#include "dialogs/frmSetBankAccount.h"
#include "platform/MessageScript.h"
#include "support/QStringPrint.h"
#include "support/QtApp.h"

namespace {

class frmSetBankAccountTest : public ::testing::Test {
protected:
    void SetUp() override { ensureQtApp(); }

    std::unique_ptr<frmSetBankAccount> open() {
        auto d = std::make_unique<frmSetBankAccount>();
        d->setRs(recordset({"FKMID", "FKMdm", "FKMmc", "FBB", "FOther"},
                           {{11, "1002.01", "工行", "人民币", "x"}, {12, "1002.02", "中行", "美元", "y"}}));
        active = showActive(*d);
        return d;
    }
    // Types into the number cell of a row: the first key opens its editor.
    static void typeInto(frmSetBankAccount &d, int row, const QString &keys) {
        d.fpSpread()->SetActiveCell(5, row);
        for (const QChar ch : keys) QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    }
    bool active = false;
};

TEST_F(frmSetBankAccountTest, TheGridShowsTheAccountsWithTheIdHidden) {
    auto d = open();
    SpreadsheetGrid *g = d->fpSpread();
    ASSERT_EQ(g->MaxRows(), 2);
    ASSERT_EQ(g->MaxCols(), 5);
    const QStringList headers = {"总账科目ID", "科目代码", "科目名称", "币别", "银行帐号"};
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(cellText(g, c, 0), headers[c - 1]);
    EXPECT_EQ(cellText(g, 1, 2), "12");
    EXPECT_EQ(cellText(g, 3, 2), "中行");
    EXPECT_EQ(cellText(g, 4, 1), "人民币");
    EXPECT_EQ(cellText(g, 5, 1), "");
    EXPECT_FALSE(g->isColumnShown(1));
    EXPECT_NEAR(g->ColWidth(2), 10, 0.5);
    EXPECT_NEAR(g->ColWidth(5), 15, 0.5);
    g->setCol(4);
    g->setRow(1);
    EXPECT_EQ(g->cellType(), SpreadsheetGrid::CellType::StaticText);
    g->setCol(5);
    EXPECT_EQ(g->cellType(), SpreadsheetGrid::CellType::Edit);
    EXPECT_EQ(d->lblCaption()->text(), "银行存款初始余额的升级:银行帐号设置");
}

TEST_F(frmSetBankAccountTest, OnlyDigitsAndBackspaceCanBeTypedAndEnterMovesOn) {
    auto d = open();
    ASSERT_TRUE(active);
    typeInto(*d, 1, "62a 2-8");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();  // the Tab that Enter sends
    EXPECT_EQ(cellText(d->fpSpread(), 5, 1), "622");
    EXPECT_EQ(d->fpSpread()->ActiveRow(), 2);  // moved on past the hidden id
    EXPECT_EQ(d->fpSpread()->ActiveCol(), 2);

    // Text committed by an input method is typed text too: only its digits pass.
    typeInto(*d, 2, "7");
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("a８3-中5 "));
    QApplication::sendEvent(QApplication::focusWidget(), &composed);
    EXPECT_EQ(cellText(d->fpSpread(), 5, 2), "735");
}

// A cell too narrow for its text shows all of it as a tooltip; a cell whose
// text fits shows none. The designed widths stay.
TEST_F(frmSetBankAccountTest, ACutCellShowsItsFullTextAsATooltip) {
    frmSetBankAccount d;
    const QString longName = QStringLiteral("中国工商银行上海市分行浦东支行营业部");
    d.setRs(recordset({"FKMID", "FKMdm", "FKMmc", "FBB"},
                      {{11, "1002.01", longName, "人民币"}, {12, "1002.02", "中行", "美元"}}));
    ASSERT_TRUE(showActive(d));
    SpreadsheetGrid *g = d.fpSpread();
    EXPECT_NEAR(g->ColWidth(3), 12, 0.5);
    const auto tooltipAt = [g](int col, int row) {
        // The tip of the last probe goes at once, not after its fade delay.
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel")) w->hide();
        const QPoint at = g->cellRect(col, row).center();
        QHelpEvent help(QEvent::ToolTip, at, g->viewport()->mapToGlobal(at));
        QApplication::sendEvent(g->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tooltipAt(3, 1), longName);
    EXPECT_EQ(tooltipAt(3, 2), QString());
    EXPECT_EQ(tooltipAt(2, 1), QString());
    g->SetText(5, 1, QStringLiteral("6222 0202 0000 1234 5678 9012"));
    EXPECT_EQ(tooltipAt(5, 1), QStringLiteral("6222 0202 0000 1234 5678 9012"));
    EXPECT_NEAR(g->ColWidth(3), 12, 0.5);
    QToolTip::hideText();
}

TEST_F(frmSetBankAccountTest, CopyAndPasteKeysPassAndAPastedTextStaysAsItIs) {
    auto d = open();
    ASSERT_TRUE(active);
    QApplication::clipboard()->setText("AB 12");
    typeInto(*d, 2, "9");
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), "9AB 12");
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "9AB 12");
    EXPECT_EQ(cellText(d->fpSpread(), 5, 2), "9AB 12");
}

TEST_F(frmSetBankAccountTest, OkTellsTheFirstEmptyRowThenHidesWithTheNumbers) {
    auto d = open();
    d->fpSpread()->SetText(5, 1, "6222");
    MessageScript messages;
    click(d->cmdOK());
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().prompt, "第2行，银行帐号为空！");
    EXPECT_EQ(messages.last().buttons, 64);
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(d->ResultOK());
    d->fpSpread()->SetText(5, 2, "9558");
    click(d->cmdOK());
    EXPECT_EQ(messages.count(), 1);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(d->ResultOK());
    const PnwList out = d->returndata();
    ASSERT_EQ(out.Count(), 2);
    EXPECT_EQ(recordAt(out, 1).Item("FYHZH"), QVariant("6222"));
    EXPECT_EQ(recordAt(out, 1).Item("FKMID"), QVariant("11"));
    EXPECT_EQ(recordAt(out, 1).Item("FBB"), QVariant("人民币"));
    EXPECT_EQ(recordAt(out, 2).Item("FYHZH"), QVariant("9558"));
    EXPECT_EQ(recordAt(out, 2).Item("FKMID"), QVariant("12"));
}

TEST_F(frmSetBankAccountTest, ClosingAsksAndYesHidesWithoutResult) {
    auto d = open();
    d->fpSpread()->SetText(5, 1, "6222");
    MessageScript messages({MsgBox::No, MsgBox::Yes});
    QTest::mouseClick(d->ImgClose(), Qt::LeftButton);
    EXPECT_EQ(messages.last().prompt, "没有对银行设定帐号会导致升级失败，你确定要关闭此窗口吗？");
    EXPECT_EQ(messages.last().buttons, 68);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(cellText(d->fpSpread(), 5, 1), "6222");
    QTest::mouseClick(d->ImgClose(), Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(d->ResultOK());
}

TEST_F(frmSetBankAccountTest, WithoutRowsReturndataIsEmptyAndTheSeamRunsIt) {
    frmSetBankAccount d;  // rs never set: the empty recordset of the window
    DialogScript script;
    script.add<frmSetBankAccount>([](frmSetBankAccount &dialog) { click(dialog.cmdOK()); });
    DialogSeam::showModal(d);
    EXPECT_TRUE(d.ResultOK());
    EXPECT_EQ(d.returndata().Count(), 0);
}

}  // namespace
