// The bank-account question through the real dialog (offscreen), answered
// by a scripted operator: numbers typed and confirmed, or the dialog closed.
#include "CashierFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "controls/SpreadsheetGrid.h"
#include "controls/zqbutton.h"
#include "dialogs/DialogScript.h"
#include "dialogs/frmSetBankAccount.h"
#include "upgrade/payroll_cashier/clsCn.h"

class CashierBankAccountDialogTest : public CashierFixture {
protected:
    void SetUp() override {
        CashierFixture::SetUp();
        asked = CashierAskBankAccountDialog;
        createFrom(QStringLiteral("standard"));
        seedStandardBase();
    }
};

TEST_F(CashierBankAccountDialogTest, NumbersTypedAndConfirmedAreStored) {
    QStringList shown;
    DialogScript script;
    script.add(std::function<void(frmSetBankAccount &)>([&shown](frmSetBankAccount &d) {
        SpreadsheetGrid *grid = d.fpSpread();
        for (int row = 1; row <= grid->MaxRows(); ++row) {
            grid->setCol(2);
            grid->setRow(row);
            shown << grid->Text();
            grid->SetText(5, row, QStringLiteral("62220%1").arg(row));
        }
        emit d.cmdOK()->Click();
    }));
    clsCn step;
    EXPECT_EQ(upgrade(step), 0);
    ASSERT_EQ(script.count(), 1);
    EXPECT_FALSE(script.shown()[0].mismatch);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("1002.01"), QStringLiteral("1002.02")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FKmID, FYhzh FROM cn_Account WHERE FIsCash = 0 ORDER BY FKmID")),
              (QStringList{QStringLiteral("1003\t622201"), QStringLiteral("1004\t622202")}));
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("成功\t出纳管理银行账号升级\t升级银行账号成功数目：2")});
}

// Typed keys are filtered to digits, but a pasted number keeps its blanks,
// hyphens and leading zeros all the way into the cashier account.
TEST_F(CashierBankAccountDialogTest, APastedNumberIsStoredExactlyAsPasted) {
    const QStringList pasted = {QStringLiteral("0622 0202-1234 5678"), QStringLiteral("9558-8001 0000-01")};
    DialogScript script;
    script.add(std::function<void(frmSetBankAccount &)>([&pasted](frmSetBankAccount &d) {
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        SpreadsheetGrid *grid = d.fpSpread();
        for (int row = 1; row <= grid->MaxRows(); ++row) {
            grid->SetActiveCell(5, row);
            QApplication::clipboard()->setText(pasted.value(row - 1));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" -x"));  // typed: swallowed
        }
        emit d.cmdOK()->Click();
    }));
    clsCn step;
    EXPECT_EQ(upgrade(step), 0);
    EXPECT_EQ(target(QStringLiteral("SELECT FKmID, FYhzh FROM cn_Account WHERE FIsCash = 0 ORDER BY FKmID")),
              (QStringList{QStringLiteral("1003\t") + pasted[0], QStringLiteral("1004\t") + pasted[1]}));
}

TEST_F(CashierBankAccountDialogTest, AnOkWithAMissingNumberKeepsTheDialogAndClosingItFails) {
    messages.addReply(1);  // "第1行，银行帐号为空！"
    messages.addReply(6);  // yes, close it
    DialogScript script;
    script.add(std::function<void(frmSetBankAccount &)>([](frmSetBankAccount &d) {
        emit d.cmdOK()->Click();
        EXPECT_TRUE(d.isVisible());
        emit d.closeClicked();
    }));
    clsCn step;
    EXPECT_EQ(upgrade(step), 2);
    const QStringList rows = newLogRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0],
              QStringLiteral("错误\t银行账户设置\t必须为每个银行都指定对应的账户，您选择了关闭操作导致升级失败！"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM cn_Account WHERE FYhzh <> FKmmc")), QStringLiteral("0"));
}
