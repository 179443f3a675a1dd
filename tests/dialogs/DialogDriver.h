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

#include "platform/ado/Recordset.h"

// A client-side recordset of the given columns and rows, as the payroll and
// cashier steps hand their dialogs: integers go into int columns, Booleans
// into bit columns, everything else into nvarchar columns (decided by the
// first row).
inline ado::Recordset recordset(const QStringList &columns, const QList<QVariantList> &rows) {
    server::ResultSet rs;
    for (int c = 0; c < columns.size(); ++c) {
        const QVariant first = rows.isEmpty() ? QVariant() : rows.first().value(c);
        server::Base base = server::Base::NVarChar;
        if (first.typeId() == QMetaType::Int) base = server::Base::Int;
        if (first.typeId() == QMetaType::Bool) base = server::Base::Bit;
        rs.columns.push_back(
            {columns[c].toStdString(), server::SqlType::of(base, base == server::Base::NVarChar ? 80 : 0)});
    }
    for (const QVariantList &row : rows) {
        std::vector<server::Value> values;
        for (const QVariant &v : row) {
            if (v.isNull())
                values.push_back(server::Value::null());
            else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::Bool)
                values.push_back(server::Value::fromInt(v.toInt()));
            else
                values.push_back(server::Value::fromText(v.toString().toStdString()));
        }
        rs.rows.push_back(std::move(values));
    }
    return ado::Recordset(std::move(rs), nullptr);
}
