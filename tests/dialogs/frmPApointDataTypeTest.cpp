#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "dialogs/DialogScript.h"
#include "dialogs/frmDataType.h"
#include "dialogs/frmPApointDataType.h"
#include "foundation/Globals.h"
#include "platform/MessageScript.h"
#include "support/QtApp.h"

namespace {

const QStringList kNames = {"逻辑", "日期", "文本", "整数", "实数", "货币"};

class frmPApointDataTypeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureQtApp();
        g_UpgradeSettings = PnwList();
        g_UpgradeSettings.Add(record({{"AcctName", "新账套"}}));
    }
    void TearDown() override { ResetProgramState(); }

    // Items: two payroll figures and one text item.
    std::unique_ptr<frmPApointDataType> open() {
        auto d = std::make_unique<frmPApointDataType>();
        d->setRs(recordset({"FitemName", "FIsPayrollData"}, {{"基本工资", true}, {"备注", false}, {"奖金", true}}));
        active = showActive(*d);
        return d;
    }
    QStringList types(frmPApointDataType &d) {
        QStringList out;
        for (int r = 1; r <= d.fpSpread()->MaxRows(); ++r) out << cellText(d.fpSpread(), 3, r);
        return out;
    }
    static QList<int> codes(const PnwList &list) {
        QList<int> out;
        for (int i = 1; i <= list.Count(); ++i) out << recordAt(list, i).Item("FDataType").toInt();
        return out;
    }
    bool active = false;
};

TEST_F(frmPApointDataTypeTest, NonPayrollItemsStartAsTextAndPayrollItemsUntyped) {
    auto d = open();
    SpreadsheetGrid *g = d->fpSpread();
    ASSERT_EQ(g->MaxRows(), 3);
    EXPECT_EQ(cellText(g, 1, 0), "工资项目");
    EXPECT_EQ(cellText(g, 2, 0), "源账套数据类型");
    EXPECT_EQ(cellText(g, 3, 0), "专业版数据类型");
    EXPECT_EQ(cellText(g, 1, 2), "备注");
    EXPECT_EQ(cellText(g, 2, 1), "数值");
    EXPECT_EQ(cellText(g, 2, 2), "文本");
    EXPECT_EQ(types(*d), QStringList({"", "文本", ""}));
    g->setCol(3);
    g->setRow(1);
    EXPECT_EQ(g->comboList(), kNames);
    EXPECT_NEAR(g->ColWidth(3), 15, 0.5);
    EXPECT_EQ(d->txtAcctName()->text(), "新账套");
    EXPECT_EQ(d->lblCaption()->text(), "工资项目升级:数据格式设置");
}

TEST_F(frmPApointDataTypeTest, OkAndTheClosePictureHideOnlyWhenEveryRowHasAType) {
    for (const bool byPicture : {false, true}) {
        auto d = open();
        d->fpSpread()->SetText(3, 1, "货币");
        MessageScript messages;
        auto press = [&] {
            if (byPicture)
                QTest::mouseClick(d->ImgClose(), Qt::LeftButton);
            else
                click(d->cmdOK());
        };
        press();
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().prompt, "第3行，有未指定数据类型的项，请指定类型");
        EXPECT_EQ(messages.last().buttons, 64);
        EXPECT_TRUE(d->isVisible());
        EXPECT_FALSE(d->IsEmpty());
        // The operator picks "逻辑" in the third row's list.
        d->fpSpread()->SetActiveCell(3, 3);
        auto *combo = d->fpSpread()->findChild<QComboBox *>();
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(0);
        press();
        EXPECT_EQ(messages.count(), 2);  // IsEmpty above told once more
        EXPECT_FALSE(d->isVisible());
        EXPECT_TRUE(d->IsEmpty());
        EXPECT_EQ(codes(d->returndata()), QList<int>({6, 200, 11}));
        EXPECT_EQ(recordAt(d->returndata(), 3).Item("FItemName"), QVariant("奖金"));
    }
}

TEST_F(frmPApointDataTypeTest, BatchEditWritesThePickedTypeIntoEveryRow) {
    auto d = open();
    DialogScript script;
    script.add<frmDataType>([](frmDataType &picker) {
        EXPECT_FALSE(picker.Chosen);
        ASSERT_EQ(picker.listEntry()->count(), 6);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(picker.listEntry()->item(i)->text(), kNames[i]);
        EXPECT_EQ(picker.listEntry()->item(1)->data(Qt::UserRole).toInt(), 135);
        picker.listEntry()->item(1)->setSelected(true);
        click(picker.cmdOK());
    });
    click(d->cmdBatedit());
    ASSERT_EQ(script.count(), 1);
    EXPECT_FALSE(script.shown()[0].leftOpen);
    EXPECT_EQ(types(*d), QStringList({"日期", "日期", "日期"}));
    EXPECT_EQ(codes(d->returndata()), QList<int>({135, 135, 135}));
}

TEST_F(frmPApointDataTypeTest, APickerLeftWithoutAChoiceChangesNothing) {
    struct Case {
        const char *name;
        void (*act)(frmDataType &);
    };
    const Case cases[] = {
        {"cancel", [](frmDataType &p) { click(p.cmdCancel()); }},
        {"close picture", [](frmDataType &p) { QTest::mouseClick(p.ImgClose(), Qt::LeftButton); }},
        {"ok without a selection", [](frmDataType &p) { click(p.cmdOK()); }},
        {"window closed", [](frmDataType &p) { p.close(); }},
    };
    for (const Case &c : cases) {
        auto d = open();
        bool hidden = false;
        DialogScript script;
        script.add<frmDataType>([&](frmDataType &p) {
            c.act(p);
            hidden = !p.isVisible();
        });
        click(d->cmdBatedit());
        EXPECT_EQ(hidden, std::string(c.name) != "ok without a selection") << c.name;
        EXPECT_EQ(types(*d), QStringList({"", "文本", ""})) << c.name;
    }
}

TEST_F(frmPApointDataTypeTest, ThePickerResetsAndADoubleClickPicks) {
    ensureQtApp();
    frmDataType picker;
    ASSERT_TRUE(showActive(picker));
    QListWidgetItem *money = picker.listEntry()->item(5);
    const QRect r = picker.listEntry()->visualItemRect(money);
    QTest::mouseClick(picker.listEntry()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QTest::mouseDClick(picker.listEntry()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_TRUE(picker.Chosen);
    EXPECT_EQ(picker.SelectedType, 6);
    EXPECT_FALSE(picker.isVisible());
    picker.show();  // shown again: nothing chosen yet
    EXPECT_FALSE(picker.Chosen);
    EXPECT_EQ(picker.SelectedType, 0);
    EXPECT_EQ(picker.size(), QSize(242, 171));
}

}  // namespace
