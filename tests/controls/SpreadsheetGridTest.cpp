#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/SpreadsheetGrid.h"
#include "support/QtApp.h"

namespace {

using CellType = SpreadsheetGrid::CellType;

// A shown grid of 3 columns: text, check box, combo; column formats set
// before the rows exist, as the dialogs do.
struct Fixture {
    explicit Fixture(int rows = 3) {
        grid.resize(400, 200);
        grid.setMaxCols(3);
        grid.setRow(-1);
        grid.setCol(1);
        grid.setCellType(CellType::StaticText);
        grid.setCol(2);
        grid.setCellType(CellType::CheckBox);
        grid.setHAlign(SpreadsheetGrid::HAlign::Center);
        grid.setCol(3);
        grid.setCellType(CellType::ComboBox);
        grid.setComboList({"甲", "乙", "丙"});
        grid.setMaxRows(rows);
        grid.show();
        grid.activateWindow();
        active = QTest::qWaitForWindowActive(&grid);
    }
    QApplication *app = ensureQtApp();
    SpreadsheetGrid grid;
    bool active = false;

    void at(int col, int row) {
        grid.setCol(col);
        grid.setRow(row);
    }
};

TEST(SpreadsheetGrid, ColumnFormatsReachRowsAddedLaterAndHeadersLiveInRowZero) {
    Fixture f;
    for (int r = 1; r <= 3; ++r) {
        f.at(1, r);
        EXPECT_EQ(f.grid.cellType(), CellType::StaticText);
        f.at(2, r);
        EXPECT_EQ(f.grid.cellType(), CellType::CheckBox);
        EXPECT_EQ(f.grid.hAlign(), SpreadsheetGrid::HAlign::Center);
        EXPECT_EQ(f.grid.Value().toInt(), 0);
        f.at(3, r);
        EXPECT_EQ(f.grid.cellType(), CellType::ComboBox);
        EXPECT_EQ(f.grid.comboList(), QStringList({"甲", "乙", "丙"}));
    }
    f.at(2, 0);
    f.grid.setText("客户");
    EXPECT_EQ(f.grid.Text(), "客户");
    EXPECT_EQ(f.grid.horizontalHeaderItem(1)->text(), "客户");
    // Only static text refuses editing.
    EXPECT_FALSE(f.grid.item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(f.grid.item(0, 2)->flags() & Qt::ItemIsEditable);
}

TEST(SpreadsheetGrid, ComboValueIsThePositionOfItsText) {
    Fixture f;
    f.at(3, 1);
    EXPECT_EQ(f.grid.Value().toInt(), -1);  // empty
    f.grid.setText("丙");
    EXPECT_EQ(f.grid.Value().toInt(), 2);
    f.grid.setValue(1);
    EXPECT_EQ(f.grid.Text(), "乙");
    f.grid.SetText(3, 2, "甲");
    f.at(3, 2);
    EXPECT_EQ(f.grid.Value().toInt(), 0);
    f.grid.setText("丁");  // not an entry
    EXPECT_EQ(f.grid.Value().toInt(), -1);
    EXPECT_EQ(f.grid.Text(), "丁");
}

TEST(SpreadsheetGrid, ComboEditorOffersTheEntriesAndTypingOnlyWhenAllowed) {
    for (const bool editable : {false, true}) {
        Fixture f;
        f.at(3, -1);
        f.grid.setComboEditable(editable);
        f.grid.SetActiveCell(3, 2);
        auto *combo = f.grid.findChild<QComboBox *>();
        ASSERT_NE(combo, nullptr) << editable;
        EXPECT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->isEditable(), editable);
        if (editable) {
            combo->setEditText("  箱 ");
        } else {
            combo->setCurrentIndex(1);
        }
        f.at(3, 2);
        EXPECT_EQ(f.grid.Text(), editable ? "  箱 " : "乙");  // the read commits the open editor
    }
}

TEST(SpreadsheetGrid, CheckChangesAreSignalledForCodeAndMouseAlike) {
    Fixture f;
    QSignalSpy changes(&f.grid, &SpreadsheetGrid::CheckChanged);
    f.at(2, 2);
    f.grid.setValue(1);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), 2);
    EXPECT_EQ(changes.at(0).at(1).toInt(), 2);
    f.grid.setValue(1);  // no change, no signal
    EXPECT_EQ(changes.count(), 1);
    f.at(2, -1);
    f.grid.setValue(1);  // rows 1 and 3 change
    EXPECT_EQ(changes.count(), 3);
    // A click anywhere in the cell toggles it.
    const QRect cell = f.grid.cellRect(2, 3);
    QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, Qt::NoModifier, cell.topLeft() + QPoint(3, 3));
    f.at(2, 3);
    EXPECT_EQ(f.grid.Value().toInt(), 0);
    ASSERT_EQ(changes.count(), 4);
    EXPECT_EQ(changes.at(3).at(1).toInt(), 3);
    // A change inside the handler is signalled too (nested).
    QList<int> rows;
    QObject::connect(&f.grid, &SpreadsheetGrid::CheckChanged, [&](int, int row) {
        rows << row;
        if (row == 1) {
            f.grid.setCol(2);
            f.grid.setRow(2);
            f.grid.setValue(0);
        }
    });
    f.at(2, 1);
    f.grid.setValue(0);
    EXPECT_EQ(rows, QList<int>({1, 2}));
}

TEST(SpreadsheetGrid, WidthZeroHidesAColumn) {
    Fixture f;
    f.grid.setColWidth(1, 0);
    EXPECT_FALSE(f.grid.isColumnShown(1));
    EXPECT_EQ(f.grid.ColWidth(1), 0);
    f.grid.setColWidth(1, 15);
    EXPECT_TRUE(f.grid.isColumnShown(1));
    EXPECT_NEAR(f.grid.ColWidth(1), 15, 0.5);
    EXPECT_GT(f.grid.columnWidth(0), f.grid.columnWidth(1) / 2);
    f.grid.setColWidth(3, 8);
    EXPECT_LT(f.grid.columnWidth(2), f.grid.columnWidth(0));
}

// Types each character into whatever has the focus then (the first key
// typed into the grid opens the cell's editor).
void typeText(const QString &text) {
    for (const QChar ch : text) QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
}

TEST(SpreadsheetGrid, SwallowedKeysNeverReachTheCell) {
    Fixture f;
    ASSERT_TRUE(f.active);
    f.at(1, -1);
    f.grid.setCellType(CellType::Edit);
    QList<int> seen;
    QObject::connect(&f.grid, &SpreadsheetGrid::KeyPress, [&](int *key) {
        seen << *key;
        const bool digit = *key >= '0' && *key <= '9';
        if (!digit && *key != 8) *key = 0;
    });
    f.grid.SetActiveCell(1, 1);
    typeText("a1 b2");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    typeText("7");
    f.at(1, 1);
    EXPECT_EQ(f.grid.Text(), "17");
    EXPECT_TRUE(seen.contains('a'));
    EXPECT_TRUE(seen.contains(8));
    // Enter is code 13; Ctrl+V is 22.
    seen.clear();
    f.grid.SetActiveCell(1, 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(seen.contains(13));
    EXPECT_TRUE(seen.contains(22));
}

TEST(SpreadsheetGrid, ActiveCellAndTabMoveOn) {
    Fixture f;
    ASSERT_TRUE(f.active);
    f.grid.SetActiveCell(2, 2);
    EXPECT_EQ(f.grid.ActiveCol(), 2);
    EXPECT_EQ(f.grid.ActiveRow(), 2);
    EXPECT_TRUE(f.grid.hasFocus());
    f.grid.SetActiveCell(9, 9);  // out of range: stays
    EXPECT_EQ(f.grid.ActiveCol(), 2);
    f.grid.sendKey(Qt::Key_Tab);
    EXPECT_EQ(f.grid.ActiveCol(), 3);
    EXPECT_EQ(f.grid.ActiveRow(), 2);
    // The addressing cell is not the active cell.
    f.at(1, 3);
    EXPECT_EQ(f.grid.ActiveRow(), 2);
}

}  // namespace
