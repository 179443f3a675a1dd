// The mapping dialogs' keys: Escape does what the close picture does, and
// Enter on a control that has no use for it presses the dialog's default
// button (OK), which shows the focus look while no other button has the
// focus.
#include <functional>

#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "dialogs/frmBussinessUnits.h"
#include "dialogs/frmDataType.h"
#include "dialogs/frmPApointDataType.h"
#include "dialogs/frmSetBankAccount.h"
#include "dialogs/frmSubLedgerNature.h"
#include "dialogs/frmUnit.h"
#include "foundation/Globals.h"
#include "platform/MessageScript.h"
#include "support/QtApp.h"

namespace {

PnwList accounts(const QString &name) {
    PnwList list;
    list.Add(record({{"FAcctID", "1122"}, {"FAcctName", name}, {"FIsCustomer", 0}, {"FIsSupplier", 0}}));
    return list;
}

PnwList businessUnits() {
    PnwList list;
    list.Add(record(
        {{"FObjID", "01"}, {"FObjName", "华北"}, {"FParentID", "0"}, {"FFullObjName", "华北"}, {"FFullPath", "01"}}));
    return list;
}

struct KeyCase {
    const char *name;
    std::function<std::unique_ptr<DialogFrame>()> make;
    int key;
    const char *prompt;  // the message the key leads to; "" none
    bool hidden;         // the dialog has ended
};

void PrintTo(const KeyCase &c, std::ostream *os) { *os << c.name; }

class DialogKeys : public ::testing::TestWithParam<KeyCase> {
protected:
    void SetUp() override {
        ensureQtApp();
        g_SourceEdition = QStringLiteral("标准版");
    }
    void TearDown() override { ResetProgramState(); }
};

TEST_P(DialogKeys, TheKeyActsAsItsControl) {
    const KeyCase &c = GetParam();
    std::unique_ptr<DialogFrame> d = c.make();
    ASSERT_TRUE(showActive(*d));
    MessageScript messages({MsgBox::No});
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : d.get();
    QTest::keyClick(target, Qt::Key(c.key));
    if (*c.prompt) {
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().prompt.toStdString(), c.prompt);
    } else {
        EXPECT_EQ(messages.count(), 0);
    }
    EXPECT_EQ(!d->isVisible(), c.hidden);
}

INSTANTIATE_TEST_SUITE_P(
    MappingDialogs, DialogKeys,
    ::testing::Values(
        KeyCase{"natureEscape",
                [] {
                    auto d = std::make_unique<frmSubLedgerNature>();
                    d->setData(QVariant::fromValue(accounts("应收账款")));
                    return d;
                },
                Qt::Key_Escape, "未指定往来单位核算项目性质，这样会导致升级失败，你确定要关闭此窗口吗？", false},
        KeyCase{"natureEnter",
                [] {
                    auto d = std::make_unique<frmSubLedgerNature>();
                    d->setData(QVariant::fromValue(accounts("应收账款")));
                    return d;
                },
                Qt::Key_Return, "", true},
        KeyCase{"unitEscape", [] { return std::make_unique<frmUnit>(); }, Qt::Key_Escape,
                "未指定会计科目的计量单位，这样会导致升级失败，你确定要关闭此窗口吗？", false},
        KeyCase{"unitEnter", [] { return std::make_unique<frmUnit>(); }, Qt::Key_Return, "", true},
        KeyCase{"bankEscape",
                [] {
                    auto d = std::make_unique<frmSetBankAccount>();
                    d->setRs(recordset({"FKMID", "FKMdm", "FKMmc", "FBB"}, {{11, "1002.01", "工行", "人民币"}}));
                    return d;
                },
                Qt::Key_Escape, "没有对银行设定帐号会导致升级失败，你确定要关闭此窗口吗？", false},
        KeyCase{"businessUnitsEscape",
                [] {
                    auto d = std::make_unique<frmBussinessUnits>();
                    d->setBussinessUnits(businessUnits());
                    return d;
                },
                Qt::Key_Escape, "你还没有进行往来单位转换，系统将把这些往来单位同时升级为客户和供应商，继续吗？",
                false},
        KeyCase{"businessUnitsEnter",
                [] {
                    auto d = std::make_unique<frmBussinessUnits>();
                    d->setBussinessUnits(businessUnits());
                    return d;
                },
                // OK with no unit moved asks as the close picture does.
                Qt::Key_Return, "你还没有进行往来单位转换，系统将把这些往来单位同时升级为客户和供应商，继续吗？",
                false},
        KeyCase{"payrollEscapeIsOk",
                [] {
                    auto d = std::make_unique<frmPApointDataType>();
                    d->setRs(recordset({"FitemName", "FIsPayrollData"}, {{"基本工资", true}}));
                    return d;
                },
                Qt::Key_Escape, "第1行，有未指定数据类型的项，请指定类型", false},
        KeyCase{"payrollEnter",
                [] {
                    auto d = std::make_unique<frmPApointDataType>();
                    d->setRs(recordset({"FitemName", "FIsPayrollData"}, {{"备注", false}}));
                    return d;
                },
                Qt::Key_Return, "", true},
        KeyCase{"typePickerEscape", [] { return std::make_unique<frmDataType>(); }, Qt::Key_Escape, "", true}));

// Enter on the picker's list takes the selected type, as its OK does.
TEST(DialogKeysPicker, EnterTakesTheSelectedType) {
    ensureQtApp();
    frmDataType d;
    ASSERT_TRUE(showActive(d));
    d.listEntry()->setFocus();
    d.listEntry()->setCurrentRow(1);
    QTest::keyClick(d.listEntry(), Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.Chosen);
    EXPECT_EQ(d.SelectedType, 135);
}

// The default button carries the focus look until another button takes
// the focus, and gets it back when the focus leaves the buttons.
TEST(DialogKeysLook, TheDefaultButtonShowsUntilAnotherButtonHasTheFocus) {
    ensureQtApp();
    frmSubLedgerNature d;
    d.setData(QVariant::fromValue(accounts("应收账款")));
    ASSERT_TRUE(showActive(d));
    zqbutton *ok = d.btn_OK();
    zqbutton *cancel = d.btn_Cancel();
    d.GridSubLedger()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(ok->DisplayAsDefault());
    EXPECT_FALSE(cancel->DisplayAsDefault());
    cancel->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(ok->DisplayAsDefault());
    d.GridSubLedger()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(ok->DisplayAsDefault());
}

}  // namespace
