// Operator's hands for the dialog tests: records to hand a dialog, clicks on
// drawn buttons and grid cells, and reads of grid cells.
#pragma once

#include <initializer_list>
#include <utility>

#include <QApplication>
#include <QTest>

#include "controls/SpreadsheetGrid.h"
#include "controls/zqbutton.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"

using Field = std::pair<QString, QVariant>;

inline PnwDictionary record(std::initializer_list<Field> fields) {
    PnwDictionary d;
    for (const Field &f : fields) d.setItem(f.first, f.second);
    return d;
}

inline PnwDictionary recordAt(const PnwList &list, int i) { return list.Item(i).value<PnwDictionary>(); }

inline void click(zqbutton *button) { QTest::mouseClick(button, Qt::LeftButton); }

inline void clickCell(SpreadsheetGrid *grid, int col, int row) {
    const QRect cell = grid->cellRect(col, row);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

inline QVariant cellValue(SpreadsheetGrid *grid, int col, int row) {
    grid->setCol(col);
    grid->setRow(row);
    return grid->Value();
}

inline QString cellText(SpreadsheetGrid *grid, int col, int row) {
    grid->setCol(col);
    grid->setRow(row);
    return grid->Text();
}

// Shows the dialog as the seam does for a script, and makes it the active
// window so that keys and focus behave as for the operator.
inline bool showActive(QWidget &dialog) {
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}
