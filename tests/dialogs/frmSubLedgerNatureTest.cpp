#include <QLabel>
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "dialogs/DialogScript.h"
#include "dialogs/frmSubLedgerNature.h"
#include "foundation/Globals.h"
#include "foundation/WaitCursor.h"
#include "platform/MessageScript.h"
#include "support/QtApp.h"

namespace {

const QString kRefusal = QStringLiteral("请为所有会计科目指定往来单位的性质。");
const QString kCloseQuestion = QStringLiteral("未指定往来单位核算项目性质，这样会导致升级失败，你确定要关闭此窗口吗？");

PnwDictionary account(const QString &code, const QString &name) {
    return record({{"FAcctID", code}, {"FAcctName", name}, {"FIsCustomer", 0}, {"FIsSupplier", 0}});
}

class frmSubLedgerNatureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureQtApp();
        g_SourceEdition = QStringLiteral("标准版");
    }
    void TearDown() override { ResetProgramState(); }

    // A shown dialog on the given account names (codes 1001, 1002, ...).
    std::unique_ptr<frmSubLedgerNature> open(const QStringList &names) {
        for (int i = 0; i < names.size(); ++i) data.Add(account(QString::number(1001 + i), names[i]));
        auto d = std::make_unique<frmSubLedgerNature>();
        d->setData(QVariant::fromValue(data));
        active = showActive(*d);
        return d;
    }

    // Customer and supplier of each record, as "10", "01" or "00".
    QStringList natures() const {
        QStringList out;
        for (int i = 1; i <= data.Count(); ++i)
            out << recordAt(data, i).Item("FIsCustomer").toString() + recordAt(data, i).Item("FIsSupplier").toString();
        return out;
    }
    // The same read from the grid's boxes.
    static QStringList boxes(frmSubLedgerNature &d) {
        QStringList out;
        for (int r = 1; r <= d.GridSubLedger()->MaxRows(); ++r)
            out << cellValue(d.GridSubLedger(), 3, r).toString() + cellValue(d.GridSubLedger(), 4, r).toString();
        return out;
    }

    PnwList data;
    bool active = false;
};

TEST_F(frmSubLedgerNatureTest, TheGridShowsTheAccountsAndTheNameRulesTickTheirBoxes) {
    auto d = open({"应收账款", "预付账款", "其他往来", "应收应付混合", "预收账款", "应付账款"});
    SpreadsheetGrid *g = d->GridSubLedger();
    ASSERT_EQ(g->MaxRows(), 6);
    ASSERT_EQ(g->MaxCols(), 4);
    const QStringList headers = {"科目编码", "科目名称", "客户", "供应商"};
    for (int c = 1; c <= 4; ++c) EXPECT_EQ(cellText(g, c, 0), headers[c - 1]);
    EXPECT_EQ(cellText(g, 1, 3), "1003");
    EXPECT_EQ(cellText(g, 2, 3), "其他往来");
    EXPECT_NEAR(g->ColWidth(1), 15, 0.5);
    EXPECT_NEAR(g->ColWidth(2), 24, 0.5);
    g->setRow(1);
    g->setCol(1);
    EXPECT_EQ(g->cellType(), SpreadsheetGrid::CellType::StaticText);
    g->setCol(3);
    EXPECT_EQ(g->cellType(), SpreadsheetGrid::CellType::CheckBox);
    EXPECT_EQ(g->hAlign(), SpreadsheetGrid::HAlign::Center);
    const QStringList expected = {"10", "01", "00", "01", "10", "01"};
    EXPECT_EQ(boxes(*d), expected);
    EXPECT_EQ(natures(), expected);
    EXPECT_EQ(g->ActiveCol(), 3);
    EXPECT_EQ(g->ActiveRow(), 1);
    EXPECT_EQ(d->lblInstruction()->text(),
              "说明: 列表里面的会计科目在标准版中使用了往来单位作为核算项目，而专业版中的往来单位区分客户和供应商，"
              "因此，必须指定往来单位属于客户或供应商。");
    EXPECT_EQ(d->lblCaption()->text(), "指定往来单位核算项目性质");
    EXPECT_EQ(d->size(), QSize(585, 433));
}

TEST_F(frmSubLedgerNatureTest, TheCallersOwnNaturesAreNotReadAtLoad) {
    data.Add(record({{"FAcctID", "1"}, {"FAcctName", "甲"}, {"FIsCustomer", 1}, {"FIsSupplier", 1}}));
    frmSubLedgerNature d;
    d.setData(QVariant::fromValue(data));
    d.show();
    EXPECT_EQ(boxes(d), QStringList({"00"}));
}

TEST_F(frmSubLedgerNatureTest, ClickingABoxTicksOrClearsTheOtherOfItsRow) {
    auto d = open({"应收账款", "其他"});
    clickCell(d->GridSubLedger(), 3, 1);  // clear the customer box
    EXPECT_EQ(boxes(*d), QStringList({"01", "00"}));
    EXPECT_EQ(natures(), QStringList({"01", "00"}));
    clickCell(d->GridSubLedger(), 3, 2);  // tick a customer box
    EXPECT_EQ(natures(), QStringList({"01", "10"}));
    clickCell(d->GridSubLedger(), 4, 2);
    EXPECT_EQ(natures(), QStringList({"01", "01"}));
    EXPECT_EQ(boxes(*d), natures());
}

TEST_F(frmSubLedgerNatureTest, TheSelectButtonsSetWholeColumnsAndTheRuleFollows) {
    struct Step {
        zqbutton *(frmSubLedgerNature::*button)() const;
        QStringList after;
    };
    const Step steps[] = {
        // Every customer becomes a supplier; the untouched row stays clear.
        {&frmSubLedgerNature::btn_UnSelectAllCS, {"01", "01", "00"}},
        {&frmSubLedgerNature::btn_SelectAllCS, {"10", "10", "10"}},
        {&frmSubLedgerNature::btn_SelectAllSP, {"01", "01", "01"}},
        {&frmSubLedgerNature::btn_UnSelectAllSP, {"10", "10", "10"}},
    };
    auto d = open({"应收账款", "应付账款", "其他"});
    for (const Step &s : steps) {
        d->GridSubLedger()->setCol(2);
        d->GridSubLedger()->setRow(2);
        click((d.get()->*s.button)());
        // The addressing cell is where it was.
        EXPECT_EQ(d->GridSubLedger()->Col(), 2);
        EXPECT_EQ(d->GridSubLedger()->Row(), 2);
        EXPECT_EQ(boxes(*d), s.after);
        EXPECT_EQ(natures(), s.after);
    }
}

TEST_F(frmSubLedgerNatureTest, OkRefusesAnUnassignedAccountThenAcceptsByKeyboard) {
    auto d = open({"应收账款", "其他", "应付账款"});
    ASSERT_TRUE(active);
    int depthAtMessage = -1;
    MessageScript messages;
    MessageBoxSeam::Responder previous = MessageBoxSeam::setResponder([&](const MessageRequest &r) {
        depthAtMessage = WaitCursorDepth();
        return MessageBoxSeam::closeResult(r.buttons);
    });
    click(d->btn_OK());
    MessageBoxSeam::setResponder(previous);
    EXPECT_EQ(depthAtMessage, 1);
    EXPECT_EQ(WaitCursorDepth(), 0);
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(d->ResultOK());
    EXPECT_EQ(d->GridSubLedger()->ActiveCol(), 3);
    EXPECT_EQ(d->GridSubLedger()->ActiveRow(), 2);
    EXPECT_TRUE(d->GridSubLedger()->hasFocus());
    EXPECT_EQ(natures(), QStringList({"10", "00", "01"}));

    // Space ticks the focused customer box; Enter on OK accepts.
    MessageScript quiet;
    QTest::keyClick(d->GridSubLedger(), Qt::Key_Space);
    EXPECT_EQ(natures(), QStringList({"10", "10", "01"}));
    // The arrow keys move on; Space on the supplier box of row 3 clears it.
    QTest::keyClick(d->GridSubLedger(), Qt::Key_Down);
    QTest::keyClick(d->GridSubLedger(), Qt::Key_Right);
    QTest::keyClick(d->GridSubLedger(), Qt::Key_Space);
    EXPECT_EQ(natures(), QStringList({"10", "10", "10"}));
    d->btn_OK()->setFocus();
    QTest::keyClick(d->btn_OK(), Qt::Key_Return);
    EXPECT_EQ(quiet.count(), 0);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(d->ResultOK());
    EXPECT_EQ(WaitCursorDepth(), 0);
}

TEST_F(frmSubLedgerNatureTest, TheRefusalMessageIsTheInformationBoxWithTheTitle) {
    auto d = open({"其他"});
    MessageScript messages;
    click(d->btn_OK());
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().prompt, kRefusal);
    EXPECT_EQ(messages.last().buttons, 64);
    EXPECT_EQ(messages.last().title, "岫禾提示");
}

TEST_F(frmSubLedgerNatureTest, ClosingAsksAndOnlyYesHides) {
    struct Case {
        const char *name;
        bool byPicture;
        int answer;
    };
    for (const Case c : {Case{"cancel-no", false, MsgBox::No}, Case{"picture-no", true, MsgBox::No},
                         Case{"cancel-yes", false, MsgBox::Yes}, Case{"picture-yes", true, MsgBox::Yes}}) {
        data = PnwList();
        auto d = open({"应收账款", "其他"});
        MessageScript messages({c.answer});
        if (c.byPicture)
            QTest::mouseClick(d->ImgClose(), Qt::LeftButton);
        else
            click(d->btn_Cancel());
        ASSERT_EQ(messages.count(), 1) << c.name;
        EXPECT_EQ(messages.last().prompt, kCloseQuestion);
        EXPECT_EQ(messages.last().buttons, 68);
        EXPECT_EQ(d->isVisible(), c.answer == MsgBox::No) << c.name;
        EXPECT_FALSE(d->ResultOK()) << c.name;
        EXPECT_EQ(natures(), QStringList({"10", "00"})) << c.name;
        EXPECT_EQ(boxes(*d), natures()) << c.name;
    }
}

TEST_F(frmSubLedgerNatureTest, WhatDataTakes) {
    {  // one record: one row, read back as a list of that record
        const PnwDictionary one = account("1131", "应收账款");
        frmSubLedgerNature d;
        d.setData(QVariant::fromValue(one));
        d.show();
        EXPECT_EQ(d.GridSubLedger()->MaxRows(), 1);
        ASSERT_EQ(d.Data().Count(), 1);
        EXPECT_TRUE(recordAt(d.Data(), 1).isSameAs(one));
        EXPECT_EQ(one.Item("FIsCustomer").toInt(), 1);
    }
    {  // anything else is ignored: the list set before stays
        data.Add(account("1", "其他"));
        frmSubLedgerNature d;
        d.setData(QVariant::fromValue(data));
        d.setData(QVariant(QStringLiteral("text")));
        EXPECT_TRUE(d.Data().isSameAs(data));
    }
    for (const bool setEmpty : {true, false}) {  // an empty list, or none set, is accepted at once
        frmSubLedgerNature d;
        if (setEmpty) d.setData(QVariant::fromValue(PnwList()));
        MessageScript messages;
        d.show();
        EXPECT_EQ(d.GridSubLedger()->MaxRows(), 0);
        click(d.btn_OK());
        EXPECT_EQ(messages.count(), 0);
        EXPECT_FALSE(d.isVisible());
        EXPECT_TRUE(d.ResultOK());
    }
}

TEST_F(frmSubLedgerNatureTest, TheCallingProtocolThroughTheSeam) {
    for (int i = 0; i < 3; ++i) data.Add(account(QString::number(i), QStringLiteral("其他%1").arg(i)));
    DialogScript script;
    script.add<frmSubLedgerNature>([&](frmSubLedgerNature &d) {
        EXPECT_EQ(d.GridSubLedger()->MaxRows(), 3);
        click(d.btn_SelectAllSP());
        click(d.btn_OK());
    });
    frmSubLedgerNature d;
    d.setData(QVariant::fromValue(data));
    DialogSeam::showModal(d);
    ASSERT_EQ(script.count(), 1);
    EXPECT_FALSE(script.shown()[0].leftOpen);
    EXPECT_TRUE(d.ResultOK());
    // The caller's own list holds the answers.
    EXPECT_EQ(natures(), QStringList({"01", "01", "01"}));
    EXPECT_EQ(WaitCursorDepth(), 0);
}

TEST_F(frmSubLedgerNatureTest, TheBusyPointerShowsWhileTheGridIsFilled) {
    auto d = std::make_unique<frmSubLedgerNature>();
    data.Add(account("1", "应收账款"));
    d->setData(QVariant::fromValue(data));
    QList<int> depths;
    QObject::connect(d->GridSubLedger(), &SpreadsheetGrid::CheckChanged,
                     [&](int, int) { depths << WaitCursorDepth(); });
    d->show();
    EXPECT_EQ(depths, QList<int>({1}));  // the name rule's tick
    EXPECT_EQ(WaitCursorDepth(), 0);
}

}  // namespace
