#include <functional>

#include <QLabel>

#include "DialogDriver.h"
#include "dialogs/DialogScript.h"
#include "dialogs/frmUnit.h"
#include "foundation/Globals.h"
#include "foundation/WaitCursor.h"
#include "kit/UpgradeStepFixture.h"
#include "server/FaultInjection.h"

namespace {

const QString kWrong = QStringLiteral("计量单位输入错误。原因：");
const QString kReserved = QStringLiteral("不允许输入系统预留的计量单位名称。");

// A target created from the mini sample with two units in one group ("个"
// 001 and "箱" 007) and a unit "台" whose group is missing. The unit step,
// which runs before the chart of accounts opens this dialog, gives the work
// table AIS_GLUnit (the staged GLUnit) its second mapping column; done here.
class frmUnitTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QStringLiteral("mini"));
        ASSERT_EQ(targetRun(QStringLiteral(
                      "IF NOT EXISTS (SELECT 1 FROM sysobjects WHERE name = 'AIS_GLUnit') "
                      "CREATE TABLE AIS_GLUnit (FUnit nvarchar(80) NULL, FZ8InterID INT NULL)\n"
                      "IF NOT EXISTS(SELECT 1 FROM sysobjects T1 INNER JOIN syscolumns T2 ON T1.ID = T2.ID "
                      "WHERE T1.Name = 'AIS_GLUnit' AND T2.Name = 'FZ8InterID_2') "
                      "ALTER TABLE AIS_GLUnit ADD FZ8InterID_2 INTEGER\n"
                      "INSERT INTO T_UnitGroup (FUnitGroupID, FName, FDefaultUnitID) VALUES (100, N'数量组', 101)\n"
                      "INSERT INTO T_MeasureUnit (FMeasureUnitID, FUnitGroupID, FNumber, FShortNumber, FName, "
                      "FItemID, FParentID) VALUES (102, 100, N'007', N'007', N'箱', 102, 100)\n"
                      "INSERT INTO T_MeasureUnit (FMeasureUnitID, FUnitGroupID, FNumber, FShortNumber, FName, "
                      "FItemID, FParentID) VALUES (101, 100, N'001', N'001', N'个', 101, 100)\n"
                      "INSERT INTO T_MeasureUnit (FMeasureUnitID, FUnitGroupID, FNumber, FShortNumber, FName, "
                      "FItemID, FParentID) VALUES (103, 999, N'003', N'003', N'台', 103, 999)\n")),
                  QString());
        g_SourceEdition = QStringLiteral("迷你版");
    }

    std::unique_ptr<frmUnit> open(int accounts) {
        for (int i = 1; i <= accounts; ++i)
            data.Add(record({{"FAcctID", QStringLiteral("1%1").arg(i)},
                             {"FAcctName", QStringLiteral("存货%1").arg(i)},
                             {"FUnit", ""},
                             {"FUnitName", ""}}));
        auto d = std::make_unique<frmUnit>();
        d->setData(QVariant::fromValue(data));
        active = showActive(*d);
        return d;
    }
    void type(frmUnit &d, int row, const QString &name) { d.GridUnit()->SetText(3, row, name); }
    QString field(int i, const char *key) const { return recordAt(data, i).Item(QString::fromLatin1(key)).toString(); }
    QString count(const QString &sql) const { return targetValue(sql); }

    PnwList data;
    bool active = false;
};

TEST_F(frmUnitTest, LoadingListsTheTargetsUnitsAndOneEmptyRowPerAccount) {
    auto d = open(2);
    SpreadsheetGrid *g = d->GridUnit();
    ASSERT_EQ(g->MaxRows(), 2);
    EXPECT_EQ(cellText(g, 1, 0), "科目编码");
    EXPECT_EQ(cellText(g, 2, 0), "科目名称");
    EXPECT_EQ(cellText(g, 3, 0), "计量单位");
    EXPECT_EQ(cellText(g, 1, 2), "12");
    EXPECT_EQ(cellText(g, 2, 2), "存货2");
    EXPECT_EQ(cellText(g, 3, 2), "");
    EXPECT_NEAR(g->ColWidth(1), 18, 0.5);
    EXPECT_NEAR(g->ColWidth(2), 20, 0.5);
    g->setCol(3);
    g->setRow(1);
    EXPECT_EQ(g->cellType(), SpreadsheetGrid::CellType::ComboBox);
    // Every group's units by number; "*" and the unit without a group left out.
    EXPECT_EQ(g->comboList(), QStringList({"个", "箱"}));
    EXPECT_EQ(g->ActiveCol(), 3);
    EXPECT_EQ(g->ActiveRow(), 1);
    EXPECT_EQ(d->lblInstruction()->text(),
              "说明：列表里面的会计科目在迷你版中勾选了数量金额核算选项，因此，必须指定会计科目使用的计量单位。");
    EXPECT_EQ(d->lblCaption()->text(), "为会计科目指定计量单位");
}

TEST_F(frmUnitTest, OkResolvesKnownUnitsAndCreatesEachNewNameOnce) {
    auto d = open(4);
    ASSERT_TRUE(active);
    const QString items = QStringLiteral("SELECT COUNT(*) FROM T_Item WHERE FItemClassID = 7");
    const QString itemsBefore = count(items);
    type(*d, 1, "箱");
    type(*d, 2, " 新单位 ");
    type(*d, 3, "新单位");
    // Row 4 typed by the operator into the cell's editor.
    d->GridUnit()->SetActiveCell(3, 4);
    QTest::keyClicks(QApplication::focusWidget(), " kg ");
    MessageScript quiet;
    click(d->btn_OK());
    EXPECT_EQ(quiet.count(), 0) << (quiet.count() ? quiet.last().prompt.toStdString() : "");
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(d->ResultOK());
    EXPECT_EQ(WaitCursorDepth(), 0);

    EXPECT_EQ(field(1, "FUnit"), "102");
    EXPECT_EQ(field(2, "FUnitName"), "新单位");
    EXPECT_EQ(field(3, "FUnitName"), "新单位");
    EXPECT_EQ(field(2, "FUnit"), field(3, "FUnit"));
    EXPECT_EQ(field(4, "FUnitName"), "kg");
    // Two new names: a group item and a unit item each.
    EXPECT_EQ(count(items).toInt(), itemsBefore.toInt() + 4);
    const QString unitID = field(2, "FUnit");
    const QString groupID = count("SELECT FParentID FROM T_Item WHERE FItemID = " + unitID);
    EXPECT_EQ(
        target("SELECT FNumber, FLevel, CONVERT(INT, FDetail), FName, FFullNumber, FShortNumber, FFullName FROM T_Item "
               "WHERE FItemID = " +
               groupID),
        QStringList({"新单位\t1\t0\t新单位\t新单位\t新单位\t新单位"}));
    EXPECT_EQ(target("SELECT FNumber, FLevel, CONVERT(INT, FDetail), FName FROM T_Item WHERE FItemID = " + unitID),
              QStringList({"008\t2\t1\t新单位"}));
    EXPECT_EQ(target("SELECT FUnitGroupID, FNumber, FName, FItemID, FParentID, FShortNumber FROM T_MeasureUnit "
                     "WHERE FMeasureUnitID = " +
                     unitID),
              QStringList({groupID + "\t008\t新单位\t" + unitID + "\t" + groupID + "\t008"}));
    EXPECT_EQ(target("SELECT FName, FDefaultUnitID FROM T_UnitGroup WHERE FUnitGroupID = " + groupID),
              QStringList({"新单位\t" + unitID}));
    EXPECT_EQ(
        target(
            "SELECT FUnit, FZ8InterID, FZ8InterID_2 FROM AIS_GLUnit WHERE FUnit IN ('kg', N'新单位') ORDER BY FUnit"),
        QStringList({"kg\t" + field(4, "FUnit") + "\t" +
                         count("SELECT FParentID FROM T_Item WHERE FItemID = " + field(4, "FUnit")),
                     "新单位\t" + unitID + "\t" + groupID}));
    EXPECT_EQ(count("SELECT FNumber FROM T_MeasureUnit WHERE FName = N'kg'"), "009");
}

TEST_F(frmUnitTest, BatchFillTakesRowOnesName) {
    struct Case {
        const char *first;
        QStringList rows;  // the unit cells afterwards
        int messages;
    };
    const Case cases[] = {
        {" 箱 ", {"箱", "箱", "箱"}, 0},
        {"", {"", "", "乙"}, 0},
        {"*", {"*", "", "乙"}, 1},
    };
    for (const Case &c : cases) {
        data = PnwList();
        auto d = open(3);
        type(*d, 1, c.first);
        type(*d, 3, "乙");
        MessageScript messages;
        click(d->btnBatchEdit());
        QStringList cells;
        for (int r = 1; r <= 3; ++r) cells << cellText(d->GridUnit(), 3, r);
        EXPECT_EQ(cells, c.rows) << c.first;
        EXPECT_EQ(messages.count(), c.messages) << c.first;
        if (c.messages) {
            EXPECT_EQ(messages.last().prompt, kReserved);
            EXPECT_EQ(messages.last().buttons, 64);
        }
        // The records follow only a fill that happened; FUnit waits for OK.
        EXPECT_EQ(field(2, "FUnitName"), c.messages == 0 && c.rows[1] != "" ? c.rows[1] : "");
        EXPECT_EQ(field(2, "FUnit"), "");
    }
}

TEST_F(frmUnitTest, OkRefusesABadRowWithItsReasonAndTheFocusOnIt) {
    struct Case {
        const char *third;
        QString reason;
    };
    const Case cases[] = {{"*", kReserved}, {"  ", QStringLiteral("非法的计量单位名称。")}};
    for (const Case &c : cases) {
        data = PnwList();
        auto d = open(3);
        ASSERT_TRUE(active);
        type(*d, 1, "个");
        type(*d, 2, "箱");
        type(*d, 3, c.third);
        int depth = -1;
        MessageScript messages;
        MessageBoxSeam::Responder previous = MessageBoxSeam::setResponder([&](const MessageRequest &r) {
            depth = WaitCursorDepth();
            EXPECT_EQ(r.prompt, kWrong + c.reason);
            EXPECT_EQ(r.buttons, 64);
            EXPECT_EQ(r.title, "岫禾提示");
            return 1;
        });
        click(d->btn_OK());
        EXPECT_EQ(depth, 1);
        EXPECT_EQ(WaitCursorDepth(), 0);
        EXPECT_TRUE(d->isVisible());
        EXPECT_FALSE(d->ResultOK());
        EXPECT_EQ(d->GridUnit()->ActiveRow(), 3);
        EXPECT_EQ(d->GridUnit()->ActiveCol(), 3);
        // The rows before it are resolved already.
        EXPECT_EQ(field(1, "FUnit"), "101");
        EXPECT_EQ(field(2, "FUnit"), "102");
        EXPECT_EQ(field(3, "FUnit"), "");
        // Mended, the next OK passes, the busy pointer shown again.
        depth = -1;
        type(*d, 3, "个");
        click(d->btn_OK());
        MessageBoxSeam::setResponder(previous);
        EXPECT_EQ(depth, -1);
        EXPECT_TRUE(d->ResultOK());
        EXPECT_EQ(WaitCursorDepth(), 0);
    }
}

TEST_F(frmUnitTest, AFailedCreationWritesNothingAndNamesTheCause) {
    struct Case {
        const char *title;
        std::function<void()> breakIt;
        QString cause;  // what the message says after the reason's head
    };
    const Case cases[] = {
        // The work row, the last statement of the creation, is refused:
        // the group, the unit and their items go with it.
        {"last statement",
         [] {
             server::FailStatementWhen([](std::string_view sql) { return server::WritesTable(sql, "AIS_GLUnit"); },
                                       2627, "重复键。");
         },
         QStringLiteral("SQL语句执行错误：\r\n")},
        // A unit number that is no number makes the numbering fail.
        {"numbering",
         [&] {
             ASSERT_EQ(targetRun("INSERT INTO T_MeasureUnit (FMeasureUnitID, FUnitGroupID, FNumber, FShortNumber, "
                                 "FName, FItemID, FParentID) VALUES (104, 100, N'AB', N'AB', N'包', 104, 100)"),
                       QString());
         },
         QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        c.breakIt();
        const QString before = count("SELECT COUNT(*) FROM T_Item") + "/" + count("SELECT COUNT(*) FROM T_UnitGroup") +
                               "/" + count("SELECT COUNT(*) FROM T_MeasureUnit") + "/" +
                               count("SELECT COUNT(*) FROM AIS_GLUnit");
        data = PnwList();
        auto d = open(1);
        type(*d, 1, "新单位");
        MessageScript messages;
        click(d->btn_OK());
        server::ResetFaults();
        ASSERT_EQ(messages.count(), 1);
        const QString prompt = messages.last().prompt;
        EXPECT_TRUE(prompt.startsWith(kWrong + QStringLiteral("新增计量单位失败。原因：\r\n") + c.cause))
            << prompt.toStdString();
        EXPECT_TRUE(prompt.endsWith("\r\n"));
        EXPECT_GT(prompt.size(), (kWrong + QStringLiteral("新增计量单位失败。原因：\r\n\r\n")).size());
        if (!c.cause.isEmpty()) {
            EXPECT_TRUE(prompt.endsWith(QStringLiteral("重复键。\r\n"))) << prompt.toStdString();
        }
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(count("SELECT COUNT(*) FROM T_Item") + "/" + count("SELECT COUNT(*) FROM T_UnitGroup") + "/" +
                      count("SELECT COUNT(*) FROM T_MeasureUnit") + "/" + count("SELECT COUNT(*) FROM AIS_GLUnit"),
                  before);
    }
}

TEST_F(frmUnitTest, ANameWithAQuoteIsStoredAsTyped) {
    auto d = open(1);
    type(*d, 1, "O'Brien");
    MessageScript messages;
    click(d->btn_OK());
    EXPECT_EQ(messages.count(), 0);
    EXPECT_TRUE(d->ResultOK());
    EXPECT_EQ(count("SELECT FName FROM T_MeasureUnit WHERE FMeasureUnitID = " + field(1, "FUnit")), "O'Brien");
}

TEST_F(frmUnitTest, ClosingAsksAndYesHidesWithoutResult) {
    for (const int answer : {MsgBox::No, MsgBox::Yes}) {
        data = PnwList();
        auto d = open(1);
        type(*d, 1, "箱");
        MessageScript messages({answer});
        QTest::mouseClick(d->ImgClose(), Qt::LeftButton);
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().prompt, "未指定会计科目的计量单位，这样会导致升级失败，你确定要关闭此窗口吗？");
        EXPECT_EQ(messages.last().buttons, 68);
        EXPECT_EQ(d->isVisible(), answer == MsgBox::No);
        EXPECT_FALSE(d->ResultOK());
        EXPECT_EQ(cellText(d->GridUnit(), 3, 1), "箱");
    }
}

TEST_F(frmUnitTest, TheCallingProtocolThroughTheSeam) {
    data.Add(record({{"FAcctID", "1"}, {"FAcctName", "甲"}, {"FUnit", ""}, {"FUnitName", ""}}));
    DialogScript script;
    script.add<frmUnit>([](frmUnit &d) {
        d.GridUnit()->SetText(3, 1, "个");
        click(d.btn_OK());
    });
    frmUnit d;
    d.setData(QVariant::fromValue(recordAt(data, 1)));  // a single record is wrapped
    DialogSeam::showModal(d);
    EXPECT_TRUE(d.ResultOK());
    EXPECT_EQ(field(1, "FUnit"), "101");
}

}  // namespace
